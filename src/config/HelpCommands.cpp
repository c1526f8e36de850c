#include "config/HelpCommands.h"

#include <shellapi.h>

#include <map>

#include "config/core/HelpAddress.h"
#include "core/MessageService.h"
#include "platform/CurrentFolder.h"
#include "platform/Registry.h"
#include "platform/ShellLibrary.h"
#include "platform/WidePaths.h"
#include "core/Errors.h"
#include "ui/Application.h"
#include "ui/Forms.h"

namespace kt {

HelpVendor Vendor;

namespace {

std::function<MapiSendMailProc()> g_mapiLoader;

HWND ApplicationWindow() {
    ui::TForm* main = ui::TApplication::Instance().MainForm();
    return main && main->HandleAllocated() ? main->Handle() : nullptr;
}

bool MapiInstalled() {
    OSVERSIONINFOA v{};
    v.dwOSVersionInfoSize = sizeof v;
    GetVersionExA(&v);
    if (v.dwMajorVersion >= 4)
        return ReadRegistryString(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows Messaging Subsystem", "MAPI") == "1";
    return GetProfileIntA("Mail", "MAPI", 0) != 0;
}

}  // namespace

std::string ReadRegistryString(HKEY root, const std::string& key, const std::string& name) {
    Registry reg(KEY_QUERY_VALUE);
    reg.RootKey = root;
    if (!reg.OpenKey(key, false)) return {};
    try {
        return reg.ReadString(name);
    } catch (const ERegistryException&) {
        return {};  // not text: no browser named there
    }
}

std::string FindAssociatedProgram(const std::string& fileName) {
    wchar_t result[MAX_PATH + 1] = L"";
    const std::wstring folder = Wide(GetCurrentFolder());
    const auto r = reinterpret_cast<INT_PTR>(shell::FindProgram(Wide(fileName).c_str(), folder.c_str(), result));
    return r > 32 ? Utf8(result, wcslen(result)) : std::string(kNoAssociatedProgram);
}

std::string GetDefaultBrowser() {
    for (const char* key : {"HTMLFILE\\Shell\\Open\\Command\\", "HTTP\\Shell\\Open\\Command\\",
                            "HTTPS\\Shell\\Open\\Command\\"}) {
        std::string command = ReadRegistryString(HKEY_CLASSES_ROOT, key, "");
        if (!command.empty()) return command;
    }
    // The failure text is no program: running it could start whatever a folder holds by
    // that name.
    const std::string program = FindAssociatedProgram("help.html");
    return program == kNoAssociatedProgram ? std::string() : QuoteProgramPath(program);
}

void OpenURL(const std::string& address) {
    const std::string browser = GetDefaultBrowser();
    if (!browser.empty()) {
        std::wstring command = Wide(BrowserCommandLine(browser, address));
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = SW_SHOWNORMAL;
        PROCESS_INFORMATION process{};
        if (CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
            CloseHandle(process.hThread);
            CloseHandle(process.hProcess);
            return;
        }
    }
    const std::wstring file = Wide(address);
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    info.hwnd = ApplicationWindow();
    info.lpVerb = nullptr;
    info.lpFile = file.c_str();
    info.nShow = SW_SHOWNORMAL;
    shell::ExecuteEx(&info);  // nothing is shown when this fails too
}

void OpenHelpPage(const std::string& appFolder, const std::string& page) {
    OpenURL(HelpPageAddress(appFolder, page));
}
void HelpTopicSearchClick(const std::string& appFolder) { OpenHelpPage(appFolder, kHelpIndexPage); }
void HelpContentsClick(const std::string& appFolder) { OpenHelpPage(appFolder, kHelpContentsPage); }
void HelpOnHelpClick(const std::string& appFolder) { OpenHelpPage(appFolder, kHelpOnHelpPage); }
void HelpOnField(const std::string& appFolder, const std::string& anchor) {
    OpenURL(HelpPageAddress(appFolder, kHelpContentsPage) + anchor);
}

void HelpOnWebClick() {
    if (Vendor.HelpAddress.empty()) ShowInformation(kNoWebHelp);
    else OpenURL(Vendor.HelpAddress);
}

MapiSendMailProc LoadMapiFrom(const char* library) {
    static std::map<std::string, HMODULE> loaded;
    if (!MapiInstalled()) return nullptr;
    auto it = loaded.find(library);
    if (it == loaded.end()) it = loaded.emplace(library, LoadLibraryA(library)).first;
    if (!it->second) return nullptr;
    return reinterpret_cast<MapiSendMailProc>(reinterpret_cast<void*>(GetProcAddress(it->second, "MAPISendMail")));
}

MapiSendMailProc LoadMapiSendMail() { return g_mapiLoader ? g_mapiLoader() : LoadMapiFrom("MAPI32.DLL"); }

void SetMapiLoader(std::function<MapiSendMailProc()> loader) { g_mapiLoader = std::move(loader); }

bool SendMail(const std::string& name, const std::string& address, const std::string& subject,
              const std::string& body) {
    // MAPI takes non-const texts; it does not change them.
    std::string n = name, a = address, s = subject, b = body;
    MapiRecipDesc recipient{};
    recipient.ulRecipClass = MAPI_TO;
    recipient.lpszName = n.data();
    recipient.lpszAddress = a.data();
    MapiMessage message{};
    message.lpszSubject = s.data();
    message.lpszNoteText = b.data();
    message.nRecipCount = 1;
    message.lpRecips = &recipient;

    ULONG result = MAPI_E_FAILURE;
    if (MapiSendMailProc send = LoadMapiSendMail())
        result = send(0, reinterpret_cast<ULONG_PTR>(ApplicationWindow()), &message,
                      MAPI_LOGON_UI | MAPI_NEW_SESSION | MAPI_DIALOG, 0);
    if (result == SUCCESS_SUCCESS) return true;
    Messages().Show(kMailError, "", MsgKind::Error, MsgButtons::OK);
    return false;
}

void SendMailClick() {
    const MailText mail = SupportMail(Vendor.MailRecipient, Vendor.MailSubject, Vendor.MailGreetingName);
    SendMail(mail.recipient, mail.recipient, mail.subject, mail.body);
}

}  // namespace kt
