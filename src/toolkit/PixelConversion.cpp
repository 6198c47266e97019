#include "toolkit/PixelConversion.h"

#include <cmath>
#include <limits>

namespace vx::toolkit {

int TwipsToPixels(float twips, float twipsPerPixel, Here here) {
  const double pixels = std::round(static_cast<double>(twips) / twipsPerPixel);
  if (!std::isfinite(pixels) || pixels < std::numeric_limits<int>::min() ||
      pixels > std::numeric_limits<int>::max()) {
    Raise(kErrOverflow, {}, {}, here);
  }
  return static_cast<int>(pixels);
}

}  // namespace vx::toolkit
