// "Typing...": the pause between key strokes, for targets that drop keys coming in a burst
// (web forms, remote consoles, virtual machines). Modal; OK stores the delay.
#pragma once
#include <functional>
#include <string>

#include "app/core/CaptureKey.h"
#include "ui/Dialogs.h"
#include "ui/HotKeyEdit.h"
#include "ui/StdCtrls.h"

namespace kt {

class TVtRegistry;

class TFormTyping : public ui::TDialogForm {
    KT_CLASS(TFormTyping, ui::TDialogForm)
public:
    TFormTyping(ui::TComponent* owner, TVtRegistry& store, std::string baseKey);

    ui::TLabel* LabelKeyDelay;
    ui::TEdit* EditKeyDelay;
    ui::TLabel* LabelHint;
    // The capture key: the system's hot-key box, filled by pressing the keys.
    ui::TLabel* LabelCaptureKey;
    ui::THotKey* HotKeyCapture;
    ui::TBitBtn* ButtonOK;
    ui::TBitBtn* ButtonCancel;

    // Called with the new delay after OK has stored it.
    std::function<void(int delayMs)> OnKeyDelayChange;

    void FormCreate();
    void ButtonOKClick();

protected:
    void WndProc(ui::TMessage& m) override;

private:
    TVtRegistry& store_;
    std::string baseKey_;
    bool focused_ = false;
    CaptureKey storedKey_;  // as the settings hold it
    bool storedBad_ = false;  // the settings hold a text that names no key
    // The key the box showed at start: unchanged, the stored key stays (the box has no Win).
    unsigned shownModifiers_ = 0;
    std::uint8_t shownVk_ = 0;
    // The key the box holds now; false, with the reason told the user, when it cannot capture.
    bool ChosenCaptureKey(CaptureKey& key);
};

// The delay stored in the settings (0 when none is stored; a bad value is reported, naming
// the setting, and gives 0).
int LoadKeyDelay(TVtRegistry& store, const std::string& baseKey);

// Shows the dialog modally; true when OK stored a delay.
bool ShowTypingDialog(ui::TForm& owner, TVtRegistry& store, const std::string& baseKey,
                      std::function<void(int delayMs)> onChange);

}  // namespace kt
