// The configuration window's scheme editing rules, on real files in a scratch folder and with
// scripted message boxes (SchemeEditorFixture.h).
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "SchemeEditorFixture.h"
#include "core/Errors.h"

namespace fs = std::filesystem;
using namespace kt;

namespace {

using Strings = std::vector<std::string>;

class SchemeEditorTest : public SchemeFolderTest {
protected:
    SchemeEditorTest() : SchemeFolderTest("kt_editor_") {
        Write("button.dat", "C01Bar\r\nT01bar text\r\nD011\r\n");
        ed.Bar.nextScheme = [this](const std::string& f) { events.push_back("next " + f); };
        ed.Bar.storeNewScheme = [this](const std::string& d, const std::string& f) {
            events.push_back("store " + (d == folder ? std::string("folder") : d) + " " + f);
        };
        ed.Bar.reloadSchemeList = [this] { events.push_back("list"); };
        ed.Bar.reloadButtons = [this] { events.push_back("buttons"); };
        ed.Bar.reopenScheme = [this] { events.push_back("reopen"); };
        ed.Bar.renamedScheme = [this](const std::string& from, const std::string& to) {
            events.push_back("renamed " + from + " " + to);
        };
        ed.BeforeMessage = [this] { ++refreshes; };
    }

    bool Exists(const std::string& name) const { return fs::exists(PathOf(name)); }

    void Load() { ed.LoadSchemeList(); }
    void AddButton(const std::string& caption, const std::string& text) {
        ed.Caption = caption;
        ed.Text = text;
        ed.AddButton();
    }
    // What closing the window asks now; the answer is No, so nothing is written.
    Strings CloseAsks() {
        const std::size_t before = msgs.shown.size();
        msgs.answers = {MsgResult::No};
        EXPECT_TRUE(ed.AskToSaveOnClose());
        Strings asked;
        for (std::size_t i = before; i < msgs.shown.size(); ++i) asked.push_back(msgs.shown[i].text);
        msgs.answers.clear();
        return asked;
    }
    Strings Sorted(Strings s) {
        std::sort(s.begin(), s.end());
        return s;
    }

    Strings events;
    int refreshes = 0;
    const Strings kAsksToSave{"Save button configuration?"};
};

// ---------------------------------------------------------------- loading and the questions

TEST_F(SchemeEditorTest, LoadingListsExactDatNamesAndLeavesNothingToAsk) {
    Write("a.dat", "D010\r\n");
    Write("notes.dat.bak", "");
    Load();
    EXPECT_EQ(Sorted(ed.Schemes.items), (Strings{"a", "button"}));
    EXPECT_EQ(ed.SchemeFolder, folder);
    EXPECT_EQ(ed.SchemeName, "");
    EXPECT_TRUE(CloseAsks().empty());
    EXPECT_TRUE(ed.AskToSaveOnExit());
    EXPECT_TRUE(msgs.shown.empty());
}

TEST_F(SchemeEditorTest, ChoosingASchemeLoadsItAndIsNoChangeToAskAbout) {
    Write("home.dat", "T01one\r\nC01First\r\nC01Second\r\nT01two\r\nD010\r\n");
    Load();
    Pick("home");
    EXPECT_EQ(ed.SchemeName, "home");
    EXPECT_EQ(ed.CurrentSchemeFile, "home.dat");
    EXPECT_EQ(ed.SelectedSchemePath, PathOf("home.dat"));
    EXPECT_EQ(ed.Captions.items, (Strings{"First", "Second"}));
    EXPECT_EQ(ed.Texts.items, (Strings{"one", "two"}));
    EXPECT_EQ(ed.Eol, 0);
    Pick("button");
    EXPECT_TRUE(msgs.shown.empty());
    EXPECT_TRUE(CloseAsks().empty());
}

TEST_F(SchemeEditorTest, AnEditMakesCloseAskAndTheNextSchemeAskForThePreviousOne) {
    Write("work.dat", "C01W\r\nT01w\r\nD012\r\n");
    Load();
    Pick("work");
    AddButton("New", "new text");
    EXPECT_EQ(CloseAsks(), kAsksToSave);
    // No gives the edit up: the window, opened again, shows the file's buttons.
    EXPECT_EQ(ed.Captions.items, Strings{"W"});
    EXPECT_TRUE(CloseAsks().empty());
    AddButton("New", "new text");

    // Yes: the previous scheme's buttons go into its own file, text line first.
    msgs.answers = {MsgResult::Yes};
    Pick("button");
    EXPECT_EQ(msgs.LastText(), "Save button configuration for work?");
    EXPECT_EQ(msgs.shown.back().buttons, MsgButtons::YesNo);
    EXPECT_EQ(Read("work.dat"), "T01w\r\nC01W\r\nT01new text\r\nC01New\r\nD012\r\n");
    EXPECT_EQ(ed.Captions.items, Strings{"Bar"});
    EXPECT_TRUE(CloseAsks().empty());
    EXPECT_GT(refreshes, 0);  // the window was shown before each question

    // No: the edit is dropped and nothing asks again.
    AddButton("Other", "x");
    msgs.answers = {MsgResult::No};
    Pick("button");
    EXPECT_EQ(msgs.LastText(), "Save button configuration for button?");
    EXPECT_EQ(Read("button.dat"), "C01Bar\r\nT01bar text\r\nD011\r\n");
    EXPECT_TRUE(CloseAsks().empty());
}

TEST_F(SchemeEditorTest, ClosingSavesOnYesAndTheEndOfTheProgramMayBeCancelled) {
    Load();
    Pick("button");
    AddButton("B", "b");
    msgs.answers = {MsgResult::Cancel};
    EXPECT_FALSE(ed.AskToSaveOnExit());
    EXPECT_EQ(msgs.shown.back().buttons, MsgButtons::YesNoCancel);
    msgs.answers = {MsgResult::No};
    EXPECT_TRUE(ed.AskToSaveOnExit());
    EXPECT_EQ(Read("button.dat"), "C01Bar\r\nT01bar text\r\nD011\r\n");
    msgs.answers = {MsgResult::Yes};
    EXPECT_TRUE(ed.AskToSaveOnClose());
    EXPECT_EQ(Read("button.dat"), "T01bar text\r\nC01Bar\r\nT01b\r\nC01B\r\nD011\r\n");
    EXPECT_TRUE(CloseAsks().empty());
}

TEST_F(SchemeEditorTest, SavingWithNoCurrentSchemeFailsAndTheClickedSchemeIsNotLoaded) {
    Load();
    AddButton("A", "a");
    msgs.answers = {MsgResult::Yes};
    ed.Schemes.index = ed.Schemes.IndexOf("button");
    try {
        ed.SchemeClicked();
        FAIL() << "no error";
    } catch (const EInOutError& e) {
        EXPECT_EQ(e.Message(), "Cannot create file " + folder + "\\");
    }
    EXPECT_EQ(msgs.LastText(), "Save button configuration for ?");
    EXPECT_EQ(ed.Captions.items, Strings{"A"});
    EXPECT_EQ(ed.CurrentSchemeFile, "");
    EXPECT_EQ(CloseAsks(), kAsksToSave);
}

// ---------------------------------------------------------------- Save

TEST_F(SchemeEditorTest, SaveWritesCaptionFirstRefreshesTheBarAndClearsTheQuestion) {
    Load();
    ed.SchemeName = "button";
    AddButton("A", "x");
    AddButton("B", "t");
    ed.Texts.index = 1;
    ed.TextClicked();
    EXPECT_EQ(ed.Captions.index, 1);
    EXPECT_EQ(ed.Caption, "B");
    ed.Text = "";
    ed.ModifyButton();
    ed.Eol = 1;
    ed.EolClicked();
    ed.Save();
    EXPECT_EQ(Read("button.dat"), "C01A\r\nT01x\r\nC01B\r\nT01\r\nD011\r\n");
    EXPECT_EQ(ed.Status, "File saved");
    EXPECT_EQ(ed.CurrentSchemeFile, "button.dat");
    EXPECT_EQ(events, (Strings{"list", "buttons", "reopen"}));
    EXPECT_TRUE(CloseAsks().empty());
    EXPECT_EQ(Sorted(files.ListEntries(folder)), Strings{"button.dat"});  // no temporary left

    // A new name makes a new scheme file; the editor's own list is not changed.
    ed.SchemeName = "second";
    ed.Save();
    EXPECT_EQ(Read("second.dat"), "C01A\r\nT01x\r\nC01B\r\nT01\r\nD011\r\n");
    EXPECT_EQ(ed.Schemes.IndexOf("second"), -1);
}

TEST_F(SchemeEditorTest, SaveWithoutANameOrWithUnpairedCaptionsWritesNothingAndStillAsks) {
    Write("odd.dat", "C01A\r\nC01B\r\nT01a\r\nD012\r\n");
    Load();
    const Strings before = Sorted(files.ListEntries(folder));
    AddButton("A", "x");
    ed.Save();
    EXPECT_EQ(ed.Status, "Nothing selected");
    EXPECT_EQ(Sorted(files.ListEntries(folder)), before);
    EXPECT_EQ(CloseAsks(), kAsksToSave);

    msgs.answers = {MsgResult::No};
    Pick("odd");
    ed.Status = "before";
    try {
        ed.Save();
        FAIL() << "no error";
    } catch (const EListError& e) {
        EXPECT_EQ(e.Message(), "List index out of bounds (1)\r\nThe scheme odd has 2 captions but only 1 texts: give "
                               "every caption its text before saving. Nothing was saved");
    }
    EXPECT_EQ(Read("odd.dat"), "C01A\r\nC01B\r\nT01a\r\nD012\r\n");
    EXPECT_EQ(ed.Status, "before");
}

TEST_F(SchemeEditorTest, AFailedSaveKeepsTheOldFileAndTheQuestion) {
    Load();
    Pick("button");
    AddButton("New", "n");
    files.refuseWrite = true;
    ed.SchemeName = "button";
    EXPECT_THROW(ed.Save(), EInOutError);
    EXPECT_EQ(Read("button.dat"), "C01Bar\r\nT01bar text\r\nD011\r\n");
    EXPECT_EQ(ed.Status, "Item added.");
    EXPECT_EQ(CloseAsks(), kAsksToSave);
}

TEST_F(SchemeEditorTest, AFileReadInPartIsReplacedOnlyWhenTheUserAgreesAndIsKeptAsABackup) {
    const std::string old = "C01A\r\nT01" + std::string(kSchemeLineLimit + 10, 'x') + "\r\nD011\r\n";
    Write("long.dat", old);
    Write("long.dat.bak", "older");
    Load();
    Pick("long");
    EXPECT_EQ(ed.Status.rfind("Partly loaded: ", 0), 0u) << ed.Status;
    msgs.answers = {MsgResult::No};
    ed.Save();
    EXPECT_EQ(msgs.LastText().rfind("long.dat was not read in whole (", 0), 0u) << msgs.LastText();
    EXPECT_NE(msgs.LastText().find("keep the old file as long.dat.2.bak?"), std::string::npos);
    EXPECT_EQ(ed.Status, "Not saved - long.dat is kept as it was");
    EXPECT_EQ(Read("long.dat"), old);

    msgs.answers = {MsgResult::Yes};
    ed.Save();
    EXPECT_EQ(Read("long.dat.2.bak"), old);
    EXPECT_EQ(Read("long.dat.bak"), "older");
    EXPECT_EQ(Read("long.dat").substr(0, 5), "C01A\r");
    EXPECT_TRUE(ed.PartialSchemePath.empty());
}

// ---------------------------------------------------------------- buttons

TEST_F(SchemeEditorTest, AddRefusesBlanksAndAnEleventhButton) {
    Load();
    AddButton("Caption", "");
    EXPECT_EQ(ed.Status, "ERROR: Caption and/or text is blank");
    AddButton("", "text");
    EXPECT_EQ(ed.Captions.Count(), 0);
    EXPECT_TRUE(CloseAsks().empty());

    for (int i = 1; i <= 10; ++i) AddButton("B" + std::to_string(i), "t" + std::to_string(i));
    EXPECT_EQ(ed.Status, "Item added.");
    EXPECT_EQ(ed.Captions.index, 9);
    EXPECT_EQ(ed.Texts.index, 9);
    EXPECT_TRUE(msgs.shown.empty());
    AddButton("B11", "t11");
    ASSERT_EQ(msgs.shown.size(), 1u);
    EXPECT_EQ(msgs.shown[0].text, "A button scheme holds at most 10 buttons. The button was not added.");
    EXPECT_EQ(msgs.shown[0].kind, MsgKind::Information);
    EXPECT_EQ(msgs.shown[0].buttons, MsgButtons::OK);
    EXPECT_EQ(ed.Texts.Count(), 10);
    EXPECT_EQ(CloseAsks(), kAsksToSave);
}

TEST_F(SchemeEditorTest, KeysInBracesFollowEachTextAndABadOneIsRefusedWithWhereItIs) {
    Write("form.dat", "C01Plain\r\nT01{x}\r\nC01Form\r\nT02a{TAB}b\r\nD011\r\n");
    Load();
    Pick("form");
    EXPECT_EQ(ed.TextKeys, (std::vector<bool>{false, true}));
    ed.Texts.index = 1;
    ed.TextClicked();
    EXPECT_TRUE(ed.Keys);
    ed.Captions.index = 0;
    ed.CaptionClicked();
    EXPECT_FALSE(ed.Keys);

    // Add and Modify refuse a text that does not parse; the boxes keep it and nothing changes.
    ed.Keys = true;
    AddButton("Bad", "a{NOPE}");
    EXPECT_EQ(ed.Status, "ERROR: Unknown key {NOPE} at character 2");
    EXPECT_EQ(ed.Captions.Count(), 2);
    EXPECT_EQ(ed.Text, "a{NOPE}");
    ed.Caption = "Plain";
    ed.Saved = true;
    ed.ButtonsChanged = ed.ButtonsAdded = false;
    ed.Text = "x{TAB";
    ed.ModifyButton();
    EXPECT_EQ(ed.Status, "ERROR: A { that is not closed (type {{} for a brace) at character 2");
    EXPECT_EQ(ed.Texts.items, (Strings{"{x}", "a{TAB}b"}));
    EXPECT_EQ(ed.TextKeys, (std::vector<bool>{false, true}));
    EXPECT_TRUE(CloseAsks().empty());
    // The same texts without the check box are plain text and taken as they stand.
    ed.Keys = false;
    ed.ModifyButton();
    EXPECT_EQ(ed.Status, "Item modified.");
    EXPECT_EQ(ed.Texts.items, (Strings{"x{TAB", "a{TAB}b"}));

    // Modify switches a text to keys, Add takes the box's choice, Delete keeps the rest aligned.
    ed.Keys = true;
    ed.Text = "{CTRL+A}{DELAY 500}y";
    ed.ModifyButton();
    AddButton("Third", "1{ENTER}");
    EXPECT_EQ(ed.TextKeys, (std::vector<bool>{true, true, true}));
    ed.Keys = false;
    AddButton("Fourth", "{plain}");
    ed.Captions.index = 1;
    ed.CaptionClicked();
    ed.DeleteButton();
    EXPECT_EQ(ed.TextKeys, (std::vector<bool>{true, true, false}));
    EXPECT_EQ(ed.CurrentButtons().keys, ed.TextKeys);  // what both writers take
}

TEST_F(SchemeEditorTest, ModifyAndDeleteWorkOnTheSelectedPair) {
    Write("home.dat", "C01A\r\nT01a\r\nC01B\r\nT01b\r\nD011\r\n");
    Load();
    Pick("home");
    ed.ModifyButton();  // nothing selected: nothing changes, but it counts as an edit
    EXPECT_EQ(ed.Status, "Item modified.");
    EXPECT_EQ(ed.Captions.items, (Strings{"A", "B"}));
    EXPECT_EQ(CloseAsks(), kAsksToSave);

    ed.Captions.index = 0;
    ed.CaptionClicked();
    EXPECT_EQ(ed.Texts.index, 0);
    EXPECT_EQ(ed.Text, "a");
    ed.Caption = "Alpha";
    ed.Text = "";
    ed.ModifyButton();
    EXPECT_EQ(ed.Captions.items, (Strings{"Alpha", "B"}));
    EXPECT_EQ(ed.Texts.items, (Strings{"", "b"}));

    events.clear();
    ed.DeleteButton();
    EXPECT_EQ(ed.Captions.items, Strings{"B"});
    EXPECT_EQ(ed.Texts.items, Strings{"b"});
    EXPECT_EQ(ed.Captions.index, -1);
    EXPECT_EQ(ed.Texts.index, -1);
    EXPECT_EQ(ed.Caption, "Alpha");
    EXPECT_EQ(ed.Status, "Item deleted.");
    EXPECT_EQ(events, Strings{"list"});

    ed.DeleteButton();
    EXPECT_EQ(msgs.LastText(), "Cannot delete - nothing selected.");
    EXPECT_EQ(msgs.shown.back().kind, MsgKind::Information);
    EXPECT_EQ(ed.Status, "Cannot delete - nothing selected.");
}

// Every edit counts: an end-of-line choice alone, or a deleted button alone, is unsaved.
TEST_F(SchemeEditorTest, TheEndOfLineAloneOrADeleteAloneMakeCloseAsk) {
    Load();
    ed.EolClicked();
    EXPECT_EQ(CloseAsks(), kAsksToSave);
    SchemeEditor fresh{files};
    fresh.Captions.items = fresh.Texts.items = {"x"};
    fresh.Captions.index = fresh.Texts.index = 0;
    fresh.DeleteButton();
    EXPECT_TRUE(fresh.HasUnsavedChanges());
}

// ---------------------------------------------------------------- scheme commands

TEST_F(SchemeEditorTest, AddMakesAnEmptySchemeAndTheBarsNextScheme) {
    Write("home.dat", "C01H\r\nT01h\r\nD011\r\n");
    Load();
    Pick("home");
    ed.AddScheme();  // "home" is in the box
    EXPECT_EQ(ed.Status, "home.dat File not added - File already exists");
    EXPECT_EQ(Read("home.dat"), "C01H\r\nT01h\r\nD011\r\n");

    events.clear();
    ed.Eol = 1;
    ed.Caption = "c";
    ed.SchemeName = "fresh";
    ed.AddScheme();
    EXPECT_EQ(ed.Status, "fresh.dat File Added");
    EXPECT_EQ(Read("fresh.dat"), "D011\r\n");
    EXPECT_EQ(ed.CurrentSchemeFile, "fresh.dat");
    EXPECT_EQ(events, (Strings{"next fresh.dat", "store folder fresh.dat", "list"}));
    EXPECT_EQ(ed.Captions.Count(), 0);
    EXPECT_EQ(ed.Caption, "");
    EXPECT_EQ(Sorted(ed.Schemes.items), (Strings{"button", "fresh", "home"}));
    EXPECT_EQ(ed.Schemes.index, -1);
    EXPECT_EQ(ed.SchemeName, "fresh");

    ed.SchemeName = "";
    events.clear();
    ed.AddScheme();
    EXPECT_TRUE(events.empty());
}

TEST_F(SchemeEditorTest, CopyMakesANewFileFromTheSelectedOneOrNothing) {
    Write("home.dat", "C01H\r\nT01h\r\nD011\r\n");
    Load();
    Pick("home");
    const int listed = ed.Schemes.Count();
    ed.SchemeName = "button";
    ed.CopyScheme();
    EXPECT_EQ(ed.Status, "button.dat File not copied - File already exists");
    EXPECT_EQ(ed.Schemes.Count(), listed);

    ed.SchemeName = "copy";
    ed.CopyScheme();
    EXPECT_EQ(Read("copy.dat"), "C01H\r\nT01h\r\nD011\r\n");
    EXPECT_EQ(ed.Schemes.items.back(), "copy");
    EXPECT_EQ(ed.CurrentSchemeFile, "home.dat");

    files.refuseWrite = true;
    ed.SchemeName = "blocked";
    EXPECT_THROW(ed.CopyScheme(), EInOutError);
    files.refuseWrite = false;
    EXPECT_EQ(ed.Schemes.IndexOf("blocked"), -1);

    fs::remove(PathOf("home.dat"));
    ed.SchemeName = "ghost";
    try {
        ed.CopyScheme();
        FAIL() << "no error";
    } catch (const EInOutError& e) {
        EXPECT_EQ(e.Message(), "Cannot open file " + PathOf("home.dat"));
    }
    EXPECT_FALSE(Exists("ghost.dat"));
}

TEST_F(SchemeEditorTest, RenameMovesTheSelectedFileButNeverOntoAnother) {
    Write("home.dat", "C01H\r\nT01h\r\nD011\r\n");
    Load();
    Pick("home");
    events.clear();
    ed.SchemeName = "house";
    ed.RenameScheme();
    EXPECT_FALSE(Exists("home.dat"));
    EXPECT_EQ(Read("house.dat"), "C01H\r\nT01h\r\nD011\r\n");
    EXPECT_EQ(ed.Schemes.items[static_cast<std::size_t>(ed.Schemes.index)], "house");
    EXPECT_EQ(events, (Strings{"renamed home.dat house.dat", "list"}));
    EXPECT_EQ(ed.CurrentSchemeFile, "home.dat");
    EXPECT_TRUE(CloseAsks().empty());

    // The selected scheme is the renamed one: Copy copies it without a new pick.
    ed.SchemeName = "copy";
    ed.CopyScheme();
    EXPECT_EQ(Read("copy.dat"), "C01H\r\nT01h\r\nD011\r\n");

    fs::remove(PathOf("house.dat"));
    ed.SchemeName = "again";
    ed.RenameScheme();
    EXPECT_EQ(msgs.LastText(), "Cannot modify filename as the old filename does not exist.");
    EXPECT_EQ(msgs.shown.back().kind, MsgKind::Plain);
    Write("house.dat", "C01H\r\nT01h\r\nD011\r\n");

    Pick("house");
    ed.SchemeName = "button";
    EXPECT_THROW(ed.RenameScheme(), Exception);
    EXPECT_EQ(Read("button.dat"), "C01Bar\r\nT01bar text\r\nD011\r\n");
    EXPECT_TRUE(Exists("house.dat"));
}

TEST_F(SchemeEditorTest, DeleteAsksThenRemovesTheNamedFileAndTheSelectedItem) {
    Write("home.dat", "C01H\r\nT01h\r\nD011\r\n");
    Load();
    ed.DeleteScheme();
    EXPECT_EQ(ed.Status, "No filename currently selected to delete.");
    EXPECT_EQ(ed.ListMessage, "No filename currently selected to delete.");

    Pick("home");
    ed.SchemeName = "nosuch";
    ed.DeleteScheme();
    EXPECT_EQ(ed.Status, "Delete cancelled");
    EXPECT_EQ(ed.CurrentSchemeFile, "nosuch.dat");

    ed.SchemeName = "home";
    msgs.answers = {MsgResult::No};
    ed.DeleteScheme();
    EXPECT_EQ(msgs.LastText(), "Do you really want to delete home?");
    EXPECT_TRUE(Exists("home.dat"));

    files.refuseRemove = true;
    msgs.answers = {MsgResult::Yes};
    EXPECT_THROW(ed.DeleteScheme(), EInOutError);
    EXPECT_NE(ed.Schemes.IndexOf("home"), -1);

    files.refuseRemove = false;
    events.clear();
    msgs.answers = {MsgResult::Yes};
    ed.DeleteScheme();
    EXPECT_FALSE(Exists("home.dat"));
    EXPECT_EQ(ed.Schemes.IndexOf("home"), -1);
    EXPECT_EQ(ed.Schemes.index, -1);
    EXPECT_EQ(ed.SchemeName, "");
    EXPECT_EQ(ed.CurrentSchemeFile, ".dat");
    EXPECT_EQ(ed.Status, "Item deleted.");
    EXPECT_EQ(events, (Strings{"list", "reopen"}));
}

TEST_F(SchemeEditorTest, DeleteOfTheSchemeNamedInTheBoxLeavesTheListAsTheFolderIs) {
    Write("victim.dat", "C01V\r\nT01v\r\nD011\r\n");
    Load();
    Pick("button");
    ed.SchemeName = "victim";
    msgs.answers = {MsgResult::Yes};
    ed.DeleteScheme();
    EXPECT_EQ(msgs.LastText(), "Do you really want to delete victim?");
    EXPECT_FALSE(Exists("victim.dat"));
    EXPECT_TRUE(Exists("button.dat"));
    EXPECT_EQ(ed.Schemes.items, Strings{"button"});
}

TEST_F(SchemeEditorTest, CopyWithAnEmptyNameWritesNothing) {
    Load();
    Pick("button");
    ed.SchemeName = "";
    ed.CopyScheme();
    EXPECT_FALSE(Exists(".dat"));
    EXPECT_EQ(ed.Schemes.items, Strings{"button"});
    EXPECT_TRUE(events.empty());
}

TEST_F(SchemeEditorTest, TextsWithoutCaptionsBecomeButtonsAndASaveKeepsEveryText) {
    Write("orphans.dat", "T01first\r\nT01second\r\nD011\r\n");
    Load();
    Pick("orphans");
    EXPECT_EQ(ed.Captions.items, (Strings{"", ""}));
    EXPECT_EQ(ed.Texts.items, (Strings{"first", "second"}));
    EXPECT_EQ(ed.Status, "2 texts have no caption in the file: shown as buttons with an empty caption");
    AddButton("New", "new text");
    ed.Save();
    EXPECT_EQ(Read("orphans.dat"), "C01\r\nT01first\r\nC01\r\nT01second\r\nC01New\r\nT01new text\r\nD011\r\n");
}

TEST_F(SchemeEditorTest, ClosingWithUnsavedButtonsOffersCancelWhichKeepsTheWindow) {
    Load();
    Pick("button");
    AddButton("B", "b");
    msgs.answers = {MsgResult::Cancel};
    EXPECT_FALSE(ed.AskToSaveOnClose());
    EXPECT_EQ(msgs.shown.back().buttons, MsgButtons::YesNoCancel);
    EXPECT_EQ(Read("button.dat"), "C01Bar\r\nT01bar text\r\nD011\r\n");
    EXPECT_TRUE(ed.HasUnsavedChanges());
}

TEST_F(SchemeEditorTest, LeavingTheListWithANewNameAsksNothingAndListsNoFileThatIsNot) {
    Load();
    for (const char* name : {"fresh", "button", ""}) {
        ed.SchemeName = name;
        ed.SchemeListLeft();
    }
    EXPECT_TRUE(msgs.shown.empty());
    EXPECT_EQ(ed.Schemes.items, Strings{"button"});
    EXPECT_FALSE(Exists("fresh.dat"));
}

TEST_F(SchemeEditorTest, UnsafeNamesAndAMissingFolderAreRefusedWithoutAQuestion) {
    Write("home.dat", "C01H\r\nT01h\r\nD011\r\n");
    Load();
    Pick("home");
    const Strings before = Sorted(files.ListEntries(folder));
    using Command = void (SchemeEditor::*)();
    for (const char* name : {"..\\outside", "../outside", "C:evil", "a*b", "con", "sub\\x"}) {
        SCOPED_TRACE(name);
        for (Command c : {&SchemeEditor::AddScheme, &SchemeEditor::CopyScheme, &SchemeEditor::RenameScheme,
                          &SchemeEditor::Save, &SchemeEditor::DeleteScheme, &SchemeEditor::SchemeListLeft}) {
            ed.SchemeName = name;
            msgs.answers = {MsgResult::Yes};
            (ed.*c)();
            EXPECT_EQ(ed.Status.rfind("Invalid scheme name \"" + std::string(name) + "\"", 0), 0u) << ed.Status;
        }
        EXPECT_EQ(ed.Schemes.IndexOf(name), -1);
    }
    EXPECT_EQ(Sorted(files.ListEntries(folder)), before);
    EXPECT_EQ(ed.CurrentSchemeFile, "home.dat");
    for (const auto& s : msgs.shown) EXPECT_NE(s.kind, MsgKind::Confirmation) << s.text;

    ed.SchemeFolder = "C:";
    ed.SchemeName = "fine";
    ed.Save();
    EXPECT_EQ(ed.Status, "No scheme folder is set - nothing was written");
}

}  // namespace
