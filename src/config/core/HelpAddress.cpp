#include "config/core/HelpAddress.h"

#include "config/core/FolderRules.h"
#include "config/core/SettingsText.h"

namespace kt {

namespace {

// Folder names come in the ANSI code page (1252); an address carries UTF-8, escaped.
void AppendEscapedCp1252(std::string& out, unsigned char c) {
    static const char16_t k80[32] = {0x20AC, 0x81,   0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                     0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x8D,   0x017D, 0x8F,
                                     0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                     0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x9D,   0x017E, 0x0178};
    const unsigned u = c < 0xA0 ? k80[c - 0x80] : c;
    unsigned char bytes[3];
    int n = 0;
    if (u < 0x800) {
        bytes[n++] = static_cast<unsigned char>(0xC0 | (u >> 6));
    } else {
        bytes[n++] = static_cast<unsigned char>(0xE0 | (u >> 12));
        bytes[n++] = static_cast<unsigned char>(0x80 | ((u >> 6) & 0x3F));
    }
    bytes[n++] = static_cast<unsigned char>(0x80 | (u & 0x3F));
    static const char hex[] = "0123456789ABCDEF";
    for (int i = 0; i < n; ++i) {
        out += '%';
        out += hex[bytes[i] >> 4];
        out += hex[bytes[i] & 15];
    }
}

}  // namespace

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
            default:
                if (static_cast<unsigned char>(c) >= 0x80) AppendEscapedCp1252(out, static_cast<unsigned char>(c));
                else out += c;
                break;
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

std::string StoredFolderText(const std::string& path) { return StoredFolderForm(path); }

}  // namespace kt
