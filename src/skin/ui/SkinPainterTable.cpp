// The painter table: which painter each kind is (kPainters), and the scan's rules, tried in
// order, that give a control its kind (kScanRules); bare windows by class and style. Adding a
// painter touches this file and the painter's own (docs/design.md: "Adding a painter").
#include "skin/ui/SkinPainters.h"

#include <commctrl.h>

#include <algorithm>
#include <cctype>

#include "skin/ui/WinSkinControls.h"
#include "ui/ComCtrls.h"
#include "ui/Forms.h"

namespace kt {

namespace {

// ---- What a control's Tag asks for whatever its class (the remainder of Tag / 100, with the
// Tag's sign; kTagScrolling also as the whole Tag).
constexpr int kTagComboBox = 95;
constexpr int kTagScrolling = 96;
constexpr int kTagEdit = 97;
constexpr int kTagScrollingWhole = 55;

// ---- The style bits of bare windows that decide their painter (they overlap: the order of
// the tests in BareWindowKind decides).
constexpr LONG kButtonTypeMask = BS_TYPEMASK;        // 0xF
constexpr LONG kGroupBoxBits = BS_GROUPBOX;          // 7
constexpr LONG kCheckBoxBit = BS_CHECKBOX;           // 2
constexpr LONG kAutoCheckBoxBits = BS_AUTOCHECKBOX;  // 3
constexpr LONG kThreeStateBits = BS_3STATE;          // 5
constexpr LONG kRadioButtonBit = BS_RADIOBUTTON;     // 4
constexpr LONG kAutoRadioBits = BS_AUTORADIOBUTTON;  // 9
constexpr LONG kComboTypeMask = CBS_SIMPLE | CBS_DROPDOWN | CBS_DROPDOWNLIST;  // 3
constexpr LONG kSizeBoxBits = SBS_SIZEBOX | SBS_SIZEGRIP;
constexpr LONG kOwnerDrawnTabs = TCS_OWNERDRAWFIXED;  // 0x2000

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}
std::string Upper(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

// ---- Kind to painter.
template <class T>
std::unique_ptr<TSkinControl> Make(TPainterHost host) {
    return std::make_unique<T>(host);
}
struct TPainterEntry {
    TPainterKind Kind;
    std::unique_ptr<TSkinControl> (*Make)(TPainterHost host);
};
constexpr TPainterEntry kPainters[] = {
    {TPainterKind::Button, Make<TSkinButton>},
    {TPainterKind::BitButton, Make<TSkinBitButton>},
    {TPainterKind::SpeedButton, Make<TSkinSpeedButton>},
    {TPainterKind::CheckBox, [](TPainterHost h) -> std::unique_ptr<TSkinControl> { return std::make_unique<TSkinCheckBox>(h, false); }},
    {TPainterKind::RadioButton, [](TPainterHost h) -> std::unique_ptr<TSkinControl> { return std::make_unique<TSkinCheckBox>(h, true); }},
    {TPainterKind::ComBox, Make<TSkinComBox>},
    {TPainterKind::Edit, Make<TSkinEdit>},
    {TPainterKind::StatusBar, Make<TSkinStatusBar>},
    {TPainterKind::Box, Make<TSkinBox>},
    {TPainterKind::Tab, Make<TSkinTab>},
    {TPainterKind::TrackBar, Make<TSkinTrackBar>},
    {TPainterKind::UpDown, Make<TSkinUpDown>},
    {TPainterKind::Progress, Make<TSkinProgress>},
    {TPainterKind::Sizer, Make<TSkinSizer>},
    {TPainterKind::Header, Make<TSkinHeader>},
    {TPainterKind::ScrollBar, Make<TSkinScrollBar>},
    {TPainterKind::ListView, Make<TSkinListView>},
    {TPainterKind::ScControl, Make<TSkinScControl>},
    {TPainterKind::Tab31, Make<TSkinTab31>},
};

// ---- The scan's rules.

// How a painter takes its control over: through the control object's WindowProc (recolour:
// the control takes the face colour), or by replacing its window's procedure.
enum class TAttachBy { Control, ControlRecolour, Window };

class Scanner;
// The control a rule looks at, with what the rules ask of it.
struct TCandidate {
    ui::TWinControl& C;
    const TSkinData& Data;
    std::string Cls;  // the class name in upper case
    int Rest;         // Tag % 100
    bool Tabs;        // the skin has a "Tabs" picture
    bool Has(TSkinControlType t) const { return Data.HasControl(t); }
    bool Is(const char* cls) const { return C.IsKindOf(cls); }
};

struct TScanRule {
    bool (*Matches)(const TCandidate& x);
    TPainterKind Kind;  // None: no painter of its own
    TAttachBy By;
    void (*Before)(Scanner& scan, const TCandidate& x);  // done to the control first, or null
    bool ScanOwned;  // the control's own components are scanned after
};

void Recolour(ui::TWinControl& c, const TSkinData& d) { c.SetColor(d.ButtonFace); }
void Flat(Scanner&, const TCandidate& x) { x.C.SetEnumProperty("Flat", 1); }
void RadioChildren(Scanner& scan, const TCandidate& x);
void Mapped(Scanner& scan, const TCandidate& x);

bool UpDownPicker(const TCandidate& x) {
    auto* picker = dynamic_cast<ui::TDateTimePicker*>(&x.C);
    return picker && picker->DateMode == ui::TDTDateMode::dmUpDown;
}
bool Scrolling(const TCandidate& x) {
    const LONG style = GetWindowLongW(x.C.Handle(), GWL_STYLE);
    return x.Rest == kTagScrolling || (style & (WS_HSCROLL | WS_VSCROLL)) || x.Is("TListBox") || x.Is("TMemo") ||
           x.Is("TCustomListBox") || x.Is("TCustomTreeView") || x.Is("TScrollBox") || x.C.Tag == kTagScrollingWhole;
}

using K = TPainterKind;
using B = TAttachBy;
// The first row that matches a control decides.
const TScanRule kScanRules[] = {
    {[](const TCandidate& x) { return x.Cls == "TDBCOMBOBOXEH"; }, K::None, B::Control, nullptr, false},
    {[](const TCandidate& x) { return x.Cls == "TTOOLBAR"; }, K::None, B::Control,
     [](Scanner& s, const TCandidate& x) {
         Flat(s, x);
         Recolour(x.C, x.Data);
     }, false},
    {[](const TCandidate& x) { return x.Is("TTabControl") && x.Has(xcTab) && x.Tabs; }, K::Tab, B::Window, nullptr, false},
    {[](const TCandidate& x) { return x.Cls == "TTABSET" && x.Has(xcTab) && x.Tabs; }, K::Tab31, B::Control, nullptr, false},
    {[](const TCandidate& x) { return x.Cls == "TMVCPANEL"; }, K::None, B::Control, nullptr, true},
    {[](const TCandidate& x) { return x.Is("TPageControl") && x.Has(xcTab) && x.Tabs; }, K::Tab, B::Window, nullptr, false},
    {[](const TCandidate& x) { return x.Is("TCustomCheckBox") && x.Has(xcCheckBox); }, K::CheckBox, B::ControlRecolour, nullptr, false},
    {[](const TCandidate& x) { return x.Cls == "TTRACKBAR" && x.Has(xcButton); }, K::TrackBar, B::Control, nullptr, false},
    {[](const TCandidate& x) { return x.Cls == "TUPDOWN" && x.Has(xcButton); }, K::UpDown, B::Control, nullptr, false},
    {[](const TCandidate& x) { return x.Is("TCustomRadioGroup") && x.Has(xcRadioButton); }, K::Box, B::ControlRecolour,
     RadioChildren, false},
    {[](const TCandidate& x) { return x.Is("TRadioButton") && x.Has(xcRadioButton); }, K::RadioButton, B::ControlRecolour, nullptr, false},
    {[](const TCandidate& x) { return x.Is("TToolBar") && x.Has(xcToolbar); }, K::Box, B::ControlRecolour, Flat, false},
    {[](const TCandidate& x) { return x.Is("TStatusBar") && x.Has(xcStatusBar); }, K::StatusBar, B::Control,
     [](Scanner&, const TCandidate& x) {
         if (auto* s = dynamic_cast<ui::TStatusBar*>(&x.C)) s->SetSizeGrip(false);
     },
     false},
    {[](const TCandidate& x) { return x.Is("TProgressBar") && x.Has(xcProgress); }, K::Progress, B::Control, nullptr, false},
    {[](const TCandidate& x) { return x.Is("TScrollBar") && x.Has(xcScrollbar); }, K::ScControl, B::Control, nullptr, false},
    {[](const TCandidate& x) { return (x.Is("TCustomComboBox") || x.Rest == kTagComboBox) && x.Has(xcCombo); }, K::ComBox,
     B::Control, nullptr, false},
    // The up-down picker is an edit with arrows beside it; the other drops a calendar like a combo box.
    {[](const TCandidate& x) { return x.Cls == "TDATETIMEPICKER" && x.Has(xcEdit) && UpDownPicker(x); }, K::Edit, B::Window,
     nullptr, false},
    {[](const TCandidate& x) { return x.Cls == "TDATETIMEPICKER" && x.Has(xcEdit); }, K::ComBox, B::Control, nullptr, false},
    {[](const TCandidate& x) {
         return x.Has(xcScrollbar) && (x.Cls == "TRICHEDIT" || x.Cls == "TWWDBRICHEDIT" || x.Cls == "TDXDBMEMO");
     },
     K::ScrollBar, B::Control, nullptr, false},
    {[](const TCandidate& x) { return x.Is("TBitBtn") && x.Has(xcBitBtn); }, K::BitButton, B::Control, nullptr, false},
    {[](const TCandidate& x) { return x.Is("TSpeedButton") && x.Has(xcSpeedButton); }, K::SpeedButton, B::Control, nullptr, false},
    {[](const TCandidate& x) { return (x.Is("TCustomPanel") || x.Is("TCustomGroupBox")) && x.Has(xcPanel); }, K::Box,
     B::ControlRecolour, nullptr, true},
    {[](const TCandidate& x) { return x.Has(xcScrollbar) && x.Is("TCustomListView"); }, K::ListView, B::Control, nullptr, false},
    {[](const TCandidate& x) { return x.Has(xcScrollbar) && (x.Is("TCustomMemo") || x.Is("TCustomGrid")); }, K::ScrollBar,
     B::Control, nullptr, false},
    {[](const TCandidate& x) { return x.Has(xcScrollbar) && Scrolling(x); }, K::ScrollBar, B::Control, nullptr, false},
    {[](const TCandidate& x) { return x.Is("TButton") && x.Has(xcButton); }, K::Button, B::Control, nullptr, false},
    // A Skin3rd entry for the class ends the search even when its kind matches nothing.
    {[](const TCandidate& x) { return !Skin3rdKind(x.Data.Skin3rd(), x.C.ClassName()).empty(); }, K::None, B::Control,
     Mapped, false},
    {[](const TCandidate& x) { return (x.Is("TCustomEdit") || x.Rest == kTagEdit) && x.Has(xcEdit); }, K::Edit, B::Window,
     nullptr, false},
    {[](const TCandidate& x) { return x.Is("TCustomFrame"); }, K::None, B::Control, nullptr, true},
    {[](const TCandidate& x) { return x.Is("TCustomForm"); }, K::None, B::Control,
     [](Scanner&, const TCandidate& x) { Recolour(x.C, x.Data); }, true},
};

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
        // Components without a window: nothing to paint here.
        if (control) Rules(*control);
    }

    void Attach(TPainterKind k, ui::TWinControl& c, TAttachBy by) {
        auto p = MakePainter(k, host_);
        if (!p) return;
        if (by == TAttachBy::Window)
            p.release()->AttachWindow(c.Handle(), data_);
        else
            p.release()->AttachControl(c, data_, by == TAttachBy::ControlRecolour);
    }

    void RadioChildren(ui::TWinControl& group, TPainterKind kind) {
        for (ui::TControl* child : std::vector<ui::TControl*>(group.Controls()))
            if (auto* w = dynamic_cast<ui::TWinControl*>(child); w && !HasPainter(w)) {
                // Attached first, so that the painter keeps (and gives back when the skin goes
                // off) that the button followed the group's colour.
                Attach(kind, *w, TAttachBy::ControlRecolour);
                w->SetParentColor(false);
            }
    }

    TSkinData& Data() { return data_; }

private:
    bool HasPainter(ui::TComponent* c) const {
        auto* w = dynamic_cast<ui::TWinControl*>(c);
        for (auto& p : host_.Painters) {
            if (p->Control() == c) return true;
            if (w && w->HandleAllocated() && p->Window() == w->Handle()) return true;
        }
        return false;
    }

    void Rules(ui::TWinControl& c) {
        const TCandidate x{c, data_, Upper(c.ClassName()), c.Tag % 100, data_.Tabs && !data_.Tabs->Image.Empty()};
        for (const TScanRule& rule : kScanRules) {
            if (!rule.Matches(x)) continue;
            if (rule.Before) rule.Before(*this, x);
            if (rule.Kind != TPainterKind::None) Attach(rule.Kind, c, rule.By);
            if (rule.ScanOwned) Walk(c);
            return;
        }
    }

    TPainterHost host_;
    TSkinData& data_;
    ui::TForm* form_;
    bool preview_ = false;
};

void RadioChildren(Scanner& scan, const TCandidate& x) { scan.RadioChildren(x.C, TPainterKind::RadioButton); }

// The kinds a Skin3rd entry can name.
void Mapped(Scanner& scan, const TCandidate& x) {
    const std::string kind = Skin3rdKind(x.Data.Skin3rd(), x.C.ClassName());
    ui::TWinControl& c = x.C;
    if (kind == "combobox" && x.Has(xcCombo)) return scan.Attach(K::ComBox, c, B::Control);
    if (kind == "edit" && x.Has(xcEdit)) return scan.Attach(K::Edit, c, B::Window);
    if (kind == "radiobutton" && x.Has(xcRadioButton)) return scan.Attach(K::RadioButton, c, B::ControlRecolour);
    if ((kind == "panel" && x.Has(xcPanel)) || (kind == "trackbar" && x.Has(xcButton))) {
        c.SetEnumProperty("Transparent", 1);
        return scan.Attach(K::Box, c, B::ControlRecolour);
    }
    if (kind == "progress" && x.Has(xcProgress)) return scan.Attach(K::Progress, c, B::Control);
    if ((kind == "radiogroup" || kind == "checkgroup") && x.Has(xcPanel)) {
        if (x.Has(xcRadioButton)) scan.RadioChildren(c, kind == "radiogroup" ? K::RadioButton : K::CheckBox);
        return scan.Attach(K::Box, c, B::ControlRecolour);
    }
    if (kind == "checkbox" && x.Has(xcCheckBox)) return scan.Attach(K::CheckBox, c, B::ControlRecolour);
}

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

std::unique_ptr<TSkinControl> MakePainter(TPainterKind kind, TPainterHost host) {
    for (const TPainterEntry& e : kPainters)
        if (e.Kind == kind) return e.Make(host);
    return nullptr;
}

TPainterKind BareWindowKind(const std::string& cls, LONG style) {
    if (cls == "button") {
        if ((style & kGroupBoxBits) == kGroupBoxBits) return TPainterKind::None;
        // Owner-drawn buttons draw themselves (their style shares the check box's bits).
        if ((style & kButtonTypeMask) == BS_OWNERDRAW) return TPainterKind::None;
        if ((style & kAutoCheckBoxBits) == kAutoCheckBoxBits || (style & kCheckBoxBit) ||
            (style & kThreeStateBits) == kThreeStateBits)
            return TPainterKind::CheckBox;
        if ((style & kAutoRadioBits) == kAutoRadioBits || (style & kRadioButtonBit)) return TPainterKind::RadioButton;
        return TPainterKind::Button;
    }
    if (cls == "combobox") return (style & kComboTypeMask) == CBS_SIMPLE ? TPainterKind::None : TPainterKind::ComBox;
    // Only a size box is the sizer; a real scroll bar is drawn as one.
    if (cls == "scrollbar") return (style & kSizeBoxBits) ? TPainterKind::Sizer : TPainterKind::ScControl;
    if (cls == "systabcontrol32") return (style & kOwnerDrawnTabs) ? TPainterKind::None : TPainterKind::Tab;
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
