#include "config/core/SchemeEditor.h"

#include <algorithm>

#include "app/core/KeySequence.h"
#include "config/core/SchemeName.h"
#include "config/core/SettingsText.h"
#include "core/Errors.h"
#include "core/MessageService.h"

namespace kt {

namespace {

std::string FileNameOf(const std::string& path) { return path.substr(path.find_last_of("\\/") + 1); }

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

// ---------------------------------------------------------------- the list

int EditorList::Add(const std::string& item) {
    items.push_back(item);
    return Count() - 1;
}

void EditorList::Delete(int i) {
    if (i < 0 || i >= Count()) throw EListError::IndexOutOfBounds(i);
    items.erase(items.begin() + i);
    if (i == index) index = -1;
    else if (i < index) --index;
}

int EditorList::IndexOf(const std::string& item) const {
    for (int i = 0; i < Count(); ++i) {
        const std::string& a = items[static_cast<std::size_t>(i)];
        if (a.size() == item.size() &&
            std::equal(a.begin(), a.end(), item.begin(), [](char x, char y) { return LowerAscii(x) == LowerAscii(y); }))
            return i;
    }
    return -1;
}

// ---------------------------------------------------------------- closing

bool SchemeEditor::AskToSaveOnClose() {
    if (!HasUnsavedChanges()) return true;
    BeforeBox();
    // Cancel keeps the window and its edits, as it keeps the program on the way out.
    switch (AskQuestion("Save button configuration?", MsgButtons::YesNoCancel)) {
    case MsgResult::Yes: return SaveToFile();
    case MsgResult::No: DropUnsavedButtons(); return true;
    default: return false;
    }
}

// The window is only hidden: what No gives up must not show again when it opens.
void SchemeEditor::DropUnsavedButtons() {
    ButtonsAdded = false;
    ButtonsChanged = false;
    Saved = true;
    Caption.clear();
    Text.clear();
    if (CurrentSchemeFile.empty() || !files_.IsFile(SchemeFolder + "\\" + CurrentSchemeFile)) {
        Captions.Clear();
        Texts.Clear();
        TextKeys.clear();
        return;
    }
    LoadButtons(SchemeFolder + "\\" + CurrentSchemeFile);
}

bool SchemeEditor::AskToSaveOnExit() {
    if (!HasUnsavedChanges()) return true;
    BeforeBox();
    switch (AskQuestion("Save button configuration?", MsgButtons::YesNoCancel)) {
    case MsgResult::Yes: return SaveToFile();
    case MsgResult::No: return true;
    default: return false;
    }
}

// ---------------------------------------------------------------- scheme files

std::string SchemeEditor::SchemePathOrRefuse(const std::string& name) {
    if (!IsUsableFolder(SchemeFolder)) {
        Status = "No scheme folder is set - nothing was written";
        return {};
    }
    const std::string problem = SchemeNameProblem(name);
    if (!problem.empty()) {
        Status = problem;
        return {};
    }
    return SchemeFolder + "\\" + name + ".dat";
}

ButtonScheme SchemeEditor::CurrentButtons() const {
    ButtonScheme scheme;
    scheme.captions = Captions.items;
    scheme.texts = Texts.items;
    scheme.keys = TextKeys;
    scheme.keys.resize(scheme.texts.size());
    scheme.eol = Eol;
    return scheme;
}

void SchemeEditor::LoadSchemeList() {
    if (Bar.schemeFolder) SchemeFolder = Bar.schemeFolder();
    if (Bar.enterFolder) Bar.enterFolder(SchemeFolder);
    const std::vector<std::string> names = ListSchemeNames(SchemeFolder);
    Schemes.items.insert(Schemes.items.end(), names.begin(), names.end());
    SchemeName = SchemeDisplayName(CurrentSchemeFile);
}

void SchemeEditor::LoadButtons(const std::string& path) {
    SchemeSnapshot read;
    try {
        ReadForEditing(path, read);
    } catch (...) {
        ShowRead(path, SchemeSnapshot{});
        UnreadSchemePath = path;
        throw;
    }
    ShowRead(path, read);
}

void SchemeEditor::ShowRead(const std::string& path, const SchemeSnapshot& read) {
    Captions.Clear();
    Texts.Clear();
    TextKeys.clear();
    PartialSchemePath.clear();
    PartialSchemeCut.clear();
    UnreadSchemePath.clear();
    LoadedSchemePath = path;
    LoadedScheme = read;
    ButtonScheme scheme;
    scheme.eol = Eol;
    // A bad end-of-line line stops the reading; what was read before it stays in the lists.
    // Whatever the reader left out is said in the status line and remembered for Save.
    auto fill = [&] {
        // The window edits schemes of ten buttons: a file of thousands is shown in part, like
        // any file read in part, instead of making the window unusable for seconds.
        const std::size_t total = std::max(scheme.captions.size(), scheme.texts.size());
        if (total > kListedButtonLimit) {
            scheme.captions.resize(std::min(scheme.captions.size(), kListedButtonLimit));
            scheme.texts.resize(std::min(scheme.texts.size(), kListedButtonLimit));
            scheme.cut += (scheme.cut.empty() ? "" : "; ") + std::string("only the first ") +
                          std::to_string(kListedButtonLimit) + " of " + std::to_string(total) + " buttons shown";
        }
        Captions.items.insert(Captions.items.end(), scheme.captions.begin(), scheme.captions.end());
        Texts.items.insert(Texts.items.end(), scheme.texts.begin(), scheme.texts.end());
        TextKeys = scheme.keys;
        TextKeys.resize(Texts.items.size());
        // Texts without a caption line are buttons with an empty caption: shown, so that the
        // user sees them, and paired, so that a Save writes every one of them.
        if (Texts.Count() > Captions.Count()) {
            const std::size_t unpaired = Texts.items.size() - Captions.items.size();
            Captions.items.resize(Texts.items.size());
            Status = std::to_string(unpaired) + (unpaired == 1 ? " text has" : " texts have") +
                     " no caption in the file: shown as buttons with an empty caption";
        }
        Eol = scheme.eol;
        if (!scheme.cut.empty()) {
            PartialSchemePath = path;
            PartialSchemeCut = scheme.cut;
            Status = "Partly loaded: " + scheme.cut;
        }
    };
    try {
        if (read.exists) ReadSchemeText(read.content, scheme, {}, path);
    } catch (...) {
        fill();
        throw;
    }
    fill();
}

bool SchemeEditor::SaveToFile() {
    const std::string target = SchemeFolder + "\\" + CurrentSchemeFile;
    if (Bar.enterFolder) Bar.enterFolder(SchemeFolder);
    // With no scheme current the target is the folder itself; a name that is not a plain
    // file name in the folder is never written either, nor is a folder that is only a drive.
    if (CurrentSchemeFile.empty() || !IsSafeSchemeName(SchemeDisplayName(CurrentSchemeFile)) ||
        !IsUsableFolder(SchemeFolder))
        throw EInOutError(FormatMessage1("Cannot create file %s", target));
    // The question about another writer's version comes last: nothing can change unasked
    // between it and the write.
    if (!ConfirmReplacingPartial(target)) return false;
    switch (ConfirmReplacingTheirs(target)) {
    case Replace::Cancel: return false;
    case Replace::TheirsLoaded: return true;  // the edit is gone, as after No
    case Replace::Write: break;
    }
    if (!WriteAndRecord(target, FormatSchemeImplicit(CurrentButtons()))) return false;
    PartialSchemePath.clear();
    Saved = true;
    return true;
}

// "home.dat.bak", or "home.dat.2.bak"... when that exists: never ".dat" at the end, so a
// backup is never listed as a scheme, and an older backup is never replaced.
std::string SchemeEditor::BackupPathFor(const std::string& path) {
    std::string backup = path + ".bak";
    for (int n = 2; files_.Exists(backup); ++n) backup = path + "." + std::to_string(n) + ".bak";
    return backup;
}

bool SchemeEditor::ConfirmReplacingPartial(const std::string& target) {
    if (PartialSchemePath.empty() || !files_.SamePath(target, PartialSchemePath) || !files_.IsFile(target))
        return true;
    const std::string name = FileNameOf(target);
    const std::string backup = BackupPathFor(target);
    BeforeBox();
    if (AskQuestion(name + " was not read in whole (" + PartialSchemeCut +
                    "). Saving replaces it with the buttons shown here.\r\n\r\nReplace it and keep the old file as " +
                    FileNameOf(backup) + "?") != MsgResult::Yes) {
        Status = "Not saved - " + name + " is kept as it was";
        return false;
    }
    if (!files_.CopyToNew(target, backup)) throw EInOutError(FormatMessage1("Cannot create file %s", backup));
    return true;
}

// ---------------------------------------------------------------- scheme group

void SchemeEditor::SchemeClicked() {
    Status.clear();
    const bool selected = Schemes.HasSelection();
    std::string item;
    if (selected) {
        item = Schemes.items[static_cast<std::size_t>(Schemes.index)];
        SelectedSchemePath = SchemeFolder + "\\" + item + ".dat";
        SchemeName = item;
    }
    if (HasUnsavedChanges()) {
        BeforeBox();
        if (AskQuestion("Save button configuration for " + SchemeDisplayName(CurrentSchemeFile) + "?") ==
            MsgResult::Yes) {
            theirsKept_ = false;
            const bool saved = SaveToFile();
            // The other writer's version was kept: said of that scheme, not of the one shown next.
            if (theirsKept_) Status = "Not saved - " + SchemeDisplayName(CurrentSchemeFile) +
                                      " keeps the version saved by someone else";
            if (!saved) {
                // The previous scheme stays in the window, unsaved, and stays selected.
                SelectedSchemePath = SchemeFolder + "\\" + CurrentSchemeFile;
                SchemeName = SchemeDisplayName(CurrentSchemeFile);
                Schemes.index = Schemes.IndexOf(SchemeDisplayName(CurrentSchemeFile));
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
    LoadButtons(SchemeFolder + "\\" + item + ".dat");
}

void SchemeEditor::SchemeListLeft() {
    const std::string text = SchemeName;
    if (text.empty()) return;
    for (const std::string& item : Schemes.items)
        if (item == text) return;
    // A name the list takes may become a file name later: refuse it now.
    if (const std::string problem = SchemeNameProblem(text); !problem.empty()) {
        Status = problem;
        return;
    }
    // Nothing is asked and nothing is listed: only Add makes a scheme, and the focus moves on.
    Status = text + " is not a scheme yet - Add makes it";
}

void SchemeEditor::AddScheme() {
    Status.clear();
    const std::string name = SchemeName;
    if (name.empty()) return;
    const std::string target = SchemePathOrRefuse(name);
    if (target.empty()) return;
    CurrentSchemeFile = name + ".dat";
    if (Bar.nextScheme) Bar.nextScheme(CurrentSchemeFile);
    if (files_.Exists(target)) {
        Status = CurrentSchemeFile + " File not added - File already exists";
        return;
    }
    if (Bar.enterFolder) Bar.enterFolder(SchemeFolder);
    // Made only where nothing is yet: a colleague who created the same name a moment ago
    // keeps their scheme.
    ButtonScheme empty;
    empty.eol = Eol;
    const std::string content = FormatSchemeImplicit(empty);
    if (!WriteNewSchemeFile(target, content)) {
        Status = CurrentSchemeFile + " File not added - File already exists";
        return;
    }
    Captions.Clear();
    Texts.Clear();
    TextKeys.clear();
    PartialSchemePath.clear();
    Caption.clear();
    Text.clear();
    RecordWritten(target, content);
    Saved = true;
    Schemes.index = Schemes.Add(name);
    if (Bar.storeNewScheme) Bar.storeNewScheme(SchemeFolder, CurrentSchemeFile);
    Status = CurrentSchemeFile + " File Added";
    Notify(Bar.reloadSchemeList);
    SchemeName.clear();
    Schemes.Clear();
    LoadSchemeList();
}

void SchemeEditor::CopyScheme() {
    const std::string source = SelectedSchemePath;
    const std::string name = SchemeName;
    // No name, no copy: the target would be a file named ".dat" (Add refuses it the same way).
    if (name.empty()) return;
    const std::string target = SchemePathOrRefuse(name);
    if (target.empty() || source.empty()) return;
    if (files_.Exists(target)) {
        Status = name + ".dat File not copied - File already exists";
        return;
    }
    // The whole source is read before the target is made; the target appears only once every
    // byte is written, and a failed copy leaves nothing behind and is not listed.
    std::string content;
    switch (files_.ReadWhole(source, content)) {
    case SchemeFileSystem::ReadResult::CannotOpen: throw EInOutError(FormatMessage1("Cannot open file %s", source));
    case SchemeFileSystem::ReadResult::CannotRead: throw EInOutError(FormatMessage1("Cannot read file %s", source));
    case SchemeFileSystem::ReadResult::Read: break;
    }
    // Never over a scheme a colleague has just made under that name.
    if (!WriteNewSchemeFile(target, content)) {
        Status = name + ".dat File not copied - File already exists";
        return;
    }
    Schemes.Add(name);
    Notify(Bar.reloadSchemeList);
}

void SchemeEditor::RenameScheme() {
    const std::string name = SchemeName;
    if (!SelectedSchemePath.empty() && !name.empty()) {
        const std::string target = SchemePathOrRefuse(name);
        if (target.empty()) return;
        if (!files_.Exists(SelectedSchemePath)) {
            BeforeBox();
            ShowMessage("Cannot modify filename as the old filename does not exist.");
            return;
        }
        // Never onto an existing file: the rename must not replace another scheme.
        if (!files_.RenameToNew(SelectedSchemePath, target)) throw Exception("Unable to modify filename.");
        // The window moved the file it read itself: what is (not) there now is nobody else's.
        if (files_.SamePath(SelectedSchemePath, LoadedSchemePath)) LoadedScheme = SchemeSnapshot{};
        // The selected scheme is the renamed file now: Copy copies it.
        const std::string oldFile = FileNameOf(SelectedSchemePath);
        SelectedSchemePath = target;
        if (Bar.renamedScheme) Bar.renamedScheme(oldFile, name + ".dat");
    } else if (!name.empty() && !IsSafeSchemeName(name)) {
        // The list takes the name below; an unsafe one must not reach it.
        SchemePathOrRefuse(name);
        return;
    }
    ButtonsChanged = true;
    if (Schemes.HasSelection()) {
        Schemes.items[static_cast<std::size_t>(Schemes.index)] = name;
        Notify(Bar.reloadSchemeList);
    }
    Saved = true;
}

void SchemeEditor::DeleteScheme() {
    Status.clear();
    if (!Schemes.HasSelection()) {
        const char* text = "No filename currently selected to delete.";
        ListMessage = text;
        Status = text;
        return;
    }
    const std::string name = SchemeName;
    const std::string target = SchemePathOrRefuse(name);
    if (target.empty()) return;
    CurrentSchemeFile = name + ".dat";
    if (!files_.IsFile(target)) {
        Status = "Delete cancelled";
    } else {
        BeforeBox();
        if (AskQuestion("Do you really want to delete " + SchemeDisplayName(CurrentSchemeFile) + "?") ==
            MsgResult::Yes) {
            // The file goes first: when it cannot be deleted, the list still shows it.
            if (!files_.RemoveFile(target)) throw EInOutError(FormatMessage1("Cannot delete file %s", target));
            if (files_.SamePath(target, LoadedSchemePath)) LoadedScheme = SchemeSnapshot{};
            // The file deleted is the one named in the box, not always the one selected: the
            // list is read again, so it shows the schemes that are there.
            Schemes.Clear();
            const std::vector<std::string> names = ListSchemeNames(SchemeFolder);
            Schemes.items.assign(names.begin(), names.end());
            SchemeName.clear();
            Notify(Bar.reloadSchemeList);
            Notify(Bar.reopenScheme);
            Status = "Item deleted.";
        }
    }
    CurrentSchemeFile = SchemeName + ".dat";
}

// ---------------------------------------------------------------- button group

void SchemeEditor::SelectButton(const EditorList& clicked) {
    Status.clear();
    ModifyMode = false;
    const int i = clicked.index;
    if (i < 0) return;
    if (i < Captions.Count()) {
        Captions.index = i;
        Caption = Captions.items[static_cast<std::size_t>(i)];
    }
    if (i < Texts.Count()) {
        Texts.index = i;
        Text = Texts.items[static_cast<std::size_t>(i)];
        Keys = IsKeysText(i);
    }
}

bool SchemeEditor::RefuseBadKeys() {
    if (!Keys) return false;
    const KeySequence sequence = ParseKeySequence(Text);
    if (sequence.Ok()) return false;
    Status = "ERROR: " + sequence.error;
    return true;
}

void SchemeEditor::AddButton() {
    Status.clear();
    const std::string caption = Caption, text = Text;
    if (caption.empty() || text.empty()) {
        Status = "ERROR: Caption and/or text is blank";
        return;
    }
    if (RefuseBadKeys()) return;
    if (Captions.Count() >= kMaxButtons) {
        BeforeBox();
        ShowInformation("A button scheme holds at most 10 buttons. The button was not added.");
        return;
    }
    ButtonsAdded = true;
    Saved = false;
    Captions.Add(caption);
    TextKeys.resize(Texts.items.size());
    TextKeys.push_back(Keys);
    const int last = Texts.Add(text);
    Captions.index = Captions.Count() - 1;
    Texts.index = last;
    CaptionClicked();
    Status = "Item added.";
}

void SchemeEditor::ModifyButton() {
    if (RefuseBadKeys()) return;
    ButtonsChanged = true;
    Saved = false;
    ModifyMode = true;
    if (Captions.HasSelection()) Captions.items[static_cast<std::size_t>(Captions.index)] = Caption;
    if (Texts.HasSelection()) {
        Texts.items[static_cast<std::size_t>(Texts.index)] = Text;
        TextKeys.resize(Texts.items.size());
        TextKeys[static_cast<std::size_t>(Texts.index)] = Keys;
    }
    Status = "Item modified.";
}

void SchemeEditor::DeleteButton() {
    Status.clear();
    Saved = false;
    const int i = Captions.index;
    if (i < 0) {
        const char* text = "Cannot delete - nothing selected.";
        BeforeBox();
        ShowInformation(text);
        Status = text;
        return;
    }
    ButtonsChanged = true;
    Captions.Delete(i);
    // Only a file with fewer texts than captions leaves the text list without a selection.
    if (const int t = Texts.index; t >= 0) {
        Texts.Delete(t);
        if (t < static_cast<int>(TextKeys.size())) TextKeys.erase(TextKeys.begin() + t);
    }
    Captions.index = -1;
    Texts.index = -1;
    Status = "Item deleted.";
    Notify(Bar.reloadSchemeList);
}

void SchemeEditor::Save() {
    const std::string name = SchemeName;
    if (name.empty()) {
        Status = "Nothing selected";
        return;
    }
    const std::string target = SchemePathOrRefuse(name);
    if (target.empty()) return;
    const ButtonScheme scheme = CurrentButtons();
    // Every caption needs its text: the lists are written in pairs.
    if (scheme.texts.size() < scheme.captions.size())
        throw EListError(std::string(EListError::IndexOutOfBounds(static_cast<long long>(scheme.texts.size())).what()) +
                         "\r\nThe scheme " + name + " has " + std::to_string(scheme.captions.size()) +
                         " captions but only " + std::to_string(scheme.texts.size()) +
                         " texts: give every caption its text before saving. Nothing was saved");
    if (!ConfirmReplacingOther(target)) return;
    if (!ConfirmReplacingPartial(target)) return;
    if (ConfirmReplacingTheirs(target) != Replace::Write) return;
    CurrentSchemeFile = name + ".dat";
    if (!WriteAndRecord(target, FormatSchemeForSave(scheme))) return;
    if (files_.SamePath(target, PartialSchemePath)) PartialSchemePath.clear();
    Saved = true;
    Notify(Bar.reloadSchemeList);
    Notify(Bar.reloadButtons);
    Notify(Bar.reopenScheme);
    Status = "File saved";
    ButtonsChanged = false;
    ButtonsAdded = false;
}

}  // namespace kt
