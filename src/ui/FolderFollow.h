// A window's watch on a folder, with the quiet moment after a change: the writes of one save
// come as a burst of notifications, so each change starts the moment again and `settled` runs
// once it has passed (or the longest wait after the burst's first change has), on the window's
// thread, from a timer the window owns ("FolderTimer").
// The same timer serves the window's later looks (Again). The environment switch
// KTRAVO_NO_FOLDER_WATCH (anything but empty or "0") turns the watch off: a diagnostic for a
// share whose notifications misbehave, and for measuring.
#pragma once
#include <functional>
#include <string>

#include "core/QuietMoment.h"
#include "platform/FolderWatch.h"
#include "ui/ExtCtrls.h"

namespace kt::ui {

class FolderFollow {
public:
    // A change is acted on `settleMs` after the last one of a burst, and at the latest
    // `longestMs` after the first.
    explicit FolderFollow(unsigned settleMs, unsigned longestMs = kLongestSettleMs)
        : settleMs_(settleMs), quiet_(settleMs, longestMs) {}
    static constexpr unsigned kLongestSettleMs = 200;

    // Told (on the window's thread) when the folder gives no change notifications and is
    // looked at every FolderWatch::kPollMs instead.
    std::function<void(const std::string& folder)> OnPolling;

    // Watches `folder` (again, from scratch). `changed`, if given, runs at each change before
    // the quiet moment starts again. `settled` is taken at the first start only (a later start
    // may run inside it). False, with nothing started, when the switch is set.
    bool Start(TComponent* owner, const std::string& folder, std::function<void()> settled,
               std::function<void()> changed = {});
    void Stop() { watch_.Stop(); }
    bool Active() const { return watch_.Active(); }
    const std::string& Folder() const { return watch_.Folder(); }

    void Settle();                       // a change: the quiet moment starts (again)
    void Again(unsigned ms);             // `settled` runs again in `ms`
    void Hold();                         // nothing runs until the next change or Again

private:
    unsigned settleMs_;
    QuietMoment quiet_;
    FolderWatch watch_;
    TTimer* timer_ = nullptr;  // owned by the window
};

}  // namespace kt::ui
