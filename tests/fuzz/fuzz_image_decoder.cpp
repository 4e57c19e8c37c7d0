// Drives the PNG, JPEG and GIF decoders over arbitrary bytes, each decoder on
// its own as well as through the signature, and redraws what decodes into a
// bitmap context as the image serializer does.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "graphics/BitmapContext.h"
#include "graphics/ImageDecoder.h"

namespace {

void check(const graphics::DecodedImagePtr& image) {
    if (!image) return;
    if (image->frames.empty() || image->frames.size() != image->frameDurations.size()) std::abort();
    if (uint64_t(image->width) * uint64_t(image->height) > graphics::ImageDecoder::kMaximumPixels) std::abort();
    for (const auto& frame : image->frames) {
        if (!frame || frame->width() != image->width || frame->height() != image->height) std::abort();
    }
    auto context = graphics::BitmapContext::create(image->width, image->height, 8, graphics::ColorSpace::deviceRGB(),
                                                   uint32_t(graphics::ImageAlphaInfo::NoneSkipFirst));
    if (!context) std::abort();
    context->drawBitmap(*image->bitmap());
    if (context->makeImage()->bitmap()->pixel(0, 0).alpha != 255) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    foundation::Data data(bytes, size);
    check(graphics::ImageDecoder::decode(data));
    check(graphics::ImageDecoder::decodePNG(data));
    check(graphics::ImageDecoder::decodeJPEG(data));
    check(graphics::ImageDecoder::decodeGIF(data));
    return 0;
}
