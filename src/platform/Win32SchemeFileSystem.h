// Scheme file operations on the ANSI Win32 functions; the program installs it at start with
// kt::SetSchemeFileSystem.
#pragma once
#include "app/core/SchemeFile.h"

namespace kt {

class Win32SchemeFileSystem : public SchemeFileSystem {
public:
    bool IsFile(const std::string& path) override;
    std::vector<std::string> ListEntries(const std::string& folder) override;
    bool MoveReplacing(const std::string& from, const std::string& to) override;
    void RemoveFile(const std::string& path) override;
};

}  // namespace kt
