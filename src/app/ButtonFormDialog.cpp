#include "app/ButtonFormDialog.h"

#include "app/core/SchemeFile.h"
#include "config/FormPlacement.h"
#include "app/core/SchemeFile.h"
#include "config/RegistryKeys.h"
#include "config/core/SchemeName.h"
#include "config/core/SettingsText.h"
#include "core/Errors.h"
#include "core/MessageService.h"
#include "platform/CurrentFolder.h"
#include "platform/Win32SchemeFileSystem.h"
#include "ui/Application.h"

namespace kt {

TButtonForm* ButtonForm = nullptr;

TButtonForm::TButtonForm(ui::TComponent* owner) : ui::TForm(owner) {
    Name = "ButtonForm";
    SetCaption("Ketravo");
    SetFormStyle(ui::TFormStyle::fsStayOnTop);
    SetBounds(reg::kButtonPlacementDefault.left, reg::kButtonPlacementDefault.top,
              reg::kButtonPlacementDefault.width, reg::kButtonPlacementDefault.height);

    VtRegistry1 = new TVtRegistry(this);
    VtRegistry1->Name = "VtRegistry1";

    GroupBox1 = new ui::TGroupBox(this);
    GroupBox1->Name = "GroupBox1";
    GroupBox1->SetBounds(1, 2, 193, 81);
    GroupBox1->SetParent(this);

    Label1 = new ui::TLabel(this);
    Label1->Name = "Label1";
    Label1->WordWrap = true;
    Label1->SetBounds(8, 8, 167, 26);
    Label1->SetCaption("Press Ctrl+T on the Window where you want the typing to appear");
    Label1->SetParent(GroupBox1);

    ComboBoxFilename = new ui::TComboBox(this);
    ComboBoxFilename->Name = "ComboBoxFilename";
    ComboBoxFilename->SetBounds(8, 44, 169, 21);
    ComboBoxFilename->MaxLength = 8;
    ComboBoxFilename->ItemDisplay = [this](const std::string& name) { return ShownSchemeName(OutputDir, name); };
    ComboBoxFilename->SetParent(GroupBox1);

    LabelMessage = new ui::TLabel(this);
    LabelMessage->Name = "LabelMessage";
    LabelMessage->SetBounds(8, 50, 0, 13);
    LabelMessage->SetParent(GroupBox1);

    CreateButton = new ui::TButton(this);
    CreateButton->Name = "CreateButton";
    CreateButton->SetBounds(56, 56, 75, 25);
    CreateButton->SetCaption("CreateButton");
    CreateButton->SetVisible(false);
    CreateButton->SetParent(this);

    ButtonTestHandle = new ui::TButton(this);
    ButtonTestHandle->Name = "ButtonTestHandle";
    ButtonTestHandle->SetCaption("ButtonTestHandle");
    ButtonTestHandle->SetVisible(false);
    ButtonTestHandle->SetParent(this);

    CreateTrayMenu();

    OnCreate = [this] { FormCreate(); };
    OnClose = [this](ui::TCloseAction& action) { FormClose(action); };
    OnDestroy = [this] { FormDestroy(); };
    ComboBoxFilename->OnClick = [this] { ComboBoxFilenameClick(); };
    ButtonForm = this;
}

TButtonForm::~TButtonForm() {
    // A bar freed without the program's end (in tests) still takes its icon away.
    RemoveNotificationIcon();
    if (ButtonForm == this) ButtonForm = nullptr;
}

void TButtonForm::ReadFolderSettings() {
    const std::string path = BaseKey + reg::kPath;
    // A value the store cannot read counts as never stored: it gets its first-run default.
    auto read = [this](const std::string& key, const char* name, std::string& field) {
        try {
            VtRegistry1->LoadStringFromRegistry(key, name, field, reg::kFirstTime);
        } catch (const std::exception& e) {
            ui::TApplication::Instance().HandleException(e);
            field = reg::kFirstTime;
        }
    };
    read(path, reg::kInitialDir, InitialDir);
    read(path, reg::kCurrentDir, CurrentDir);
    read(path, reg::kPathApp, PathApp);
    read(path, reg::kOutputDir, OutputDir);
    read(BaseKey + reg::kFile, reg::kFilename, Filename);
    // A scheme folder that names only a drive (left by a failed save of the settings) would
    // hide every scheme and put new ones into the drive's root: it gets its default again.
    if (OutputDir != reg::kFirstTime && !IsUsableFolder(OutputDir)) {
        Messages().Show("The scheme folder \"" + OutputDir + "\" names no folder (setting " +
                            TVtRegistry::SettingName(path, reg::kOutputDir) + "). Its default is used instead.",
                        "", MsgKind::Error, MsgButtons::OK);
        OutputDir = reg::kFirstTime;
    }
}

void TButtonForm::CheckSchemeFilename() {
    // The stored name is a file name in the scheme folder; anything that leads elsewhere
    // (a folder part, "..", a device) is refused and the first scheme is opened instead.
    const std::string name = SchemeDisplayName(Filename);
    std::string problem = SchemeNameProblem(name);
    if (problem.empty() && (name.empty() || Filename.compare(name.size(), 4, ".dat") != 0))
        problem = "\"" + Filename + "\" is no scheme file name";
    if (problem.empty()) return;
    const std::string first = ComboBoxFilename->Count() > 0 ? ComboBoxFilename->Item(0) + ".dat"
                                                            : std::string(reg::kDefaultFilename);
    Messages().Show(problem + " (setting " + TVtRegistry::SettingName(BaseKey + reg::kFile, reg::kFilename) +
                        "). The scheme " + SchemeDisplayName(first) + " is opened instead.",
                    "", MsgKind::Error, MsgButtons::OK);
    Filename = first;
}

void TButtonForm::FormCreate() {
    // The skin file dialog is the old-style one (see the message service).
    // Until the settings say otherwise, every folder is the start folder.
    const std::string start = GetCurrentFolder();
    PathApp = start;
    BaseKey = reg::kBaseKey;
    CurrentDir = start;

    ReadFolderSettings();

    // First-run defaults, saved at once through the "Path\" and "File\" key paths.
    const std::string rest = start.size() >= 2 ? start.substr(2) : std::string();
    const std::string pathKey = BaseKey + reg::kPath + "\\";
    const std::string placeheld = std::string(kDrivePlaceholder) + rest;
    if (PathApp == reg::kFirstTime) {
        PathApp = placeheld;
        VtRegistry1->SaveStringToRegistry(pathKey, reg::kPathApp, PathApp);
    }
    if (InitialDir == reg::kFirstTime) {
        InitialDir = placeheld;
        VtRegistry1->SaveStringToRegistry(pathKey, reg::kInitialDir, InitialDir);
    }
    if (CurrentDir == reg::kFirstTime) {
        CurrentDir = placeheld;
        VtRegistry1->SaveStringToRegistry(pathKey, reg::kCurrentDir, CurrentDir);
    }
    if (OutputDir == reg::kFirstTime) {
        OutputDir = placeheld + "\\data";
        VtRegistry1->SaveStringToRegistry(pathKey, reg::kOutputDir, OutputDir);
    }
    if (Filename == reg::kFirstTime) {
        Filename = reg::kDefaultFilename;
        VtRegistry1->SaveStringToRegistry(BaseKey + reg::kFile + "\\", reg::kFilename, Filename);
    }

    // The start drive stands in for the placeholder in every folder.
    DriveLetter = start.empty() ? std::string("C") : start.substr(0, 1);
    const char drive = DriveLetter[0];
    PathApp = ExpandDrivePlaceholder(PathApp, drive);
    InitialDir = ExpandDrivePlaceholder(InitialDir, drive);
    CurrentDir = ExpandDrivePlaceholder(CurrentDir, drive);
    OutputDir = ExpandDrivePlaceholder(OutputDir, drive);

    // The scheme folder, made when missing: one level only; a failure is silent (the scheme list is then empty).
    if (GetFileAttributesA(OutputDir.c_str()) == INVALID_FILE_ATTRIBUTES) CreateDirectoryA(OutputDir.c_str(), nullptr);

    SetHeight(kBaseHeight);
    SetUpNotificationIcon();

    // The chooser shows the current scheme's name: no folder, no ".dat".
    LoadComboBoxFilename();
    CheckSchemeFilename();
    ComboBoxFilename->SetText(SchemeDisplayName(Filename));

    RestorePlacement();
    ChooseSkinAtStart();
    RegisterTypingHotKey();
    // The base height again: a height read from the settings does not survive.
    SetHeight(kBaseHeight);
    LoadButtonAssignment();
}

void TButtonForm::RestorePlacement() {
    LoadFormPlacement(*VtRegistry1, BaseKey + reg::kWindowsButton, reg::kButtonPlacementDefault, *this);
}

void TButtonForm::RegistrySave() { SaveFormPlacement(*VtRegistry1, BaseKey + reg::kWindowsButton, *this); }

void TButtonForm::FormClose(ui::TCloseAction& action) {
    // The bar is never closed, only hidden; the hot key stays off until the next start.
    action = ui::TCloseAction::caHide;
    try {
        RegistrySave();
    } catch (...) {
        UnregisterHotKey(Handle(), 1);
        throw;
    }
    UnregisterHotKey(Handle(), 1);
}

void TButtonForm::FormDestroy() { RemoveNotificationIcon(); }

// ----- Filled in by the modules of the icon, the chooser, the skins and the typing engine.

void TButtonForm::ChooseSkinAtStart() {}

}  // namespace kt
