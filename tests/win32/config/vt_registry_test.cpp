// The settings store over the real registry, in a scratch key that each test removes.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "config/FormTypingDialog.h"
#include "config/VtRegistryComponent.h"
#include "core/Errors.h"
#include "core/MessageService.h"
#include "platform/Registry.h"

using namespace kt;

namespace {

class VtRegistryTest : public ::testing::Test {
protected:
    void SetUp() override {
        key = "Software\\Ketravo Tests\\" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name());
        Registry reg;
        reg.DeleteKey(key);
    }
    void TearDown() override {
        Registry reg;
        reg.DeleteKey("Software\\Ketravo Tests");
    }
    // Writes a raw value of any type, as another program or a damaged setting could.
    void Raw(const std::string& sub, const std::string& name, DWORD type, const void* data, DWORD size) {
        HKEY h;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, (key + "\\" + sub).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                  nullptr, &h, nullptr),
                  ERROR_SUCCESS);
        RegSetValueExA(h, name.c_str(), 0, type, static_cast<const BYTE*>(data), size);
        RegCloseKey(h);
    }
    DWORD TypeOf(const std::string& sub, const std::string& name) {
        HKEY h;
        DWORD type = 0;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, (key + "\\" + sub).c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return 0;
        RegQueryValueExA(h, name.c_str(), nullptr, &type, nullptr, nullptr);
        RegCloseKey(h);
        return type;
    }
    std::string key;
    TVtRegistry store;
    ScopedScriptedMessages msgs;
};

TEST_F(VtRegistryTest, StringsRoundTripAsTextAndEmptyOrMissingReadAsTheDefault) {
    store.SaveStringToRegistry(key + "\\Path", "OutputDir", "%systemroot%\\Apps\\data");
    EXPECT_EQ(TypeOf("Path", "OutputDir"), static_cast<DWORD>(REG_SZ));
    std::string out = "junk";
    store.LoadStringFromRegistry(key + "\\Path", "OutputDir", out, "First Time");
    EXPECT_EQ(out, "%systemroot%\\Apps\\data");

    store.SaveStringToRegistry(key + "\\Path", "Empty", "");
    store.LoadStringFromRegistry(key + "\\Path", "Empty", out, "First Time");
    EXPECT_EQ(out, "First Time");
    store.LoadStringFromRegistry(key + "\\Path", "Missing", out, "First Time");
    EXPECT_EQ(out, "First Time");
    EXPECT_TRUE(msgs.shown.empty());
}

TEST_F(VtRegistryTest, LoadingUnderAMissingKeyCreatesItSilently) {
    EXPECT_EQ(store.LoadIntegerFromRegistry(key + "\\Windows\\Button", "Top", 244), 244);
    EXPECT_TRUE(store.LoadBooleanFromRegistry(key + "\\Options\\Fonts", "FontStyleBold", true));
    Registry reg;
    EXPECT_TRUE(reg.KeyExists(key + "\\Windows\\Button"));
    EXPECT_TRUE(msgs.shown.empty());
}

TEST_F(VtRegistryTest, LeadingAndTrailingBackslashesNameTheSameKey) {
    store.SaveStringToRegistry("\\" + key + "\\File\\", "Filename", "home.dat");
    EXPECT_EQ(store.LoadText(key + "\\File", "Filename", "First Time"), "home.dat");
}

TEST_F(VtRegistryTest, IntegersAndBooleansAreStoredAsTheirTexts) {
    store.SaveIntegerToRegistry(key + "\\W", "Top", -32);
    store.SaveBooleanToRegistry(key + "\\W", "Bold", true);
    store.SaveBooleanToRegistry(key + "\\W", "Italic", false);
    EXPECT_EQ(store.LoadText(key + "\\W", "Top", ""), "-32");
    EXPECT_EQ(store.LoadText(key + "\\W", "Bold", ""), "-1");
    EXPECT_EQ(store.LoadText(key + "\\W", "Italic", ""), "0");
    EXPECT_EQ(store.LoadIntegerFromRegistry(key + "\\W", "Top", 0), -32);
    EXPECT_TRUE(store.LoadBooleanFromRegistry(key + "\\W", "Bold", false));
    EXPECT_FALSE(store.LoadBooleanFromRegistry(key + "\\W", "Italic", true));
    store.SaveStringToRegistry(key + "\\W", "Word", "tRuE");
    EXPECT_TRUE(store.LoadBooleanFromRegistry(key + "\\W", "Word", false));
}

TEST_F(VtRegistryTest, BadTextsAndWrongTypesAreReportedByNameAndGiveTheDefault) {
    // The program's own key names its settings from below the base key; others in full.
    const std::string program = "Software\\Orvall Software\\Ketravo\\";
    store.SaveStringToRegistry(program + "Windows\\Button", "Top", "244px");
    EXPECT_EQ(store.LoadIntegerFromRegistry(program + "Windows\\Button", "Top", 244), 244);
    store.SaveStringToRegistry(key + "\\W", "Bold", "maybe");
    EXPECT_TRUE(store.LoadBooleanFromRegistry(key + "\\W", "Bold", true));
    DWORD dword = 7;
    Raw("W", "Left", REG_DWORD, &dword, sizeof dword);
    EXPECT_EQ(store.LoadIntegerFromRegistry(key + "\\W", "Left", 14), 14);
    std::string out;
    store.LoadStringFromRegistry(key + "\\W", "Left", out, "x");
    EXPECT_EQ(out, "x");
    store.DeleteValueFromRegistry(program + "Windows\\Button", "Top");
    // "Left" read twice, as a number and as a text: reported once.
    ASSERT_EQ(msgs.shown.size(), 3u);
    const std::string setting = key + "\\W\\";
    EXPECT_EQ(msgs.shown[0].text,
              "'244px' is not a valid integer value (setting Windows\\Button\\Top). Its default is used instead.");
    EXPECT_EQ(msgs.shown[1].text,
              "'maybe' is not a valid boolean value (setting " + setting + "Bold). Its default is used instead.");
    EXPECT_EQ(msgs.shown[2].text,
              "Invalid data type for 'Left' (setting " + setting + "Left). Its default is used instead.");
    for (const auto& m : msgs.shown) EXPECT_EQ(m.kind, MsgKind::Error);
}

TEST_F(VtRegistryTest, KeyDelayTakesZeroToAThousandAndReportsAnythingElseByName) {
    const std::string program = "Software\\Orvall Software\\Ketravo\\";
    const std::string typing = program + "Options\\Typing";
    EXPECT_EQ(LoadKeyDelay(store, program), 0);  // nothing stored: one burst
    const struct {
        const char* stored;
        int delay;
        const char* problem;  // empty: no message
    } cases[] = {
        {"40", 40, ""},
        {"1000", 1000, ""},
        {"0", 0, ""},
        {"1001", 0, "'1001' is not a number from 0 to 1000"},
        {"-25", 0, "'-25' is not a number from 0 to 1000"},
        {"25ms", 0, "'25ms' is not a valid integer value"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        msgs.shown.clear();
        store.SaveStringToRegistry(typing, "KeyDelay", c.stored);
        EXPECT_EQ(LoadKeyDelay(store, program), c.delay);
        if (!*c.problem) {
            EXPECT_TRUE(msgs.shown.empty());
            continue;
        }
        ASSERT_EQ(msgs.shown.size(), 1u);
        EXPECT_EQ(msgs.shown[0].text,
                  std::string(c.problem) + " (setting Options\\Typing\\KeyDelay). Its default is used instead.");
    }
    // Read again (the Typing dialog opens), the same bad value is not reported again.
    msgs.shown.clear();
    store.SaveStringToRegistry(typing, "KeyDelay", "1001");
    EXPECT_EQ(LoadKeyDelay(store, program), 0);
    TVtRegistry other;
    EXPECT_EQ(LoadKeyDelay(other, program), 0);
    EXPECT_TRUE(msgs.shown.empty());
    store.DeleteKeyFromRegistry(typing);
}

TEST_F(VtRegistryTest, ShortStringsAreBinaryWithoutLengthAndLimitedTo255Bytes) {
    store.SaveShortToRegistry(key + "\\S", "Name", "abc");
    EXPECT_EQ(TypeOf("S", "Name"), static_cast<DWORD>(REG_BINARY));
    std::string out;
    store.LoadShortFromRegistry(key + "\\S", "Name", out, "dflt");
    EXPECT_EQ(out, "abc");

    store.SaveShortToRegistry(key + "\\S", "Long", std::string(300, 'x'));
    store.LoadShortFromRegistry(key + "\\S", "Long", out, "");
    EXPECT_EQ(out, std::string(255, 'x'));

    store.LoadShortFromRegistry(key + "\\S", "Missing", out, "dflt");
    EXPECT_EQ(out, "dflt");
    Raw("S", "Zero", REG_BINARY, "", 0);
    store.LoadShortFromRegistry(key + "\\S", "Zero", out, "dflt");
    EXPECT_EQ(out, "dflt");

    // Text where bytes are expected, and more bytes than a short string holds: reported, default.
    store.SaveStringToRegistry(key + "\\S", "Text", "abc");
    store.LoadShortFromRegistry(key + "\\S", "Text", out, "d1");
    EXPECT_EQ(out, "d1");
    std::string big(300, 'y');
    Raw("S", "Big", REG_BINARY, big.data(), 300);
    store.LoadShortFromRegistry(key + "\\S", "Big", out, "d2");
    EXPECT_EQ(out, "d2");
    ASSERT_EQ(msgs.shown.size(), 2u);
    EXPECT_EQ(msgs.shown[1].text.rfind("Invalid data type for 'Big' (setting ", 0), 0u);
}

TEST_F(VtRegistryTest, DeletingValuesAndKeys) {
    store.SaveStringToRegistry(key + "\\Run", "Ketravo", "C:\\k\\KTRAVO.exe");
    EXPECT_TRUE(store.DeleteValueFromRegistry(key + "\\Run", "Ketravo"));
    EXPECT_FALSE(store.DeleteValueFromRegistry(key + "\\Run", "Ketravo"));
    EXPECT_FALSE(store.DeleteValueFromRegistry(key + "\\NoSuchKey", "Ketravo"));
    Registry reg;
    EXPECT_FALSE(reg.KeyExists(key + "\\NoSuchKey"));  // deleting a value never creates its key

    store.SaveStringToRegistry(key + "\\Tree\\A\\B", "v", "1");
    store.SaveStringToRegistry(key + "\\Tree\\C", "v", "2");
    EXPECT_TRUE(store.AddKeyToRegistry(key + "\\Tree\\Empty"));
    EXPECT_TRUE(store.DeleteKeyFromRegistry(key + "\\Tree"));
    EXPECT_FALSE(reg.KeyExists(key + "\\Tree"));
    EXPECT_TRUE(msgs.shown.empty());
}

TEST_F(VtRegistryTest, AKeyThatCannotBeOpenedIsReportedAndNothingIsWritten) {
    // A key name longer than the registry allows cannot be created.
    const std::string bad = key + "\\" + std::string(300, 'k');
    store.SaveStringToRegistry(bad, "v", "1");
    ASSERT_EQ(msgs.shown.size(), 1u);
    EXPECT_EQ(msgs.shown[0].kind, MsgKind::Information);
    EXPECT_NE(msgs.shown[0].text.find("does not exist"), std::string::npos);

    EXPECT_EQ(store.LoadText(bad, "v", "dflt"), "dflt");
    EXPECT_EQ(store.LoadIntegerFromRegistry(bad, "v", 5), 5);
    ASSERT_EQ(msgs.shown.size(), 3u);
    EXPECT_EQ(msgs.shown[1].text, "Error opening key");
    EXPECT_EQ(msgs.shown[1].kind, MsgKind::Plain);

    EXPECT_FALSE(store.DeleteKeyFromRegistry(bad));
    EXPECT_EQ(msgs.LastText(), "Error opening key");
    EXPECT_FALSE(store.DeleteValueFromRegistry(bad, "v"));
    EXPECT_EQ(msgs.shown.size(), 4u);  // deleting a value shows nothing
    EXPECT_THROW(store.AddKeyToRegistry(bad), ERegistryException);
}

TEST_F(VtRegistryTest, StartupEntryGoesBelowRunOrRunOnce) {
    // The real Run key of this test prefix: removed again at once.
    store.SaveStartupEntry("Ketravo Test", "C:\\k\\KTRAVO.exe");
    EXPECT_EQ(store.LoadText("Software\\Microsoft\\Windows\\CurrentVersion\\Run", "Ketravo Test", "First Time"),
              "C:\\k\\KTRAVO.exe");
    EXPECT_TRUE(store.DeleteValueFromRegistry("Software\\Microsoft\\Windows\\CurrentVersion\\Run", "Ketravo Test"));
    store.SaveStartupEntry("Ketravo Test", "C:\\k\\KTRAVO.exe", true);
    EXPECT_TRUE(store.DeleteValueFromRegistry("Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce", "Ketravo Test"));
}

}  // namespace
