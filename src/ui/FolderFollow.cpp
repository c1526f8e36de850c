#include "ui/FolderFollow.h"

namespace kt::ui {

bool FolderFollow::Start(TComponent* owner, const std::string& folder, std::function<void()> settled,
                         std::function<void()> changed) {
    char off[8] = "";
    if (GetEnvironmentVariableA("KTRAVO_NO_FOLDER_WATCH", off, sizeof off) && off[0] && off[0] != '0') return false;
    if (!timer_) {
        timer_ = new TTimer(owner);
        timer_->Name = "FolderTimer";
        timer_->SetEnabled(false);
        timer_->OnTimer = std::move(settled);
    }
    return watch_.Start(folder, [this, changed = std::move(changed)] {
        if (changed) changed();
        Settle();
    });
}

void FolderFollow::Again(unsigned ms) {
    timer_->SetEnabled(false);
    timer_->SetInterval(ms);
    timer_->SetEnabled(true);
}

void FolderFollow::Hold() {
    if (timer_) timer_->SetEnabled(false);
}

}  // namespace kt::ui
