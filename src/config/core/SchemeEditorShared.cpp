// The scheme editor in a scheme folder that others write to as well: what the window read is
// remembered, a save never silently replaces another writer's version, and the window follows
// the folder when it has nothing unsaved.
#include <algorithm>

#include "config/core/SchemeEditor.h"
#include "core/Errors.h"
#include "core/MessageService.h"

namespace kt {

namespace {
std::vector<std::string> Sorted(std::vector<std::string> v) {
    std::sort(v.begin(), v.end());
    return v;
}
}  // namespace

void SchemeEditor::ReadForEditing(const std::string& path, ButtonScheme& scheme) {
    scheme.captions.clear();
    scheme.texts.clear();
    scheme.cut.clear();
    LoadedSchemePath = path;
    LoadedScheme = SchemeSnapshot{};
    // As before: no file (or a folder of that name) leaves the lists empty and says nothing.
    if (!files_.IsFile(path)) return;
    SchemeSnapshot read;
    switch (ReadSchemeSteadily(files_, path, read, Pause)) {
    case SteadySchemeRead::Step::Missing: return;
    case SteadySchemeRead::Step::Failed: throw EInOutError(FormatMessage1("Cannot open file %s", path));
    default: break;
    }
    LoadedScheme = read;
    ReadSchemeText(read.content, scheme, {}, path);
}

void SchemeEditor::WriteAndRecord(const std::string& target, const std::string& content) {
    WriteSchemeFile(target, content);
    // From now on the window's own version is what it "read": a second save does not take
    // the first one for someone else's.
    LoadedSchemePath = target;
    LoadedScheme.exists = true;
    LoadedScheme.content = content;
    if (!files_.Stamp(target, LoadedScheme.stamp)) LoadedScheme.stamp = FileStamp{content.size(), 0};
}

SchemeEditor::Replace SchemeEditor::ConfirmReplacingTheirs(const std::string& target) {
    if (LoadedSchemePath.empty() || !files_.SamePath(target, LoadedSchemePath)) return Replace::Write;
    SchemeSnapshot now;
    // A file that cannot be read just now is being written by someone: that is a change too.
    if (ReadSnapshotOnce(files_, target, now) != SnapshotRead::Busy && !ChangedSince(LoadedScheme, now))
        return Replace::Write;
    const std::string name = SchemeDisplayName(target);
    BeforeBox();
    switch (AskQuestion("The scheme " + name +
                            " was changed by someone else since you opened it. Replace their version with yours?",
                        MsgButtons::YesNoCancel)) {
    case MsgResult::Yes: return Replace::Write;
    case MsgResult::No:
        LoadButtons(target);
        Saved = true;
        ButtonsChanged = false;
        ButtonsAdded = false;
        Status = "Not saved - " + name + " now shows the version saved by someone else";
        return Replace::TheirsLoaded;
    default: return Replace::Cancel;
    }
}

bool SchemeEditor::FollowFolder() {
    bool changed = false;
    std::vector<std::string> names = ListSchemeNames(SchemeFolder);
    if (Sorted(names) != Sorted(Schemes.items)) {
        const std::string selected = Schemes.HasSelection() ? Schemes.items[static_cast<std::size_t>(Schemes.index)] : "";
        Schemes.items = std::move(names);
        const auto at = std::find(Schemes.items.begin(), Schemes.items.end(), selected);
        Schemes.index = selected.empty() || at == Schemes.items.end() ? -1 : static_cast<int>(at - Schemes.items.begin());
        changed = true;
    }
    // An unsaved edit is never replaced: Save asks about the other version then.
    if (HasUnsavedChanges() || LoadedSchemePath.empty() || CurrentSchemeFile.empty() ||
        !files_.SamePath(LoadedSchemePath, SchemeFolder + "\\" + CurrentSchemeFile))
        return changed;
    SchemeSnapshot now;
    if (ReadSnapshotOnce(files_, LoadedSchemePath, now) != SnapshotRead::Busy && !ChangedSince(LoadedScheme, now))
        return changed;
    const int caption = Captions.index, text = Texts.index;
    LoadButtons(LoadedSchemePath);
    if (caption < Captions.Count()) Captions.index = caption;
    if (text < Texts.Count()) Texts.index = text;
    Status = SchemeDisplayName(CurrentSchemeFile) + " was changed on disk: its buttons are shown as saved now";
    return true;
}

}  // namespace kt
