#include "skin/ui/WinSkinControls.h"

#include <algorithm>
#include <cctype>
#include <unordered_map>

#include "skin/ui/SkinColours.h"
#include "ui/ComCtrls.h"
#include "ui/Forms.h"

namespace kt {

namespace {
std::unordered_map<HWND, TSkinControl*>& WindowPainters() {
    static std::unordered_map<HWND, TSkinControl*> map;
    return map;
}

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}
std::string Upper(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

// The value a painter puts in a control object's WindowProc; found again at detach by its type.
struct PainterHook {
    std::shared_ptr<TSkinControl::Link> link;
    void operator()(ui::TMessage& m) const {
        // The painter may put the previous WindowProc back while this runs (WM_NCDESTROY):
        // everything used after that point is held here on the stack.
        const std::shared_ptr<TSkinControl::Link> keep = link;
        if (keep->Painter)
            keep->Painter->MessageProc(m);
        else if (keep->Saved)
            keep->Saved(m);
    }
};
}  // namespace

namespace {
// Bare windows whose painter went while another procedure was installed over ours keep our
// procedure in their chain: it must still reach the procedure it replaced.
std::unordered_map<HWND, std::pair<WNDPROC, bool>>& Orphans() {
    static std::unordered_map<HWND, std::pair<WNDPROC, bool>> map;
    return map;
}
}  // namespace

// ---------------------------------------------------------------- TSkinControl

TSkinControl::~TSkinControl() { Detach(); }

void TSkinControl::AttachControl(ui::TWinControl& control, TSkinData& data, bool recolour) {
    data_ = &data;
    control_ = &control;
    window_ = control.Handle();
    link_ = std::make_shared<Link>(Link{this, control.WindowProc});
    control.WindowProc = PainterHook{link_};
    attached_ = true;
    host_.Painters.emplace_back(this);
    focused_ = GetFocus() == window_;
    enabled_ = IsWindowEnabled(window_) != FALSE;
    caption_ = ui::WindowText(window_);
    if (recolour) {
        recolour_ = true;
        savedColour_ = control.Color();
        savedParentColour_ = control.ParentColor();
        control.SetColor(data.ButtonFace);
    }
    InvalidateRect(window_, nullptr, TRUE);
}

void TSkinControl::AttachWindow(HWND window, TSkinData& data) {
    // One painter per window: a second one in the chain would find itself again behind it
    // and call itself for ever. The newer painter takes the window over.
    auto held = WindowPainters().find(window);
    if (held != WindowPainters().end() && held->second != this) held->second->Detach();
    data_ = &data;
    window_ = window;
    enabled_ = IsWindowEnabled(window) != FALSE;
    caption_ = ui::WindowText(window);
    unicode_ = IsWindowUnicode(window) != FALSE;
    WindowPainters()[window] = this;
    oldProc_ = reinterpret_cast<WNDPROC>(
        unicode_ ? SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowHook))
                 : SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowHook)));
    attached_ = true;
    host_.Painters.emplace_back(this);
    InvalidateRect(window, nullptr, TRUE);
}

void TSkinControl::Detach() {
    if (!attached_) return;
    attached_ = false;
    if (host_.HotControl == this) host_.HotControl = nullptr;
    if (link_) {
        link_->Painter = nullptr;
        // Put the previous WindowProc back only while ours is the outermost: a hook installed
        // after ours stays, and ours passes through behind it.
        if (control_) {
            const PainterHook* h = control_->WindowProc.target<PainterHook>();
            if (h && h->link == link_) control_->WindowProc = link_->Saved;
        }
        link_.reset();
    }
    if (oldProc_) {
        // Asked the way it was set: an ANSI window reports a Unicode procedure through a stand-in.
        const LONG_PTR current =
            unicode_ ? GetWindowLongPtrW(window_, GWLP_WNDPROC) : GetWindowLongPtrA(window_, GWLP_WNDPROC);
        const bool outermost = IsWindow(window_) && current == reinterpret_cast<LONG_PTR>(&WindowHook);
        if (outermost) {
            if (unicode_)
                SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(oldProc_));
            else
                SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(oldProc_));
        } else if (IsWindow(window_) && !destroying_) {
            // Another procedure sits in front of ours: ours stays in the chain and passes on.
            Orphans()[window_] = {oldProc_, unicode_};
        }
        auto it = WindowPainters().find(window_);
        if (it != WindowPainters().end() && it->second == this) WindowPainters().erase(it);
    }
    if (recolour_ && control_ && host_.FrameState != kFrameDestroying) RestoreColour();
    recolour_ = false;
    if (IsWindow(window_) && !oldProc_ && !destroying_) InvalidateRect(window_, nullptr, TRUE);
    FreeResources();
}

void TSkinControl::ReapplyColours() {
    if (!control_ || !data_) return;
    if (data_->Active()) {
        if (!recolour_) return;
        control_->SetColor(data_->ButtonFace);
    } else if (recolour_) {
        RestoreColour();
    }
}

void TSkinControl::RestoreColour() {
    control_->SetColor(savedColour_);
    if (savedParentColour_) control_->SetParentColor(true);
}

LRESULT CALLBACK TSkinControl::WindowHook(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
    auto it = WindowPainters().find(hwnd);
    TSkinControl* p = it != WindowPainters().end() ? it->second : nullptr;
    if (!p) {
        auto o = Orphans().find(hwnd);
        if (o == Orphans().end()) return DefWindowProcW(hwnd, msg, w, l);
        const auto [proc, unicode] = o->second;
        if (msg == WM_NCDESTROY) Orphans().erase(o);
        return unicode ? CallWindowProcW(proc, hwnd, msg, w, l) : CallWindowProcA(proc, hwnd, msg, w, l);
    }
    ui::TMessage m{msg, w, l, 0};
    p->MessageProc(m);
    return m.Result;
}

void TSkinControl::MessageProc(ui::TMessage& m) {
    handled_ = false;
    // Detach (WM_NCDESTROY) forgets the procedures: keep what the message still needs.
    const std::shared_ptr<Link> link = link_;
    const WNDPROC old = oldProc_;
    const bool unicode = unicode_;
    const HWND window = window_;
    bool passOn = true;
    try {
        passOn = BeforeMessage(m);
    } catch (...) {
        passOn = true;
    }
    if (!passOn) return;
    if (link && link->Saved)
        link->Saved(m);
    else if (old)
        m.Result = unicode ? CallWindowProcW(old, window, m.Msg, m.WParam, m.LParam)
                           : CallWindowProcA(old, window, m.Msg, m.WParam, m.LParam);
    else
        m.Result = DefWindowProcW(window, m.Msg, m.WParam, m.LParam);
    if (!attached_) return;
    try {
        AfterMessage(m);
    } catch (...) {
        // A bad skin never breaks the window it paints.
    }
}

bool TSkinControl::BeforeMessage(ui::TMessage&) { return true; }

void TSkinControl::AfterMessage(ui::TMessage& m) {
    switch (m.Msg) {
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
        case WM_ENABLE:
        case ui::CM_ENABLEDCHANGED:
            Repaint();
            break;
        case WM_SETTEXT:
            caption_ = ui::WindowText(window_);
            Repaint();
            break;
        case WM_PAINT:
            PaintFrame(reinterpret_cast<HDC>(m.WParam));
            break;
        case WM_NCDESTROY:
            destroying_ = true;
            Detach();
            // The object may be freed and another made at its address: this painter is not its.
            control_ = nullptr;
            window_ = nullptr;
            break;
    }
}

void TSkinControl::PaintFrame(HDC dc) {
    if (!IsWindow(window_)) return;
    GetWindowRect(window_, &windowRect_);
    RECT r = windowRect_;
    OffsetRect(&r, -r.left, -r.top);
    HDC use = dc ? dc : GetWindowDC(window_);
    if (!use) return;
    try {
        Draw(use, r);
    } catch (...) {
        // A bad skin never breaks the window it paints.
    }
    if (!dc) ReleaseDC(window_, use);
}

void TSkinControl::Repaint() {
    if (!IsWindow(window_) || !GetParent(window_)) return;
    RECT r;
    GetWindowRect(window_, &r);
    OffsetRect(&r, -r.left, -r.top);
    InvalidateRect(window_, &r, FALSE);
    UpdateWindow(window_);
}

COLORREF TSkinControl::Colour(TColour c) const { return SkinColorRef(c); }

Pixel TSkinControl::PixelOf(TColour c) const {
    const COLORREF rgb = SkinColorRef(c);
    return MakePixel(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
}

void TSkinControl::FillFace(HDC dc, const RECT& r) {
    HBRUSH b = CreateSolidBrush(Colour(data_ ? data_->ButtonFace : SysColour(COLOR_BTNFACE)));
    ::FillRect(dc, &r, b);
    DeleteObject(b);
}

void TSkinControl::BecomeHot() {
    TSkinControlBase* previous = host_.HotControl;
    if (previous == this) return;
    host_.HotControl = this;
    if (previous && IsWindow(previous->Window())) SendMessageW(previous->Window(), ui::CM_MOUSELEAVE, 0, 0);
}

HFONT TSkinControl::ControlFont() const {
    auto f = reinterpret_cast<HFONT>(Send(WM_GETFONT));
    return f ? f : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

int TSkinControl::HotChange(const ui::TMessage& m) {
    switch (m.Msg) {
        case ui::CM_MOUSEENTER: return 1;
        case ui::CM_MOUSELEAVE: return -1;
        case WM_MOUSEMOVE:
            if (control_ || (mouse_ & msHot)) return 0;
            {
                TRACKMOUSEEVENT t{sizeof t, TME_LEAVE, window_, 0};
                TrackMouseEvent(&t);
            }
            return 1;
        case WM_MOUSELEAVE: return control_ ? 0 : -1;
    }
    return 0;
}

void TSkinControl::StopBeingHot() {
    if (host_.HotControl == this) host_.HotControl = nullptr;
}

// ---------------------------------------------------------------- the scan

TPainterKind BareWindowKind(const std::string& cls, LONG style) {
    if (cls == "button") {
        if ((style & 7) == 7) return TPainterKind::None;  // group box
        // Owner-drawn buttons draw themselves (their style shares the check box's bits).
        if ((style & 0xF) == BS_OWNERDRAW) return TPainterKind::None;
        if ((style & 3) == 3 || (style & 2) || (style & 5) == 5) return TPainterKind::CheckBox;
        if ((style & 9) == 9 || (style & 4)) return TPainterKind::RadioButton;
        return TPainterKind::Button;
    }
    if (cls == "combobox") return (style & 3) == CBS_SIMPLE ? TPainterKind::None : TPainterKind::ComBox;
    // Only a size box is the sizer; a real scroll bar is drawn as one.
    if (cls == "scrollbar") return (style & (SBS_SIZEBOX | SBS_SIZEGRIP)) ? TPainterKind::Sizer : TPainterKind::ScControl;
    if (cls == "systabcontrol32") return (style & 0x2000) ? TPainterKind::None : TPainterKind::Tab;
    if (cls == "edit") return TPainterKind::Edit;
    return TPainterKind::None;
}

std::string Skin3rdKind(const std::vector<std::string>& skin3rd, const std::string& className) {
    const std::string key = Lower(className) + "=";
    for (const std::string& entry : skin3rd) {
        const std::string e = Lower(entry);
        if (e.compare(0, key.size(), key) == 0) return e.substr(key.size(), 50);
    }
    return {};
}

namespace {

class Scanner {
public:
    Scanner(TPainterHost host, TSkinData& data, ui::TForm* form) : host_(host), data_(data), form_(form) {
        if (form) {
            const std::string n = Lower(form->Name);
            preview_ = n.find("preview") != std::string::npos || form->Name == "TQRStandardPreview" ||
                       form->Name == "TppPrintPreview" || form->Name == "TdxfmStdPreview";
        }
    }

    void Walk(const ui::TComponent& owner) {
        for (ui::TComponent* c : std::vector<ui::TComponent*>(owner.Components())) Component(c);
    }

    void Component(ui::TComponent* c) {
        int rest = c->Tag % 100;  // the remainder keeps the Tag's sign
        if (rest == data_.DisableTag) return;
        auto* control = dynamic_cast<ui::TWinControl*>(c);
        if (HasPainter(c)) return;
        if (control && !control->HandleAllocated()) {
            if (preview_) return;
            try {
                control->Handle();
            } catch (...) {
                return;
            }
        }
        if (data_.OnSkinControl && control) {
            void* made = nullptr;
            data_.OnSkinControl(host_.Frame, data_, form_, c, Upper(c->ClassName()), made);
            if (made) {
                auto* painter = static_cast<TSkinControl*>(made);
                painter->AttachWindow(control->Handle(), data_);
                return;
            }
        }
        if (control) Rules(*control);
        else Rules(c);
    }

private:
    bool Has(TSkinControlType t) const { return data_.HasControl(t); }
    bool HasPainter(ui::TComponent* c) const {
        auto* w = dynamic_cast<ui::TWinControl*>(c);
        for (auto& p : host_.Painters) {
            if (p->Control() == c) return true;
            if (w && w->HandleAllocated() && p->Window() == w->Handle()) return true;
        }
        return false;
    }
    void ByControl(TPainterKind k, ui::TWinControl& c, bool recolour) {
        if (auto p = MakePainter(k, host_)) p.release()->AttachControl(c, data_, recolour);
    }
    void ByWindow(TPainterKind k, ui::TWinControl& c) {
        if (auto p = MakePainter(k, host_)) p.release()->AttachWindow(c.Handle(), data_);
    }
    void Recolour(ui::TWinControl& c) { c.SetColor(data_.ButtonFace); }

    void RadioChildren(ui::TWinControl& group, TPainterKind kind) {
        for (ui::TControl* child : std::vector<ui::TControl*>(group.Controls()))
            if (auto* w = dynamic_cast<ui::TWinControl*>(child); w && !HasPainter(w)) {
                w->SetParentColor(false);
                ByControl(kind, *w, true);
            }
    }

    void Rules(ui::TComponent*) {}  // components without a window: nothing to paint here

    void Rules(ui::TWinControl& c) {
        const std::string cls = Upper(c.ClassName());
        const bool tabs = data_.Tabs && !data_.Tabs->Image.Empty();
        const int rest = c.Tag % 100;
        if (cls == "TDBCOMBOBOXEH") return;
        if (cls == "TTOOLBAR") {
            c.SetEnumProperty("Flat", 1);
            Recolour(c);
            return;
        }
        if (c.IsKindOf("TTabControl") && Has(xcTab) && tabs) return ByWindow(TPainterKind::Tab, c);
        if (cls == "TTABSET" && Has(xcTab) && tabs) return ByControl(TPainterKind::Tab31, c, false);
        if (cls == "TMVCPANEL") return Walk(c);
        if (c.IsKindOf("TPageControl") && Has(xcTab) && tabs) return ByWindow(TPainterKind::Tab, c);
        if (c.IsKindOf("TCustomCheckBox") && Has(xcCheckBox)) return ByControl(TPainterKind::CheckBox, c, true);
        if (cls == "TTRACKBAR" && Has(xcButton)) return ByControl(TPainterKind::TrackBar, c, false);
        if (cls == "TUPDOWN" && Has(xcButton)) return ByControl(TPainterKind::UpDown, c, false);
        if (c.IsKindOf("TCustomRadioGroup") && Has(xcRadioButton)) {
            RadioChildren(c, TPainterKind::RadioButton);
            return ByControl(TPainterKind::Box, c, true);
        }
        if (c.IsKindOf("TRadioButton") && Has(xcRadioButton)) return ByControl(TPainterKind::RadioButton, c, true);
        if (c.IsKindOf("TToolBar") && Has(xcToolbar)) {
            c.SetEnumProperty("Flat", 1);
            return ByControl(TPainterKind::Box, c, true);
        }
        if (c.IsKindOf("TStatusBar") && Has(xcStatusBar)) {
            if (auto* s = dynamic_cast<ui::TStatusBar*>(&c)) s->SetSizeGrip(false);
            return ByControl(TPainterKind::StatusBar, c, false);
        }
        if (c.IsKindOf("TProgressBar") && Has(xcProgress)) return ByControl(TPainterKind::Progress, c, false);
        if (c.IsKindOf("TScrollBar") && Has(xcScrollbar)) return ByControl(TPainterKind::ScControl, c, false);
        if ((c.IsKindOf("TCustomComboBox") || rest == 95) && Has(xcCombo)) return ByControl(TPainterKind::ComBox, c, false);
        if (cls == "TDATETIMEPICKER" && Has(xcEdit)) {
            // The up-down picker is an edit with arrows beside it; the other drops a calendar like a combo box.
            auto* picker = dynamic_cast<ui::TDateTimePicker*>(&c);
            if (picker && picker->DateMode == ui::TDTDateMode::dmUpDown) return ByWindow(TPainterKind::Edit, c);
            return ByControl(TPainterKind::ComBox, c, false);
        }
        if (Has(xcScrollbar) && (cls == "TRICHEDIT" || cls == "TWWDBRICHEDIT" || cls == "TDXDBMEMO"))
            return ByControl(TPainterKind::ScrollBar, c, false);
        if (c.IsKindOf("TBitBtn") && Has(xcBitBtn)) return ByControl(TPainterKind::BitButton, c, false);
        if (c.IsKindOf("TSpeedButton") && Has(xcSpeedButton)) return ByControl(TPainterKind::SpeedButton, c, false);
        if ((c.IsKindOf("TCustomPanel") || c.IsKindOf("TCustomGroupBox")) && Has(xcPanel)) {
            ByControl(TPainterKind::Box, c, true);
            return Walk(c);
        }
        if (Has(xcScrollbar)) {
            if (c.IsKindOf("TCustomListView")) return ByControl(TPainterKind::ListView, c, false);
            if (c.IsKindOf("TCustomMemo") || c.IsKindOf("TCustomGrid")) return ByControl(TPainterKind::ScrollBar, c, false);
            const LONG style = GetWindowLongW(c.Handle(), GWL_STYLE);
            if (rest == 96 || (style & (WS_HSCROLL | WS_VSCROLL)) || c.IsKindOf("TListBox") || c.IsKindOf("TMemo") ||
                c.IsKindOf("TCustomListBox") || c.IsKindOf("TCustomTreeView") || c.IsKindOf("TScrollBox") ||
                c.Tag == 55)
                return ByControl(TPainterKind::ScrollBar, c, false);
        }
        if (c.IsKindOf("TButton") && Has(xcButton)) return ByControl(TPainterKind::Button, c, false);
        const std::string kind = Skin3rdKind(data_.Skin3rd(), c.ClassName());
        if (!kind.empty()) return Mapped(kind, c);
        if ((c.IsKindOf("TCustomEdit") || rest == 97) && Has(xcEdit)) return ByWindow(TPainterKind::Edit, c);
        if (c.IsKindOf("TCustomFrame")) return Walk(c);
        if (c.IsKindOf("TCustomForm")) {
            Recolour(c);
            return Walk(c);
        }
    }

    void Mapped(const std::string& kind, ui::TWinControl& c) {
        if (kind == "combobox" && Has(xcCombo)) return ByControl(TPainterKind::ComBox, c, false);
        if (kind == "edit" && Has(xcEdit)) return ByWindow(TPainterKind::Edit, c);
        if (kind == "radiobutton" && Has(xcRadioButton)) return ByControl(TPainterKind::RadioButton, c, true);
        if ((kind == "panel" && Has(xcPanel)) || (kind == "trackbar" && Has(xcButton))) {
            c.SetEnumProperty("Transparent", 1);
            return ByControl(TPainterKind::Box, c, true);
        }
        if (kind == "progress" && Has(xcProgress)) return ByControl(TPainterKind::Progress, c, false);
        if ((kind == "radiogroup" || kind == "checkgroup") && Has(xcPanel)) {
            if (Has(xcRadioButton))
                RadioChildren(c, kind == "radiogroup" ? TPainterKind::RadioButton : TPainterKind::CheckBox);
            return ByControl(TPainterKind::Box, c, true);
        }
        if (kind == "checkbox" && Has(xcCheckBox)) return ByControl(TPainterKind::CheckBox, c, true);
    }

    TPainterHost host_;
    TSkinData& data_;
    ui::TForm* form_;
    bool preview_ = false;
};

bool WindowHasPainter(const TPainterHost& host, HWND h) {
    for (auto& p : host.Painters)
        if (p->Window() == h) return true;
    return false;
}

void ScanBareWindow(TPainterHost host, TSkinData& data, HWND window) {
    for (HWND child = GetTopWindow(window); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const LONG style = GetWindowLongW(child, GWL_STYLE);
        if (!(style & WS_CHILD) || WindowHasPainter(host, child)) continue;
        wchar_t name[64] = {};
        GetClassNameW(child, name, 64);
        std::string cls = Lower(ui::FromWide(name, static_cast<int>(wcslen(name))));
        HWND target = child;
        TPainterKind kind;
        if (cls == "comboboxex32") {
            target = GetWindow(child, GW_CHILD);
            kind = target && !WindowHasPainter(host, target) ? TPainterKind::ComBox : TPainterKind::None;
        } else {
            kind = BareWindowKind(cls, style);
        }
        if (kind == TPainterKind::None) continue;
        if (auto p = MakePainter(kind, host)) p.release()->AttachWindow(target, data);
    }
}

}  // namespace

void ScanControls(TPainterHost host, TSkinData& data, ui::TForm* form, HWND window, ui::TControl* control) {
    // Painters of windows destroyed since the last scan are freed here, not inside the destroy
    // message they are still running in: a form whose controls are remade keeps one per control.
    auto& painters = host.Painters;
    painters.erase(std::remove_if(painters.begin(), painters.end(),
                                  [](const std::unique_ptr<TSkinControlBase>& p) {
                                      const auto* c = dynamic_cast<const TSkinControl*>(p.get());
                                      return c && c->WindowGone();
                                  }),
                   painters.end());
    if (!form) {
        if (window) ScanBareWindow(host, data, window);
        return;
    }
    Scanner scan(host, data, form);
    if (control) {
        scan.Component(control);
        scan.Walk(*control);
    } else {
        scan.Walk(*form);
    }
}

}  // namespace kt
