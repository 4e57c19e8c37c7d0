// Image contexts: an offscreen cairo context of a size in points at a scale
// (0 = the main screen's), made the current context until it ends, so images,
// paths and layer trees (renderInContext) draw into it in points. Contexts
// nest: ending one makes the one before it current again. Main thread only.
#pragma once

#include "graphics/Geometry.h"
#include "uikit/UIImage.h"

namespace uikit {

void UIGraphicsBeginImageContextWithOptions(graphics::Size size, bool opaque, double scale);
// Not opaque, scale 1.
void UIGraphicsBeginImageContext(graphics::Size size);
// What the innermost image context holds so far, at its scale; null when no
// image context is open.
UIImagePtr UIGraphicsGetImageFromCurrentImageContext();
// Ends the innermost image context; nothing when none is open.
void UIGraphicsEndImageContext();

}  // namespace uikit
