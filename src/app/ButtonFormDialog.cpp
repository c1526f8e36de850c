#include "app/ButtonFormDialog.h"

#include "app/core/SchemeFile.h"
#include "app/core/TypingEngine.h"
#include "config/FormPlacement.h"
#include "config/FormTypingDialog.h"
#include "platform/KeyInjector.h"
#include "platform/UserKeyWatch.h"
#include "config/RegistryKeys.h"
#include "config/core/SchemeName.h"
#include "config/core/SettingsText.h"
#include "core/Errors.h"
#include "core/MessageService.h"
#include "platform/CurrentFolder.h"
#include "platform/WidePaths.h"
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
    ComboBoxFilename->ItemDisplay = [this](const std::string& name) { return ShownSchemeName(Folders.OutputDir, name); };
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

    // Whatever the instruction says, in whatever font, it shows whole: the bar makes room.
    Label1->WindowProc = [this, own = Label1->WindowProc](ui::TMessage& m) {
        own(m);
        if (m.Msg == ui::CM_TEXTCHANGED || m.Msg == ui::CM_FONTCHANGED) ArrangeBar();
    };
    laidOut_ = true;

    CreateTrayMenu();

    OnCreate = [this] { FormCreate(); };
    OnClose = [this](ui::TCloseAction& action) { FormClose(action); };
    OnDestroy = [this] { FormDestroy(); };
    ComboBoxFilename->OnClick = [this] { ComboBoxFilenameClick(); };
    ButtonForm = this;
    SetBar(this);
}

TButtonForm::~TButtonForm() {
    // A bar freed without the program's end (in tests) still takes its icon away.
    RemoveNotificationIcon();
    folderFollow_.Stop();
    if (ButtonForm == this) ButtonForm = nullptr;
    if (Bar() == this) SetBar(nullptr);
}

void TButtonForm::ReadFolderSettings(const std::string& start) {
    Folders.Load(*VtRegistry1, BaseKey, start);
    try {
        VtRegistry1->LoadStringFromRegistry(BaseKey + reg::kFile, reg::kFilename, Filename, reg::kFirstTime);
    } catch (const std::exception& e) {
        ui::TApplication::Instance().HandleException(e);
        Filename = reg::kFirstTime;
    }
    if (Filename == reg::kFirstTime) {
        Filename = reg::kDefaultFilename;
        VtRegistry1->SaveStringToRegistry(BaseKey + reg::kFile + "\\", reg::kFilename, Filename);
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
    // The skin file dialog is the explorer-style one, titled (see the message service).
    // Until the settings say otherwise, every folder is the start folder.
    const std::string start = GetCurrentFolder();
    BaseKey = reg::kBaseKey;
    ReadFolderSettings(start);

    // The scheme folder, made when missing: one level only; a failure is silent (the scheme list is then empty).
    const std::string& schemes = Folders.OutputDir;
    if (GetFileAttributesW(OpenablePath(schemes).c_str()) == INVALID_FILE_ATTRIBUTES)
        CreateDirectoryW(OpenablePath(schemes).c_str(), nullptr);

    ArrangeBar();
    SetUpNotificationIcon();

    // The chooser shows the current scheme's name: no folder, no ".dat".
    LoadComboBoxFilename();
    CheckSchemeFilename();
    ComboBoxFilename->SetText(SchemeDisplayName(Filename));
    SelectChosenItem();
    // From here on the chooser follows the folder, whatever a later step of the start says.
    StartFolderWatch();

    RestorePlacement();
    ChooseSkinAtStart();
    RegisterTypingHotKey();
    KeyDelay = LoadKeyDelay(*VtRegistry1, BaseKey);
    // The base height again: a height read from the settings does not survive.
    ArrangeBar();
    // A scheme remembered from the last run that is gone: the folder's first one, said once
    // (it is stored, so the next start finds it).
    const std::string path = Folders.OutputDir + "\\" + Filename;
    if (SchemeFiles().IsFile(path)) {
        LoadButtonAssignment();
    } else if (const auto said = FallBackToFirstScheme(path)) {
        ShowInformation(*said);
    } else {
        LoadButtonAssignment();
    }
}

void TButtonForm::RestorePlacement() {
    LoadFormPlacement(*VtRegistry1, BaseKey + reg::kWindowsButton, reg::kButtonPlacementDefault, *this);
    baseWidth_ = Width();
}

void TButtonForm::RegistrySave() { SaveFormPlacement(*VtRegistry1, BaseKey + reg::kWindowsButton, *this); }

void TButtonForm::FormClose(ui::TCloseAction& action) {
    // The bar is never closed, only hidden; the capture key is free for other programs until
    // the bar shows again.
    action = ui::TCloseAction::caHide;
    try {
        RegistrySave();
    } catch (...) {
        ReleaseCaptureKey();
        throw;
    }
    ReleaseCaptureKey();
}

void TButtonForm::FormDestroy() { RemoveNotificationIcon(); }


}  // namespace kt
