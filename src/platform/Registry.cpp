#include "platform/Registry.h"

#include <algorithm>
#include <cwchar>
#include <vector>

#include "core/Errors.h"
#include "platform/WidePaths.h"

namespace kt {

namespace {

[[noreturn]] void ReadError(const std::string& name) {
    throw ERegistryException(FormatMessage1("Invalid data type for '%s'", name));
}
[[noreturn]] void WriteError(const std::string& name) {
    throw ERegistryException(FormatMessage1("Failed to set data for '%s'", name));
}

bool DeleteTree(HKEY parent, const std::string& sub) {
    HKEY key;
    if (RegOpenKeyExW(parent, Wide(sub).c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return false;
    wchar_t name[256];
    for (;;) {
        DWORD len = 256;
        // Always the first: each pass deletes it.
        if (RegEnumKeyExW(key, 0, name, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        if (!DeleteTree(key, Utf8(name, len))) break;
    }
    RegCloseKey(key);
    return RegDeleteKeyW(parent, Wide(sub).c_str()) == ERROR_SUCCESS;
}

}  // namespace

std::string Registry::NormalizeKey(const std::string& key) {
    size_t b = 0, e = key.size();
    while (b < e && key[b] == '\\') ++b;
    while (e > b && key[e - 1] == '\\') --e;
    return key.substr(b, e - b);
}

bool Registry::OpenKey(const std::string& key, bool canCreate) {
    CloseKey();
    const std::string path = NormalizeKey(key);
    HKEY h = nullptr;
    LONG r;
    if (canCreate) {
        DWORD disposition;
        r = RegCreateKeyExW(RootKey, Wide(path).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access_, nullptr, &h,
                            &disposition);
    } else {
        r = RegOpenKeyExW(RootKey, Wide(path).c_str(), 0, access_, &h);
    }
    if (r != ERROR_SUCCESS) return false;
    current_ = h;
    return true;
}

void Registry::CloseKey() {
    if (current_) {
        RegCloseKey(current_);
        current_ = nullptr;
    }
}

bool Registry::CreateKey(const std::string& key) {
    HKEY h;
    DWORD disposition;
    if (RegCreateKeyExW(RootKey, Wide(NormalizeKey(key)).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access_, nullptr,
                        &h, &disposition) != ERROR_SUCCESS)
        throw ERegistryException(FormatMessage1("Failed to create key %s", key));
    RegCloseKey(h);
    return true;
}

bool Registry::KeyExists(const std::string& key) {
    HKEY h;
    if (RegOpenKeyExW(RootKey, Wide(NormalizeKey(key)).c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
    RegCloseKey(h);
    return true;
}

bool Registry::DeleteKey(const std::string& key) {
    const std::string path = NormalizeKey(key);
    if (path.empty()) return false;  // never the whole root
    return DeleteTree(RootKey, path);
}

bool Registry::ValueExists(const std::string& name) {
    return current_ && RegQueryValueExW(current_, Wide(name).c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

std::string Registry::ReadString(const std::string& name) {
    if (!current_) return std::string();
    DWORD type = 0, size = 0;
    if (RegQueryValueExW(current_, Wide(name).c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return std::string();
    if (type != REG_SZ && type != REG_EXPAND_SZ) ReadError(name);
    std::vector<wchar_t> buf(size / sizeof(wchar_t) + 1, L'\0');
    DWORD got = size;
    if (RegQueryValueExW(current_, Wide(name).c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buf.data()), &got) !=
        ERROR_SUCCESS)
        ReadError(name);
    const size_t units = std::min<size_t>(got / sizeof(wchar_t), buf.size() - 1);
    return Utf8(buf.data(), std::wcslen(std::wstring(buf.data(), units).c_str()));
}

void Registry::WriteString(const std::string& name, const std::string& value) {
    const std::wstring wide = Wide(value);
    if (!current_ || RegSetValueExW(current_, Wide(name).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(wide.c_str()),
                                    static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t))) != ERROR_SUCCESS)
        WriteError(name);
}

int Registry::ReadBinaryData(const std::string& name, void* buffer, int size) {
    if (!current_) return 0;
    DWORD type = 0, len = 0;
    if (RegQueryValueExW(current_, Wide(name).c_str(), nullptr, &type, nullptr, &len) != ERROR_SUCCESS) return 0;
    if ((type != REG_BINARY && type != REG_NONE) || len > static_cast<DWORD>(size)) ReadError(name);
    if (RegQueryValueExW(current_, Wide(name).c_str(), nullptr, &type, static_cast<BYTE*>(buffer), &len) != ERROR_SUCCESS)
        ReadError(name);
    return static_cast<int>(len);
}

void Registry::WriteBinaryData(const std::string& name, const void* buffer, int size) {
    if (!current_ || RegSetValueExW(current_, Wide(name).c_str(), 0, REG_BINARY, static_cast<const BYTE*>(buffer),
                                    static_cast<DWORD>(size)) != ERROR_SUCCESS)
        WriteError(name);
}

bool Registry::DeleteValue(const std::string& name) {
    return current_ && RegDeleteValueW(current_, Wide(name).c_str()) == ERROR_SUCCESS;
}

}  // namespace kt
