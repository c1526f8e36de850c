// Top-level windows.
#pragma once
#include "ui/Controls.h"
#include "ui/Menus.h"

namespace kt::ui {

enum class TFormStyle { fsNormal, fsStayOnTop };
enum class TPosition { poDesigned, poDesktopCenter, poScreenCenter };
enum class TWindowState { wsNormal, wsMinimized, wsMaximized };
enum class TCloseAction { caNone, caHide, caFree, caMinimize };
enum class TBorderStyle { bsSizeable, bsSingle, bsDialog, bsToolWindow };

class TForm : public TWinControl {
    KT_CLASS(TForm, TWinControl, "TCustomForm", "TScrollingWinControl")
public:
    explicit TForm(TComponent* owner);
    ~TForm() override;

    TFormStyle FormStyle() const { return formStyle_; }
    void SetFormStyle(TFormStyle s);
    TPosition Position = TPosition::poDesigned;
    TBorderStyle BorderStyle = TBorderStyle::bsSizeable;
    TWindowState WindowState();
    void SetWindowState(TWindowState s);
    void SetClientSize(int width, int height);

    // Laid out at 96 pixels per inch and scaled to the screen's when the form is created
    // (DoCreate), and again when the window moves to a monitor of another scale
    // (WM_DPICHANGED). Off: the layout stays in pixels as given.
    bool Scaled = true;
    void ChangeScale(int to, int from) override;
    // The screen's resolution as the program sees it (96 unless it is DPI-aware).
    static int ScreenPixelsPerInch();

    void SetVisible(bool v) override;
    void Close();
    void BringToFront();
    // Shows the form without taking the activation from the window that has it.
    void ShowBehind();
    // Normal-state bounds, also while the window is minimised or maximised.
    RECT NormalBounds();

    // The menu bar; the form does not own it (its owner frees it).
    TMainMenu* Menu() const { return menu_; }
    void SetMenu(TMainMenu* menu);
    // Shown on a right click in the form (WM_CONTEXTMENU); may be another form's menu.
    TPopupMenu* PopupMenu = nullptr;
    // Shift+F10 and the menu key open PopupMenu also over a control with a menu of its own.
    bool KeyboardPopupEverywhere = false;
    // Clicks the item of the menu bar or the popup menu that has this shortcut.
    bool IsShortCut(TShortCut shortCut);

    std::function<void()> OnCreate, OnDestroy, OnActivate, OnDeactivate, OnShow, OnHide;
    std::function<void(TCloseAction&)> OnClose;
    std::function<void(bool&)> OnCloseQuery;
    // A menu or accelerator command (WM_COMMAND without a control).
    std::function<bool(int)> OnMenuCommand;

    // Called by the application right after construction, and before destruction.
    void DoCreate();
    void DoDestroy();

    // The control that has the keyboard focus, or null.
    TWinControl* ActiveControl() const;
    // Moves the focus to the next (or previous) control that takes Tab, in tab order: each
    // parent's controls by TabOrder, then creation order; a radio group is one stop.
    void SelectNext(TWinControl* current, bool forward);
    // On activation of a dialog, or of a form with KeepFocus: the focus to the control that
    // had it when the form was left, else to the first control that takes Tab. False when
    // there is none (the window itself then has the focus, as by default).
    bool RestoreFocus();
    bool KeepFocus = false;

protected:
    void CreateParams(TCreateParams& params) override;
    void WndProc(TMessage& m) override;
    void HandleCreated() override;
    // CM_DIALOGKEY: Tab, arrows in a radio group, Enter (the focused or the default button),
    // Escape (the cancel button); true when the key was used.
    virtual bool DialogKey(WORD key);

private:
    TMainMenu* menu_ = nullptr;
    void UpdateFormBounds();
    void DpiChanged(int dpi, const RECT* suggested);
    // The client size given by SetClientSize, kept so that scaling scales the client, not the
    // system's frame around it (0: the form was sized by its outer bounds).
    int clientWidth_ = 0, clientHeight_ = 0;
    bool scaledAtCreate_ = false;
    TFormStyle formStyle_ = TFormStyle::fsNormal;
    TWindowState pendingState_ = TWindowState::wsNormal;
    bool shownOnce_ = false;
    bool noActivate_ = false;
    bool destroyed_ = false;
    HWND lastFocus_ = nullptr;  // the focused control when the form was last left
};

// Gives a key message of a form's window to the form the way a dialog does: navigation keys
// the focused control does not want (WM_GETDLGCODE) as CM_DIALOGKEY, Alt+letter as
// CM_DIALOGCHAR. True when the form used it: the message is then not dispatched.
bool IsDialogKeyMessage(const MSG& msg);

}  // namespace kt::ui
