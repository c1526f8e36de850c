// The configuration window: the scheme group on the left (list, create, copy, rename, delete
// scheme files), the button group on the right (the current scheme's buttons and its end of
// line), a status label under both; below them the start-up options and the Close button;
// a menu bar with the font dialog, the web and mail commands, settings, skins and help.
#pragma once
#include <string>

#include "app/core/SchemeFile.h"
#include "config/VtRegistryComponent.h"
#include "core/MessageService.h"
#include "ui/Forms.h"
#include "ui/Menus.h"
#include "ui/StdCtrls.h"

namespace kt {

class TConfigForm : public ui::TForm {
    KT_CLASS(TConfigForm, ui::TForm)
public:
    explicit TConfigForm(ui::TComponent* owner);
    ~TConfigForm() override;

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

    // Start-up options and closing.
    ui::TCheckBox* CheckBoxDoNotShow;
    ui::TCheckBox* CheckBoxLoadAtStartup;
    ui::TButton* ButtonClose;

    // The menu bar.
    ui::TMainMenu* MainMenu1;
    ui::TMenuItem *MenuFile, *MenuFileExit;
    ui::TMenuItem *MenuInternet, *MenuBrowseURL, *MenuSendMail;
    ui::TMenuItem *MenuOptions, *MenuFont, *MenuSettings, *MenuTyping, *MenuSkins;
    ui::TMenuItem *MenuSkinXP, *MenuSkinSilver, *MenuSkinGreen, *MenuSkinNone, *MenuSkinLoad;
    ui::TMenuItem *MenuHelp, *HelpTopicSearch1, *HelpContents1, *HelpOnHelp1, *MenuHelpLine1, *HelpOnWeb1,
        *HelpSendMail1, *MenuHelpLine2, *HelpAbout1;

    TVtRegistry* VtRegistry1;
    // The font dialog's own font: the last one chosen in it during this run.
    FontChoice FontDialogFont{"MS Sans Serif", 8};

    // The address "&Browse URL" opens.
    static constexpr const char* kBrowseAddress = "https://duckduckgo.com/";

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
    // The scheme file last loaded in part and what was left out of it: writing over that file
    // would lose the rest, so it asks first and keeps the old file as a backup.
    std::string PartialSchemePath;
    std::string PartialSchemeCut;

    static constexpr int kMaxButtons = 10;
    // Most buttons of a scheme file the lists show; a longer file counts as loaded in part.
    static constexpr std::size_t kListedButtonLimit = 1000;

    bool HasUnsavedChanges() const { return (ButtonsAdded || ButtonsChanged) && !Saved; }
    // The program is about to end (Exit, the end of the Windows session): Yes saves, No
    // discards; false (Cancel, or a save that failed) keeps the program running.
    bool AskToSaveOnExit();

    void FormCreate();
    void FormClose(ui::TCloseAction& action);
    void FormDestroy() {}

    // Start-up options.
    void CheckBoxDoNotShowClick();
    void CheckBoxLoadAtStartupClick();
    void RunOnStartup(const std::string& name, const std::string& command, bool runOnce);
    void AddToReg();
    void DeleteFromReg(const std::string& key, const std::string& name);
    void RegistrySave();

    // Menu commands.
    void ActionFileExitExecute() { Close(); }
    void ActionBrowseURLExecute();
    void ActionInternetSendMailExecute();
    void ActionOptionFontExecute();
    void FontDialog1Apply(const FontChoice& font);
    // Settings and help are served by their own modules.
    void ActionOptionSettingsExecute();
    void ActionOptionTypingExecute();
    void HelpTopicSearch1Execute();
    void HelpContents1Execute();
    void HelpOnHelp1Execute();
    void ActionHelpOnWebExecute();
    void ActionSendMailExecute();
    void HelpAboutExecute();
    // The skin choice: the bar loads and switches the skin.
    void MenuSkinXPClick();
    void MenuSkinSilverClick();
    void MenuSkinGreenClick();
    void MenuSkinNoneClick();
    void MenuSkinLoadClick();

    // Schemes.
    void LoadListBoxButtonScheme();
    void LoadButton(const std::string& path);
    // False when the user chose to keep a file that was loaded in part: nothing was written.
    bool SaveToFile();
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
    void CreateStartupOptions();
    void CreateMainMenu();
    // The scheme in the lists, as the writers take it.
    ButtonScheme CurrentButtons() const;
    // The path of scheme `name` in the scheme folder; an unsafe name is refused in the
    // status label and yields an empty text.
    std::string SchemePathOrRefuse(const std::string& name);
    void SelectButton(ui::TListBox* clicked);
    void StoreFoldersForNewScheme();

    // Steps of creation and closing.
    void ReadRunAtStartup();
    void ReadShowAtStartup();
    void RestorePlacement();
    void ApplySavedFont();
    // The check mark of the skin shown, set through the bar.
    void TickSkinMenu();
    bool AskToSaveOnClose();
    // True when `target` may be written now. A file loaded in part is replaced only after the
    // user agrees; its old content is then copied beside it first (see BackupPathFor).
    bool ConfirmReplacingPartial(const std::string& target);
    // Gives this window and the bar the font; returns this window's font.
    void ApplyFontToWindows(const FontChoice& font);
};

extern TConfigForm* ConfigForm;

}  // namespace kt
