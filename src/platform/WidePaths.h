// Text as the program keeps it (UTF-8) for the system's wide-character functions, and back.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace kt {

std::wstring Wide(const std::string& text);
std::string Utf8(const wchar_t* text, std::size_t length);
inline std::string Utf8(const std::wstring& text) { return Utf8(text.data(), text.size()); }
std::wstring WidePath(const std::string& path);
// The path for the wide file functions; one of MAX_PATH characters or more in the long form
// they take ("\\?\C:\...").
std::wstring OpenablePath(const std::string& path);
// Why the file cannot be read ("it does not exist", "it is a folder", ...), or empty with the
// bytes in `out`.
std::string ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& out);

}  // namespace kt
