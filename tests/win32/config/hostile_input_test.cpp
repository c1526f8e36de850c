// Settings of the wrong type or form, scheme files the reader cannot take in whole and window
// placements off every screen: each costs only itself, says what is wrong, and never costs
// the user a scheme. The bar and the configuration window as the program creates them, in a
// scratch start folder with the program's real settings key.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "app/ButtonFormDialog.h"
#include "config/ConfigFormDialog.h"
#include "config/VtRegistryComponent.h"
#include "core/MessageService.h"
#include "platform/Registry.h"
#include "ProgramTestSupport.h"
#include "ui/Application.h"

using namespace kt;
namespace fs = std::filesystem;

namespace {

using kt::test_support::kProgramKey;
using kt::test_support::Notify;
using kt::test_support::Press;
const std::string kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::string kConfigPlacement = std::string(kProgramKey) + "\\Windows\\Config";

class HostileInputTest : public ::testing::Test {
protected:
    void SetUp() override {
        store.DeleteValueFromRegistry(kRunKey, "Ketravo");
        Write("button.dat", "C01Bar\r\nT01bar text\r\nD011\r\n");
        Write("home.dat", "C01H\r\nT01h\r\nD012\r\n");
    }
    void TearDown() override {
        Destroy();
        store.DeleteValueFromRegistry(kRunKey, "Ketravo");
    }
    void Create() {
        SetCurrentDirectoryA(start.c_str());  // the program leaves it elsewhere
        auto& app = ui::TApplication::Instance();
        bar = app.CreateForm<TButtonForm>();
        config = app.CreateForm<TConfigForm>();
    }
    void Destroy() {
        delete config;
        delete bar;
        config = nullptr;
        bar = nullptr;
    }
    void Write(const std::string& name, const std::string& content) { test_support::WriteBytes(data + "\\" + name, content); }
    static std::string Read(const std::string& path) { return test_support::ReadBytes(path); }
    // A value of any type, as another program or a damaged setting leaves it.
    static void Raw(const std::string& key, const char* name, DWORD type, const std::string& bytes) {
        HKEY h;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &h, nullptr),
                  ERROR_SUCCESS);
        RegSetValueExA(h, name, 0, type, reinterpret_cast<const BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size()));
        RegCloseKey(h);
    }
    std::vector<std::string> Listed() const {
        std::vector<std::string> names = config->ListBoxButtonScheme->Items();
        std::sort(names.begin(), names.end());
        return names;
    }
    void PickScheme(const std::string& name) {
        const int i = config->ListBoxButtonScheme->IndexOf(name);
        ASSERT_GE(i, 0) << name;
        config->ListBoxButtonScheme->SetItemIndex(i);
        Notify(config->ListBoxButtonScheme, LBN_SELCHANGE);
    }
    std::vector<std::string> Errors() const {
        std::vector<std::string> t;
        for (const auto& s : msgs.shown)
            if (s.kind == MsgKind::Error) t.push_back(s.text);
        return t;
    }

    kt::test_support::ScratchStart scratch{"kthostile"};
    const std::string& start = scratch.start;
    const std::string& data = scratch.data;
    ScopedScriptedMessages msgs;
    TVtRegistry store;
    TButtonForm* bar = nullptr;
    TConfigForm* config = nullptr;
};

// ---------------------------------------------------------------- settings

TEST_F(HostileInputTest, ABadSettingIsReportedByNameAndCostsOnlyItsOwnValue) {
    const std::string base = std::string(kProgramKey) + "\\";
    const std::string dword("\x07\x00\x00\x00", 4);
    const struct {
        std::string key;
        const char* name;
        DWORD type;
        std::string bytes;
        std::string message;
    } cases[] = {
        {base + "Form", "Start", REG_DWORD, dword, "Invalid data type for 'Start' (setting Form\\Start)"},
        {kRunKey, "Ketravo", REG_DWORD, dword,
         "Invalid data type for 'Ketravo' (setting Software\\Microsoft\\Windows\\CurrentVersion\\Run\\Ketravo)"},
        {base + "Path", "OutputDir", REG_DWORD, dword, "Invalid data type for 'OutputDir' (setting Path\\OutputDir)"},
        {base + "Path", "OutputDir", REG_SZ, std::string("%systemroot%\0", 13),
         "The scheme folder \"%systemroot%\" names no folder (setting Path\\OutputDir)"},
        {base + "File", "Filename", REG_BINARY, "home.dat", "Invalid data type for 'Filename' (setting File\\Filename)"},
        {base + "Windows\\Config", "Top", REG_SZ, std::string("abc\0", 4),
         "'abc' is not a valid integer value (setting Windows\\Config\\Top)"},
        {base + "Options\\Fonts", "FontStyleBold", REG_SZ, std::string("maybe\0", 6),
         "'maybe' is not a valid boolean value (setting Options\\Fonts\\FontStyleBold)"},
    };
    const std::string storedFolder = "%systemroot%" + start.substr(2) + "\\data";
    const std::string rootFile = start.substr(0, 3) + "fresh.dat";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        Registry().DeleteKey(kProgramKey);
        // A placement beside the bad value: it must survive.
        store.SaveIntegerToRegistry(kConfigPlacement, "Top", 50);
        store.SaveIntegerToRegistry(kConfigPlacement, "Left", 60);
        Raw(c.key, c.name, c.type, c.bytes);
        msgs.shown.clear();
        Create();
        const auto errors = Errors();
        ASSERT_EQ(errors.size(), 1u);
        EXPECT_EQ(errors[0].rfind(c.message, 0), 0u) << errors[0];
        EXPECT_EQ(config->Left(), 60);
        EXPECT_EQ(config->Top(), std::string(c.name) == "Top" ? 135 : 50);
        // Every scheme is still listed, and a new one goes into the scheme folder only.
        EXPECT_EQ(Listed(), (std::vector<std::string>{"button", "home"}));
        EXPECT_EQ(config->Schemes.SchemeFolder, data);
        config->EditButtonScheme->SetText("fresh");
        Press(config->ButtonFilenameAdd);
        EXPECT_EQ(config->Status(), "fresh.dat File Added");
        EXPECT_TRUE(fs::exists(data + "\\fresh.dat"));
        EXPECT_FALSE(fs::exists(rootFile));
        EXPECT_EQ(store.LoadText(base + "Path", "OutputDir", ""), storedFolder);
        Destroy();
        fs::remove(data + "\\fresh.dat");
        store.DeleteValueFromRegistry(kRunKey, "Ketravo");
    }
}

TEST_F(HostileInputTest, AStoredSchemeNameThatLeadsOutOfTheFolderOpensTheFirstScheme) {
    std::ofstream(scratch.root + "\\x.dat", std::ios::binary) << "C01Outside\r\nT01o\r\nD011\r\n";
    for (const char* stored : {"..\\..\\x.dat", "..\\x.dat", "C:\\x.dat", "sub\\home.dat", "con.dat", "home.txt", "x"}) {
        SCOPED_TRACE(stored);
        Registry().DeleteKey(kProgramKey);
        store.SaveStringToRegistry(std::string(kProgramKey) + "\\File", "Filename", stored);
        msgs.shown.clear();
        Create();
        const std::string first = bar->ComboBoxFilename->Item(0);
        EXPECT_EQ(bar->Filename, first + ".dat");
        EXPECT_EQ(bar->ComboBoxFilename->Text(), first);
        EXPECT_EQ(bar->ListBoxCaption, std::vector<std::string>{first == "home" ? "H" : "Bar"});
        const auto errors = Errors();
        ASSERT_EQ(errors.size(), 1u);
        EXPECT_NE(errors[0].find("(setting File\\Filename). The scheme " + first + " is opened instead."),
                  std::string::npos)
            << errors[0];
        Destroy();
    }
}

// A scheme remembered from the last run that someone has deleted: the first scheme instead,
// said at this start only.
TEST_F(HostileInputTest, AStoredSchemeThatIsGoneOpensTheFirstSchemeAndIsSaidOnce) {
    store.SaveStringToRegistry(std::string(kProgramKey) + "\\File", "Filename", "gone.dat");
    for (std::size_t said : {1u, 0u}) {
        msgs.shown.clear();
        Create();
        const std::string first = bar->ComboBoxFilename->Item(0);
        EXPECT_EQ(bar->Filename, first + ".dat");
        EXPECT_FALSE(bar->ListBoxCaption.empty());
        EXPECT_EQ(msgs.shown.size(), said);
        if (said) EXPECT_NE(msgs.LastText().find("The scheme gone is no longer in the scheme folder"), std::string::npos);
        Destroy();
    }
}

// ---------------------------------------------------------------- schemes read in part

TEST_F(HostileInputTest, APartlyLoadedSchemeSaysWhatWasCutAndSaveAsksBeforeReplacingIt) {
    using namespace std::string_literals;
    std::string many;
    for (int i = 0; i < 1001; ++i) many += "C01c\r\nT01t\r\n";
    const struct {
        const char* name;
        std::string content;
        std::string status;
    } cases[] = {
        {"long", "C01a\r\nT01" + std::string(kSchemeLineLimit + 100, 'x') + "\r\nD011\r\n",
         "line 2 cut to " + std::to_string(kSchemeLineLimit) + " characters"},
        {"zero", "C01a\r\nT01x\0y\r\nD011\r\n"s, "text after a zero byte in line 2 not read (10 bytes)"},
        {"badeol", "C01a\r\nT01x\r\nD01abc\r\nC01b\r\nT01y\r\n", "reading stopped at the bad line 3"},
        {"wide", "\xFF\xFE" "C\0" "0\0" "1\0" "\0\xD8" "\n\0" "T\0" "0\0" "1\0" "x\0" "\n\0" "D\0" "0\0" "1\0" "1\0"s,
         "line 1 holds bytes that are not valid UTF-16 (shown as \xEF\xBF\xBD)"},
        {"many", many, "only the first 1000 of 1001 buttons shown"},
    };
    for (const auto& c : cases) Write(std::string(c.name) + ".dat", c.content);
    Create();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string file = std::string(c.name) + ".dat", path = data + "\\" + file;
        msgs.shown.clear();
        PickScheme(c.name);
        EXPECT_EQ(config->Status(), "Partly loaded: " + c.status);
        const std::vector<std::string> error{"'abc' is not a valid integer value (scheme file " + path + ", line 3)"};
        EXPECT_EQ(Errors(), std::string(c.name) == "badeol" ? error : std::vector<std::string>{});

        msgs.answers = {MsgResult::No};
        Press(config->ButtonSave);
        EXPECT_EQ(msgs.LastText().rfind(file + " was not read in whole (" + c.status + ")", 0), 0u) << msgs.LastText();
        EXPECT_EQ(msgs.shown.back().kind, MsgKind::Confirmation);
        EXPECT_EQ(Read(path), c.content);
        EXPECT_EQ(config->Status(), "Not saved - " + file + " is kept as it was");

        msgs.answers = {MsgResult::Yes};
        Press(config->ButtonSave);
        EXPECT_NE(msgs.LastText().find("keep the old file as " + file + ".bak?"), std::string::npos);
        EXPECT_EQ(config->Status(), "File saved");
        EXPECT_EQ(Read(path + ".bak"), c.content);
        EXPECT_NE(Read(path), c.content);
        // Saved in whole now: the next Save asks nothing.
        const size_t asked = msgs.shown.size();
        Press(config->ButtonSave);
        EXPECT_EQ(msgs.shown.size(), asked);
    }
    // Backups are never schemes.
    const auto names = ListSchemeNames(data);
    EXPECT_EQ(std::set<std::string>(names.begin(), names.end()),
              (std::set<std::string>{"badeol", "button", "home", "long", "many", "wide", "zero"}));
}

TEST_F(HostileInputTest, TheImplicitSaveOfAPartlyLoadedSchemeAsksTooAndNoKeepsItsButtons) {
    const std::string content = "C01a\r\nT01" + std::string(kSchemeLineLimit + 100, 'x') + "\r\nD011\r\n";
    Write("long.dat", content);
    Create();
    PickScheme("long");
    config->EditCaption->SetText("B");
    config->EditText->SetText("b");
    Press(config->ButtonAdd);
    msgs.answers = {MsgResult::Yes, MsgResult::No};  // save the buttons? yes; replace the cut file? no
    PickScheme("home");
    EXPECT_EQ(Read(data + "\\long.dat"), content);
    EXPECT_EQ(config->Schemes.CurrentSchemeFile, "long.dat");
    EXPECT_EQ(config->EditButtonScheme->Text(), "long");
    EXPECT_EQ(config->Schemes.SelectedSchemePath, data + "\\long.dat");
    EXPECT_EQ(config->ListBoxCaption->Items(), (std::vector<std::string>{"a", "B"}));
    // A second backup never replaces the first.
    Write("long.dat.bak", "older");
    msgs.answers = {MsgResult::Yes, MsgResult::Yes};
    PickScheme("home");
    EXPECT_EQ(Read(data + "\\long.dat.bak"), "older");
    EXPECT_EQ(Read(data + "\\long.dat.2.bak"), content);
    EXPECT_EQ(Read(data + "\\long.dat"), "T01" + std::string(kSchemeLineLimit - 3, 'x') + "\r\nC01a\r\nT01b\r\nC01B\r\nD011\r\n");
    EXPECT_EQ(config->ListBoxCaption->Items(), std::vector<std::string>{"H"});
}

// ---------------------------------------------------------------- placement

TEST_F(HostileInputTest, AWindowPlacedOffEveryScreenComesBackIntoTheWorkArea) {
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    const int minWidth = GetSystemMetrics(SM_CXMINTRACK), minHeight = GetSystemMetrics(SM_CYMINTRACK);
    const struct {
        const char *left, *top, *width, *height;
    } cases[] = {
        {"30000", "135", "594", "514"},          {"201", "-30000", "594", "514"},
        {"2147483647", "2147483647", "594", "514"}, {"-2147483648", "40", "2147483647", "2147483647"},
        {"201", "135", "0", "0"},                {"-5000", "-5000", "-10", "300"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.left) + "," + c.top + " " + c.width + "x" + c.height);
        Registry().DeleteKey(kProgramKey);
        using Value = std::pair<const char*, const char*>;
        for (const auto& [name, value] : {Value{"Left", c.left}, Value{"Top", c.top}, Value{"Width", c.width},
                                          Value{"Height", c.height}}) {
            store.SaveStringToRegistry(kConfigPlacement, name, value);
            store.SaveStringToRegistry(std::string(kProgramKey) + "\\Windows\\Button", name, value);
        }
        Create();
        for (ui::TForm* form : {static_cast<ui::TForm*>(config), static_cast<ui::TForm*>(bar)}) {
            RECT r;
            GetWindowRect(form->Handle(), &r);
            EXPECT_GE(r.right - r.left, minWidth) << form->Name;
            EXPECT_GE(r.bottom - r.top, minHeight) << form->Name;
            // The whole caption lies in the work area.
            EXPECT_GE(r.left, work.left) << form->Name;
            EXPECT_GE(r.top, work.top) << form->Name;
            EXPECT_LE(r.right, work.right) << form->Name;
            EXPECT_LE(r.top + GetSystemMetrics(SM_CYCAPTION), work.bottom) << form->Name;
        }
        // What is saved on close is where the window is now.
        Press(config->ButtonClose);
        EXPECT_EQ(store.LoadIntegerFromRegistry(kConfigPlacement, "Left", 0), config->Left());
        Destroy();
    }
    EXPECT_TRUE(Errors().empty());

    // A window partly off the work area opens just inside it, as near as it fits.
    Registry().DeleteKey(kProgramKey);
    store.SaveIntegerToRegistry(kConfigPlacement, "Left", work.right - 100);
    store.SaveIntegerToRegistry(kConfigPlacement, "Top", 50);
    Create();
    EXPECT_EQ(config->Left(), work.right - config->Width());
    EXPECT_EQ(config->Top(), 50);
}

}  // namespace
