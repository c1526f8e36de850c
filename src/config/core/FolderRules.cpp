#include "config/core/FolderRules.h"

#include <vector>

#include "config/core/SettingsText.h"

namespace kt {

namespace {

bool IsSlash(char c) { return c == '\\' || c == '/'; }
bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// Length of the "\\server\share" part of a UNC path; 0 when server or share is missing.
std::size_t UncRootLength(const std::string& path) {
    if (!IsUncPath(path)) return 0;
    std::size_t server = 2;
    std::size_t end = server;
    while (end < path.size() && !IsSlash(path[end])) ++end;
    if (end == server || end >= path.size()) return 0;
    std::size_t share = end + 1;
    std::size_t shareEnd = share;
    while (shareEnd < path.size() && !IsSlash(path[shareEnd])) ++shareEnd;
    return shareEnd == share ? 0 : shareEnd;
}

// root + the parts of `rest`, "." dropped and ".." taking one part back (never the root). A
// drive alone keeps its backslash ("D:\"); a share is a folder as it is ("\\nas\schemes").
std::string Join(const std::string& root, const std::string& rest) {
    std::vector<std::string> parts;
    std::string part;
    auto take = [&] {
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        part.clear();
    };
    for (char c : rest) {
        if (IsSlash(c)) take();
        else part += c;
    }
    take();
    std::string out = root;
    for (const std::string& p : parts) out += "\\" + p;
    return parts.empty() && !IsUncPath(root) ? out + "\\" : out;
}

std::string Trimmed(const std::string& s) {
    const std::size_t first = s.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    std::string t = s.substr(first, s.find_last_not_of(' ') - first + 1);
    // A path pasted with its quotes.
    if (t.size() >= 2 && t.front() == '"' && t.back() == '"') t = t.substr(1, t.size() - 2);
    return t;
}

}  // namespace

bool HasDriveLetter(const std::string& path) { return path.size() >= 2 && IsLetter(path[0]) && path[1] == ':'; }

bool IsUncPath(const std::string& path) { return path.size() >= 2 && IsSlash(path[0]) && IsSlash(path[1]); }

std::string FolderRoot(const std::string& path) {
    if (HasDriveLetter(path)) return path.substr(0, 2);
    if (const std::size_t n = UncRootLength(path)) {
        std::string root = path.substr(0, n);
        for (char& c : root)
            if (c == '/') c = '\\';
        return root;
    }
    return {};
}

std::string StoredFolderForm(const std::string& folder) {
    if (InPlaceholderForm(folder)) return folder;
    if (folder.size() < 2 || HasDriveLetter(folder)) return EncodeDrivePlaceholder(folder);
    return folder;
}

std::string ExpandStoredFolder(const std::string& stored, const std::string& startFolder) {
    std::string root = FolderRoot(startFolder);
    if (root.empty()) root = "C:";
    const std::string placeholder = kDrivePlaceholder;
    std::string out;
    std::size_t pos = 0;
    for (std::size_t hit; (hit = stored.find(placeholder, pos)) != std::string::npos; pos = hit + placeholder.size())
        out.append(stored, pos, hit - pos).append(root);
    return out.append(stored, pos, std::string::npos);
}

TypedFolder ResolveTypedFolder(const std::string& typed, const std::string& programFolder) {
    const std::string text = Trimmed(typed);
    if (text.empty()) return {};
    if (InPlaceholderForm(text)) return {text, {}};
    auto refuse = [&](const std::string& why) { return TypedFolder{{}, "The folder \"" + text + "\" " + why}; };
    if (text.find_first_of("<>\"|?*") != std::string::npos || text.find(':', 2) != std::string::npos)
        return refuse("holds a character that no folder name may hold (< > \" | ? * or a second colon).");
    if (IsUncPath(text)) {
        const std::size_t n = UncRootLength(text);
        if (n == 0) return refuse("names no shared folder: write it as \\\\server\\share\\folder.");
        return {Join(FolderRoot(text), text.substr(n)), {}};
    }
    if (HasDriveLetter(text)) {
        // "D:data" means a folder relative to drive D's current folder, which differs from
        // run to run: refused rather than guessed.
        if (text.size() > 2 && !IsSlash(text[2]))
            return refuse("has no backslash after the drive: write it as " + text.substr(0, 2) + "\\" +
                          text.substr(2) + ".");
        return {Join(text.substr(0, 2), text.substr(2)), {}};
    }
    const std::string base = FolderRoot(programFolder);
    if (base.empty())
        return refuse("is not a full path, and the program's own folder is not known to complete it.");
    if (IsSlash(text[0])) return {Join(base, text), {}};
    return {Join(base, programFolder.substr(base.size()) + "\\" + text), {}};
}

}  // namespace kt
