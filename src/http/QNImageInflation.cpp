#include "http/QNImageInflation.h"

#include "graphics/BitmapContext.h"
#include "graphics/ImageDecoder.h"

using graphics::ImageAlphaInfo;

graphics::DecodedImagePtr QNDirectlyDecodedImage(const std::string& mimeType, const foundation::Data& data) {
    if (mimeType == "image/png") return graphics::ImageDecoder::decodePNG(data);
    if (mimeType == "image/jpeg") {
        auto image = graphics::ImageDecoder::decodeJPEG(data);
        if (image && image->colorModel == graphics::ColorSpace::Model::CMYK) return nullptr;
        return image;
    }
    return nullptr;
}

uint32_t QNInflatedBitmapInfo(uint32_t bitmapInfo) {
    auto kind = ImageAlphaInfo(bitmapInfo & graphics::kBitmapAlphaInfoMask);
    ImageAlphaInfo inflated = ImageAlphaInfo::PremultipliedFirst;
    if (kind == ImageAlphaInfo::None) inflated = ImageAlphaInfo::NoneSkipFirst;
    else if (kind == ImageAlphaInfo::NoneSkipLast || kind == ImageAlphaInfo::NoneSkipFirst) inflated = kind;
    return (bitmapInfo & ~graphics::kBitmapAlphaInfoMask) | uint32_t(inflated);
}

graphics::DecodedImagePtr QNInflatedDecodedImage(const graphics::DecodedImage& image) {
    auto bitmap = image.bitmap();
    if (!bitmap) return nullptr;
    if (uint64_t(image.width) * uint64_t(image.height) > kQNMaximumInflatedPixels || image.bitsPerComponent > 8) {
        return nullptr;
    }
    auto context = graphics::BitmapContext::create(image.width, image.height, image.bitsPerComponent,
                                                   graphics::ColorSpace::deviceRGB(),
                                                   QNInflatedBitmapInfo(image.bitmapInfo));
    if (!context) return nullptr;
    context->drawBitmap(*bitmap);
    return context->makeImage();
}
