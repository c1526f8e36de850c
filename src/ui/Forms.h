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

    void SetVisible(bool v) override;
    void Close();
    void BringToFront();
    // Normal-state bounds, also while the window is minimised or maximised.
    RECT NormalBounds();

    // The menu bar; the form does not own it (its owner frees it).
    TMainMenu* Menu() const { return menu_; }
    void SetMenu(TMainMenu* menu);
    // Shown on a right click in the form (WM_CONTEXTMENU); may be another form's menu.
    TPopupMenu* PopupMenu = nullptr;
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

protected:
    void CreateParams(TCreateParams& params) override;
    void WndProc(TMessage& m) override;
    void HandleCreated() override;

private:
    TMainMenu* menu_ = nullptr;
    void UpdateFormBounds();
    TFormStyle formStyle_ = TFormStyle::fsNormal;
    TWindowState pendingState_ = TWindowState::wsNormal;
    bool shownOnce_ = false;
    bool destroyed_ = false;
};

}  // namespace kt::ui
