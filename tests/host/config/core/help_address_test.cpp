// The texts of the Help menu, the settings dialog and the About box that need no window.
#include <gtest/gtest.h>

#include "config/core/HelpAddress.h"

using namespace kt;

TEST(HelpAddress, FolderWithBlanksGivesEscapedFileAddressOnItsDrive) {
    EXPECT_EQ(HelpPageAddress("C:\\Program Files\\Ketravo", kHelpContentsPage),
              "file:///C:/Program%20Files/Ketravo/help/contents.html");
    EXPECT_EQ(HelpPageAddress("D:\\Apps\\Ketravo", kHelpIndexPage), "file:///D:/Apps/Ketravo/help/index.html");
    EXPECT_EQ(HelpPageAddress("E:\\a  b", kHelpOnHelpPage), "file:///E:/a%20%20b/help/help.html");
}

TEST(HelpAddress, PercentAndHashInAFolderAreEscapedNotReadAsEscapeOrAnchor) {
    EXPECT_EQ(HelpPageAddress("C:\\100% Tools\\#1", kHelpIndexPage), "file:///C:/100%25%20Tools/%231/help/index.html");
}

TEST(HelpAddress, LettersBeyondAsciiAreEscapedAsUtf8) {
    // "é" (0xE9), "€" (0x80, three bytes in UTF-8) and "ß" as the code page gives them.
    EXPECT_EQ(HelpPageAddress("C:\\Program Files \xE9\\\x80\xDF", kHelpIndexPage),
              "file:///C:/Program%20Files%20%C3%A9/%E2%82%AC%C3%9F/help/index.html");
}

TEST(HelpAddress, RootFolderDoesNotDoubleTheSlash) {
    EXPECT_EQ(HelpPageAddress("C:\\", kHelpIndexPage), "file:///C:/help/index.html");
}

TEST(BrowserCommand, AddressFollowsTheStoredArgumentsOrTakesThePlaceOfPercentOne) {
    EXPECT_EQ(BrowserCommandLine("C:\\b\\web.exe -nohome", "file:///C:/x.html"), "C:\\b\\web.exe -nohome file:///C:/x.html");
    EXPECT_EQ(BrowserCommandLine("\"C:\\b\\web.exe\" -url \"%1\"", "http://h/p"), "\"C:\\b\\web.exe\" -url \"http://h/p\"");
    EXPECT_EQ(BrowserCommandLine("web.exe %L", "http://h/"), "web.exe http://h/");
    // An address with "%1" in it is placed once, not rescanned.
    EXPECT_EQ(BrowserCommandLine("web.exe \"%1\"", "http://h/%1x"), "web.exe \"http://h/%1x\"");
    EXPECT_EQ(BrowserCommandLine("web.exe 100%", "a"), "web.exe 100% a");
}

TEST(BrowserCommand, ProgramPathWithBlanksIsQuotedOnce) {
    EXPECT_EQ(QuoteProgramPath("C:\\Program Files\\B\\b.exe"), "\"C:\\Program Files\\B\\b.exe\"");
    EXPECT_EQ(QuoteProgramPath("C:\\B\\b.exe"), "C:\\B\\b.exe");
    EXPECT_EQ(QuoteProgramPath("\"C:\\P F\\b.exe\""), "\"C:\\P F\\b.exe\"");
}

TEST(SupportMail, EmptyVendorGivesTheDefaultSubjectAndBodyWithoutAName) {
    MailText m = SupportMail("", "", "");
    EXPECT_EQ(m.subject, "RE: Your Shareware Program ");
    EXPECT_EQ(m.body, "Dear \r\n\r\nI need some information on the following:");
    EXPECT_EQ(m.recipient, "");
}

TEST(SupportMail, GreetingFallsBackToTheRecipientAndSubjectIsPrefixed) {
    MailText m = SupportMail("Help Desk", "Order 5", "");
    EXPECT_EQ(m.subject, "RE: Order 5");
    EXPECT_EQ(m.body, "Dear Help Desk\r\n\r\nI need some information on the following:");
    EXPECT_EQ(SupportMail("Help Desk", "", "Ann").body.substr(0, 9), "Dear Ann\r");
}

TEST(AboutFigures, KilobytesAreRoundedAndGroupedWithTheLocaleSeparator) {
    EXPECT_EQ(FormatKilobytes(512ull << 20, ","), "524,288 KB");
    EXPECT_EQ(FormatKilobytes(512ull << 20, "."), "524.288 KB");
    EXPECT_EQ(FormatKilobytes(16ull << 30, ","), "16,777,216 KB");  // beyond 4 GB
    EXPECT_EQ(FormatKilobytes(999 * 1024, ","), "999 KB");
    EXPECT_EQ(FormatKilobytes(1000 * 1024, ","), "1,000 KB");
    EXPECT_EQ(FormatKilobytes(1535, ","), "1 KB");
    EXPECT_EQ(FormatKilobytes(1536, ","), "2 KB");
    EXPECT_EQ(FormatKilobytes(0, ","), "0 KB");
    EXPECT_EQ(FormatKilobytes(1234567ull * 1024, ""), "1234567 KB");
    EXPECT_EQ(FormatMemoryLoad(43), "43 %");
}

TEST(SettingsFolders, FolderPartKeepsItsTrailingBackslash) {
    EXPECT_EQ(FolderPartOf("C:\\Work\\a.dat"), "C:\\Work\\");
    EXPECT_EQ(FolderPartOf("C:\\a.dat"), "C:\\");
    EXPECT_EQ(FolderPartOf("C:a.dat"), "C:");
    EXPECT_EQ(FolderPartOf("a.dat"), "");
}

TEST(SettingsFolders, StoredFormReplacesTheDriveOnceOnly) {
    EXPECT_EQ(StoredFolderText("D:\\Projects"), "%systemroot%\\Projects");
    EXPECT_EQ(StoredFolderText(""), "%systemroot%");
    EXPECT_EQ(StoredFolderText("D"), "%systemroot%");
    // A value another dialog already stored is not encoded a second time.
    EXPECT_EQ(StoredFolderText("%systemroot%\\Projects"), "%systemroot%\\Projects");
}
