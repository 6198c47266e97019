// Toolkit twips to whole pixels, for placing windows.
#pragma once

#include "contracts/Error.h"

namespace vx::toolkit {

// twips / twipsPerPixel rounded to the nearest pixel; error 6 when it does not fit an int.
int TwipsToPixels(float twips, float twipsPerPixel, Here here = Here::current());

}  // namespace vx::toolkit
