#include "platform/Win32SchemeFileSystem.h"

#include <windows.h>

namespace kt {

bool Win32SchemeFileSystem::IsFile(const std::string& path) {
    DWORD attr = GetFileAttributesA(path.c_str());
    return attr != INVALID_FILE_ATTRIBUTES && !(attr & FILE_ATTRIBUTE_DIRECTORY);
}

std::vector<std::string> Win32SchemeFileSystem::ListEntries(const std::string& folder) {
    std::vector<std::string> names;
    std::string pattern = folder;
    if (!pattern.empty() && pattern.back() != '\\' && pattern.back() != '/') pattern += '\\';
    pattern += "*.*";
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA(pattern.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        std::string name = data.cFileName;
        if (name != "." && name != "..") names.push_back(name);
    } while (FindNextFileA(find, &data));
    FindClose(find);
    return names;
}

bool Win32SchemeFileSystem::MoveReplacing(const std::string& from, const std::string& to) {
    // Windows refuses to replace a read-only file, but not every implementation of the call
    // does; a scheme the user protected stays as it is everywhere.
    DWORD attr = GetFileAttributesA(to.c_str());
    if (attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_READONLY)) return false;
    return MoveFileExA(from.c_str(), to.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

void Win32SchemeFileSystem::RemoveFile(const std::string& path) { DeleteFileA(path.c_str()); }

}  // namespace kt
