#include "skin/ui/SkinPainters.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

#include "skin/data/SkinDraw.h"
#include "skin/ui/SkinColours.h"
#include "ui/Dialogs.h"
#include "ui/ComCtrls.h"
#include "ui/Tabs.h"

namespace kt {

namespace {

TRectI ToRectI(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

Pixel PixelOfColour(TColour c) {
    const COLORREF rgb = SkinColorRef(c);
    return MakePixel(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
}

// Lets f draw over what dc shows in r: the pixels are read, drawn on and written back.
template <class F>
void OverDraw(TDibBitmap& work, HDC dc, const RECT& r, F f) {
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0) return;
    work.SetSize(w, h);
    BitBlt(work.Dc(), 0, 0, w, h, dc, r.left, r.top, SRCCOPY);
    GdiFlush();
    f(work.View());
    BitBlt(dc, r.left, r.top, w, h, work.Dc(), 0, 0, SRCCOPY);
}

void NinePiece(PixelView v, const TRectI& r, const TDataSkinObject& e, int frame, int count = 0) {
    DrawNinePiece(v, r, e.Image, e.Margins(), false, e.Tile != 0, count ? count : std::max(1, e.FrameCount), frame,
                  e.Trans == 1);
}

void DrawTextIn(HDC dc, const std::wstring& text, RECT r, UINT align, COLORREF colour) {
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, colour);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, align | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

bool IsDisabled(HWND h) { return (GetWindowLongW(h, GWL_STYLE) & WS_DISABLED) != 0; }

}  // namespace

bool TSkinControl::PaintWhole(ui::TMessage& m) {
    if (m.Msg == WM_ERASEBKGND) {
        m.Result = 1;
        return true;
    }
    if (m.Msg != WM_PAINT) return false;
    RECT r;
    GetClientRect(window_, &r);
    PAINTSTRUCT ps;
    HDC dc = m.WParam ? reinterpret_cast<HDC>(m.WParam) : BeginPaint(window_, &ps);
    try {
        Draw(dc, r);
    } catch (...) {
        // A bad skin picture must not break the control.
    }
    if (!m.WParam) EndPaint(window_, &ps);
    m.Result = 0;
    return true;
}

// ---------------------------------------------------------------- TSkinButton

bool TSkinButton::BeforeMessage(ui::TMessage& m) {
    if (!data_ || !HasImage(data_->Buttons.get())) return true;  // drawn the ordinary way
    switch (m.Msg) {
        case WM_PAINT: {
            RECT r;
            GetWindowRect(window_, &r);
            OffsetRect(&r, -r.left, -r.top);
            if (m.WParam) {
                Draw(reinterpret_cast<HDC>(m.WParam), r);
            } else {
                PAINTSTRUCT ps;
                HDC dc = BeginPaint(window_, &ps);
                try {
                    Draw(dc, r);
                } catch (...) {
                }
                EndPaint(window_, &ps);
            }
            m.Result = 0;
            return false;
        }
        case WM_ERASEBKGND: m.Result = 1; return false;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK: {
            // Only a window that is in front takes the focus on a press: a click into a window
            // that declines activation (the bar while another program is typed into) keeps it
            // where it is.
            if (TakesFocusOnPress() && GetFocus() != window_ && GetForegroundWindow() == GetAncestor(window_, GA_ROOT))
                SetFocus(window_);
            SetCapture(window_);
            down_ = true;
            mouse_ |= msPressed;
            Repaint();
            m.Result = 0;
            return false;
        }
        case WM_MOUSEMOVE:
            if (down_) {
                RECT r;
                GetClientRect(window_, &r);
                POINT p{static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))};
                const unsigned want = PtInRect(&r, p) ? (mouse_ | msPressed) : (mouse_ & ~msPressed);
                if (want != mouse_) {
                    mouse_ = want;
                    Repaint();
                }
            }
            return true;
        case WM_CAPTURECHANGED:
            if (down_ && reinterpret_cast<HWND>(m.LParam) != window_) {
                down_ = false;
                mouse_ &= ~msPressed;
                Repaint();
            }
            return true;
    }
    return true;
}

void TSkinButton::PostClick() {
    HWND parent = GetParent(window_);
    if (!parent) return;
    if (control_)
        PostMessageW(parent, WM_COMMAND, 0, reinterpret_cast<LPARAM>(window_));
    else
        PostMessageW(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(window_), BN_CLICKED), reinterpret_cast<LPARAM>(window_));
}

void TSkinButton::AfterMessage(ui::TMessage& m) {
    if (!data_ || !HasImage(data_->Buttons.get())) return TSkinControl::AfterMessage(m);
    switch (m.Msg) {
        case WM_KEYDOWN:
            if (m.WParam == VK_SPACE) {
                mouse_ |= msPressed;
                Repaint();
            }
            return;
        case WM_KEYUP:
            if (m.WParam == VK_SPACE) {
                mouse_ &= ~msPressed;
                Repaint();
            }
            return;
        case WM_LBUTTONUP:
            if (down_) {
                down_ = false;
                const bool inside = (mouse_ & msPressed) != 0;
                mouse_ &= ~msPressed;
                if (GetCapture() == window_) ReleaseCapture();
                Repaint();
                if (inside) PostClick();
            }
            return;
        case BM_SETSTATE:
        case BM_SETSTYLE:
        case WM_UPDATEUISTATE:
            // The system button draws these changes at once, without WM_PAINT.
            Repaint();
            return;
    }
    const int hot = HotChange(m);
    if (hot > 0 && !(mouse_ & msHot) && IsWindowEnabled(window_)) {
        mouse_ |= msHot;
        BecomeHot();
        Repaint();
        return;
    }
    if (hot < 0 && IsWindowEnabled(window_)) {
        // Leaving ends the press; with the mouse still captured, coming back in renews it.
        mouse_ &= ~unsigned(msHot | msPressed);
        StopBeingHot();
        Repaint();
        return;
    }
    TSkinControl::AfterMessage(m);
}

int TSkinButton::FaceFrame() {
    enabled_ = IsWindowEnabled(window_) != FALSE && !IsDisabled(window_);
    focused_ = GetFocus() == window_;
    if (!enabled_) return 3;
    const bool pushed = (mouse_ & msPressed) || (Send(BM_GETSTATE) & BST_PUSHED);
    if (pushed) return 2;
    if (focused_ || (mouse_ & msHot)) return 4;
    return 1;
}

void TSkinButton::Draw(HDC dc, const RECT& r) {
    const TDataSkinButton* e = data_ ? data_->Buttons.get() : nullptr;
    if (!HasImage(e)) return;
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0) return;
    const int frame = FaceFrame();
    bitmap_.SetSize(w, h);
    GdiFlush();
    FillRect(bitmap_.View(), {0, 0, w, h}, PixelOfColour(data_->ButtonFace));
    NinePiece(bitmap_.View(), {0, 0, w, h}, *e, frame, FaceCount());
    HDC bdc = bitmap_.Dc();
    HGDIOBJ oldFont = SelectObject(bdc, ControlFont());
    TColour text = data_->ButtonText;
    if (frame == 1) text = e->NormalColour2;
    if (frame == 4) text = e->MouseOverColour2;
    if (frame == 2) text = e->PressedColour2;
    const COLORREF colour = frame == 3 ? GetSysColor(COLOR_BTNSHADOW) : SkinColorRef(text);
    std::wstring caption = ui::WindowTextW(window_);
    if (caption.empty() && control_) caption = ui::ToWide(control_->Text());
    DrawContent(bdc, w, h, frame, caption, colour);
    SelectObject(bdc, oldFont);
    BitBlt(dc, r.left, r.top, w, h, bdc, 0, 0, SRCCOPY);
}

void TSkinButton::DrawContent(HDC bdc, int w, int h, int, const std::wstring& caption, COLORREF colour) {
    RECT calc{0, 0, w, h};
    SetBkMode(bdc, TRANSPARENT);
    SetTextColor(bdc, colour);
    DrawTextW(bdc, caption.c_str(), static_cast<int>(caption.size()), &calc, DT_CALCRECT | DT_NOCLIP | DT_EXPANDTABS);
    const int th = calc.bottom - calc.top;
    RECT tr{0, (h - th) / 2, w, (h - th) / 2 + th};
    DrawTextW(bdc, caption.c_str(), static_cast<int>(caption.size()), &tr, DT_CENTER | DT_EXPANDTABS);
}

// ---------------------------------------------------------------- TSkinBitButton, TSkinSpeedButton

bool TSkinBitButton::BeforeMessage(ui::TMessage& m) {
    // An owner-drawn button draws at once on some changes (press, focus): the skin draws then too.
    if (m.Msg == ui::CN_DRAWITEM && data_ && HasImage(data_->Buttons.get())) {
        RECT r;
        GetWindowRect(window_, &r);
        OffsetRect(&r, -r.left, -r.top);
        try {
            Draw(reinterpret_cast<const DRAWITEMSTRUCT*>(m.LParam)->hDC, r);
        } catch (...) {
        }
        m.Result = TRUE;
        return false;
    }
    return TSkinButton::BeforeMessage(m);
}

void TSkinBitButton::DrawContent(HDC bdc, int w, int h, int frame, const std::wstring& caption, COLORREF colour) {
    const auto* glyph = dynamic_cast<const ui::TButtonGlyph*>(control_);
    if (!glyph) return TSkinButton::DrawContent(bdc, w, h, frame, caption, colour);
    bool greyed = false;
    const int index = GlyphFrame(*glyph, greyed);
    glyph->DrawGlyphAndCaption(bdc, {0, 0, w, h}, caption, index, greyed, colour, 0);
}

bool TSkinSpeedButton::Pressed() const { return (mouse_ & msPressed) || (Send(BM_GETSTATE) & BST_PUSHED); }

bool TSkinSpeedButton::IsDown() const {
    const auto* speed = dynamic_cast<const ui::TSpeedButton*>(control_);
    return speed && speed->Down();
}

int TSkinSpeedButton::FaceFrame() {
    enabled_ = IsWindowEnabled(window_) != FALSE && !IsDisabled(window_);
    if (!enabled_) return 3;
    if (Pressed() || IsDown()) return 2;
    return (mouse_ & msHot) ? 4 : 1;
}

int TSkinSpeedButton::GlyphFrame(const ui::TButtonGlyph& glyph, bool& greyed) {
    const bool enabled = IsWindowEnabled(window_) != FALSE && !IsDisabled(window_);
    const TGlyphState state = !enabled ? TGlyphState::Disabled
                              : Pressed() ? TGlyphState::Pressed
                              : IsDown()  ? TGlyphState::Down
                                          : TGlyphState::Up;
    return glyph.FrameFor(state, greyed);
}

// ---------------------------------------------------------------- TSkinCheckBox, radio buttons

bool TSkinCheckBox::BeforeMessage(ui::TMessage& m) {
    // The parent asks the control for its background: the skin's face, not the system's.
    if ((m.Msg == ui::CN_CTLCOLORSTATIC || m.Msg == ui::CN_CTLCOLORBTN) && data_) {
        SetBkColor(reinterpret_cast<HDC>(m.WParam), SkinColorRef(data_->FaceBrushColour));
        m.Result = reinterpret_cast<LRESULT>(face_.Get(*data_));
        return false;
    }
    return true;
}

void TSkinCheckBox::AfterMessage(ui::TMessage& m) {
    switch (m.Msg) {
        case BM_SETCHECK:
        case BM_SETSTATE:
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_LBUTTONDBLCLK:
        case WM_KEYUP:
        case WM_UPDATEUISTATE:
        case ui::CM_ENABLEDCHANGED:
            Repaint();
            return;
    }
    TSkinControl::AfterMessage(m);
}

int TSkinCheckBox::BoxFrame() const {
    const bool checked = (Send(BM_GETCHECK) & BST_CHECKED) != 0;
    return (checked ? 2 : 1) + (IsDisabled(window_) ? 2 : 0);
}

RECT TSkinCheckBox::BoxRect(const RECT& r) const {
    const TDataSkinButton& b = *data_->Buttons;
    const TBitmap32& image = radio_ ? b.RadioImage : b.CheckImage;
    const int count = std::max(1, radio_ ? b.RadioFrameCount : b.CheckFrameCount);
    const int bw = image.Width() / count, bh = image.Height();
    const bool right = (GetWindowLongW(window_, GWL_STYLE) & BS_RIGHTBUTTON) != 0;
    int x;
    if (bw < 15)
        x = right ? r.right - 14 + (14 - bw) / 2 : r.left + (14 - bw) / 2;
    else
        x = right ? r.right - 1 - bw : r.left;
    const int y = r.top + (r.bottom - r.top - bh) / 2;
    return {x, y, x + bw, y + bh};
}

void TSkinCheckBox::Draw(HDC dc, const RECT& r) {
    if (!data_ || !data_->Buttons) return;
    const TDataSkinButton& b = *data_->Buttons;
    const TBitmap32& image = radio_ ? b.RadioImage : b.CheckImage;
    const int count = std::max(1, radio_ ? b.RadioFrameCount : b.CheckFrameCount);
    if (image.Empty()) return;
    const RECT box = BoxRect(r);
    const int frame = BoxFrame();
    TDibBitmap work;
    OverDraw(work, dc, box, [&](PixelView v) {
        const TRectI all{0, 0, v.Width, v.Height};
        FillRect(v, all, PixelOfColour(data_->ButtonFace));
        DrawSingleFrame(v, all, image, true, count, frame);
    });
}

// ---------------------------------------------------------------- TSkinComBox

void TSkinComBox::AfterMessage(ui::TMessage& m) {
    switch (m.Msg) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            mouse_ |= msPressed;
            Repaint();
            return;
        case WM_LBUTTONUP:
            mouse_ &= ~msPressed;
            Repaint();
            return;
    }
    const int hot = HotChange(m);
    if (hot != 0) {
        mouse_ = hot > 0 ? (mouse_ | msHot) : 0;
        if (hot > 0) BecomeHot(); else StopBeingHot();
        Repaint();
        return;
    }
    TSkinControl::AfterMessage(m);
    // The list closing and the edit part's focus change the system's own drawing of the box.
    if (m.Msg == CB_SHOWDROPDOWN || m.Msg == WM_CAPTURECHANGED) Repaint();
}

int TSkinComBox::ButtonFrame() const {
    if (IsDisabled(window_)) return 3;
    if (mouse_ & msPressed) return 2;
    HWND f = GetFocus();
    if ((mouse_ & msHot) || f == window_ || (f && IsChild(window_, f))) return 4;
    return 1;
}

void TSkinComBox::Draw(HDC dc, const RECT& r) {
    if (!data_ || !HasImage(data_->ComboButton.get())) return;
    const TDataSkinObject& button = *data_->ComboButton;
    const int frame = ButtonFrame();
    // The window rectangle of a combo box includes its dropped list: the box is the client's
    // height, with the border of a control that has one (a date picker).
    RECT client;
    GetClientRect(window_, &client);
    POINT origin{0, 0};
    ClientToScreen(window_, &origin);
    RECT wr;
    GetWindowRect(window_, &wr);
    const int border = std::max<int>(origin.y - wr.top, 0);
    RECT box{r.left, r.top, r.right, std::min<LONG>(r.bottom, r.top + client.bottom + 2 * border)};
    TDibBitmap work;
    if (button.Style == 1) {
        const int bw = GetSystemMetrics(SM_CYVTHUMB);
        RECT area{box.right - bw - 1, box.top + 1, box.right - 1, box.bottom - 1};
        OverDraw(work, dc, area, [&](PixelView v) {
            FillRect(v, {0, 0, v.Width, v.Height}, PixelOfColour(data_->ButtonShadow));
            DrawSingleFrame(v, {1, 1, v.Width - 1, v.Height - 1}, button.Image, button.Trans == 1,
                            std::max(1, button.FrameCount), frame);
        });
        return;
    }
    if (!HasImage(data_->SunkEdge.get())) return;
    const TDataSkinObject& sunk = *data_->SunkEdge;
    const int bw = GetSystemMetrics(SM_CXHSCROLL) + 2;
    OverDraw(work, dc, box, [&](PixelView v) {
        const int W = v.Width, H = v.Height;
        // The edges from the sunken-edge picture: one or two pixels, as its margins say.
        const int L = std::clamp(sunk.LeftWidth, 1, 2), T = std::clamp(sunk.TopHeight, 1, 2),
                  B = std::clamp(sunk.BottomHeight, 1, 2);
        TBitmap32 edge = BuildNinePiece(sunk.Image, sunk.Margins(), false, sunk.Tile != 0,
                                        std::max(1, sunk.FrameCount), frame == 3 ? std::min(3, sunk.FrameCount) : 1, W, H);
        if (edge.Empty()) return;
        auto copy = [&](int x0, int y0, int x1, int y1) {
            for (int y = y0; y < y1; ++y)
                for (int x = x0; x < x1; ++x) v.Row(y)[x] = edge.At(x, y);
        };
        copy(0, 0, L, H);
        copy(0, 0, W, T);
        copy(0, H - B, W, H);
        copy(W - 2, 0, W, H);
        const TRectI area{W - bw, T, W - 2, H - B};
        FillRect(v, area, PixelOfColour(data_->ButtonFace));
        NinePiece(v, area, button, frame);
        if (HasImage(data_->ExtraImages.get())) {
            const TDataSkinObject& x = *data_->ExtraImages;
            const int fw = x.Image.Width() / 5, fh = x.Image.Height();
            const int ax = area.Left + (area.Width() - fw) / 2, ay = area.Top + (area.Height() - fh) / 2;
            DrawSingleFrame(v, {ax, ay, ax + fw, ay + fh}, x.Image, true, 5, frame);
        }
    });
}

// ---------------------------------------------------------------- TSkinEdit

void TSkinEdit::AfterMessage(ui::TMessage& m) {
    if ((m.Msg == WM_PAINT && m.WParam == 0) || m.Msg == WM_NCPAINT) {
        PaintFrame(nullptr);
        return;
    }
    if (m.Msg == WM_PRINT) {
        PaintFrame(reinterpret_cast<HDC>(m.WParam));
        return;
    }
    if (m.Msg == WM_PAINT) return;
    TSkinControl::AfterMessage(m);
}

void TSkinEdit::Draw(HDC dc, const RECT& r) {
    if (!lookedForUpDown_) {
        lookedForUpDown_ = true;
        for (HWND c = GetWindow(window_, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
            wchar_t name[32] = {};
            GetClassNameW(c, name, 32);
            if (lstrcmpiW(name, L"msctls_updown32") == 0 || lstrcmpiW(name, L"TSpinButton") == 0) {
                if (auto p = MakePainter(TPainterKind::UpDown, host_)) p.release()->AttachWindow(c, *data_);
                break;
            }
        }
    }
    RECT client;
    GetClientRect(window_, &client);
    if (client.right >= r.right - r.left && client.bottom >= r.bottom - r.top) return;  // no border
    HBRUSH shadow = CreateSolidBrush(SkinColorRef(data_->ButtonShadow));
    HBRUSH white = CreateSolidBrush(RGB(255, 255, 255));
    RECT inner = r;
    InflateRect(&inner, -1, -1);
    ::FrameRect(dc, &r, shadow);
    ::FrameRect(dc, &inner, white);
    DeleteObject(shadow);
    DeleteObject(white);
}

// ---------------------------------------------------------------- TSkinStatusBar

bool TSkinStatusBar::BeforeMessage(ui::TMessage& m) {
    return !PaintWhole(m);
}

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
    bitmap_.SetSize(w, h);
    GdiFlush();
    FillRect(bitmap_.View(), {0, 0, w, h}, PixelOfColour(data_->ButtonFace));
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

bool TSkinTab::BeforeMessage(ui::TMessage& m) {
    if (!HasImage(data_->Tabs.get())) return true;
    return !PaintWhole(m);
}

void TSkinTab::Draw(HDC dc, const RECT& r) {
    if (!HasImage(data_->Tabs.get())) return;  // the tab control drew itself
    const TDataSkinBorder& tabs = *data_->Tabs;
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0) return;
    bitmap_.SetSize(w, h);
    GdiFlush();
    FillRect(bitmap_.View(), {0, 0, w, h}, PixelOfColour(data_->ButtonFace));
    RECT page{0, 0, w, h};
    Send(TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&page));
    InflateRect(&page, 4, 4);
    page.left = std::max<LONG>(page.left, 0);
    page.right = std::min<LONG>(page.right, w);
    page.bottom = std::min<LONG>(page.bottom, h);
    if (!tabs.Image2.Empty())
        DrawNinePiece(bitmap_.View(), ToRectI(page), tabs.Image2, {4, 5, 4, 4}, false, false, 1, 1, false);
    HDC bdc = bitmap_.Dc();
    HGDIOBJ oldFont = SelectObject(bdc, ControlFont());
    const int count = static_cast<int>(Send(TCM_GETITEMCOUNT));
    const int selected = static_cast<int>(Send(TCM_GETCURSEL));
    // The selected tab last: it overlaps its neighbours.
    for (int pass = 0; pass < 2; ++pass)
        for (int i = 0; i < count; ++i) {
            if ((i == selected) != (pass == 1)) continue;
            RECT tr{};
            if (!Send(TCM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&tr))) continue;
            if (i == selected) {
                InflateRect(&tr, 2, 0);
                tr.top -= 2;
                tr.bottom += 1;
            }
            wchar_t text[128] = {};
            TCITEMW item{};
            item.mask = TCIF_TEXT;
            item.pszText = text;
            item.cchTextMax = 127;
            Send(TCM_GETITEMW, i, reinterpret_cast<LPARAM>(&item));
            GdiFlush();
            NinePiece(bitmap_.View(), ToRectI(tr), tabs, i == selected ? 2 : 1);
            DrawTextIn(bdc, text, tr, DT_CENTER, SkinColorRef(i == selected ? tabs.MouseOverColour2 : tabs.NormalColour2));
        }
    SelectObject(bdc, oldFont);
    BitBlt(dc, r.left, r.top, w, h, bdc, 0, 0, SRCCOPY);
}

// ---------------------------------------------------------------- TSkinTrackBar

bool TSkinTrackBar::BeforeMessage(ui::TMessage& m) {
    if (m.Msg == WM_ERASEBKGND) {
        RECT r;
        GetClientRect(window_, &r);
        FillFace(reinterpret_cast<HDC>(m.WParam), r);
        m.Result = 1;
        return false;
    }
    if (m.Msg != ui::CN_NOTIFY && m.Msg != WM_NOTIFY) return true;
    auto* cd = reinterpret_cast<NMCUSTOMDRAW*>(m.LParam);
    if (!cd || cd->hdr.code != NM_CUSTOMDRAW || cd->hdr.hwndFrom != window_) return true;
    if (!HasImage(data_->Buttons.get())) return true;
    if (cd->dwDrawStage == CDDS_PREPAINT) {
        m.Result = CDRF_NOTIFYITEMDRAW;
        return false;
    }
    if (cd->dwDrawStage != CDDS_ITEMPREPAINT) return true;
    if (cd->dwItemSpec == TBCD_THUMB) {
        TDibBitmap work;
        const int frame = IsDisabled(window_) ? 3 : 4;
        OverDraw(work, cd->hdc, cd->rc, [&](PixelView v) {
            NinePiece(v, {0, 0, v.Width, v.Height}, *data_->Buttons, frame, 5);
        });
        m.Result = CDRF_SKIPDEFAULT;
        return false;
    }
    if (cd->dwItemSpec == TBCD_CHANNEL) {
        HBRUSH b = CreateSolidBrush(SkinColorRef(data_->ButtonShadow));
        ::FillRect(cd->hdc, &cd->rc, b);
        DeleteObject(b);
        m.Result = CDRF_SKIPDEFAULT;
        return false;
    }
    return true;
}

// ---------------------------------------------------------------- TSkinUpDown

const TDataSkinBorder* TSkinUpDown::Element() const {
    const bool horz = (GetWindowLongW(window_, GWL_STYLE) & UDS_HORZ) != 0;
    const TDataSkinBorder* e = horz ? data_->UpDownHorz.get() : data_->UpDownVert.get();
    return HasImage(e) ? e : nullptr;
}

bool TSkinUpDown::BeforeMessage(ui::TMessage& m) {
    if (!Element()) return true;
    return !PaintWhole(m);
}

void TSkinUpDown::AfterMessage(ui::TMessage& m) {
    switch (m.Msg) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK: {
            RECT r;
            GetClientRect(window_, &r);
            const bool horz = (GetWindowLongW(window_, GWL_STYLE) & UDS_HORZ) != 0;
            const int x = static_cast<short>(LOWORD(m.LParam)), y = static_cast<short>(HIWORD(m.LParam));
            pressedHalf_ = horz ? (x >= r.right / 2 ? 1 : 0) : (y >= r.bottom / 2 ? 1 : 0);
            Repaint();
            return;
        }
        case WM_LBUTTONUP:
        case WM_CAPTURECHANGED:
            pressedHalf_ = -1;
            Repaint();
            return;
    }
    const int hot = HotChange(m);
    if (hot != 0) {
        mouse_ = hot > 0 ? unsigned(msHot) : 0u;
        Repaint();
        return;
    }
    TSkinControl::AfterMessage(m);
}

void TSkinUpDown::Draw(HDC dc, const RECT& r) {
    const TDataSkinBorder* e = Element();
    if (!e) return;
    const bool horz = (GetWindowLongW(window_, GWL_STYLE) & UDS_HORZ) != 0;
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0) return;
    bitmap_.SetSize(w, h);
    GdiFlush();
    FillRect(bitmap_.View(), {0, 0, w, h}, PixelOfColour(data_->ButtonFace));
    const int count = std::max(1, e->FrameCount);
    const int perHalf = std::max(1, count / 2);
    const bool disabled = IsDisabled(window_);
    for (int half = 0; half < 2; ++half) {
        const TRectI hr = horz ? TRectI{half * w / 2, 0, (half + 1) * w / 2, h} : TRectI{0, half * h / 2, w, (half + 1) * h / 2};
        int state = disabled ? 3 : pressedHalf_ == half ? 2 : (mouse_ & msHot) ? 4 : 1;
        state = std::min(state, perHalf);
        const int frame = half * perHalf + state;
        NinePiece(bitmap_.View(), hr, *e, frame, count);
        if (!e->Image2.Empty()) DrawSingleFrame(bitmap_.View(), hr, e->Image2, true, count, frame);
    }
    BitBlt(dc, r.left, r.top, w, h, bitmap_.Dc(), 0, 0, SRCCOPY);
}

// ---------------------------------------------------------------- TSkinProgress

bool TSkinProgress::BeforeMessage(ui::TMessage& m) {
    if (!HasImage(data_->Progress.get())) return true;
    return !PaintWhole(m);
}

void TSkinProgress::Draw(HDC dc, const RECT& r) {
    const TDataSkinBorder& p = *data_->Progress;
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0) return;
    bitmap_.SetSize(w, h);
    GdiFlush();
    FillRect(bitmap_.View(), {0, 0, w, h}, PixelOfColour(data_->ButtonFace));
    NinePiece(bitmap_.View(), {0, 0, w, h}, p, 1, 2);
    const int lo = static_cast<int>(Send(PBM_GETRANGE, TRUE, 0)), hi = static_cast<int>(Send(PBM_GETRANGE, FALSE, 0));
    const int pos = std::clamp(static_cast<int>(Send(PBM_GETPOS)), lo, std::max(lo, hi));
    const int len = hi > lo ? MulDiv(w, pos - lo, hi - lo) : 0;
    if (len > 0) {
        if (!p.Image2.Empty()) {
            const int cw = p.Image2.Width();
            for (int x = 3; x + cw <= std::min(len, w - 3); x += cw)
                DrawSingleFrame(bitmap_.View(), {x, 2, x + cw, h - 2}, p.Image2, true, 1, 1);
        } else {
            NinePiece(bitmap_.View(), {0, 0, len, h}, p, 2, 2);
        }
    }
    BitBlt(dc, r.left, r.top, w, h, bitmap_.Dc(), 0, 0, SRCCOPY);
}

// ---------------------------------------------------------------- TSkinSizer

bool TSkinSizer::BeforeMessage(ui::TMessage& m) {
    if (m.Msg == WM_PAINT) {
        ValidateRect(window_, nullptr);
        m.Result = 0;
        return false;
    }
    if (m.Msg == WM_ERASEBKGND) {
        m.Result = 1;
        return false;
    }
    return true;
}

// ---------------------------------------------------------------- TSkinHeader

bool TSkinHeader::BeforeMessage(ui::TMessage& m) {
    if (!HasImage(data_->Headerbar.get())) return true;
    return !PaintWhole(m);
}

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
    int frame = 1;
    if (IsDisabled(window_)) frame = 3;
    else if (i == pressed_ && i == hot_) frame = 2;  // pressed shows while the mouse stays on it
    else if (i == hot_) frame = 4;
    return frame > std::max(1, e->FrameCount) ? 1 : frame;
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
    const int count = static_cast<int>(Send(HDM_GETITEMCOUNT));
    for (int i = 0; i < count; ++i) {
        RECT ir{};
        if (!Send(HDM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&ir))) continue;
        wchar_t text[128] = {};
        HDITEMW item{};
        item.mask = HDI_TEXT | HDI_FORMAT;
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

bool TSkinTab31::BeforeMessage(ui::TMessage& m) {
    if (!HasImage(data_->Tabs.get()) || !dynamic_cast<ui::TTabSet*>(control_)) return true;
    return !PaintWhole(m);
}

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
    FillRect(v, {0, 0, w, h}, PixelOfColour(data_->ButtonFace));
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
    const Pixel edge = PixelOfColour(data_->ButtonShadow);
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

// ---------------------------------------------------------------- scroll bars

TThumb ThumbGeometry(const SCROLLINFO& si, int length, int arrow, int minThumb) {
    TThumb t;
    const int track = length - 2 * arrow;
    const long long range = static_cast<long long>(si.nMax) - si.nMin + 1;
    minThumb = std::min(minThumb, std::max(track, 0));
    if (track <= 0 || si.nMax <= si.nMin || (si.nPage > 0 && si.nPage >= range)) return t;
    if (si.nPage == 0) {
        t.Length = std::min(track, minThumb);
    } else {
        t.Length = std::clamp(static_cast<int>(static_cast<long long>(track) * si.nPage / range), minThumb, track);
    }
    if (t.Length > track || track - t.Length < 0) return {};
    const long long span = range - std::max<long long>(si.nPage, 1);
    const long long at = std::clamp<long long>(si.nPos - si.nMin, 0, std::max<long long>(span, 0));
    t.Offset = arrow + (span > 0 ? static_cast<int>((track - t.Length) * at / span) : 0);
    return t;
}

namespace {
// One bar composed 16 pixels thick and as long as the bar, then stretched onto its rectangle.
void DrawBar(HDC dc, const RECT& r, bool horz, const TScrollState& s, const TSkinData& d) {
    const int len = horz ? r.right - r.left : r.bottom - r.top;
    const int thick = horz ? r.bottom - r.top : r.right - r.left;
    if (len <= 0 || thick <= 0) return;
    TDibBitmap bar(horz ? len : 16, horz ? 16 : len);
    GdiFlush();
    PixelView v = bar.View();
    FillRect(v, {0, 0, v.Width, v.Height}, PixelOfColour(d.ScrollbarColour));
    const int b = GetSystemMetrics(SM_CXHSCROLL);
    const int arrow = len < 2 * b ? len / 2 : b;
    auto along = [&](int from, int to) { return horz ? TRectI{from, 0, to, 16} : TRectI{0, from, 16, to}; };
    const TDataSkinObject* track = horz ? d.HorzScroll.get() : d.VertScroll.get();
    if (track && !track->Image.Empty())
        NinePiece(v, along(arrow, len - arrow), *track, 1, track->FrameCount > 0 ? track->FrameCount : 4);
    if (d.Scrollbar && !d.Scrollbar->Image.Empty()) {
        const int first = (horz ? 1 : 9) + (s.Pressed == SB_LINEUP ? 1 : 0);
        const int second = (horz ? 5 : 13) + (s.Pressed == SB_LINEDOWN ? 1 : 0);
        DrawSingleFrame(v, along(0, arrow), d.Scrollbar->Image, false, 23, first);
        DrawSingleFrame(v, along(len - arrow, len), d.Scrollbar->Image, false, 23, second);
    }
    const TDataSkinObject* thumb = horz ? d.HorzScrollThumb.get() : d.VertScrollThumb.get();
    if (s.Enabled && thumb && !thumb->Image.Empty()) {
        const TThumb t = ThumbGeometry(s.Info, len, arrow, GetSystemMetrics(horz ? SM_CXHTHUMB : SM_CYVTHUMB));
        if (t.Length > 0)
            NinePiece(v, along(t.Offset, t.Offset + t.Length), *thumb, s.Pressed == SB_THUMBTRACK ? 2 : 1);
    }
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, bar.Dc(), 0, 0, v.Width, v.Height, SRCCOPY);
}

bool SameInfo(const SCROLLINFO& a, const SCROLLINFO& b) {
    return a.nMin == b.nMin && a.nMax == b.nMax && a.nPage == b.nPage && a.nPos == b.nPos;
}

int PressedFor(WPARAM w) {
    switch (LOWORD(w)) {
        case SB_LINEUP: return SB_LINEUP;
        case SB_LINEDOWN: return SB_LINEDOWN;
        case SB_THUMBTRACK: return SB_THUMBTRACK;
        default: return -1;
    }
}
}  // namespace

void TSkinScrollBar::AttachControl(ui::TWinControl& control, TSkinData& data, bool recolour) {
    TSkinControl::AttachControl(control, data, recolour);
    SetWindowPos(window_, nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED |
                     (IsWindowVisible(window_) ? SWP_SHOWWINDOW : 0));
}

void TSkinScrollBar::AttachWindow(HWND window, TSkinData& data) {
    TSkinControl::AttachWindow(window, data);
    SetWindowPos(window_, nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED |
                     (IsWindowVisible(window_) ? SWP_SHOWWINDOW : 0));
}

void TSkinScrollBar::BarRects(RECT& vert, RECT& horz, RECT& corner) const {
    vert = horz = corner = RECT{};
    RECT wr, cr;
    GetWindowRect(window_, &wr);
    GetClientRect(window_, &cr);
    MapWindowPoints(window_, nullptr, reinterpret_cast<POINT*>(&cr), 2);
    OffsetRect(&cr, -wr.left, -wr.top);
    const LONG style = GetWindowLongW(window_, GWL_STYLE);
    const bool v = (style & WS_VSCROLL) != 0, h = (style & WS_HSCROLL) != 0;
    const int bv = GetSystemMetrics(SM_CXVSCROLL), bh = GetSystemMetrics(SM_CYHSCROLL);
    // The bars lie right of and below the client area, inside the border.
    if (v) vert = {cr.right, cr.top, cr.right + bv, cr.bottom};
    if (h) horz = {cr.left, cr.bottom, cr.right, cr.bottom + bh};
    if (v && h) corner = {cr.right, cr.bottom, cr.right + bv, cr.bottom + bh};
}

bool TSkinScrollBar::ScrollChanged() {
    bool changed = false;
    for (int bar : {SB_VERT, SB_HORZ}) {
        TScrollState& s = bar == SB_VERT ? vert_ : horz_;
        SCROLLINFO si{sizeof si, SIF_ALL};
        if (!GetScrollInfo(window_, bar, &si)) si = SCROLLINFO{sizeof si};
        if (!SameInfo(si, s.Info)) changed = true;
        s.Info = si;
    }
    return changed;
}

void TSkinScrollBar::PaintBars(HDC dc) {
    RECT wr;
    GetWindowRect(window_, &wr);
    const LONG style = GetWindowLongW(window_, GWL_STYLE);
    if (wr.right - wr.left > 10000 || wr.bottom - wr.top > 10000 || !(style & (WS_HSCROLL | WS_VSCROLL))) return;
    ScrollChanged();
    // A disabled control's bars show no thumb, as the system's do.
    vert_.Enabled = horz_.Enabled = !IsDisabled(window_);
    RECT v, h, corner;
    BarRects(v, h, corner);
    if (!IsRectEmpty(&v)) DrawBar(dc, v, false, vert_, *data_);
    if (!IsRectEmpty(&h)) DrawBar(dc, h, true, horz_, *data_);
    if (!IsRectEmpty(&corner)) FillFace(dc, corner);
}

void TSkinScrollBar::PaintFrame(HDC dc) {
    if (!IsWindow(window_) || !data_) return;
    HDC use = dc ? dc : GetWindowDC(window_);
    if (!use) return;
    try {
        PaintBars(use);
    } catch (...) {
    }
    if (!dc) ReleaseDC(window_, use);
}

bool TSkinScrollBar::DragThumb(bool horz, POINT at) {
    RECT v, h, corner;
    BarRects(v, h, corner);
    const RECT bar = horz ? h : v;
    const int len = horz ? bar.right - bar.left : bar.bottom - bar.top;
    const int b = GetSystemMetrics(SM_CXHSCROLL);
    const int arrow = len < 2 * b ? len / 2 : b;
    TScrollState& s = horz ? horz_ : vert_;
    ScrollChanged();
    const SCROLLINFO si = s.Info;
    const TThumb t = ThumbGeometry(si, len, arrow, GetSystemMetrics(horz ? SM_CXHTHUMB : SM_CYVTHUMB));
    const int along = horz ? at.x - bar.left : at.y - bar.top;
    if (t.Length == 0 || along < t.Offset || along >= t.Offset + t.Length) return false;  // not on the thumb

    const UINT scrollMsg = horz ? WM_HSCROLL : WM_VSCROLL;
    const int track = len - 2 * arrow - t.Length;
    const int span = si.nMax - si.nMin + 1 - static_cast<int>(std::max<UINT>(si.nPage, 1)) + 1;
    const int lastAllowed = si.nMax - static_cast<int>(si.nPage) + (si.nPage ? 1 : 0);
    RECT wr;
    GetWindowRect(window_, &wr);
    POINT start{at.x + wr.left, at.y + wr.top};
    int pos = si.nPos;
    s.Pressed = SB_THUMBTRACK;
    PaintFrame(nullptr);
    SetCapture(window_);
    const int button = GetSystemMetrics(SM_SWAPBUTTON) ? VK_RBUTTON : VK_LBUTTON;
    for (bool dragging = true; dragging && IsWindow(window_);) {
        MSG msg;
        if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            // Released where no message of ours arrives (outside the program's windows).
            if (!(GetAsyncKeyState(button) & 0x8000) || GetCapture() != window_) break;
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
            continue;
        }
        switch (msg.message) {
            case WM_QUIT: PostQuitMessage(static_cast<int>(msg.wParam)); dragging = false; break;
            case WM_LBUTTONUP:
            case WM_NCLBUTTONUP: dragging = false; break;
            case WM_MOUSEMOVE:
            case WM_NCMOUSEMOVE: {
                POINT p{static_cast<short>(LOWORD(msg.lParam)), static_cast<short>(HIWORD(msg.lParam))};
                if (msg.message == WM_MOUSEMOVE) ClientToScreen(msg.hwnd, &p);
                const int delta = horz ? p.x - start.x : p.y - start.y;
                const int offset = std::clamp(t.Offset - arrow + delta, 0, std::max(track, 0));
                int want = si.nMin + (track > 0 ? MulDiv(offset, span - 1, track) : 0);
                want = std::max(si.nMin, std::min(want, lastAllowed));
                if (want != pos) {
                    pos = want;
                    SCROLLINFO set{sizeof set, SIF_POS, 0, 0, 0, pos, 0};
                    SetScrollInfo(window_, horz ? SB_HORZ : SB_VERT, &set, FALSE);
                    SendMessageW(window_, scrollMsg, MAKEWPARAM(SB_THUMBTRACK, pos), 0);
                    PaintFrame(nullptr);
                }
                break;
            }
            default:
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
        }
        if (GetCapture() != window_) dragging = false;
    }
    if (GetCapture() == window_) ReleaseCapture();
    if (!IsWindow(window_)) return true;
    SendMessageW(window_, scrollMsg, MAKEWPARAM(SB_THUMBPOSITION, pos), 0);
    PostMessageW(window_, scrollMsg, SB_ENDSCROLL, 0);
    s.Pressed = -1;
    PaintFrame(nullptr);
    return true;
}

bool TSkinScrollBar::BeforeMessage(ui::TMessage& m) {
    switch (m.Msg) {
        case WM_NCLBUTTONDOWN:
            if (m.WParam == HTHSCROLL || m.WParam == HTVSCROLL) {
                RECT wr;
                GetWindowRect(window_, &wr);
                const POINT at{static_cast<short>(LOWORD(m.LParam)) - wr.left, static_cast<short>(HIWORD(m.LParam)) - wr.top};
                if (DragThumb(m.WParam == HTHSCROLL, at)) {
                    m.Result = 0;
                    return false;
                }
            }
            break;
        case WM_NCMOUSEMOVE:
            if (m.WParam == HTHSCROLL || m.WParam == HTVSCROLL) {
                m.Result = 0;
                return false;
            }
            break;
        case WM_HSCROLL:
            horz_.Pressed = PressedFor(m.WParam);
            break;
        case WM_VSCROLL:
            vert_.Pressed = PressedFor(m.WParam);
            break;
    }
    return true;
}

void TSkinScrollBar::AfterMessage(ui::TMessage& m) {
    switch (m.Msg) {
        case WM_NCPAINT: PaintFrame(nullptr); return;
        case WM_PRINT: PaintFrame(reinterpret_cast<HDC>(m.WParam)); return;
        case WM_HSCROLL:
        case WM_VSCROLL:
        case WM_NCLBUTTONUP:
        case WM_CAPTURECHANGED:
        case WM_ENABLE:
        case ui::CM_ENABLEDCHANGED:
            if (m.Msg == WM_NCLBUTTONUP || m.Msg == WM_CAPTURECHANGED) vert_.Pressed = horz_.Pressed = -1;
            PaintFrame(nullptr);
            return;
        case WM_NCDESTROY: TSkinControl::AfterMessage(m); return;
        case WM_PAINT: return;  // the control paints its client; the bars are the frame's
    }
    TSkinControl::AfterMessage(m);
    // The system draws its own bar at once whenever the numbers change (a key, the wheel, new items).
    if (Attached() && ScrollChanged()) PaintFrame(nullptr);
}

void TSkinListView::AttachControl(ui::TWinControl& control, TSkinData& data, bool recolour) {
    TSkinScrollBar::AttachControl(control, data, recolour);
    HWND header = reinterpret_cast<HWND>(Send(LVM_GETHEADER));
    if (header)
        if (auto p = MakePainter(TPainterKind::Header, host_)) p.release()->AttachWindow(header, data);
}

bool TSkinScControl::BeforeMessage(ui::TMessage& m) {
    if (!data_ || !HasImage(data_->Scrollbar.get())) return true;
    if (PaintWhole(m)) return false;
    switch (m.Msg) {
        case ui::CN_HSCROLL:
        case ui::CN_VSCROLL:
            state_.Pressed = PressedFor(m.WParam);
            break;
    }
    return true;
}

void TSkinScControl::AfterMessage(ui::TMessage& m) {
    // Asking the control for its numbers is itself a message (SBM_GETSCROLLINFO): not again from there.
    const bool ownQuestion = m.Msg >= SBM_SETPOS && m.Msg <= SBM_GETSCROLLBARINFO;
    if (!data_ || !HasImage(data_->Scrollbar.get()) || m.Msg == WM_PAINT || m.Msg == WM_NCDESTROY || ownQuestion)
        return TSkinControl::AfterMessage(m);
    SCROLLINFO si{sizeof si, SIF_ALL};
    GetScrollInfo(window_, SB_CTL, &si);
    bool repaint = !SameInfo(si, state_.Info);
    switch (m.Msg) {
        case WM_LBUTTONUP:
        case WM_CAPTURECHANGED:
            state_.Pressed = -1;
            repaint = true;
            break;
        case WM_LBUTTONDOWN:
        case ui::CN_HSCROLL:
        case ui::CN_VSCROLL:
            repaint = true;
            break;
    }
    state_.Info = si;
    // The system control draws itself at once on a press or a new position: ours goes over it.
    if (repaint) Repaint();
    TSkinControl::AfterMessage(m);
}

void TSkinScControl::Draw(HDC dc, const RECT& r) {
    state_.Info = SCROLLINFO{sizeof(SCROLLINFO), SIF_ALL};
    GetScrollInfo(window_, SB_CTL, &state_.Info);
    state_.Enabled = !IsDisabled(window_);
    const bool vert = (GetWindowLongW(window_, GWL_STYLE) & SBS_VERT) != 0;
    DrawBar(dc, r, !vert, state_, *data_);
}

// ---------------------------------------------------------------- the factory

std::unique_ptr<TSkinControl> MakePainter(TPainterKind kind, TPainterHost host) {
    switch (kind) {
        case TPainterKind::None: return nullptr;
        case TPainterKind::Button: return std::make_unique<TSkinButton>(host);
        case TPainterKind::BitButton: return std::make_unique<TSkinBitButton>(host);
        case TPainterKind::SpeedButton: return std::make_unique<TSkinSpeedButton>(host);
        case TPainterKind::CheckBox: return std::make_unique<TSkinCheckBox>(host, false);
        case TPainterKind::RadioButton: return std::make_unique<TSkinCheckBox>(host, true);
        case TPainterKind::ComBox: return std::make_unique<TSkinComBox>(host);
        case TPainterKind::Edit: return std::make_unique<TSkinEdit>(host);
        case TPainterKind::StatusBar: return std::make_unique<TSkinStatusBar>(host);
        case TPainterKind::Box: return std::make_unique<TSkinBox>(host);
        case TPainterKind::Tab: return std::make_unique<TSkinTab>(host);
        case TPainterKind::TrackBar: return std::make_unique<TSkinTrackBar>(host);
        case TPainterKind::UpDown: return std::make_unique<TSkinUpDown>(host);
        case TPainterKind::Progress: return std::make_unique<TSkinProgress>(host);
        case TPainterKind::Sizer: return std::make_unique<TSkinSizer>(host);
        case TPainterKind::Header: return std::make_unique<TSkinHeader>(host);
        case TPainterKind::ScrollBar: return std::make_unique<TSkinScrollBar>(host);
        case TPainterKind::ListView: return std::make_unique<TSkinListView>(host);
        case TPainterKind::ScControl: return std::make_unique<TSkinScControl>(host);
        case TPainterKind::Tab31: return std::make_unique<TSkinTab31>(host);
    }
    return nullptr;
}

}  // namespace kt
