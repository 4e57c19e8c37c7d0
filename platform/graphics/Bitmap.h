// A raster image: width × height pixels of four 8-bit components, red, green,
// blue, alpha, not premultiplied, rows from the top. This is what the cairo
// backend renders into, what a layer shows as its contents and what is written
// out as PNG. Sizes are clamped to 0...32767 on each side.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "foundation/Data.h"
#include "foundation/Error.h"

namespace graphics {

struct Pixel {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    uint8_t alpha = 0;
    bool operator==(const Pixel&) const = default;
};

class Bitmap {
public:
    static constexpr int kMaximumSide = 32767;

    // Fully transparent.
    Bitmap(int width, int height);

    int width() const { return width_; }
    int height() const { return height_; }
    // Transparent black outside the bitmap.
    Pixel pixel(int x, int y) const;
    // Ignored outside the bitmap.
    void setPixel(int x, int y, Pixel p);
    // Row-major, four bytes a pixel.
    const std::vector<uint8_t>& bytes() const { return bytes_; }
    std::vector<uint8_t>& bytes() { return bytes_; }

    // Empty for a bitmap without pixels, which PNG cannot hold.
    foundation::Data pngData() const;
    // Writes the PNG form; an error in the POSIX domain when the file cannot
    // be written or there is nothing to write.
    foundation::ErrorPtr writePNG(const std::string& path) const;
    // Null when the data is not a PNG image.
    static std::shared_ptr<Bitmap> fromPNGData(const foundation::Data& data);

    bool operator==(const Bitmap&) const = default;

private:
    int width_;
    int height_;
    std::vector<uint8_t> bytes_;
};

using BitmapPtr = std::shared_ptr<const Bitmap>;

}  // namespace graphics
