// The CPU image filters: a box convolution (three passes of it approximate a
// Gaussian blur, with a cost that does not grow with the radius) and a colour
// matrix, over 8-bit pixels of four channels. Each channel is filtered alone,
// so the channel order is the caller's; blurring expects pixels premultiplied
// by alpha, or transparent pixels would bleed their colour.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace graphics {

// Pixels somebody else owns: width × height pixels of four bytes, rows
// rowBytes apart (at least width × 4).
struct ImageBuffer {
    uint8_t* data = nullptr;
    int width = 0;
    int height = 0;
    size_t rowBytes = 0;
};

namespace ImageConvolution {

// The largest box; larger ones are cut to it, so sums stay within 32 bits.
inline constexpr int kMaximumBoxSize = 4095;

// The odd box size whose three passes approximate a Gaussian of this
// standard deviation in pixels: floor(radius × 3√(2π)/4 + 0.5), plus one
// when even. At least 1.
int boxSizeForRadius(double radius);

// One boxSize × boxSize box convolution (boxSize odd) of source into
// destination, two buffers of the same size; pixels beyond the edges repeat
// the edge. Each result is the mean of the box, rounded to nearest.
void boxConvolve(const ImageBuffer& source, const ImageBuffer& destination, int boxSize);

// destination channel j = Σ source channel i × matrix[i × 4 + j], divided by
// the divisor (toward zero) and clamped to 0...255. Source and destination
// may be the same buffer.
void matrixMultiply(const ImageBuffer& source, const ImageBuffer& destination, const std::array<int16_t, 16>& matrix,
                    int32_t divisor);

// Red, green, blue multiplied by alpha and back (alpha the fourth byte),
// rounded to nearest; a transparent pixel unpremultiplies to transparent black.
void premultiply(std::vector<uint8_t>& rgba);
void unpremultiply(std::vector<uint8_t>& rgba);

}  // namespace ImageConvolution

}  // namespace graphics
