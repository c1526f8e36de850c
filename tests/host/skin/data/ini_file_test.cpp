#include <gtest/gtest.h>

#include "skin/data/IniFile.h"

using namespace kt;

TEST(IniText, NamesMatchAnyCaseAndValuesAreTrimmed) {
    TIniText ini("; comment\r\nstray=1\r\n[Personality]\r\n  Left =  left.bmp  \r\nLeftFrame=2\n[ToolBars]\rImage=tb.bmp\r\n");
    EXPECT_EQ(ini.ReadString("personality", "LEFT", "x"), "left.bmp");
    EXPECT_EQ(ini.ReadString("Toolbars", "image", ""), "tb.bmp");  // lone CR ends a line too
    EXPECT_EQ(ini.ReadInteger("PERSONALITY", "leftframe", 1), 2);
    EXPECT_EQ(ini.ReadString("Personality", "Missing", "def"), "def");
    EXPECT_EQ(ini.ReadString("Nowhere", "Left", "def"), "def");
    EXPECT_FALSE(ini.ValueExists("", "stray"));  // lines before the first section belong to none
    ASSERT_EQ(ini.Sections().size(), 2u);
    EXPECT_EQ(ini.Sections()[1], "ToolBars");
}

TEST(IniText, FirstSectionAndFirstKeyWinButEverySectionIsListed) {
    TIniText ini("[A]\nk=1\nk=2\n[B]\nk=3\n[a]\nk=4\nj=5\n[ C ]\nv = a = b\n");
    EXPECT_EQ(ini.ReadString("A", "k", ""), "1");
    EXPECT_EQ(ini.ReadString("A", "j", "none"), "none");  // the second [a] is never searched
    EXPECT_EQ(ini.ReadString("C", "v", ""), "a = b");      // value is everything after the first '='
    const std::vector<std::string> expect{"A", "B", "a", "C"};
    EXPECT_EQ(ini.Sections(), expect);
}

TEST(IniText, IntegersAreDecimalWithinThirtyTwoBits) {
    TIniText ini("[S]\na=-12\nb=+7\nc=12x\nd=\ne=2147483647\nf=2147483648\ng=-2147483648\nh=$10\ni= 5 \n");
    EXPECT_EQ(ini.ReadInteger("S", "a", 0), -12);
    EXPECT_EQ(ini.ReadInteger("S", "b", 0), 7);
    EXPECT_EQ(ini.ReadInteger("S", "c", 9), 9);
    EXPECT_EQ(ini.ReadInteger("S", "d", 9), 9);
    EXPECT_EQ(ini.ReadInteger("S", "e", 0), 2147483647);
    EXPECT_EQ(ini.ReadInteger("S", "f", 9), 9);
    EXPECT_EQ(ini.ReadInteger("S", "g", 0), INT32_MIN);
    EXPECT_EQ(ini.ReadInteger("S", "h", 9), 9);
    EXPECT_EQ(ini.ReadInteger("S", "i", 0), 5);
}
