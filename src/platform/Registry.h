// A thin accessor over one open registry key (advapi32).
#pragma once
#include <windows.h>

#include <string>

namespace kt {

class Registry {
public:
    explicit Registry(REGSAM access = KEY_ALL_ACCESS) : access_(access) {}
    ~Registry() { CloseKey(); }
    Registry(const Registry&) = delete;
    Registry& operator=(const Registry&) = delete;

    HKEY RootKey = HKEY_CURRENT_USER;

    // Leading and trailing backslashes are ignored: "\A\B\" names the key "A\B".
    static std::string NormalizeKey(const std::string& key);

    bool OpenKey(const std::string& key, bool canCreate);
    void CloseKey();
    bool HasCurrentKey() const { return current_ != nullptr; }
    bool CreateKey(const std::string& key);
    bool KeyExists(const std::string& key);
    // Removes a key with all its sub-keys.
    bool DeleteKey(const std::string& key);

    bool ValueExists(const std::string& name);
    // An absent value reads as empty text; a value of another type raises ERegistryException.
    std::string ReadString(const std::string& name);
    void WriteString(const std::string& name, const std::string& value);
    // Reads at most size bytes of a binary value; returns the count, 0 when absent.
    // A value of another type or a longer one raises ERegistryException.
    int ReadBinaryData(const std::string& name, void* buffer, int size);
    void WriteBinaryData(const std::string& name, const void* buffer, int size);
    bool DeleteValue(const std::string& name);

private:
    REGSAM access_;
    HKEY current_ = nullptr;
};

}  // namespace kt
