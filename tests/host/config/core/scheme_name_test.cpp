// Scheme names become file names in the scheme folder: only plain names may pass.
#include <gtest/gtest.h>

#include "app/core/SchemeFile.h"
#include "config/core/SchemeName.h"

using namespace kt;

TEST(SchemeName, PlainNamesPass) {
    for (const char* name : {"home", "work 2", "a.b", "caf\xe9", "con2", "console", "com10", "lpt0", "x.dat", "-1",
                             "a.", ".hidden", "nul_ok"})
        EXPECT_EQ(SchemeNameProblem(name), "") << name;
}

TEST(SchemeName, NamesThatLeaveTheFolderOrNameNoFileAreRefused) {
    for (const char* name : {"..\\evil", "../evil", "..", "a..b", "sub\\home", "sub/home", "C:home", "c:\\x",
                             "\\\\server\\share\\x", "a*b", "what?", "say\"hi\"", "<x>", "a|b", "tab\there",
                             "line\nbreak"})
        EXPECT_FALSE(IsSafeSchemeName(name)) << name;
}

TEST(SchemeName, DeviceNamesAreRefusedInAnyCaseAndWithAnExtension) {
    for (const char* name : {"CON", "con", "Nul", "aux", "PRN", "com1", "COM9", "lpt3", "nul.txt", "con .x", "CONIN$"})
        EXPECT_FALSE(IsSafeSchemeName(name)) << name;
}

TEST(SchemeName, TheMessageQuotesTheNameAndSaysWhy) {
    EXPECT_EQ(SchemeNameProblem("..\\x"), "Invalid scheme name \"..\\x\" - it may not hold \\ / or :");
    EXPECT_EQ(SchemeNameProblem("a..b"), "Invalid scheme name \"a..b\" - it may not hold ..");
    EXPECT_EQ(SchemeNameProblem("a|b"), "Invalid scheme name \"a|b\" - it may not hold * ? \" < > |");
    EXPECT_EQ(SchemeNameProblem("nul"), "Invalid scheme name \"nul\" - it is a device name");
}

TEST(SchemeName, NameOfAFileDropsTheLastFourCharacters) {
    EXPECT_EQ(SchemeDisplayName("home.dat"), "home");
    EXPECT_EQ(SchemeDisplayName(".dat"), "");
    EXPECT_EQ(SchemeDisplayName(""), "");
    EXPECT_EQ(SchemeDisplayName("a.b.dat"), "a.b");
}
