// Which skins can dress a window: the program's verdict and `ktskin check`'s, on one table of
// good and broken skins.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include <sys/wait.h>
#include <unistd.h>

#include "skingen/BuiltinSkins.h"
#include "skin/data/SkinUsability.h"
#include "skin/data/SkinWriter.h"
#include "SkinTestHelpers.h"

using namespace kt;

namespace {

using Mutation = std::function<void(std::vector<SkinEntry>&)>;

SkinEntry& Entry(std::vector<SkinEntry>& entries, const std::string& suffix) {
    for (SkinEntry& e : entries)
        if (e.name.size() >= suffix.size() && e.name.compare(e.name.size() - suffix.size(), suffix.size(), suffix) == 0)
            return e;
    throw std::runtime_error("no entry " + suffix);
}

void Replace(std::vector<SkinEntry>& entries, const std::string& from, const std::string& to) {
    std::string text(Entry(entries, ".ini").data.begin(), Entry(entries, ".ini").data.end());
    const auto at = text.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    text.replace(at, from.size(), to);
    Entry(entries, ".ini").data.assign(text.begin(), text.end());
}

void Drop(std::vector<SkinEntry>& entries, const std::function<bool(const std::string&)>& which) {
    std::erase_if(entries, [&](const SkinEntry& e) { return which(e.name); });
}

bool IsBmp(const std::string& name) { return name.ends_with(".bmp"); }

// A bitmap header that claims 20000 x 20000 pixels and carries none of them.
std::vector<std::uint8_t> HugeHeader() {
    std::vector<std::uint8_t> b = skintest::Bmp(1, 1);
    auto put = [&](size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) b[at + i] = std::uint8_t(v >> (8 * i));
    };
    put(18, 20000);
    put(22, 20000);
    return b;
}

struct Case {
    const char* name;
    Mutation mutate;
    const char* verdict;  // nullptr: usable; "": refused, for any reason
};

std::string RunKtskin(const std::filesystem::path& skin, int& exitCode) {
    const std::string command = std::string(KT_KTSKIN) + " check '" + skin.string() + "' 1024x768 2>&1";
    FILE* p = popen(command.c_str(), "r");
    std::string out;
    std::array<char, 512> buf{};
    while (p && fgets(buf.data(), buf.size(), p)) out += buf.data();
    const int status = p ? pclose(p) : -1;
    exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return out;
}

}  // namespace

TEST(SkinUsability, TheProgramAndKtskinCheckGiveOneVerdict) {
    const Case cases[] = {
        {"Blue as built in", [](auto&) {}, nullptr},
        {"a garbage description", [](auto& e) { Entry(e, ".ini").data = skintest::Bytes("\x01\x02[[]=junk\r\n=="); },
         "element \"Left\" has no picture"},
        {"no pictures", [](auto& e) { Drop(e, IsBmp); }, "element \"Left\" has no picture"},
        {"no caption picture", [](auto& e) { Drop(e, [](auto& n) { return n == "frametop.bmp"; }); },
         "element \"Top\" has no picture"},
        {"a declared title button without its picture",
         [](auto& e) { Drop(e, [](auto& n) { return n == "btnclose.bmp"; }); }, "element \"BUTTON0\" has no picture"},
        {"every picture 1 x 1",
         [](auto& e) {
             for (SkinEntry& x : e)
                 if (IsBmp(x.name)) x.data = skintest::Bmp(1, 1, 0);
         },
         "element \"Left\": 2 frames do not fit its 1 x 1 picture"},
        {"frame count 10000", [](auto& e) { Replace(e, "TopFrame=2", "TopFrame=10000"); },
         "element \"Top\": 10000 frames do not fit"},
        {"margins wider than the caption picture", [](auto& e) { Replace(e, "TopTopHeight=16", "TopTopHeight=4000"); },
         "element \"Top\": its margins do not fit"},
        {"a caption one pixel high", [](auto& e) { Entry(e, "frametop.bmp").data = skintest::Bmp(100, 2); },
         "element \"Top\": a caption 1 pixels high cannot show a title"},
        {"a caption of 300 pixels", [](auto& e) { Entry(e, "frametop.bmp").data = skintest::Bmp(200, 600); },
         "more than a quarter of the 768-pixel screen height"},
        {"side borders of 300 pixels", [](auto& e) { Entry(e, "frameleft.bmp").data = skintest::Bmp(600, 80); },
         "more than a quarter of the 1024-pixel screen width"},
        {"a 0 x 0 picture", [](auto& e) { Entry(e, "frametop.bmp").data = skintest::Bmp(0, 0); }, ""},
        {"a 20000 x 20000 picture", [](auto& e) { Entry(e, "frametop.bmp").data = HugeHeader(); }, ""},
    };
    const auto folder = std::filesystem::temp_directory_path() / ("ktusability-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<SkinEntry> entries = MakeBuiltinSkin(0);
        c.mutate(entries);
        const std::vector<std::uint8_t> bytes = PackSkin(entries);
        const std::string verdict = SkinContainerProblem(bytes, 1024, 768);
        if (!c.verdict)
            EXPECT_EQ(verdict, "");
        else
            EXPECT_NE(verdict.find(c.verdict), std::string::npos) << verdict;

        const auto path = folder / ("case" + std::to_string(n++) + ".skn");
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        int exitCode = -1;
        const std::string out = RunKtskin(path, exitCode);
        EXPECT_EQ(exitCode, verdict.empty() ? 0 : 1) << out;
        if (!verdict.empty()) EXPECT_NE(out.find("cannot be used: " + verdict), std::string::npos) << out;
    }
    std::filesystem::remove_all(folder);
}

TEST(SkinUsability, TheSkinIsJudgedAtTheScreensResolution) {
    // Borders of 150 pixels fit a quarter of 1024 at 96; at 192 they are twice as wide.
    std::vector<SkinEntry> entries = MakeBuiltinSkin(0);
    Entry(entries, "frameleft.bmp").data = skintest::Bmp(300, 80);
    const std::vector<std::uint8_t> bytes = PackSkin(entries);
    EXPECT_EQ(SkinContainerProblem(bytes, 1024, 768, 96), "");
    EXPECT_NE(SkinContainerProblem(bytes, 1024, 768, 192).find("more than a quarter"), std::string::npos);
}

TEST(SkinUsability, EachBuiltinSkinFitsTheSmallestScreen) {
    for (int i = 0; i < kBuiltinSkinCount; ++i) {
        SCOPED_TRACE(BuiltinSkinName(i));
        EXPECT_EQ(SkinContainerProblem(PackSkin(MakeBuiltinSkin(i)), 640, 480), "");
    }
}
