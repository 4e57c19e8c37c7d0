// Screenshots: the window's view tree drawn into pixels with the cairo
// backend, so a person can look at every screen state the dump prints. Each
// view is drawn at its frame (its bounds origin as the scroll offset, its
// transform about its centre), skipped when hidden or nearly transparent,
// composited at its alpha, clipped when it clips to bounds: background (with
// the layer's corner radius), the view's own look (its class's drawRect, made
// current on the context), its subviews and the plain sublayers of its layer
// in layer order, then the layer's border. Over the tree come the status bar
// strip, the keyboard band while a field is first responder, the open-in menu
// while one is shown, and the alert and action-sheet stack, each over a
// dimming of the screen. Nothing drawn depends
// on the time, so the same tree gives the same pixels on every run.
// Main thread only.
#pragma once

#include <string>

#include "foundation/Error.h"
#include "graphics/Bitmap.h"

namespace graphics {
class DrawingContext;
}

namespace uikit {

class UIView;
class UIWindow;

// The view and its subviews, in the view's own (bounds) coordinates.
void renderView(const UIView& view, graphics::DrawingContext& context);

// The window laid out and drawn at `scale` pixels per point (1 when not
// positive), with the overlays above; the screen behind the window is black.
graphics::Bitmap renderScreen(UIWindow& window, double scale);

// renderScreen written as PNG; an error in the POSIX domain when the file
// cannot be written.
foundation::ErrorPtr writeScreenshot(UIWindow& window, const std::string& path, double scale);

}  // namespace uikit
