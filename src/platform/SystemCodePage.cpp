#include "platform/SystemCodePage.h"

#include <windows.h>

#include "platform/WidePaths.h"

namespace kt {

std::string Win32CodePage::ToUtf8(std::string_view bytes) const {
    if (bytes.empty()) return {};
    const int size = static_cast<int>(bytes.size());
    const int n = MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, nullptr, 0);
    std::wstring wide(static_cast<size_t>(n > 0 ? n : 0), L'\0');
    if (n > 0) MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, wide.data(), n);
    return Utf8(wide);
}

bool Win32CodePage::FromUtf8(std::string_view text, std::string& bytes) const {
    bytes.clear();
    if (text.empty()) return true;
    if (GetACP() == CP_UTF8) return bytes.assign(text), true;
    const std::wstring wide = Wide(std::string(text));
    // No best fit: "Ł" must not quietly become "L". A character the code page lacks is said
    // by the used-default flag.
    BOOL lossy = FALSE;
    const int size = static_cast<int>(wide.size());
    const int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), size, nullptr, 0, nullptr, &lossy);
    if (n <= 0) return false;
    bytes.assign(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), size, bytes.data(), n, nullptr, &lossy);
    return !lossy;
}

}  // namespace kt
