#include "platform/CurrentFolder.h"

#include <windows.h>

namespace kt {

std::string GetCurrentFolder() {
    char buf[MAX_PATH * 2];
    DWORD n = GetCurrentDirectoryA(sizeof buf, buf);
    return n > 0 && n < sizeof buf ? std::string(buf, n) : std::string();
}

void SetCurrentFolder(const std::string& folder) { SetCurrentDirectoryA(folder.c_str()); }

}  // namespace kt
