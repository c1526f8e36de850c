// The settings dialog over the real registry (the program's key, removed after each test),
// with the open dialog answered by script. The dialog shares its folder values across
// dialogs for the whole run; each test starts them empty.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "config/ConfigFormDialog.h"
#include "config/FormOptionsDirectoryDialog.h"
#include "config/VtRegistryComponent.h"
#include "core/MessageService.h"
#include "platform/Registry.h"
#include "ProgramTestSupport.h"
#include "ui/Application.h"

using namespace kt;

namespace {

const char* const kProgramKey = "Software\\Orvall Software\\Ketravo";
const std::string kPathKey = std::string(kProgramKey) + "\\Path";

// The open dialog as a user works it: it shows each folder of `browse` in turn (the process's
// current folder follows, as with the real dialog), then answers with `answer` ("" cancels).
class BrowsingMessages : public ScopedScriptedMessages {
public:
    std::vector<std::string> browse;
    bool OpenFile(FileDialogRequest& request) override {
        for (const std::string& folder : browse) {
            SetCurrentDirectoryA(folder.c_str());
            if (request.onFolderChange) request.onFolderChange();
        }
        browse.clear();
        return ScriptedMessages::OpenFile(request);
    }
};

class SettingsDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        Registry().DeleteKey(kProgramKey);
        ProjectPath.clear();
        OutputPath.clear();
        LastBrowsedFolder.clear();
        char buf[MAX_PATH];
        GetCurrentDirectoryA(sizeof buf, buf);
        previousDir = buf;
        GetTempPathA(sizeof buf, buf);
        temp = buf;
        if (!temp.empty() && temp.back() == '\\') temp.pop_back();
        SetCurrentDirectoryA(temp.c_str());
        owner = new TConfigForm(nullptr);
        owner->Schemes.SchemeFolder = "C:\\old schemes";
    }
    void TearDown() override {
        ui::TDialogForm::FreeReleasedForms();
        delete owner;
        SetCurrentDirectoryA(previousDir.c_str());
        Registry().DeleteKey(kProgramKey);
    }

    // Opened as the menu's "&Settings" does, so the owner's wiring is what the tests see.
    TFormOptionsDirectory* Open() {
        owner->ActionOptionSettingsExecute();
        const auto& owned = owner->Components();
        auto* dialog = owned.empty() ? nullptr : dynamic_cast<TFormOptionsDirectory*>(owned.back());
        EXPECT_NE(dialog, nullptr);
        return dialog;
    }
    std::string Stored(const char* name) {
        Registry reg;
        if (!reg.OpenKey(kPathKey, false)) return "<no key>";
        return reg.ValueExists(name) ? reg.ReadString(name) : "<none>";
    }
    static void Press(ui::TButton* b) { kt::test_support::Press(b); }
    static void DoubleClick(ui::TEdit* e) { SendMessageA(e->Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(4, 4)); }
    // Whether the dialog is still a form of the program once pending releases are done.
    static bool Alive(ui::TForm* f) {
        ui::TApplication::Instance().ProcessMessages();
        for (ui::TForm* g : ui::TApplication::Instance().Forms())
            if (g == f) return true;
        return false;
    }

    BrowsingMessages msgs;
    TVtRegistry store;
    TConfigForm* owner = nullptr;
    std::string previousDir, temp;
};

TEST_F(SettingsDialogTest, StoredPlaceholderShowsTheDriveOfTheCurrentFolder) {
    store.SaveStringToRegistry(kPathKey, "PathProject", "%systemroot%\\Projects");
    store.SaveStringToRegistry(kPathKey, "OutputDir", "%systemroot%\\Out\\data");
    TFormOptionsDirectory* d = Open();
    const char drive = temp[0];
    EXPECT_EQ(d->EditPathProject->Text(), std::string(1, drive) + ":\\Projects");
    EXPECT_EQ(d->EditOutputDir->Text(), std::string(1, drive) + ":\\Out\\data");
    EXPECT_EQ(ProjectPath, d->EditPathProject->Text());
    EXPECT_TRUE(d->Visible());
    EXPECT_EQ(d->Caption(), "Ketravo Settings");
    Press(d->ButtonCancel);

    // The same stored value on another drive follows that drive.
    ASSERT_TRUE(SetCurrentDirectoryA("Z:\\"));
    d = Open();
    EXPECT_EQ(d->EditPathProject->Text(), "Z:\\Projects");
    Press(d->ButtonCancel);
    EXPECT_TRUE(msgs.shown.empty());
}

TEST_F(SettingsDialogTest, NothingStoredOpensEmptyAndOkNeverStoresTheDriveRoot) {
    TFormOptionsDirectory* d = Open();
    EXPECT_EQ(d->EditPathProject->Text(), "");
    EXPECT_EQ(d->EditOutputDir->Text(), "");
    Press(d->ButtonOK);
    // An empty box would be stored as the placeholder alone: the root of the drive.
    EXPECT_EQ(Stored("PathProject"), "<none>");
    EXPECT_EQ(Stored("OutputDir"), "<none>");
    EXPECT_FALSE(d->Visible());
    EXPECT_FALSE(Alive(d));

    store.SaveStringToRegistry(kPathKey, "OutputDir", "%systemroot%\\Out\\data");
    d = Open();
    d->EditOutputDir->SetText("Z:\\");
    d->EditPathProject->SetText("");
    Press(d->ButtonOK);
    EXPECT_EQ(Stored("OutputDir"), "%systemroot%\\Out\\data");
    EXPECT_EQ(Stored("PathProject"), "<none>");
}

TEST_F(SettingsDialogTest, AProjectFolderOfTheWrongTypeCostsOnlyThatValue) {
    store.SaveStringToRegistry(kPathKey, "OutputDir", "%systemroot%\\Out\\data");
    HKEY h;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kPathKey.c_str(), 0, KEY_ALL_ACCESS, &h), ERROR_SUCCESS);
    const DWORD number = 5;
    RegSetValueExA(h, "PathProject", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
    RegCloseKey(h);
    TFormOptionsDirectory* d = Open();
    ASSERT_EQ(msgs.shown.size(), 1u);
    EXPECT_EQ(msgs.shown[0].kind, MsgKind::Error);
    EXPECT_EQ(msgs.shown[0].text,
              "Invalid data type for 'PathProject' (setting Path\\PathProject). Its default is used instead.");
    EXPECT_EQ(d->EditPathProject->Text(), "");
    EXPECT_EQ(d->EditOutputDir->Text(), temp.substr(0, 2) + "\\Out\\data");
    Press(d->ButtonOK);
    EXPECT_EQ(Stored("OutputDir"), "%systemroot%\\Out\\data");
}

TEST_F(SettingsDialogTest, OkStoresTypedFoldersAndTheValuesOutliveTheDialog) {
    TFormOptionsDirectory* d = Open();
    d->EditPathProject->SetText("D:\\Proj");
    d->EditOutputDir->SetText("D:\\Proj\\data");
    EXPECT_EQ(ProjectPath, "D:\\Proj");
    EXPECT_EQ(OutputPath, "D:\\Proj\\data");
    Press(d->ButtonOK);
    EXPECT_EQ(Stored("PathProject"), "%systemroot%\\Proj");
    EXPECT_EQ(Stored("OutputDir"), "%systemroot%\\Proj\\data");

    // With the registry emptied, the next dialog offers what this run remembers.
    Registry().DeleteKey(kProgramKey);
    d = Open();
    EXPECT_EQ(d->EditPathProject->Text(), std::string(1, temp[0]) + ":\\Proj");
    Press(d->ButtonCancel);
}

TEST_F(SettingsDialogTest, TwoOpenDialogsStoreTheSharedValuesWithoutEncodingThemTwice) {
    TFormOptionsDirectory* a = Open();
    TFormOptionsDirectory* b = Open();
    a->EditPathProject->SetText("D:\\Proj");
    a->EditOutputDir->SetText("D:\\Out");
    Press(a->ButtonOK);
    ASSERT_TRUE(b->Visible());
    Press(b->ButtonOK);
    EXPECT_EQ(Stored("PathProject"), "%systemroot%\\Proj");
    EXPECT_EQ(Stored("OutputDir"), "%systemroot%\\Out");
    EXPECT_FALSE(Alive(a));
    EXPECT_FALSE(Alive(b));
}

TEST_F(SettingsDialogTest, CancelAndTheCloseBoxWriteNothing) {
    TFormOptionsDirectory* d = Open();
    d->EditPathProject->SetText("D:\\Proj");
    Press(d->ButtonCancel);
    EXPECT_EQ(Stored("PathProject"), "<none>");
    EXPECT_FALSE(Alive(d));

    d = Open();
    SendMessageA(d->Handle(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(d->Visible());
    EXPECT_EQ(Stored("OutputDir"), "<none>");
    EXPECT_FALSE(Alive(d));
}

TEST_F(SettingsDialogTest, DoubleClickTakesTheChosenFilesFolderWithItsBackslash) {
    LastBrowsedFolder = "C:\\Before";
    store.SaveStringToRegistry(kPathKey, "PathProject", "%systemroot%\\Projects");
    TFormOptionsDirectory* d = Open();
    const std::string project = d->EditPathProject->Text();

    msgs.files = {"C:\\Work\\a.dat"};
    DoubleClick(d->EditOutputDir);
    ASSERT_EQ(msgs.fileRequests.size(), 1u);
    EXPECT_EQ(msgs.fileRequests[0].initialDir, "C:\\Before");
    EXPECT_EQ(d->EditOutputDir->Text(), "C:\\Work\\");
    EXPECT_EQ(OutputPath, "C:\\Work\\");
    EXPECT_EQ(LastBrowsedFolder, "C:\\Work\\");
    EXPECT_EQ(d->EditPathProject->Text(), project);

    msgs.files = {""};  // Cancel
    DoubleClick(d->EditPathProject);
    EXPECT_EQ(d->EditPathProject->Text(), project);
    EXPECT_EQ(LastBrowsedFolder, "C:\\Work\\");
    EXPECT_EQ(owner->Schemes.SchemeFolder, "C:\\old schemes");  // only Set Path moves it
    Press(d->ButtonCancel);
}

TEST_F(SettingsDialogTest, SetPathTakesTheFolderShownLastEvenOnCancel) {
    store.SaveStringToRegistry(kPathKey, "PathProject", "%systemroot%\\Projects");
    TFormOptionsDirectory* d = Open();
    msgs.browse = {"C:\\windows", "C:\\windows\\system32"};
    msgs.files = {""};
    Press(d->ButtonProjPath);
    ASSERT_EQ(msgs.fileRequests.size(), 1u);
    EXPECT_EQ(msgs.fileRequests[0].initialDir, std::string(1, temp[0]) + ":\\Projects");
    EXPECT_EQ(LastBrowsedFolder, "C:\\windows\\system32");
    EXPECT_EQ(d->EditPathProject->Text(), "C:\\windows\\system32");
    EXPECT_EQ(ProjectPath, "C:\\windows\\system32");
    EXPECT_EQ(owner->Schemes.SchemeFolder, "C:\\old schemes");

    // The output Set Path moves the configuration window's scheme folder at once, and
    // Cancel does not take that back.
    msgs.browse = {"C:\\windows"};
    msgs.files = {"C:\\windows\\win.ini"};
    Press(d->ButtonOutputDir);
    EXPECT_EQ(d->EditOutputDir->Text(), "C:\\windows");
    EXPECT_EQ(owner->Schemes.SchemeFolder, "C:\\windows");
    Press(d->ButtonCancel);
    EXPECT_EQ(owner->Schemes.SchemeFolder, "C:\\windows");
    EXPECT_EQ(Stored("OutputDir"), "<none>");
}

TEST_F(SettingsDialogTest, SetPathWithNoFolderShownKeepsTheBoxAndTheSchemeFolder) {
    TFormOptionsDirectory* d = Open();
    d->EditOutputDir->SetText("D:\\Out");
    msgs.files = {""};
    Press(d->ButtonOutputDir);
    EXPECT_EQ(d->EditOutputDir->Text(), "D:\\Out");
    EXPECT_EQ(owner->Schemes.SchemeFolder, "D:\\Out");

    d->EditOutputDir->SetText("");
    msgs.files = {""};
    Press(d->ButtonOutputDir);
    EXPECT_EQ(owner->Schemes.SchemeFolder, "D:\\Out");  // an empty box never becomes the scheme folder
    Press(d->ButtonCancel);
}

TEST_F(SettingsDialogTest, DialogHasItsControlsAndTakesTheOwnersFont) {
    owner->Font().SetSize(10);
    TFormOptionsDirectory* d = Open();
    EXPECT_EQ(d->Width(), 544);
    EXPECT_EQ(d->Height(), 240);
    EXPECT_EQ(d->Owner(), owner);
    EXPECT_EQ(d->EditOutputDir->Font().Size(), 10);
    EXPECT_TRUE(d->ButtonProjPath->TabStop);
    EXPECT_TRUE(d->ButtonOutputDir->TabStop);
    EXPECT_EQ(d->ButtonProjPath->Caption(), "Set Path");
    EXPECT_EQ(d->EditPathProject->Hint, "This is the path to where you wish to store all Brennholt project files.");
    EXPECT_EQ(d->ButtonOK->Hint, "Apply any changes made to this page.");
    EXPECT_TRUE(d->LabelTitle->Font().Style() & ui::fsBold);
    Press(d->ButtonCancel);
}

}  // namespace
