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

namespace {
// A virus scanner or a backup holds a file for a moment: Save looks this often, kPauseMs apart,
// before it says the file is in use.
constexpr int kBusyLooks = 10;
// A file that stays held while the window follows the folder is looked at again every second,
// for half a minute.
constexpr unsigned kHeldRetryMs = 1000;
constexpr int kHeldRounds = 30;
}  // namespace

void SchemeEditor::ReadForEditing(const std::string& path, SchemeSnapshot& read) {
    read = SchemeSnapshot{};
    // As before: no file (or a folder of that name) leaves the lists empty and says nothing.
    if (!files_.IsFile(path)) return;
    switch (ReadSchemeSteadily(files_, path, read, Pause)) {
    case SteadySchemeRead::Step::Missing: read = SchemeSnapshot{}; return;
    case SteadySchemeRead::Step::Failed: throw EInOutError(FormatMessage1("Cannot open file %s", path));
    default: break;
    }
}

bool SchemeEditor::WriteAndRecord(const std::string& target, const std::string& content) {
    try {
        WriteSchemeFile(target, content);
    } catch (const EInOutError&) {
        if (!files_.InUse(target)) throw;
        SayInUse(SchemeDisplayName(target));
        return false;
    }
    RecordWritten(target, content);
    return true;
}

void SchemeEditor::SayInUse(const std::string& name) {
    Status = "Not saved - " + name + " is in use by another program; your changes are kept";
    BeforeBox();
    ShowInformation("The scheme " + name +
                    " is in use by another program (a virus scanner, a backup or an editor may hold it open). "
                    "Nothing was saved and your changes are kept: save again in a moment.");
}

void SchemeEditor::RecordWritten(const std::string& target, const std::string& content) {
    // A second save does not take the first one for someone else's.
    LoadedSchemePath = target;
    LoadedScheme.exists = true;
    LoadedScheme.content = content;
    if (!files_.Stamp(target, LoadedScheme.stamp)) LoadedScheme.stamp = FileStamp{content.size(), 0};
    if (files_.SamePath(target, UnreadSchemePath)) UnreadSchemePath.clear();
}

bool SchemeEditor::ConfirmReplacingOther(const std::string& target) {
    if (!LoadedSchemePath.empty() && files_.SamePath(target, LoadedSchemePath)) return true;
    if (!files_.IsFile(target)) return true;
    const std::string name = SchemeDisplayName(target);
    BeforeBox();
    if (AskQuestion("The scheme " + name + " already exists. Replace its buttons with the ones shown here?") ==
        MsgResult::Yes)
        return true;
    Status = "Not saved - " + name + " is kept as it was";
    return false;
}

SchemeEditor::Replace SchemeEditor::ConfirmReplacingTheirs(const std::string& target) {
    const std::string name = SchemeDisplayName(target);
    // Lists read from a file that could not be read do not hold its buttons: writing them,
    // there or under another name, would pass for that scheme.
    if (!UnreadSchemePath.empty() && files_.SamePath(UnreadSchemePath, LoadedSchemePath)) {
        const std::string unread = SchemeDisplayName(UnreadSchemePath);
        Status = "Not saved - " + unread + " could not be read when it was opened";
        BeforeBox();
        ShowInformation("The scheme " + unread +
                        " could not be read when it was opened, so its buttons are not shown here. Nothing was saved, "
                        "so that none of them is lost: choose " + unread + " in the list again, then make your change.");
        return Replace::Cancel;
    }
    if (LoadedSchemePath.empty() || !files_.SamePath(target, LoadedSchemePath)) return Replace::Write;
    // What the user has agreed to replace: at first what was read; after a Yes, the version the
    // question was about. A version saved while the question was open is asked about again.
    SchemeSnapshot agreed = LoadedScheme;
    for (;;) {
        SchemeSnapshot now;
        SnapshotRead look = ReadSnapshotOnce(files_, target, now);
        for (int i = 1; look == SnapshotRead::Busy && i < kBusyLooks; ++i) {
            if (Pause) Pause(SteadySchemeRead::kPauseMs);
            look = ReadSnapshotOnce(files_, target, now);
        }
        // Held by another program (a virus scanner, a backup, an editor): nobody changed it,
        // and writing now would fail or race that program. The edit stays for a later Save.
        if (look == SnapshotRead::Busy) {
            SayInUse(name);
            return Replace::Cancel;
        }
        if (!ChangedSince(agreed, now)) return Replace::Write;
        BeforeBox();
        if (look == SnapshotRead::Missing) {
            if (AskQuestion("The scheme " + name +
                            " was deleted by someone else since you opened it. Save it again with your buttons?") !=
                MsgResult::Yes) {
                Status = "Not saved - " + name + " was deleted by someone else; your changes are still shown";
                return Replace::Cancel;
            }
            agreed = now;
            continue;
        }
        switch (AskQuestion("The scheme " + name +
                                " was changed by someone else since you opened it. Replace their version with yours?",
                            MsgButtons::YesNoCancel)) {
        case MsgResult::Yes: agreed = now; continue;
        case MsgResult::No:
            // Theirs as just read: no second read that could fail and leave nothing shown.
            ShowRead(target, now);
            Saved = true;
            ButtonsChanged = false;
            ButtonsAdded = false;
            theirsKept_ = true;
            Status = "Not saved - " + name + " now shows the version saved by someone else";
            return Replace::TheirsLoaded;
        default: return Replace::Cancel;
        }
    }
}

bool SchemeEditor::FollowFolder() {
    FollowAgainMs = 0;
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
        !files_.SamePath(LoadedSchemePath, SchemeFolder + "\\" + CurrentSchemeFile)) {
        followRead_.reset();
        return changed;
    }
    if (followRead_ && !files_.SamePath(followRead_->Path(), LoadedSchemePath)) followRead_.reset();
    if (!followRead_) {
        SchemeSnapshot now;
        const SnapshotRead look = ReadSnapshotOnce(files_, LoadedSchemePath, now);
        if (look != SnapshotRead::Busy && !ChangedSince(LoadedScheme, now)) return changed;
        followRead_ = std::make_unique<SteadySchemeRead>(files_, LoadedSchemePath);
    }
    // One look per call: the window's thread never sleeps here (a slow typing's key watch
    // waits for it), and the window looks again on its timer.
    switch (followRead_->Attempt()) {
    case SteadySchemeRead::Step::Again: FollowAgainMs = SteadySchemeRead::kPauseMs; return changed;
    case SteadySchemeRead::Step::Failed:
        followRead_.reset();
        if (++heldFollows_ < kHeldRounds) FollowAgainMs = kHeldRetryMs;
        return changed;
    case SteadySchemeRead::Step::Missing:
    case SteadySchemeRead::Step::Steady: break;
    }
    heldFollows_ = 0;
    const SchemeSnapshot read = followRead_->Result();
    followRead_.reset();
    const int caption = Captions.index, text = Texts.index;
    ShowRead(LoadedSchemePath, read);
    if (caption < Captions.Count()) Captions.index = caption;
    if (text < Texts.Count()) Texts.index = text;
    Status = SchemeDisplayName(CurrentSchemeFile) +
             (read.exists ? " was changed on disk: its buttons are shown as saved now"
                          : " was deleted on disk: it has no buttons now");
    return true;
}

}  // namespace kt
