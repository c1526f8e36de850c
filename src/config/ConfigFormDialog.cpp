#include "config/ConfigFormDialog.h"

#include <windows.h>
#include <shellapi.h>

#include <algorithm>

#include "app/ButtonFormDialog.h"
#include "config/About.h"
#include "config/FormOptionsDirectoryDialog.h"
#include "config/FormTypingDialog.h"
#include "config/FormPlacement.h"
#include "config/core/HelpAddress.h"
#include "config/HelpCommands.h"
#include "config/RegistryKeys.h"
#include "config/core/SchemeName.h"
#include "config/core/SettingsText.h"
#include "core/Errors.h"
#include "core/MessageService.h"
#include "platform/CurrentFolder.h"
#include "platform/ShellLibrary.h"
#include "platform/Win32SchemeFileSystem.h"
#include "skin/ui/WinSkinForm.h"
#include "ui/Application.h"

namespace kt {

TConfigForm* ConfigForm = nullptr;

namespace {

// Leaving the scheme list may ask a question: it runs after the focus change, not inside it.
constexpr UINT WM_SCHEME_LIST_EXIT = WM_APP + 0x41;

constexpr const char* kListExitQuestion =
    "You did not hit the Enter Key for your last entry (hitting the Enter Key saves the Certificate Number "
    "into the Combo Box). Do you want to save this Certificate Number?";

ui::TButton* MakeButton(TConfigForm* form, ui::TWinControl* parent, const char* name, const char* caption,
                        const char* hint, int left, int top, int width) {
    auto* b = ui::MakeControl<ui::TButton>(form, parent, name, caption, left, top, width, 25);
    b->Hint = hint;
    b->ShowHint = true;
    return b;
}

ui::TLabel* MakeLabel(TConfigForm* form, ui::TWinControl* parent, const char* name, const char* caption, int left,
                      int top, int width) {
    return ui::MakeControl<ui::TLabel>(form, parent, name, caption, left, top, width, 13);
}

bool PathExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string FileNameOf(const std::string& path) { return path.substr(path.find_last_of("\\/") + 1); }

// "home.dat.bak", or "home.dat.2.bak"... when that exists: never ".dat" at the end, so a
// backup is never listed as a scheme, and an older backup is never replaced.
std::string BackupPathFor(const std::string& path) {
    std::string backup = path + ".bak";
    for (int n = 2; PathExists(backup); ++n) backup = path + "." + std::to_string(n) + ".bak";
    return backup;
}

}  // namespace

TConfigForm::TConfigForm(ui::TComponent* owner) : ui::TForm(owner) {
    Name = "ConfigForm";
    SetCaption("Ketravo Configuration");
    // The designed size; the stored placement, when there is one, comes later at creation.
    const auto& def = reg::kConfigPlacementDefault;
    SetBounds(def.left, def.top, 594, 496);
    Position = ui::TPosition::poDesktopCenter;

    VtRegistry1 = new TVtRegistry(this);
    VtRegistry1->Name = "VtRegistry1";

    LabelTitle = new ui::TLabel(this);
    LabelTitle->Name = "LabelTitle";
    LabelTitle->Alignment = ui::TAlignment::taCenter;
    LabelTitle->SetCaption("Ketravo Configuration");
    LabelTitle->SetBounds(8, 6, 570, 18);
    LabelTitle->Font().SetStyle(ui::fsBold);
    LabelTitle->SetParent(this);

    CreateSchemeGroup();
    CreateButtonGroup();

    LabelButtonMessage = new ui::TLabel(this);
    LabelButtonMessage->Name = "LabelButtonMessage";
    LabelButtonMessage->SetBounds(8, 368, 570, 16);
    LabelButtonMessage->Font().SetName("MS Sans Serif");
    LabelButtonMessage->Font().SetHeight(-13);
    LabelButtonMessage->Font().SetStyle(ui::fsBold);
    LabelButtonMessage->Font().SetColor(RGB(255, 0, 0));
    LabelButtonMessage->SetParent(this);

    CreateStartupOptions();
    CreateMainMenu();
    // The bar's notification menu is this window's right-click menu too.
    if (ButtonForm) PopupMenu = ButtonForm->PopupMenu1;

    OnCreate = [this] { FormCreate(); };
    OnClose = [this](ui::TCloseAction& action) { FormClose(action); };
    OnDestroy = [this] { FormDestroy(); };
    ConfigForm = this;
}

void TConfigForm::CreateStartupOptions() {
    CheckBoxDoNotShow = new ui::TCheckBox(this);
    CheckBoxDoNotShow->Name = "CheckBoxDoNotShow";
    CheckBoxDoNotShow->SetCaption("Do not show this form at startup");
    CheckBoxDoNotShow->Hint = "Check this box if you do not want to see the configuration form";
    CheckBoxDoNotShow->ShowHint = true;
    CheckBoxDoNotShow->SetBounds(8, 392, 260, 17);
    CheckBoxDoNotShow->SetParent(this);
    CheckBoxDoNotShow->OnClick = [this] { CheckBoxDoNotShowClick(); };

    CheckBoxLoadAtStartup = new ui::TCheckBox(this);
    CheckBoxLoadAtStartup->Name = "CheckBoxLoadAtStartup";
    CheckBoxLoadAtStartup->SetCaption("Load Ketravo at startup");
    CheckBoxLoadAtStartup->Hint = "Check this box if you want Ketravo to run whenever your computer starts";
    CheckBoxLoadAtStartup->ShowHint = true;
    CheckBoxLoadAtStartup->SetBounds(8, 414, 260, 17);
    CheckBoxLoadAtStartup->SetParent(this);
    CheckBoxLoadAtStartup->OnClick = [this] { CheckBoxLoadAtStartupClick(); };

    ButtonClose = MakeButton(this, this, "ButtonClose", "&Close",
                             "Close this form - use right click and exit to terminate the application", 503, 404, 75);
    ButtonClose->OnClick = [this] { Close(); };
}

void TConfigForm::CreateMainMenu() {
    MainMenu1 = new ui::TMainMenu(this);
    MainMenu1->Name = "MainMenu1";
    auto item = [this](ui::TMenuItem* parent, const char* name, const char* caption, std::function<void()> click,
                       const char* hint = "") {
        auto* i = new ui::TMenuItem(this);
        i->Name = name;
        i->SetCaption(caption);
        i->Hint = hint;
        i->OnClick = std::move(click);
        parent->Add(i);
        return i;
    };
    ui::TMenuItem* root = MainMenu1->Items();

    MenuFile = item(root, "MenuFile", "&File", nullptr);
    MenuFileExit = item(MenuFile, "MenuFileExit", "E&xit", [this] { ActionFileExitExecute(); });

    MenuInternet = item(root, "MenuInternet", "&Internet", nullptr);
    MenuBrowseURL = item(MenuInternet, "MenuBrowseURL", "&Browse URL", [this] { ActionBrowseURLExecute(); },
                         "Browse URL");
    MenuSendMail = item(MenuInternet, "MenuSendMail", "&Send Mail...", [this] { ActionInternetSendMailExecute(); },
                        "Send email");

    MenuOptions = item(root, "MenuOptions", "&Options", nullptr);
    MenuFont = item(MenuOptions, "MenuFont", "&Font", [this] { ActionOptionFontExecute(); });
    MenuSettings = item(MenuOptions, "MenuSettings", "&Settings", [this] { ActionOptionSettingsExecute(); });
    MenuSkins = item(MenuOptions, "MenuSkins", "S&kins", nullptr);
    MenuSkinXP = item(MenuSkins, "MenuSkinXP", "Blue", [this] { MenuSkinXPClick(); });
    MenuSkinSilver = item(MenuSkins, "MenuSkinSilver", "Silver", [this] { MenuSkinSilverClick(); });
    MenuSkinGreen = item(MenuSkins, "MenuSkinGreen", "Green", [this] { MenuSkinGreenClick(); });
    MenuSkinNone = item(MenuSkins, "MenuSkinNone", "Unskin", [this] { MenuSkinNoneClick(); });
    MenuSkinLoad = item(MenuSkins, "MenuSkinLoad", "Load", [this] { MenuSkinLoadClick(); });
    MenuTyping = item(MenuOptions, "MenuTyping", "&Typing...", [this] { ActionOptionTypingExecute(); });

    MenuHelp = item(root, "MenuHelp", "&Help", nullptr);
    HelpTopicSearch1 = item(MenuHelp, "HelpTopicSearch1", "&Topic Search", [this] { HelpTopicSearch1Execute(); },
                            "Topic Search");
    HelpContents1 = item(MenuHelp, "HelpContents1", "&Contents", [this] { HelpContents1Execute(); }, "Help Contents");
    HelpOnHelp1 = item(MenuHelp, "HelpOnHelp1", "&Help on Help", [this] { HelpOnHelp1Execute(); }, "Help on help");
    // There are no local help pages to search yet: the three page entries are greyed.
    HelpTopicSearch1->SetEnabled(false);
    HelpContents1->SetEnabled(false);
    HelpOnHelp1->SetEnabled(false);
    MenuHelpLine1 = item(MenuHelp, "MenuHelpLine1", "-", nullptr);
    HelpOnWeb1 = item(MenuHelp, "HelpOnWeb1", "Help On &Web", [this] { ActionHelpOnWebExecute(); });
    HelpSendMail1 = item(MenuHelp, "HelpSendMail1", "Send &Mail", [this] { ActionSendMailExecute(); });
    MenuHelpLine2 = item(MenuHelp, "MenuHelpLine2", "-", nullptr);
    HelpAbout1 = item(MenuHelp, "HelpAbout1", "&About", [this] { HelpAboutExecute(); });

    SetMenu(MainMenu1);
}

void TConfigForm::CreateSchemeGroup() {
    GroupBoxButtonScheme = new ui::TGroupBox(this);
    GroupBoxButtonScheme->Name = "GroupBoxButtonScheme";
    GroupBoxButtonScheme->SetCaption("Button Scheme");
    GroupBoxButtonScheme->Hint = "These are the different button schemes containing the buttons";
    GroupBoxButtonScheme->ShowHint = true;
    GroupBoxButtonScheme->SetBounds(8, 30, 236, 330);
    GroupBoxButtonScheme->SetParent(this);
    ui::TGroupBox* g = GroupBoxButtonScheme;

    LabelFileName = MakeLabel(this, g, "LabelFileName", "File Name", 10, 18, 100);

    EditButtonScheme = new ui::TEdit(this);
    EditButtonScheme->Name = "EditButtonScheme";
    EditButtonScheme->Hint = "Currently selected button scheme";
    EditButtonScheme->ShowHint = true;
    EditButtonScheme->SetBounds(10, 33, 216, 21);
    EditButtonScheme->SetParent(g);
    EditButtonScheme->OnEnter = [this] { EditButtonSchemeEnter(); };
    EditButtonScheme->OnChange = [this] { EditButtonSchemeChange(); };

    LabelMessage = MakeLabel(this, g, "LabelMessage", "", 10, 57, 216);

    ListBoxButtonScheme = new ui::TListBox(this);
    ListBoxButtonScheme->Name = "ListBoxButtonScheme";
    ListBoxButtonScheme->ItemDisplay = [this](const std::string& name) { return ShownSchemeName(SchemeFolder, name); };
    ListBoxButtonScheme->Hint = "List of button schemes";
    ListBoxButtonScheme->ShowHint = true;
    ListBoxButtonScheme->SetBounds(10, 73, 216, 214);
    ListBoxButtonScheme->SetParent(g);
    ListBoxButtonScheme->OnClick = [this] { ListBoxButtonSchemeClick(); };
    ListBoxButtonScheme->OnExit = [this] {
        if (HandleAllocated()) PostMessageA(Handle(), WM_SCHEME_LIST_EXIT, 0, 0);
    };

    ButtonFilenameAdd = MakeButton(this, g, "ButtonFilenameAdd", "Add", "Add a button scheme", 10, 295, 51);
    ButtonFilenameCopy = MakeButton(this, g, "ButtonFilenameCopy", "Copy",
                                    "Copy a button scheme - from the selected item to the new item in the text box",
                                    65, 295, 51);
    ButtonFilenameModify =
        MakeButton(this, g, "ButtonFilenameModify", "Modify", "Rename a button scheme", 120, 295, 51);
    ButtonFilenameDelete =
        MakeButton(this, g, "ButtonFilenameDelete", "Delete", "Delete a button scheme", 175, 295, 51);
    ButtonFilenameAdd->OnClick = [this] { ButtonFilenameAddClick(); };
    ButtonFilenameCopy->OnClick = [this] { ButtonFilenameCopyClick(); };
    ButtonFilenameModify->OnClick = [this] { ButtonFilenameModifyClick(); };
    ButtonFilenameDelete->OnClick = [this] { ButtonFilenameDeleteClick(); };
}

void TConfigForm::CreateButtonGroup() {
    GroupBoxButtons = new ui::TGroupBox(this);
    GroupBoxButtons->Name = "GroupBoxButtons";
    GroupBoxButtons->SetCaption("Buttons");
    GroupBoxButtons->Hint =
        "This is where you add, modify and delete the individual buttons within each button scheme";
    GroupBoxButtons->ShowHint = true;
    GroupBoxButtons->SetBounds(250, 30, 328, 330);
    GroupBoxButtons->SetParent(this);
    ui::TGroupBox* g = GroupBoxButtons;

    LabelCaption = MakeLabel(this, g, "LabelCaption", "Caption", 10, 18, 100);
    LabelText = MakeLabel(this, g, "LabelText", "Text To Type", 166, 18, 100);

    EditCaption = new ui::TEdit(this);
    EditCaption->Name = "EditCaption";
    EditCaption->Hint = "Currently selected button caption";
    EditCaption->ShowHint = true;
    EditCaption->SetBounds(10, 33, 150, 21);
    EditCaption->SetParent(g);
    EditCaption->OnEnter = [this] { EditCaptionEnter(); };
    EditCaption->OnChange = [this] { EditCaptionChange(); };

    EditText = new ui::TEdit(this);
    EditText->Name = "EditText";
    EditText->Hint = "Currently selected button text";
    EditText->ShowHint = true;
    EditText->SetBounds(166, 33, 152, 21);
    EditText->SetParent(g);
    EditText->OnEnter = [this] { EditTextEnter(); };
    EditText->OnChange = [this] { EditTextChange(); };

    ListBoxCaption = new ui::TListBox(this);
    ListBoxCaption->Name = "ListBoxCaption";
    ListBoxCaption->Hint = "List of button captions";
    ListBoxCaption->ShowHint = true;
    ListBoxCaption->SetBounds(10, 60, 150, 180);
    ListBoxCaption->SetParent(g);
    ListBoxCaption->OnClick = [this] { ListBoxCaptionClick(); };

    ListBoxText = new ui::TListBox(this);
    ListBoxText->Name = "ListBoxText";
    ListBoxText->Hint = "List of button text that will type";
    ListBoxText->ShowHint = true;
    ListBoxText->SetBounds(166, 60, 152, 180);
    ListBoxText->SetParent(g);
    ListBoxText->OnClick = [this] { ListBoxTextClick(); };

    RadioGroupEOL = new ui::TRadioGroup(this);
    RadioGroupEOL->Name = "RadioGroupEOL";
    RadioGroupEOL->SetCaption("End Of Line");
    RadioGroupEOL->SetBounds(10, 246, 308, 40);
    RadioGroupEOL->SetColumns(3);
    RadioGroupEOL->SetItems({"No Action", "Enter", "Tab"});
    RadioGroupEOL->SetItemIndex(kEolTab);
    RadioGroupEOL->SetParent(g);
    RadioGroupEOL->OnClick = [this] { RadioGroupEOLClick(); };

    ButtonAdd = MakeButton(this, g, "ButtonAdd", "Add", "Add a button to the current button scheme", 10, 295, 73);
    ButtonModify =
        MakeButton(this, g, "ButtonModify", "Modify", "Modify the button caption and/or text ", 88, 295, 73);
    ButtonDelete = MakeButton(this, g, "ButtonDelete", "Delete", "Delete the button selected", 166, 295, 73);
    ButtonSave = MakeButton(this, g, "ButtonSave", "Save", "Save the current buttons to the button scheme selected",
                            245, 295, 73);
    ButtonAdd->OnClick = [this] { ButtonAddClick(); };
    ButtonModify->OnClick = [this] { ButtonModifyClick(); };
    ButtonDelete->OnClick = [this] { ButtonDeleteClick(); };
    ButtonSave->OnClick = [this] { ButtonSaveClick(); };
}

// ---------------------------------------------------------------- creation and closing

void TConfigForm::FormCreate() {
    Saved = true;
    BaseKey = reg::kBaseKey;
    // Help pages and the start-up entry need the program's own folder; the stored "PathApp"
    // is the start folder, which is elsewhere for an installed copy (it starts in the user's folder).
    AppFolder = ProgramFolder();
    if (AppFolder.empty()) AppFolder = ButtonForm->Folders.PathApp;
    // Known before any step that may fail: the scheme commands never work without it.
    SchemeFolder = ButtonForm->Folders.OutputDir;
    ReadRunAtStartup();
    // The placement comes before the window shows, so it opens where it belongs.
    RestorePlacement();
    ReadShowAtStartup();
    LoadListBoxButtonScheme();
    ApplySavedFont();
    SetReadOnlyOff();
    EditCaption->SetText("");
    EditText->SetText("");
    TickSkinMenu();
}

void TConfigForm::ReadRunAtStartup() {
    // The entry, when it exists, is written again: it follows the drive the program runs from.
    const std::string run = std::string(reg::kRunKeyParent) + reg::kRun;
    const std::string command = VtRegistry1->LoadText(run, reg::kRunValue, reg::kFirstTime);
    CheckBoxLoadAtStartup->SetChecked(command != reg::kFirstTime);
}

void TConfigForm::ReadShowAtStartup() {
    const std::string start = VtRegistry1->LoadText(BaseKey + reg::kForm, reg::kStart, reg::kFirstTime);
    CheckBoxDoNotShow->SetChecked(start != reg::kFirstTime && start != reg::kStartConfig);
    // The message loop shows the bar in any case when it starts; the bar ends up in front.
    if (CheckBoxDoNotShow->Checked()) {
        Hide();
        ButtonForm->Show();
    } else if (ButtonForm->Visible()) {
        // The program shows the bar before it makes this window, so the bar is up sooner.
        // This window opens behind it and the bar keeps the activation, as when the message
        // loop showed the bar last; the skin takes it at once, not at its first activation.
        ShowBehind();
        if (TSkinManage* skins = SkinManage()) skins->AttachForm(Handle());
    } else {
        Show();
        ButtonForm->Hide();
    }
}

void TConfigForm::RestorePlacement() {
    LoadFormPlacement(*VtRegistry1, BaseKey + reg::kWindowsConfig, reg::kConfigPlacementDefault, *this);
}

void TConfigForm::ApplySavedFont() {
    const std::string key = BaseKey + reg::kOptionsFonts;
    try {
        const int size = VtRegistry1->LoadIntegerFromRegistry(key, reg::kFontSize, reg::kFontSizeDefault);
        const std::string name = VtRegistry1->LoadText(key, reg::kFontName, "");
        const bool bold = VtRegistry1->LoadBooleanFromRegistry(key, reg::kFontStyleBold, false);
        const bool italic = VtRegistry1->LoadBooleanFromRegistry(key, reg::kFontStyleItalic, false);
        const bool underline = VtRegistry1->LoadBooleanFromRegistry(key, reg::kFontStyleUnderline, false);
        const bool strikeout = VtRegistry1->LoadBooleanFromRegistry(key, reg::kFontStyleStrikeout, false);
        // A size no font dialog gives would make the windows unusable: the designed one stays.
        const bool sizeUsable = size >= 1 && size <= 72;
        for (ui::TFont* font : {&Font(), &ButtonForm->Font()}) {
            if (sizeUsable) font->SetSize(size);
            if (!name.empty()) font->SetName(name);
        }
        if (bold) {
            Font().SetStyle(ui::fsBold);
            ButtonForm->Font().SetStyle(ui::fsBold);
        }
        unsigned style = Font().Style();
        if (italic) style |= ui::fsItalic;
        if (underline) style |= ui::fsUnderline;
        if (strikeout) style |= ui::fsStrikeOut;
        if (italic || underline || strikeout) {
            Font().SetStyle(style);
            ButtonForm->Font().SetStyle(style);
        }
        ButtonForm->Invalidate();
    } catch (const Exception& e) {
        // A stored value that is no number or truth value is reported; the start goes on.
        ui::TApplication::Instance().HandleException(e);
    }
}

void TConfigForm::FormClose(ui::TCloseAction& action) {
    // A failed save stops here: the error is shown and the window stays open. So does a
    // scheme the user chose not to replace: the buttons shown are not lost.
    if (!AskToSaveOnClose()) {
        action = ui::TCloseAction::caNone;
        return;
    }
    RegistrySave();
    action = ui::TCloseAction::caHide;
}

bool TConfigForm::AskToSaveOnClose() {
    if (HasUnsavedChanges() && AskQuestion("Save button configuration?") == MsgResult::Yes) return SaveToFile();
    return true;
}

bool TConfigForm::AskToSaveOnExit() {
    if (!HasUnsavedChanges()) return true;
    switch (AskQuestion("Save button configuration?", MsgButtons::YesNoCancel)) {
    case MsgResult::Yes: return SaveToFile();
    case MsgResult::No: return true;
    default: return false;
    }
}

void TConfigForm::RegistrySave() { SaveFormPlacement(*VtRegistry1, BaseKey + reg::kWindowsConfig, *this); }

// ---------------------------------------------------------------- start-up options

void TConfigForm::CheckBoxDoNotShowClick() {
    VtRegistry1->SaveStringToRegistry(BaseKey + reg::kForm, reg::kStart,
                                      CheckBoxDoNotShow->Checked() ? reg::kStartButton : reg::kStartConfig);
}

void TConfigForm::CheckBoxLoadAtStartupClick() {
    if (CheckBoxLoadAtStartup->Checked()) AddToReg();
    else DeleteFromReg(std::string(reg::kRunKeyParent) + reg::kRun, reg::kRunValue);
}

void TConfigForm::RunOnStartup(const std::string& name, const std::string& command, bool runOnce) {
    VtRegistry1->SaveStartupEntry(name, command, runOnce);
}

// Quoted when it holds a blank: unquoted, the system would try "C:\Program.exe" first.
void TConfigForm::AddToReg() {
    RunOnStartup(reg::kRunValue, QuoteProgramPath(AppFolder + "\\" + reg::kExeName), false);
}

void TConfigForm::DeleteFromReg(const std::string& key, const std::string& name) {
    VtRegistry1->DeleteValueFromRegistry(key, name);
}

// ---------------------------------------------------------------- menu commands

TConfigForm::~TConfigForm() {
    if (ConfigForm == this) ConfigForm = nullptr;
}

void TConfigForm::ActionOptionSettingsExecute() {
    ShowSettingsDialog(*this, [this](const std::string& folder) { SchemeFolder = folder; });
}
void TConfigForm::ActionOptionTypingExecute() {
    ShowTypingDialog(*this, *VtRegistry1, BaseKey, [](int delay) {
        if (ButtonForm) ButtonForm->KeyDelay = delay;
    });
}
void TConfigForm::HelpTopicSearch1Execute() { HelpTopicSearchClick(AppFolder); }
void TConfigForm::HelpContents1Execute() { HelpContentsClick(AppFolder); }
void TConfigForm::HelpOnHelp1Execute() { HelpOnHelpClick(AppFolder); }
void TConfigForm::ActionHelpOnWebExecute() { HelpOnWebClick(); }
void TConfigForm::ActionSendMailExecute() { SendMailClick(); }
void TConfigForm::HelpAboutExecute() { ShowAboutBox(this); }

void TConfigForm::ActionBrowseURLExecute() {
    shell::Execute(Handle(), "open", kBrowseAddress, nullptr, nullptr, SW_SHOWNORMAL);
}

void TConfigForm::ActionInternetSendMailExecute() {
    // An empty new message in the user's mail program.
    shell::Execute(Handle(), "open", "mailto:", nullptr, nullptr, SW_SHOWNORMAL);
}

void TConfigForm::ActionOptionFontExecute() {
    FontDialogOptions options;
    options.minSize = 8;
    options.maxSize = 12;
    options.effects = false;
    FontChoice font = FontDialogFont;
    // Only Apply changes the windows and the settings; OK keeps the choice for the dialog.
    if (Messages().FontDialog(font, options, [this](const FontChoice& f) { FontDialog1Apply(f); }))
        FontDialogFont = font;
}

void TConfigForm::ApplyFontToWindows(const FontChoice& f) {
    const unsigned style = (f.bold ? ui::fsBold : 0u) | (f.italic ? ui::fsItalic : 0u) |
                           (f.underline ? ui::fsUnderline : 0u) | (f.strikeout ? ui::fsStrikeOut : 0u);
    for (ui::TFont* font : {&Font(), &ButtonForm->Font()}) {
        if (!f.name.empty()) font->SetName(f.name);
        font->SetSize(f.size);
        font->SetStyle(style);
    }
    ButtonForm->Invalidate();
}

void TConfigForm::FontDialog1Apply(const FontChoice& f) {
    FontDialogFont = f;
    ApplyFontToWindows(f);
    const std::string key = BaseKey + reg::kOptionsFonts;
    const ui::TFont& font = Font();
    VtRegistry1->SaveStringToRegistry(key, reg::kFontName, font.Name());
    VtRegistry1->SaveIntegerToRegistry(key, reg::kFontSize, font.Size());
    VtRegistry1->SaveBooleanToRegistry(key, reg::kFontStyleBold, (font.Style() & ui::fsBold) != 0);
    VtRegistry1->SaveBooleanToRegistry(key, reg::kFontStyleItalic, (font.Style() & ui::fsItalic) != 0);
    VtRegistry1->SaveBooleanToRegistry(key, reg::kFontStyleUnderline, (font.Style() & ui::fsUnderline) != 0);
    VtRegistry1->SaveBooleanToRegistry(key, reg::kFontStyleStrikeout, (font.Style() & ui::fsStrikeOut) != 0);
}

void TConfigForm::WndProc(ui::TMessage& m) {
    if (m.Msg == WM_SCHEME_LIST_EXIT) {
        m.Result = 0;
        ListBoxButtonSchemeExit();
        return;
    }
    ui::TForm::WndProc(m);
}

// ---------------------------------------------------------------- scheme files

std::string TConfigForm::SchemePathOrRefuse(const std::string& name) {
    if (!IsUsableFolder(SchemeFolder)) {
        SetStatus("No scheme folder is set - nothing was written");
        return {};
    }
    const std::string problem = SchemeNameProblem(name);
    if (!problem.empty()) {
        SetStatus(problem);
        return {};
    }
    return SchemeFolder + "\\" + name + ".dat";
}

ButtonScheme TConfigForm::CurrentButtons() const {
    ButtonScheme scheme;
    scheme.captions = ListBoxCaption->Items();
    scheme.texts = ListBoxText->Items();
    scheme.eol = RadioGroupEOL->ItemIndex();
    return scheme;
}

void TConfigForm::LoadListBoxButtonScheme() {
    SchemeFolder = ButtonForm->Folders.OutputDir;
    SetCurrentFolder(SchemeFolder);
    {
        ui::TBusyCursor busy;
        ListBoxButtonScheme->AddItems(ListSchemeNames(SchemeFolder));
    }
    EditButtonScheme->SetText(SchemeDisplayName(CurrentSchemeFile));
}

void TConfigForm::LoadButton(const std::string& path) {
    ListBoxCaption->ClearItems();
    ListBoxText->ClearItems();
    PartialSchemePath.clear();
    PartialSchemeCut.clear();
    ButtonScheme scheme;
    scheme.eol = RadioGroupEOL->ItemIndex();
    // A bad end-of-line line stops the reading; what was read before it stays in the lists.
    // Whatever the reader left out is said in the status line and remembered for Save.
    auto fill = [&] {
        ui::TBusyCursor busy;
        // The window edits schemes of ten buttons: a file of thousands is shown in part, like
        // any file read in part, instead of making the window unusable for seconds.
        const std::size_t total = std::max(scheme.captions.size(), scheme.texts.size());
        if (total > kListedButtonLimit) {
            scheme.captions.resize(std::min(scheme.captions.size(), kListedButtonLimit));
            scheme.texts.resize(std::min(scheme.texts.size(), kListedButtonLimit));
            scheme.cut += (scheme.cut.empty() ? "" : "; ") + std::string("only the first ") +
                          std::to_string(kListedButtonLimit) + " of " + std::to_string(total) + " buttons shown";
        }
        ListBoxCaption->AddItems(scheme.captions);
        ListBoxText->AddItems(scheme.texts);
        RadioGroupEOL->SetItemIndex(scheme.eol);
        if (!scheme.cut.empty()) {
            PartialSchemePath = path;
            PartialSchemeCut = scheme.cut;
            SetStatus("Partly loaded: " + scheme.cut);
        }
    };
    try {
        LoadSchemeFile(path, scheme);
    } catch (...) {
        fill();
        throw;
    }
    fill();
}

bool TConfigForm::SaveToFile() {
    const std::string target = SchemeFolder + "\\" + CurrentSchemeFile;
    SetCurrentFolder(SchemeFolder);
    // With no scheme current the target is the folder itself; a name that is not a plain
    // file name in the folder is never written either, nor is a folder that is only a drive.
    if (CurrentSchemeFile.empty() || !IsSafeSchemeName(SchemeDisplayName(CurrentSchemeFile)) ||
        !IsUsableFolder(SchemeFolder))
        throw EInOutError(FormatMessage1("Cannot create file %s", target));
    if (!ConfirmReplacingPartial(target)) return false;
    SaveSchemeFileImplicit(target, CurrentButtons());
    PartialSchemePath.clear();
    Saved = true;
    return true;
}

bool TConfigForm::ConfirmReplacingPartial(const std::string& target) {
    if (PartialSchemePath.empty() || lstrcmpiA(target.c_str(), PartialSchemePath.c_str()) != 0 ||
        !SchemeFiles().IsFile(target))
        return true;
    const std::string name = FileNameOf(target);
    const std::string backup = BackupPathFor(target);
    if (AskQuestion(name + " was not read in whole (" + PartialSchemeCut +
                    "). Saving replaces it with the buttons shown here.\r\n\r\nReplace it and keep the old file as " +
                    FileNameOf(backup) + "?") != MsgResult::Yes) {
        SetStatus("Not saved - " + name + " is kept as it was");
        return false;
    }
    if (!CopyFileA(target.c_str(), backup.c_str(), TRUE))
        throw EInOutError(FormatMessage1("Cannot create file %s", backup));
    return true;
}

// ---------------------------------------------------------------- scheme group

void TConfigForm::ListBoxButtonSchemeClick() {
    SetStatus("");
    const int index = ListBoxButtonScheme->ItemIndex();
    const bool selected = index >= 0 && index < ListBoxButtonScheme->Count();
    std::string item;
    if (selected) {
        item = ListBoxButtonScheme->Item(index);
        SelectedSchemePath = SchemeFolder + "\\" + item + ".dat";
        EditButtonScheme->SetText(item);
    }
    if (HasUnsavedChanges()) {
        if (AskQuestion("Save button configuration for " + SchemeDisplayName(CurrentSchemeFile) + "?") == MsgResult::Yes) {
            if (!SaveToFile()) {
                // The previous scheme stays in the window, unsaved, and stays selected.
                SelectedSchemePath = SchemeFolder + "\\" + CurrentSchemeFile;
                EditButtonScheme->SetText(SchemeDisplayName(CurrentSchemeFile));
                ListBoxButtonScheme->SetItemIndex(ListBoxButtonScheme->IndexOf(SchemeDisplayName(CurrentSchemeFile)));
                return;
            }
        } else {
            Saved = true;
            ButtonsChanged = false;
        }
    }
    if (!selected) return;
    ButtonsChanged = true;
    CurrentSchemeFile = item + ".dat";
    LoadButton(SchemeFolder + "\\" + item + ".dat");
}

void TConfigForm::ListBoxButtonSchemeExit() {
    const std::string text = EditButtonScheme->Text();
    if (text.empty()) return;
    for (const std::string& item : ListBoxButtonScheme->Items())
        if (item == text) return;
    // A name the list takes may become a file name later: refuse it now.
    if (const std::string problem = SchemeNameProblem(text); !problem.empty()) {
        SetStatus(problem);
        return;
    }
    if (AskQuestion(kListExitQuestion) != MsgResult::Yes) return;
    ListBoxButtonScheme->AddItem(text);
    SetStatus("Button Schmem " + text + " was successfully added.");
}

void TConfigForm::EditButtonSchemeEnter() { SetStatus(""); }

void TConfigForm::StoreFoldersForNewScheme() {
    // The bar opens the new scheme at the next start. A folder already in placeholder form
    // is left as it is stored.
    ButtonForm->Folders.Store(*VtRegistry1, BaseKey, SchemeFolder);
    VtRegistry1->SaveStringToRegistry(BaseKey + reg::kFile, reg::kFilename, CurrentSchemeFile);
}

void TConfigForm::ButtonFilenameAddClick() {
    SetStatus("");
    const std::string name = EditButtonScheme->Text();
    if (name.empty()) return;
    const std::string target = SchemePathOrRefuse(name);
    if (target.empty()) return;
    CurrentSchemeFile = name + ".dat";
    ButtonForm->Filename = CurrentSchemeFile;
    if (PathExists(target)) {
        SetStatus(CurrentSchemeFile + " File not added - File already exists");
        return;
    }
    ListBoxCaption->ClearItems();
    ListBoxText->ClearItems();
    PartialSchemePath.clear();
    EditCaption->SetText("");
    EditText->SetText("");
    SaveToFile();
    ListBoxButtonScheme->SetItemIndex(ListBoxButtonScheme->AddItem(name));
    StoreFoldersForNewScheme();
    SetStatus(CurrentSchemeFile + " File Added");
    ButtonForm->LoadComboBoxFilename();
    EditButtonScheme->SetText("");
    ListBoxButtonScheme->SetItemIndex(-1);
    ListBoxButtonScheme->ClearItems();
    LoadListBoxButtonScheme();
}

void TConfigForm::ButtonFilenameCopyClick() {
    const std::string source = SelectedSchemePath;
    const std::string name = EditButtonScheme->Text();
    const std::string target = SchemePathOrRefuse(name);
    if (target.empty() || source.empty()) return;
    if (PathExists(target)) {
        SetStatus(name + ".dat File not copied - File already exists");
        return;
    }

    // The whole source is read before the target is made; the target appears only once every
    // byte is written, and a failed copy leaves nothing behind and is not listed.
    std::string content;
    {
        HANDLE in = CreateFileA(source.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
        if (in == INVALID_HANDLE_VALUE) throw EInOutError(FormatMessage1("Cannot open file %s", source));
        char buf[16384];
        DWORD got = 0;
        BOOL ok;
        while ((ok = ReadFile(in, buf, sizeof buf, &got, nullptr)) && got > 0) content.append(buf, got);
        CloseHandle(in);
        if (!ok) throw EInOutError(FormatMessage1("Cannot read file %s", source));
    }
    WriteSchemeFile(target, content);
    ListBoxButtonScheme->AddItem(name);
    ButtonForm->LoadComboBoxFilename();
}

void TConfigForm::ButtonFilenameModifyClick() {
    const std::string name = EditButtonScheme->Text();
    if (!SelectedSchemePath.empty() && !name.empty()) {
        const std::string target = SchemePathOrRefuse(name);
        if (target.empty()) return;
        if (!PathExists(SelectedSchemePath)) {
            ShowMessage("Cannot modify filename as the old filename does not exist.");
            return;
        }
        // Never onto an existing file: the rename must not replace another scheme.
        if (!MoveFileA(SelectedSchemePath.c_str(), target.c_str())) throw Exception("Unable to modify filename.");
    } else if (!name.empty() && !IsSafeSchemeName(name)) {
        // The list takes the name below; an unsafe one must not reach it.
        SchemePathOrRefuse(name);
        return;
    }
    ButtonsChanged = true;
    SetReadOnlyOff();
    const int index = ListBoxButtonScheme->ItemIndex();
    if (index >= 0 && index < ListBoxButtonScheme->Count()) {
        ListBoxButtonScheme->SetItem(index, name);
        ButtonForm->LoadComboBoxFilename();
    }
    Saved = true;
}

void TConfigForm::ButtonFilenameDeleteClick() {
    SetStatus("");
    const int index = ListBoxButtonScheme->ItemIndex();
    if (index < 0 || index >= ListBoxButtonScheme->Count()) {
        const char* text = "No filename currently selected to delete.";
        LabelMessage->SetCaption(text);
        SetStatus(text);
        return;
    }
    const std::string name = EditButtonScheme->Text();
    const std::string target = SchemePathOrRefuse(name);
    if (target.empty()) return;
    CurrentSchemeFile = name + ".dat";
    if (!SchemeFiles().IsFile(target)) {
        SetStatus("Delete cancelled");
    } else if (AskQuestion("Do you really want to delete " + SchemeDisplayName(CurrentSchemeFile) + "?") ==
               MsgResult::Yes) {
        // The file goes first: when it cannot be deleted, the list still shows it.
        if (!DeleteFileA(target.c_str())) throw EInOutError(FormatMessage1("Cannot delete file %s", target));
        ListBoxButtonScheme->DeleteItem(index);
        EditButtonScheme->SetText("");
        ButtonForm->LoadComboBoxFilename();
        ButtonForm->ComboBoxFilenameClick();
        SetStatus("Item deleted.");
    }
    CurrentSchemeFile = EditButtonScheme->Text() + ".dat";
}

// ---------------------------------------------------------------- button group

void TConfigForm::SelectButton(ui::TListBox* clicked) {
    SetStatus("");
    ModifyReset();
    const int i = clicked->ItemIndex();
    if (i < 0) return;
    if (i < ListBoxCaption->Count()) {
        ListBoxCaption->SetItemIndex(i);
        EditCaption->SetText(ListBoxCaption->Item(i));
    }
    if (i < ListBoxText->Count()) {
        ListBoxText->SetItemIndex(i);
        EditText->SetText(ListBoxText->Item(i));
    }
}

void TConfigForm::ListBoxCaptionClick() { SelectButton(ListBoxCaption); }
void TConfigForm::ListBoxTextClick() { SelectButton(ListBoxText); }
void TConfigForm::EditCaptionEnter() { SetStatus(""); }
void TConfigForm::EditTextEnter() { SetStatus(""); }

void TConfigForm::ButtonAddClick() {
    SetStatus("");
    const std::string caption = EditCaption->Text(), text = EditText->Text();
    if (caption.empty() || text.empty()) {
        SetStatus("ERROR: Caption and/or text is blank");
        return;
    }
    if (ListBoxCaption->Count() >= kMaxButtons) {
        ShowInformation("A button scheme holds at most 10 buttons. The button was not added.");
        return;
    }
    ButtonsAdded = true;
    Saved = false;
    ListBoxCaption->AddItem(caption);
    const int last = ListBoxText->AddItem(text);
    ListBoxCaption->SetItemIndex(ListBoxCaption->Count() - 1);
    ListBoxText->SetItemIndex(last);
    ListBoxCaptionClick();
    SetStatus("Item added.");
}

void TConfigForm::ButtonModifyClick() {
    ButtonsChanged = true;
    Saved = false;
    ModifyMode = true;
    if (const int i = ListBoxCaption->ItemIndex(); i >= 0) ListBoxCaption->SetItem(i, EditCaption->Text());
    if (const int i = ListBoxText->ItemIndex(); i >= 0) ListBoxText->SetItem(i, EditText->Text());
    SetStatus("Item modified.");
}

void TConfigForm::ButtonDeleteClick() {
    SetStatus("");
    Saved = false;
    const int i = ListBoxCaption->ItemIndex();
    if (i < 0) {
        const char* text = "Cannot delete - nothing selected.";
        ShowInformation(text);
        SetStatus(text);
        return;
    }
    ListBoxCaption->DeleteItem(i);
    // Only a file with fewer texts than captions leaves the text list without a selection.
    if (const int t = ListBoxText->ItemIndex(); t >= 0) ListBoxText->DeleteItem(t);
    ListBoxCaption->SetItemIndex(-1);
    ListBoxText->SetItemIndex(-1);
    SetStatus("Item deleted.");
    ButtonForm->LoadComboBoxFilename();
}

void TConfigForm::RadioGroupEOLClick() { ButtonsChanged = true; }

void TConfigForm::ButtonSaveClick() {
    const std::string name = EditButtonScheme->Text();
    if (name.empty()) {
        SetStatus("Nothing selected");
        return;
    }
    const std::string target = SchemePathOrRefuse(name);
    if (target.empty()) return;
    const ButtonScheme scheme = CurrentButtons();
    // Every caption needs its text: the lists are written in pairs.
    if (scheme.texts.size() < scheme.captions.size())
        throw EListError(std::string(EListError::IndexOutOfBounds(scheme.texts.size()).what()) +
                         "\r\nThe scheme " + name + " has " + std::to_string(scheme.captions.size()) +
                         " captions but only " + std::to_string(scheme.texts.size()) +
                         " texts: give every caption its text before saving. Nothing was saved");
    if (!ConfirmReplacingPartial(target)) return;
    CurrentSchemeFile = name + ".dat";
    SaveSchemeFile(target, scheme);
    if (lstrcmpiA(target.c_str(), PartialSchemePath.c_str()) == 0) PartialSchemePath.clear();
    Saved = true;
    ButtonForm->LoadComboBoxFilename();
    ButtonForm->LoadButtonAssignment();
    ButtonForm->ComboBoxFilenameClick();
    SetStatus("File saved");
    ButtonsChanged = false;
    ButtonsAdded = false;
}

void TConfigForm::SetReadOnlyOff() {
    EditCaption->SetReadOnly(false);
    EditText->SetReadOnly(false);
}

// ----- The "Skins" menu: the bar holds the skin components and the choice.

void TConfigForm::MenuSkinXPClick() {
    ButtonForm->SkinIndex = 0;
    ButtonForm->SkinClick();
}

void TConfigForm::MenuSkinSilverClick() {
    ButtonForm->SkinIndex = 1;
    ButtonForm->SkinClick();
}

void TConfigForm::MenuSkinGreenClick() {
    ButtonForm->SkinIndex = 2;
    ButtonForm->SkinClick();
}

void TConfigForm::MenuSkinNoneClick() {
    ButtonForm->SkinIndex = 3;
    ButtonForm->SkinNoneClick();
}

// The index moves to "Load" only once a file was chosen and read: a cancelled dialog or an
// unreadable file leaves the choice and its check mark where they were.
void TConfigForm::MenuSkinLoadClick() { ButtonForm->ButtonLoadSkinClick(); }

void TConfigForm::TickSkinMenu() {
    if (ButtonForm) ButtonForm->SkinMenuCheck();
}

}  // namespace kt
