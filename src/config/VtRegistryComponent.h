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
    // A stored value of the wrong registry type, or a text that is no integer or truth value,
    // costs only that value: it is reported in the error box, naming the setting, and the
    // default is returned.
    int LoadIntegerFromRegistry(const std::string& key, const std::string& name, int defaultValue);
    // The same for a setting that only takes numbers from `min` to `max`: another number is
    // reported like a bad text.
    int LoadIntegerFromRegistry(const std::string& key, const std::string& name, int defaultValue, int min, int max);
    bool LoadBooleanFromRegistry(const std::string& key, const std::string& name, bool defaultValue);
    void LoadShortFromRegistry(const std::string& key, const std::string& name, std::string& value,
                               const std::string& defaultValue);

    bool AddKeyToRegistry(const std::string& key);
    bool DeleteKeyFromRegistry(const std::string& key);
    bool DeleteValueFromRegistry(const std::string& key, const std::string& name);

    // How a setting is named in messages: below the program's base key its path from there
    // ("Windows\Button\Top"), elsewhere the full key path and value name.
    static std::string SettingName(const std::string& key, const std::string& name);

    // The start-up entry: the key "...\CurrentVersion\Run" (or "RunOnce") holds name = command.
    void SaveStartupEntry(const std::string& name, const std::string& command, bool runOnce = false);

private:
    bool OpenForSave(class Registry& reg, const std::string& key);
    // Reads the text of a value; false when the key cannot be opened (the default stands).
    bool ReadText(const std::string& key, const std::string& name, std::string& text);
    void ReportBadValue(const std::string& key, const std::string& name, const std::string& problem);
};

}  // namespace kt
