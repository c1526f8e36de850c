#include "config/FormTypingDialog.h"

#include <commctrl.h>

#include <memory>

#include "app/core/TypingEngine.h"
#include "config/BarLink.h"
#include "config/CaptureKeySetting.h"
#include "config/RegistryKeys.h"
#include "config/VtRegistryComponent.h"
#include "config/core/SettingsText.h"
#include "core/MessageService.h"
#include "platform/Win32KeyboardLayout.h"

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
    SetClientSize(350, 164);

    LabelKeyDelay = ui::MakeControl<ui::TLabel>(this, this, "LabelKeyDelay", "Delay between keys (ms)", 16, 18,
                                                160, 16);
    EditKeyDelay = ui::MakeControl<ui::TEdit>(this, this, "EditKeyDelay", "", 184, 15, 64, 21);
    EditKeyDelay->MaxLength = 4;
    EditKeyDelay->Hint = "0 to 1000 milliseconds; 0 types the whole text at once";
    LabelHint = ui::MakeControl<ui::TLabel>(
        this, this, "LabelHint",
        "Web forms, remote consoles and virtual machines may drop keys that come all at once. "
        "A delay of 20 to 50 ms usually helps; 0 types at full speed.",
        16, 78, 318, 42);
    LabelHint->WordWrap = true;

    LabelCaptureKey = ui::MakeControl<ui::TLabel>(this, this, "LabelCaptureKey", "Capture window with:", 16, 49,
                                                  124, 16);
    HotKeyCapture = new ui::THotKey(this);
    HotKeyCapture->Name = "HotKeyCapture";
    // Wide enough for the longest key the box can show ("Control + Shift + Alt + F12").
    HotKeyCapture->SetBounds(144, 46, 190, 21);
    HotKeyCapture->Hint = "Press the keys, such as Ctrl+Shift+Y; Ctrl, Alt or Win must be among them";
    HotKeyCapture->SetParent(this);

    ButtonOK = new ui::TBitBtn(this);
    ButtonOK->Name = "ButtonOK";
    ButtonOK->SetKind(ui::TBitBtnKind::bkOK);
    // OK closes only with a valid number: the handler sets the result itself.
    ButtonOK->ModalResult = ui::mrNone;
    ButtonOK->SetBounds(170, 128, 75, 25);
    ButtonOK->SetParent(this);
    ButtonOK->OnClick = [this] { ButtonOKClick(); };

    ButtonCancel = new ui::TBitBtn(this);
    ButtonCancel->Name = "ButtonCancel";
    ButtonCancel->SetKind(ui::TBitBtnKind::bkCancel);
    ButtonCancel->SetBounds(258, 128, 75, 25);
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
    // A bad stored text was reported at start: the box shows Ctrl+T, which OK then stores.
    storedBad_ = !ReadCaptureKey(store_, baseKey_, storedKey_);
    // The box's modifier bits: Shift 1, Ctrl 2, Alt 4.
    shownModifiers_ = (storedKey_.modifiers & kKeyShift ? HOTKEYF_SHIFT : 0u) |
                      (storedKey_.modifiers & kKeyCtrl ? HOTKEYF_CONTROL : 0u) |
                      (storedKey_.modifiers & kKeyAlt ? HOTKEYF_ALT : 0u);
    shownVk_ = storedKey_.vk;
    HotKeyCapture->SetHotKey(shownVk_, shownModifiers_);
}

bool TFormTyping::ChosenCaptureKey(CaptureKey& key) {
    const unsigned box = HotKeyCapture->Modifiers() & (HOTKEYF_SHIFT | HOTKEYF_CONTROL | HOTKEYF_ALT);
    const std::uint8_t vk = HotKeyCapture->Key();
    key = storedKey_;
    if (vk != shownVk_ || box != shownModifiers_) {
        key.vk = vk;
        key.modifiers = (box & HOTKEYF_SHIFT ? kKeyShift : 0u) | (box & HOTKEYF_CONTROL ? kKeyCtrl : 0u) |
                        (box & HOTKEYF_ALT ? kKeyAlt : 0u);
    }
    std::string problem = vk == 0 ? "Press the capture key in its box, such as Ctrl+T or Ctrl+Shift+Y"
                                  : CaptureKeyRefusal(key, Win32KeyboardLayout());
    if (problem.empty()) return true;
    ShowInformation(problem + ".");
    HotKeyCapture->SetFocus();
    return false;
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
    CaptureKey key;
    if (!ChosenCaptureKey(key)) return;
    if (key != storedKey_ || storedBad_) {
        // Taken at once; a key another program holds is refused here, while it can be changed.
        if (Bar() && !Bar()->ChangeCaptureKey(key)) {
            ShowInformation(CaptureKeyTakenMessage(key));
            HotKeyCapture->SetFocus();
            return;
        }
        SaveCaptureKey(store_, baseKey_, key);
        storedKey_ = key;
        storedBad_ = false;
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
    // The capture key is let go while the dialog is open, so that pressing it reaches the box.
    if (Bar()) Bar()->SuspendCaptureKey(true);
    bool ok = false;
    try {
        ok = dialog->ShowModal() == ui::mrOk;
    } catch (...) {
        if (Bar()) Bar()->SuspendCaptureKey(false);
        throw;
    }
    if (Bar()) Bar()->SuspendCaptureKey(false);
    dialog->DoDestroy();
    return ok;
}

}  // namespace kt
