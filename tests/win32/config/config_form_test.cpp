// The configuration window with the bar beside it, as the program creates them, in a scratch
// start folder and with the program's real settings key (removed after each test). Commands
// are driven through the windows' own notifications, so an error that escapes a handler
// reaches the application's error box as it does for the user. The editing rules themselves
// are tested natively (scheme_editor_test.cpp); these tests check the wiring: the controls,
// the bar, the registry, the system's files and the error box.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/ButtonFormDialog.h"
#include "config/ConfigFormDialog.h"
#include "config/VtRegistryComponent.h"
#include "core/MessageService.h"
#include "platform/Registry.h"
#include "ProgramTestSupport.h"
#include "ui/Application.h"

using namespace kt;
namespace fs = std::filesystem;

namespace {

using kt::test_support::kProgramKey;
using kt::test_support::Notify;
using kt::test_support::Press;

class ConfigFormTest : public ::testing::Test {
protected:
    void SetUp() override { Write("button.dat", "C01Bar\r\nT01bar text\r\nD011\r\n"); }

    void TearDown() override {
        delete config;
        delete bar;
    }

    // The bar, then the configuration window; "Start" keeps the window hidden unless a test
    // asks otherwise.
    void Create(const char* startValue = "Button") {
        if (startValue) store.SaveStringToRegistry(std::string(kProgramKey) + "\\Form", "Start", startValue);
        auto& app = ui::TApplication::Instance();
        bar = app.CreateForm<TButtonForm>();
        config = app.CreateForm<TConfigForm>();
        msgs.shown.clear();
    }

    void Write(const std::string& name, const std::string& content) { test_support::WriteBytes(data + "\\" + name, content); }
    static std::string Read(const std::string& path) { return test_support::ReadBytes(path); }
    std::string ReadScheme(const std::string& name) { return Read(data + "\\" + name); }
    bool Exists(const std::string& name) { return fs::exists(data + "\\" + name); }
    std::vector<std::string> DataFiles() {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(data)) names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    static void Pick(ui::TListBox* list, int index) {
        list->SetItemIndex(index);
        Notify(list, LBN_SELCHANGE);
    }
    void PickScheme(const std::string& name) {
        const auto& items = config->ListBoxButtonScheme->Items();
        auto it = std::find(items.begin(), items.end(), name);
        ASSERT_NE(it, items.end()) << name;
        Pick(config->ListBoxButtonScheme, static_cast<int>(it - items.begin()));
    }
    void AddButton(const std::string& caption, const std::string& text) {
        config->EditCaption->SetText(caption);
        config->EditText->SetText(text);
        Press(config->ButtonAdd);
    }
    std::vector<std::string> Texts() const {
        std::vector<std::string> t;
        for (const auto& s : msgs.shown) t.push_back(s.text);
        return t;
    }
    // The questions a click on Close asks now; the answer is No, so nothing is written.
    std::vector<std::string> CloseAsks() {
        const size_t before = msgs.shown.size();
        msgs.answers = {MsgResult::No};
        Press(config->ButtonClose);
        std::vector<std::string> asked;
        for (size_t i = before; i < msgs.shown.size(); ++i) asked.push_back(msgs.shown[i].text);
        msgs.answers.clear();
        return asked;
    }
    const std::vector<std::string> kAsksToSave{"Save button configuration?"};

    kt::test_support::ScratchStart scratch{"ktcfg"};
    const std::string& start = scratch.start;
    const std::string& data = scratch.data;
    ScopedScriptedMessages msgs;
    TVtRegistry store;
    TButtonForm* bar = nullptr;
    TConfigForm* config = nullptr;
};

// ---------------------------------------------------------------- creation and the list

TEST_F(ConfigFormTest, CreationListsOnlyExactDatNamesAndStartsClean) {
    Write("notes.dat.bak", "");
    Write("X.DAT", "");
    Write("a.dat", "D010\r\n");
    fs::create_directory(data + "\\folder.dat");
    Create();
    std::vector<std::string> listed = config->ListBoxButtonScheme->Items();
    std::vector<std::string> onDisk = ListSchemeNames(data);
    EXPECT_EQ(listed, onDisk);  // enumeration order, not sorted
    std::sort(listed.begin(), listed.end());
    EXPECT_EQ(listed, (std::vector<std::string>{"a", "button"}));  // files only: no "folder.dat"
    EXPECT_EQ(config->Schemes.SchemeFolder, data);
    EXPECT_EQ(config->EditButtonScheme->Text(), "");
    EXPECT_EQ(config->ListBoxCaption->Count(), 0);
    EXPECT_EQ(config->RadioGroupEOL->ItemIndex(), 2);
    EXPECT_EQ(config->Schemes.CurrentSchemeFile, "");
    EXPECT_TRUE(CloseAsks().empty());
    EXPECT_FALSE(config->Visible());
    EXPECT_EQ(config->Caption(), "Ketravo Configuration");
}

TEST_F(ConfigFormTest, TheWindowShowsAtStartUnlessStartSaysOtherwise) {
    Create(nullptr);
    EXPECT_TRUE(IsWindowVisible(config->Handle()));
    delete config;
    config = nullptr;
    store.SaveStringToRegistry(std::string(kProgramKey) + "\\Form", "Start", "Config");
    config = ui::TApplication::Instance().CreateForm<TConfigForm>();
    EXPECT_TRUE(IsWindowVisible(config->Handle()));
    delete config;
    config = nullptr;
    store.SaveStringToRegistry(std::string(kProgramKey) + "\\Form", "Start", "Button");
    config = ui::TApplication::Instance().CreateForm<TConfigForm>();
    EXPECT_FALSE(IsWindowVisible(config->Handle()));
}

TEST_F(ConfigFormTest, EveryControlFitsTheDesignedWindowWithoutOverlap) {
    Create();
    // With no placement stored the window takes the stored placement's defaults.
    EXPECT_EQ(config->Width(), 594);
    EXPECT_EQ(config->Height(), 514);
    RECT client;
    GetClientRect(config->Handle(), &client);
    ASSERT_NE(GetMenu(config->Handle()), nullptr);  // the client area lies below the menu bar
    const int usable = client.bottom;
    std::vector<std::pair<std::string, RECT>> placed;
    for (ui::TControl* c : config->Controls()) {
        auto* w = dynamic_cast<ui::TWinControl*>(c);
        RECT r;
        GetWindowRect(w->Handle(), &r);
        MapWindowPoints(HWND_DESKTOP, config->Handle(), reinterpret_cast<POINT*>(&r), 2);
        EXPECT_GE(r.left, 0) << w->Name;
        EXPECT_LE(r.right, client.right) << w->Name;
        EXPECT_LE(r.bottom, usable) << w->Name;
        for (const auto& [name, other] : placed) {
            RECT cut;
            EXPECT_FALSE(IntersectRect(&cut, &r, &other)) << w->Name << " overlaps " << name;
        }
        placed.emplace_back(w->Name, r);
        // Children stay inside their group.
        for (ui::TControl* inner : w->Controls()) {
            auto* iw = dynamic_cast<ui::TWinControl*>(inner);
            EXPECT_LE(iw->Left() + iw->Width(), w->Width()) << iw->Name;
            EXPECT_LE(iw->Top() + iw->Height(), w->Height()) << iw->Name;
        }
    }
    EXPECT_EQ(config->LabelButtonMessage->Font().Color(), RGB(255, 0, 0));
    EXPECT_TRUE(config->LabelButtonMessage->Font().Style() & ui::fsBold);
    EXPECT_EQ(config->RadioGroupEOL->Items(), (std::vector<std::string>{"No Action", "Enter", "Tab"}));
    EXPECT_TRUE(config->RadioGroupEOL->IsKindOf("TCustomRadioGroup"));
    EXPECT_EQ(config->ButtonFilenameCopy->Hint,
              "Copy a button scheme - from the selected item to the new item in the text box");
}

// ---------------------------------------------------------------- choosing a scheme

TEST_F(ConfigFormTest, ClickingASchemeLoadsItsButtonsAndEndOfLine) {
    Write("home.dat", "T01one\r\nC01First\r\nC01Second\r\nT01two\r\nD010\r\n");
    Create();
    PickScheme("home");
    EXPECT_EQ(config->EditButtonScheme->Text(), "home");
    EXPECT_EQ(config->Schemes.CurrentSchemeFile, "home.dat");
    EXPECT_EQ(config->Schemes.SelectedSchemePath, data + "\\home.dat");
    EXPECT_EQ(config->ListBoxCaption->Items(), (std::vector<std::string>{"First", "Second"}));
    EXPECT_EQ(config->ListBoxText->Items(), (std::vector<std::string>{"one", "two"}));
    EXPECT_EQ(config->RadioGroupEOL->ItemIndex(), 0);
    PickScheme("button");
    EXPECT_TRUE(msgs.shown.empty());  // a selection alone is no unsaved change
    EXPECT_TRUE(CloseAsks().empty());
}

TEST_F(ConfigFormTest, UnsavedChangesAskBeforeTheNextSchemeAndYesSavesThePreviousOne) {
    Write("work.dat", "C01W\r\nT01w\r\nD012\r\n");
    Create();
    PickScheme("work");
    AddButton("New", "new text");
    EXPECT_EQ(CloseAsks(), kAsksToSave);
    AddButton("New", "new text");  // No gave the first one up
    msgs.shown.clear();
    msgs.answers = {MsgResult::Yes};
    PickScheme("button");
    ASSERT_EQ(Texts(), (std::vector<std::string>{"Save button configuration for work?"}));
    EXPECT_EQ(msgs.shown[0].kind, MsgKind::Confirmation);
    EXPECT_EQ(msgs.shown[0].buttons, MsgButtons::YesNo);
    // The previous scheme's buttons went into its own file, text line first.
    EXPECT_EQ(ReadScheme("work.dat"), "T01w\r\nC01W\r\nT01new text\r\nC01New\r\nD012\r\n");
    EXPECT_EQ(config->ListBoxCaption->Items(), std::vector<std::string>{"Bar"});
    EXPECT_EQ(config->Schemes.CurrentSchemeFile, "button.dat");
    EXPECT_TRUE(CloseAsks().empty());
}

TEST_F(ConfigFormTest, SavingWithNoCurrentSchemeFailsInTheErrorBoxAndWritesNothing) {
    Create();
    AddButton("A", "a");
    msgs.answers = {MsgResult::Yes};
    const auto before = DataFiles();
    PickScheme("button");
    ASSERT_EQ(msgs.shown.size(), 2u);
    EXPECT_EQ(msgs.shown[0].text, "Save button configuration for ?");
    EXPECT_EQ(msgs.shown[1].kind, MsgKind::Error);
    EXPECT_EQ(msgs.shown[1].text, "Cannot create file " + data + "\\.");
    EXPECT_EQ(DataFiles(), before);
    // The command ended there: the clicked scheme was not loaded.
    EXPECT_EQ(config->ListBoxCaption->Items(), std::vector<std::string>{"A"});
    EXPECT_EQ(config->Schemes.CurrentSchemeFile, "");
}

TEST_F(ConfigFormTest, LeavingTheListWithANewNameAsksNothingAndListsNothing) {
    Create();
    config->EditButtonScheme->SetText("fresh");
    config->ListBoxButtonSchemeExit();
    EXPECT_TRUE(msgs.shown.empty());
    EXPECT_EQ(config->ListBoxButtonScheme->IndexOf("fresh"), -1);
}

// ---------------------------------------------------------------- scheme commands

TEST_F(ConfigFormTest, AddCreatesAnEmptySchemeAndMakesItTheBarsNextScheme) {
    Write("home.dat", "C01H\r\nT01h\r\nD011\r\n");
    Create();
    PickScheme("home");
    config->EditButtonScheme->SetText("home");
    Press(config->ButtonFilenameAdd);
    EXPECT_EQ(config->Status(), "home.dat File not added - File already exists");
    EXPECT_EQ(ReadScheme("home.dat"), "C01H\r\nT01h\r\nD011\r\n");

    config->RadioGroupEOL->SetItemIndex(1);
    config->EditCaption->SetText("c");
    config->EditButtonScheme->SetText("fresh");
    Press(config->ButtonFilenameAdd);
    EXPECT_EQ(config->Status(), "fresh.dat File Added");
    EXPECT_EQ(ReadScheme("fresh.dat"), "D011\r\n");
    EXPECT_EQ(config->Schemes.CurrentSchemeFile, "fresh.dat");
    EXPECT_EQ(bar->Filename, "fresh.dat");
    EXPECT_EQ(config->ListBoxCaption->Count(), 0);
    EXPECT_EQ(config->EditCaption->Text(), "");
    // The list is read again from the folder, nothing selected, the name back in the box.
    EXPECT_EQ(config->ListBoxButtonScheme->Items(), ListSchemeNames(data));
    EXPECT_EQ(config->ListBoxButtonScheme->ItemIndex(), -1);
    EXPECT_EQ(config->EditButtonScheme->Text(), "fresh");
    EXPECT_NE(bar->ComboBoxFilename->IndexOf("fresh"), -1);
    const std::string drivePart = start.substr(2);
    EXPECT_EQ(store.LoadText(std::string(kProgramKey) + "\\File", "Filename", ""), "fresh.dat");
    EXPECT_EQ(store.LoadText(std::string(kProgramKey) + "\\Path", "OutputDir", ""), "%systemroot%" + drivePart + "\\data");
    EXPECT_EQ(store.LoadText(std::string(kProgramKey) + "\\Path", "PathApp", ""), "%systemroot%" + drivePart);

    const size_t shown = msgs.shown.size();
    config->EditButtonScheme->SetText("");
    Press(config->ButtonFilenameAdd);
    EXPECT_EQ(config->Status(), "");
    EXPECT_EQ(msgs.shown.size(), shown);
}

TEST_F(ConfigFormTest, CopyDuplicatesTheSelectedSchemeAndAFailedCopyLeavesNothing) {
    Write("home.dat", "C01H\r\nT01h\r\nD011\r\n");
    Create();
    config->EditButtonScheme->SetText("copy");
    Press(config->ButtonFilenameCopy);  // nothing selected yet
    EXPECT_FALSE(Exists("copy.dat"));

    PickScheme("home");
    const int listed = config->ListBoxButtonScheme->Count();
    config->EditButtonScheme->SetText("button");
    Press(config->ButtonFilenameCopy);  // onto an existing name
    EXPECT_EQ(ReadScheme("button.dat"), "C01Bar\r\nT01bar text\r\nD011\r\n");
    EXPECT_EQ(config->Status(), "button.dat File not copied - File already exists");
    EXPECT_EQ(config->ListBoxButtonScheme->Count(), listed);

    config->EditButtonScheme->SetText("copy");
    Press(config->ButtonFilenameCopy);
    EXPECT_EQ(ReadScheme("copy.dat"), "C01H\r\nT01h\r\nD011\r\n");
    EXPECT_EQ(config->ListBoxButtonScheme->Items().back(), "copy");
    EXPECT_NE(bar->ComboBoxFilename->IndexOf("copy"), -1);
    EXPECT_EQ(config->Schemes.CurrentSchemeFile, "home.dat");

    // The target cannot be written (a name longer than a path may be): the error shows, no
    // target, not listed.
    const std::string blocked(MAX_PATH, 'b');
    const std::size_t schemes = kt::ListSchemeNames(data).size();
    config->EditButtonScheme->SetText(blocked);
    Press(config->ButtonFilenameCopy);
    ASSERT_FALSE(msgs.shown.empty());
    EXPECT_EQ(msgs.shown.back().kind, MsgKind::Error);
    EXPECT_EQ(msgs.shown.back().text, "Cannot create file " + data + "\\" + blocked + ".dat.");
    EXPECT_EQ(kt::ListSchemeNames(data).size(), schemes);
    EXPECT_EQ(config->ListBoxButtonScheme->IndexOf(blocked), -1);
    EXPECT_EQ(bar->ComboBoxFilename->IndexOf(blocked), -1);

    // The source has gone: nothing is made either.
    fs::remove(data + "\\home.dat");
    config->EditButtonScheme->SetText("ghost");
    Press(config->ButtonFilenameCopy);
    EXPECT_EQ(msgs.shown.back().text, "Cannot open file " + data + "\\home.dat.");
    EXPECT_FALSE(Exists("ghost.dat"));
    EXPECT_EQ(config->ListBoxButtonScheme->IndexOf("ghost"), -1);
}

TEST_F(ConfigFormTest, ModifyRenamesTheSelectedSchemeButNeverOntoAnother) {
    Write("home.dat", "C01H\r\nT01h\r\nD011\r\n");
    Create();
    PickScheme("home");
    config->EditButtonScheme->SetText("house");
    Press(config->ButtonFilenameModify);
    EXPECT_FALSE(Exists("home.dat"));
    EXPECT_EQ(ReadScheme("house.dat"), "C01H\r\nT01h\r\nD011\r\n");
    EXPECT_EQ(config->ListBoxButtonScheme->Item(config->ListBoxButtonScheme->ItemIndex()), "house");
    EXPECT_NE(bar->ComboBoxFilename->IndexOf("house"), -1);
    EXPECT_TRUE(CloseAsks().empty());

    PickScheme("house");
    config->EditButtonScheme->SetText("button");
    Press(config->ButtonFilenameModify);
    EXPECT_EQ(msgs.LastText(), "Unable to modify filename.");
    EXPECT_EQ(msgs.shown.back().kind, MsgKind::Error);
    EXPECT_EQ(ReadScheme("button.dat"), "C01Bar\r\nT01bar text\r\nD011\r\n");
    EXPECT_TRUE(Exists("house.dat"));
}

TEST_F(ConfigFormTest, DeleteAsksThenRemovesTheFileTheItemAndTheBarsEntry) {
    Write("home.dat", "C01H\r\nT01h\r\nD011\r\n");
    Create();
    Press(config->ButtonFilenameDelete);
    EXPECT_EQ(config->LabelMessage->Caption(), "No filename currently selected to delete.");

    PickScheme("home");
    msgs.answers = {MsgResult::Yes};
    Press(config->ButtonFilenameDelete);
    EXPECT_EQ(msgs.LastText(), "Do you really want to delete home?");
    EXPECT_FALSE(Exists("home.dat"));
    EXPECT_EQ(config->ListBoxButtonScheme->IndexOf("home"), -1);
    EXPECT_EQ(config->ListBoxButtonScheme->ItemIndex(), -1);
    EXPECT_EQ(config->EditButtonScheme->Text(), "");
    EXPECT_EQ(config->Status(), "Item deleted.");
    EXPECT_EQ(bar->ComboBoxFilename->IndexOf("home"), -1);
    EXPECT_EQ(bar->ListBoxCaption, std::vector<std::string>{"Bar"});  // reloaded from its chooser
}

TEST_F(ConfigFormTest, AFileThatCannotBeDeletedIsReportedAndStaysListed) {
    Write("home.dat", "C01H\r\nT01h\r\nD011\r\n");
    Create();
    PickScheme("home");
    const std::string path = data + "\\home.dat";
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
    msgs.answers = {MsgResult::Yes};
    Press(config->ButtonFilenameDelete);
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(msgs.LastText(), "Cannot delete file " + path + ".");
    EXPECT_TRUE(Exists("home.dat"));
    EXPECT_NE(config->ListBoxButtonScheme->IndexOf("home"), -1);
    EXPECT_NE(config->Status(), "Item deleted.");
}

TEST_F(ConfigFormTest, UnsafeSchemeNamesAreRefusedAndNothingOutsideTheFolderIsTouched) {
    Write("home.dat", "C01H\r\nT01h\r\nD011\r\n");
    std::ofstream(start + "\\outside.dat", std::ios::binary) << "keep";
    Create();
    PickScheme("home");
    const auto before = DataFiles();
    for (const char* name : {"..\\outside", "../outside", "..\\evil", "C:evil", "a*b", "con", "sub\\x"}) {
        SCOPED_TRACE(name);
        for (ui::TButton* b : {config->ButtonFilenameAdd, config->ButtonFilenameCopy, config->ButtonFilenameModify,
                               config->ButtonSave, config->ButtonFilenameDelete}) {
            config->EditButtonScheme->SetText(name);
            msgs.answers = {MsgResult::Yes};
            Press(b);
            EXPECT_EQ(config->Status().rfind("Invalid scheme name \"" + std::string(name) + "\"", 0), 0u)
                << b->Name << ": " << config->Status();
        }
        config->EditButtonScheme->SetText(name);
        config->ListBoxButtonSchemeExit();
        EXPECT_EQ(config->ListBoxButtonScheme->IndexOf(name), -1);
    }
    EXPECT_EQ(DataFiles(), before);
    EXPECT_EQ(Read(start + "\\outside.dat"), "keep");
    EXPECT_FALSE(fs::exists(start + "\\evil.dat"));
    EXPECT_EQ(config->Schemes.CurrentSchemeFile, "home.dat");
    EXPECT_EQ(config->ListBoxButtonScheme->Item(config->ListBoxButtonScheme->ItemIndex()), "home");
    for (const auto& s : msgs.shown) EXPECT_NE(s.kind, MsgKind::Confirmation) << s.text;
}

// ---------------------------------------------------------------- buttons

TEST_F(ConfigFormTest, TheButtonControlsEditThePairAndAnEditMakesCloseAsk) {
    Write("home.dat", "C01A\r\nT01a\r\nC01B\r\nT01b\r\nD011\r\n");
    Create();
    PickScheme("home");
    Pick(config->ListBoxText, 1);
    EXPECT_EQ(config->ListBoxCaption->ItemIndex(), 1);
    EXPECT_EQ(config->EditCaption->Text(), "B");
    EXPECT_EQ(config->EditText->Text(), "b");
    EXPECT_TRUE(CloseAsks().empty());

    config->EditCaption->SetText("Beta");
    Press(config->ButtonModify);
    EXPECT_EQ(config->ListBoxCaption->Items(), (std::vector<std::string>{"A", "Beta"}));
    EXPECT_EQ(config->ListBoxCaption->ItemIndex(), 1);
    EXPECT_EQ(config->Status(), "Item modified.");
    EXPECT_EQ(CloseAsks(), kAsksToSave);
    // No gave the edit up: the file's buttons, nothing selected.
    EXPECT_EQ(config->ListBoxCaption->Items(), (std::vector<std::string>{"A", "B"}));
    Pick(config->ListBoxText, 1);

    Press(config->ButtonDelete);
    EXPECT_EQ(config->ListBoxText->Items(), std::vector<std::string>{"a"});
    EXPECT_EQ(config->ListBoxText->ItemIndex(), -1);

    AddButton("C", "");
    EXPECT_EQ(config->Status(), "ERROR: Caption and/or text is blank");
    AddButton("C", "c");
    EXPECT_EQ(config->ListBoxCaption->Items(), (std::vector<std::string>{"A", "C"}));
    EXPECT_EQ(config->ListBoxText->ItemIndex(), 1);
    EXPECT_EQ(config->Status(), "Item added.");
}

TEST_F(ConfigFormTest, KeysInBracesIsABoxPerButtonWrittenAsT02AndReadBackByBarAndWindow) {
    Write("form.dat", "C01Plain\r\nT01{x}\r\nC01Form\r\nT02a{TAB}b\r\nD011\r\n");
    Create();
    ui::TCheckBox* box = config->CheckBoxKeysInBraces;
    EXPECT_NE(box->Caption().find("braces"), std::string::npos);
    EXPECT_EQ(box->Caption().find('&'), 0u);  // Alt with its letter ticks it
    EXPECT_EQ(box->Parent(), config->GroupBoxButtons);
    // Keyboard: a tab stop right after the text box.
    EXPECT_TRUE(GetWindowLongA(box->Handle(), GWL_STYLE) & WS_TABSTOP);
    EXPECT_EQ(GetWindow(config->EditText->Handle(), GW_HWNDNEXT), box->Handle());

    PickScheme("form");
    EXPECT_EQ(config->ListBoxText->Items(), (std::vector<std::string>{"{x}", "a{TAB}b"}));
    auto shown = [&](int i) {
        char text[256] = {};
        SendMessageA(config->ListBoxText->Handle(), LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
        return std::string(text);
    };
    EXPECT_EQ(shown(0), "{x}");  // the list shows which buttons type keys
    EXPECT_EQ(shown(1), "[keys] a{TAB}b");
    Pick(config->ListBoxCaption, 1);
    EXPECT_TRUE(box->Checked());
    Pick(config->ListBoxText, 0);
    EXPECT_FALSE(box->Checked());

    // A text that does not parse is refused on Modify and on Add; the box keeps it.
    box->SetChecked(true);
    config->EditText->SetText("{TAB}{NOPE}");
    Press(config->ButtonModify);
    EXPECT_EQ(config->Status(), "ERROR: Unknown key {NOPE} at character 6");
    EXPECT_EQ(config->EditText->Text(), "{TAB}{NOPE}");
    EXPECT_EQ(config->ListBoxText->Items(), (std::vector<std::string>{"{x}", "a{TAB}b"}));
    EXPECT_EQ(shown(0), "{x}");
    AddButton("Third", "x}");
    EXPECT_EQ(config->Status(), "ERROR: A } that no { opens (type {}} for a brace) at character 2");
    EXPECT_EQ(config->EditText->Text(), "x}");
    EXPECT_EQ(config->ListBoxCaption->Count(), 2);

    // Modify makes the first text a keys text, Add a third one; the marks follow.
    config->EditCaption->SetText("Plain");
    config->EditText->SetText("{CTRL+A}y");
    Press(config->ButtonModify);
    EXPECT_EQ(shown(0), "[keys] {CTRL+A}y");
    EXPECT_EQ(config->ListBoxText->ItemIndex(), 0);
    AddButton("Third", "{TAB 2}z");
    EXPECT_EQ(config->Status(), "Item added.");
    EXPECT_EQ(shown(2), "[keys] {TAB 2}z");
    box->SetChecked(false);
    AddButton("Fourth", "{as it stands}");
    EXPECT_EQ(shown(3), "{as it stands}");

    // The Save button's writer, then the bar's scheme load and its plain load.
    Press(config->ButtonSave);
    EXPECT_EQ(ReadScheme("form.dat"), "C01Plain\r\nT02{CTRL+A}y\r\nC01Form\r\nT02a{TAB}b\r\nC01Third\r\nT02{TAB 2}z\r\n"
                                      "C01Fourth\r\nT01{as it stands}\r\nD011\r\n");
    bar->ComboBoxFilename->SetText("form");
    bar->ComboBoxFilenameClick();
    EXPECT_EQ(bar->ListBoxText[2], "{TAB 2}z");
    EXPECT_EQ(bar->ListBoxKeys, (std::vector<bool>{true, true, true, false}));
    bar->LoadButton(data + "\\form.dat");  // the plain load
    EXPECT_EQ(bar->ListBoxKeys, (std::vector<bool>{true, true, true, false}));

    // The implicit writer, when the window moves to another scheme with an edit unsaved.
    Pick(config->ListBoxCaption, 1);
    box->SetChecked(false);
    Press(config->ButtonModify);
    msgs.answers = {MsgResult::Yes};
    PickScheme("button");
    EXPECT_EQ(ReadScheme("form.dat"), "T02{CTRL+A}y\r\nC01Plain\r\nT01a{TAB}b\r\nC01Form\r\nT02{TAB 2}z\r\nC01Third\r\n"
                                      "T01{as it stands}\r\nC01Fourth\r\nD011\r\n");
    PickScheme("form");
    EXPECT_EQ(config->Schemes.TextKeys, (std::vector<bool>{true, false, true, false}));
}

TEST_F(ConfigFormTest, ABadHandWrittenKeysTextTypesNothingAndNamesTheButton) {
    Write("button.dat", "C01Login\r\nT02user{TAB}{PASSWORD}{ENTER}\r\nD011\r\n");
    Create();
    HWND edit = CreateWindowExA(0, "EDIT", "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100, nullptr, nullptr,
                                nullptr, nullptr);
    bar->TargetWindow = edit;
    bar->TargetThread = GetCurrentThreadId();
    bar->RuntimeButtonClick(bar->RuntimeButton[0]);
    ASSERT_EQ(msgs.shown.size(), 1u);
    EXPECT_EQ(msgs.LastText(), "The button \"Login\" was not typed: Unknown key {PASSWORD} at character 10 of its text. "
                               "Nothing was typed; correct the text in the configuration window.");
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
    char text[64] = {};
    GetWindowTextA(edit, text, sizeof text);
    EXPECT_STREQ(text, "");
    DestroyWindow(edit);
}

TEST_F(ConfigFormTest, ClickingAnotherEndOfLineIsAChangeAndTheChosenOneIsNot) {
    Create();
    // A delete with nothing selected marks the lists unsaved; only a change makes that count.
    Notify(config->RadioGroupEOL->Button(2), BN_CLICKED);  // already chosen
    Press(config->ButtonDelete);
    EXPECT_EQ(msgs.LastText(), "Cannot delete - nothing selected.");
    EXPECT_TRUE(CloseAsks().empty());
    Notify(config->RadioGroupEOL->Button(1), BN_CLICKED);
    EXPECT_EQ(config->RadioGroupEOL->ItemIndex(), 1);
    EXPECT_EQ(CloseAsks(), kAsksToSave);
    EXPECT_EQ(SendMessageA(config->RadioGroupEOL->Button(1)->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessageA(config->RadioGroupEOL->Button(2)->Handle(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
}

// ---------------------------------------------------------------- Save

TEST_F(ConfigFormTest, SaveWritesCaptionThenTextPerButtonAndRefreshesTheBar) {
    Create();
    config->EditButtonScheme->SetText("button");
    AddButton("A", "x");
    AddButton("B", "t");
    Pick(config->ListBoxCaption, 1);
    config->EditText->SetText("");
    Press(config->ButtonModify);
    Notify(config->RadioGroupEOL->Button(1), BN_CLICKED);
    Press(config->ButtonSave);
    EXPECT_EQ(ReadScheme("button.dat"), "C01A\r\nT01x\r\nC01B\r\nT01\r\nD011\r\n");
    EXPECT_EQ(config->Status(), "File saved");
    EXPECT_TRUE(CloseAsks().empty());  // Save clears the question
    EXPECT_EQ(config->Schemes.CurrentSchemeFile, "button.dat");
    // The bar's chooser names the saved scheme: it shows the new buttons.
    EXPECT_EQ(bar->ListBoxCaption, (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(bar->RuntimeButton[1]->Caption(), "B");
    EXPECT_EQ(bar->RuntimeButton[2], nullptr);
    EXPECT_EQ(DataFiles(), std::vector<std::string>{"button.dat"});  // no temporary left behind

    // A new name makes a new scheme; the bar lists it at once.
    config->EditButtonScheme->SetText("second");
    Press(config->ButtonSave);
    EXPECT_EQ(ReadScheme("second.dat"), "C01A\r\nT01x\r\nC01B\r\nT01\r\nD011\r\n");
    EXPECT_NE(bar->ComboBoxFilename->IndexOf("second"), -1);
    EXPECT_EQ(config->ListBoxButtonScheme->IndexOf("second"), -1);
}

TEST_F(ConfigFormTest, AFailedSaveShowsTheErrorAndKeepsTheQuestion) {
    Write("odd.dat", "C01A\r\nC01B\r\nT01a\r\nD012\r\n");
    Create();
    PickScheme("odd");
    config->SetStatus("before");
    Press(config->ButtonSave);
    EXPECT_EQ(msgs.shown.back().kind, MsgKind::Error);
    EXPECT_EQ(msgs.LastText().rfind("List index out of bounds (1)\r\nThe scheme odd has 2 captions", 0), 0u);
    EXPECT_EQ(config->Status(), "before");

    PickScheme("button");
    AddButton("New", "n");
    const std::string path = data + "\\button.dat";
    kt::Win32SchemeFileSystem files;  // as the program writes
    kt::SetSchemeFileSystem(&files);
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);  // a scheme the user protected
    Press(config->ButtonSave);
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    kt::SetSchemeFileSystem(nullptr);
    EXPECT_EQ(msgs.LastText(), "Cannot create file " + data + "\\button.dat.");
    EXPECT_EQ(ReadScheme("button.dat"), "C01Bar\r\nT01bar text\r\nD011\r\n");
    EXPECT_EQ(config->Status(), "Item added.");
    EXPECT_EQ(CloseAsks(), kAsksToSave);
}

}  // namespace
