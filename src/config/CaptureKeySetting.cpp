#include "config/CaptureKeySetting.h"

#include "config/RegistryKeys.h"
#include "config/VtRegistryComponent.h"
#include "core/MessageService.h"
#include "platform/Win32KeyboardLayout.h"

namespace kt {

namespace {
bool Read(TVtRegistry& store, const std::string& key, CaptureKey& chosen, std::string& problem) {
    std::string text;
    store.LoadStringFromRegistry(key, reg::kCaptureHotKey, text, "");
    chosen = kDefaultCaptureKey;
    if (text.empty()) return true;
    if (ParseCaptureKey(text, chosen, problem)) {
        // A key chosen on another keyboard layout may type a character on the one used now.
        problem = CaptureKeyLayoutProblem(chosen, Win32KeyboardLayout());
        if (problem.empty()) return true;
    }
    chosen = kDefaultCaptureKey;
    return false;
}
}  // namespace

bool ReadCaptureKey(TVtRegistry& store, const std::string& baseKey, CaptureKey& key) {
    std::string problem;
    return Read(store, baseKey + reg::kOptionsTyping, key, problem);
}

CaptureKey LoadCaptureKey(TVtRegistry& store, const std::string& baseKey) {
    const std::string key = baseKey + reg::kOptionsTyping;
    CaptureKey chosen;
    std::string problem;
    if (Read(store, key, chosen, problem)) return chosen;
    while (!problem.empty() && problem.back() == '.') problem.pop_back();
    Messages().Show(problem + " (setting " + TVtRegistry::SettingName(key, reg::kCaptureHotKey) + "). " +
                        CaptureKeyText(kDefaultCaptureKey) + " is used instead.",
                    "", MsgKind::Error, MsgButtons::OK);
    return kDefaultCaptureKey;
}

void SaveCaptureKey(TVtRegistry& store, const std::string& baseKey, const CaptureKey& key) {
    store.SaveStringToRegistry(baseKey + reg::kOptionsTyping, reg::kCaptureHotKey, CaptureKeyText(key));
}

std::string CaptureKeyTakenMessage(const CaptureKey& key) {
    return "ERROR: Unable to assign " + CaptureKeyText(key) +
           " as the hotkey: another program holds it. Choose another capture key in the configuration "
           "window, Options > Typing...";
}

}  // namespace kt
