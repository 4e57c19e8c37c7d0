// The image's export as a screen image. It lives apart from the rest of the
// image because it asks the main screen for its scale: the parse, the layers
// and the raw-bytes export stay free of the screen, and so does whatever links
// only them (the parser's fuzz target).
#include "svg/image/SVGXImage.h"

#include <cmath>

#include "foundation/Log.h"
#include "graphics/CairoContext.h"
#include "uikit/UIScreen.h"

namespace svg {

uikit::UIImagePtr SVGXImage::exportUIImageAntiAliased(bool antiAliased, double curveFlatnessFactor,
                                                      graphics::InterpolationQuality interpolationQuality) {
    if (!hasSize()) return nullptr;
    graphics::Size size = this->size();
    foundation::Log("[%@] DEBUG: Generating a UIImage using the current root-object's viewport (may have been "
                    "overridden by user code): {0,0,%2.3f,%2.3f}",
                    className(), size.width, size.height);
    const double screenScale = uikit::UIScreen::mainScreen().scale();
    const double scale = std::isfinite(screenScale) && screenScale > 0 ? screenScale : 1;
    auto pixels = pixelSize({std::ceil(size.width * scale), std::ceil(size.height * scale)});
    if (!pixels) return nullptr;
    graphics::CairoContext context(pixels->first, pixels->second);
    // The drawing stays in points; the context maps each to scale² pixels.
    context.concatCTM(graphics::AffineTransform::makeScale(scale, scale));
    renderToContext(context, antiAliased, curveFlatnessFactor, interpolationQuality, false);
    return uikit::UIImage::imageWithBitmap(std::make_shared<graphics::Bitmap>(context.bitmap()), scale);
}

uikit::UIImagePtr SVGXImage::UIImage() {
    return exportUIImageAntiAliased(true, 1.0, graphics::InterpolationQuality::Default);
}

}  // namespace svg
