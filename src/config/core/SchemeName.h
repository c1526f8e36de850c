// Scheme names typed by the user become file names in the scheme folder: the name + ".dat".
// A name is only used when it names a file directly inside that folder.
#pragma once
#include <string>

namespace kt {

// Why `name` cannot name a scheme file in the scheme folder, or an empty text when it can.
// Refused: path separators, a drive colon, "..", the characters no file name may hold
// (* ? " < > | and control characters), and the system's device names (CON, NUL, COM1...),
// which open a device wherever they are written. An empty name is the caller's own case.
std::string SchemeNameProblem(const std::string& name);

inline bool IsSafeSchemeName(const std::string& name) { return SchemeNameProblem(name).empty(); }

}  // namespace kt
