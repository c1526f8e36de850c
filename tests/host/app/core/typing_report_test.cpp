// What the user is told before and after a typing: administrator windows, and key strokes
// the system did not take.
#include <gtest/gtest.h>

#include "FakeLayouts.h"
#include "app/core/TargetRights.h"
#include "app/core/TypingEngine.h"
#include "app/core/TypingMessages.h"

using namespace kt;

namespace {

struct FakeRights : ProcessRights {
    std::optional<std::uint32_t> own, target;
    std::optional<std::uint32_t> OwnLevel() const override { return own; }
    std::optional<std::uint32_t> TargetLevel() const override { return target; }
};

// A target that keeps the focus and an injector the system lets through for the first
// `acceptedSends` calls only.
struct BlockingInjector : TypingTarget, KeyInjector {
    int acceptedSends = 0;
    std::vector<std::vector<KeyEvent>> taken;
    bool Exists() const override { return true; }
    bool IsMinimised() const override { return false; }
    void Restore() override {}
    void BringToFront() override {}
    bool HasKeyboardFocus() const override { return true; }
    unsigned HeldModifiers() const override { return 0; }
    bool Send(const std::vector<KeyEvent>& burst) override {
        if (acceptedSends-- <= 0) return false;
        taken.push_back(burst);
        return true;
    }
};

}  // namespace

TEST(TargetRights, OnlyATargetKnownToBeHigherIsRefused) {
    const struct {
        const char* what;
        std::optional<std::uint32_t> own, target;
        bool refused;
    } cases[] = {
        {"higher: an administrator's window", kIntegrityMedium, kIntegrityHigh, true},
        {"higher: a system process's window", kIntegrityHigh, kIntegritySystem, true},
        {"equal", kIntegrityMedium, kIntegrityMedium, false},
        {"equal, both elevated", kIntegrityHigh, kIntegrityHigh, false},
        {"lower", kIntegrityHigh, kIntegrityMedium, false},
        {"lower: a sandboxed browser", kIntegrityMedium, kIntegrityLow, false},
        {"cannot be opened (another user's): typed, and checked as it goes", kIntegrityMedium, std::nullopt, false},
        {"no levels on this system", std::nullopt, std::nullopt, false},
    };
    for (const auto& c : cases) {
        FakeRights rights;
        rights.own = c.own;
        rights.target = c.target;
        EXPECT_EQ(TargetRunsHigher(rights), c.refused) << c.what;
    }
    const std::string text = AdministratorWindowMessage(false);
    EXPECT_NE(text.find("administrator rights"), std::string::npos);
    EXPECT_NE(text.find("nothing was typed"), std::string::npos);
    EXPECT_NE(text.find("start Ketravo as administrator"), std::string::npos);
    EXPECT_EQ(AdministratorWindowMessage(true).find("nothing was typed"), std::string::npos);
}

TEST(TypingReport, KeyStrokesTheSystemDidNotTakeAreReportedWithTheCount) {
    test::UsLayout us;
    BlockingInjector f;
    f.acceptedSends = 3;
    StrokeTyping typing(PlanStrokes("abcdef", us, 1));
    TypingOutcome outcome = TypingOutcome::Typed;
    while (outcome == TypingOutcome::Typed && !typing.Done()) outcome = typing.Next(f, f);
    EXPECT_EQ(outcome, TypingOutcome::NotSent);
    EXPECT_EQ(typing.TypedCharacters(), 3u);
    EXPECT_EQ(us.Replay(Flatten({f.taken, 0})), u"abc");
    EXPECT_EQ(TypingStoppedMessage(TypingStop::Blocked, typing.TypedCharacters(), typing.TotalCharacters()),
              "Windows blocked the typing: it did not take all the keystrokes. 3 of 6 characters were typed.");
    // A burst is one call: the system says how many of its events it took.
    EXPECT_EQ(BurstBlockedMessage(0, 14),
              "Windows blocked the typing: it took none of the keystrokes, so nothing was typed.");
    EXPECT_NE(BurstBlockedMessage(5, 14).find("only 5 of 14 key events"), std::string::npos);
}

TEST(TypingReport, EveryStopCountsTheCharactersAlike) {
    for (TypingStop why : {TypingStop::SwitchedAway, TypingStop::Escape, TypingStop::UserKey, TypingStop::Blocked}) {
        const std::string text = TypingStoppedMessage(why, 7, 44);
        EXPECT_TRUE(text.ends_with(". 7 of 44 characters were typed.")) << text;
    }
    EXPECT_NE(TypingStoppedMessage(TypingStop::Escape, 1, 2).find("Esc was pressed"), std::string::npos);
}
