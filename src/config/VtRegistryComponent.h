// The settings store: every operation opens the registry below HKEY_CURRENT_USER, does one
// thing and closes it again. It keeps no state of its own.
#pragma once
#include <string>

#include "ui/Component.h"

namespace kt {

class TVtRegistry : public ui::TComponent {
    KT_CLASS(TVtRegistry, ui::TComponent)
public:
    explicit TVtRegistry(ui::TComponent* owner = nullptr) : ui::TComponent(owner) {}

    void SaveStringToRegistry(const std::string& key, const std::string& name, const std::string& value);
    void SaveIntegerToRegistry(const std::string& key, const std::string& name, int value);
    void SaveBooleanToRegistry(const std::string& key, const std::string& name, bool value);
    // At most 255 bytes, stored as binary data without a length.
    void SaveShortToRegistry(const std::string& key, const std::string& name, const std::string& value);

    // The stored text, or the default when the value is missing or empty.
    void LoadStringFromRegistry(const std::string& key, const std::string& name, std::string& value,
                                const std::string& defaultValue);
    std::string LoadText(const std::string& key, const std::string& name, const std::string& defaultValue);
    // Conversion errors of a stored text reach the caller.
    int LoadIntegerFromRegistry(const std::string& key, const std::string& name, int defaultValue);
    bool LoadBooleanFromRegistry(const std::string& key, const std::string& name, bool defaultValue);
    void LoadShortFromRegistry(const std::string& key, const std::string& name, std::string& value,
                               const std::string& defaultValue);

    bool AddKeyToRegistry(const std::string& key);
    bool DeleteKeyFromRegistry(const std::string& key);
    bool DeleteValueFromRegistry(const std::string& key, const std::string& name);

    // The start-up entry: the key "...\CurrentVersion\Run" (or "RunOnce") holds name = command.
    void SaveStartupEntry(const std::string& name, const std::string& command, bool runOnce = false);

private:
    bool OpenForSave(class Registry& reg, const std::string& key);
    // Reads the text of a value; false when the key cannot be opened (the default stands).
    bool ReadText(const std::string& key, const std::string& name, std::string& text);
};

}  // namespace kt
