// The configuration window's Help menu: local help pages in the default browser, the online
// help notice, the support mail through simple MAPI, and the browser lookup they use.
#pragma once
#include <windows.h>
#include <mapi.h>

#include <functional>
#include <string>

namespace kt {

// What the Help menu knows of its vendor. Nothing sets these: "Help On Web" shows its notice
// and the mail's recipient is left for the user to fill in.
struct HelpVendor {
    std::string HelpAddress;       // web address of online help
    std::string MailRecipient;     // name and address of the mail's recipient
    std::string MailSubject;       // subject override
    std::string MailGreetingName;
};
extern HelpVendor Vendor;

// Hands an address (a "file:///" or web address) to the default browser.
void OpenURL(const std::string& address);
// The open command of the default browser, or an empty text.
std::string GetDefaultBrowser();
// A text value under root\key (read only, never created); empty on any error.
std::string ReadRegistryString(HKEY root, const std::string& key, const std::string& name);
// The program the system opens fileName with, or "ERROR_FILE_NOT_FOUND".
std::string FindAssociatedProgram(const std::string& fileName);
inline constexpr const char* kNoAssociatedProgram = "ERROR_FILE_NOT_FOUND";

// The help pages of the program in appFolder ("&Topic Search", "&Contents", "&Help on Help").
void OpenHelpPage(const std::string& appFolder, const std::string& page);
void HelpTopicSearchClick(const std::string& appFolder);
void HelpContentsClick(const std::string& appFolder);
void HelpOnHelpClick(const std::string& appFolder);
// The contents page at an anchor, for help on one field.
void HelpOnField(const std::string& appFolder, const std::string& anchor);

// "Help On &Web".
void HelpOnWebClick();
inline constexpr const char* kNoWebHelp = "Sorry, the software vendor did not provide a website for online help.";

// "Send &Mail": the support mail, composed in the system's mail program.
void SendMailClick();
// Composes a mail through MAPI; shows "Error sending mail" and returns false when that fails
// (also when the user cancels the compose window).
bool SendMail(const std::string& name, const std::string& address, const std::string& subject,
              const std::string& body);
inline constexpr const char* kMailError = "Error sending mail";

// The mail library's entry point, found on first use; null when MAPI is not installed or
// the library or its MAPISendMail is missing.
using MapiSendMailProc = ULONG(WINAPI*)(LHANDLE, ULONG_PTR, lpMapiMessage, FLAGS, ULONG);
MapiSendMailProc LoadMapiSendMail();
// Finds MAPISendMail in the library `name` (loaded once per name) when the system reports
// MAPI as installed.
MapiSendMailProc LoadMapiFrom(const char* library);
// Replaces how the entry point is found (tests); an empty function restores the system's.
void SetMapiLoader(std::function<MapiSendMailProc()> loader);

}  // namespace kt
