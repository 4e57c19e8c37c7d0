// How a template image shows: its pixels in one colour, keeping their alpha.
// Image views draw template images so, and the tab bar draws its icons so.
#pragma once

#include "graphics/Bitmap.h"
#include "graphics/Color.h"

namespace uikit {

graphics::Bitmap tintedBitmap(const graphics::Bitmap& bitmap, const graphics::Color& tint);

}  // namespace uikit
