#include "config/core/HelpAddress.h"

#include "config/core/SettingsText.h"

namespace kt {

std::string HelpPageAddress(const std::string& appFolder, const std::string& page) {
    std::string folder = appFolder;
    // A folder given with its closing backslash ("C:\") would double the page's slash.
    while (!folder.empty() && (folder.back() == '\\' || folder.back() == '/')) folder.pop_back();
    std::string out;
    for (char c : folder) {
        switch (c) {
            case '%': out += "%25"; break;
            case '#': out += "%23"; break;
            case ' ': out += "%20"; break;
            case '\\': out += '/'; break;
            default: out += c; break;
        }
    }
    return "file:///" + out + page;
}

std::string BrowserCommandLine(const std::string& command, const std::string& address) {
    // One pass over the command, so that an address holding "%1" is never rescanned.
    std::string line;
    bool placed = false;
    for (size_t i = 0; i < command.size(); ++i) {
        if (command[i] == '%' && i + 1 < command.size() &&
            (command[i + 1] == '1' || command[i + 1] == 'L' || command[i + 1] == 'l')) {
            line += address;
            placed = true;
            ++i;
        } else {
            line += command[i];
        }
    }
    return placed ? line : command + " " + address;
}

std::string QuoteProgramPath(const std::string& path) {
    if (path.find(' ') == std::string::npos || (!path.empty() && path.front() == '"')) return path;
    return "\"" + path + "\"";
}

MailText SupportMail(const std::string& recipient, const std::string& subject, const std::string& greetingName) {
    MailText m;
    m.recipient = recipient;
    m.subject = subject.empty() ? "RE: Your Shareware Program " : "RE: " + subject;
    const std::string& name = greetingName.empty() ? recipient : greetingName;
    m.body = "Dear " + name + "\r\n\r\nI need some information on the following:";
    return m;
}

std::string FormatKilobytes(std::uint64_t bytes, const std::string& thousandsSeparator) {
    // Rounded to the nearest kilobyte.
    const std::uint64_t kb = bytes / 1024 + (bytes % 1024 >= 512 ? 1 : 0);
    const std::string digits = std::to_string(kb);
    std::string out;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) out += thousandsSeparator;
        out += digits[i];
    }
    return out + " KB";
}

std::string FormatMemoryLoad(unsigned percent) { return std::to_string(percent) + " %"; }

std::string FolderPartOf(const std::string& path) {
    const size_t at = path.find_last_of("\\/:");
    return at == std::string::npos ? std::string() : path.substr(0, at + 1);
}

std::string StoredFolderText(const std::string& path) {
    return InPlaceholderForm(path) ? path : EncodeDrivePlaceholder(path);
}

}  // namespace kt
