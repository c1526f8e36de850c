// The program's picture for the About box: the blue key cap with the white typing cursor of
// the program's icon, drawn at any size on the transparent colour (magenta).
#pragma once
#include "skin/data/Bitmap32.h"

namespace kt {

TBitmap32 DrawProgramPicture(int size);

}  // namespace kt
