// The live part of the skin engine: the skinned frame of a top-level window (borders, caption,
// title buttons, caption mouse) and the seams through which the control painters and the menus
// plug in; the manager that attaches a frame to each window is in SkinManage.h. Everything here
// runs on the user-interface thread. The frame's code is split by concern: WinSkinForm.cpp
// (attach, detach, metrics), WinSkinFrameProc.cpp (its window procedure), WinSkinFramePaint.cpp
// (painting, region, size), WinSkinCaption.cpp (title buttons, caption mouse), WinSkinMdi.cpp.
#pragma once
#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "skin/data/TitleButtons.h"
#include "skin/data/WinSkinData.h"
#include "skin/ui/SkinColours.h"
#include "skin/ui/SkinDib.h"
#include "ui/Forms.h"
#include "ui/Subclass.h"
#include "ui/WindowProcHook.h"

namespace kt::ui {
class TTimer;
}

namespace kt {

// The engine's private messages.
constexpr UINT SKM_REPAINTFRAME = 0x3502;  // repaint the skinned frame
constexpr UINT SKM_ATTACHED = 0x3503;      // posted once after a frame was attached
constexpr UINT SKM_ISSKINNED = 0x3504;     // 1 from every window with a frame or menu painter
constexpr UINT SKM_REAPPLY = 0x3401;       // a form re-applies the skin's colours and layout
// How much larger the window is with its skinned frame than with the system's, around the same
// client: MAKELRESULT(extra width, extra height), each signed 16-bit; 0 from a window without a
// frame and from a frame not yet laid out (its window still has the system's outer size).
constexpr UINT SKM_FRAMEEXTRA = 0x3505;
constexpr LPARAM kAttachedMark = 1000;

// A frame's states. While resizing for its first layout the frame is neither normal nor
// re-skinning: its frame messages are answered, but painting and the region wait for the end.
constexpr int kFrameNew = 0, kFrameNormal = 1, kFrameReskin = 3, kFrameDestroying = 4, kFrameResizing = 5;
// MDI roles.
constexpr int kMdiNone = 0, kMdiParent = 1, kMdiChild = 2;

class TWinSkinForm;
class TSkinManage;

// A non-client item of a frame: a title button or a menu-bar item.
class TNCObject {
public:
    explicit TNCObject(TWinSkinForm& owner) : Owner(owner) {}
    virtual ~TNCObject();
    TNCObject(const TNCObject&) = delete;
    TNCObject& operator=(const TNCObject&) = delete;

    virtual void MouseDown();
    virtual void MouseUp();
    virtual void MouseMove();
    virtual void Leave();
    virtual void Paint() {}

    TWinSkinForm& Owner;
    RECT Rect{};  // window coordinates
    bool Visible = false;
    int State = kNCNormal;

private:
    void Apply(TNCEvent e);
};

// A title-bar button drawn from one of the skin's system-button elements.
class TWinSysButton : public TNCObject {
public:
    TWinSysButton(TWinSkinForm& owner, TDataSkinSysButton& element) : TNCObject(owner), Element(element) {}
    void Paint() override;
    TDataSkinSysButton& Element;
};

// ---- Seams filled by the control painters and the menus. The frame works without them: no
// control painters, the window's own menu bar is not taken over.

// A painter of one control; owned by its frame.
class TSkinControlBase {
public:
    virtual ~TSkinControlBase() = default;
    virtual void Detach() = 0;
    virtual HWND Window() const = 0;
    virtual ui::TControl* Control() const { return nullptr; }
    // The frame switches skinning off or on again: put the control's colour back or take the face colour.
    virtual void ReapplyColours() {}
};

// The skinned menu bar under the caption.
class TSkinMenuBarBase {
public:
    virtual ~TSkinMenuBarBase() = default;
    virtual void ReadItems(HMENU menu) = 0;   // 0: the menu it holds
    virtual HMENU Menu() const = 0;           // the window's menu, taken off the window while skinned
    virtual void Paint(HDC dc, const RECT& r) = 0;  // window coordinates
    virtual TNCObject* HitItem(POINT windowPoint) = 0;
    // The item whose "&" letter is key, or null.
    virtual TNCObject* AcceleratorItem(WPARAM key) = 0;
    virtual void OpenItem(TNCObject* item) = 0;  // shows its drop-down
    // Alt or F10 alone: the keyboard works the bar as the system's (first item selected, arrows
    // move, Down or Enter opens, Esc leaves).
    virtual void KeyboardMode() {}
};

struct TSkinPlugins {
    // Scans the controls of the frame's window (control null: the whole window again).
    std::function<void(TWinSkinForm& frame, ui::TControl* control)> ScanControls;
    std::function<std::unique_ptr<TSkinMenuBarBase>(TWinSkinForm& frame, HMENU menu, ui::TMainMenu* mainMenu)>
        CreateMenuBar;
    // Popup-menu windows ("#32768"): attach returns an owned painter, or null.
    std::function<std::unique_ptr<TSkinControlBase>(HWND window, TSkinData& data)> CreatePopMenuPainter;
    // A form's popup menus drawn by the skin (true) or by the system again (false).
    std::function<void(ui::TForm& form, TSkinData& data, bool ownerDraw)> SetPopupMenusOwnerDraw;
    // WM_MEASUREITEM and WM_DRAWITEM at a skinned window: true when the menus took it.
    std::function<bool(TWinSkinForm& frame, UINT msg, WPARAM w, LPARAM l, LRESULT& result)> MenuMessage;
};
TSkinPlugins& SkinPlugins();

// ---- The skinned frame of one top-level window.
class TWinSkinForm {
public:
    TWinSkinForm();
    ~TWinSkinForm();
    TWinSkinForm(const TWinSkinForm&) = delete;
    TWinSkinForm& operator=(const TWinSkinForm&) = delete;

    void AttachForm(ui::TForm& form, TSkinData& data);
    void AttachWindow(HWND window, TSkinData& data);
    void Detach();
    void FreeTitleButtons() { titleButtons_.clear(); }
    void ComputeMetrics();
    void ReapplyColoursAndLayout();
    void RepaintFrame();
    void BuildRegion();
    // The manager's MDI maximised flag changed (for the frame of an MDI child).
    void MdiMaximizedChanged(bool maximized);

    // Read by the control painters and the menus.
    HWND Window() const { return window_; }
    ui::TForm* Form() const { return form_; }
    TSkinData* SkinData() const { return skinData_; }
    void ForgetSkinData() { skinData_ = nullptr; }
    int FrameState = kFrameNew;
    int LeftWidth() const { return leftWidth_; }
    int CaptionHeight() const { return captionHeight_; }
    int RightWidth() const { return rightWidth_; }
    int BottomHeight() const { return bottomHeight_; }
    int MenuBarHeight() const { return menuBarHeight_; }
    bool IsActive() const { return active_; }
    int MdiRole() const { return mdiRole_; }
    int WindowStateValue() const { return windowState_; }
    int BorderKind() const { return borderKind_; }
    bool MenuTracking = false;
    TNCObject* HotObject = nullptr;
    TSkinControlBase* HotControl = nullptr;
    std::vector<std::unique_ptr<TSkinControlBase>> ControlPainters;
    TSkinMenuBarBase* MenuBar() const { return menuBar_.get(); }
    HBRUSH FaceBrush();
    const RECT& TitleTextRect() const { return titleRect_; }
    const std::vector<std::unique_ptr<TWinSysButton>>& TitleButtons() const { return titleButtons_; }
    const TDibBitmap& WindowIcon() const { return icon_; }
    // The window rectangle at attachment minus the client rectangle (what the system frame takes).
    SIZE SystemFrameSize() const { return systemFrame_; }
    bool CaptionStylesPresent() const { return captionStylesOn_; }
    bool RegionSet() const { return region_ != nullptr; }

    // Title buttons: layout, painting and the window's facts they depend on.
    TTitleWindowFacts WindowFacts() const;
    void LayOutTitleButtons(int windowWidth);
    void PaintTitleButton(TWinSysButton& b);
    void RunTitleAction(TWinSysButton& b, POINT screen);
    void ShowSystemMenu(int x, int y);

private:
    static LRESULT CALLBACK FrameProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l);
    static LRESULT CALLBACK MdiClientProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l);
    LRESULT WndProc(UINT msg, WPARAM w, LPARAM l);
    LRESULT CallOld(UINT msg, WPARAM w, LPARAM l);
    bool HandleAnyState(UINT msg, WPARAM w, LPARAM l, LRESULT& result);
    bool HandleFrameMessage(UINT msg, WPARAM w, LPARAM l, LRESULT& result);
    void FormHook(ui::TMessage& m);
    void CommonAttach();
    void MakeWindowIcon();
    void SetCaptionStyles(bool on);
    void ResizeForFrame(bool withMenuBar, bool fromSystemFrame = false);
    void OnAttached();
    void PaintFrame(HDC dc);
    void ComposeCaption(int W);
    LRESULT NcHitTest(LPARAM l);
    void ReadWindowState();
    void HoverTick();
    POINT ToWindowPoint(POINT screen) const;
    int HitTest(POINT windowPoint, TNCObject** object);
    LRESULT NcMouseMove(WPARAM w, LPARAM l);
    LRESULT NcLButtonDown(WPARAM w, LPARAM l);
    LRESULT NcLButtonUp(WPARAM w, LPARAM l);
    LRESULT NcLButtonDblClk(WPARAM w, LPARAM l);
    LRESULT NcRButtonDown(WPARAM w, LPARAM l);
    // The control painters go; the form's popup menus and colour are put back.
    void DetachControls();
    void DeleteRegion();

    HWND window_ = nullptr;
    ui::TForm* form_ = nullptr;
    TSkinData* skinData_ = nullptr;
    ui::TSubclass frameProc_;  // FrameProc in front of the window's procedure
    ui::TWindowProcHook formHook_;  // FormHook in front of the form's WindowProc chain
    HWND mdiClient_ = nullptr;
    ui::TSubclass mdiClientProc_;  // MdiClientProc in front of the MDI client's
    HWND newMdiChild_ = nullptr;
    HFONT captionFont_ = nullptr;
    bool attachFinished_ = false;
    std::unique_ptr<ui::TTimer> hoverTimer_;
    std::string captionSuffix_ = "  ", captionPrefix_ = " ";
    std::string className_;
    bool captionStylesOn_ = true;
    std::optional<std::uint32_t> lastSystemMenu_;
    std::uint32_t doubleClickTime_ = 500;
    int spaceWidth_ = 4;
    int leftWidth_ = 0, captionHeight_ = 0, rightWidth_ = 0, bottomHeight_ = 0;
    RECT titleRect_{};
    SIZE systemFrame_{};
    int menuBarHeight_ = 0;
    HMENU windowMenu_ = nullptr, systemMenu_ = nullptr;
    TColor savedFormColor_ = 0;
    LONG savedStyle_ = 0;
    int rightmostButtonLeft_ = 0;
    HRGN region_ = nullptr;
    std::unique_ptr<TSkinMenuBarBase> menuBar_;
    std::vector<std::unique_ptr<TWinSysButton>> titleButtons_;
    TDibBitmap icon_;
    TDibBitmap caption_;
    TDibBitmap leftEdge_, rightEdge_, bottomEdge_;
    bool regionOwnedBySystem_ = false;
    bool dialogWidened_ = false;  // a dialog's children were moved for a wide caption
    int regionW_ = -1, regionH_ = -1;
    bool active_ = false;
    int mdiRole_ = kMdiNone;
    int borderKind_ = kBorderOther;
    bool hasMaxBox_ = false, hasMinBox_ = false, hasSysMenu_ = false;
    LONG captionStyleBits_ = 0;  // the system-menu and box styles the window had
    int windowState_ = kWindowNormal;
    TFaceBrush faceBrush_;
};

}  // namespace kt

// The manager of these frames has its own header; files that reach it through this one keep working.
#include "skin/ui/SkinManage.h"
