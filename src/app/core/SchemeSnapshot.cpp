#include "app/core/SchemeSnapshot.h"

#include <chrono>
#include <thread>

namespace kt {

SnapshotRead ReadSnapshotOnce(SchemeFileSystem& fs, const std::string& path, SchemeSnapshot& out) {
    out = SchemeSnapshot{};
    if (!fs.IsFile(path)) return SnapshotRead::Missing;  // a folder of that name is no scheme either
    FileStamp before;
    const bool stampedBefore = fs.Stamp(path, before);
    std::string content;
    switch (fs.ReadWhole(path, content)) {
    case SchemeFileSystem::ReadResult::CannotOpen: return fs.IsFile(path) ? SnapshotRead::Busy : SnapshotRead::Missing;
    case SchemeFileSystem::ReadResult::CannotRead: return SnapshotRead::Busy;
    case SchemeFileSystem::ReadResult::Read: break;
    }
    out.exists = true;
    out.content = std::move(content);
    const bool stampedAfter = fs.Stamp(path, out.stamp);
    if (stampedBefore != stampedAfter || !(before == out.stamp)) return SnapshotRead::Busy;
    return SnapshotRead::Read;
}

bool ChangedSince(const SchemeSnapshot& read, const SchemeSnapshot& now) {
    if (read.exists != now.exists) return true;
    if (!read.exists) return false;
    return read.stamp.size != now.stamp.size || read.content != now.content;
}

SteadySchemeRead::Step SteadySchemeRead::Attempt() {
    ++attempts_;
    const bool lastTry = attempts_ >= kMaxAttempts;
    SchemeSnapshot now;
    switch (ReadSnapshotOnce(fs_, path_, now)) {
    case SnapshotRead::Missing:
        haveLast_ = false;
        if (missingBefore_ || lastTry) {
            last_ = SchemeSnapshot{};
            return Step::Missing;
        }
        missingBefore_ = true;
        return Step::Again;
    case SnapshotRead::Busy:
        missingBefore_ = false;
        haveLast_ = false;
        return lastTry ? Step::Failed : Step::Again;
    case SnapshotRead::Read: break;
    }
    missingBefore_ = false;
    const bool agrees = haveLast_ && last_.stamp == now.stamp && last_.content == now.content;
    last_ = std::move(now);
    haveLast_ = true;
    if (agrees) {
        const long long age = fs_.MillisecondsSinceWrite(last_.stamp);
        if (age < 0 || age >= kQuietMs) return Step::Steady;
    }
    return lastTry ? Step::Failed : Step::Again;
}

SteadySchemeRead::Step ReadSchemeSteadily(SchemeFileSystem& fs, const std::string& path, SchemeSnapshot& out,
                                          const std::function<void(int)>& pause) {
    SteadySchemeRead read(fs, path);
    SteadySchemeRead::Step step;
    while ((step = read.Attempt()) == SteadySchemeRead::Step::Again)
        if (pause) pause(SteadySchemeRead::kPauseMs);
    out = read.Result();
    return step;
}

void SleepMilliseconds(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

void SchemeFileFollow::Shown(const std::string& path, const SchemeSnapshot& read) {
    path_ = path;
    shown_ = read;
}

SchemeFileFollow::Action SchemeFileFollow::Judge(const std::string& path, SnapshotRead look, const SchemeSnapshot& now) {
    const bool sameScheme = path_ && *path_ == path;
    if (look == SnapshotRead::Busy) return Action::Reload;  // the steady read waits for the writer
    if (look == SnapshotRead::Missing) {
        // Said once: when the file went away under the bar, not again while it stays away,
        // and not for a scheme the bar loaded itself (its load said it).
        const bool wasThere = sameScheme && shown_.exists;
        Shown(path, SchemeSnapshot{});
        return wasThere ? Action::ReportMissing : Action::None;
    }
    if (!sameScheme || ChangedSince(shown_, now)) return Action::Reload;
    return Action::None;
}

}  // namespace kt
