#include "config/ConfigFormDialog.h"

#include <windows.h>
#include <shellapi.h>

#include <algorithm>

#include "config/About.h"
#include "config/BarLink.h"
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

// A control with a tool tip.
template <class T>
T* MakeHinted(TConfigForm* form, ui::TWinControl* parent, const char* name, const char* caption, const char* hint,
              int left, int top, int width, int height) {
    auto* c = ui::MakeControl<T>(form, parent, name, caption, left, top, width, height);
    c->Hint = hint;
    c->ShowHint = true;
    return c;
}

ui::TButton* MakeButton(TConfigForm* form, ui::TWinControl* parent, const char* name, const char* caption,
                        const char* hint, int left, int top, int width) {
    return MakeHinted<ui::TButton>(form, parent, name, caption, hint, left, top, width, 25);
}

ui::TLabel* MakeLabel(TConfigForm* form, ui::TWinControl* parent, const char* name, const char* caption, int left,
                      int top, int width) {
    return ui::MakeControl<ui::TLabel>(form, parent, name, caption, left, top, width, 13);
}

}  // namespace

TConfigForm::TConfigForm(ui::TComponent* owner) : ui::TForm(owner) {
    Name = "ConfigForm";
    SetCaption("Ketravo Configuration");
    // The designed size; the stored placement, when there is one, comes later at creation.
    const auto& def = reg::kConfigPlacementDefault;
    SetBounds(def.left, def.top, 594, 496);
    Position = ui::TPosition::poDesktopCenter;
    KeepFocus = true;

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
    if (Bar()) PopupMenu = Bar()->TrayMenu();
    ConnectEditor();

    OnCreate = [this] { FormCreate(); };
    OnClose = [this](ui::TCloseAction& action) { FormClose(action); };
    OnDestroy = [this] { FormDestroy(); };
    ConfigForm = this;
}

void TConfigForm::CreateStartupOptions() {
    CheckBoxDoNotShow =
        MakeHinted<ui::TCheckBox>(this, this, "CheckBoxDoNotShow", "Do not show this form at startup",
                                  "Check this box if you do not want to see the configuration form", 8, 392, 260, 17);
    CheckBoxDoNotShow->OnClick = [this] { CheckBoxDoNotShowClick(); };

    CheckBoxLoadAtStartup = MakeHinted<ui::TCheckBox>(
        this, this, "CheckBoxLoadAtStartup", "Load Ketravo at startup",
        "Check this box if you want Ketravo to run whenever your computer starts", 8, 414, 260, 17);
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
    MenuSkinXP = item(MenuSkins, "MenuSkinXP", "&Blue", [this] { MenuSkinXPClick(); });
    MenuSkinSilver = item(MenuSkins, "MenuSkinSilver", "&Silver", [this] { MenuSkinSilverClick(); });
    MenuSkinGreen = item(MenuSkins, "MenuSkinGreen", "&Green", [this] { MenuSkinGreenClick(); });
    MenuSkinNone = item(MenuSkins, "MenuSkinNone", "&Unskin", [this] { MenuSkinNoneClick(); });
    MenuSkinLoad = item(MenuSkins, "MenuSkinLoad", "&Load", [this] { MenuSkinLoadClick(); });
    MenuTyping = item(MenuOptions, "MenuTyping", "&Typing...", [this] { ActionOptionTypingExecute(); });

    MenuHelp = item(root, "MenuHelp", "&Help", nullptr);
    HelpTopicSearch1 = item(MenuHelp, "HelpTopicSearch1", "&Topic Search", [this] { HelpTopicSearch1Execute(); },
                            "Topic Search");
    HelpContents1 = item(MenuHelp, "HelpContents1", "&Contents", [this] { HelpContents1Execute(); }, "Help Contents");
    HelpOnHelp1 = item(MenuHelp, "HelpOnHelp1", "&Help on Help", [this] { HelpOnHelp1Execute(); }, "Help on help");
    MenuHelpLine1 = item(MenuHelp, "MenuHelpLine1", "-", nullptr);
    HelpOnWeb1 = item(MenuHelp, "HelpOnWeb1", "Help On &Web", [this] { ActionHelpOnWebExecute(); });
    HelpSendMail1 = item(MenuHelp, "HelpSendMail1", "Send &Mail", [this] { ActionSendMailExecute(); });
    MenuHelpLine2 = item(MenuHelp, "MenuHelpLine2", "-", nullptr);
    HelpAbout1 = item(MenuHelp, "HelpAbout1", "&About", [this] { HelpAboutExecute(); });

    SetMenu(MainMenu1);
}

void TConfigForm::CreateSchemeGroup() {
    GroupBoxButtonScheme = MakeHinted<ui::TGroupBox>(this, this, "GroupBoxButtonScheme", "Button Scheme",
                                                     "These are the different button schemes containing the buttons",
                                                     8, 30, 236, 330);
    ui::TGroupBox* g = GroupBoxButtonScheme;

    LabelFileName = MakeLabel(this, g, "LabelFileName", "File &Name", 10, 18, 100);

    EditButtonScheme =
        MakeHinted<ui::TEdit>(this, g, "EditButtonScheme", "", "Currently selected button scheme", 10, 33, 216, 21);
    EditButtonScheme->OnEnter = [this] { EditButtonSchemeEnter(); };
    EditButtonScheme->OnChange = [this] { EditButtonSchemeChange(); };

    LabelFileName->ShowAccelChar = true;
    LabelFileName->FocusControl = EditButtonScheme;

    LabelMessage = MakeLabel(this, g, "LabelMessage", "", 10, 57, 216);

    ListBoxButtonScheme =
        MakeHinted<ui::TListBox>(this, g, "ListBoxButtonScheme", "", "List of button schemes", 10, 73, 216, 214);
    ListBoxButtonScheme->ItemDisplay = [this](const std::string& name) {
        return ShownSchemeName(Schemes.SchemeFolder, name);
    };
    ListBoxButtonScheme->OnClick = [this] { ListBoxButtonSchemeClick(); };
    ListBoxButtonScheme->OnExit = [this] {
        if (HandleAllocated()) PostMessageA(Handle(), WM_SCHEME_LIST_EXIT, 0, 0);
    };

    // Each command has a letter of its own, beside the menu bar's, Close's and Keys in braces'.
    ButtonFilenameAdd = MakeButton(this, g, "ButtonFilenameAdd", "&Add", "Add a button scheme", 10, 295, 51);
    ButtonFilenameCopy = MakeButton(this, g, "ButtonFilenameCopy", "Co&py",
                                    "Copy a button scheme - from the selected item to the new item in the text box",
                                    65, 295, 51);
    ButtonFilenameModify =
        MakeButton(this, g, "ButtonFilenameModify", "&Modify", "Rename a button scheme", 120, 295, 51);
    ButtonFilenameDelete =
        MakeButton(this, g, "ButtonFilenameDelete", "D&elete", "Delete a button scheme", 175, 295, 51);
    ButtonFilenameAdd->OnClick = [this] { ButtonFilenameAddClick(); };
    ButtonFilenameCopy->OnClick = [this] { ButtonFilenameCopyClick(); };
    ButtonFilenameModify->OnClick = [this] { ButtonFilenameModifyClick(); };
    ButtonFilenameDelete->OnClick = [this] { ButtonFilenameDeleteClick(); };
}

void TConfigForm::CreateButtonGroup() {
    GroupBoxButtons = MakeHinted<ui::TGroupBox>(
        this, this, "GroupBoxButtons", "Buttons",
        "This is where you add, modify and delete the individual buttons within each button scheme", 250, 30, 328, 330);
    ui::TGroupBox* g = GroupBoxButtons;

    LabelCaption = MakeLabel(this, g, "LabelCaption", "Cap&tion", 10, 18, 100);
    LabelText = MakeLabel(this, g, "LabelText", "Te&xt To Type", 166, 18, 100);

    EditCaption =
        MakeHinted<ui::TEdit>(this, g, "EditCaption", "", "Currently selected button caption", 10, 33, 150, 21);
    EditCaption->OnEnter = [this] { EditCaptionEnter(); };
    EditCaption->OnChange = [this] { EditCaptionChange(); };

    EditText = MakeHinted<ui::TEdit>(this, g, "EditText", "", "Currently selected button text", 166, 33, 152, 21);
    EditText->OnEnter = [this] { EditTextEnter(); };
    EditText->OnChange = [this] { EditTextChange(); };
    LabelCaption->ShowAccelChar = true;
    LabelCaption->FocusControl = EditCaption;
    LabelText->ShowAccelChar = true;
    LabelText->FocusControl = EditText;

    CheckBoxKeysInBraces = MakeHinted<ui::TCheckBox>(
        this, g, "CheckBoxKeysInBraces", "&Keys in braces",
        "The text types {TAB}, {ENTER}, {CTRL+A}, {DELAY 500}... as keys; {{} and {}} type a brace", 166, 57, 152, 17);

    ListBoxCaption =
        MakeHinted<ui::TListBox>(this, g, "ListBoxCaption", "", "List of button captions", 10, 78, 150, 162);
    ListBoxCaption->OnClick = [this] { ListBoxCaptionClick(); };

    ListBoxText = MakeHinted<ui::TListBox>(this, g, "ListBoxText", "", "List of button text that will type", 166, 78,
                                           152, 162);
    ListBoxText->OnClick = [this] { ListBoxTextClick(); };
    ListBoxText->ItemDisplayAt = [this](int i, const std::string& text) {
        return ui::ToWide(Schemes.IsKeysText(i) ? "[keys] " + text : text);
    };

    RadioGroupEOL = new ui::TRadioGroup(this);
    RadioGroupEOL->Name = "RadioGroupEOL";
    RadioGroupEOL->SetCaption("End Of Line");
    RadioGroupEOL->SetBounds(10, 246, 308, 40);
    RadioGroupEOL->SetColumns(3);
    RadioGroupEOL->SetItems({"No Action", "Enter", "Tab"});
    RadioGroupEOL->SetItemIndex(kEolTab);
    RadioGroupEOL->SetParent(g);
    RadioGroupEOL->OnClick = [this] { RadioGroupEOLClick(); };

    ButtonAdd = MakeButton(this, g, "ButtonAdd", "A&dd", "Add a button to the current button scheme", 10, 295, 73);
    ButtonModify =
        MakeButton(this, g, "ButtonModify", "Modif&y", "Modify the button caption and/or text ", 88, 295, 73);
    ButtonDelete = MakeButton(this, g, "ButtonDelete", "De&lete", "Delete the button selected", 166, 295, 73);
    ButtonSave = MakeButton(this, g, "ButtonSave", "&Save", "Save the current buttons to the button scheme selected",
                            245, 295, 73);
    ButtonAdd->OnClick = [this] { ButtonAddClick(); };
    ButtonModify->OnClick = [this] { ButtonModifyClick(); };
    ButtonDelete->OnClick = [this] { ButtonDeleteClick(); };
    ButtonSave->OnClick = [this] { ButtonSaveClick(); };
}

// ---------------------------------------------------------------- creation and closing

void TConfigForm::FormCreate() {
    Schemes.Saved = true;
    BaseKey = reg::kBaseKey;
    // Help pages and the start-up entry need the program's own folder; the stored "PathApp"
    // is the start folder, which is elsewhere for an installed copy (it starts in the user's folder).
    AppFolder = ProgramFolder();
    if (AppFolder.empty() && Bar()) AppFolder = Bar()->BarFolders().PathApp;
    // Known before any step that may fail: the scheme commands never work without it.
    if (Bar()) Schemes.SchemeFolder = Bar()->BarFolders().OutputDir;
    ReadRunAtStartup();
    // The placement comes before the window shows, so it opens where it belongs.
    RestorePlacement();
    ReadShowAtStartup();
    PlaceBarBesideAtFirstStart();
    LoadListBoxButtonScheme();
    StartFolderWatch();
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
    ui::TForm* bar = Bar() ? &Bar()->BarWindow() : nullptr;
    if (CheckBoxDoNotShow->Checked()) {
        Hide();
        if (bar) bar->Show();
    } else if (bar && bar->Visible()) {
        // The program shows the bar before it makes this window, so the bar is up sooner.
        // This window opens behind it and the bar keeps the activation, as when the message
        // loop showed the bar last; the skin takes it at once, not at its first activation.
        ShowBehind();
        if (TSkinManage* skins = SkinManage()) skins->AttachForm(Handle());
    } else {
        Show();
        if (bar) bar->Hide();
    }
}

// With no placement stored for the bar, both windows would open centred, the bar on top of
// this one: the bar goes beside it, right if the work area has room, else left, else both
// move so that they fit side by side.
void TConfigForm::PlaceBarBesideAtFirstStart() {
    ui::TForm* bar = Bar() ? &Bar()->BarWindow() : nullptr;
    if (!bar || bar->Position != ui::TPosition::poDesktopCenter || !Visible() || !bar->HandleAllocated()) return;
    RECT me{}, them{};
    GetWindowRect(Handle(), &me);
    GetWindowRect(bar->Handle(), &them);
    MONITORINFO mi{sizeof mi};
    if (!GetMonitorInfoA(MonitorFromWindow(Handle(), MONITOR_DEFAULTTONEAREST), &mi)) return;
    const RECT& work = mi.rcWork;
    const int gap = DpiScaled(8), w = them.right - them.left, h = them.bottom - them.top;
    int x = me.right + gap;
    if (x + w > work.right) x = me.left - gap - w;
    if (x < work.left) {
        // Neither side has room: the pair is centred, this window left, the bar right.
        const int pair = (me.right - me.left) + gap + w;
        const int left = std::max<int>(work.left, work.left + (work.right - work.left - pair) / 2);
        SetBounds(left, me.top, Width(), Height());
        x = std::min<int>(left + Width() + gap, work.right - w);
    }
    const int y = std::clamp<int>(me.top, work.top, std::max<int>(work.top, work.bottom - h));
    bar->SetBounds(x, y, bar->Width(), bar->Height());
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
        ui::TForm* bar = Bar() ? &Bar()->BarWindow() : this;
        for (ui::TFont* font : {&Font(), &bar->Font()}) {
            if (sizeUsable) font->SetSize(size);
            if (!name.empty()) font->SetName(name);
        }
        if (bold) {
            Font().SetStyle(ui::fsBold);
            bar->Font().SetStyle(ui::fsBold);
        }
        unsigned style = Font().Style();
        if (italic) style |= ui::fsItalic;
        if (underline) style |= ui::fsUnderline;
        if (strikeout) style |= ui::fsStrikeOut;
        if (italic || underline || strikeout) {
            Font().SetStyle(style);
            bar->Font().SetStyle(style);
        }
        bar->Invalidate();
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
    ShowSettingsDialog(*this, [this](const std::string& folder) {
        Schemes.SchemeFolder = folder;
        StartFolderWatch();
    });
}
void TConfigForm::ActionOptionTypingExecute() {
    ShowTypingDialog(*this, *VtRegistry1, BaseKey, [](int delay) {
        if (Bar()) Bar()->SetKeyDelay(delay);
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
    ui::TForm* bar = Bar() ? &Bar()->BarWindow() : this;
    for (ui::TFont* font : {&Font(), &bar->Font()}) {
        if (!f.name.empty()) font->SetName(f.name);
        font->SetSize(f.size);
        font->SetStyle(style);
    }
    bar->Invalidate();
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

// ---------------------------------------------------------------- the scheme editor

void TConfigForm::ConnectEditor() {
    SchemeEditorBar& bar = Schemes.Bar;
    bar.schemeFolder = [] { return Bar() ? Bar()->BarFolders().OutputDir : std::string(); };
    bar.nextScheme = [](const std::string& file) {
        if (Bar()) Bar()->SetSchemeFileName(file);
    };
    // The bar opens the new scheme at the next start. A folder already in placeholder form is
    // left as it is stored.
    bar.storeNewScheme = [this](const std::string& folder, const std::string& file) {
        if (Bar()) Bar()->BarFolders().Store(*VtRegistry1, BaseKey, folder);
        VtRegistry1->SaveStringToRegistry(BaseKey + reg::kFile, reg::kFilename, file);
    };
    bar.reloadSchemeList = [] {
        if (Bar()) Bar()->LoadComboBoxFilename();
    };
    bar.reloadButtons = [] {
        if (Bar()) Bar()->LoadButtonAssignment();
    };
    bar.reopenScheme = [] {
        if (Bar()) Bar()->ComboBoxFilenameClick();
    };
    bar.renamedScheme = [](const std::string& oldFile, const std::string& newFile) {
        if (Bar()) Bar()->SchemeRenamed(oldFile, newFile);
    };
    bar.enterFolder = [](const std::string& folder) { SetCurrentFolder(folder); };
    // A question shows over the window as the command has left it so far.
    Schemes.BeforeMessage = [this] { ShowEditor(); };
}

void TConfigForm::ReadControls() {
    auto read = [](const ui::TListBox* box, EditorList& list) {
        list.items = box->Items();
        list.index = box->ItemIndex();
    };
    read(ListBoxButtonScheme, Schemes.Schemes);
    read(ListBoxCaption, Schemes.Captions);
    read(ListBoxText, Schemes.Texts);
    Schemes.SchemeName = EditButtonScheme->Text();
    Schemes.ListMessage = LabelMessage->Caption();
    Schemes.Caption = EditCaption->Text();
    Schemes.Text = EditText->Text();
    Schemes.Keys = CheckBoxKeysInBraces->Checked();
    Schemes.Eol = RadioGroupEOL->ItemIndex();
    Schemes.Status = Status();
}

void TConfigForm::ShowEditor() {
    // Only what changed is set: a list that only grew keeps its scroll position.
    auto show = [](ui::TListBox* box, const EditorList& list) {
        const std::vector<std::string>& shown = box->Items();
        if (shown != list.items) {
            const bool grown = shown.size() <= list.items.size() &&
                               std::equal(shown.begin(), shown.end(), list.items.begin());
            ui::TBusyCursor busy;
            if (!grown) box->ClearItems();
            box->AddItems(std::vector<std::string>(list.items.begin() + box->Count(), list.items.end()));
        }
        if (box->ItemIndex() != list.index) box->SetItemIndex(list.index);
    };
    auto text = [](ui::TEdit* edit, const std::string& value) {
        if (edit->Text() != value) edit->SetText(value);
    };
    show(ListBoxButtonScheme, Schemes.Schemes);
    show(ListBoxCaption, Schemes.Captions);
    // The text list marks keys-in-braces texts; a changed mark shows the list anew.
    std::vector<bool> keys(Schemes.Texts.items.size());
    for (std::size_t i = 0; i < keys.size(); ++i) keys[i] = Schemes.IsKeysText(static_cast<int>(i));
    if (keys != shownKeys_) {
        ListBoxText->ClearItems();
        shownKeys_ = keys;
    }
    show(ListBoxText, Schemes.Texts);
    text(EditButtonScheme, Schemes.SchemeName);
    text(EditCaption, Schemes.Caption);
    text(EditText, Schemes.Text);
    if (CheckBoxKeysInBraces->Checked() != Schemes.Keys) CheckBoxKeysInBraces->SetChecked(Schemes.Keys);
    if (LabelMessage->Caption() != Schemes.ListMessage) LabelMessage->SetCaption(Schemes.ListMessage);
    if (RadioGroupEOL->ItemIndex() != Schemes.Eol) RadioGroupEOL->SetItemIndex(Schemes.Eol);
    if (Status() != Schemes.Status) SetStatus(Schemes.Status);
}

void TConfigForm::RunEditor(void (SchemeEditor::*command)()) {
    RunEditor([this, command] { (Schemes.*command)(); });
}

void TConfigForm::RunEditor(const std::function<void()>& command) {
    ReadControls();
    ++editing_;
    try {
        command();
    } catch (...) {
        --editing_;
        ShowEditor();
        throw;
    }
    --editing_;
    ShowEditor();
}

void TConfigForm::LoadListBoxButtonScheme() { RunEditor(&SchemeEditor::LoadSchemeList); }

bool TConfigForm::AskToSaveOnClose() {
    bool letClose = true;
    RunEditor([&] { letClose = Schemes.AskToSaveOnClose(); });
    return letClose;
}

bool TConfigForm::AskToSaveOnExit() {
    bool letEnd = true;
    RunEditor([&] { letEnd = Schemes.AskToSaveOnExit(); });
    return letEnd;
}

// ---------------------------------------------------------------- scheme group

void TConfigForm::ListBoxButtonSchemeClick() { RunEditor(&SchemeEditor::SchemeClicked); }
void TConfigForm::ListBoxButtonSchemeExit() { RunEditor(&SchemeEditor::SchemeListLeft); }
void TConfigForm::EditButtonSchemeEnter() { SetStatus(""); }
void TConfigForm::ButtonFilenameAddClick() { RunEditor(&SchemeEditor::AddScheme); }
void TConfigForm::ButtonFilenameCopyClick() { RunEditor(&SchemeEditor::CopyScheme); }
void TConfigForm::ButtonFilenameModifyClick() {
    RunEditor(&SchemeEditor::RenameScheme);
    SetReadOnlyOff();
}
void TConfigForm::ButtonFilenameDeleteClick() { RunEditor(&SchemeEditor::DeleteScheme); }

// ---------------------------------------------------------------- button group

void TConfigForm::ListBoxCaptionClick() { RunEditor(&SchemeEditor::CaptionClicked); }
void TConfigForm::ListBoxTextClick() { RunEditor(&SchemeEditor::TextClicked); }
void TConfigForm::EditCaptionEnter() { SetStatus(""); }
void TConfigForm::EditTextEnter() { SetStatus(""); }
void TConfigForm::ButtonAddClick() { RunEditor(&SchemeEditor::AddButton); }
void TConfigForm::ButtonModifyClick() { RunEditor(&SchemeEditor::ModifyButton); }
void TConfigForm::ButtonDeleteClick() { RunEditor(&SchemeEditor::DeleteButton); }
void TConfigForm::RadioGroupEOLClick() { RunEditor(&SchemeEditor::EolClicked); }
void TConfigForm::ButtonSaveClick() { RunEditor(&SchemeEditor::Save); }

void TConfigForm::SetReadOnlyOff() {
    EditCaption->SetReadOnly(false);
    EditText->SetReadOnly(false);
}

// ----- The "Skins" menu: the bar holds the skin components and the choice.

namespace {
void ChooseBuiltinSkin(int index) {
    if (BarLink* bar = Bar()) {
        bar->SetSkinIndex(index);
        bar->SkinClick();
    }
}
}  // namespace

void TConfigForm::MenuSkinXPClick() { ChooseBuiltinSkin(0); }
void TConfigForm::MenuSkinSilverClick() { ChooseBuiltinSkin(1); }
void TConfigForm::MenuSkinGreenClick() { ChooseBuiltinSkin(2); }

void TConfigForm::MenuSkinNoneClick() {
    if (BarLink* bar = Bar()) {
        bar->SetSkinIndex(3);
        bar->SkinNoneClick();
    }
}

// The index moves to "Load" only once a file was chosen and read: a cancelled dialog or an
// unreadable file leaves the choice and its check mark where they were.
void TConfigForm::MenuSkinLoadClick() {
    if (BarLink* bar = Bar()) bar->ButtonLoadSkinClick();
}

void TConfigForm::TickSkinMenu() {
    if (BarLink* bar = Bar()) bar->SkinMenuCheck();
}

}  // namespace kt
