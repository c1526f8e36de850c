// The configuration window's scheme editing in a folder that someone else saves into too: no
// edit of either is lost without a question, and the window follows the folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>

#include "SchemeEditorFixture.h"
#include "core/Errors.h"

namespace fs = std::filesystem;
using namespace kt;

namespace {

using Strings = std::vector<std::string>;

class SharedFolderTest : public SchemeFolderTest {
protected:
    SharedFolderTest() : SchemeFolderTest("kt_shared_") {
        files.writtenLongAgo = true;  // the writers here finish before a look
        ed.Pause = [this](int) {
            if (writer) writer();
        };
        Write("work.dat", kTheirsBefore);
        Write("other.dat", "D012\r\n");
        ed.LoadSchemeList();
        Pick("work");
    }
    void AddMine() {
        ed.Caption = "Mine";
        ed.Text = "mine";
        ed.AddButton();
    }
    // The window's timer: FollowFolder again as long as it asks for another look.
    bool Follow() {
        bool changed = ed.FollowFolder();
        for (int i = 0; ed.FollowAgainMs && i < 100; ++i) changed = ed.FollowFolder() || changed;
        return changed;
    }
    std::string Asked(std::size_t from) const {
        std::string all;
        for (std::size_t i = from; i < msgs.shown.size(); ++i) all += msgs.shown[i].text + "|";
        return all;
    }

    static constexpr const char* kTheirsBefore = "C01W\r\nT01w\r\nD012\r\n";
    static constexpr const char* kTheirs = "C01W\r\nT01w\r\nC01Theirs\r\nT01theirs\r\nD012\r\n";
    static constexpr const char* kQuestion =
        "The scheme work was changed by someone else since you opened it. Replace their version with yours?|";
    std::function<void()> writer;
};

}  // namespace

TEST_F(SharedFolderTest, SaveOverAnotherWritersVersionAsksAndEachAnswerKeepsItsWord) {
    AddMine();
    Write("work.dat", kTheirs);  // B saved while A edited
    const std::string mine = "C01W\r\nT01w\r\nC01Mine\r\nT01mine\r\nD012\r\n";
    ed.SchemeName = "work";

    // Cancel: nothing changes, the edit is still there and still unsaved.
    msgs.answers = {MsgResult::Cancel};
    ed.Save();
    EXPECT_EQ(Asked(0), kQuestion);
    EXPECT_EQ(msgs.shown.back().buttons, MsgButtons::YesNoCancel);
    EXPECT_EQ(Read("work.dat"), kTheirs);
    EXPECT_EQ(ed.Captions.items, (Strings{"W", "Mine"}));
    EXPECT_TRUE(ed.HasUnsavedChanges());

    // Yes: ours replaces theirs, and a second save of ours asks nothing.
    msgs.answers = {MsgResult::Yes};
    ed.Save();
    EXPECT_EQ(Read("work.dat"), mine);
    EXPECT_EQ(ed.Status, "File saved");
    const std::size_t before = msgs.shown.size();
    ed.Save();
    EXPECT_EQ(Asked(before), "");

    // No: their version is loaded and ours is dropped; the file stays theirs.
    AddMine();
    Write("work.dat", kTheirs);
    msgs.answers = {MsgResult::No};
    ed.Save();
    EXPECT_EQ(Read("work.dat"), kTheirs);
    EXPECT_EQ(ed.Captions.items, (Strings{"W", "Theirs"}));
    EXPECT_EQ(ed.Texts.items, (Strings{"w", "theirs"}));
    EXPECT_FALSE(ed.HasUnsavedChanges());
    EXPECT_EQ(ed.Status, "Not saved - work now shows the version saved by someone else");
    EXPECT_EQ(Read("other.dat"), "D012\r\n");  // no other file changes
}

TEST_F(SharedFolderTest, AnUntouchedOrSameBytesFileIsSavedWithoutAQuestion) {
    AddMine();
    Write("work.dat", kTheirsBefore);  // written again, same bytes: a newer time only
    ed.SchemeName = "work";
    ed.Save();
    EXPECT_TRUE(msgs.shown.empty());
    EXPECT_EQ(Read("work.dat"), "C01W\r\nT01w\r\nC01Mine\r\nT01mine\r\nD012\r\n");
}

TEST_F(SharedFolderTest, TheImplicitSaveAsksTooAndCancelStaysOnTheScheme) {
    AddMine();
    Write("work.dat", kTheirs);
    // Clicking another scheme: "Save ...?" Yes, then the other version: Cancel.
    msgs.answers = {MsgResult::Yes, MsgResult::Cancel};
    Pick("other");
    EXPECT_EQ(Asked(0), "Save button configuration for work?|" + std::string(kQuestion));
    EXPECT_EQ(ed.CurrentSchemeFile, "work.dat");
    EXPECT_EQ(ed.Schemes.index, ed.Schemes.IndexOf("work"));
    EXPECT_EQ(ed.Captions.items, (Strings{"W", "Mine"}));
    EXPECT_EQ(Read("work.dat"), kTheirs);

    // Closing: Yes, then No: theirs stays, the window may close, our edit is gone.
    msgs.answers = {MsgResult::Yes, MsgResult::No};
    EXPECT_TRUE(ed.AskToSaveOnClose());
    EXPECT_EQ(Read("work.dat"), kTheirs);
    EXPECT_FALSE(ed.HasUnsavedChanges());

    // A deleted scheme is a change too; Yes writes ours again.
    AddMine();
    fs::remove(PathOf("work.dat"));
    msgs.answers = {MsgResult::Yes, MsgResult::Yes};
    EXPECT_TRUE(ed.AskToSaveOnExit());
    EXPECT_EQ(Read("work.dat"), "T01w\r\nC01W\r\nT01theirs\r\nC01Theirs\r\nT01mine\r\nC01Mine\r\nD012\r\n");
}

TEST_F(SharedFolderTest, ARenameByTheWindowItselfIsNoOtherWritersChange) {
    ed.SchemeName = "renamed";
    ed.RenameScheme();
    EXPECT_EQ(Read("renamed.dat"), kTheirsBefore);
    // The implicit save writes the scheme's old name again, as it always did, and asks no more.
    AddMine();
    msgs.answers = {MsgResult::Yes};
    EXPECT_TRUE(ed.AskToSaveOnClose());
    EXPECT_EQ(Asked(0), "Save button configuration?|");
    EXPECT_EQ(Read("work.dat"), "T01w\r\nC01W\r\nT01mine\r\nC01Mine\r\nD012\r\n");
}

TEST_F(SharedFolderTest, AHalfWrittenSchemeIsNeverShownHalf) {
    // Another program writes work.dat in pieces while the window reads it.
    const Strings pieces{"C01W\r\n", "T01w\r\n", "C01Theirs\r\n", "T01theirs\r\n", "D012\r\n"};
    Write("work.dat", pieces[0]);
    std::size_t next = 1;
    writer = [&] {
        if (next < pieces.size()) std::ofstream(PathOf("work.dat"), std::ios::binary | std::ios::app) << pieces[next++];
    };
    msgs.answers = {MsgResult::No};
    Pick("work");
    EXPECT_EQ(ed.Captions.items, (Strings{"W", "Theirs"}));
    EXPECT_EQ(ed.Eol, 2);
    EXPECT_EQ(ed.LoadedScheme.content, kTheirs);
}

TEST_F(SharedFolderTest, TheWindowFollowsTheFolderButNeverOverAnUnsavedEdit) {
    Write("new.dat", "D010\r\n");
    fs::remove(PathOf("other.dat"));
    Write("work.dat", kTheirs);
    EXPECT_TRUE(Follow());
    std::vector<std::string> names = ed.Schemes.items;
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (Strings{"new", "work"}));
    EXPECT_EQ(ed.Schemes.index, ed.Schemes.IndexOf("work"));  // the selection stays on its name
    EXPECT_EQ(ed.Captions.items, (Strings{"W", "Theirs"}));
    EXPECT_EQ(ed.Status, "work was changed on disk: its buttons are shown as saved now");
    EXPECT_FALSE(Follow());  // nothing new

    AddMine();
    Write("work.dat", kTheirsBefore);
    EXPECT_FALSE(Follow());
    EXPECT_EQ(ed.Captions.items, (Strings{"W", "Theirs", "Mine"}));
    ed.SchemeName = "work";
    msgs.answers = {MsgResult::Cancel};
    ed.Save();
    EXPECT_EQ(msgs.LastText() + "|", kQuestion);
}

TEST_F(SharedFolderTest, EveryEditCountsAndFollowingNeverWaitsOnTheWindowsThread) {
    // An end-of-line choice alone, or a deleted button, is an edit a colleague's save must
    // not undo.
    const std::function<void()> edits[] = {
        [&] {
            ed.Eol = 0;
            ed.EolClicked();
        },
        [&] {
            ed.Captions.index = ed.Texts.index = 0;
            ed.DeleteButton();
        },
    };
    for (const auto& edit : edits) {
        msgs.answers = {MsgResult::No};  // leaving an edit of the previous round unsaved
        Pick("work");
        msgs.answers.clear();
        ed.Saved = true, ed.ButtonsChanged = ed.ButtonsAdded = false;  // as right after a Save
        edit();
        EXPECT_TRUE(ed.HasUnsavedChanges());
        Write("work.dat", kTheirs);
        Follow();
        EXPECT_NE(ed.Captions.items, (Strings{"W", "Theirs"}));
        Write("work.dat", kTheirsBefore);
    }
    // Following takes one look per call and asks for the next; a held file is looked at again
    // a second later, with no box and the buttons kept, never with the thread asleep.
    msgs.answers = {MsgResult::No};
    Pick("work");
    ed.Pause = [](int) { ADD_FAILURE() << "the window's thread slept"; };
    Write("work.dat", kTheirs);
    files.held = true;
    const std::size_t boxes = msgs.shown.size();
    std::set<unsigned> later;
    for (int i = 0; i < 2 * SteadySchemeRead::kMaxAttempts; ++i) {
        ed.FollowFolder();
        later.insert(ed.FollowAgainMs);
    }
    EXPECT_EQ(later, (std::set<unsigned>{SteadySchemeRead::kPauseMs, 1000u}));
    EXPECT_EQ(msgs.shown.size(), boxes);
    EXPECT_EQ(ed.Captions.items, (Strings{"W"}));
    files.held = false;
    Follow();
    EXPECT_EQ(ed.Captions.items, (Strings{"W", "Theirs"}));
}

TEST_F(SharedFolderTest, AHeldFileIsNeverTakenForAnotherVersionAndNoAnswerLosesButtons) {
    // A virus scanner holds work.dat, unchanged, while the user saves an added button.
    AddMine();
    files.held = true;
    const std::size_t before = msgs.shown.size();
    ed.SchemeName = "work";
    ed.Save();
    ASSERT_EQ(msgs.shown.size(), before + 1);
    EXPECT_EQ(msgs.shown.back().buttons, MsgButtons::OK);
    EXPECT_NE(msgs.shown.back().text.find("in use by another program"), std::string::npos);
    EXPECT_EQ(Asked(before).find("someone else"), std::string::npos);
    // Every answer of the questions on the way out keeps both the file and the edit.
    for (MsgResult answer : {MsgResult::Yes, MsgResult::Cancel}) {
        msgs.answers = {answer};
        EXPECT_FALSE(ed.AskToSaveOnClose());
        EXPECT_EQ(Read("work.dat"), kTheirsBefore);
        EXPECT_EQ(ed.Captions.items, (Strings{"W", "Mine"}));
        EXPECT_TRUE(ed.HasUnsavedChanges());
    }
    files.held = false;
    ed.Save();
    EXPECT_EQ(Read("work.dat"), "C01W\r\nT01w\r\nC01Mine\r\nT01mine\r\nD012\r\n");

    // Held when it was picked: the lists do not hold its buttons, so nothing is written over it.
    files.held = true;
    EXPECT_THROW(Pick("other"), EInOutError);
    AddMine();
    for (const char* name : {"other", "copyof"}) {  // nor under another name
        ed.SchemeName = name;
        ed.Save();
        EXPECT_NE(msgs.LastText().find("could not be read"), std::string::npos);
    }
    files.held = false;
    EXPECT_EQ(Read("other.dat"), "D012\r\n");
    EXPECT_FALSE(fs::exists(PathOf("copyof.dat")));
}

// A version saved while a question is open is asked about too, and the status tells of the
// scheme it is about.
TEST_F(SharedFolderTest, AVersionSavedWhileTheQuestionIsOpenIsAskedAbout) {
    AddMine();
    Write("work.dat", kTheirs);
    int asked = 0;
    ed.BeforeMessage = [&] {
        if (++asked == 2) Write("work.dat", "C01Newer\r\nT01n\r\nD012\r\n");
    };
    msgs.answers = {MsgResult::Yes, MsgResult::Yes, MsgResult::No};
    Pick("other");  // "Save ... for work?" Yes; "Replace theirs?" Yes (a newer one comes); No
    EXPECT_EQ(Asked(0), "Save button configuration for work?|" + std::string(kQuestion) + kQuestion);
    EXPECT_EQ(Read("work.dat"), "C01Newer\r\nT01n\r\nD012\r\n");
    EXPECT_EQ(ed.Status, "Not saved - work keeps the version saved by someone else");
    EXPECT_EQ(ed.CurrentSchemeFile, "other.dat");
}

TEST_F(SharedFolderTest, SavingOntoAnotherSchemesNameAsksAndANewSchemeNeverReplacesOne) {
    AddMine();
    msgs.answers = {MsgResult::Yes};
    ed.SchemeName = "other";
    ed.Save();
    EXPECT_EQ(msgs.LastText(), "The scheme other already exists. Replace its buttons with the ones shown here?");
    EXPECT_EQ(Read("other.dat"), "C01W\r\nT01w\r\nC01Mine\r\nT01mine\r\nD012\r\n");
    // A colleague creates "fresh" between Add's look and its write: theirs stays.
    files.beforeRename = [&](const std::string& to) {
        if (to == PathOf("fresh.dat")) Write("fresh.dat", kTheirs);
    };
    ed.SchemeName = "fresh";
    ed.AddScheme();
    EXPECT_EQ(Read("fresh.dat"), kTheirs);
    EXPECT_EQ(ed.Status, "fresh.dat File not added - File already exists");
}
