// The scheme chooser and the scheme buttons of the bar.
#include "app/ButtonFormDialog.h"
#include "app/core/BarLayout.h"
#include "app/core/SchemeFile.h"
#include "config/RegistryKeys.h"
#include "core/MessageService.h"
#include "platform/CurrentFolder.h"

namespace kt {

namespace {

// Shows the hourglass for the lifetime of the object, then the cursor that was shown before.
class BusyCursor {
public:
    BusyCursor() : previous_(SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32514)))) {}
    ~BusyCursor() { SetCursor(previous_); }

private:
    HCURSOR previous_;
};

}  // namespace

void TButtonForm::LoadComboBoxFilename() {
    // Refilling the list must not change what the chooser's edit part shows.
    const std::string text = ComboBoxFilename->Text();
    ComboBoxFilename->ClearItems();
    ComboBoxFilename->SetText(text);
    SetCurrentFolder(OutputDir);
    {
        BusyCursor busy;
        for (const std::string& name : ListSchemeNames(OutputDir)) ComboBoxFilename->AddItem(name);
    }
    SetCurrentFolder(CurrentDir);
}

void TButtonForm::ComboBoxFilenameClick() {
    Filename = ComboBoxFilename->Text() + ".dat";
    ResetButtons();
    LoadButton(Filename);
    // The file name is saved even when the load below fails, so re-raise only afterwards.
    try {
        LoadButtonAssignment();
    } catch (...) {
        VtRegistry1->SaveStringToRegistry(BaseKey + reg::kFile, reg::kFilename, Filename);
        throw;
    }
    VtRegistry1->SaveStringToRegistry(BaseKey + reg::kFile, reg::kFilename, Filename);
}

void TButtonForm::LoadButton(const std::string& fileName) {
    ListBoxSave.clear();
    ButtonScheme scheme;
    scheme.eol = RadioGroupEOL;
    try {
        LoadSchemeFile(fileName, scheme);
    } catch (...) {
        ListBoxCaption = scheme.captions;
        ListBoxText = scheme.texts;
        RadioGroupEOL = scheme.eol;
        throw;
    }
    ListBoxCaption = scheme.captions;
    ListBoxText = scheme.texts;
    RadioGroupEOL = scheme.eol;
}

void TButtonForm::LoadButtonAssignment() {
    SetCurrentFolder(OutputDir);
    const std::string path = OutputDir + "\\" + Filename;
    ButtonCount = 0;
    if (!SchemeFiles().IsFile(path)) {
        ShowInformation("Cannot find button file: " + path);
        return;
    }
    BusyCursor busy;
    ListBoxCaption.clear();
    ListBoxText.clear();
    ButtonScheme scheme;
    scheme.eol = RadioGroupEOL;
    // Whatever was read before a bad line stays loaded, and the folder goes back either way.
    auto finish = [&] {
        ListBoxCaption = scheme.captions;
        ListBoxText = scheme.texts;
        RadioGroupEOL = scheme.eol;
        Invalidate();
        SetCurrentFolder(CurrentDir);
    };
    try {
        LoadSchemeFile(path, scheme, [&](std::size_t i) {
            ListBoxCaption.push_back(scheme.captions[i]);
            ++ButtonCount;
            CreateButtonClick();
        });
    } catch (...) {
        finish();
        throw;
    }
    finish();
}

void TButtonForm::CreateButtonClick() {
    const int k = ButtonCount;
    if (IsButtonSlot(k) && !RuntimeButton[k - 1]) {
        auto* button = new ui::TButton(this);
        button->Name = "RuntimeButton" + std::to_string(k);
        const ButtonRect r = SchemeButtonRect(k, CreateButton->Left(), CreateButton->Top());
        button->SetBounds(r.left, r.top, r.width, r.height);
        button->SetCaption(k <= static_cast<int>(ListBoxCaption.size()) ? ListBoxCaption[k - 1] : std::string());
        button->OnClick = [this, button] { RuntimeButtonClick(button); };
        HookSchemeButton(button);
        button->SetParent(this);
        RuntimeButton[k - 1] = button;
        SetHeight(Height() + BarGrowthFor(k));
    }
    Invalidate();
}

void TButtonForm::ResetButtons() {
    for (ui::TButton*& slot : RuntimeButton) {
        if (slot) ForgetSchemeButton(slot);
        delete slot;
        slot = nullptr;
    }
    ButtonCount = 1;
    SetHeight(kBaseHeight);
    Invalidate();
    ListBoxSave.clear();
    ListBoxCaption.clear();
    ListBoxText.clear();
}

}  // namespace kt
