// Colours as the toolkit and the skin code keep them: a plain 0x00BBGGRR value, or
// 0x80000000 + n for the system colour n, which only the platform can look up (when painting).
#pragma once
#include <cstdint>

namespace kt {

using TColor = std::int32_t;

constexpr TColor SysColor(int index) { return static_cast<TColor>(0x80000000u | unsigned(index & 0xFF)); }

// The skin model's spelling of the same type.
using TColour = TColor;
constexpr TColour SysColour(int index) { return SysColor(index); }

// The system colours are numbered as the platform numbers them (checked where it converts).
inline constexpr TColor clWindow = SysColor(5);
inline constexpr TColor clBtnFace = SysColor(15);
inline constexpr TColor clRed = 0x0000FF;

}  // namespace kt
