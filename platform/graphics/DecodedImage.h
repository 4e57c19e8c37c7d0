// What an image decoder makes of a file: the pixel size, the bits per
// component and colour model the file itself declares, the alpha kind of its
// bitmap information (the platform's values) and the pixels as straight RGBA
// bitmaps, one per frame (several for an animated GIF). The pixels are always
// 8-bit RGBA whatever the file held; the declared facts say what it held.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "graphics/Bitmap.h"
#include "graphics/ColorSpace.h"

namespace graphics {

// The alpha part of the bitmap information.
enum class ImageAlphaInfo : uint32_t {
    None = 0,
    PremultipliedLast = 1,
    PremultipliedFirst = 2,
    Last = 3,
    First = 4,
    NoneSkipLast = 5,
    NoneSkipFirst = 6,
};

// The bits of the bitmap information that hold the alpha kind; the others
// (byte order, floating point) are left as they are when the kind changes.
constexpr uint32_t kBitmapAlphaInfoMask = 0x1F;

struct DecodedImage {
    int width = 0;
    int height = 0;
    int bitsPerComponent = 8;
    uint32_t bitmapInfo = 0;
    ColorSpace::Model colorModel = ColorSpace::Model::RGB;
    std::vector<BitmapPtr> frames;
    // Seconds each frame is shown, beside `frames` (0 where the file says none).
    std::vector<double> frameDurations;
    // Made from a bitmap context's contents rather than read from a file.
    bool drawn = false;

    ImageAlphaInfo alphaInfo() const { return ImageAlphaInfo(bitmapInfo & kBitmapAlphaInfoMask); }
    bool isAnimated() const { return frames.size() > 1; }
    // The first frame, or null.
    BitmapPtr bitmap() const { return frames.empty() ? nullptr : frames.front(); }
};

using DecodedImagePtr = std::shared_ptr<const DecodedImage>;

}  // namespace graphics
