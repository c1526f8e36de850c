#include <gtest/gtest.h>

#include "FakeLayouts.h"
#include "app/core/CaptureKey.h"

using kt::CaptureKey;

TEST(CaptureKey, TextsReadInAnyLetterCaseAndPrintBackInOneForm) {
    const struct {
        const char* stored;
        CaptureKey key;
        const char* printed;
    } cases[] = {
        {"Ctrl+T", {kt::kKeyCtrl, 'T'}, "Ctrl+T"},
        {"ctrl+shift+y", {kt::kKeyCtrl | kt::kKeyShift, 'Y'}, "Ctrl+Shift+Y"},
        {"ALT+f9", {kt::kKeyAlt, 0x78}, "Alt+F9"},
        {"Shift + Ctrl + 5", {kt::kKeyCtrl | kt::kKeyShift, '5'}, "Ctrl+Shift+5"},
        {"Win+Alt+F24", {kt::kKeyAlt | kt::kKeyWin, 0x87}, "Alt+Win+F24"},
        {"Ctrl+Alt+Shift+Win+F1", {15, 0x70}, "Ctrl+Alt+Shift+Win+F1"},
        {"ctrl+pageup", {kt::kKeyCtrl, 0x21}, "Ctrl+PageUp"},
        {"Alt+Space", {kt::kKeyAlt, 0x20}, "Alt+Space"},
        {"Ctrl+num7", {kt::kKeyCtrl, 0x67}, "Ctrl+Num7"},
    };
    for (const auto& c : cases) {
        CaptureKey key;
        std::string problem;
        ASSERT_TRUE(kt::ParseCaptureKey(c.stored, key, problem)) << c.stored << ": " << problem;
        EXPECT_EQ(key, c.key) << c.stored;
        EXPECT_EQ(kt::CaptureKeyText(key), c.printed);
        // What is printed reads back as the same key.
        CaptureKey again;
        ASSERT_TRUE(kt::ParseCaptureKey(kt::CaptureKeyText(key), again, problem));
        EXPECT_EQ(again, key);
    }
}

TEST(CaptureKey, RefusesTextsThatNameNoUsableKeyAndLeavesTheKeyAlone) {
    const struct {
        const char* stored;
        const char* problem;
    } cases[] = {
        {"T", "needs Ctrl, Alt or Win"},
        {"Shift+T", "needs Ctrl, Alt or Win"},
        {"F5", "needs Ctrl, Alt or Win"},
        {"", "is not a key combination"},
        {"Ctrl+", "is not a key combination"},
        {"Ctrl", "is not a key combination"},
        {"Ctrl+Ctrl+T", "is not a key combination"},
        {"Strg+T", "is not a key combination"},
        {"Ctrl+TT", "is not a key combination"},
        {"Ctrl+F0", "is not a key combination"},
        {"Ctrl+F25", "is not a key combination"},
        {"Ctrl+F09", "is not a key combination"},
        {"Ctrl+;", "is not a key combination"},
        {"Ctrl++", "is not a key combination"},
        {"Ctrl+T+Y", "is not a key combination"},
        // Keys Windows keeps for itself are named as such, not as another program's.
        {"Ctrl+F12", "Windows keeps Ctrl+F12 for itself (F12 belongs to the debugger"},
        {"Ctrl+Alt+Del", "Windows keeps Ctrl+Alt+Delete for itself (it opens the security screen)"},
        {"Alt+Tab", "Windows keeps Alt+Tab for itself (it switches between windows)"},
        {"Alt+Shift+Tab", "Windows keeps Alt+Shift+Tab"},
        {"Win+L", "Windows keeps Win+L for itself (it locks the computer)"},
        {"Win+E", "the Windows shell uses the Win key with it"},
    };
    for (const auto& c : cases) {
        CaptureKey key{kt::kKeyAlt, 'Q'};
        std::string problem;
        EXPECT_FALSE(kt::ParseCaptureKey(c.stored, key, problem)) << c.stored;
        EXPECT_NE(problem.find(c.problem), std::string::npos) << c.stored << ": " << problem;
        EXPECT_EQ(key, (CaptureKey{kt::kKeyAlt, 'Q'})) << c.stored;
    }
    // A key the dialog may be given that has no name here (a punctuation key, whose place
    // differs between layouts).
    EXPECT_NE(kt::CaptureKeyProblem({kt::kKeyCtrl, 0xBA}), "");
    EXPECT_EQ(kt::CaptureKeyProblem({kt::kKeyCtrl, 'T'}), "");
}

TEST(CaptureKey, CtrlAltKeysThatTheLayoutTypesACharacterWithAreRefusedNamingIt) {
    kt::test::GermanLayout de;
    const unsigned ctrlAlt = kt::kKeyCtrl | kt::kKeyAlt;
    EXPECT_EQ(kt::CaptureKeyRefusal({ctrlAlt, '7'}, de), "On the current keyboard layout Ctrl+Alt+7 types \"{\" "
                                                         "(Ctrl+Alt is AltGr there), so it cannot be the capture key: choose another");
    EXPECT_NE(kt::CaptureKeyRefusal({ctrlAlt, 'Q'}, de).find("types \"@\""), std::string::npos);
    EXPECT_EQ(kt::CaptureKeyRefusal({ctrlAlt, 'T'}, de), "");  // AltGr+T types nothing there
    EXPECT_EQ(kt::CaptureKeyRefusal({ctrlAlt, 'Q'}, kt::test::UsLayout()), "");
}

TEST(CaptureKey, TheInstructionNamesTheKeyAndReadsAsBeforeWithCtrlT) {
    EXPECT_EQ(kt::CaptureInstruction(kt::kDefaultCaptureKey),
              "Press Ctrl+T on the Window where you want the typing to appear");
    EXPECT_EQ(kt::CaptureInstruction({kt::kKeyCtrl | kt::kKeyShift, 'Y'}),
              "Press Ctrl+Shift+Y on the Window where you want the typing to appear");
}
