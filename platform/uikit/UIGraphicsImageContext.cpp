#include "uikit/UIGraphicsImageContext.h"

#include <cmath>
#include <memory>
#include <vector>

#include "foundation/MainThreadChecker.h"
#include "graphics/CairoContext.h"
#include "graphics/MutablePath.h"
#include "uikit/UIScreen.h"
#include "uikit/UIView.h"

namespace uikit {

namespace {

struct ImageContext {
    std::unique_ptr<graphics::CairoContext> context;
    double scale;
};

std::vector<ImageContext>& stack() {
    static std::vector<ImageContext> contexts;
    return contexts;
}

}  // namespace

void UIGraphicsBeginImageContextWithOptions(graphics::Size size, bool opaque, double scale) {
    foundation::requireMainThread("Image contexts must be used from the main thread only");
    if (!(scale > 0) || !std::isfinite(scale)) scale = UIScreen::mainScreen().scale();
    int width = static_cast<int>(std::ceil(std::max(size.width, 0.0) * scale));
    int height = static_cast<int>(std::ceil(std::max(size.height, 0.0) * scale));
    auto context = std::make_unique<graphics::CairoContext>(width, height);
    // An opaque context has no transparency: it starts black.
    if (opaque) {
        graphics::MutablePath all;
        all.addRect({{0, 0}, {double(width), double(height)}});
        context->fillPath(all, graphics::Color::black());
    }
    context->scaleCTM(scale, scale);
    UIGraphicsPushContext(context.get());
    stack().push_back({std::move(context), scale});
}

void UIGraphicsBeginImageContext(graphics::Size size) { UIGraphicsBeginImageContextWithOptions(size, false, 1); }

UIImagePtr UIGraphicsGetImageFromCurrentImageContext() {
    foundation::requireMainThread("Image contexts must be used from the main thread only");
    if (stack().empty()) return nullptr;
    const auto& top = stack().back();
    return UIImage::imageWithBitmap(std::make_shared<graphics::Bitmap>(top.context->bitmap()), top.scale);
}

void UIGraphicsEndImageContext() {
    foundation::requireMainThread("Image contexts must be used from the main thread only");
    if (stack().empty()) return;
    UIGraphicsPopContext();
    stack().pop_back();
}

}  // namespace uikit
