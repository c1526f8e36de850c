#include "platform/WidePaths.h"

#include <windows.h>

namespace kt {

namespace {

bool ToCodePage(const std::wstring& text, std::string& out) {
    BOOL lossy = FALSE;
    const int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.c_str(), -1, nullptr, 0, nullptr, &lossy);
    if (n <= 0) return false;
    out.assign(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.c_str(), -1, out.data(), n, nullptr, &lossy);
    out.resize(static_cast<size_t>(n - 1));
    return !lossy;
}

}  // namespace

std::wstring WidePath(const std::string& path) {
    const int n = MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, nullptr, 0);
    if (n <= 0) return {};
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide.data(), n);
    wide.resize(static_cast<size_t>(n - 1));
    return wide;
}

std::string CodePagePath(const std::wstring& path) {
    std::string text;
    if (ToCodePage(path, text)) return text;
    const DWORD n = GetShortPathNameW(path.c_str(), nullptr, 0);
    if (n == 0) return {};
    std::wstring shortPath(n, L'\0');
    const DWORD got = GetShortPathNameW(path.c_str(), shortPath.data(), n);
    if (got == 0 || got >= n) return {};
    shortPath.resize(got);
    return ToCodePage(shortPath, text) ? text : std::string();
}

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
