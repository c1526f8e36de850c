// The three skins carried in the program ("Blue", "Silver", "Green"), drawn by our own code: the
// pictures (gradients, rounded frame corners on magenta, state frames) and each description.
// skingen writes them out for ktskin to pack; the tests load them straight from here (they link
// ktbuiltinskins). The program itself only carries the packed store.
#pragma once
#include <string>
#include <vector>

#include "skin/data/SkinWriter.h"

namespace kt {

constexpr int kBuiltinSkinCount = 3;
// "Blue", "Silver", "Green": store items 0, 1 and 2.
const char* BuiltinSkinName(int index);
// The description entry first ("<name>.ini"), then the pictures sorted by name.
std::vector<SkinEntry> MakeBuiltinSkin(int index);

}  // namespace kt
