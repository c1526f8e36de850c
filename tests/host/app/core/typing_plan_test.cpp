#include <gtest/gtest.h>

#include "FakeLayouts.h"
#include "app/core/TypingPlan.h"

using kt::KeyEvent;
using kt::test::GermanLayout;
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

std::u16string Cp1252(const kt::KeyboardLayout& layout, std::string_view text) {
    std::u16string out;
    for (char c : text) out += layout.ToUtf16(static_cast<unsigned char>(c));
    return out;
}

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
    UsLayout us;
    GermanLayout de;
    const std::string texts[] = {PrintableAscii(), UpperHalf(),
                                 "Stra\xDF" "e caf\xE9 \x80 5\xB0 ^a `e \xB4o ~n"};
    for (const kt::test::TableLayout* layout : {static_cast<const kt::test::TableLayout*>(&us),
                                                static_cast<const kt::test::TableLayout*>(&de)}) {
        for (const std::string& text : texts) {
            auto plan = kt::PlanTyping(text, *layout, -1);
            EXPECT_EQ(layout->Replay(plan), Cp1252(*layout, text)) << text;
        }
    }
}

TEST(TypingPlan, AltGrCharactersHoldCtrlAndAlt) {
    GermanLayout de;
    std::vector<KeyEvent> want = {Down(kt::kVkControl), Down(kt::kVkMenu), Down('Q'), Up('Q'),
                                  Up(kt::kVkMenu),      Up(kt::kVkControl)};
    EXPECT_EQ(kt::PlanTyping("@", de, -1), want);
    EXPECT_EQ(de.Replay(kt::PlanTyping("\x80", de, -1)), u"\u20AC");
}

TEST(TypingPlan, ShiftWithAltGrPressesAllThreeAndReleasesInReverse) {
    struct ShiftAltGrLayout : UsLayout {
        ShiftAltGrLayout() { Add(0xA4, 'E', kt::kScanShift | kt::kScanCtrl | kt::kScanAlt); }
    } layout;
    std::vector<KeyEvent> want = {Down(kt::kVkShift), Down(kt::kVkControl), Down(kt::kVkMenu),
                                  Down('E'),          Up('E'),              Up(kt::kVkMenu),
                                  Up(kt::kVkControl), Up(kt::kVkShift)};
    EXPECT_EQ(kt::PlanTyping("\xA4", layout, -1), want);
    EXPECT_EQ(layout.Replay(want), u"\u00A4");
}

TEST(TypingPlan, DeadKeysAndKeylessCharactersGoAsCharacterEvents) {
    GermanLayout de;
    EXPECT_EQ(kt::PlanTyping("^", de, -1), (std::vector<KeyEvent>{UniDown(u'^'), UniUp(u'^')}));
    EXPECT_EQ(kt::PlanTyping("\xB4", de, -1),
              (std::vector<KeyEvent>{UniDown(u'\u00B4'), UniUp(u'\u00B4')}));
    // A character with no key takes its code-page meaning, not its byte value.
    EXPECT_EQ(kt::PlanTyping("\x99", de, -1),
              (std::vector<KeyEvent>{UniDown(u'\u2122'), UniUp(u'\u2122')}));
    // Only the dead state of a key counts: the degree sign shares the circumflex's key.
    EXPECT_EQ(kt::PlanTyping("\xB0", de, -1),
              (std::vector<KeyEvent>{Down(kt::kVkShift), Down(0xDC), Up(0xDC), Up(kt::kVkShift)}));
    UsLayout us;
    EXPECT_EQ(kt::PlanTyping("\xE9", us, -1),
              (std::vector<KeyEvent>{UniDown(u'\u00E9'), UniUp(u'\u00E9')}));
}

TEST(TypingPlan, ByteWithoutCharacterIsSkipped) {
    UsLayout us;
    EXPECT_TRUE(kt::PlanTyping("\x81", us, -1).empty());
    EXPECT_EQ(us.Replay(kt::PlanTyping("a\x81z", us, -1)), u"az");
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
    EXPECT_EQ(intl.Replay(kt::PlanTyping(text, intl, -1)), Cp1252(intl, text));
    EXPECT_EQ(kt::PlanTyping("6", intl, -1), (std::vector<KeyEvent>{Down('6'), Up('6')}));
    EXPECT_EQ(kt::PlanTyping("^", intl, -1), (std::vector<KeyEvent>{UniDown(u'^'), UniUp(u'^')}));
}
