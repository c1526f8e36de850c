// Painters of bars drawn whole: the status bar, the tab control and tab set, the header.
#include "skin/ui/SkinPainters.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

#include "skin/data/PainterGeometry.h"
#include "skin/data/SkinDraw.h"
#include "skin/ui/SkinColours.h"
#include "skin/ui/SkinPainterParts.h"
#include "ui/ComCtrls.h"
#include "ui/Dialogs.h"
#include "ui/Tabs.h"

namespace kt {

using namespace paint;

// ---------------------------------------------------------------- TSkinStatusBar

std::vector<TStatusTextPart> StatusTextParts(const std::wstring& text, int firstAlign) {
    // As the system bar reads its texts: each tab moves on from left to centre to right.
    std::vector<TStatusTextPart> parts;
    static const UINT kAlign[] = {DT_LEFT, DT_CENTER, DT_RIGHT};
    int align = std::clamp(firstAlign, 0, 2);
    std::size_t start = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text[i] != L'\t') continue;
        if (i > start) parts.push_back({text.substr(start, i - start), kAlign[align]});
        if (i == text.size() || align == 2) break;
        ++align;
        start = i + 1;
    }
    return parts;
}

void TSkinStatusBar::Draw(HDC dc, const RECT& r) {
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0) return;
    StartFace(w, h);
    const TDataSkinObject* edges = HasImage(data_->StatusBarEdges.get()) ? data_->StatusBarEdges.get() : nullptr;
    HDC bdc = bitmap_.Dc();
    HGDIOBJ oldFont = SelectObject(bdc, ControlFont());
    const COLORREF text = SkinColorRef(edges ? edges->NormalColour2 : data_->ButtonText);
    std::vector<RECT> panels;
    std::vector<std::wstring> texts;
    std::vector<int> kinds;
    std::vector<int> aligns;  // 0 left, 1 centre, 2 right: where each text starts
    auto* bar = dynamic_cast<ui::TStatusBar*>(control_);
    auto textOf = [&](int i) {
        const int len = LOWORD(Send(SB_GETTEXTLENGTHW, i));
        std::wstring s(static_cast<std::size_t>(len) + 1, L'\0');
        const LRESULT res = Send(SB_GETTEXTW, i, reinterpret_cast<LPARAM>(s.data()));
        s.resize(static_cast<std::size_t>(len));
        kinds.push_back(HIWORD(res));
        int align = 0;
        if (bar && i != SB_SIMPLEID) {
            // The control's own panel alignment; the tabs it put in for the system bar go.
            const ui::TAlignment a = bar->PanelAlignment(i);
            align = a == ui::TAlignment::taCenter ? 1 : a == ui::TAlignment::taRightJustify ? 2 : 0;
            s.erase(0, std::min(s.find_first_not_of(L'\t'), s.size()));
        }
        aligns.push_back(align);
        texts.push_back(s);
    };
    const int parts = static_cast<int>(Send(SB_GETPARTS, 0, 0));
    if (Send(SB_ISSIMPLE) || parts <= 0) {
        panels.push_back({0, 0, w, h});
        textOf(Send(SB_ISSIMPLE) ? SB_SIMPLEID : 0);
    } else {
        for (int i = 0; i < parts; ++i) {
            RECT pr{};
            Send(SB_GETRECT, i, reinterpret_cast<LPARAM>(&pr));
            panels.push_back(pr);
            textOf(i);
        }
    }
    for (std::size_t i = 0; i < panels.size(); ++i) {
        RECT pr = panels[i];
        pr.right = std::min<LONG>(pr.right, w);
        const int kind = kinds[i];
        const int frame = (kind & SBT_NOBORDERS) ? 3 : (kind & SBT_POPOUT) ? 2 : 1;
        if (edges) {
            GdiFlush();
            NinePiece(bitmap_.View(), ToRectI(pr), *edges, frame, 3);
        } else if (frame != 3) {
            DrawEdge(bdc, &pr, frame == 2 ? BDR_RAISEDINNER : BDR_SUNKENOUTER, BF_RECT);
        }
        RECT tr = pr;
        InflateRect(&tr, -3, 0);
        for (const TStatusTextPart& part : StatusTextParts(texts[i], aligns[i]))
            DrawTextIn(bdc, part.Text, tr, part.Align, text);
    }
    if ((GetWindowLongW(window_, GWL_STYLE) & SBARS_SIZEGRIP) && HasImage(data_->ExtraImages.get())) {
        const TDataSkinObject& x = *data_->ExtraImages;
        const int fw = x.Image.Width() / 5, fh = x.Image.Height();
        GdiFlush();
        DrawSingleFrame(bitmap_.View(), {w - fw - 1, h - fh - 1, w - 1, h - 1}, x.Image, true, 5, 5);
    }
    SelectObject(bdc, oldFont);
    BitBlt(dc, r.left, r.top, w, h, bdc, 0, 0, SRCCOPY);
}

// ---------------------------------------------------------------- TSkinTab

bool TSkinTab::HasPicture() const { return HasImage(data_->Tabs.get()); }

namespace {

// A tab's face: built upright (the skin draws tabs on top), then turned to its side.
TBitmap32 TabFace(const TDataSkinBorder& tabs, int frame, const TRectI& tab, TTabSide side) {
    const TRectI upright = UprightTabSize(tab, side);
    TBitmap32 face = BuildNinePiece(tabs.Image, tabs.Margins(), false, tabs.Tile != 0, std::max(1, tabs.FrameCount),
                                    frame, upright.Width(), upright.Height());
    switch (side) {
        case TTabSide::Top: return face;
        case TTabSide::Bottom: return FlipVertical(face);
        case TTabSide::Left: return RotateQuarter(face, false);
        case TTabSide::Right: return RotateQuarter(face, true);
    }
    return face;
}

// The caption of a tab on a side, turned with it: read upward on the left, downward on the right.
void DrawTurnedText(HDC dc, HFONT font, const std::wstring& text, const RECT& r, bool upward, COLORREF colour) {
    LOGFONTW lf{};
    if (!GetObjectW(font ? font : GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf)) return;
    lf.lfEscapement = lf.lfOrientation = upward ? 900 : 2700;
    HFONT turned = CreateFontIndirectW(&lf);
    HGDIOBJ old = SelectObject(dc, turned);
    SIZE extent{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    const int w = r.right - r.left, h = r.bottom - r.top;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, colour);
    // The text's top faces left (upward) or right (downward); it runs along the tab's height.
    if (upward)
        TextOutW(dc, r.left + (w - extent.cy) / 2, r.bottom - (h - extent.cx) / 2, text.c_str(), static_cast<int>(text.size()));
    else
        TextOutW(dc, r.right - (w - extent.cy) / 2, r.top + (h - extent.cx) / 2, text.c_str(), static_cast<int>(text.size()));
    SelectObject(dc, old);
    DeleteObject(turned);
}

// The size of the images of an image list, 0 x 0 without one.
SIZE ImageSize(HIMAGELIST images) {
    int cx = 0, cy = 0;
    if (images) ImageList_GetIconSize(images, &cx, &cy);
    return {cx, cy};
}

}  // namespace

void TSkinTab::Draw(HDC dc, const RECT& r) {
    if (!HasImage(data_->Tabs.get())) return;  // the tab control drew itself
    const TDataSkinBorder& tabs = *data_->Tabs;
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0) return;
    const LONG style = GetWindowLongW(window_, GWL_STYLE);
    const TTabSide side = TabSide((style & TCS_BOTTOM) != 0, (style & TCS_VERTICAL) != 0);
    StartFace(w, h);
    RECT page{0, 0, w, h};
    Send(TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&page));
    InflateRect(&page, 4, 4);
    page.left = std::max<LONG>(page.left, 0);
    page.top = std::max<LONG>(page.top, 0);
    page.right = std::min<LONG>(page.right, w);
    page.bottom = std::min<LONG>(page.bottom, h);
    if (!tabs.Image2.Empty())
        DrawNinePiece(bitmap_.View(), ToRectI(page), tabs.Image2, {4, 5, 4, 4}, false, false, 1, 1, false);
    HDC bdc = bitmap_.Dc();
    HGDIOBJ oldFont = SelectObject(bdc, ControlFont());
    const auto images = reinterpret_cast<HIMAGELIST>(Send(TCM_GETIMAGELIST));
    const SIZE imageSize = ImageSize(images);
    const int count = static_cast<int>(Send(TCM_GETITEMCOUNT));
    const int selected = static_cast<int>(Send(TCM_GETCURSEL));
    const bool turned = side == TTabSide::Left || side == TTabSide::Right;
    // The selected tab last: it overlaps its neighbours.
    for (int pass = 0; pass < 2; ++pass)
        for (int i = 0; i < count; ++i) {
            if ((i == selected) != (pass == 1)) continue;
            RECT ir{};
            if (!Send(TCM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&ir))) continue;
            TRectI t = ToRectI(ir);
            if (i == selected) t = SelectedTabRect(t, side);
            wchar_t text[128] = {};
            TCITEMW item{};
            item.mask = TCIF_TEXT | TCIF_IMAGE;
            item.pszText = text;
            item.cchTextMax = 127;
            item.iImage = -1;
            Send(TCM_GETITEMW, i, reinterpret_cast<LPARAM>(&item));
            GdiFlush();
            const TBitmap32 face = TabFace(tabs, i == selected ? 2 : 1, t, side);
            if (tabs.Trans == 1) TransparentCopy(bitmap_.View(), t.Left, t.Top, face.View());
            else OpaqueCopy(bitmap_.View(), t.Left, t.Top, face.View());
            RECT tr{t.Left, t.Top, t.Right, t.Bottom};
            // The image first in reading order, the caption in what is left.
            if (images && item.iImage >= 0) {
                const int gap = 4;
                if (!turned) {
                    ImageList_Draw(images, item.iImage, bdc, tr.left + gap, tr.top + (tr.bottom - tr.top - imageSize.cy) / 2,
                                   ILD_TRANSPARENT);
                    tr.left += gap + imageSize.cx;
                } else if (side == TTabSide::Left) {
                    ImageList_Draw(images, item.iImage, bdc, tr.left + (tr.right - tr.left - imageSize.cx) / 2,
                                   tr.bottom - gap - imageSize.cy, ILD_TRANSPARENT);
                    tr.bottom -= gap + imageSize.cy;
                } else {
                    ImageList_Draw(images, item.iImage, bdc, tr.left + (tr.right - tr.left - imageSize.cx) / 2,
                                   tr.top + gap, ILD_TRANSPARENT);
                    tr.top += gap + imageSize.cy;
                }
            }
            const COLORREF colour = SkinColorRef(i == selected ? tabs.MouseOverColour2 : tabs.NormalColour2);
            if (turned)
                DrawTurnedText(bdc, ControlFont(), text, tr, side == TTabSide::Left, colour);
            else
                DrawTextIn(bdc, text, tr, DT_CENTER, colour);
        }
    SelectObject(bdc, oldFont);
    // The tab control's scroll arrows (its up-down child) draw themselves: left out.
    const int saved = SaveDC(dc);
    for (HWND child = GetWindow(window_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsWindowVisible(child)) continue;
        RECT cr;
        GetWindowRect(child, &cr);
        MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&cr), 2);
        ExcludeClipRect(dc, r.left + cr.left, r.top + cr.top, r.left + cr.right, r.top + cr.bottom);
    }
    BitBlt(dc, r.left, r.top, w, h, bdc, 0, 0, SRCCOPY);
    RestoreDC(dc, saved);
}

// ---------------------------------------------------------------- TSkinHeader

bool TSkinHeader::HasPicture() const { return HasImage(data_->Headerbar.get()); }

int TSkinHeader::SectionAt(LPARAM point) const {
    HDHITTESTINFO hit{};
    hit.pt = {static_cast<short>(LOWORD(point)), static_cast<short>(HIWORD(point))};
    const int i = static_cast<int>(Send(HDM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    return (hit.flags & HHT_ONHEADER) ? i : -1;
}

void TSkinHeader::AfterMessage(ui::TMessage& m) {
    switch (m.Msg) {
        case WM_MOUSEMOVE: {
            if (!control_ && !tracking_) {
                TRACKMOUSEEVENT t{sizeof t, TME_LEAVE, window_, 0};
                tracking_ = TrackMouseEvent(&t) != FALSE;
            }
            // While a divider is dragged the sections change size, not state.
            if (GetCapture() == window_ && pressed_ < 0) return;
            const int at = SectionAt(m.LParam);
            if (at != hot_) {
                hot_ = at;
                Repaint();
            }
            return;
        }
        case WM_MOUSELEAVE:
        case ui::CM_MOUSELEAVE:
            tracking_ = false;
            if (hot_ >= 0 && GetCapture() != window_) {
                hot_ = -1;
                Repaint();
            }
            return;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            // Sections are buttons only with HDS_BUTTONS; a press on a divider starts a resize.
            if (GetWindowLongW(window_, GWL_STYLE) & HDS_BUTTONS) {
                pressed_ = hot_ = SectionAt(m.LParam);
                Repaint();
            }
            return;
        case WM_LBUTTONUP:
        case WM_CAPTURECHANGED: {
            // Released elsewhere, the leave went by while the mouse was held: ask where it is.
            POINT p;
            GetCursorPos(&p);
            ScreenToClient(window_, &p);
            RECT cr;
            GetClientRect(window_, &cr);
            const int at = PtInRect(&cr, p) ? SectionAt(MAKELPARAM(p.x, p.y)) : -1;
            if (pressed_ >= 0 || at != hot_) {
                pressed_ = -1;
                hot_ = at;
                Repaint();
            }
            return;
        }
    }
    TSkinControl::AfterMessage(m);
}

int TSkinHeader::SectionFrame(int i) const {
    const TDataSkinObject* e = data_ ? data_->Headerbar.get() : nullptr;
    if (!e) return 1;
    return kt::SectionFrame(i, hot_, pressed_, IsDisabled(window_), e->FrameCount);
}

void TSkinHeader::Draw(HDC dc, const RECT& r) {
    // Without its picture the header drew itself; nothing goes over it.
    if (!HasImage(data_->Headerbar.get())) return;
    const TDataSkinObject& e = *data_->Headerbar;
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0) return;
    bitmap_.SetSize(w, h);
    GdiFlush();
    NinePiece(bitmap_.View(), {0, 0, w, h}, e, 1);
    HDC bdc = bitmap_.Dc();
    HGDIOBJ oldFont = SelectObject(bdc, ControlFont());
    const auto images = reinterpret_cast<HIMAGELIST>(Send(HDM_GETIMAGELIST));
    const SIZE imageSize = ImageSize(images);
    const int count = static_cast<int>(Send(HDM_GETITEMCOUNT));
    for (int i = 0; i < count; ++i) {
        RECT ir{};
        if (!Send(HDM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&ir))) continue;
        wchar_t text[128] = {};
        HDITEMW item{};
        item.mask = HDI_TEXT | HDI_FORMAT | HDI_IMAGE;
        item.pszText = text;
        item.cchTextMax = 127;
        Send(HDM_GETITEMW, i, reinterpret_cast<LPARAM>(&item));
        const int frame = SectionFrame(i);
        GdiFlush();
        NinePiece(bitmap_.View(), ToRectI(ir), e, frame);
        const UINT align = (item.fmt & HDF_JUSTIFYMASK) == HDF_RIGHT    ? DT_RIGHT
                           : (item.fmt & HDF_JUSTIFYMASK) == HDF_CENTER ? DT_CENTER
                                                                        : DT_LEFT;
        InflateRect(&ir, -6, 0);
        if (frame == 2) OffsetRect(&ir, 1, 1);
        // The section's image at its left (or right), the text beside it.
        if (images && (item.fmt & HDF_IMAGE) && item.iImage >= 0 && ir.right - ir.left > imageSize.cx) {
            const bool right = (item.fmt & HDF_BITMAP_ON_RIGHT) != 0;
            const int y = ir.top + (ir.bottom - ir.top - imageSize.cy) / 2;
            ImageList_Draw(images, item.iImage, bdc, right ? ir.right - imageSize.cx : ir.left, y, ILD_TRANSPARENT);
            if (right) ir.right -= imageSize.cx + 4;
            else ir.left += imageSize.cx + 4;
        }
        const COLORREF colour = frame == 3   ? GetSysColor(COLOR_BTNSHADOW)
                                : frame == 4 ? SkinColorRef(e.MouseOverColour2)
                                : frame == 2 ? SkinColorRef(e.PressedColour2)
                                             : SkinColorRef(e.NormalColour2);
        DrawTextIn(bdc, text, ir, align | DT_END_ELLIPSIS, colour);
    }
    SelectObject(bdc, oldFont);
    BitBlt(dc, r.left, r.top, w, h, bdc, 0, 0, SRCCOPY);
}

// ---------------------------------------------------------------- TSkinTab31

void TSkinTab31::AttachControl(ui::TWinControl& control, TSkinData& data, bool recolour) {
    TSkinControl::AttachControl(control, data, recolour);
    // The scroller is the first component the tab set owns.
    if (control.ComponentCount() == 0) return;
    auto* scroller = dynamic_cast<ui::TWinControl*>(control.Components().front());
    if (!scroller || !scroller->IsKindOf("TScroller") || !scroller->HandleAllocated()) return;
    for (auto& p : host_.Painters)
        if (p->Window() == scroller->Handle()) return;
    if (auto p = MakePainter(TPainterKind::UpDown, host_)) {
        upDown_ = static_cast<TSkinUpDown*>(p.get());
        scroller_ = scroller;
        p.release()->AttachControl(*scroller, data, false);
    }
}

bool TSkinTab31::HasPicture() const { return HasImage(data_->Tabs.get()) && dynamic_cast<ui::TTabSet*>(control_); }

void TSkinTab31::Draw(HDC dc, const RECT& r) {
    auto* tabSet = dynamic_cast<ui::TTabSet*>(control_);
    if (!tabSet || !HasImage(data_->Tabs.get())) return;  // the tab set drew itself
    ui::TTabSet& set = *tabSet;
    const TDataSkinBorder& tabs = *data_->Tabs;
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0) return;
    if (tabImage_.Empty()) tabImage_ = FlipVertical(tabs.Image);
    const TMargins margins{tabs.LeftWidth, tabs.BottomHeight, tabs.RightWidth, tabs.TopHeight};
    bitmap_.SetSize(w, h);
    GdiFlush();
    PixelView v = bitmap_.View();
    FillRect(v, {0, 0, w, h}, SkinPixel(data_->ButtonFace));
    HDC bdc = bitmap_.Dc();
    HGDIOBJ oldFont = SelectObject(bdc, set.Font().Handle());
    const bool disabled = IsDisabled(window_);
    const int selected = set.TabIndex();
    RECT sel{};
    // The selected tab last: it joins the page above and lies over its neighbours.
    for (int pass = 0; pass < 2; ++pass)
        for (int i = set.FirstIndex(); i < static_cast<int>(set.Tabs().size()); ++i) {
            if ((i == selected) != (pass == 1)) continue;
            const RECT tr = set.TabRect(i);
            if (IsRectEmpty(&tr)) break;
            if (i == selected) sel = tr;
            GdiFlush();
            DrawNinePiece(v, ToRectI(tr), tabImage_, margins, false, tabs.Tile != 0, std::max(1, tabs.FrameCount),
                          i == selected ? 2 : 1, tabs.Trans == 1);
            const COLORREF colour = disabled ? GetSysColor(COLOR_BTNSHADOW)
                                             : SkinColorRef(i == selected ? tabs.MouseOverColour2 : tabs.NormalColour2);
            DrawTextIn(bdc, ui::ToWide(set.Tabs()[i]), tr, DT_CENTER, colour);
        }
    // The page's lower edge, open above the selected tab.
    GdiFlush();
    const Pixel edge = SkinPixel(data_->ButtonShadow);
    if (IsRectEmpty(&sel)) {
        FillRect(v, {0, 0, w, 1}, edge);
    } else {
        FillRect(v, {0, 0, static_cast<int>(sel.left) + 1, 1}, edge);
        FillRect(v, {static_cast<int>(sel.right) - 1, 0, w, 1}, edge);
        if (GetFocus() == window_) {
            InflateRect(&sel, -3, -3);
            DrawFocusRect(bdc, &sel);
        }
    }
    SelectObject(bdc, oldFont);
    BitBlt(dc, r.left, r.top, w, h, bdc, 0, 0, SRCCOPY);
}

}  // namespace kt
