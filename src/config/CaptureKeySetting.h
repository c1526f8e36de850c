// The capture key as the settings keep it ("Options\Typing", "CaptureHotKey", REG_SZ).
#pragma once
#include <string>

#include "app/core/CaptureKey.h"

namespace kt {

class TVtRegistry;

// The stored key; Ctrl+T when none is stored. A text that names no usable key is reported,
// naming the setting, and gives Ctrl+T.
CaptureKey LoadCaptureKey(TVtRegistry& store, const std::string& baseKey);
// The same without a word: false (and Ctrl+T in `key`) for a bad text, which the bar has
// reported at start already.
bool ReadCaptureKey(TVtRegistry& store, const std::string& baseKey, CaptureKey& key);
void SaveCaptureKey(TVtRegistry& store, const std::string& baseKey, const CaptureKey& key);

// The message when the system refuses the key (another program holds it).
std::string CaptureKeyTakenMessage(const CaptureKey& key);

}  // namespace kt
