// The process's current folder: scheme names and relative paths are resolved against it.
#pragma once
#include <string>

namespace kt {

// Empty when the system cannot report it.
std::string GetCurrentFolder();
void SetCurrentFolder(const std::string& folder);

}  // namespace kt
