#include "uikit/UIImage.h"

#include <algorithm>
#include <cmath>

#include "foundation/Bundle.h"
#include "foundation/FileManager.h"
#include "foundation/Format.h"
#include "graphics/DrawingContext.h"
#include "graphics/ImageDecoder.h"
#include "graphics/MutablePath.h"
#include "uikit/UIScreen.h"
#include "uikit/UIView.h"

namespace uikit {

namespace {

double mainScreenScale() { return UIScreen::mainScreen().scale(); }

bool endsWith(const std::string& s, const std::string& suffix) {
    return s.size() >= suffix.size() && s.compare(s.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// The scale a file name announces ("name@2x.png", "name@3x"), else 1.
double scaleOfName(const std::string& path) {
    std::string stem = path;
    if (auto slash = stem.rfind('/'); slash != std::string::npos) stem = stem.substr(slash + 1);
    if (auto dot = stem.rfind('.'); dot != std::string::npos) stem = stem.substr(0, dot);
    for (int scale : {2, 3}) {
        if (endsWith(stem, "@" + std::to_string(scale) + "x")) return scale;
    }
    return 1;
}

// A copy of part of a bitmap, in pixels, clamped to it.
graphics::Bitmap crop(const graphics::Bitmap& bitmap, int x, int y, int width, int height) {
    graphics::Bitmap piece(std::max(width, 0), std::max(height, 0));
    for (int row = 0; row < piece.height(); ++row) {
        for (int column = 0; column < piece.width(); ++column)
            piece.setPixel(column, row, bitmap.pixel(x + column, y + row));
    }
    return piece;
}

}  // namespace

UIImage::UIImage(graphics::BitmapPtr bitmap, double scale)
    : bitmap_(std::move(bitmap)), scale_(scale > 0 && std::isfinite(scale) ? scale : 1) {}

UIImagePtr UIImage::imageNamed(const std::string& name) {
    if (name.empty()) return nullptr;
    std::string base = name;
    std::string extension = ".png";
    if (auto dot = name.rfind('.'); dot != std::string::npos && dot > 0 && name.find('/', dot) == std::string::npos) {
        extension = name.substr(dot);
        base = name.substr(0, dot);
    }
    std::string directory = foundation::Bundle::mainBundle().resourcePath() + "/";
    std::vector<std::string> candidates;
    if (scaleOfName(base + extension) != 1) {
        candidates.push_back(base + extension);
    } else {
        int screen = static_cast<int>(std::lround(mainScreenScale()));
        if (screen > 1) candidates.push_back(base + "@" + std::to_string(screen) + "x" + extension);
        candidates.push_back(base + extension);
        for (int scale : {3, 2}) {
            if (scale != screen) candidates.push_back(base + "@" + std::to_string(scale) + "x" + extension);
        }
    }
    auto& files = foundation::FileManager::defaultManager();
    for (const auto& candidate : candidates) {
        if (!files.fileExistsAtPath(directory + candidate)) continue;
        auto image = imageWithContentsOfFile(directory + candidate);
        if (!image) continue;
        image->name_ = name;
        return image;
    }
    return nullptr;
}

UIImagePtr UIImage::imageWithContentsOfFile(const std::string& path) {
    auto data = foundation::FileManager::defaultManager().contentsAtPath(path);
    if (!data) return nullptr;
    return imageWithData(*data, scaleOfName(path));
}

UIImagePtr UIImage::imageWithData(const foundation::Data& data, double scale) {
    graphics::DecodedImagePtr decoded = graphics::ImageDecoder::decode(data);
    if (!decoded) return nullptr;
    if (!decoded->isAnimated()) return imageWithDecodedImage(std::move(decoded), scale);
    std::vector<UIImagePtr> frames;
    double duration = 0;
    for (size_t i = 0; i < decoded->frames.size(); ++i) {
        frames.push_back(std::make_shared<UIImage>(decoded->frames[i], scale));
        duration += decoded->frameDurations[i];
    }
    UIImagePtr image = animatedImageWithImages(std::move(frames), duration);
    if (image) image->decoded_ = std::move(decoded);
    return image;
}

UIImagePtr UIImage::imageWithDecodedImage(graphics::DecodedImagePtr decoded, double scale) {
    if (!decoded || !decoded->bitmap()) return nullptr;
    auto image = std::make_shared<UIImage>(decoded->bitmap(), scale);
    image->decoded_ = std::move(decoded);
    return image;
}

UIImagePtr UIImage::imageWithBitmap(graphics::BitmapPtr bitmap, double scale) {
    if (!bitmap) return nullptr;
    return std::make_shared<UIImage>(std::move(bitmap), scale);
}

UIImagePtr UIImage::animatedImageWithImages(std::vector<UIImagePtr> images, double duration) {
    std::erase(images, nullptr);
    if (images.empty()) return nullptr;
    auto image = std::make_shared<UIImage>();
    image->scale_ = images.front()->scale();
    image->images_ = std::move(images);
    image->duration_ = duration;
    return image;
}

graphics::Size UIImage::size() const {
    if (!images_.empty()) return images_.front()->size();
    if (!bitmap_) return {0, 0};
    return {bitmap_->width() / scale_, bitmap_->height() / scale_};
}

bool UIImage::isEmpty() const { return !bitmap_ && images_.empty(); }

UIImagePtr UIImage::imageWithRenderingMode(UIImageRenderingMode mode) const {
    auto image = std::make_shared<UIImage>(*this);
    image->renderingMode_ = mode;
    return image;
}

UIImagePtr UIImage::resizableImageWithCapInsets(const UIEdgeInsets& insets, UIImageResizingMode mode) const {
    auto image = std::make_shared<UIImage>(*this);
    image->capInsets_ = insets;
    image->resizingMode_ = mode;
    return image;
}

void UIImage::drawPiece(graphics::DrawingContext& context, const graphics::Bitmap& piece,
                        const graphics::Rect& target) const {
    graphics::Size natural{piece.width() / scale_, piece.height() / scale_};
    double across = std::ceil(target.size.width / natural.width - 1e-9);
    double down = std::ceil(target.size.height / natural.height - 1e-9);
    // Stretched: in stretch mode, at its own size, or when tiles would be too many to draw.
    if (resizingMode_ == UIImageResizingMode::Stretch || natural == target.size || across * down > 4096) {
        context.drawImage(piece, target);
        return;
    }
    context.saveGState();
    graphics::MutablePath clip;
    clip.addRect(target);
    context.clipToPath(clip);
    for (double row = 0; row < down; ++row) {
        for (double column = 0; column < across; ++column) {
            context.drawImage(piece, {{target.origin.x + column * natural.width, target.origin.y + row * natural.height},
                                      natural});
        }
    }
    context.restoreGState();
}

void UIImage::drawInRect(const graphics::Rect& rect) const {
    if (auto* context = UIGraphicsGetCurrentContext()) drawInContext(*context, rect);
}

void UIImage::drawInContext(graphics::DrawingContext& context, const graphics::Rect& rect) const {
    const graphics::Bitmap* bitmap = bitmap_.get();
    if (!bitmap && !images_.empty()) bitmap = images_.front()->bitmap().get();
    if (!bitmap) return;
    if (capInsets_ == UIEdgeInsetsZero) {
        context.drawImage(*bitmap, rect);
        return;
    }
    // Nine pieces: the corners keep their size, the edges and the middle
    // stretch to what is left.
    const double xs[] = {0, capInsets_.left, size().width - capInsets_.right, size().width};
    const double ys[] = {0, capInsets_.top, size().height - capInsets_.bottom, size().height};
    const double dxs[] = {rect.origin.x, rect.origin.x + capInsets_.left,
                          rect.origin.x + rect.size.width - capInsets_.right, rect.origin.x + rect.size.width};
    const double dys[] = {rect.origin.y, rect.origin.y + capInsets_.top,
                          rect.origin.y + rect.size.height - capInsets_.bottom, rect.origin.y + rect.size.height};
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            int x = static_cast<int>(std::lround(xs[column] * scale_));
            int y = static_cast<int>(std::lround(ys[row] * scale_));
            int width = static_cast<int>(std::lround(xs[column + 1] * scale_)) - x;
            int height = static_cast<int>(std::lround(ys[row + 1] * scale_)) - y;
            graphics::Rect target{{dxs[column], dys[row]}, {dxs[column + 1] - dxs[column], dys[row + 1] - dys[row]}};
            if (width <= 0 || height <= 0 || target.size.width <= 0 || target.size.height <= 0) continue;
            drawPiece(context, crop(*bitmap, x, y, width, height), target);
        }
    }
}

foundation::Data UIImage::PNGRepresentation() const { return bitmap_ ? bitmap_->pngData() : foundation::Data(); }

std::string UIImage::description() const {
    auto s = size();
    return foundation::Format("<UIImage %@ %gx%g @%gx>", name_.value_or(std::string("(unnamed)")), s.width, s.height,
                              scale_);
}

}  // namespace uikit
