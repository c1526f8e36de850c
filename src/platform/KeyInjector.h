// Inserts a typing plan into the system input stream.
#pragma once
#include <vector>

#include "app/TypingPlan.h"

namespace kt {

// Sends the whole plan with one SendInput call, so the user's own key strokes cannot come in
// between. Returns true when every event was inserted.
bool SendKeyPlan(const std::vector<KeyEvent>& plan);

}  // namespace kt
