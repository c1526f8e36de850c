// The skin choice of the configuration window's "Skins" menu, on the program's real windows:
// check marks, what is stored once the engine has applied a change, and what a cancelled or
// failed "Load" leaves alone.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <functional>

#include "app/ButtonFormDialog.h"
#include "config/ConfigFormDialog.h"
#include "config/VtRegistryComponent.h"
#include "core/MessageService.h"
#include "ProgramTestSupport.h"
#include "platform/WidePaths.h"
#include "skin/data/BmpDecoder.h"
#include "skingen/BuiltinSkins.h"
#include "skin/data/SkinWriter.h"
#include "skin/ui/WinSkinForm.h"
#include "ui/Application.h"

using namespace kt;
using kt::test_support::WriteBytes;

namespace {

const std::string kSkins = std::string(kt::test_support::kProgramKey) + "\\Options\\Skins";

class BarSkinsTest : public ::testing::Test {
protected:
    void SetUp() override {
        InstallSkinManager();
        WriteBytes(scratch.data + "\\button.dat", "C01Bar\r\nT01bar text\r\nD011\r\n");
        if (!std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()).starts_with("Start")) Create();
    }
    void Create() {
        auto& app = ui::TApplication::Instance();
        bar = app.CreateForm<TButtonForm>();
        ASSERT_EQ(bar->SkinStore1->Store().Count(), kBuiltinSkinCount);
        config = app.CreateForm<TConfigForm>();
        SkinManage()->ActivationCount = 1;  // as in a running program: changes go through the timer
    }
    void TearDown() override {
        delete config;
        delete bar;
        ReleaseSkinManager();
    }
    // The engine's timer tick: the change is applied and the choice saved.
    void Apply() { SkinManage()->RunCommand(); }
    std::string Checked() {
        std::string s;
        for (ui::TMenuItem* m : {config->MenuSkinXP, config->MenuSkinSilver, config->MenuSkinGreen,
                                 config->MenuSkinNone, config->MenuSkinLoad})
            s += m->Checked() ? '1' : '0';
        return s;
    }
    std::string Stored(const char* name) { return store.LoadText(kSkins, name, "<none>"); }

    kt::test_support::ScratchStart scratch{"ktskins"};
    ScopedScriptedMessages msgs;
    TVtRegistry store;
    TButtonForm* bar = nullptr;
    TConfigForm* config = nullptr;
};

}  // namespace

TEST_F(BarSkinsTest, EachEntryMovesTheCheckMarkAndIsStoredOnceApplied) {
    config->MenuSkinSilverClick();
    EXPECT_EQ(Checked(), "01000");
    EXPECT_EQ(bar->SkinData1->SkinName, "Silver");
    EXPECT_EQ(Stored("SkinIndex"), "0");  // the first start's; nothing is saved before the engine applied it
    Apply();
    EXPECT_EQ(Stored("SkinIndex"), "1");
    EXPECT_EQ(Stored("SkinFile"), "<none>");  // an empty text reads as missing

    // "Unskin" is a switch: off, then the last skin on again, the check mark and index kept.
    config->MenuSkinNoneClick();
    EXPECT_EQ(Checked(), "00010");
    Apply();
    EXPECT_FALSE(SkinManage()->Active());
    EXPECT_EQ(Stored("SkinIndex"), "3");
    config->MenuSkinNoneClick();
    Apply();
    EXPECT_TRUE(SkinManage()->Active());
    EXPECT_EQ(Checked(), "00010");
    EXPECT_EQ(bar->SkinIndex, 3);

    config->MenuSkinGreenClick();
    Apply();
    EXPECT_EQ(Checked(), "00100");
    EXPECT_EQ(Stored("SkinIndex"), "2");
    EXPECT_TRUE(SkinManage()->Active());
}

TEST_F(BarSkinsTest, LoadTakesAGoodFileAndACancelOrABadFileChangesNothing) {
    config->MenuSkinSilverClick();
    Apply();
    // Cancelled: index, check mark and skin stay.
    msgs.files.push_back("");
    config->MenuSkinLoadClick();
    ASSERT_EQ(msgs.fileRequests.size(), 1u);
    EXPECT_EQ(msgs.fileRequests[0].filter, "Skin files (*.skn)|*.SKN");
    EXPECT_EQ(msgs.fileRequests[0].initialDir, "\\Skins\\");
    EXPECT_EQ(bar->SkinIndex, 1);
    EXPECT_EQ(Checked(), "01000");

    // Files that are no skin: one message naming the file each, the shown skin kept whole.
    const std::string bad[] = {scratch.start + "\\truncated.skn", scratch.start + "\\text.skn",
                               scratch.start + "\\missing.skn"};
    const auto good = PackSkin(MakeBuiltinSkin(2));
    WriteBytes(bad[0], std::string(good.begin(), good.begin() + good.size() / 2));
    WriteBytes(bad[1], "this is not a skin");
    for (const std::string& path : bad) {
        msgs.shown.clear();
        msgs.files.push_back(path);
        config->MenuSkinLoadClick();
        ASSERT_EQ(msgs.shown.size(), 1u) << path;
        EXPECT_NE(msgs.LastText().find(path), std::string::npos);
        EXPECT_EQ(bar->SkinIndex, 1);
        EXPECT_EQ(Checked(), "01000");
        EXPECT_EQ(bar->SkinData1->SkinName, "Silver");
        EXPECT_FALSE(bar->SkinData1->Reloading());
    }

    // Skins that open but cannot dress a window: refused with one message naming the file and
    // the first bad element.
    struct Broken {
        const char* file;
        std::function<void(std::vector<SkinEntry>&)> mutate;
        const char* element;
    };
    auto entry = [](std::vector<SkinEntry>& e, const std::string& name) -> SkinEntry& {
        return *std::find_if(e.begin(), e.end(), [&](const SkinEntry& x) { return x.name == name || x.name.ends_with(name); });
    };
    const Broken broken[] = {
        {"garbage.skn", [&](auto& e) { entry(e, ".ini").data = {'[', ']', '=', 1, 2}; }, "\"Left\""},
        {"nopictures.skn", [](auto& e) { std::erase_if(e, [](auto& x) { return x.name.ends_with(".bmp"); }); },
         "\"Left\""},
        {"tiny.skn",
         [](auto& e) {
             for (auto& x : e)
                 if (x.name.ends_with(".bmp")) x.data = EncodeBmp24(TBitmap32(1, 1, 0));
         },
         "\"Left\""},
        {"frames.skn",
         [&](auto& e) {
             std::string ini(entry(e, ".ini").data.begin(), entry(e, ".ini").data.end());
             ini.replace(ini.find("TopFrame=2"), 10, "TopFrame=10000");
             entry(e, ".ini").data.assign(ini.begin(), ini.end());
         },
         "\"Top\""},
        {"huge.skn", [&](auto& e) { entry(e, "frametop.bmp").data = EncodeBmp24(TBitmap32(400, 3990, 0)); },
         "screen height"},
    };
    for (const Broken& b : broken) {
        std::vector<SkinEntry> entries = MakeBuiltinSkin(2);
        b.mutate(entries);
        const auto bytes = PackSkin(entries);
        const std::string path = scratch.start + "\\" + b.file;
        WriteBytes(path, std::string(bytes.begin(), bytes.end()));
        msgs.shown.clear();
        msgs.files.push_back(path);
        config->MenuSkinLoadClick();
        ASSERT_EQ(msgs.shown.size(), 1u) << path;
        EXPECT_NE(msgs.LastText().find(path), std::string::npos) << msgs.LastText();
        EXPECT_NE(msgs.LastText().find(b.element), std::string::npos) << msgs.LastText();
        EXPECT_EQ(bar->SkinData1->SkinName, "Silver");
        EXPECT_EQ(Checked(), "01000");
    }

    // A skin in a folder named beyond the code page: the dialog's answer comes whole.
    const std::wstring cyrillic = WidePath(scratch.start) + L"\\\u0421\u043a\u0438\u043d\u044b";
    ASSERT_TRUE(CreateDirectoryW(cyrillic.c_str(), nullptr));
    const std::wstring wideFile = cyrillic + L"\\\u043c\u043e\u0439.skn";
    HANDLE h = CreateFileW(wideFile.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(h, good.data(), static_cast<DWORD>(good.size()), &written, nullptr);
    CloseHandle(h);
    msgs.shown.clear();
    msgs.files.push_back(Utf8(wideFile));
    config->MenuSkinLoadClick();
    EXPECT_TRUE(msgs.shown.empty()) << msgs.LastText();
    EXPECT_EQ(bar->SkinData1->SkinName, "Green");
    EXPECT_EQ(Checked(), "00001");
    config->MenuSkinSilverClick();
    Apply();

    const std::string mine = scratch.start + "\\mine.skn";
    WriteBytes(mine, std::string(good.begin(), good.end()));
    msgs.files.push_back(mine);
    config->MenuSkinLoadClick();
    EXPECT_EQ(Checked(), "00001");
    EXPECT_EQ(bar->SkinData1->SkinName, "Green");
    Apply();
    EXPECT_EQ(Stored("SkinIndex"), "4");
    EXPECT_EQ(Stored("SkinFile"), mine);

    // A path of 300 characters opens too.
    std::string deep = scratch.start;
    for (char c : {'d', 'e'}) {
        deep += "\\" + std::string(120, c);
        CreateDirectoryW(OpenablePath(deep).c_str(), nullptr);
    }
    const std::string longPath = deep + "\\" + std::string(300 - deep.size() - 5, 'f') + ".skn";
    ASSERT_EQ(longPath.size(), 300u);
    const auto silver = PackSkin(MakeBuiltinSkin(1));
    h = CreateFileW(OpenablePath(longPath).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    WriteFile(h, silver.data(), static_cast<DWORD>(silver.size()), &written, nullptr);
    CloseHandle(h);
    msgs.shown.clear();
    msgs.files.push_back(longPath);
    config->MenuSkinLoadClick();
    EXPECT_TRUE(msgs.shown.empty()) << msgs.LastText();
    EXPECT_EQ(bar->SkinData1->SkinName, "Silver");
    Apply();
    EXPECT_EQ(Stored("SkinFile"), longPath);
    DeleteFileW(OpenablePath(longPath).c_str());
    RemoveDirectoryW(OpenablePath(deep).c_str());
    RemoveDirectoryW(OpenablePath(deep.substr(0, deep.size() - 121)).c_str());
}

TEST_F(BarSkinsTest, StartTakesTheStoredChoiceOrADefaultSkinFileBesideTheProgram) {
    struct Case {
        const char* storedIndex;  // nullptr: a first start
        const std::string* defaultSkn;  // content of "default.skn" in the start folder, nullptr: none
        int index;
        const char* skin;         // nullptr: not switched on
        const char* checked;
        size_t messages;
        std::string storedFile = "gone.skn";  // below the start folder
    };
    const auto green = PackSkin(MakeBuiltinSkin(2));
    const std::string greenBytes(green.begin(), green.end()), junk = "not a skin at all";
    const Case cases[] = {
        {nullptr, nullptr, 0, "Blue", "10000", 0},
        {nullptr, &greenBytes, 4, "Green", "00001", 0},
        // The stored file is gone: said, and Blue stored in its place, so said once.
        {"4", nullptr, 0, "Blue", "10000", 1},
        {"3", nullptr, 3, nullptr, "00010", 0},
        {"1", nullptr, 1, "Silver", "01000", 0},
        {nullptr, &junk, 0, "Blue", "10000", 1},  // a corrupt default.skn
        {"4", nullptr, 0, "Blue", "10000", 1, "folder.skn"},
        {"4", nullptr, 0, "Blue", "10000", 1, std::string(400, 'k') + ".skn"},
    };
    CreateDirectoryA((scratch.start + "\\folder.skn").c_str(), nullptr);
    for (const Case& c : cases) {
        store.DeleteValueFromRegistry(kSkins, "SkinIndex");
        store.DeleteValueFromRegistry(kSkins, "SkinFile");
        DeleteFileA((scratch.start + "\\default.skn").c_str());
        if (c.storedIndex) {
            store.SaveStringToRegistry(kSkins, "SkinIndex", c.storedIndex);
            store.SaveStringToRegistry(kSkins, "SkinFile", scratch.start + "\\" + c.storedFile);
        }
        if (c.defaultSkn) WriteBytes(scratch.start + "\\default.skn", *c.defaultSkn);
        msgs.shown.clear();
        Create();
        SCOPED_TRACE(c.storedIndex ? c.storedIndex : "first start");
        EXPECT_EQ(bar->SkinIndex, c.index);
        EXPECT_EQ(Stored("SkinIndex"), std::to_string(c.index));  // a first start saves what it shows
        EXPECT_EQ(Checked(), c.checked);
        EXPECT_EQ(bar->SkinData1->Active(), c.skin != nullptr);
        if (c.skin) EXPECT_EQ(bar->SkinData1->SkinName, c.skin);
        EXPECT_EQ(msgs.shown.size(), c.messages);
        if (c.messages)
            EXPECT_NE(msgs.LastText().find(c.defaultSkn ? "default.skn" : c.storedFile), std::string::npos);
        // Start-up went on: the scheme is loaded and Ctrl+T is taken.
        EXPECT_EQ(bar->ListBoxCaption.size(), 1u);
        EXPECT_FALSE(RegisterHotKey(nullptr, 0x7001, MOD_CONTROL, 'T'));
        delete config;
        delete bar;
        config = nullptr;
        bar = nullptr;
        ReleaseSkinManager();
        InstallSkinManager();
    }
}
