#include <gtest/gtest.h>

#include "FakeForm.h"
#include "FakeLayouts.h"
#include "app/core/KeySequence.h"
#include "app/core/TypingEngine.h"
#include "app/core/TypingMessages.h"

using kt::KeyEvent;
using kt::KeyStep;
using kt::test::FakeForm;
using kt::test::GermanLayout;
using kt::test::UsLayout;
using Kind = kt::KeyStep::Kind;

namespace kt {
void PrintTo(const KeyStep& s, std::ostream* os) {
    *os << "{kind " << static_cast<int>(s.kind) << " '" << s.text << "' vk " << s.vk << " mods " << s.modifiers
        << " x" << s.count << " " << s.ms << "ms}";
}
}  // namespace kt

namespace {

KeyStep Text(const char* t) { return {Kind::Text, t}; }
KeyStep Key(std::uint16_t vk, unsigned mods = 0, unsigned count = 1) { return {Kind::Key, {}, vk, mods, count}; }
KeyStep Pause(unsigned ms) { return {Kind::Pause, {}, 0, 0, 1, ms}; }
KeyStep Delay(unsigned ms) { return {Kind::SetDelay, {}, 0, 0, 1, ms}; }

TEST(KeySequenceParse, KeyNamesCountsCombinationsDelaysAndEscapes) {
    const unsigned C = kt::kModCtrl, S = kt::kModShift, A = kt::kModAlt;
    const struct {
        const char* text;
        std::vector<KeyStep> steps;
    } cases[] = {
        {"", {}},
        {"plain + ^ % ~ ( ) [ ] text", {Text("plain + ^ % ~ ( ) [ ] text")}},
        {"{TAB}{ENTER}{ESC}{SPACE}{BACKSPACE}{BS}", {Key(0x09), Key(0x0D), Key(0x1B), Key(0x20), Key(0x08), Key(0x08)}},
        {"{DELETE}{DEL}{INSERT}{INS}{HOME}{END}", {Key(0x2E), Key(0x2E), Key(0x2D), Key(0x2D), Key(0x24), Key(0x23)}},
        {"{PGUP}{PGDN}{UP}{DOWN}{LEFT}{RIGHT}", {Key(0x21), Key(0x22), Key(0x26), Key(0x28), Key(0x25), Key(0x27)}},
        {"{F1}{F9}{F10}{F12}", {Key(0x70), Key(0x78), Key(0x79), Key(0x7B)}},
        {"{tab}{Enter}{pgDn}{f2}", {Key(0x09), Key(0x0D), Key(0x22), Key(0x71)}},
        {"{TAB 3}{down 100}{TAB 1}", {Key(0x09, 0, 3), Key(0x28, 0, 100), Key(0x09)}},
        {"{CTRL+A}{SHIFT+TAB}{ALT+F}{CTRL+SHIFT+END}", {Key('A', C), Key(0x09, S), Key('F', A), Key(0x23, C | S)}},
        {"{ctrl+z}{Alt+Shift+7}{SHIFT+CTRL+ALT+F4}{SHIFT+TAB 2}", {Key('Z', C), Key('7', A | S), Key(0x73, C | S | A),
                                                                 Key(0x09, S, 2)}},
        {"a{DELAY 700}b{DELAY 0}{delay 10000}", {Text("a"), Pause(700), Text("b"), Pause(0), Pause(10000)}},
        {"{DELAY=250}x{DELAY=0}{delay = 1000}", {Delay(250), Text("x"), Delay(0), Delay(1000)}},
        {"{CLEARFIELD}new", {Key(0x24), Key(0x23, S), Key(0x2E), Text("new")}},
        {"{{}a{}}{{}{}}", {Text("{a}{}")}},
        {"Jane{TAB}Doe{TAB 2}x{ENTER}", {Text("Jane"), Key(0x09), Text("Doe"), Key(0x09, 0, 2), Text("x"), Key(0x0D)}},
    };
    for (const auto& c : cases) {
        const kt::KeySequence seq = kt::ParseKeySequence(c.text);
        EXPECT_TRUE(seq.Ok()) << c.text << ": " << seq.error;
        EXPECT_EQ(seq.steps, c.steps) << c.text;
    }
}

TEST(KeySequenceParse, EachErrorNamesTheProblemAndWhereItIs) {
    const struct {
        const char* text;
        const char* error;
        std::size_t at;
    } cases[] = {
        {"a{NOPE}", "Unknown key {NOPE} at character 2", 2},
        {"{A}", "Unknown key {A} at character 1", 1},
        {"{F13}{F0}", "Unknown key {F13} at character 1", 1},
        {"ab{TAB 3 4}", "Unknown key {TAB 3 4} at character 3", 3},
        {"{}", "Empty braces {} at character 1", 1},
        {"x{  }", "Empty braces {  } at character 2", 2},
        {"abc{TAB", "A { that is not closed (type {{} for a brace) at character 4", 4},
        {"{TAB{ENTER}", "A { that is not closed (type {{} for a brace) at character 1", 1},
        {"a}b", "A } that no { opens (type {}} for a brace) at character 2", 2},
        {"{TAB}}", "A } that no { opens (type {}} for a brace) at character 6", 6},
        {"{TAB 0}", "The count must be 1 to 100 in {TAB 0} at character 1", 1},
        {"{TAB 101}", "The count must be 1 to 100 in {TAB 101} at character 1", 1},
        {"{TAB x}", "The count must be 1 to 100 in {TAB x} at character 1", 1},
        {"{DELAY 10001}", "The pause must be 0 to 10000 ms in {DELAY 10001} at character 1", 1},
        {"{DELAY}", "The pause must be 0 to 10000 ms in {DELAY} at character 1", 1},
        {"{DELAY -5}", "The pause must be 0 to 10000 ms in {DELAY -5} at character 1", 1},
        {"{DELAY=1001}", "The delay between keys must be 0 to 1000 ms in {DELAY=1001} at character 1", 1},
        {"{DELAY=}", "The delay between keys must be 0 to 1000 ms in {DELAY=} at character 1", 1},
        {"{CTRL+}", "A key is missing after + in {CTRL+} at character 1", 1},
        {"{+A}", "A key is missing before + in {+A} at character 1", 1},
        {"{CTRL}", "A key is missing after CTRL in {CTRL} at character 1", 1},
        {"{WIN+R}", "Unknown modifier WIN in {WIN+R} at character 1", 1},
        {"{CTRL+CTRL+A}", "Modifier CTRL given twice in {CTRL+CTRL+A} at character 1", 1},
        {"{CTRL+AB}", "Unknown key {CTRL+AB} at character 1", 1},
        {"{CTRL+%}", "Unknown key {CTRL+%} at character 1", 1},
        {"{CLEARFIELD 2}", "Unknown key {CLEARFIELD 2} at character 1", 1},
    };
    for (const auto& c : cases) {
        const kt::KeySequence seq = kt::ParseKeySequence(c.text);
        EXPECT_EQ(seq.error, c.error) << c.text;
        EXPECT_EQ(seq.errorAt, c.at) << c.text;
        EXPECT_TRUE(seq.steps.empty()) << c.text;  // nothing of a bad text is kept
    }
}

std::vector<KeyEvent> Plan(const char* text, const kt::KeyboardLayout& layout, int eol = -1) {
    const kt::KeySequence seq = kt::ParseKeySequence(text);
    EXPECT_TRUE(seq.Ok()) << seq.error;
    return kt::Flatten(kt::PlanKeySequence(seq, layout, eol, 0));
}

TEST(KeySequencePlan, CombinationsAreRealKeyStrokesWithTheLayoutsScanCodes) {
    UsLayout us;
    GermanLayout de;
    auto k = [](std::uint16_t vk, bool up, std::uint16_t scan, bool ext = false) {
        return KeyEvent{false, vk, up, scan, ext};
    };
    // Ctrl+Z is the key that carries Z: the bottom row's first key in the US, the top row's on German keyboards.
    EXPECT_EQ(Plan("{CTRL+Z}", us), (std::vector<KeyEvent>{k(0x11, false, 0x1D), k('Z', false, 0x2C), k('Z', true, 0x2C),
                                                           k(0x11, true, 0x1D)}));
    EXPECT_EQ(Plan("{CTRL+Z}", de), (std::vector<KeyEvent>{k(0x11, false, 0x1D), k('Z', false, 0x15), k('Z', true, 0x15),
                                                           k(0x11, true, 0x1D)}));
    // Modifiers go down before the key and come up after it, in reverse order; the cursor block is extended.
    EXPECT_EQ(Plan("{CTRL+SHIFT+END}", us),
              (std::vector<KeyEvent>{k(0x11, false, 0x1D), k(0x10, false, 0x2A), k(0x23, false, 0x4F, true),
                                     k(0x23, true, 0x4F, true), k(0x10, true, 0x2A), k(0x11, true, 0x1D)}));
    EXPECT_EQ(Plan("{ALT+F}{F12}", us), (std::vector<KeyEvent>{k(0x12, false, 0x38), k('F', false, 0x21), k('F', true, 0x21),
                                                               k(0x12, true, 0x38), k(0x7B, false, 0x58), k(0x7B, true, 0x58)}));
    // Never a character event for a key, whatever the layout has on it.
    for (const char* text : {"{CTRL+2}{ALT+Q}{SHIFT+A}{TAB 2}{ENTER}{SPACE}{ESC}", "{CTRL+Y}{ALT+SHIFT+0}"})
        for (const auto* layout : {static_cast<const kt::KeyboardLayout*>(&us), static_cast<const kt::KeyboardLayout*>(&de)})
            for (const KeyEvent& e : Plan(text, *layout)) {
                EXPECT_FALSE(e.unicode) << text;
                EXPECT_NE(e.scan, 0) << text << " vk " << e.code;
            }
}

TEST(KeySequencePlan, FormsComeOutExactlyOnUsAndGermanLayouts) {
    UsLayout us;
    GermanLayout de;
    const struct {
        const char* what;
        const kt::test::TableLayout* layout;
        const char* text;
        int eol;
        std::vector<std::u16string> prefilled, fields;
        int submitted;
        std::vector<std::string> otherKeys;
    } cases[] = {
        {"three fields, Enter at the end", &us, "Jane Doe{TAB}12 Market Street{TAB}jane@example.com{ENTER}", 0, {},
         {u"Jane Doe", u"12 Market Street", u"jane@example.com"}, 1, {}},
        {"the scheme's end of line follows the whole sequence", &us, "a{TAB}b", 2, {}, {u"a", u"b", u""}, 0, {}},
        {"German: AltGr characters and umlauts as themselves, braces escaped", &de,
         "Gr\xC3\xB6\xC3\x9F" "e{TAB}max@beispiel.de{TAB}{{}x{}} + ^ % ~ ( ) [ ]{ENTER}", 1, {},
         {u"Gr\u00F6\u00DFe", u"max@beispiel.de", u"{x} + ^ % ~ ( ) [ ]"}, 2, {}},
        {"fields already filled: Tab selects, Ctrl+A and CLEARFIELD empty", &de, "Zy{TAB}{CTRL+A}neu{TAB}{CLEARFIELD}z", 0,
         {u"alt", u"alt", u"alt"}, {u"altZy", u"neu", u"z"}, 0, {}},
        {"back with Shift+Tab, editing keys", &us, "{TAB}abc{LEFT 2}X{END}{BS}{SHIFT+TAB}{HOME}{DEL}!", 0, {u"qq"},
         {u"!q", u"aXb", u""}, 0, {}},
        {"keys the form does not handle arrive as keys", &us, "{ALT+F}{CTRL+SHIFT+F3}{ESC}{F1}x", 0, {},
         {u"x", u"", u""}, 0, {"ALT+F", "CTRL+SHIFT+F3", "ESC", "F1"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        FakeForm form(*c.layout, 3);
        // Text already in the fields: typed in, then the caret stays at the end.
        for (std::size_t i = 0; i < c.prefilled.size(); ++i) {
            form.focus = i;
            form.Play(kt::PlanTyping(std::string(c.prefilled[i].begin(), c.prefilled[i].end()), *c.layout, -1));
        }
        form.focus = 0;
        form.Play(Plan(c.text, *c.layout, c.eol));  // throws when a key is left down
        EXPECT_EQ(form.Texts(), c.fields);
        EXPECT_EQ(form.submitted, c.submitted);
        EXPECT_EQ(form.otherKeys, c.otherKeys);
    }
}

TEST(KeySequencePlan, TheLayoutsReplaySeesTabAndEnterAsTheyTypeInATextBox) {
    UsLayout us;
    GermanLayout de;
    // Replay throws on a key left down or a key pressed under Ctrl or Alt.
    EXPECT_EQ(us.Replay(Plan("Jane{TAB}Doe{ENTER}{{}x{}}", us, 2)), u"Jane\tDoe\r{x}\t");
    EXPECT_EQ(de.Replay(Plan("Gr\xC3\xB6\xC3\x9F" "e{TAB 2}@{SPACE}^{SHIFT+A}", de, 1)), u"Gr\u00F6\u00DFe\t\t@ ^A\r");
}

TEST(KeySequencePlan, PausesAndTheDelayBetweenKeys) {
    UsLayout us;
    auto pauses = [&](const char* text, unsigned keyDelay, int eol = 0) {
        return kt::PlanKeySequence(kt::ParseKeySequence(text), us, eol, keyDelay).pauses;
    };
    using P = std::vector<unsigned>;
    EXPECT_EQ(pauses("ab{TAB}", 0), (P{0, 0, 0}));
    EXPECT_EQ(pauses("ab{TAB}", 30), (P{30, 30, 0}));
    EXPECT_EQ(pauses("a{DELAY 700}b", 0), (P{700, 0}));
    EXPECT_EQ(pauses("a{DELAY 700}{DELAY 50}b", 20), (P{770, 0}));
    EXPECT_EQ(pauses("ab{DELAY=100}cd", 20), (P{20, 100, 100, 0}));
    EXPECT_EQ(pauses("a{DELAY=40}b", 0, 1), (P{40, 40, 0}));  // the end of line follows at the same pace
    // A pause before anything is typed: an empty first stroke waits it out.
    const kt::TypingStrokes lead = kt::PlanKeySequence(kt::ParseKeySequence("{DELAY 300}x"), us, 0, 0);
    EXPECT_EQ(lead.pauses, (P{300, 0}));
    EXPECT_TRUE(lead.strokes[0].empty());
    EXPECT_EQ(pauses("x{DELAY 300}", 0), (P{0}));  // nothing follows a trailing pause

    auto timed = [&](const char* text, unsigned keyDelay) {
        return kt::NeedsTimedTyping(kt::PlanKeySequence(kt::ParseKeySequence(text), us, 1, keyDelay), keyDelay);
    };
    EXPECT_FALSE(timed("a{TAB}b{CTRL+A}", 0));  // one burst
    EXPECT_FALSE(timed("a{DELAY 0}{DELAY=0}b", 0));
    EXPECT_TRUE(timed("a{DELAY 1}b", 0));
    EXPECT_TRUE(timed("a{DELAY=5}b", 0));
    EXPECT_TRUE(timed("ab", 25));
    EXPECT_FALSE(timed("a{DELAY=0}b", 25));  // the text's own pace replaces the setting
}

// A target that holds the focus until a given number of Sends, and records them.
struct Recorder : kt::TypingTarget, kt::KeyInjector {
    int focusFor = 1000;
    std::vector<std::vector<KeyEvent>> sends;
    bool Exists() const override { return true; }
    bool IsMinimised() const override { return false; }
    void Restore() override {}
    void BringToFront() override {}
    bool HasKeyboardFocus() const override { return static_cast<int>(sends.size()) < focusFor; }
    unsigned HeldModifiers() const override { return 0; }
    bool Send(const std::vector<KeyEvent>& burst) override {
        sends.push_back(burst);
        return true;
    }
};

TEST(KeySequencePlan, TimedTypingSendsTheStrokesBetweenTwoPausesAndChecksTheFocusBeforeEach) {
    UsLayout us;
    kt::StrokeTyping typing(kt::PlanKeySequence(kt::ParseKeySequence("ab{DELAY 700}c{DELAY=50}de"), us, 1, 0));
    Recorder r;
    ASSERT_EQ(typing.Next(r, r), kt::TypingOutcome::Typed);
    EXPECT_EQ(r.sends.size(), 2u);  // a and b, each checked and sent on its own
    EXPECT_EQ(typing.PauseBeforeNext(0), 700u);
    ASSERT_EQ(typing.Next(r, r), kt::TypingOutcome::Typed);
    EXPECT_EQ(r.sends.size(), 3u);
    EXPECT_EQ(typing.PauseBeforeNext(0), 50u);
    r.focusFor = 4;  // another window takes the focus after d
    EXPECT_EQ(typing.Next(r, r), kt::TypingOutcome::Typed);
    EXPECT_EQ(typing.Next(r, r), kt::TypingOutcome::Interrupted);
    EXPECT_EQ(r.sends.size(), 4u);
    EXPECT_FALSE(typing.Done());
    std::vector<KeyEvent> all;
    for (const auto& send : r.sends) all.insert(all.end(), send.begin(), send.end());
    EXPECT_EQ(us.Replay(all), u"abcd");
}

TEST(KeySequencePlan, AStopCountsTheKeysPressedNotTheStrokes) {
    UsLayout us;
    Recorder r;
    kt::StrokeTyping typing(kt::PlanKeySequence(kt::ParseKeySequence("{DELAY 300}a{TAB 3}{DELAY 50}b"), us, 1, 0));
    ASSERT_EQ(typing.Next(r, r), kt::TypingOutcome::Typed);
    EXPECT_EQ(typing.TypedCharacters(), 0u);  // only the pause the text starts with: no key
    ASSERT_EQ(typing.Next(r, r), kt::TypingOutcome::Typed);
    EXPECT_EQ(kt::TypingStoppedMessage(kt::TypingStop::Escape, typing.TypedCharacters(), typing.TotalCharacters(),
                                       typing.CountsKeys()),
              "Typing stopped: Esc was pressed. 4 of 5 keys were pressed.");
}

}  // namespace
