// The colour value the toolkit and the skin code share: signed 32-bit, 0x00BBGGRR for a plain
// colour, 0x80000000 + n for the Windows system colour n (looked up by the Win32 side).
#pragma once
#include <cstdint>

namespace kt {

using TColour = std::int32_t;
constexpr TColour SysColour(int index) { return TColour(0x80000000u + std::uint32_t(index)); }

}  // namespace kt
