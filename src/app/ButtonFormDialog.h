// The button bar: the program's main window. It holds the folder settings, the loaded scheme,
// the ten button slots, the target window and the hot key.
#pragma once
#include <windows.h>

#include <array>
#include <string>
#include <vector>

#include "config/VtRegistryComponent.h"
#include "ui/Forms.h"
#include "ui/StdCtrls.h"

namespace kt {

class TButtonForm : public ui::TForm {
    KT_CLASS(TButtonForm, ui::TForm)
public:
    explicit TButtonForm(ui::TComponent* owner);

    // Controls as laid out at design time.
    ui::TGroupBox* GroupBox1;
    ui::TLabel* Label1;
    ui::TComboBox* ComboBoxFilename;
    ui::TLabel* LabelMessage;
    ui::TButton* CreateButton;      // hidden anchor: the origin of the scheme buttons
    ui::TButton* ButtonTestHandle;  // hidden, unused
    TVtRegistry* VtRegistry1;

    // The loaded scheme.
    std::vector<std::string> ListBoxCaption, ListBoxText, ListBoxSave;
    int RadioGroupEOL = -1;  // -1 none, 0 "No Action", 1 "Enter", 2 "Tab"

    // Folder settings, expanded (in memory they always carry the drive).
    std::string PathApp, InitialDir, CurrentDir, OutputDir;
    std::string DriveLetter;
    std::string BaseKey;
    std::string Filename = "button.dat";

    HWND TargetWindow = nullptr;
    int ButtonCount = 0;
    std::array<ui::TButton*, 10> RuntimeButton{};
    std::string SkinFile;
    int SkinIndex = 999;
    std::string DefaultSkinFile = "default.skn";

    void FormCreate();
    void FormClose(ui::TCloseAction& action);
    void FormDestroy();
    void RegistrySave();

    // Start-up steps that belong to the notification icon, the scheme chooser and buttons,
    // the skin choice and the hot key; each is filled in by its own module.
    void SetUpNotificationIcon();
    void RemoveNotificationIcon();
    void LoadComboBoxFilename();
    void ChooseSkinAtStart();
    void RegisterTypingHotKey();
    void LoadButtonAssignment();

    // Scheme buttons.
    void ComboBoxFilenameClick();
    void CreateButtonClick();
    void ResetButtons();
    // The plain load: a file name relative to the current folder; no buttons, nothing shown.
    void LoadButton(const std::string& fileName);

    // Typing.
    void RuntimeButtonClick(ui::TButton* sender);
    void SendmessageText(const std::string& text);

    static constexpr int kBaseHeight = 140;

protected:
    void WndProc(ui::TMessage& m) override;

private:
    void ReadFolderSettings();
    void RestorePlacement();
};

extern TButtonForm* ButtonForm;

// The process's current folder, and a way to change it.
std::string GetCurrentFolder();
void SetCurrentFolder(const std::string& folder);

}  // namespace kt
