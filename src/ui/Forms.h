// Top-level windows.
#pragma once
#include "ui/Controls.h"

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

private:
    void UpdateFormBounds();
    TFormStyle formStyle_ = TFormStyle::fsNormal;
    TWindowState pendingState_ = TWindowState::wsNormal;
    bool shownOnce_ = false;
    bool destroyed_ = false;
};

}  // namespace kt::ui
