// The bounds of a window in toolkit twips (Screen.h), shared by forms and contained controls:
// each says where its pixel rectangle comes from and how it is placed; the conversions, the
// rounding to whole pixels and the errors are the same for both.
//
// Errors: 6 for a value whose pixels do not fit an int, 5 for a negative width or height, and
// whatever reading or placing the rectangle raises (91 for a window that is gone). A failed write
// leaves the window as it was.
#pragma once

#include <windows.h>

#include "contracts/Error.h"

namespace vx::toolkit {

class TwipsBounds {
 public:
  float Left(Here here = Here::current()) const;
  float Top(Here here = Here::current()) const;
  float Width(Here here = Here::current()) const;
  float Height(Here here = Here::current()) const;
  void SetLeft(float twips, Here here = Here::current());
  void SetTop(float twips, Here here = Here::current());
  void SetWidth(float twips, Here here = Here::current());
  void SetHeight(float twips, Here here = Here::current());

 protected:
  TwipsBounds() = default;
  ~TwipsBounds() = default;
  TwipsBounds(const TwipsBounds&) = default;
  TwipsBounds& operator=(const TwipsBounds&) = default;

 private:
  // The rectangle in pixels, in the coordinates the bounds are measured in.
  virtual RECT PixelBounds(Here here) const = 0;
  virtual void PlacePixels(const RECT& pixels, Here here) = 0;
};

}  // namespace vx::toolkit
