// The configuration window's start-up options, placement, font and closing, and the bar's
// notification icon menu, with the program's real settings key (removed after each test).
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "app/ButtonFormDialog.h"
#include "config/ConfigFormDialog.h"
#include "config/VtRegistryComponent.h"
#include "config/core/HelpAddress.h"
#include "core/MessageService.h"
#include "platform/CurrentFolder.h"
#include "platform/Registry.h"
#include "ProgramTestSupport.h"
#include "ui/Application.h"

using namespace kt;
namespace fs = std::filesystem;

namespace {

using kt::test_support::kProgramKey;
const std::string kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::string kFonts = std::string(kProgramKey) + "\\Options\\Fonts";
const std::string kPlacement = std::string(kProgramKey) + "\\Windows\\Config";

class ConfigOptionsTest : public ::testing::Test {
protected:
    void SetUp() override {
        store.DeleteValueFromRegistry(kRunKey, "Ketravo");
        std::ofstream(start + "\\data\\button.dat", std::ios::binary) << "C01Bar\r\nT01bar text\r\nD011\r\n";
    }

    void TearDown() override {
        delete config;
        delete bar;
        store.DeleteValueFromRegistry(kRunKey, "Ketravo");
    }

    void Create() {
        auto& app = ui::TApplication::Instance();
        bar = app.CreateForm<TButtonForm>();
        config = app.CreateForm<TConfigForm>();
    }
    void Recreate() {
        delete config;
        config = ui::TApplication::Instance().CreateForm<TConfigForm>();
    }
    static void Click(ui::TWinControl* c) { kt::test_support::Press(c); }
    std::string Value(const std::string& key, const char* name) { return store.LoadText(key, name, "<none>"); }

    kt::test_support::ScratchStart scratch{"ktopt"};
    const std::string& start = scratch.start;
    ScopedScriptedMessages msgs;
    TVtRegistry store;
    TButtonForm* bar = nullptr;
    TConfigForm* config = nullptr;
};

RECT WorkArea() {
    RECT r;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &r, 0);
    return r;
}

}  // namespace

TEST_F(ConfigOptionsTest, FirstStartShowsTheWindowCentredWithNothingChecked) {
    Create();
    EXPECT_TRUE(IsWindowVisible(config->Handle()));
    EXPECT_FALSE(config->CheckBoxDoNotShow->Checked());
    EXPECT_FALSE(config->CheckBoxLoadAtStartup->Checked());
    EXPECT_EQ(Value(kRunKey, "Ketravo"), "<none>");
    const RECT area = WorkArea();
    EXPECT_EQ(config->Width(), 594);
    EXPECT_EQ(config->Height(), 514);
    EXPECT_EQ(config->Left(), area.left + (area.right - area.left - 594) / 2);
    EXPECT_EQ(config->Font().Name(), "MS Sans Serif");
    EXPECT_EQ(config->Font().Size(), 8);
    EXPECT_EQ(config->PopupMenu, bar->PopupMenu1);
}

TEST_F(ConfigOptionsTest, StartValueDecidesWhichWindowShowsAndTheBoxWritesIt) {
    store.SaveStringToRegistry(std::string(kProgramKey) + "\\Form", "Start", "Elsewhere");
    Create();
    EXPECT_FALSE(IsWindowVisible(config->Handle()));
    EXPECT_TRUE(IsWindowVisible(bar->Handle()));
    EXPECT_TRUE(config->CheckBoxDoNotShow->Checked());
    EXPECT_EQ(Value(std::string(kProgramKey) + "\\Form", "Start"), "Button");
    Click(config->CheckBoxDoNotShow);
    EXPECT_EQ(Value(std::string(kProgramKey) + "\\Form", "Start"), "Config");
    Recreate();
    EXPECT_TRUE(IsWindowVisible(config->Handle()));
    EXPECT_TRUE(IsWindowVisible(bar->Handle()));  // shown already (the program shows it first): it stays
    bar->Hide();
    Recreate();
    EXPECT_TRUE(IsWindowVisible(config->Handle()));
    EXPECT_FALSE(IsWindowVisible(bar->Handle()));  // not shown yet: the message loop shows it
}

TEST_F(ConfigOptionsTest, LoadAtStartupWritesAndDeletesTheRunValue) {
    Create();
    Click(config->CheckBoxLoadAtStartup);
    // The program's own folder, not the start folder: an installed copy starts elsewhere.
    const std::string command = QuoteProgramPath(ProgramFolder() + "\\KTRAVO.exe");
    EXPECT_NE(ProgramFolder(), start);
    EXPECT_EQ(Value(kRunKey, "Ketravo"), command);
    Click(config->CheckBoxLoadAtStartup);
    EXPECT_EQ(Value(kRunKey, "Ketravo"), "<none>");
    // An entry found at start is rewritten with the program folder of this run.
    store.SaveStringToRegistry(kRunKey, "Ketravo", "Q:\\old\\KTRAVO.exe");
    Recreate();
    EXPECT_TRUE(config->CheckBoxLoadAtStartup->Checked());
    EXPECT_EQ(Value(kRunKey, "Ketravo"), command);
}

TEST_F(ConfigOptionsTest, PlacementIsRestoredCentredOnTheDefaultsAndSavedOnClose) {
    store.SaveIntegerToRegistry(kPlacement, "Top", 135);
    store.SaveIntegerToRegistry(kPlacement, "Left", 201);
    store.SaveIntegerToRegistry(kPlacement, "Width", 594);
    store.SaveIntegerToRegistry(kPlacement, "Height", 514);
    Create();
    const RECT area = WorkArea();
    EXPECT_EQ(config->Left(), area.left + (area.right - area.left - 594) / 2);

    store.SaveIntegerToRegistry(kPlacement, "Left", 60);
    store.SaveIntegerToRegistry(kPlacement, "Top", 50);
    store.SaveIntegerToRegistry(kPlacement, "Width", 600);
    Recreate();
    EXPECT_EQ(config->Left(), 60);
    EXPECT_EQ(config->Top(), 50);
    EXPECT_EQ(config->Width(), 600);
    config->SetBounds(70, 80, 610, 530);
    Click(config->ButtonClose);
    EXPECT_FALSE(IsWindowVisible(config->Handle()));
    EXPECT_EQ(Value(kPlacement, "WindowState"), "Normal");
    EXPECT_EQ(Value(kPlacement, "Left"), "70");
    EXPECT_EQ(Value(kPlacement, "Top"), "80");
    EXPECT_EQ(Value(kPlacement, "Width"), "610");
    EXPECT_EQ(Value(kPlacement, "Height"), "530");

    // Maximised: only the state is read and, on close, written.
    store.SaveStringToRegistry(kPlacement, "WindowState", "Maximized");
    store.SaveStringToRegistry(kPlacement, "Top", "junk");
    Recreate();
    EXPECT_TRUE(msgs.shown.empty());
    EXPECT_TRUE(IsZoomed(config->Handle()));
    SendMessageA(config->Handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(Value(kPlacement, "WindowState"), "Maximized");
    EXPECT_EQ(Value(kPlacement, "Top"), "junk");
}

TEST_F(ConfigOptionsTest, StoredFontIsGivenToBothWindows) {
    store.SaveStringToRegistry(kFonts, "FontName", "Arial");
    store.SaveIntegerToRegistry(kFonts, "FontSize", 12);
    store.SaveBooleanToRegistry(kFonts, "FontStyleBold", true);
    store.SaveStringToRegistry(kFonts, "FontStyleItalic", "True");
    Create();
    for (ui::TFont* f : {&config->Font(), &bar->Font(), &bar->ComboBoxFilename->Font()}) {
        EXPECT_EQ(f->Name(), "Arial");
        EXPECT_EQ(f->Size(), 12);
        EXPECT_EQ(f->Style(), static_cast<unsigned>(ui::fsBold | ui::fsItalic));
    }
    // A size no dialog gives is not taken; a word that is no truth value is reported.
    store.SaveIntegerToRegistry(kFonts, "FontSize", 100000);
    store.SaveStringToRegistry(kFonts, "FontStyleBold", "maybe");
    msgs.shown.clear();
    Recreate();
    ASSERT_EQ(msgs.shown.size(), 1u);
    EXPECT_EQ(msgs.shown[0].text,
              "'maybe' is not a valid boolean value (setting Options\\Fonts\\FontStyleBold). Its default is used "
              "instead.");
    // Only that value is lost: the name and the italic style stay.
    EXPECT_EQ(config->Font().Name(), "Arial");
    EXPECT_EQ(config->Font().Style(), static_cast<unsigned>(ui::fsItalic));
}

TEST_F(ConfigOptionsTest, OnlyApplyChangesTheWindowsAndStoresTheFont) {
    Create();
    FontChoice applied{"Arial", 12, true, true, false, false};
    FontChoice chosen{"Courier New", 10, false, false, false, false};
    msgs.fontSessions.push_back({{applied}, {chosen}});
    config->ActionOptionFontExecute();
    ASSERT_EQ(msgs.fontRequests.size(), 1u);
    const auto& request = msgs.fontRequests[0];
    EXPECT_EQ(request.font, (FontChoice{"MS Sans Serif", 8}));
    EXPECT_EQ(request.options.minSize, 8);
    EXPECT_EQ(request.options.maxSize, 12);
    EXPECT_FALSE(request.options.effects);
    EXPECT_TRUE(request.hasApply);
    for (ui::TFont* f : {&config->Font(), &bar->Font()}) {
        EXPECT_EQ(f->Name(), "Arial");
        EXPECT_EQ(f->Size(), 12);
        EXPECT_EQ(f->Style(), static_cast<unsigned>(ui::fsBold | ui::fsItalic));
    }
    EXPECT_EQ(Value(kFonts, "FontName"), "Arial");
    EXPECT_EQ(Value(kFonts, "FontSize"), "12");
    EXPECT_EQ(Value(kFonts, "FontStyleBold"), "-1");
    EXPECT_EQ(Value(kFonts, "FontStyleItalic"), "-1");
    EXPECT_EQ(Value(kFonts, "FontStyleUnderline"), "0");
    EXPECT_EQ(Value(kFonts, "FontStyleStrikeout"), "0");

    // OK without Apply: nothing changes and nothing is stored, but the dialog keeps the font.
    msgs.fontSessions.push_back({{}, {FontChoice{"Tahoma", 9}}});
    config->ActionOptionFontExecute();
    EXPECT_EQ(config->Font().Name(), "Arial");
    EXPECT_EQ(Value(kFonts, "FontName"), "Arial");
    EXPECT_EQ(Value(kFonts, "FontSize"), "12");
    config->ActionOptionFontExecute();  // cancelled
    ASSERT_EQ(msgs.fontRequests.size(), 3u);
    EXPECT_EQ(msgs.fontRequests[2].font, (FontChoice{"Tahoma", 9}));
}

TEST_F(ConfigOptionsTest, ClosingWithUnsavedButtonsAsksAndAFailedSaveKeepsTheWindow) {
    Create();
    config->EditCaption->SetText("New");
    config->EditText->SetText("new text");
    Click(config->ButtonAdd);
    msgs.shown.clear();
    msgs.answers.push_back(MsgResult::Yes);
    // No scheme is current: the save cannot be made, the window stays and nothing is stored.
    SendMessageA(config->Handle(), WM_CLOSE, 0, 0);
    ASSERT_EQ(msgs.shown.size(), 2u);
    EXPECT_EQ(msgs.shown[0].text, "Save button configuration?");
    EXPECT_EQ(msgs.shown[1].kind, MsgKind::Error);
    EXPECT_TRUE(IsWindowVisible(config->Handle()));
    EXPECT_EQ(Value(kPlacement, "WindowState"), "<none>");

    // File > Exit offers Cancel, which keeps the window and the buttons.
    msgs.shown.clear();
    msgs.answers.push_back(MsgResult::Cancel);
    config->MenuFileExit->Click();
    ASSERT_EQ(msgs.shown.size(), 1u);
    EXPECT_EQ(msgs.shown[0].buttons, MsgButtons::YesNoCancel);
    EXPECT_TRUE(IsWindowVisible(config->Handle()));

    msgs.shown.clear();
    msgs.answers.push_back(MsgResult::No);
    config->MenuFileExit->Click();
    ASSERT_EQ(msgs.shown.size(), 1u);
    EXPECT_FALSE(IsWindowVisible(config->Handle()));
    EXPECT_EQ(Value(kPlacement, "WindowState"), "Normal");
}

TEST_F(ConfigOptionsTest, TheMenuBarHoldsEveryEntry) {
    Create();
    HMENU menu = GetMenu(config->Handle());
    ASSERT_NE(menu, nullptr);
    auto text = [](HMENU m, int i) {
        char buf[64] = {0};
        GetMenuStringA(m, i, buf, sizeof buf, MF_BYPOSITION);
        return std::string(buf);
    };
    ASSERT_EQ(GetMenuItemCount(menu), 4);
    EXPECT_EQ(text(menu, 0) + text(menu, 1) + text(menu, 2) + text(menu, 3), "&File&Internet&Options&Help");
    HMENU help = GetSubMenu(menu, 3);
    ASSERT_EQ(GetMenuItemCount(help), 8);
    EXPECT_EQ(text(help, 2), "&Help on Help");
    for (int i : {0, 1, 2}) EXPECT_FALSE(GetMenuState(help, i, MF_BYPOSITION) & MF_GRAYED) << i;  // the help pages
    EXPECT_FALSE(GetMenuState(help, 7, MF_BYPOSITION) & MF_GRAYED);
    HMENU skins = GetSubMenu(GetSubMenu(menu, 2), 2);
    ASSERT_NE(skins, nullptr);
    EXPECT_EQ(text(skins, 0) + "," + text(skins, 3) + "," + text(skins, 4), "&Blue,&Unskin,&Load");
    EXPECT_EQ(text(GetSubMenu(menu, 2), 3), "&Typing...");
    EXPECT_EQ(text(GetSubMenu(menu, 1), 1), "&Send Mail...");
}

// ---------------------------------------------------------------- the notification icon's menu

TEST_F(ConfigOptionsTest, TheIconMenuShowsAndHidesBothWindows) {
    Create();
    EXPECT_EQ(bar->IconData.cbSize, 88u);
    EXPECT_EQ(bar->IconData.uCallbackMessage, 0x401u);
    EXPECT_EQ(bar->IconData.uFlags, 7u);
    EXPECT_EQ(bar->IconData.hWnd, bar->Handle());
    EXPECT_EQ(std::string(bar->IconData.szTip), ui::TApplication::Instance().Title);
    EXPECT_TRUE(bar->PopupMenu1->OwnerDraw());
    EXPECT_EQ(bar->PopupMenu, bar->PopupMenu1);

    auto command = [&](ui::TMenuItem* item) {
        SendMessageA(bar->Handle(), WM_COMMAND, MAKEWPARAM(item->Command(), 0), 0);
    };
    command(bar->HideConfigForm1);
    EXPECT_FALSE(IsWindowVisible(config->Handle()));
    command(bar->ShowConfigForm1);
    EXPECT_TRUE(IsWindowVisible(config->Handle()));
    command(bar->ShowButtonForm1);
    EXPECT_TRUE(IsWindowVisible(bar->Handle()));
    command(bar->HideButtonForm1);
    EXPECT_FALSE(IsWindowVisible(bar->Handle()));

    msgs.shown.clear();
    SendMessageA(bar->Handle(), 0x401, 0, WM_LBUTTONDOWN);
    SendMessageA(bar->Handle(), 0x401, 0, WM_MOUSEMOVE);
    ASSERT_EQ(msgs.shown.size(), 1u);
    EXPECT_EQ(msgs.shown[0].text, "Right click your mouse for options on this icon");
}

TEST_F(ConfigOptionsTest, TheIconMenuDrawsItsItemsBesideTheGreyStrip) {
    Create();
    MEASUREITEMSTRUCT m{};
    m.CtlType = ODT_MENU;
    m.itemData = reinterpret_cast<ULONG_PTR>(bar->Exit1);
    SendMessageA(bar->Handle(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&m));
    EXPECT_EQ(m.itemWidth, 120u);

    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, 160, 110);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bmp);
    RECT all{0, 0, 160, 110};
    HBRUSH black = CreateSolidBrush(RGB(0, 0, 0));
    FillRect(dc, &all, black);
    DeleteObject(black);
    DRAWITEMSTRUCT d{};
    d.CtlType = ODT_MENU;
    d.itemData = reinterpret_cast<ULONG_PTR>(bar->Exit1);
    d.itemState = ODS_SELECTED;
    d.hDC = dc;
    d.rcItem = {0, 90, 160, 108};
    SendMessageA(bar->Handle(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&d));
    EXPECT_EQ(GetPixel(dc, 17, 85), RGB(128, 128, 128));   // the strip, below the name
    EXPECT_EQ(GetPixel(dc, 19, 2), RGB(128, 128, 128));
    EXPECT_EQ(GetPixel(dc, 22, 100), RGB(0, 0, 0));        // the gap keeps the menu's own background
    EXPECT_EQ(GetPixel(dc, 10, 100), RGB(0, 0, 0));        // the strip ends at 92
    EXPECT_EQ(GetPixel(dc, 150, 92), GetSysColor(COLOR_HIGHLIGHT));
    // The name is written in white inside the strip.
    int white = 0;
    for (int y = 0; y < 92; ++y)
        for (int x = 0; x < 20; ++x) white += GetPixel(dc, x, y) == RGB(255, 255, 255);
    EXPECT_GT(white, 20);
    SelectObject(dc, old);
    DeleteObject(bmp);
    DeleteDC(dc);
}
