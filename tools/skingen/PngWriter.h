// Writes a TBitmap32 as an RGB PNG (zlib does the deflating).
#pragma once
#include <string>

#include "skin/data/Bitmap32.h"

bool WritePng(const std::string& path, const kt::TBitmap32& bitmap);
