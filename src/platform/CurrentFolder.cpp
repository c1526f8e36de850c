#include "platform/CurrentFolder.h"

#include <windows.h>

#include "platform/WidePaths.h"

namespace kt {

std::string GetCurrentFolder() {
    wchar_t buf[MAX_PATH * 2];
    const DWORD n = GetCurrentDirectoryW(MAX_PATH * 2, buf);
    return n > 0 && n < MAX_PATH * 2 ? Utf8(buf, n) : std::string();
}

void SetCurrentFolder(const std::string& folder) { SetCurrentDirectoryW(Wide(folder).c_str()); }

std::string ProgramFolder() {
    wchar_t buf[MAX_PATH * 2];
    const DWORD n = GetModuleFileNameW(nullptr, buf, MAX_PATH * 2);
    if (n == 0 || n >= MAX_PATH * 2) return {};
    const std::string path = Utf8(buf, n);
    const size_t slash = path.find_last_of('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

}  // namespace kt
