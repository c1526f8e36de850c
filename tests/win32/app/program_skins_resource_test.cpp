// KTRAVO.exe as built carries its three skins: a build that lost the store would start
// unskinned with "Blue", "Silver" and "Green" doing nothing, and nothing would say why.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "skingen/BuiltinSkins.h"
#include "skin/data/WinSkinData.h"
#include "skin/data/WinSkinStore.h"

using namespace kt;

TEST(ProgramSkinsResource, KtravoExeCarriesTheStoreWithTheThreeBuiltInSkins) {
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string exe = self;
    exe = exe.substr(0, exe.find_last_of("\\/") + 1) + "KTRAVO.exe";
    HMODULE module = LoadLibraryExA(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module, nullptr) << exe;
    HRSRC res = FindResourceA(module, "SKINSTORE1", MAKEINTRESOURCEA(10) /* RT_RCDATA */);
    ASSERT_NE(res, nullptr) << "KTRAVO.exe has no SKINSTORE1 resource";
    const auto* bytes = static_cast<const std::uint8_t*>(LockResource(LoadResource(module, res)));
    TSkinStore store;
    std::string error;
    ASSERT_TRUE(store.LoadFromStream(bytes, SizeofResource(module, res), &error)) << error;
    ASSERT_EQ(store.Store().Count(), kBuiltinSkinCount);
    for (int i = 0; i < kBuiltinSkinCount; ++i) {
        TSkinData skin;
        skin.SkinStream = store.Store().Items(i).Data();
        ASSERT_TRUE(skin.UnpackSkin()) << i;
        EXPECT_EQ(skin.SkinName, BuiltinSkinName(i));
        EXPECT_FALSE(skin.FrameTop->Image.Empty()) << i;
    }
    FreeLibrary(module);
}
