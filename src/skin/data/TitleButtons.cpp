#include "skin/data/TitleButtons.h"

#include <algorithm>

namespace kt {

namespace {

// One code of the Visibility (second false) or Visibility1 column; code 100 of Visibility1 is
// resolved by the caller, since it repeats the Visibility result.
bool CodeHolds(std::int32_t code, bool second, std::int32_t action, const TTitleWindowFacts& w) {
    switch (code) {
    case 0:
        // A close button belongs to the system menu: without one there is nothing to close with.
        if (second) return true;
        return action == 0 ? w.SystemMenu : w.BorderKind != kBorderOther;
    case 1: return w.Maximized;
    case 2: return !w.Maximized;
    case 3: return w.Active;
    case 4: return !w.Active;
    case 6: return w.MaximizeBox && (second || w.SystemMenu);
    case 7: return !w.MaximizeBox;
    case 8: return w.MinimizeBox && (second || w.SystemMenu);
    case 9: return !w.MinimizeBox;
    case 100: return w.MdiChildMaximized && w.MenuBarHeight > 0;
    default: return code >= 200 && code <= 2000;
    }
}

// Far outside any screen, yet far enough from the int range that a picture's width still fits.
constexpr std::int64_t kFar = std::int64_t(1) << 24;

int Frames(const TDataSkinSysButton& b) { return std::max(1, b.FrameCount); }

}  // namespace

bool TitleButtonVisible(const TDataSkinSysButton& b, const TTitleWindowFacts& w) {
    bool first = CodeHolds(b.Visibility, false, b.Action, w);
    bool second = b.Visibility1 == 100 ? first : CodeHolds(b.Visibility1, true, b.Action, w);
    if (!first || !second) return false;
    if (b.Action == 1 && !w.MaximizeBox) return false;
    if (b.Action == 2 && !w.MinimizeBox) return false;
    return true;
}

TRectI TitleButtonSize(const TDataSkinSysButton& b) {
    if (b.Image.Empty()) return {};
    return {0, 0, b.Image.Width() / Frames(b), b.Image.Height()};
}

TTitleLayout LayOutTitleButtons(const std::vector<std::unique_ptr<TDataSkinSysButton>>& buttons,
                                const TTitleWindowFacts& w, const TTitleLayoutFacts& f) {
    TTitleLayout out;
    out.Spots.reserve(buttons.size());
    for (const auto& b : buttons) {
        TTitleButtonSpot& s = out.Spots.emplace_back();
        if (!b) continue;
        s.Action = b->Action;
        s.Visible = TitleButtonVisible(*b, w);
        TRectI size = TitleButtonSize(*b);
        if (!s.Visible || size.IsEmpty()) continue;
        // The offsets come from the skin file as they are: reckon wide and keep the corner within
        // reach, so that no value overflows and a wild one just puts the button out of sight.
        std::int64_t bw = size.Width(), bh = size.Height(), x = 0, y = b->YCoord;
        switch (b->Align) {
        case 0: x = b->XCoord; break;
        case 1: x = std::int64_t(f.Width) - b->XCoord; break;
        case 2:
        case 8: x = f.TitleTextLeft - bw - b->XCoord; break;
        case 3:
        case 9: x = std::int64_t(f.TitleTextRight) + b->XCoord; break;
        case 100:
            x = std::int64_t(f.Width) - b->XCoord - f.RightWidth - f.MenuBarLeftWidth;
            y = f.CaptionHeight + (f.MenuBarHeight - bh) / 2;
            break;
        default: y = 0; break;
        }
        x = std::clamp(x, -kFar, kFar);
        y = std::clamp(y, -kFar, kFar);
        if (b->Align == 1) out.RightmostButtonLeft = std::max(out.RightmostButtonLeft, int(x));
        s.Rect = {int(x), int(y), int(x + bw), int(y + bh)};
    }
    return out;
}

bool DrawnInCaption(const TDataSkinSysButton& b, const TTitleButtonSpot& s) {
    return s.Visible && !b.Image.Empty() && b.Visibility != 100;
}

TTitleButtonFrame CaptionButtonFrame(const TDataSkinSysButton& b, bool active) {
    return {active || Frames(b) < 4 ? 1 : 4, b.Action == 3 || b.Action == 11};
}

TTitleButtonFrame StateButtonFrame(const TDataSkinSysButton& b, int state) {
    int frame = b.Visibility == 100 && state == kNCHot ? 4 : state;
    // A picture with fewer frames than states draws its last one rather than beside the picture.
    return {std::clamp(frame, 1, Frames(b)), b.Action == 3 || b.Action == 11};
}

int HitTitleButton(std::span<const TTitleButtonSpot> spots, int x, int y) {
    for (std::size_t i = 0; i < spots.size(); ++i)
        if (spots[i].Visible && spots[i].Action >= 0 && spots[i].Contains(x, y)) return int(i);
    return -1;
}

TTitleActionDecision DecideTitleAction(std::int32_t action, int windowState, bool mdiParent, int x, int y) {
    TTitleActionDecision d;
    auto mdi = [&](std::uint32_t command) {
        if (!mdiParent) return;
        d.Kind = TTitleActionKind::MdiChildCommand;
        d.Command = command;
    };
    switch (action) {
    case 0: d.Kind = TTitleActionKind::Close; break;
    case 1:
    case 22:
        d.Kind = TTitleActionKind::SysCommand;
        if (windowState == kWindowMaximized) {
            d.Command = kScRestore;
            d.NewWindowState = kWindowNormal;
        } else {
            d.Command = kScMaximize;
            d.NewWindowState = kWindowMaximized;
            d.ForgetHotObject = true;
        }
        break;
    case 2:
    case 23:
        d.Kind = TTitleActionKind::SysCommand;
        if (windowState == kWindowMinimized) {
            d.Command = kScRestore;
            d.NewWindowState = kWindowNormal;
        } else {
            d.Command = kScMinimize;
            d.NewWindowState = kWindowMinimized;
        }
        break;
    case 3:
    case 11:
    case 12:
        d.Kind = TTitleActionKind::SystemMenu;
        d.MenuX = x + 1;
        d.MenuY = y + 1;
        break;
    case 7:
    case 60: mdi(kScMinimize); break;
    case 8:
    case 61: mdi(kScRestore); break;
    case 9:
    case 62: mdi(kScClose); break;
    default: break;
    }
    return d;
}

bool SystemMenuClosesWindow(std::optional<std::uint32_t> lastOpening, std::uint32_t now,
                            std::uint32_t doubleClickTime) {
    // No opening yet means no double click, even within the first moments after the tick count
    // starts; unsigned difference keeps the rule across the tick count's wrap.
    return lastOpening && std::uint32_t(now - *lastOpening) <= doubleClickTime;
}

TNCTransition NCObjectTransition(TNCEvent e, bool visible, int state, bool isHot, bool anotherIsHot) {
    TNCTransition t;
    t.State = state;
    if (!visible) return t;
    switch (e) {
    case TNCEvent::MouseDown:
        t = {true, anotherIsHot, isHot ? 0 : +1, kNCPressed};
        break;
    case TNCEvent::MouseUp: t = {true, false, 0, kNCHot}; break;
    case TNCEvent::MouseMove:
        if (isHot) return t;
        t = {true, anotherIsHot, +1, kNCHot};
        break;
    case TNCEvent::Leave:
        // Only the hot item clears the hot object: a stray leave must not drop another's.
        t = {true, false, isHot ? -1 : 0, kNCNormal};
        break;
    }
    return t;
}

}  // namespace kt
