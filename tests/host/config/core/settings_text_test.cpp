#include <gtest/gtest.h>

#include "config/core/SettingsText.h"
#include "core/Errors.h"

using namespace kt;

TEST(SettingsInteger, ReadsDecimalSignedAndHexTexts) {
    EXPECT_EQ(TextToInt("244"), 244);
    EXPECT_EQ(TextToInt("-14"), -14);
    EXPECT_EQ(TextToInt("+7"), 7);
    EXPECT_EQ(TextToInt("  12"), 12);
    EXPECT_EQ(TextToInt("$10"), 16);
    EXPECT_EQ(TextToInt("0x1F"), 31);
    EXPECT_EQ(TextToInt("2147483647"), 2147483647);
    EXPECT_EQ(TextToInt("-2147483648"), -2147483647 - 1);
    EXPECT_EQ(TextToInt("$FFFFFFFF"), -1);
    EXPECT_EQ(IntToText(-32000), "-32000");
}

TEST(SettingsInteger, RejectsTrailingLettersOverflowAndEmptyWithTheConversionText) {
    for (const char* bad : {"244px", "", " ", "-", "$", "12 ", "2147483648", "1e3", "0x", "99999999999"}) {
        try {
            TextToInt(bad);
            FAIL() << "accepted '" << bad << "'";
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message(), std::string("'") + bad + "' is not a valid integer value");
        }
    }
}

TEST(SettingsBoolean, AcceptsNumbersAndWordsInAnyCase) {
    EXPECT_TRUE(TextToBool("-1"));
    EXPECT_FALSE(TextToBool("0"));
    EXPECT_TRUE(TextToBool("5"));
    EXPECT_FALSE(TextToBool("0.0"));
    EXPECT_TRUE(TextToBool("True"));
    EXPECT_TRUE(TextToBool("tRUE"));
    EXPECT_FALSE(TextToBool("FALSE"));
    EXPECT_EQ(BoolToText(true), "-1");
    EXPECT_EQ(BoolToText(false), "0");
}

TEST(SettingsBoolean, OtherWordsAreConversionErrors) {
    for (const char* bad : {"yes", "Truely", "", "1x"}) {
        EXPECT_THROW(TextToBool(bad), EConvertError) << bad;
    }
    try {
        TextToBool("yes");
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "'yes' is not a valid boolean value");
    }
}

TEST(DrivePlaceholder, EncodesByDroppingTheFirstTwoCharacters) {
    EXPECT_EQ(EncodeDrivePlaceholder("D:\\Apps\\Ketravo"), "%systemroot%\\Apps\\Ketravo");
    EXPECT_EQ(EncodeDrivePlaceholder("C:"), "%systemroot%");
    EXPECT_EQ(EncodeDrivePlaceholder("X"), "%systemroot%");
    EXPECT_EQ(EncodeDrivePlaceholder(""), "%systemroot%");
    // Applied to any path, even one without a drive.
    EXPECT_EQ(EncodeDrivePlaceholder("\\\\server\\share"), "%systemroot%server\\share");
}

TEST(DrivePlaceholder, ExpandsEveryExactOccurrenceWithTheStartDrive) {
    EXPECT_EQ(ExpandDrivePlaceholder("%systemroot%\\Apps\\Ketravo\\data", 'E'), "E:\\Apps\\Ketravo\\data");
    EXPECT_EQ(ExpandDrivePlaceholder("%systemroot%\\a;%systemroot%\\b", 'C'), "C:\\a;C:\\b");
    EXPECT_EQ(ExpandDrivePlaceholder("D:\\Literal", 'C'), "D:\\Literal");
    EXPECT_EQ(ExpandDrivePlaceholder("%SystemRoot%\\x", 'C'), "%SystemRoot%\\x");
    EXPECT_EQ(ExpandDrivePlaceholder("%systemroot", 'C'), "%systemroot");
    // Round trip of a first-run value.
    EXPECT_EQ(ExpandDrivePlaceholder(EncodeDrivePlaceholder("Z:\\k\\data"), 'Z'), "Z:\\k\\data");
}

TEST(DrivePlaceholder, ABareDriveIsNoUsableFolder) {
    for (const char* bad : {"", "C:", "C:\\", "%systemroot%", "%systemroot%\\", "Z:/", " "})
        EXPECT_FALSE(kt::IsUsableFolder(bad)) << bad;
    for (const char* good : {"C:\\data", "%systemroot%\\Apps\\data", "\\\\server\\share", "data"})
        EXPECT_TRUE(kt::IsUsableFolder(good)) << good;
}
