#include <gtest/gtest.h>

#include <string>

#include "app/core/TypingEngine.h"

using namespace kt;

namespace {

// A scripted target window and injector that record what the engine did, on a fake clock.
struct Fake : TypingTarget, KeyInjector, TypingClock {
    bool exists = true, minimised = false;
    int focusAfterMs = 0;       // -1: never takes the focus
    int closesAfterMs = -1;     // the window is closed at this time
    unsigned held = 0;
    bool sendWorks = true;
    std::uint64_t now = 0, frontAt = 0;
    bool askedFront = false;
    std::string log;
    std::vector<KeyEvent> sent;
    std::vector<std::vector<KeyEvent>> sends;  // every call of Send

    bool Exists() const override { return exists && (closesAfterMs < 0 || now < static_cast<std::uint64_t>(closesAfterMs)); }
    bool IsMinimised() const override { return minimised; }
    void Restore() override { log += "restore "; minimised = false; }
    void BringToFront() override { log += "front "; askedFront = true; frontAt = now; }
    bool HasKeyboardFocus() const override {
        if (minimised || focusAfterMs < 0) return false;
        return focusAfterMs == 0 || (askedFront && now - frontAt >= static_cast<std::uint64_t>(focusAfterMs));
    }
    unsigned HeldModifiers() const override { return held; }
    bool Send(const std::vector<KeyEvent>& burst) override {
        log += "send ";
        sent = burst;
        sends.push_back(burst);
        return sendWorks;
    }
    std::uint64_t NowMs() const override { return now; }
    void SleepMs(unsigned ms) override { now += ms; }
};

const std::vector<KeyEvent> kPlan = {{false, 0x41, false}, {false, 0x41, true}};

TEST(TypingEngine, DecidesFromTheTargetsState) {
    struct Case {
        const char* name;
        bool exists, minimised;
        int focusAfterMs, closesAfterMs;
        bool sendWorks;
        TypingOutcome outcome;
        const char* log;
        std::uint64_t maxWaitMs;
    } cases[] = {
        {"in front already: no wait, no switch", true, false, 0, -1, true, TypingOutcome::Typed, "send ", 0},
        {"behind: brought to the front, typed once it has the focus", true, false, 120, -1, true,
         TypingOutcome::Typed, "front send ", 120},
        {"closed since Ctrl+T: nothing", false, false, 0, -1, true, TypingOutcome::NoTarget, "", 0},
        {"minimised: restored first", true, true, 40, -1, true, TypingOutcome::Typed, "restore front send ", 40},
        {"never takes the focus: gives up after the bound", true, false, -1, -1, true, TypingOutcome::NotInFront,
         "front ", kFocusWaitMs},
        {"closed while waiting", true, false, -1, 300, true, TypingOutcome::NoTarget, "front ", 300},
        {"the system refuses the events", true, false, 0, -1, false, TypingOutcome::NotSent, "send ", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Fake f;
        f.exists = c.exists;
        f.minimised = c.minimised;
        f.focusAfterMs = c.focusAfterMs;
        f.closesAfterMs = c.closesAfterMs;
        f.sendWorks = c.sendWorks;
        EXPECT_EQ(TypeIntoTarget(f, f, f, kPlan), c.outcome);
        EXPECT_EQ(f.log, c.log);
        EXPECT_LE(f.now, c.maxWaitMs + kFocusPollMs);
        EXPECT_GE(f.now, c.maxWaitMs);
        if (c.outcome == TypingOutcome::Typed) EXPECT_EQ(f.sent, kPlan);
    }
}

TEST(TypingEngine, HeldModifiersAreReleasedInsideTheBurst) {
    Fake f;
    f.held = kHeldLeftShift | kHeldRightControl;
    ASSERT_EQ(TypeIntoTarget(f, f, f, kPlan), TypingOutcome::Typed);
    const std::vector<KeyEvent> expected = {{false, 0xA0, true}, {false, 0xA3, true}, kPlan[0], kPlan[1]};
    EXPECT_EQ(f.sent, expected);
}

TEST(TypingEngine, AltAndWinReleasesAreMaskedSoNoMenuOpens) {
    // One masking press before the first Alt or Win release, none for Shift or Ctrl alone.
    auto burst = ReleaseModifiers(kHeldLeftAlt | kHeldRightWin | kHeldLeftShift);
    const std::vector<KeyEvent> expected = {{false, 0xA0, true}, {false, 0xE8, false}, {false, 0xE8, true},
                                            {false, 0xA4, true}, {false, 0x5C, true}};
    EXPECT_EQ(burst, expected);
    EXPECT_TRUE(ReleaseModifiers(0).empty());
    // Every key that goes up was down: nothing is left pressed by the burst itself.
    for (const KeyEvent& e : ReleaseModifiers(0xFF))
        if (!e.up) EXPECT_EQ(e.code, 0xE8);
}

TEST(TypingEngine, ABurstTakenInPartLetsGoOfEveryModifierItPresses) {
    // {CTRL+ALT+F}, whole or one stroke at a time: the system may have stopped after Ctrl down.
    const std::vector<KeyEvent> plan = {{false, kVkControl, false}, {false, kVkMenu, false}, {false, 'F', false},
                                        {false, 'F', true}, {false, kVkMenu, true}, {false, kVkControl, true}};
    const std::vector<KeyEvent> releases = {{false, kVkControl, true}, {false, 0xE8, false}, {false, 0xE8, true},
                                            {false, kVkMenu, true}};
    Fake f;
    f.sendWorks = false;
    EXPECT_EQ(TypeIntoTarget(f, f, f, plan), TypingOutcome::NotSent);
    EXPECT_EQ(StrokeTyping({{plan}, 1}).Next(f, f), TypingOutcome::NotSent);
    EXPECT_EQ(f.sends, (std::vector<std::vector<KeyEvent>>{plan, releases, plan, releases}));
}

TypingStrokes ThreeStrokes() {
    TypingStrokes plan;
    plan.strokes = {{{false, 'A', false}, {false, 'A', true}},
                    {},  // a byte without a character
                    {{false, 'B', false}, {false, 'B', true}},
                    {{false, kVkReturn, false}, {false, kVkReturn, true}}};
    plan.characters = 3;
    return plan;
}

TEST(StrokeTyping, OneStrokeAtATimeWithTheModifiersHeldNow) {
    Fake f;
    StrokeTyping typing(ThreeStrokes());
    ASSERT_EQ(typing.Next(f, f), TypingOutcome::Typed);
    ASSERT_EQ(typing.Next(f, f), TypingOutcome::Typed);
    f.held = kHeldLeftShift;  // the user presses Shift while it types
    while (!typing.Done()) ASSERT_EQ(typing.Next(f, f), TypingOutcome::Typed);
    // The empty stroke sends nothing; the Shift held before the third goes up inside it.
    ASSERT_EQ(f.sends.size(), 3u);
    EXPECT_EQ(f.sends[0], ThreeStrokes().strokes[0]);
    EXPECT_EQ(f.sends[1], (std::vector<KeyEvent>{{false, 0xA0, true}, {false, 'B', false}, {false, 'B', true}}));
    EXPECT_EQ(typing.TypedCharacters(), 3u);
    EXPECT_EQ(typing.TotalCharacters(), 3u);
}

TEST(StrokeTyping, StopsAtOnceWhenTheTargetLosesTheFocusOrCloses) {
    for (bool closes : {false, true}) {
        SCOPED_TRACE(closes ? "closed" : "another window in front");
        Fake f;
        StrokeTyping typing(ThreeStrokes());
        ASSERT_EQ(typing.Next(f, f), TypingOutcome::Typed);
        if (closes) f.exists = false;
        else f.focusAfterMs = -1;
        EXPECT_EQ(typing.Next(f, f), TypingOutcome::Interrupted);
        EXPECT_EQ(typing.Next(f, f), TypingOutcome::Interrupted);
        // Nothing after the first stroke went anywhere.
        EXPECT_EQ(f.sends.size(), 1u);
        EXPECT_FALSE(typing.Done());
        EXPECT_EQ(typing.TypedCharacters(), 1u);
    }
}

}  // namespace
