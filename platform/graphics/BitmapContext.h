// An off-screen bitmap to draw a decoded image into and read back as a new
// image: the platform's bitmap context, only as wide as its users need. Only
// 8-bit device RGB with an alpha kind the platform accepts for it (alpha
// premultiplied first or last, or no alpha with a skipped byte first or last)
// can be made; anything else gives no context, as the platform refuses it.
#pragma once

#include <cstdint>
#include <memory>

#include "graphics/ColorSpace.h"
#include "graphics/DecodedImage.h"

namespace graphics {

class BitmapContext {
public:
    static std::unique_ptr<BitmapContext> create(int width, int height, int bitsPerComponent,
                                                 const ColorSpace& space, uint32_t bitmapInfo);

    int width() const { return pixels_.width(); }
    int height() const { return pixels_.height(); }
    uint32_t bitmapInfo() const { return bitmapInfo_; }

    // Draws the bitmap over what is there, stretched to the whole context
    // (nearest pixel). Without alpha in the context, what would show through
    // is black and every pixel ends opaque.
    void drawBitmap(const Bitmap& bitmap);
    // A one-frame image of the contents, marked as drawn.
    DecodedImagePtr makeImage() const;

private:
    BitmapContext(int width, int height, uint32_t bitmapInfo) : pixels_(width, height), bitmapInfo_(bitmapInfo) {}
    bool hasAlpha() const;

    Bitmap pixels_;
    uint32_t bitmapInfo_;
};

}  // namespace graphics
