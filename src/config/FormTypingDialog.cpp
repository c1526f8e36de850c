#include "config/FormTypingDialog.h"

#include <memory>

#include "app/core/TypingEngine.h"
#include "config/RegistryKeys.h"
#include "config/VtRegistryComponent.h"
#include "config/core/SettingsText.h"
#include "core/MessageService.h"

namespace kt {

int LoadKeyDelay(TVtRegistry& store, const std::string& baseKey) {
    return store.LoadIntegerFromRegistry(baseKey + reg::kOptionsTyping, reg::kKeyDelay, reg::kKeyDelayDefault, 0,
                                         static_cast<int>(kMaxKeyDelayMs));
}

TFormTyping::TFormTyping(ui::TComponent* owner, TVtRegistry& store, std::string baseKey)
    : ui::TDialogForm(owner), store_(store), baseKey_(std::move(baseKey)) {
    Name = "FormTyping";
    SetCaption("Typing");
    BorderStyle = ui::TBorderStyle::bsDialog;
    Position = ui::TPosition::poScreenCenter;
    SetClientSize(330, 132);

    LabelKeyDelay = ui::MakeControl<ui::TLabel>(this, this, "LabelKeyDelay", "Delay between keys (ms)", 16, 18,
                                                160, 16);
    EditKeyDelay = ui::MakeControl<ui::TEdit>(this, this, "EditKeyDelay", "", 184, 15, 64, 21);
    EditKeyDelay->MaxLength = 4;
    EditKeyDelay->Hint = "0 to 1000 milliseconds; 0 types the whole text at once";
    LabelHint = ui::MakeControl<ui::TLabel>(
        this, this, "LabelHint",
        "Web forms, remote consoles and virtual machines may drop keys that come all at once. "
        "A delay of 20 to 50 ms usually helps; 0 types at full speed.",
        16, 46, 298, 42);
    LabelHint->WordWrap = true;

    ButtonOK = new ui::TBitBtn(this);
    ButtonOK->Name = "ButtonOK";
    ButtonOK->SetKind(ui::TBitBtnKind::bkOK);
    // OK closes only with a valid number: the handler sets the result itself.
    ButtonOK->ModalResult = ui::mrNone;
    ButtonOK->SetBounds(150, 96, 75, 25);
    ButtonOK->SetParent(this);
    ButtonOK->OnClick = [this] { ButtonOKClick(); };

    ButtonCancel = new ui::TBitBtn(this);
    ButtonCancel->Name = "ButtonCancel";
    ButtonCancel->SetKind(ui::TBitBtnKind::bkCancel);
    ButtonCancel->SetBounds(238, 96, 75, 25);
    ButtonCancel->SetParent(this);

    OnCreate = [this] { FormCreate(); };
}

void TFormTyping::WndProc(ui::TMessage& m) {
    ui::TDialogForm::WndProc(m);
    // The delay is what the dialog is for: once it is active (the system has put the focus
    // on the form by then), the box has the focus, its text selected to be typed over.
    if (m.Msg == WM_ACTIVATE && LOWORD(m.WParam) != WA_INACTIVE && !focused_) {
        focused_ = true;
        EditKeyDelay->SetFocus();
        SendMessageA(EditKeyDelay->Handle(), EM_SETSEL, 0, -1);
    }
}

void TFormTyping::FormCreate() {
    EditKeyDelay->SetText(IntToText(LoadKeyDelay(store_, baseKey_)));
}

void TFormTyping::ButtonOKClick() {
    int delay = -1;
    const std::string text = EditKeyDelay->Text();
    bool digits = !text.empty();
    for (char c : text) digits = digits && c >= '0' && c <= '9';
    if (!digits || !TryTextToInt(text, delay) || delay < 0 || delay > static_cast<int>(kMaxKeyDelayMs)) {
        ShowInformation("The delay between keys must be a whole number of milliseconds from 0 to 1000.");
        EditKeyDelay->SetFocus();
        return;
    }
    store_.SaveIntegerToRegistry(baseKey_ + reg::kOptionsTyping, reg::kKeyDelay, delay);
    if (OnKeyDelayChange) OnKeyDelayChange(delay);
    ModalResult = ui::mrOk;
}

bool ShowTypingDialog(ui::TForm& owner, TVtRegistry& store, const std::string& baseKey,
                      std::function<void(int delayMs)> onChange) {
    std::unique_ptr<TFormTyping> dialog(new TFormTyping(&owner, store, baseKey));
    dialog->OnKeyDelayChange = std::move(onChange);
    dialog->Font().Assign(owner.Font());
    dialog->DoCreate();
    const bool ok = dialog->ShowModal() == ui::mrOk;
    dialog->DoDestroy();
    return ok;
}

}  // namespace kt
