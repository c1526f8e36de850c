#include "config/VtRegistryComponent.h"

#include <set>

#include <climits>

#include "config/RegistryKeys.h"
#include "config/core/SettingsText.h"
#include "core/MessageService.h"
#include "core/Errors.h"
#include "platform/Registry.h"

namespace kt {

bool TVtRegistry::OpenForSave(Registry& reg, const std::string& key) {
    if (reg.OpenKey(key, true)) return true;
    ShowInformation("The registry key " + key + " does not exist.");
    return false;
}

void TVtRegistry::SaveStringToRegistry(const std::string& key, const std::string& name, const std::string& value) {
    Registry reg;
    if (OpenForSave(reg, key)) reg.WriteString(name, value);
}

void TVtRegistry::SaveIntegerToRegistry(const std::string& key, const std::string& name, int value) {
    SaveStringToRegistry(key, name, IntToText(value));
}

void TVtRegistry::SaveBooleanToRegistry(const std::string& key, const std::string& name, bool value) {
    SaveStringToRegistry(key, name, BoolToText(value));
}

void TVtRegistry::SaveShortToRegistry(const std::string& key, const std::string& name, const std::string& value) {
    Registry reg;
    if (!OpenForSave(reg, key)) return;
    const int len = static_cast<int>(value.size() > 255 ? 255 : value.size());
    reg.WriteBinaryData(name, value.data(), len);
}

std::string TVtRegistry::SettingName(const std::string& key, const std::string& name) {
    std::string path = Registry::NormalizeKey(key);
    const std::string base = Registry::NormalizeKey(reg::kBaseKey);
    if (path.size() > base.size() && path.compare(0, base.size(), base) == 0 && path[base.size()] == '\\')
        path = path.substr(base.size() + 1);
    return path.empty() ? name : path + "\\" + name;
}

void TVtRegistry::ReportBadValue(const std::string& key, const std::string& name, const std::string& problem) {
    std::string text = problem;
    while (!text.empty() && text.back() == '.') text.pop_back();
    text += " (setting " + SettingName(key, name) + "). Its default is used instead.";
    // A setting read again (each time a dialog opens) is reported once a run; a value changed
    // to another bad one is reported again.
    static std::set<std::string> reported;
    if (!reported.insert(text).second) return;
    Messages().Show(text, "", MsgKind::Error, MsgButtons::OK);
}

bool TVtRegistry::ReadText(const std::string& key, const std::string& name, std::string& text) {
    Registry reg;
    if (!reg.OpenKey(key, true)) {
        ShowMessage("Error opening key");
        return false;
    }
    try {
        text = reg.ReadString(name);
    } catch (const ERegistryException& e) {
        ReportBadValue(key, name, e.what());
        return false;
    }
    return true;
}

void TVtRegistry::LoadStringFromRegistry(const std::string& key, const std::string& name, std::string& value,
                                         const std::string& defaultValue) {
    value = defaultValue;
    std::string text;
    if (ReadText(key, name, text) && !text.empty()) value = text;
}

std::string TVtRegistry::LoadText(const std::string& key, const std::string& name,
                                    const std::string& defaultValue) {
    std::string value;
    LoadStringFromRegistry(key, name, value, defaultValue);
    return value;
}

int TVtRegistry::LoadIntegerFromRegistry(const std::string& key, const std::string& name, int defaultValue) {
    return LoadIntegerFromRegistry(key, name, defaultValue, INT_MIN, INT_MAX);
}

int TVtRegistry::LoadIntegerFromRegistry(const std::string& key, const std::string& name, int defaultValue,
                                         int min, int max) {
    std::string text;
    if (!ReadText(key, name, text) || text.empty()) return defaultValue;
    int value;
    try {
        value = TextToInt(text);
    } catch (const EConvertError& e) {
        ReportBadValue(key, name, e.what());
        return defaultValue;
    }
    if (value >= min && value <= max) return value;
    ReportBadValue(key, name, "'" + text + "' is not a number from " + IntToText(min) + " to " + IntToText(max));
    return defaultValue;
}

bool TVtRegistry::LoadBooleanFromRegistry(const std::string& key, const std::string& name, bool defaultValue) {
    std::string text;
    if (!ReadText(key, name, text) || text.empty()) return defaultValue;
    try {
        return TextToBool(text);
    } catch (const EConvertError& e) {
        ReportBadValue(key, name, e.what());
        return defaultValue;
    }
}

void TVtRegistry::LoadShortFromRegistry(const std::string& key, const std::string& name, std::string& value,
                                        const std::string& defaultValue) {
    value = defaultValue;
    Registry reg;
    if (!reg.OpenKey(key, true)) {
        ShowMessage("Error opening key");
        return;
    }
    char buffer[255];
    try {
        int n = reg.ReadBinaryData(name, buffer, sizeof buffer);
        if (n > 0) value.assign(buffer, static_cast<size_t>(n));
    } catch (const ERegistryException& e) {
        ReportBadValue(key, name, e.what());
    }
}

bool TVtRegistry::AddKeyToRegistry(const std::string& key) {
    Registry reg;
    return reg.CreateKey(key);
}

bool TVtRegistry::DeleteKeyFromRegistry(const std::string& key) {
    Registry reg;
    if (!reg.OpenKey(key, true)) {
        ShowMessage("Error opening key");
        return false;
    }
    reg.CloseKey();
    reg.DeleteKey(key);
    return true;
}

bool TVtRegistry::DeleteValueFromRegistry(const std::string& key, const std::string& name) {
    Registry reg;
    if (!reg.OpenKey(key, false)) return false;
    return reg.DeleteValue(name);
}

void TVtRegistry::SaveStartupEntry(const std::string& name, const std::string& command, bool runOnce) {
    SaveStringToRegistry(std::string(reg::kRunKeyParent) + (runOnce ? reg::kRunOnce : reg::kRun), name, command);
}

}  // namespace kt
