// Dialog windows: a form that runs modally or releases itself, buttons that close a modal
// form with a result, and the file-open dialog as a component.
#pragma once
#include <string>

#include "core/MessageService.h"
#include "ui/Buttons.h"
#include "ui/Forms.h"
#include "ui/StdCtrls.h"

namespace kt::ui {

enum TModalResult : int { mrNone = 0, mrOk = 1, mrCancel = 2 };

class TDialogForm : public TForm {
    KT_CLASS(TDialogForm, TForm)
public:
    explicit TDialogForm(TComponent* owner);
    ~TDialogForm() override;

    // Setting a result while the form runs modally ends ShowModal.
    int ModalResult = mrNone;
    // Shows the form with every other form of the program disabled and runs the messages
    // until ModalResult is set (the close box and Escape give mrCancel); then hides it.
    int ShowModal();
    bool Modal() const { return modal_; }

    // Frees the form once the message being handled now is done, so that a handler of the
    // form may release it. Several calls free it once.
    void Release();
    // Frees every released form that is still waiting (the message loop does it by itself).
    static void FreeReleasedForms();

protected:
    void WndProc(TMessage& m) override;
    // Escape without a cancel button ends a modal run with mrCancel.
    bool DialogKey(WORD key) override;

private:
    bool modal_ = false;
    bool released_ = false;
};

enum class TBitBtnKind { bkCustom, bkOK, bkCancel };

// A push button of a kind: an OK-kind button is the default button and gives mrOk, a
// cancel-kind button answers Escape and gives mrCancel. With a glyph it draws itself (owner
// drawn); keys, focus and the default button work as on the plain button.
class TBitBtn : public TButton, public TButtonGlyph {
    KT_CLASS(TBitBtn, TButton)
public:
    explicit TBitBtn(TComponent* owner);
    TBitBtnKind Kind() const { return kind_; }
    void SetKind(TBitBtnKind kind);
    int ModalResult = mrNone;
    void Click() override;

protected:
    void CreateParams(TCreateParams& p) override;
    void WndProc(TMessage& m) override;
    void GlyphChanged() override;

private:
    void DrawItem(const DRAWITEMSTRUCT& d);
    TBitBtnKind kind_ = TBitBtnKind::bkCustom;
};

// A tool button: it never takes the keyboard focus (the focus stays in the control the user
// works in) and is no Tab stop; a press released inside clicks once. It draws itself, with
// its glyph. Buttons of one GroupIndex (not 0) on one parent act as a set: a click puts one
// Down and the others up; a click on the Down one brings it up only with AllowAllUp.
class TSpeedButton : public TWinControl, public TButtonGlyph {
    KT_CLASS(TSpeedButton, TWinControl, "TGraphicControl")
public:
    explicit TSpeedButton(TComponent* owner);
    bool Flat() const { return flat_; }
    void SetFlat(bool flat);
    bool SetEnumProperty(std::string_view name, int value) override;
    void Click() override;

    int GroupIndex = 0;
    bool AllowAllUp = false;
    bool Down() const { return isDown_; }
    // Ignored without a GroupIndex, and for bringing a button up without AllowAllUp.
    void SetDown(bool down);

protected:
    void CreateParams(TCreateParams& p) override;
    void WndProc(TMessage& m) override;
    void CommandNotify(WORD code) override;
    void GlyphChanged() override { Invalidate(); }

private:
    void SetPressed(bool pressed);
    void DrawItem(const DRAWITEMSTRUCT& d);
    bool flat_ = false;
    bool down_ = false;    // pressed on us, the mouse captured
    bool isDown_ = false;  // Down
    bool hot_ = false;
};

// The file-open dialog, through the program's message service.
class TOpenDialog : public TComponent {
    KT_CLASS(TOpenDialog, TComponent)
public:
    explicit TOpenDialog(TComponent* owner) : TComponent(owner) {}
    std::string Title, Filter, InitialDir, DefaultExt;
    std::string FileName;  // the chosen file after Execute
    // Each folder the dialog moves to while the user browses.
    std::function<void()> OnFolderChange;
    // False when the user cancels.
    bool Execute();
};

// The form a control sits on, or null.
TForm* GetParentForm(TControl* control);

}  // namespace kt::ui
