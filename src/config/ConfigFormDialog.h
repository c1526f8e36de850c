// The configuration window: the scheme group on the left (list, create, copy, rename, delete
// scheme files), the button group on the right (the current scheme's buttons and its end of
// line), a status label under both; start-up options and font come with later work.
#pragma once
#include <string>

#include "app/SchemeFile.h"
#include "config/VtRegistryComponent.h"
#include "ui/Forms.h"
#include "ui/StdCtrls.h"

namespace kt {

class TConfigForm : public ui::TForm {
    KT_CLASS(TConfigForm, ui::TForm)
public:
    explicit TConfigForm(ui::TComponent* owner);

    ui::TLabel* LabelTitle;
    ui::TLabel* LabelButtonMessage;  // the window's status line: red, bold

    // Scheme group.
    ui::TGroupBox* GroupBoxButtonScheme;
    ui::TLabel* LabelFileName;
    ui::TEdit* EditButtonScheme;
    ui::TLabel* LabelMessage;
    ui::TListBox* ListBoxButtonScheme;
    ui::TButton* ButtonFilenameAdd;
    ui::TButton* ButtonFilenameCopy;
    ui::TButton* ButtonFilenameModify;
    ui::TButton* ButtonFilenameDelete;

    // Button group.
    ui::TGroupBox* GroupBoxButtons;
    ui::TLabel* LabelCaption;
    ui::TEdit* EditCaption;
    ui::TLabel* LabelText;
    ui::TEdit* EditText;
    ui::TListBox* ListBoxCaption;
    ui::TListBox* ListBoxText;
    ui::TRadioGroup* RadioGroupEOL;
    ui::TButton* ButtonAdd;
    ui::TButton* ButtonModify;
    ui::TButton* ButtonDelete;
    ui::TButton* ButtonSave;

    TVtRegistry* VtRegistry1;

    // Editing state.
    std::string BaseKey;
    std::string SchemeFolder;       // the bar's scheme folder, copied when the list is loaded
    std::string AppFolder;          // the bar's program folder
    std::string CurrentSchemeFile;  // scheme name + ".dat" of the buttons in the lists
    std::string SelectedSchemePath; // full path of the scheme last selected in the list
    bool ButtonsAdded = false;
    bool ButtonsChanged = false;
    bool Saved = true;
    bool ModifyMode = false;        // set by Modify, cleared by ModifyReset; nothing reads it

    static constexpr int kMaxButtons = 10;

    bool HasUnsavedChanges() const { return (ButtonsAdded || ButtonsChanged) && !Saved; }

    void FormCreate();
    void FormClose(ui::TCloseAction& action);
    void FormDestroy() {}

    // Schemes.
    void LoadListBoxButtonScheme();
    void LoadButton(const std::string& path);
    void SaveToFile();
    void ListBoxButtonSchemeClick();
    void ListBoxButtonSchemeExit();
    void EditButtonSchemeEnter();
    void EditButtonSchemeChange() {}
    void ButtonFilenameAddClick();
    void ButtonFilenameCopyClick();
    void ButtonFilenameModifyClick();
    void ButtonFilenameDeleteClick();

    // Buttons.
    void ListBoxCaptionClick();
    void ListBoxTextClick();
    void EditCaptionEnter();
    void EditTextEnter();
    void EditCaptionChange() {}
    void EditTextChange() {}
    void ButtonAddClick();
    void ButtonModifyClick();
    void ButtonDeleteClick();
    void RadioGroupEOLClick();
    void ButtonSaveClick();
    void SetReadOnlyOff();
    void ModifyReset() { ModifyMode = false; }

    void SetStatus(const std::string& text) { LabelButtonMessage->SetCaption(text); }
    std::string Status() const { return LabelButtonMessage->Caption(); }

protected:
    void WndProc(ui::TMessage& m) override;

private:
    void CreateSchemeGroup();
    void CreateButtonGroup();
    // The scheme in the lists, as the writers take it.
    ButtonScheme CurrentButtons() const;
    // The path of scheme `name` in the scheme folder; an unsafe name is refused in the
    // status label and yields an empty text.
    std::string SchemePathOrRefuse(const std::string& name);
    void SelectButton(ui::TListBox* clicked);
    void StoreFoldersForNewScheme();

    // Start-up steps and closing steps of the start-up options, placement and font; they
    // are filled in with those features.
    bool ShowAtStartup();
    void ReadRunAtStartup() {}
    void RestorePlacement() {}
    void ApplySavedFont() {}
    void TickSkinMenu() {}
    void AskToSaveOnClose() {}
    void RegistrySave() {}
};

extern TConfigForm* ConfigForm;

}  // namespace kt
