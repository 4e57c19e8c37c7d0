// The box convolution runs in two one-dimensional passes with running sums:
// a row pass keeps the unscaled horizontal sums, a column pass adds them up
// row by row and scales once, so the only rounding is the final one.
#include "graphics/ImageConvolution.h"

#include <algorithm>
#include <bit>
#include <cmath>

namespace graphics::ImageConvolution {

namespace {

// 3√(2π)/4: the box size whose three passes have the given deviation.
constexpr double kBoxFactor = 3.0 * 2.5066282746310002 / 4.0;

// Exact rounded division by n for the sums a box can reach: a multiply and
// a shift while n is small enough for the error to stay below one step.
class Divider {
public:
    explicit Divider(uint32_t n) : n_(n), half_(n / 2), magic_(n < 65536 ? ((uint64_t(1) << 40) + n - 1) / n : 0) {}
    uint8_t operator()(uint32_t sum) const {
        uint64_t rounded = uint64_t(sum) + half_;
        uint64_t value = magic_ ? (rounded * magic_) >> 40 : rounded / n_;
        return static_cast<uint8_t>(std::min<uint64_t>(value, 255));
    }

private:
    uint32_t n_;
    uint32_t half_;
    uint64_t magic_;
};

}  // namespace

int boxSizeForRadius(double radius) {
    if (!(radius > 0) || !std::isfinite(radius)) return 1;
    double size = std::floor(radius * kBoxFactor + 0.5);
    int d = size >= kMaximumBoxSize ? kMaximumBoxSize : static_cast<int>(size);
    if (d % 2 == 0) d += 1;
    return std::min(d, kMaximumBoxSize);
}

void boxConvolve(const ImageBuffer& source, const ImageBuffer& destination, int boxSize) {
    const int w = source.width;
    const int h = source.height;
    if (w <= 0 || h <= 0) return;
    boxSize = std::clamp(boxSize | 1, 1, kMaximumBoxSize);
    const int k = boxSize / 2;
    std::vector<uint32_t> rows(size_t(w) * size_t(h) * 4);

    for (int y = 0; y < h; ++y) {
        const uint8_t* in = source.data + size_t(y) * source.rowBytes;
        uint32_t* out = rows.data() + size_t(y) * size_t(w) * 4;
        uint32_t sum[4];
        for (int c = 0; c < 4; ++c) {
            sum[c] = uint32_t(k + 1) * in[c];
            for (int i = 1; i <= k; ++i) sum[c] += in[std::min(i, w - 1) * 4 + c];
        }
        for (int x = 0; x < w; ++x) {
            const uint8_t* add = in + std::min(x + k + 1, w - 1) * 4;
            const uint8_t* sub = in + std::max(x - k, 0) * 4;
            for (int c = 0; c < 4; ++c) {
                out[x * 4 + c] = sum[c];
                sum[c] += add[c];
                sum[c] -= sub[c];
            }
        }
    }

    // The column pass walks strips of columns, so the row it takes out of
    // the sums, last touched 2k + 1 rows earlier, is still in the cache
    // however large the box.
    const Divider divide(uint32_t(boxSize) * uint32_t(boxSize));
    const size_t rowLength = size_t(w) * 4;
    auto row = [&](int y) { return rows.data() + size_t(std::clamp(y, 0, h - 1)) * rowLength; };
    constexpr size_t kStrip = 128;  // values: 32 pixels
    uint32_t sums[kStrip];
    for (size_t begin = 0; begin < rowLength; begin += kStrip) {
        const size_t count = std::min(kStrip, rowLength - begin);
        const uint32_t* first = row(0) + begin;
        for (size_t i = 0; i < count; ++i) sums[i] = uint32_t(k + 1) * first[i];
        for (int j = 1; j <= k; ++j) {
            const uint32_t* r = row(j) + begin;
            for (size_t i = 0; i < count; ++i) sums[i] += r[i];
        }
        for (int y = 0; y < h; ++y) {
            uint8_t* out = destination.data + size_t(y) * destination.rowBytes + begin;
            for (size_t i = 0; i < count; ++i) out[i] = divide(sums[i]);
            const uint32_t* add = row(y + k + 1) + begin;
            const uint32_t* sub = row(y - k) + begin;
            for (size_t i = 0; i < count; ++i) sums[i] += add[i] - sub[i];
        }
    }
}

void matrixMultiply(const ImageBuffer& source, const ImageBuffer& destination, const std::array<int16_t, 16>& matrix,
                    int32_t divisor) {
    if (divisor == 0) return;
    // A positive power of two divides by a shift: it rounds negative sums
    // down rather than toward zero, and those clamp to 0 either way.
    int shift = -1;
    if (divisor > 0 && (divisor & (divisor - 1)) == 0) shift = std::countr_zero(uint32_t(divisor));
    auto apply = [&](auto divide) {
        for (int y = 0; y < source.height; ++y) {
            const uint8_t* in = source.data + size_t(y) * source.rowBytes;
            uint8_t* out = destination.data + size_t(y) * destination.rowBytes;
            for (int x = 0; x < source.width; ++x, in += 4, out += 4) {
                const int32_t s[4] = {in[0], in[1], in[2], in[3]};
                for (int j = 0; j < 4; ++j) {
                    int32_t sum =
                        s[0] * matrix[j] + s[1] * matrix[4 + j] + s[2] * matrix[8 + j] + s[3] * matrix[12 + j];
                    out[j] = static_cast<uint8_t>(std::clamp(divide(sum), 0, 255));
                }
            }
        }
    };
    if (shift >= 0) apply([shift](int32_t sum) { return sum >> shift; });
    else apply([divisor](int32_t sum) { return sum / divisor; });
}

void premultiply(std::vector<uint8_t>& rgba) {
    for (size_t i = 0; i + 3 < rgba.size(); i += 4) {
        const unsigned a = rgba[i + 3];
        if (a == 255) continue;
        for (size_t c = 0; c < 3; ++c) rgba[i + c] = static_cast<uint8_t>((rgba[i + c] * a + 127) / 255);
    }
}

void unpremultiply(std::vector<uint8_t>& rgba) {
    for (size_t i = 0; i + 3 < rgba.size(); i += 4) {
        const unsigned a = rgba[i + 3];
        if (a == 255) continue;
        for (size_t c = 0; c < 3; ++c)
            rgba[i + c] = a == 0 ? 0 : static_cast<uint8_t>(std::min(255u, (rgba[i + c] * 255 + a / 2) / a));
    }
}

}  // namespace graphics::ImageConvolution
