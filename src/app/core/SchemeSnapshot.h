// What a reader saw of a scheme file, read so that a file another program is still writing is
// never taken half: the scheme folder may be shared, and anyone may save into it at any time.
#pragma once
#include <functional>
#include <optional>
#include <string>

#include "app/core/SchemeFile.h"

namespace kt {

struct SchemeSnapshot {
    bool exists = false;
    FileStamp stamp;      // as the entry said right after the bytes were read
    std::string content;  // the bytes read
};

// One look at a file. Busy: it is there but cannot be opened or read now (a writer holds it,
// a sharing violation) or it changed while it was read.
enum class SnapshotRead { Read, Missing, Busy };
SnapshotRead ReadSnapshotOnce(SchemeFileSystem& fs, const std::string& path, SchemeSnapshot& out);

// Whether a file now differs from what was read: it came or went, or holds other bytes. Size
// and write time are compared first, but the content decides: a coarse clock can keep both
// across two saves, and a save of the same bytes loses nothing.
bool ChangedSince(const SchemeSnapshot& read, const SchemeSnapshot& now);

// Reads a file until two looks a short pause apart agree and the file was last written at
// least kQuietMs ago: a writer that still holds the file (the system refuses to open it then),
// or still adds to it with pauses shorter than that, is waited for. Each Attempt is one look; Again asks for another one
// after kPauseMs. A file missing twice in a row is Missing (a writer that deletes and then
// writes is not mistaken for a deletion). After kMaxAttempts looks without agreement: Failed.
class SteadySchemeRead {
public:
    static constexpr int kPauseMs = 50;
    static constexpr int kQuietMs = 300;
    static constexpr int kMaxAttempts = 40;  // a writer that holds the file for two seconds
    enum class Step { Steady, Missing, Again, Failed };

    SteadySchemeRead(SchemeFileSystem& fs, std::string path) : fs_(fs), path_(std::move(path)) {}
    Step Attempt();
    const SchemeSnapshot& Result() const { return last_; }
    const std::string& Path() const { return path_; }
    int Attempts() const { return attempts_; }

private:
    SchemeFileSystem& fs_;
    std::string path_;
    SchemeSnapshot last_;
    bool haveLast_ = false;
    bool missingBefore_ = false;
    int attempts_ = 0;
};

// Attempts with `pause(ms)` between them until the read is Steady, Missing or Failed.
SteadySchemeRead::Step ReadSchemeSteadily(SchemeFileSystem& fs, const std::string& path, SchemeSnapshot& out,
                                          const std::function<void(int ms)>& pause);
// The pause of a thread that may wait: the current thread sleeps.
void SleepMilliseconds(int ms);

// What the bar does for its shown scheme when the scheme folder changed.
class SchemeFileFollow {
public:
    enum class Action { None, Reload, ReportMissing };
    // The bar shows the scheme of `path`, as `read` found it.
    void Shown(const std::string& path, const SchemeSnapshot& read);
    // The folder changed; `look` is how `path` (the bar's current scheme) reads now. Another
    // scheme than the one recorded was loaded by the bar itself: a missing one was reported
    // then, and is not reported again.
    Action Judge(const std::string& path, SnapshotRead look, const SchemeSnapshot& now);

private:
    std::optional<std::string> path_;
    SchemeSnapshot shown_;
};

}  // namespace kt
