// The bar and its capture key on the real system: held while the bar shows, free for other
// programs while it is closed or while the typing dialog is open, changed at once, and every
// refusal said with the key's name.
#include <gtest/gtest.h>
#include <windows.h>

#include "ProgramTestSupport.h"
#include "app/ButtonFormDialog.h"
#include "config/VtRegistryComponent.h"
#include "core/MessageService.h"
#include "ui/Application.h"

using namespace kt;

namespace {

// Whether another window could take the key now (the system gives a key to one window only).
bool KeyFree(const CaptureKey& key) {
    HWND w = CreateWindowExA(0, "STATIC", "other", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    const bool free = RegisterHotKey(w, 7, key.modifiers, key.vk) != FALSE;
    if (free) UnregisterHotKey(w, 7);
    DestroyWindow(w);
    return free;
}

class CaptureKeyBarTest : public ::testing::Test {
protected:
    void SetUp() override {
        test_support::WriteBytes(scratch.data + "\\button.dat", "C01One\r\nT01one\r\nD011\r\n");
    }
    void TearDown() override { delete bar; }
    void Create() { bar = ui::TApplication::Instance().CreateForm<TButtonForm>(); }

    test_support::ScratchStart scratch{"ktcapture"};
    ScopedScriptedMessages msgs;
    TVtRegistry store;
    TButtonForm* bar = nullptr;
    const CaptureKey ctrlT{kKeyCtrl, 'T'}, ctrlShiftY{kKeyCtrl | kKeyShift, 'Y'}, altF9{kKeyAlt, 0x78};
};

}  // namespace

TEST_F(CaptureKeyBarTest, HeldWhileTheBarShowsAndChangedAtOnce) {
    Create();
    bar->Show();
    EXPECT_FALSE(KeyFree(ctrlT));
    bar->Close();  // the close box: the bar hides
    EXPECT_FALSE(IsWindowVisible(bar->Handle()));
    EXPECT_TRUE(KeyFree(ctrlT));
    bar->Show();
    EXPECT_FALSE(KeyFree(ctrlT));

    ASSERT_TRUE(bar->ChangeCaptureKey(ctrlShiftY));
    EXPECT_TRUE(KeyFree(ctrlT));
    EXPECT_FALSE(KeyFree(ctrlShiftY));
    EXPECT_EQ(bar->Label1->Caption(), "Press Ctrl+Shift+Y on the Window where you want the typing to appear");

    // A key another program holds is refused; the bar keeps its key.
    HWND other = CreateWindowExA(0, "STATIC", "other", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(RegisterHotKey(other, 3, altF9.modifiers, altF9.vk));
    EXPECT_FALSE(bar->ChangeCaptureKey(altF9));
    EXPECT_EQ(bar->CaptureWith, ctrlShiftY);
    EXPECT_FALSE(KeyFree(ctrlShiftY));
    UnregisterHotKey(other, 3);
    DestroyWindow(other);

    // The typing dialog lets the key go while it is open, so the key reaches its box.
    bar->SuspendCaptureKey(true);
    EXPECT_TRUE(KeyFree(ctrlShiftY));
    bar->SuspendCaptureKey(false);
    EXPECT_FALSE(KeyFree(ctrlShiftY));
    EXPECT_TRUE(msgs.shown.empty()) << msgs.LastText();
}

TEST_F(CaptureKeyBarTest, ABadStoredKeyAndATakenOneAreSaidOnceWithTheirNames) {
    store.SaveStringToRegistry(std::string(test_support::kProgramKey) + "\\Options\\Typing", "CaptureHotKey",
                               "Ctrl+Shift");
    HWND other = CreateWindowExA(0, "STATIC", "other", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(RegisterHotKey(other, 3, ctrlT.modifiers, ctrlT.vk));
    Create();
    bar->Show();
    UnregisterHotKey(other, 3);
    DestroyWindow(other);
    EXPECT_EQ(bar->CaptureWith, ctrlT);
    ASSERT_EQ(msgs.shown.size(), 2u);
    EXPECT_EQ(msgs.shown[0].text,
              "'Ctrl+Shift' is not a key combination, such as Ctrl+T, Ctrl+Shift+Y or Alt+F9 (setting "
              "Options\\Typing\\CaptureHotKey). Ctrl+T is used instead.");
    EXPECT_EQ(msgs.shown[1].text,
              "ERROR: Unable to assign Ctrl+T as the hotkey: another program holds it. Choose another capture key "
              "in the configuration window, Options > Typing...");
    // Closed and shown again, the key is free now and taken without a word.
    bar->Close();
    bar->Show();
    EXPECT_FALSE(KeyFree(ctrlT));
    EXPECT_EQ(msgs.shown.size(), 2u);
}
