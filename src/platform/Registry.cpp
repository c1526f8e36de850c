#include "platform/Registry.h"

#include <vector>

#include "core/Errors.h"

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
    if (RegOpenKeyExA(parent, sub.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return false;
    char name[256];
    for (;;) {
        DWORD len = sizeof name;
        // Always the first: each pass deletes it.
        if (RegEnumKeyExA(key, 0, name, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        if (!DeleteTree(key, name)) break;
    }
    RegCloseKey(key);
    return RegDeleteKeyA(parent, sub.c_str()) == ERROR_SUCCESS;
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
        r = RegCreateKeyExA(RootKey, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access_, nullptr, &h,
                            &disposition);
    } else {
        r = RegOpenKeyExA(RootKey, path.c_str(), 0, access_, &h);
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
    if (RegCreateKeyExA(RootKey, NormalizeKey(key).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access_, nullptr,
                        &h, &disposition) != ERROR_SUCCESS)
        throw ERegistryException(FormatMessage1("Failed to create key %s", key));
    RegCloseKey(h);
    return true;
}

bool Registry::KeyExists(const std::string& key) {
    HKEY h;
    if (RegOpenKeyExA(RootKey, NormalizeKey(key).c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
    RegCloseKey(h);
    return true;
}

bool Registry::DeleteKey(const std::string& key) {
    const std::string path = NormalizeKey(key);
    if (path.empty()) return false;  // never the whole root
    return DeleteTree(RootKey, path);
}

bool Registry::ValueExists(const std::string& name) {
    return current_ && RegQueryValueExA(current_, name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

std::string Registry::ReadString(const std::string& name) {
    if (!current_) return std::string();
    DWORD type = 0, size = 0;
    if (RegQueryValueExA(current_, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return std::string();
    if (type != REG_SZ && type != REG_EXPAND_SZ) ReadError(name);
    std::vector<char> buf(size + 1, '\0');
    DWORD got = size;
    if (RegQueryValueExA(current_, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buf.data()), &got) !=
        ERROR_SUCCESS)
        ReadError(name);
    buf[got < buf.size() ? got : buf.size() - 1] = '\0';
    return std::string(buf.data());
}

void Registry::WriteString(const std::string& name, const std::string& value) {
    if (!current_ || RegSetValueExA(current_, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                    static_cast<DWORD>(value.size() + 1)) != ERROR_SUCCESS)
        WriteError(name);
}

int Registry::ReadBinaryData(const std::string& name, void* buffer, int size) {
    if (!current_) return 0;
    DWORD type = 0, len = 0;
    if (RegQueryValueExA(current_, name.c_str(), nullptr, &type, nullptr, &len) != ERROR_SUCCESS) return 0;
    if ((type != REG_BINARY && type != REG_NONE) || len > static_cast<DWORD>(size)) ReadError(name);
    if (RegQueryValueExA(current_, name.c_str(), nullptr, &type, static_cast<BYTE*>(buffer), &len) != ERROR_SUCCESS)
        ReadError(name);
    return static_cast<int>(len);
}

void Registry::WriteBinaryData(const std::string& name, const void* buffer, int size) {
    if (!current_ || RegSetValueExA(current_, name.c_str(), 0, REG_BINARY, static_cast<const BYTE*>(buffer),
                                    static_cast<DWORD>(size)) != ERROR_SUCCESS)
        WriteError(name);
}

bool Registry::DeleteValue(const std::string& name) {
    return current_ && RegDeleteValueA(current_, name.c_str()) == ERROR_SUCCESS;
}

}  // namespace kt
