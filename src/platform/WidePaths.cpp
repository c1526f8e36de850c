#include "platform/WidePaths.h"

#include <windows.h>

#include "core/TextCodec.h"

namespace kt {

std::wstring Wide(const std::string& text) {
    // Most texts are ASCII: widened in place, as a long list fills with many of them.
    if (IsAscii(text)) return std::wstring(text.begin(), text.end());
    const std::u16string units = Utf8ToUtf16(text);
    return std::wstring(units.begin(), units.end());
}

std::string Utf8(const wchar_t* text, std::size_t length) {
    static_assert(sizeof(wchar_t) == sizeof(char16_t), "the system's wide characters are UTF-16 units");
    return Utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(text), length));
}

std::wstring WidePath(const std::string& path) { return Wide(path); }

std::wstring OpenablePath(const std::string& path) {
    std::wstring wide = WidePath(path);
    if (wide.size() < MAX_PATH) return wide;
    // The wide functions take a longer path in its long form: absolute, backslashes only,
    // behind "\\?\" (or "\\?\UNC\" for a network path).
    const DWORD n = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (n == 0) return wide;
    std::wstring full(n, L'\0');
    const DWORD got = GetFullPathNameW(wide.c_str(), n, full.data(), nullptr);
    if (got == 0 || got >= n) return wide;
    full.resize(got);
    if (full.starts_with(L"\\\\?\\")) return full;
    if (full.starts_with(L"\\\\")) return L"\\\\?\\UNC\\" + full.substr(2);
    return L"\\\\?\\" + full;
}

std::string ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& out) {
    const std::wstring wide = OpenablePath(path);
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return "it does not exist";
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return "it is a folder";
    HANDLE file = CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "it cannot be opened";
    LARGE_INTEGER size{};
    // Far beyond any skin: not read into memory.
    constexpr LONGLONG kLargest = 256LL << 20;
    if (!GetFileSizeEx(file, &size) || size.QuadPart > kLargest) {
        CloseHandle(file);
        return "it cannot be read";
    }
    out.assign(static_cast<size_t>(size.QuadPart), 0);
    DWORD got = 0;
    const BOOL ok = out.empty() || ReadFile(file, out.data(), static_cast<DWORD>(out.size()), &got, nullptr);
    CloseHandle(file);
    if (!ok || got != out.size()) return "it cannot be read";
    return {};
}

}  // namespace kt
