#include <gtest/gtest.h>

#include "core/Errors.h"
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
