// Private to the graphics library: the conversions between a Bitmap and a
// cairo image surface (native-endian, premultiplied ARGB). Not installed for
// other libraries; it names cairo types only as opaque pointers.
#pragma once

#include <string>

#include "foundation/Error.h"
#include "graphics/Bitmap.h"

typedef struct _cairo_surface cairo_surface_t;

namespace graphics::detail {

// A new ARGB surface holding the bitmap; the caller destroys it.
cairo_surface_t* surfaceFromBitmap(const Bitmap& bitmap);
// The surface's pixels; an empty bitmap when it is not an ARGB image surface.
Bitmap bitmapFromSurface(cairo_surface_t* surface);
// Writes the surface as PNG, encoded row by row from its own pixels (no copy
// of the image); an error in the POSIX domain when the file cannot be
// written or the surface has no pixels.
foundation::ErrorPtr writeSurfacePNG(cairo_surface_t* surface, const std::string& path);

}  // namespace graphics::detail
