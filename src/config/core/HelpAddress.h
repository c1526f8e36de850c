// The texts behind the Help menu, the settings dialog and the About box that need no window:
// help page addresses, the browser's command line, the support mail, the About box's memory
// figures and the folder texts of the settings dialog.
#pragma once
#include <cstdint>
#include <string>

namespace kt {

// The local help pages, below the program folder.
inline constexpr const char* kHelpIndexPage = "/help/index.html";
inline constexpr const char* kHelpContentsPage = "/help/contents.html";
inline constexpr const char* kHelpOnHelpPage = "/help/help.html";

// "file:///" + the program folder as an address + page. Blanks become "%20" and backslashes
// "/"; a "%" or "#" in a folder name is escaped too, or the browser would read it as an
// escape or an anchor and open another page.
std::string HelpPageAddress(const std::string& appFolder, const std::string& page);

// The command that opens address with a browser registered as `command`: a "%1" (or "%L")
// in it takes the address; otherwise the address follows the command after one blank.
std::string BrowserCommandLine(const std::string& command, const std::string& address);
// A program path to run through a command line: quoted when it holds a blank, so that no
// shorter path ("C:\Program") can be run in its place.
std::string QuoteProgramPath(const std::string& path);

// The support mail of "Send Mail".
struct MailText {
    std::string recipient;  // name and address
    std::string subject;
    std::string body;
};
MailText SupportMail(const std::string& recipient, const std::string& subject, const std::string& greetingName);

// The About box's figures: kilobytes with the locale's thousands separator followed by " KB"
// (524,288 KB for 512 MiB), and the memory load as "43 %".
std::string FormatKilobytes(std::uint64_t bytes, const std::string& thousandsSeparator);
std::string FormatMemoryLoad(unsigned percent);

// The folder part of a file path, with its trailing backslash ("C:\Work\a.dat" -> "C:\Work\").
std::string FolderPartOf(const std::string& path);
// A folder as the settings dialog stores it: the drive replaced by the placeholder (a UNC path
// is stored as it stands, see StoredFolderForm). A text
// that already starts with the placeholder is stored as it is, so that it is never encoded
// twice (two dialogs share the values, and OK leaves them in stored form).
std::string StoredFolderText(const std::string& path);

}  // namespace kt
