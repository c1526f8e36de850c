// The configuration window: the scheme group on the left (list, create, copy, rename, delete
// scheme files), the button group on the right (the current scheme's buttons and its end of
// line), a status label under both; below them the start-up options and the Close button;
// a menu bar with the font dialog, the web and mail commands, settings, skins and help.
#pragma once
#include <functional>
#include <string>

#include "config/VtRegistryComponent.h"
#include "config/core/SchemeEditor.h"
#include "core/MessageService.h"
#include "ui/FolderFollow.h"
#include "platform/Win32SchemeFileSystem.h"
#include "ui/ExtCtrls.h"
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
    ui::TCheckBox* CheckBoxKeysInBraces;  // the text types {TAB}, {ENTER}, {DELAY 500}... as keys
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

    std::string BaseKey;
    std::string AppFolder;  // the program's own folder

    // The scheme editing rules, and what the scheme and button controls show. The controls
    // are copied into it before each of their commands and back after it (RunEditor).
    Win32SchemeFileSystem SchemeFileSystem1;
    SchemeEditor Schemes{SchemeFileSystem1};

    bool HasUnsavedChanges() const { return Schemes.HasUnsavedChanges(); }
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

    // The scheme folder may be shared: the window follows it (ConfigFolderFollow.cpp).
    void StartFolderWatch();
    void FollowSchemeFolder();

    void SetStatus(const std::string& text) { LabelButtonMessage->SetCaption(text); }
    std::string Status() const { return LabelButtonMessage->Caption(); }

protected:
    void WndProc(ui::TMessage& m) override;

private:
    void CreateSchemeGroup();
    void CreateButtonGroup();
    void CreateStartupOptions();
    void CreateMainMenu();
    // Copies the controls into the editor, runs `command` on it and shows the editor's state
    // in the controls again, also when the command throws.
    void RunEditor(const std::function<void()>& command);
    void RunEditor(void (SchemeEditor::*command)());
    void ReadControls();
    int editing_ = 0;  // a command of the editor runs (its question may be open)
    ui::FolderFollow folderFollow_{40};  // the writes of one save come as a burst
    void ShowEditor();
    void ConnectEditor();
    std::vector<bool> shownKeys_;  // the keys-in-braces marks the text list shows

    // Steps of creation and closing.
    void ReadRunAtStartup();
    void ReadShowAtStartup();
    void PlaceBarBesideAtFirstStart();
    void RestorePlacement();
    void ApplySavedFont();
    // The check mark of the skin shown, set through the bar.
    void TickSkinMenu();
    // Closing: asks about unsaved button edits; false keeps the window open.
    bool AskToSaveOnClose();
    // Gives this window and the bar the font; returns this window's font.
    void ApplyFontToWindows(const FontChoice& font);
};

extern TConfigForm* ConfigForm;

}  // namespace kt
