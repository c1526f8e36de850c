// The configuration window follows its scheme folder: schemes someone adds or removes come and
// go in its list, and the scheme shown follows its file while the window holds no unsaved edit
// (with one, Save asks before it replaces the other version: SchemeEditor).
#include "config/ConfigFormDialog.h"

namespace kt {

namespace {
constexpr unsigned kBusyRetryMs = 250;  // a command (or its question) is running
}  // namespace

void TConfigForm::StartFolderWatch() {
    if (folderFollow_.Active() && folderFollow_.Folder() == Schemes.SchemeFolder) return;
    folderFollow_.Start(this, Schemes.SchemeFolder, [this] { FollowSchemeFolder(); });
}

void TConfigForm::FollowSchemeFolder() {
    folderFollow_.Hold();
    if (editing_) {
        folderFollow_.Again(kBusyRetryMs);
        return;
    }
    // A scheme Add reads the bar's folder again, which may differ from the one watched.
    if (folderFollow_.Folder() != Schemes.SchemeFolder) StartFolderWatch();
    RunEditor([this] { Schemes.FollowFolder(); });
    // The shown scheme's file is still being written, or held: one more look later.
    if (Schemes.FollowAgainMs) folderFollow_.Again(Schemes.FollowAgainMs);
}

}  // namespace kt
