#include "app/core/KeyNames.h"

#include <gtest/gtest.h>

namespace kt {
namespace {

TEST(KeyNames, FunctionKeyNumbersHaveNoLeadingZeroNorOtherCharacters) {
    const struct {
        const char* name;
        int n;
    } cases[] = {{"F1", 1},  {"f9", 9},  {"F12", 12}, {"F24", 24}, {"F99", 99}, {"F", 0},  {"F0", 0},
                 {"F01", 0}, {"F1a", 0}, {"F100", 0}, {"G1", 0},   {"F-1", 0},  {"F 1", 0}, {"", 0}};
    for (const auto& c : cases) EXPECT_EQ(FunctionKeyNumber(c.name), c.n) << c.name;
}

TEST(KeyNames, CaseIsIgnoredForAsciiLettersOnly) {
    EXPECT_TRUE(SameLetters("PageUp", "pAGEuP"));
    EXPECT_FALSE(SameLetters("Up", "Upp"));
    EXPECT_FALSE(SameLetters("\xE9", "\xC9"));  // not ASCII: compared as bytes
    EXPECT_FALSE(SameLetters("[", "{"));
    EXPECT_EQ(AsciiUpper("pgUp+ctrl \xE9"), "PGUP+CTRL \xE9");
}

}  // namespace
}  // namespace kt
