#include "uikit/UIImageView.h"

#include <algorithm>

#include "graphics/MutablePath.h"
#include "uikit/ImageTint.h"

namespace uikit {

graphics::Bitmap tintedBitmap(const graphics::Bitmap& bitmap, const graphics::Color& tint) {
    auto rgba = tint.rgba();
    graphics::Bitmap result = bitmap;
    auto& bytes = result.bytes();
    for (size_t i = 0; i + 3 < bytes.size(); i += 4) {
        bytes[i] = static_cast<uint8_t>(rgba.red * 255 + 0.5);
        bytes[i + 1] = static_cast<uint8_t>(rgba.green * 255 + 0.5);
        bytes[i + 2] = static_cast<uint8_t>(rgba.blue * 255 + 0.5);
        bytes[i + 3] = static_cast<uint8_t>(bytes[i + 3] * rgba.alpha + 0.5);
    }
    return result;
}

graphics::Rect placeContent(graphics::Size content, const graphics::Rect& area, UIViewContentMode mode) {
    const auto& o = area.origin;
    const auto& s = area.size;
    double cw = content.width, ch = content.height;
    switch (mode) {
        case UIViewContentMode::ScaleToFill:
        case UIViewContentMode::Redraw:
            return area;
        case UIViewContentMode::ScaleAspectFit:
        case UIViewContentMode::ScaleAspectFill: {
            if (cw <= 0 || ch <= 0) return area;
            double sx = s.width / cw, sy = s.height / ch;
            double factor = mode == UIViewContentMode::ScaleAspectFit ? std::min(sx, sy) : std::max(sx, sy);
            double w = cw * factor, h = ch * factor;
            return {{o.x + (s.width - w) / 2, o.y + (s.height - h) / 2}, {w, h}};
        }
        case UIViewContentMode::Center:
            return {{o.x + (s.width - cw) / 2, o.y + (s.height - ch) / 2}, content};
        case UIViewContentMode::Top:
            return {{o.x + (s.width - cw) / 2, o.y}, content};
        case UIViewContentMode::Bottom:
            return {{o.x + (s.width - cw) / 2, o.y + s.height - ch}, content};
        case UIViewContentMode::Left:
            return {{o.x, o.y + (s.height - ch) / 2}, content};
        case UIViewContentMode::Right:
            return {{o.x + s.width - cw, o.y + (s.height - ch) / 2}, content};
        case UIViewContentMode::TopLeft:
            return {o, content};
        case UIViewContentMode::TopRight:
            return {{o.x + s.width - cw, o.y}, content};
        case UIViewContentMode::BottomLeft:
            return {{o.x, o.y + s.height - ch}, content};
        case UIViewContentMode::BottomRight:
            return {{o.x + s.width - cw, o.y + s.height - ch}, content};
    }
    return area;
}

UIImageView::UIImageView(const graphics::Rect& frame) : UIView(frame) { setUserInteractionEnabled(false); }

UIImageView::UIImageView(UIImagePtr image, UIImagePtr highlightedImage)
    : UIView(graphics::Rect{{0, 0}, image ? image->size() : graphics::Size{0, 0}}),
      image_(std::move(image)),
      highlightedImage_(std::move(highlightedImage)) {
    setUserInteractionEnabled(false);
}

void UIImageView::setImage(UIImagePtr image) {
    image_ = std::move(image);
    setNeedsDisplay();
}

void UIImageView::setHighlightedImage(UIImagePtr image) {
    highlightedImage_ = std::move(image);
    setNeedsDisplay();
}

void UIImageView::setHighlighted(bool highlighted) {
    highlighted_ = highlighted;
    setNeedsDisplay();
}

UIImagePtr UIImageView::currentImage() const {
    if (highlighted_ && highlightedImage_) return highlightedImage_;
    return image_;
}

graphics::Rect UIImageView::imageRect() const {
    auto image = currentImage();
    return placeContent(image ? image->size() : graphics::Size{0, 0}, bounds(), contentMode());
}

graphics::Size UIImageView::sizeThatFits(graphics::Size) const {
    auto image = currentImage();
    return image ? image->size() : graphics::Size{0, 0};
}

void UIImageView::drawRect(const graphics::Rect&) {
    auto image = currentImage();
    auto* context = UIGraphicsGetCurrentContext();
    if (!image || !context) return;
    graphics::Rect target = imageRect();
    context->saveGState();
    if (clipsToBounds()) {
        graphics::MutablePath clip;
        clip.addRect(bounds());
        context->clipToPath(clip);
    }
    if (image->renderingMode() == UIImageRenderingMode::AlwaysTemplate && image->bitmap()) {
        auto tint = UIImage(std::make_shared<graphics::Bitmap>(tintedBitmap(*image->bitmap(), tintColor())), image->scale())
                        .resizableImageWithCapInsets(image->capInsets(), image->resizingMode());
        tint->drawInContext(*context, target);
    } else {
        image->drawInContext(*context, target);
    }
    context->restoreGState();
}

}  // namespace uikit
