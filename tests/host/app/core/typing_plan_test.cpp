#include <gtest/gtest.h>

#include "FakeLayouts.h"
#include "app/core/TypingPlan.h"

using kt::KeyEvent;
using kt::test::CzechLayout;
using kt::test::FrenchLayout;
using kt::test::GermanLayout;
using kt::test::GreekLayout;
using kt::test::RussianLayout;
using kt::test::UsLayout;

namespace kt {
void PrintTo(const KeyEvent& e, std::ostream* os) {
    *os << (e.unicode ? "U+" : "vk ") << std::hex << e.code << (e.up ? " up" : " down");
}
}  // namespace kt

namespace {

KeyEvent Down(std::uint16_t vk) { return {false, vk, false}; }
KeyEvent Up(std::uint16_t vk) { return {false, vk, true}; }
KeyEvent UniDown(char16_t u) { return {true, static_cast<std::uint16_t>(u), false}; }
KeyEvent UniUp(char16_t u) { return {true, static_cast<std::uint16_t>(u), true}; }

std::string PrintableAscii() {
    std::string s;
    for (int c = 32; c < 127; ++c) s += static_cast<char>(c);
    return s;
}

std::string UpperHalf() {
    std::string s;
    for (int c = 0xA0; c < 0x100; ++c) s += static_cast<char>(c);
    return s;
}

}  // namespace

TEST(TypingPlan, LettersAndColonTakeShiftFromTheLayout) {
    UsLayout us;
    const std::uint16_t colonKey = 0xBA;
    std::vector<KeyEvent> want = {Down('A'),        Up('A'),        Down(kt::kVkShift),
                                  Down('B'),        Up('B'),        Up(kt::kVkShift),
                                  Down(kt::kVkShift), Down(colonKey), Up(colonKey),
                                  Up(kt::kVkShift)};
    EXPECT_EQ(kt::PlanTyping("aB:", us, -1), want);
}

TEST(TypingPlan, CapsLockOnInvertsShiftForLettersOnly) {
    UsLayout us;
    const std::uint16_t colonKey = 0xBA;
    // With Caps Lock on, a small letter needs Shift and a capital none; the colon is unchanged.
    std::vector<KeyEvent> want = {Down(kt::kVkShift), Down('A'), Up('A'), Up(kt::kVkShift),
                                  Down('B'),          Up('B'),   Down(kt::kVkShift), Down(colonKey),
                                  Up(colonKey),       Up(kt::kVkShift)};
    EXPECT_EQ(kt::PlanTyping("aB:", us, -1, true), want);
}

TEST(TypingPlan, ApostropheUnshiftedAndUnderscoreShiftedOnUs) {
    UsLayout us;
    EXPECT_EQ(kt::PlanTyping("'", us, 0), (std::vector<KeyEvent>{Down(0xDE), Up(0xDE)}));
    EXPECT_EQ(kt::PlanTyping("_", us, 0),
              (std::vector<KeyEvent>{Down(kt::kVkShift), Down(0xBD), Up(0xBD), Up(kt::kVkShift)}));
}

TEST(TypingPlan, EveryCharacterArrivesAsWrittenOnEachLayout) {
    // Each layout's letters, the characters behind its AltGr, digits, an e-mail address and
    // characters it has no key for; then every printable byte of its code page.
    UsLayout us;
    GermanLayout de;
    FrenchLayout fr;
    CzechLayout cz;
    RussianLayout ru;
    GreekLayout gr;
    const struct {
        const kt::test::TableLayout* layout;
        std::string text;
    } cases[] = {
        {&us, "Hello World @{[]}\\~|#\x80 1234567890 jane.doe@example.com \xE9\xF1"},
        {&de, "Gr\xF6\xDF" "e \xC4\xD6\xDC \xDF @\x80 {[]} \\ ~ | \xB5 <> 1234567890 Zy max@beispiel.de \xF1\xA9"},
        {&fr, "\xE0\xE9\xE8\xE7\xF9 @ \x80 # { } [ ] \xEA \xEB 1234567890 AZERTY qwerty jean@exemple.fr \xF1"},
        {&cz, "P\xF8\xED\x9Ati \xE8erven\xFD \xFA\xF9\xEC @{}[]#&\x80 1234567890 jan@priklad.cz \xF5\xB3"},
        {&ru, "\xCF\xF0\xE8\xE2\xE5\xF2 \xB8\xA8 \xB9 1234567890 ivan@primer.ru Latin @#$ {[]}"},
        {&gr, "\xCA\xE1\xEB\xE7\xEC\xDD\xF1\xE1 \xEA\xFC\xF3\xEC\xE5; \xBF\xF1\xE1: 12:30; nikos@paradeigma.gr"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        for (const std::string& text : {c.text, PrintableAscii(), UpperHalf()}) {
            const auto plan = kt::PlanTyping(c.layout->Text(text), *c.layout, -1);
            EXPECT_EQ(c.layout->Replay(plan), c.layout->Decode(text)) << text;
            // Only Shift is ever held: Ctrl and Alt are shortcuts, and injected they are no AltGr.
            for (const KeyEvent& e : plan) EXPECT_FALSE(!e.unicode && (e.code == kt::kVkControl || e.code == kt::kVkMenu));
        }
    }
}

TEST(TypingPlan, LayoutKeysWhereTheyExistCharacterEventsWhereNot) {
    UsLayout us;
    GermanLayout de;
    FrenchLayout fr;
    CzechLayout cz;
    RussianLayout ru;
    GreekLayout gr;
    const KeyEvent sd = Down(kt::kVkShift), su = Up(kt::kVkShift);
    const struct {
        const char* what;
        const kt::test::TableLayout* layout;
        const char* text;
        std::vector<KeyEvent> events;
    } cases[] = {
        {"US: @ is Shift+2", &us, "@", {sd, Down('2'), Up('2'), su}},
        {"German: z on its own key", &de, "z", {Down('Z'), Up('Z')}},
        {"German: @ behind AltGr goes as itself", &de, "@", {UniDown(u'@'), UniUp(u'@')}},
        {"German: the euro sign", &de, "\x80", {UniDown(u'\u20AC'), UniUp(u'\u20AC')}},
        {"French: digits take Shift", &fr, "1", {sd, Down('1'), Up('1'), su}},
        {"French: & is the plain 1 key", &fr, "&", {Down('1'), Up('1')}},
        {"French: # behind AltGr", &fr, "#", {UniDown(u'#'), UniUp(u'#')}},
        {"French: e circumflex needs a dead key", &fr, "\xEA", {UniDown(u'\u00EA'), UniUp(u'\u00EA')}},
        {"Czech: e caron on the 2 key", &cz, "\xEC", {Down('2'), Up('2')}},
        {"Czech: digits take Shift", &cz, "7", {sd, Down('7'), Up('7'), su}},
        {"Czech: o double acute has no key", &cz, "\xF5", {UniDown(u'\u0151'), UniUp(u'\u0151')}},
        // Layouts without the Latin letters go with a Latin one, which the target may be using:
        // their keys, even confirmed, are no sure way to a character.
        {"Russian: ef on the A key goes as itself", &ru, "\xF4", {UniDown(u'\u0444'), UniUp(u'\u0444')}},
        {"Russian: numero sign on Shift+3 likewise", &ru, "\xB9", {UniDown(u'\u2116'), UniUp(u'\u2116')}},
        {"Russian: Latin a has no key", &ru, "a", {UniDown(u'a'), UniUp(u'a')}},
        {"Greek: alpha on the A key goes as itself", &gr, "\xE1", {UniDown(u'\u03B1'), UniUp(u'\u03B1')}},
        {"Greek: ; confirmed on its key goes as itself", &gr, ";", {UniDown(u';'), UniUp(u';')}},
        {"Greek: : likewise with Shift", &gr, ":", {UniDown(u':'), UniUp(u':')}},
    };
    for (const auto& c : cases) EXPECT_EQ(kt::PlanTyping(c.layout->Text(c.text), *c.layout, -1), c.events) << c.what;
}

TEST(TypingPlan, AltGrCharactersNeverHoldCtrlOrAlt) {
    // Held by the program, Ctrl+Alt is AltGr only on some systems and a shortcut on others:
    // every character behind AltGr, with or without Shift, goes as itself.
    struct ShiftAltGrLayout : UsLayout {
        ShiftAltGrLayout() { Add(0xA4, 'E', kt::kScanShift | kt::kScanCtrl | kt::kScanAlt); }
    } layout;
    EXPECT_EQ(kt::PlanTyping("\xC2\xA4", layout, -1), (std::vector<KeyEvent>{UniDown(u'\u00A4'), UniUp(u'\u00A4')}));
    GermanLayout de;
    EXPECT_EQ(de.Replay(kt::PlanTyping("\\|~{", de, -1)), u"\\|~{");
    // The fake layouts replay Ctrl+Alt as a shortcut, so the oracle itself refuses the old way.
    EXPECT_THROW(de.Replay({Down(kt::kVkControl), Down(kt::kVkMenu), Down('Q'), Up('Q'), Up(kt::kVkMenu),
                            Up(kt::kVkControl)}),
                 std::logic_error);
}

TEST(TypingPlan, DeadKeysAndKeylessCharactersGoAsCharacterEvents) {
    GermanLayout de;
    EXPECT_EQ(kt::PlanTyping("^", de, -1), (std::vector<KeyEvent>{UniDown(u'^'), UniUp(u'^')}));
    EXPECT_EQ(kt::PlanTyping("\xC2\xB4", de, -1),
              (std::vector<KeyEvent>{UniDown(u'\u00B4'), UniUp(u'\u00B4')}));
    // A character with no key takes its code-page meaning, not its byte value.
    EXPECT_EQ(kt::PlanTyping("\xE2\x84\xA2", de, -1),
              (std::vector<KeyEvent>{UniDown(u'\u2122'), UniUp(u'\u2122')}));
    // Only the dead state of a key counts: the degree sign shares the circumflex's key.
    EXPECT_EQ(kt::PlanTyping("\xC2\xB0", de, -1),
              (std::vector<KeyEvent>{Down(kt::kVkShift), Down(0xDC), Up(0xDC), Up(kt::kVkShift)}));
    UsLayout us;
    EXPECT_EQ(kt::PlanTyping("\xC3\xA9", us, -1),
              (std::vector<KeyEvent>{UniDown(u'\u00E9'), UniUp(u'\u00E9')}));
}

TEST(TypingPlan, ACharacterBeyondTheBasicPlaneGoesAsItsSurrogatePair) {
    UsLayout us;
    const auto plan = kt::PlanTyping("a\xF0\x9F\x98\x80z", us, -1);
    EXPECT_EQ(plan, (std::vector<KeyEvent>{Down('A'), Up('A'), UniDown(0xD83D), UniUp(0xD83D), UniDown(0xDE00),
                                           UniUp(0xDE00), Down('Z'), Up('Z')}));
    EXPECT_EQ(kt::PlanStrokes("a\xF0\x9F\x98\x80z", us, -1).characters, 3u);
}

TEST(TypingPlan, ControlCombinationsNeverReachTheTargetAsShortcuts) {
    UsLayout us;
    // Ctrl+A would select everything in the target; the character goes as itself instead.
    for (const char* text : {"\x01", "\x7F", "\n"}) {
        for (const KeyEvent& e : kt::PlanTyping(text, us, -1)) {
            EXPECT_TRUE(e.unicode) << int(text[0]);
        }
    }
    EXPECT_EQ(kt::PlanTyping("\t", us, -1), (std::vector<KeyEvent>{Down(kt::kVkTab), Up(kt::kVkTab)}));
}

TEST(TypingPlan, EndOfLineActionFollowsTheText) {
    UsLayout us;
    EXPECT_EQ(kt::PlanTyping("", us, 1), (std::vector<KeyEvent>{Down(kt::kVkReturn), Up(kt::kVkReturn)}));
    auto tab = kt::PlanTyping("x", us, 2);
    ASSERT_EQ(tab.size(), 4u);
    EXPECT_EQ(tab[2], Down(kt::kVkTab));
    EXPECT_EQ(tab[3], Up(kt::kVkTab));
    for (int eol : {-1, 0, 3}) EXPECT_EQ(kt::PlanTyping("x", us, eol).size(), 2u) << eol;
}

TEST(TypingPlan, DeadOnlyWithShiftStillArrives) {
    // As on US-International: Shift+6 is a dead circumflex, the plain 6 is not; the quote key
    // and the grave key are dead in both states.
    struct UsInternational : UsLayout {
        UsInternational() {
            for (char c : std::string("^'\"`~")) Dead(static_cast<unsigned char>(c));
        }
    } intl;
    const std::string text = "6^a 'x\" ~n`e";
    EXPECT_EQ(intl.Replay(kt::PlanTyping(text, intl, -1)), intl.Decode(text));
    EXPECT_EQ(kt::PlanTyping("6", intl, -1), (std::vector<KeyEvent>{Down('6'), Up('6')}));
    EXPECT_EQ(kt::PlanTyping("^", intl, -1), (std::vector<KeyEvent>{UniDown(u'^'), UniUp(u'^')}));
}
