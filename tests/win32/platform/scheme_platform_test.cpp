#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "app/core/SchemeFile.h"
#include "app/core/TypingPlan.h"
#include "core/Errors.h"
#include "platform/Win32KeyboardLayout.h"
#include "platform/Win32SchemeFileSystem.h"

namespace {

class Win32Folder {
public:
    Win32Folder() {
        char base[MAX_PATH];
        GetTempPathA(MAX_PATH, base);
        path_ = std::string(base) + "kt_scheme_platform";
        Clear();
        CreateDirectoryA(path_.c_str(), nullptr);
    }
    ~Win32Folder() { Clear(); }
    std::string operator/(const std::string& name) const { return path_ + "\\" + name; }
    const std::string& str() const { return path_; }

private:
    void Clear() {
        kt::Win32SchemeFileSystem fs;
        for (const std::string& n : fs.ListEntries(path_)) {
            std::string p = path_ + "\\" + n;
            if (!DeleteFileA(p.c_str())) RemoveDirectoryA(p.c_str());
        }
        RemoveDirectoryA(path_.c_str());
    }
    std::string path_;
};

void Put(const std::string& path, const std::string& content) {
    std::ofstream(path, std::ios::binary) << content;
}

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

struct InstallWin32Files {
    kt::Win32SchemeFileSystem fs;
    InstallWin32Files() { kt::SetSchemeFileSystem(&fs); }
    ~InstallWin32Files() { kt::SetSchemeFileSystem(nullptr); }
};

}  // namespace

TEST(Win32SchemeFiles, SaveReplacesAnExistingSchemeAndLeavesNoTemporary) {
    InstallWin32Files install;
    Win32Folder dir;
    const std::string path = dir / "button.dat";
    Put(path, "C01old\r\nT01old\r\nD010\r\n");
    kt::SaveSchemeFile(path, kt::ButtonScheme{{"Name"}, {"Jos\xC3\xA9"}, kt::kEolEnter});
    EXPECT_EQ(Slurp(path), "C01Name\r\nT01Jos\xE9\r\nD011\r\n");
    EXPECT_EQ(install.fs.ListEntries(dir.str()), std::vector<std::string>{"button.dat"});
}

TEST(Win32SchemeFiles, ReadOnlySchemeIsReportedAndKept) {
    InstallWin32Files install;
    Win32Folder dir;
    const std::string path = dir / "locked.dat";
    Put(path, "D012\r\n");
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
    try {
        kt::SaveSchemeFile(path, kt::ButtonScheme{{"x"}, {"y"}, 0});
        ADD_FAILURE() << "read-only file replaced";
    } catch (const kt::EInOutError& e) {
        EXPECT_EQ(e.Message(), "Cannot create file " + path);
    }
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(Slurp(path), "D012\r\n");
    EXPECT_EQ(install.fs.ListEntries(dir.str()), std::vector<std::string>{"locked.dat"});
}

TEST(Win32SchemeFiles, ListsFilesButNoFolderNorDotEntries) {
    InstallWin32Files install;
    Win32Folder dir;
    Put(dir / "a.dat", "D010\r\n");
    Put(dir / "B.DAT", "D010\r\n");
    CreateDirectoryA((dir / "sub.dat").c_str(), nullptr);
    auto names = kt::ListSchemeNames(dir.str());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"a"}));  // a folder "sub.dat" is no scheme
    EXPECT_TRUE(install.fs.IsFile(dir / "a.dat"));
    EXPECT_FALSE(install.fs.IsFile(dir / "sub.dat"));
    kt::ButtonScheme s;
    EXPECT_FALSE(kt::LoadSchemeFile(dir / "sub.dat", s));
}

TEST(Win32KeyboardLayout, PlanOnTheSystemLayoutTypesPlainAsciiWithItsOwnShiftStates) {
    kt::Win32KeyboardLayout layout;
    // Whatever the layout, a letter is its own key and a capital adds Shift.
    auto lower = kt::PlanTyping("a", layout, -1);
    ASSERT_EQ(lower.size(), 2u);
    EXPECT_EQ(lower[0].code, 'A');
    EXPECT_FALSE(lower[0].unicode);
    auto upper = kt::PlanTyping("A", layout, -1);
    ASSERT_EQ(upper.size(), 4u);
    EXPECT_EQ(upper[0].code, kt::kVkShift);
    // The plan's Shift follows VkKeyScanA for every printable character.
    for (int c = 33; c < 127; ++c) {
        SHORT scan = VkKeyScanA(static_cast<CHAR>(c));
        auto plan = kt::PlanTyping(std::string(1, static_cast<char>(c)), layout, -1);
        ASSERT_FALSE(plan.empty()) << c;
        if (plan[0].unicode) continue;
        EXPECT_EQ(plan[0].code == kt::kVkShift, ((scan >> 8) & 1) != 0) << c;
    }
    EXPECT_EQ(layout.ToUtf16(0xE9), u"\u00E9");
}

TEST(Win32KeyboardLayout, KeysAnswerTheOtherWayRoundWithTheirCharacters) {
    kt::Win32KeyboardLayout layout;
    // Every printable character the layout names a plain or shifted key for comes back from
    // that key: the round trip the plan relies on.
    int confirmed = 0;
    for (int c = 33; c < 127; ++c) {
        const SHORT scan = VkKeyScanA(static_cast<CHAR>(c));
        if (scan == -1 || (scan & 0xFE00)) continue;
        EXPECT_EQ(layout.KeyText(scan), std::u16string(1, static_cast<char16_t>(c))) << c;
        ++confirmed;
    }
    EXPECT_GT(confirmed, 80);
    EXPECT_EQ(layout.KeyText(static_cast<std::int16_t>(0x100 | 'A')), u"A");
    EXPECT_EQ(layout.KeyText(0xFF), u"");  // no key
}
