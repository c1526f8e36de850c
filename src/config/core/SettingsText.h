// How settings are kept as text: integers, booleans and folder paths with the drive placeholder.
#pragma once
#include <string>

namespace kt {

// Decimal text of an integer, as it is stored.
std::string IntToText(int value);
// Reads an integer the way stored settings are read: optional blanks before, an optional
// sign, decimal digits or a "$"/"0x" hexadecimal number, nothing after, within 32 bits.
// Anything else raises EConvertError "'%s' is not a valid integer value".
int TextToInt(const std::string& text);
bool TryTextToInt(const std::string& text, int& value);

// "-1" for true, "0" for false.
std::string BoolToText(bool value);
// "0" (any number equal to zero) is false, any other number true; "True"/"False" in any
// letter case. Anything else raises EConvertError "'%s' is not a valid boolean value".
bool TextToBool(const std::string& text);

// The text that stands for the start drive in stored folder paths.
inline constexpr const char* kDrivePlaceholder = "%systemroot%";

// Whether a stored folder path already begins with the placeholder.
inline bool InPlaceholderForm(const std::string& path) { return path.rfind(kDrivePlaceholder, 0) == 0; }
// Replaces the first two characters of a path (drive letter and colon) with the placeholder;
// a path shorter than two characters becomes the placeholder alone.
std::string EncodeDrivePlaceholder(const std::string& path);
// Replaces every exact, case-sensitive occurrence of the placeholder with drive + ":".
std::string ExpandDrivePlaceholder(const std::string& stored, char drive);

// False for a folder setting that names no real folder of the user's: an empty text, or a
// bare drive ("D:", "D:\", the placeholder alone). Such a value is never stored and never
// taken as the scheme folder: it would put schemes into the root of the drive.
bool IsUsableFolder(const std::string& path);

}  // namespace kt
