// The rules of a skinned frame's title buttons that need no window: when a button shows, where
// it sits, which picture frame it draws, which button a point hits, what a click on it asks the
// frame to do, and how a non-client item's state moves with the mouse. The Win32 frame
// (TWinSysButton, TNCObject) gathers the window's facts, calls these and carries out the result.
#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "skin/data/WinSkinData.h"

namespace kt {

// The frame's border kinds.
constexpr int kBorderSizable = 0;  // sizable or with a window edge
constexpr int kBorderPopup = 2;    // pop-up without caption: no skinned frame
constexpr int kBorderOther = 3;

// The frame's window states.
constexpr int kWindowNormal = 0, kWindowMaximized = 1, kWindowMinimized = 2;

// What the visibility codes ask of the window.
struct TTitleWindowFacts {
    int BorderKind = kBorderSizable;
    bool Maximized = false, Minimized = false, Active = true;
    bool SystemMenu = true, MaximizeBox = true, MinimizeBox = true;
    bool MdiChildMaximized = false;  // an MDI parent whose active child is maximised
    int MenuBarHeight = 0;
};

// Visibility and Visibility1 must both hold; a maximise (minimise) button also needs the window's box.
bool TitleButtonVisible(const TDataSkinSysButton& b, const TTitleWindowFacts& w);

// What the layout needs of the frame besides the window's facts.
struct TTitleLayoutFacts {
    int Width = 0;                                  // the window's width
    int TitleTextLeft = 0, TitleTextRight = 0;      // the title text rectangle of this composition
    int CaptionHeight = 0, MenuBarHeight = 0, RightWidth = 0;
    int MenuBarLeftWidth = 0;                       // the menu-bar element's left width
};

// Where one button is. A visible button with an empty picture keeps an empty rectangle, so it is
// neither drawn nor hit.
struct TTitleButtonSpot {
    bool Visible = false;
    std::int32_t Action = 0;
    TRectI Rect;
    bool Contains(int x, int y) const { return x >= Rect.Left && x < Rect.Right && y >= Rect.Top && y < Rect.Bottom; }
};

struct TTitleLayout {
    std::vector<TTitleButtonSpot> Spots;  // one per element, in order
    int RightmostButtonLeft = 0;          // the largest left edge of the right-aligned buttons
};

// The button's size: one frame of its picture (a count below 1 counts as 1).
TRectI TitleButtonSize(const TDataSkinSysButton& b);
TTitleLayout LayOutTitleButtons(const std::vector<std::unique_ptr<TDataSkinSysButton>>& buttons,
                                const TTitleWindowFacts& w, const TTitleLayoutFacts& f);

// The picture frame (1-based) a button draws; the icon buttons draw the window icon instead.
struct TTitleButtonFrame {
    int Frame = 1;
    bool WindowIcon = false;
};
// Whether the caption composition draws this button (the MDI buttons live in the menu bar).
bool DrawnInCaption(const TDataSkinSysButton& b, const TTitleButtonSpot& s);
TTitleButtonFrame CaptionButtonFrame(const TDataSkinSysButton& b, bool active);
// A button repainted alone after a state change (1 normal, 2 pressed, 3 hot).
TTitleButtonFrame StateButtonFrame(const TDataSkinSysButton& b, int state);

// The first visible button with an action (Action >= 0) under the point, or -1.
int HitTitleButton(std::span<const TTitleButtonSpot> spots, int x, int y);

// System commands, with the values the window system uses so the frame can post them as they are.
constexpr std::uint32_t kScSize = 0xF000, kScMove = 0xF010, kScMinimize = 0xF020, kScMaximize = 0xF030,
                        kScNextWindow = 0xF040, kScPrevWindow = 0xF050, kScClose = 0xF060,
                        kScRestore = 0xF120;

enum class TTitleActionKind {
    None,            // the action does nothing for this window
    Close,           // hover timer off, post WM_CLOSE
    SysCommand,      // post WM_SYSCOMMAND Command to the window
    SystemMenu,      // open the system menu at (MenuX, MenuY)
    MdiChildCommand  // send WM_SYSCOMMAND Command to the active MDI child, when there is one
};
struct TTitleActionDecision {
    TTitleActionKind Kind = TTitleActionKind::None;
    std::uint32_t Command = 0;
    int NewWindowState = -1;  // the frame's window state afterwards; -1 unchanged
    bool ForgetHotObject = false;
    int MenuX = 0, MenuY = 0;
};
// A click on a button with `action` at screen point (x, y).
TTitleActionDecision DecideTitleAction(std::int32_t action, int windowState, bool mdiParent, int x, int y);

// The system menu asked to open at tick `now`: true when it closes the window instead, because no
// more than the double-click time has passed since the last opening (none before: nullopt).
// Ticks are unsigned milliseconds and may wrap.
bool SystemMenuClosesWindow(std::optional<std::uint32_t> lastOpening, std::uint32_t now,
                            std::uint32_t doubleClickTime);

// A non-client item's states and how the mouse moves them.
constexpr int kNCNormal = 1, kNCPressed = 2, kNCHot = 3;
enum class TNCEvent { MouseDown, MouseUp, MouseMove, Leave };
struct TNCTransition {
    bool Acts = false;            // false: nothing changes and nothing is painted
    bool OtherHotLeaves = false;  // the hot object, another item, gets leave first
    int Hot = 0;                  // +1 this item becomes the hot object, -1 the hot object is cleared
    int State = kNCNormal;        // the item's state afterwards; it is then repainted
};
TNCTransition NCObjectTransition(TNCEvent e, bool visible, int state, bool isHot, bool anotherIsHot);

}  // namespace kt
