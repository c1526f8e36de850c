// The process's current folder: scheme names and relative paths are resolved against it.
#pragma once
#include <string>

namespace kt {

// Empty when the system cannot report it.
std::string GetCurrentFolder();
void SetCurrentFolder(const std::string& folder);
// The folder of the running program file, without a closing backslash; empty when unknown.
// Not the start folder: an installed copy starts in the user's folder.
std::string ProgramFolder();

}  // namespace kt
