// Paths kept as the program keeps them (text in the system's code page) opened through the
// wide-character file functions, and paths the system hands over in UTF-16 turned into such
// text without losing a character the code page lacks.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace kt {

std::wstring WidePath(const std::string& path);
// The path in the code page; where it holds a character the code page lacks, its short form,
// which the system keeps for such names (so it still opens). Empty when neither can be had.
std::string CodePagePath(const std::wstring& path);
// The path for the wide file functions; one of MAX_PATH characters or more in the long form
// they take ("\\?\C:\...").
std::wstring OpenablePath(const std::string& path);
// Why the file cannot be read ("it does not exist", "it is a folder", ...), or empty with the
// bytes in `out`.
std::string ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& out);

}  // namespace kt
