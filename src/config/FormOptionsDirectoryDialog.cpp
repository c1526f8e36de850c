#include "config/FormOptionsDirectoryDialog.h"

#include "config/BarLink.h"
#include "config/RegistryKeys.h"
#include "config/core/FolderRules.h"
#include "config/core/HelpAddress.h"
#include "config/core/SettingsText.h"
#include "core/MessageService.h"
#include "platform/CurrentFolder.h"

namespace kt {

std::string ProjectPath;
std::string OutputPath;
std::string LastBrowsedFolder;

namespace {
const char* const kPathHint = "This is the path to where you wish to store all Brennholt project files.";
const char* const kSetPathHint = "Sets the path to your project directory.";

// The placeholder stands for the drive (or the share) of the current folder.
std::string Expanded(const std::string& stored) { return ExpandStoredFolder(stored, GetCurrentFolder()); }
}  // namespace

TFormOptionsDirectory::TFormOptionsDirectory(ui::TComponent* owner) : ui::TDialogForm(owner) {
    Name = "FormOptionsDirectory";
    SetCaption("Ketravo Settings");
    BorderStyle = ui::TBorderStyle::bsDialog;
    Position = ui::TPosition::poScreenCenter;
    SetBounds(0, 0, 544, 240);
    ShowHint = true;

    auto label = [this](const char* name, const char* text, int x, int y, int w) {
        return ui::MakeControl<ui::TLabel>(this, this, name, text, x, y, w, 16);
    };
    auto edit = [this](const char* name, int y) {
        auto* e = new ui::TEdit(this);
        e->Name = name;
        e->Hint = kPathHint;
        e->SetBounds(16, y, 412, 21);
        e->SetParent(this);
        e->OnChange = [this, e] { EditPathProjectChange(e); };
        e->OnDblClick = [this, e] { EditPathProjectDblClick(e); };
        return e;
    };
    auto setPath = [this](const char* name, int y) {
        auto* b = new ui::TButton(this);
        b->Name = name;
        b->SetCaption("Set Path");
        b->Hint = kSetPathHint;
        b->SetBounds(440, y - 2, 75, 25);
        b->SetParent(this);
        return b;
    };

    LabelTitle = label("LabelTitle", "Ketravo Settings", 0, 10, 536);
    LabelTitle->Alignment = ui::TAlignment::taCenter;
    LabelTitle->Font().SetStyle(ui::fsBold);

    LabelPathProject = label("LabelPathProject", "&Project Directory:", 16, 40, 200);
    EditPathProject = edit("EditPathProject", 58);
    LabelPathProject->ShowAccelChar = true;
    LabelPathProject->FocusControl = EditPathProject;
    ButtonProjPath = setPath("ButtonProjPath", 58);
    ButtonProjPath->OnClick = [this] { ButtonProjPathClick(); };

    LabelOutputDir = label("LabelOutputDir", "&Output Directory:", 16, 92, 200);
    EditOutputDir = edit("EditOutputDir", 110);
    LabelOutputDir->ShowAccelChar = true;
    LabelOutputDir->FocusControl = EditOutputDir;
    ButtonOutputDir = setPath("ButtonOutputDir", 110);
    ButtonOutputDir->OnClick = [this] { ButtonOutputDirClick(); };

    ButtonOK = new ui::TBitBtn(this);
    ButtonOK->Name = "ButtonOK";
    ButtonOK->SetKind(ui::TBitBtnKind::bkOK);
    ButtonOK->Hint = "Apply any changes made to this page.";
    ButtonOK->SetBounds(352, 160, 75, 25);
    ButtonOK->SetParent(this);
    ButtonOK->OnClick = [this] { ButtonOKClick(); };

    ButtonCancel = new ui::TBitBtn(this);
    ButtonCancel->Name = "ButtonCancel";
    ButtonCancel->SetKind(ui::TBitBtnKind::bkCancel);
    ButtonCancel->Hint = "Do not apply the changes made to this page.";
    ButtonCancel->SetBounds(440, 160, 75, 25);
    ButtonCancel->SetParent(this);
    ButtonCancel->OnClick = [this] { ButtonCancelClick(); };

    OpenDialog1 = new ui::TOpenDialog(this);
    OpenDialog1->Name = "OpenDialog1";
    OpenDialog1->Filter = "All files (*.*)|*.*";
    OpenDialog1->Title = "Choose a Folder";
    OpenDialog1->OnFolderChange = [this] { OpenDialog1FolderChange(); };

    OnCreate = [this] { FormCreate(); };
    // The close box writes nothing; the dialog goes as Cancel does.
    OnClose = [this](ui::TCloseAction& action) {
        action = ui::TCloseAction::caHide;
        Release();
    };
}

void TFormOptionsDirectory::SetBoxText(ui::TEdit* box, const std::string& text) {
    box->SetText(text);
    // Before the window exists the box reports no change: copy the value here as well.
    EditPathProjectChange(box);
}

void TFormOptionsDirectory::FormCreate() {
    BaseKey = reg::kDialogBaseKey;
    const std::string key = BaseKey + reg::kPath;

    TVtRegistry store;
    store.LoadStringFromRegistry(key, reg::kPathProject, ProjectPath, std::string(ProjectPath));
    ProjectPath = Expanded(ProjectPath);
    SetBoxText(EditPathProject, !ProjectPath.empty() ? ProjectPath : LastBrowsedFolder);

    store.LoadStringFromRegistry(key, reg::kOutputDir, OutputPath, std::string(OutputPath));
    OutputPath = Expanded(OutputPath);
    SetBoxText(EditOutputDir, !OutputPath.empty() ? OutputPath : LastBrowsedFolder);
}

void TFormOptionsDirectory::EditPathProjectChange(ui::TEdit* sender) {
    if (sender == EditPathProject) ProjectPath = sender->Text();
    else if (sender == EditOutputDir) OutputPath = sender->Text();
}

void TFormOptionsDirectory::OpenDialog1FolderChange() { LastBrowsedFolder = GetCurrentFolder(); }

bool TFormOptionsDirectory::BrowseInto(ui::TEdit* box, const std::string& current) {
    // A value left in stored form by another dialog's OK still names a real folder.
    if (!current.empty()) OpenDialog1->InitialDir = Expanded(current);
    OpenDialog1->Execute();  // OK or Cancel: the folder shown last is what counts
    // A dialog that never showed a folder leaves the box as it was rather than emptying it.
    if (LastBrowsedFolder.empty()) return false;
    SetBoxText(box, LastBrowsedFolder);
    return true;
}

void TFormOptionsDirectory::ButtonProjPathClick() { BrowseInto(EditPathProject, std::string(ProjectPath)); }

void TFormOptionsDirectory::ButtonOutputDirClick() {
    BrowseInto(EditOutputDir, std::string(OutputPath));
    // The configuration window's scheme commands use the new folder from now on; an empty
    // box would send them to the root of the drive, so it changes nothing.
    const std::string folder = EditOutputDir->Text();
    if (OnSchemeFolderChange && IsUsableFolder(folder)) OnSchemeFolderChange(folder);
}

void TFormOptionsDirectory::EditPathProjectDblClick(ui::TEdit* sender) {
    OpenDialog1->InitialDir = LastBrowsedFolder;
    if (!OpenDialog1->Execute()) return;
    const std::string folder = FolderPartOf(OpenDialog1->FileName);
    SetBoxText(sender, folder);
    LastBrowsedFolder = folder;
}

void TFormOptionsDirectory::ButtonOKClick() {
    const std::string key = BaseKey + reg::kPath;
    // What the user typed becomes the folder he meant: a relative path lies in the program's
    // folder, a share stays a share. A text that names no folder is refused before anything
    // is stored, and the dialog stays open to mend it.
    const TypedFolder project = ResolveTypedFolder(ProjectPath, ProgramFolder);
    const TypedFolder output = ResolveTypedFolder(OutputPath, ProgramFolder);
    for (const TypedFolder* f : {&project, &output})
        if (!f->problem.empty()) {
            ShowInformation(f->problem + " Nothing was stored.");
            return;
        }
    TVtRegistry store;
    // An empty box (or a bare drive) would store the root of the drive as the folder, and
    // the bar would take it as the scheme folder at the next start: such a box keeps what is
    // stored.
    if (IsUsableFolder(project.folder)) {
        ProjectPath = StoredFolderText(project.folder);
        store.SaveStringToRegistry(key, reg::kPathProject, ProjectPath);
    }
    if (IsUsableFolder(output.folder)) {
        OutputPath = StoredFolderText(output.folder);
        store.SaveStringToRegistry(key, reg::kOutputDir, OutputPath);
    }
    Hide();
    Release();
}

void TFormOptionsDirectory::ButtonCancelClick() {
    Hide();
    Release();
}

TFormOptionsDirectory* ShowSettingsDialog(ui::TForm& owner, std::function<void(const std::string&)> onSchemeFolderChange) {
    auto* dialog = new TFormOptionsDirectory(&owner);
    dialog->OnSchemeFolderChange = std::move(onSchemeFolderChange);
    // "The program's folder" of the settings: the folder the program started in, where its
    // scheme folder "data" was made.
    dialog->ProgramFolder = Bar() ? Bar()->BarFolders().PathApp : GetCurrentFolder();
    dialog->Font().Assign(owner.Font());
    dialog->LabelTitle->Font().Assign(owner.Font());
    dialog->LabelTitle->Font().SetStyle(owner.Font().Style() | ui::fsBold);
    dialog->DoCreate();
    dialog->Show();
    return dialog;
}

}  // namespace kt
