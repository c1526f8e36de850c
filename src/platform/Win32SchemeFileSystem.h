// Scheme file operations on the ANSI Win32 functions; the program installs it at start with
// kt::SetSchemeFileSystem.
#pragma once
#include <string>

#include "app/core/SchemeFile.h"

namespace kt {

class Win32SchemeFileSystem : public SchemeFileSystem {
public:
    bool IsFile(const std::string& path) override;
    std::vector<std::string> ListEntries(const std::string& folder) override;
    bool MoveReplacing(const std::string& from, const std::string& to) override;
    bool RemoveFile(const std::string& path) override;
    bool Exists(const std::string& path) override;
    bool CopyToNew(const std::string& from, const std::string& to) override;
    bool RenameToNew(const std::string& from, const std::string& to) override;
    ReadResult ReadWhole(const std::string& path, std::string& content) override;
    bool WriteNew(const std::string& path, std::string_view content) override;
    bool InUse(const std::string& path) override;
    bool SamePath(const std::string& a, const std::string& b) override;
    bool Stamp(const std::string& path, FileStamp& stamp) override;
    long long MillisecondsSinceWrite(const FileStamp& stamp) override;
};

// How a scheme is shown to the user: its name, as the list boxes take it.
std::wstring ShownSchemeName(const std::string& folder, const std::string& scheme);

}  // namespace kt
