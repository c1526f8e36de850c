// The configuration window follows its scheme folder: schemes someone adds or removes come and
// go in its list, and the scheme shown follows its file while the window holds no unsaved edit
// (with one, Save asks before it replaces the other version: SchemeEditor).
#include "config/ConfigFormDialog.h"

namespace kt {

namespace {
constexpr unsigned kSettleMs = 40;     // the writes of one save come as a burst
constexpr unsigned kBusyRetryMs = 250;  // a command (or its question) is running
}  // namespace

void TConfigForm::StartFolderWatch() {
    char off[8] = "";
    if (GetEnvironmentVariableA("KTRAVO_NO_FOLDER_WATCH", off, sizeof off) && off[0] && off[0] != '0') return;
    if (!folderTimer_) {
        folderTimer_ = new ui::TTimer(this);
        folderTimer_->Name = "FolderTimer";
        folderTimer_->SetEnabled(false);
        folderTimer_->OnTimer = [this] { FollowSchemeFolder(); };
    }
    if (folderWatch_.Active() && folderWatch_.Folder() == Schemes.SchemeFolder) return;
    folderWatch_.Start(Schemes.SchemeFolder, [this] {
        folderTimer_->SetEnabled(false);
        folderTimer_->SetInterval(kSettleMs);
        folderTimer_->SetEnabled(true);
    });
}

void TConfigForm::FollowSchemeFolder() {
    folderTimer_->SetEnabled(false);
    if (editing_) {
        folderTimer_->SetInterval(kBusyRetryMs);
        folderTimer_->SetEnabled(true);
        return;
    }
    // A scheme Add reads the bar's folder again, which may differ from the one watched.
    if (folderWatch_.Folder() != Schemes.SchemeFolder) StartFolderWatch();
    RunEditor([this] { Schemes.FollowFolder(); });
}

}  // namespace kt
