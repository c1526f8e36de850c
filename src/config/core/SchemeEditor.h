// The rules of the configuration window's scheme editing, without the window: the scheme list,
// the current scheme's buttons and end of line, what is unsaved, the scheme commands (add,
// copy, rename, delete), the button commands (add, modify, delete) and Save with its questions.
//
// The editor holds what the window's controls show; the window copies the controls into it
// before a command and back after it (and before every question, through BeforeMessage), so
// every rule here is the same in the window and in a test. Files go through the
// SchemeFileSystem given at construction; questions and messages through the MessageService.
// A command that fails throws, as the window's handlers do: the error box shows it.
#pragma once
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/core/SchemeFile.h"
#include "app/core/SchemeSnapshot.h"

namespace kt {

// A list as a list box holds it: its items and the selected one (-1: none).
struct EditorList {
    std::vector<std::string> items;
    int index = -1;

    int Count() const { return static_cast<int>(items.size()); }
    bool HasSelection() const { return index >= 0 && index < Count(); }
    int Add(const std::string& item);
    // Deleting the selected item leaves none selected; one above it moves the selection up.
    void Delete(int i);
    void Clear() { items.clear(), index = -1; }
    int IndexOf(const std::string& item) const;  // ASCII letters in any case, as list boxes look up
};

// What the editor asks of the bar beside it. Any of them may be left empty.
struct SchemeEditorBar {
    std::function<std::string()> schemeFolder;                   // the bar's scheme folder
    std::function<void(const std::string& fileName)> nextScheme; // the scheme the bar opens next
    // A new scheme was made: the folders and its file name are stored for the next start.
    std::function<void(const std::string& folder, const std::string& fileName)> storeNewScheme;
    std::function<void()> reloadSchemeList;  // the bar's chooser reads the folder again
    std::function<void()> reloadButtons;     // the bar reads its button assignment again
    std::function<void()> reopenScheme;      // the bar loads the scheme its chooser names
    // A scheme file was renamed: the bar follows when it is the one it shows.
    std::function<void(const std::string& oldFile, const std::string& newFile)> renamedScheme;
    // The process's current folder follows the scheme folder (relative names in the bar).
    std::function<void(const std::string& folder)> enterFolder;
};

class SchemeEditor {
public:
    static constexpr int kMaxButtons = 10;
    // Most buttons of a scheme file the lists show; a longer file counts as loaded in part.
    static constexpr std::size_t kListedButtonLimit = 1000;

    explicit SchemeEditor(SchemeFileSystem& files) : files_(files) {}

    SchemeEditorBar Bar;
    // Called before every question and message box: the window shows the state first.
    std::function<void()> BeforeMessage;

    // ---- What the window shows.
    EditorList Schemes;        // the scheme list (names without ".dat")
    std::string SchemeName;    // the scheme name box
    std::string ListMessage;   // the small label above the scheme list
    EditorList Captions, Texts;
    std::string Caption, Text; // the two button boxes
    int Eol = kEolTab;
    std::string Status;        // the window's status line
    // Per entry of Texts, whether it is a keys-in-braces text; and the check box that says it
    // for the button being added or modified.
    std::vector<bool> TextKeys;
    bool Keys = false;
    bool IsKeysText(int i) const { return i >= 0 && i < static_cast<int>(TextKeys.size()) && TextKeys[static_cast<std::size_t>(i)]; }

    // ---- Editing state.
    std::string SchemeFolder;       // the bar's scheme folder, copied when the list is loaded
    std::string CurrentSchemeFile;  // scheme name + ".dat" of the buttons in the lists
    std::string SelectedSchemePath; // full path of the scheme last selected in the list
    bool ButtonsAdded = false;
    bool ButtonsChanged = false;
    bool Saved = true;
    bool ModifyMode = false;        // set by Modify, cleared by selecting a button; nothing reads it
    // The scheme file last loaded in part and what was left out of it: writing over that file
    // would lose the rest, so Save asks first and keeps the old file as a backup.
    std::string PartialSchemePath;
    std::string PartialSchemeCut;
    // The scheme folder may be shared: the file the lists were read from, as it was read (or
    // as this window last wrote it). Save compares the file with it before writing.
    std::string LoadedSchemePath;
    SchemeSnapshot LoadedScheme;
    // A scheme whose file could not be read when it was chosen (held by another program): the
    // lists do not show its buttons, so nothing may be written over it until it is read.
    std::string UnreadSchemePath;
    // After FollowFolder: when to look again (ms), while the shown scheme's file is still
    // being written or is held; 0 when nothing is pending. The window's thread never waits.
    unsigned FollowAgainMs = 0;
    // The pause between two looks at a file that another program is still writing.
    std::function<void(int ms)> Pause = SleepMilliseconds;

    // Every edit counts: a button added, changed or deleted, and the end of line.
    bool HasUnsavedChanges() const { return (ButtonsAdded || ButtonsChanged) && !Saved; }
    // Closing the window: Yes saves. False when the window must stay open (a failed save, or
    // a file loaded in part the user chose to keep).
    bool AskToSaveOnClose();
    // The program is about to end: Yes saves, No discards; false (Cancel, or a save that
    // failed) keeps the program running.
    bool AskToSaveOnExit();

    // Adds the bar's scheme folder's schemes to the list; the name box shows the current one.
    void LoadSchemeList();
    // Fills the button lists and the end of line from the file at `path`.
    void LoadButtons(const std::string& path);
    // Writes the lists to the current scheme (text line first). False when the user chose to
    // keep a file that was loaded in part: nothing was written.
    bool SaveToFile();
    // The scheme in the lists, as the writers take it.
    ButtonScheme CurrentButtons() const;

    // Scheme group.
    void SchemeClicked();   // a click in the scheme list
    void SchemeListLeft();  // the focus left the scheme list
    void AddScheme();
    void CopyScheme();
    void RenameScheme();
    void DeleteScheme();

    // Button group.
    void CaptionClicked() { SelectButton(Captions); }
    void TextClicked() { SelectButton(Texts); }
    void AddButton();
    void ModifyButton();
    void DeleteButton();
    void EolClicked() {
        ButtonsChanged = true;
        Saved = false;
    }
    void Save();

    // The scheme folder changed on disk: the scheme list follows its files, and the shown
    // scheme follows its file when the window holds no unsaved edit. True when anything
    // shown changed.
    bool FollowFolder();

private:
    SchemeFileSystem& files_;

    void SelectButton(const EditorList& clicked);
    // No at closing: the lists show the current scheme's file again, nothing unsaved.
    void DropUnsavedButtons();
    // With Keys checked, a text that does not parse is refused in the status line: true.
    bool RefuseBadKeys();
    // The path of scheme `name` in the scheme folder; an unsafe name is refused in the status
    // line and yields an empty text.
    std::string SchemePathOrRefuse(const std::string& name);
    // True when `target` may be written now. A file loaded in part is replaced only after the
    // user agrees; its old content is then copied beside it first.
    bool ConfirmReplacingPartial(const std::string& target);
    std::string BackupPathFor(const std::string& path);
    // Before `target` is written over: when it is the file the lists were read from and
    // someone else changed it since, the user chooses: write ours (Write), load theirs and
    // drop the edit (TheirsLoaded) or do nothing (Cancel). A file held by another program is
    // not a change: nothing is written, the edit stays, and the user is told to save again.
    enum class Replace { Write, TheirsLoaded, Cancel };
    Replace ConfirmReplacingTheirs(const std::string& target);
    // Before Save writes a scheme other than the one the lists came from: true when no such
    // file is there, or the user agrees to replace it.
    bool ConfirmReplacingOther(const std::string& target);
    // Writes `target`; false, with the user told and the edit kept, when another program holds
    // the file so that it cannot be replaced.
    bool WriteAndRecord(const std::string& target, const std::string& content);
    void SayInUse(const std::string& name);
    bool theirsKept_ = false;  // the last question about another version was answered No
    // From now on the window's own version is what it "read" of `target`.
    void RecordWritten(const std::string& target, const std::string& content);
    // Reads a scheme for the lists (never half-written); throws when it cannot be read.
    void ReadForEditing(const std::string& path, SchemeSnapshot& read);
    // Shows the buttons of `read` (the file at `path`) and remembers what was read.
    void ShowRead(const std::string& path, const SchemeSnapshot& read);
    // The shown scheme's file being read again after a change on disk, one look per call.
    std::unique_ptr<SteadySchemeRead> followRead_;
    int heldFollows_ = 0;
    void Notify(const std::function<void()>& hook) const {
        if (hook) hook();
    }
    void BeforeBox() const { Notify(BeforeMessage); }
};

}  // namespace kt
