// The About box (modal run, figures, picture), the Help menu's notices and the support mail
// through a replaceable MAPI entry point, and the registry reader of the browser lookup.
#include <gtest/gtest.h>
#include <windows.h>

#include <regex>
#include <string>

#include "config/About.h"
#include "config/core/HelpAddress.h"
#include "config/HelpCommands.h"
#include "core/MessageService.h"
#include "platform/Registry.h"
#include "ui/Application.h"
#include "ui/Dialogs.h"
#include "ui/ExtCtrls.h"

using namespace kt;

namespace {

// Runs `step` from a timer once the modal loop is running.
std::function<void()> g_step;
void CALLBACK RunStep(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    if (g_step) g_step();
}
void Later(std::function<void()> step) {
    g_step = std::move(step);
    SetTimer(nullptr, 0, 20, RunStep);
}

TEST(AboutBox, ShowsNameVersionAndMemoryFiguresOfThisMachine) {
    TAboutBox box(nullptr);
    EXPECT_EQ(box.PhysMem->Caption(), "0");  // until the box is created
    box.DoCreate();
    EXPECT_EQ(box.Caption(), "About Ketravo");
    EXPECT_EQ(box.ProductName->Caption(), "Ketravo V1.1");
    EXPECT_EQ(box.Comments->Caption(), "Ketravo automatically fills in forms using predefined text that you created.");
    EXPECT_EQ(box.OKButton->Hint, "Close the About Box");
    EXPECT_EQ(box.ClientWidth(), 465);
    EXPECT_EQ(box.ClientHeight(), 304);

    MEMORYSTATUSEX ms{};
    ms.dwLength = sizeof ms;
    ASSERT_TRUE(GlobalMemoryStatusEx(&ms));
    // The whole memory (not the 2 GB the plain call stops at) in kilobytes, whatever the grouping.
    const std::string shown = box.PhysMem->Caption();
    EXPECT_TRUE(std::regex_match(shown, std::regex(R"(\d{1,3}([^\d]?\d{3})* KB)"))) << shown;
    std::string digits;
    for (char c : shown)
        if (c >= '0' && c <= '9') digits += c;
    EXPECT_EQ(digits, std::to_string((ms.ullTotalPhys + 512) / 1024)) << shown;
    EXPECT_TRUE(std::regex_match(box.FreeRes->Caption(), std::regex(R"(\d{1,3} %)"))) << box.FreeRes->Caption();
}

TEST(AboutBox, HalfAGigabyteReadsInKilobytesWithTheLocaleSeparator) {
    char sep[8] = "";
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, sep, sizeof sep);
    EXPECT_EQ(TAboutBox::FormatPhysicalMemory(512ull << 20), "524" + std::string(sep) + "288 KB");
}

TEST(AboutBox, RunsModallyOverTheOtherWindowsAndIsFreedWhenClosed) {
    auto& app = ui::TApplication::Instance();
    ui::TForm other(nullptr);
    other.Show();
    TAboutBox* startup = AboutBox;
    const size_t forms = app.Forms().size();
    bool otherDisabled = false, boxShown = false;
    Later([&] {
        otherDisabled = !IsWindowEnabled(other.Handle());
        for (ui::TForm* f : app.Forms())
            if (auto* box = dynamic_cast<TAboutBox*>(f); box && box != startup) {
                boxShown = box->Visible() && box->Modal();
                box->OKButton->Click();
            }
    });
    ShowAboutBox(&other);
    EXPECT_TRUE(otherDisabled);
    EXPECT_TRUE(boxShown);
    EXPECT_TRUE(IsWindowEnabled(other.Handle()));
    EXPECT_EQ(app.Forms().size(), forms);
    EXPECT_EQ(other.ComponentCount(), 0);
    EXPECT_EQ(AboutBox, startup);  // the start-up box stays the global one
}

TEST(DialogForm, CloseBoxAndEscapeEndTheModalRunWithCancel) {
    ui::TDialogForm f(nullptr);
    Later([&] { PostMessageA(f.Handle(), WM_CLOSE, 0, 0); });
    EXPECT_EQ(f.ShowModal(), ui::mrCancel);
    EXPECT_FALSE(f.Visible());

    Later([&] { PostMessageA(f.Handle(), WM_KEYDOWN, VK_ESCAPE, 0); });
    EXPECT_EQ(f.ShowModal(), ui::mrCancel);

    auto* ok = new ui::TBitBtn(&f);
    ok->SetKind(ui::TBitBtnKind::bkOK);
    ok->SetParent(&f);
    Later([&] { PostMessageA(ok->Handle(), WM_KEYDOWN, VK_RETURN, 0); });
    EXPECT_EQ(f.ShowModal(), ui::mrOk);
}

TEST(ImageControl, TransparentPictureShowsTheFaceAndStretchesToTheControl) {
    ui::TImage image(nullptr);
    TBitmap32 pic(2, 2, kMagenta);
    pic.At(1, 1) = MakePixel(0, 0, 255);
    image.SetPicture(pic);
    const Pixel face = MakePixel(212, 208, 200);

    TBitmap32 plain = image.Compose(4, 4, face);
    EXPECT_EQ(plain.At(0, 0), kMagenta);  // opaque: the picture's own colour
    EXPECT_EQ(plain.At(3, 3), face);      // beyond the unstretched picture

    image.Transparent = true;
    image.Stretch = true;
    TBitmap32 shown = image.Compose(4, 4, face);
    EXPECT_EQ(shown.At(0, 0), face);
    EXPECT_EQ(shown.At(1, 1), face);
    EXPECT_EQ(shown.At(2, 2), MakePixel(0, 0, 255));
    EXPECT_EQ(shown.At(3, 3), MakePixel(0, 0, 255));
}

class HelpTest : public ::testing::Test {
protected:
    void TearDown() override {
        SetMapiLoader(nullptr);
        Vendor = HelpVendor{};
        Registry().DeleteKey("Software\\Ketravo Tests");
    }
    ScopedScriptedMessages msgs;
};

TEST_F(HelpTest, HelpOnWebWithoutAnAddressShowsTheNotice) {
    HelpOnWebClick();
    ASSERT_EQ(msgs.shown.size(), 1u);
    EXPECT_EQ(msgs.shown[0].text, "Sorry, the software vendor did not provide a website for online help.");
    EXPECT_EQ(msgs.shown[0].kind, MsgKind::Information);
    EXPECT_EQ(msgs.shown[0].buttons, MsgButtons::OK);
}

// What the fake mail library received.
struct SentMail {
    int calls = 0;
    std::string subject, body, name, address;
    ULONG recipients = 0, recipientClass = 0, attachments = 99;
    FLAGS flags = 0;
    ULONG_PTR session = 99;
    ULONG result = SUCCESS_SUCCESS;
} g_sent;

ULONG WINAPI FakeSendMail(LHANDLE session, ULONG_PTR, lpMapiMessage m, FLAGS flags, ULONG) {
    ++g_sent.calls;
    g_sent.session = session;
    g_sent.subject = m->lpszSubject ? m->lpszSubject : "<null>";
    g_sent.body = m->lpszNoteText ? m->lpszNoteText : "<null>";
    g_sent.recipients = m->nRecipCount;
    g_sent.attachments = m->nFileCount;
    if (m->nRecipCount == 1) {
        g_sent.recipientClass = m->lpRecips[0].ulRecipClass;
        g_sent.name = m->lpRecips[0].lpszName;
        g_sent.address = m->lpRecips[0].lpszAddress;
    }
    g_sent.flags = flags;
    return g_sent.result;
}

TEST_F(HelpTest, SendMailComposesTheSupportMailThroughMapi) {
    g_sent = SentMail{};
    SetMapiLoader([] { return &FakeSendMail; });
    SendMailClick();
    EXPECT_EQ(g_sent.calls, 1);
    EXPECT_EQ(g_sent.body, "Dear \r\n\r\nI need some information on the following:");
    EXPECT_EQ(g_sent.subject, "RE: Your Shareware Program ");
    EXPECT_EQ(g_sent.recipients, 1u);
    EXPECT_EQ(g_sent.recipientClass, static_cast<ULONG>(MAPI_TO));
    EXPECT_EQ(g_sent.name, "");
    EXPECT_EQ(g_sent.address, "");
    EXPECT_EQ(g_sent.attachments, 0u);
    EXPECT_EQ(g_sent.flags, 0x0Bu);
    EXPECT_EQ(g_sent.session, 0u);
    EXPECT_TRUE(msgs.shown.empty());

    // The user cancelling the compose window is a failure too.
    g_sent.result = MAPI_USER_ABORT;
    SendMailClick();
    ASSERT_EQ(msgs.shown.size(), 1u);
    EXPECT_EQ(msgs.shown[0].text, "Error sending mail");
    EXPECT_EQ(msgs.shown[0].kind, MsgKind::Error);
}

TEST_F(HelpTest, SendMailWithoutAMailLibraryReportsTheErrorAtOnce) {
    EXPECT_EQ(LoadMapiFrom("ktnomapi.dll"), nullptr);
    SetMapiLoader([] { return LoadMapiFrom("ktnomapi.dll"); });
    EXPECT_FALSE(SendMail("", "", "RE: x", "Dear "));
    ASSERT_EQ(msgs.shown.size(), 1u);
    EXPECT_EQ(msgs.shown[0].text, "Error sending mail");
    EXPECT_EQ(msgs.shown[0].kind, MsgKind::Error);
    EXPECT_EQ(msgs.shown[0].buttons, MsgButtons::OK);
}

TEST_F(HelpTest, RegistryStringReadsTextOnlyAndNeverCreatesTheKey) {
    const std::string key = "Software\\Ketravo Tests\\Browser";
    EXPECT_EQ(ReadRegistryString(HKEY_CURRENT_USER, key, ""), "");
    EXPECT_FALSE(Registry().KeyExists(key));

    HKEY h;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &h, nullptr),
              ERROR_SUCCESS);
    const char cmd[] = "\"C:\\B\\web.exe\" -nohome";
    RegSetValueExA(h, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(cmd), sizeof cmd);
    const DWORD number = 7;
    RegSetValueExA(h, "Number", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
    const char unterminated[3] = {'a', 'b', 'c'};
    RegSetValueExA(h, "Raw", 0, REG_SZ, reinterpret_cast<const BYTE*>(unterminated), 3);
    RegCloseKey(h);

    EXPECT_EQ(ReadRegistryString(HKEY_CURRENT_USER, key, ""), cmd);
    EXPECT_EQ(ReadRegistryString(HKEY_CURRENT_USER, key, "Number"), "");
    EXPECT_EQ(ReadRegistryString(HKEY_CURRENT_USER, key, "Missing"), "");
    EXPECT_EQ(ReadRegistryString(HKEY_CURRENT_USER, key, "Raw"), "abc");
}

TEST_F(HelpTest, NoProgramForAFileIsReportedAsTheFailureTextNotRunAsABrowser) {
    EXPECT_EQ(FindAssociatedProgram("ktnosuchfile.html"), "ERROR_FILE_NOT_FOUND");
    EXPECT_NE(GetDefaultBrowser(), "ERROR_FILE_NOT_FOUND");
}

}  // namespace
