// Folder settings that keep what the user meant: the placeholder only for "X:" paths, relative
// folders inside the program's folder, shares as they stand, a start folder on a share.
#include <gtest/gtest.h>

#include "config/core/FolderRules.h"
#include "config/core/HelpAddress.h"

using namespace kt;

TEST(FolderRules, OnlyADriveLetterAndColonTakeThePlaceholder) {
    const struct {
        const char* folder;
        const char* stored;
    } cases[] = {
        {"D:\\Apps\\data", "%systemroot%\\Apps\\data"},
        {"\\\\nas\\schemes", "\\\\nas\\schemes"},            // was "%systemroot%nas\\schemes"
        {"data2", "data2"},                                  // was "%systemroot%ta2"
        {"%systemroot%\\x", "%systemroot%\\x"},              // never encoded twice
        {"", "%systemroot%"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(StoredFolderForm(c.folder), c.stored) << c.folder;
        EXPECT_EQ(StoredFolderText(c.folder), c.stored) << c.folder;
    }
}

TEST(FolderRules, ThePlaceholderStandsForTheStartFoldersDriveOrShare) {
    EXPECT_EQ(ExpandStoredFolder("%systemroot%\\Apps\\data", "E:\\Apps"), "E:\\Apps\\data");
    EXPECT_EQ(ExpandStoredFolder("%systemroot%\\Apps\\data", "\\\\nas\\team\\Apps"), "\\\\nas\\team\\Apps\\data");
    EXPECT_EQ(ExpandStoredFolder("%systemroot%\\x", "//nas/team"), "\\\\nas\\team\\x");
    EXPECT_EQ(ExpandStoredFolder("\\\\nas\\schemes", "E:\\"), "\\\\nas\\schemes");
    EXPECT_EQ(ExpandStoredFolder("%SystemRoot%\\x", "E:\\"), "%SystemRoot%\\x");
    EXPECT_EQ(ExpandStoredFolder("%systemroot%\\x", "relative"), "C:\\x");
    // A start folder on a share, stored at the first run and read back at the next one.
    const std::string start = "\\\\nas\\team\\Ketravo";
    EXPECT_EQ(ExpandStoredFolder(StoredFolderForm(start + "\\data"), start), start + "\\data");
}

TEST(FolderRules, ATypedFolderBecomesTheFolderMeantOrIsRefused) {
    const std::string app = "Z:\\work\\Ketravo";
    const struct {
        const char* typed;
        const char* program;
        const char* folder;  // empty: refused (or nothing typed)
        bool refused;
    } cases[] = {
        {"data2", "Z:\\work\\Ketravo", "Z:\\work\\Ketravo\\data2", false},
        {"..\\shared", "Z:\\work\\Ketravo", "Z:\\work\\shared", false},
        {" \"..\\..\\..\\x\" ", "Z:\\work\\Ketravo", "Z:\\x", false},  // quotes gone, never above the drive
        {"./a//b/.", "Z:\\work\\Ketravo", "Z:\\work\\Ketravo\\a\\b", false},
        {"\\top", "Z:\\work\\Ketravo", "Z:\\top", false},
        {"D:\\Schemes\\", "Z:\\work\\Ketravo", "D:\\Schemes", false},
        {"\\\\nas\\schemes", "Z:\\work\\Ketravo", "\\\\nas\\schemes", false},
        {"//nas/schemes/a/../b", "Z:\\work\\Ketravo", "\\\\nas\\schemes\\b", false},
        {"\\\\nas\\schemes\\..\\..", "Z:\\work\\Ketravo", "\\\\nas\\schemes", false},  // the share stays
        {"data", "\\\\nas\\team\\Ketravo", "\\\\nas\\team\\Ketravo\\data", false},
        {"%systemroot%\\kept", "Z:\\work\\Ketravo", "%systemroot%\\kept", false},
        {"", "Z:\\work\\Ketravo", "", false},
        {"\\\\nas", "Z:\\work\\Ketravo", "", true},
        {"D:data", "Z:\\work\\Ketravo", "", true},
        {"a|b", "Z:\\work\\Ketravo", "", true},
        {"C:\\a:b", "Z:\\work\\Ketravo", "", true},
        {"data", "", "", true},
    };
    for (const auto& c : cases) {
        const TypedFolder r = ResolveTypedFolder(c.typed, c.program);
        EXPECT_EQ(r.folder, c.folder) << c.typed;
        EXPECT_EQ(!r.problem.empty(), c.refused) << c.typed << ": " << r.problem;
    }
    EXPECT_EQ(ResolveTypedFolder("D:data", app).problem,
              "The folder \"D:data\" has no backslash after the drive: write it as D:\\data.");
    EXPECT_EQ(ResolveTypedFolder("\\\\nas", app).problem,
              "The folder \"\\\\nas\" names no shared folder: write it as \\\\server\\share\\folder.");
}
