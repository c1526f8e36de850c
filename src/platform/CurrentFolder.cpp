#include "platform/CurrentFolder.h"

#include <windows.h>

namespace kt {

std::string GetCurrentFolder() {
    char buf[MAX_PATH * 2];
    DWORD n = GetCurrentDirectoryA(sizeof buf, buf);
    return n > 0 && n < sizeof buf ? std::string(buf, n) : std::string();
}

void SetCurrentFolder(const std::string& folder) { SetCurrentDirectoryA(folder.c_str()); }

std::string ProgramFolder() {
    char buf[MAX_PATH * 2];
    const DWORD n = GetModuleFileNameA(nullptr, buf, sizeof buf);
    if (n == 0 || n >= sizeof buf) return {};
    std::string path(buf, n);
    const size_t slash = path.find_last_of('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

}  // namespace kt
