#include <gtest/gtest.h>

#include <cstdint>

#include "core/Errors.h"
#include "core/QuietMoment.h"
#include "core/MessageService.h"

TEST(MessageService, ScriptedAnswersInOrderThenDefaults) {
    kt::ScopedScriptedMessages msgs;
    msgs.answers = {kt::MsgResult::No};
    EXPECT_EQ(kt::AskQuestion("Save?"), kt::MsgResult::No);
    EXPECT_EQ(kt::AskQuestion("Again?"), kt::MsgResult::Yes);  // default button
    kt::ShowMessage("done");
    ASSERT_EQ(msgs.shown.size(), 3u);
    EXPECT_EQ(msgs.shown[0].kind, kt::MsgKind::Confirmation);
    EXPECT_EQ(msgs.LastText(), "done");
}

TEST(MessageService, RestoresDefaultAfterScope) {
    { kt::ScopedScriptedMessages msgs; }
    kt::FileDialogRequest r;
    EXPECT_FALSE(kt::Messages().OpenFile(r));
}

TEST(Errors, FormatsFirstPlaceholderOnly) {
    EXPECT_EQ(kt::FormatMessage1("'%s' is not a valid integer value", "12x"),
              "'12x' is not a valid integer value");
    EXPECT_EQ(kt::FormatMessage1("List index out of bounds (%d)", "10"), "List index out of bounds (10)");
    EXPECT_EQ(kt::FormatMessage1("no placeholder", "x"), "no placeholder");
}

// A burst of changes is acted on a quiet moment after its last change, but a change that never
// stops (a file rewritten every 20 ms) cannot hold it back beyond the longest wait.
TEST(QuietMoment, ActsAfterTheQuietMomentOrAtTheLatestAfterTheLongestWait) {
    const struct {
        unsigned every, count;   // a change every `every` ms, `count` changes
        std::uint64_t due;       // when the timer fires, from the first change
    } cases[] = {{0, 1, 40}, {10, 3, 60}, {20, 1000, 250}, {100, 5, 40}};
    for (const auto& c : cases) {
        kt::QuietMoment quiet(40, 250);
        std::uint64_t due = 0, now = 0;
        for (unsigned i = 0; i < c.count; ++i, now += c.every) {
            if (i > 0 && due <= now) break;  // the timer fired before this change
            const long long ms = quiet.Change(now);
            if (ms >= 0) due = now + static_cast<std::uint64_t>(ms);
        }
        EXPECT_EQ(due, c.due) << c.every << " ms apart";
    }
}
