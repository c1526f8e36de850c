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
        timer_->OnTimer = [this, settled = std::move(settled)] {
            quiet_.Acted();
            settled();
        };
    }
    return watch_.Start(
        folder,
        [this, changed = std::move(changed)] {
            if (changed) changed();
            Settle();
        },
        [this](const std::string& watched) {
            if (OnPolling) OnPolling(watched);
        });
}

void FolderFollow::Settle() {
    const long long ms = quiet_.Change(GetTickCount());
    if (ms >= 0) Again(static_cast<unsigned>(ms));
}

void FolderFollow::Again(unsigned ms) {
    if (!timer_) return;  // the watch is switched off
    timer_->SetEnabled(false);
    timer_->SetInterval(ms);
    timer_->SetEnabled(true);
}

void FolderFollow::Hold() {
    quiet_.Acted();
    if (timer_) timer_->SetEnabled(false);
}

}  // namespace kt::ui
