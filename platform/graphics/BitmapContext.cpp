// The pixels are kept straight (not premultiplied) like every Bitmap; what the
// alpha kind changes is whether alpha survives the drawing.
#include "graphics/BitmapContext.h"

#include "graphics/ImageDecoder.h"

namespace graphics {

std::unique_ptr<BitmapContext> BitmapContext::create(int width, int height, int bitsPerComponent,
                                                     const ColorSpace& space, uint32_t bitmapInfo) {
    if (width <= 0 || height <= 0 || width > Bitmap::kMaximumSide || height > Bitmap::kMaximumSide) return nullptr;
    if (uint64_t(width) * uint64_t(height) > ImageDecoder::kMaximumPixels) return nullptr;
    if (bitsPerComponent != 8 || space.model() != ColorSpace::Model::RGB) return nullptr;
    switch (ImageAlphaInfo(bitmapInfo & kBitmapAlphaInfoMask)) {
        case ImageAlphaInfo::PremultipliedLast:
        case ImageAlphaInfo::PremultipliedFirst:
        case ImageAlphaInfo::NoneSkipLast:
        case ImageAlphaInfo::NoneSkipFirst:
            break;
        default:
            return nullptr;
    }
    return std::unique_ptr<BitmapContext>(new BitmapContext(width, height, bitmapInfo));
}

bool BitmapContext::hasAlpha() const {
    auto kind = ImageAlphaInfo(bitmapInfo_ & kBitmapAlphaInfoMask);
    return kind == ImageAlphaInfo::PremultipliedLast || kind == ImageAlphaInfo::PremultipliedFirst;
}

void BitmapContext::drawBitmap(const Bitmap& bitmap) {
    if (bitmap.width() == 0 || bitmap.height() == 0) return;
    const bool alpha = hasAlpha();
    for (int y = 0; y < height(); ++y) {
        int sy = int(int64_t(y) * bitmap.height() / height());
        for (int x = 0; x < width(); ++x) {
            int sx = int(int64_t(x) * bitmap.width() / width());
            Pixel src = bitmap.pixel(sx, sy);
            Pixel dst = pixels_.pixel(x, y);
            // Source over destination, in straight components.
            unsigned sa = src.alpha;
            unsigned da = alpha ? dst.alpha : 255;
            unsigned outA = sa + da * (255 - sa) / 255;
            auto mix = [&](uint8_t s, uint8_t d) -> uint8_t {
                if (outA == 0) return 0;
                unsigned premultiplied = s * sa + d * da * (255 - sa) / 255;
                return uint8_t((premultiplied + outA / 2) / outA);
            };
            Pixel out{mix(src.red, dst.red), mix(src.green, dst.green), mix(src.blue, dst.blue), uint8_t(outA)};
            if (!alpha) out.alpha = 255;
            pixels_.setPixel(x, y, out);
        }
    }
}

DecodedImagePtr BitmapContext::makeImage() const {
    auto image = std::make_shared<DecodedImage>();
    image->width = width();
    image->height = height();
    image->bitsPerComponent = 8;
    image->bitmapInfo = bitmapInfo_;
    image->colorModel = ColorSpace::Model::RGB;
    Bitmap copy = pixels_;
    if (!hasAlpha()) {
        // Nothing shows through a context without alpha.
        auto& bytes = copy.bytes();
        for (size_t i = 3; i < bytes.size(); i += 4) bytes[i] = 255;
    }
    image->frames.push_back(std::make_shared<const Bitmap>(std::move(copy)));
    image->frameDurations.push_back(0);
    image->drawn = true;
    return image;
}

}  // namespace graphics
