// Whether a skin can dress a window: the one verdict the program (Load and the choice at start)
// and `ktskin check` give. A skin is usable when the frame elements a window is drawn with (the
// four borders, the title, the title buttons it declares) have pictures whose sizes fit their
// frame counts and margins, and when its frame takes no more than a quarter of the work area
// in either direction.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "skin/data/WinSkinData.h"

namespace kt {

// The work area the program assumes where it cannot ask the screen (`ktskin check`'s default).
constexpr int kCheckWorkAreaWidth = 1024, kCheckWorkAreaHeight = 768;
// A caption lower than this cannot show its title text.
constexpr int kMinCaptionHeight = 8;

// Empty when usable; else the first missing or bad element, as a sentence fragment
// ("element \"Top\" has no picture").
std::string SkinModelProblem(const TSkinDescription& skin, int workWidth, int workHeight);
// A whole container: read and described as the program loads it at `pixelsPerInch` (its
// pictures and margins scaled), then judged as above.
std::string SkinContainerProblem(const std::vector<std::uint8_t>& container, int workWidth, int workHeight,
                                 int pixelsPerInch = 96);

}  // namespace kt
