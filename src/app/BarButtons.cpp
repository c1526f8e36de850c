// The scheme chooser and the scheme buttons of the bar.
#include "app/ButtonFormDialog.h"
#include "app/core/BarLayout.h"
#include "app/core/SchemeFile.h"
#include "config/RegistryKeys.h"
#include "core/DpiScale.h"
#include "config/core/SchemeName.h"
#include "core/MessageService.h"
#include "platform/CurrentFolder.h"

namespace kt {

void TButtonForm::LoadComboBoxFilename() {
    // Refilling the list must not change what the chooser's edit part shows.
    const std::string text = ComboBoxFilename->Text();
    ComboBoxFilename->ClearItems();
    ComboBoxFilename->SetText(text);
    SetCurrentFolder(Folders.OutputDir);
    {
        ui::TBusyCursor busy;
        for (const std::string& name : ListSchemeNames(Folders.OutputDir)) ComboBoxFilename->AddItem(name);
    }
    SetCurrentFolder(Folders.CurrentDir);
}

void TButtonForm::ComboBoxFilenameClick() {
    // A name typed into the chooser is a file name in the scheme folder and nothing else.
    if (const std::string problem = SchemeNameProblem(ComboBoxFilename->Text()); !problem.empty()) {
        ShowInformation(problem);
        return;
    }
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
    SetCurrentFolder(Folders.OutputDir);
    const std::string path = Folders.OutputDir + "\\" + Filename;
    ButtonCount = 0;
    if (!SchemeFiles().IsFile(path)) {
        ShowInformation("Cannot find button file: " + path);
        return;
    }
    ui::TBusyCursor busy;
    ListBoxCaption.clear();
    ListBoxText.clear();
    ButtonScheme scheme;
    scheme.eol = RadioGroupEOL;
    // Whatever was read before a bad line stays loaded, and the folder goes back either way.
    auto finish = [&] {
        ListBoxCaption = std::move(scheme.captions);
        ListBoxText = std::move(scheme.texts);
        RadioGroupEOL = scheme.eol;
        Invalidate();
        SetCurrentFolder(Folders.CurrentDir);
    };
    try {
        // Only the first ten captions get a button; a long scheme costs no work per further line.
        LoadSchemeFile(path, scheme, [&](std::size_t i) {
            ++ButtonCount;
            if (i >= static_cast<std::size_t>(kButtonSlots)) return;
            ListBoxCaption.push_back(scheme.captions[i]);
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
        // The layout rule is in designed pixels: the anchor back to them, the result to the screen's.
        const int ppi = PixelsPerInch();
        const ButtonRect r = SchemeButtonRect(k, Rescale(CreateButton->Left(), 96, ppi), Rescale(CreateButton->Top(), 96, ppi));
        button->SetBounds(DpiScaled(r.left), DpiScaled(r.top), DpiScaled(r.width), DpiScaled(r.height));
        button->SetCaption(k <= static_cast<int>(ListBoxCaption.size()) ? ListBoxCaption[k - 1] : std::string());
        button->OnClick = [this, button] { RuntimeButtonClick(button); };
        HookSchemeButton(button);
        button->SetParent(this);
        // A skinned bar paints the new button too (its painter goes in front of the hook above).
        if (SkinData1) SkinData1->AddControl(this, button);
        RuntimeButton[k - 1] = button;
        SetHeight(Height() + DpiScaled(BarGrowthFor(k)));
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
    SetHeight(DpiScaled(kBaseHeight));
    Invalidate();
    ListBoxSave.clear();
    ListBoxCaption.clear();
    ListBoxText.clear();
}

}  // namespace kt
