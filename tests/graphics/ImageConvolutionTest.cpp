// The box convolution and colour matrix of the CPU image filters, and the
// shadow that both drawing backends take from them.
#include <gtest/gtest.h>

#include <random>

#include "graphics/CairoContext.h"
#include "graphics/ImageConvolution.h"
#include "graphics/MutablePath.h"
#include "graphics/RecordingContext.h"

using namespace graphics;
namespace IC = graphics::ImageConvolution;

namespace {

ImageBuffer view(std::vector<uint8_t>& bytes, int width, int height) {
    return ImageBuffer{bytes.data(), width, height, size_t(width) * 4};
}

// The box mean written out the long way, for comparison.
uint8_t naiveBox(const std::vector<uint8_t>& in, int w, int h, int x, int y, int c, int box) {
    int k = box / 2;
    uint64_t sum = 0;
    for (int j = -k; j <= k; ++j)
        for (int i = -k; i <= k; ++i)
            sum += in[(size_t(std::clamp(y + j, 0, h - 1)) * w + std::clamp(x + i, 0, w - 1)) * 4 + c];
    uint64_t n = uint64_t(box) * box;
    return uint8_t((sum + n / 2) / n);
}

}  // namespace

TEST(ImageConvolution, BoxSizesAreOddAndFollowTheDeviation) {
    EXPECT_EQ(IC::boxSizeForRadius(2), 5);  // 4.26 → 4, made odd
    EXPECT_EQ(IC::boxSizeForRadius(3), 7);  // 6.14 → 6, made odd
    EXPECT_EQ(IC::boxSizeForRadius(20), 39);
    EXPECT_EQ(IC::boxSizeForRadius(0), 1);
    EXPECT_EQ(IC::boxSizeForRadius(-3), 1);
    EXPECT_EQ(IC::boxSizeForRadius(1e12), IC::kMaximumBoxSize);
}

TEST(ImageConvolution, BoxMeansWithEdgeExtensionMatchTheLongWay) {
    const int w = 45, h = 7;  // two strips of the column pass
    std::vector<uint8_t> in(size_t(w) * h * 4), out(in.size());
    std::mt19937 random(7);
    for (auto& b : in) b = uint8_t(random());
    for (int box : {1, 3, 5, 9, 31}) {
        IC::boxConvolve(view(in, w, h), view(out, w, h), box);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                for (int c = 0; c < 4; ++c)
                    ASSERT_EQ(out[(size_t(y) * w + x) * 4 + c], naiveBox(in, w, h, x, y, c, box))
                        << "box " << box << " at " << x << "," << y;
    }
    // A flat image stays flat, whatever the box.
    std::fill(in.begin(), in.end(), 200);
    IC::boxConvolve(view(in, w, h), view(out, w, h), 401);
    EXPECT_EQ(out, in);
}

TEST(ImageConvolution, MatrixMultiplyClampsAndPremultiplyRoundTripsOpaquePixels) {
    std::vector<uint8_t> px = {100, 50, 200, 255};
    // Channel 0 out = 2 × channel 0 − channel 1; the rest copied.
    std::array<int16_t, 16> m = {512, 0, 0, 0, -256, 256, 0, 0, 0, 0, 256, 0, 0, 0, 0, 256};
    IC::matrixMultiply(view(px, 1, 1), view(px, 1, 1), m, 256);
    EXPECT_EQ(px, (std::vector<uint8_t>{150, 50, 200, 255}));
    px = {200, 0, 0, 255};
    IC::matrixMultiply(view(px, 1, 1), view(px, 1, 1), m, 256);
    EXPECT_EQ(px[0], 255);
    px = {10, 100, 0, 255};
    IC::matrixMultiply(view(px, 1, 1), view(px, 1, 1), m, 256);
    EXPECT_EQ(px[0], 0);
    // Any other divisor divides toward zero: 2 × 100 − 50 = 150, / 3.
    std::array<int16_t, 16> thirds = {2, 0, 0, 0, -1, 3, 0, 0, 0, 0, 3, 0, 0, 0, 0, 3};
    px = {100, 50, 200, 255};
    IC::matrixMultiply(view(px, 1, 1), view(px, 1, 1), thirds, 3);
    EXPECT_EQ(px, (std::vector<uint8_t>{50, 50, 200, 255}));

    std::vector<uint8_t> rgba = {200, 100, 50, 255, 200, 100, 50, 128, 9, 9, 9, 0};
    IC::premultiply(rgba);
    EXPECT_EQ(rgba, (std::vector<uint8_t>{200, 100, 50, 255, 100, 50, 25, 128, 0, 0, 0, 0}));
    IC::unpremultiply(rgba);
    EXPECT_EQ(rgba, (std::vector<uint8_t>{200, 100, 50, 255, 199, 100, 50, 128, 0, 0, 0, 0}));
}

TEST(Shadow, KeptInTheSavedStateAndRecordedWithEachFill) {
    RecordingContext context;
    MutablePath square;
    square.addRect(Rect(0, 0, 4, 4));
    context.saveGState();
    context.setShadow({1, 1}, 3, Color::black());
    context.fillPath(square, Color::rgb(1, 0, 0));
    context.restoreGState();
    context.fillPath(square, Color::rgb(1, 0, 0));
    context.setShadow({1, 1}, 3, Color::clear());
    auto fills = context.operationsOfKind(RecordedOperation::Kind::FillPath);
    ASSERT_EQ(fills.size(), 2u);
    ASSERT_TRUE(fills[0].shadow);
    EXPECT_EQ(*fills[0].shadow, (Shadow{{1, 1}, 3, Color::black()}));
    EXPECT_FALSE(fills[1].shadow);
    auto shadows = context.operationsOfKind(RecordedOperation::Kind::SetShadow);
    ASSERT_EQ(shadows.size(), 2u);
    EXPECT_FALSE(shadows[1].shadow);  // a clear colour turns it off
}

TEST(Shadow, CairoPaintsABlurredCopyAtTheOffsetUnderTheShape) {
    CairoContext context(40, 40);
    context.scaleCTM(2, 2);
    MutablePath square;
    square.addRect(Rect(5, 5, 8, 8));
    context.setShadow({3, 3}, 2, Color::black());
    context.fillPath(square, Color::rgb(1, 1, 1));
    Bitmap image = context.bitmap();
    EXPECT_EQ(image.pixel(18, 18), (Pixel{255, 255, 255, 255}));  // the shape over its shadow
    Pixel below = image.pixel(28, 28);                            // the shadow, offset by 6 pixels
    EXPECT_EQ(below.red, 0);
    EXPECT_GT(below.alpha, 200);
    Pixel edge = image.pixel(35, 20);  // the blurred rim fades out
    EXPECT_GT(edge.alpha, 0);
    EXPECT_LT(edge.alpha, below.alpha);
    EXPECT_EQ(image.pixel(2, 38).alpha, 0);  // far from it nothing
    // Restoring a saved state takes the shadow back off.
    CairoContext plain(40, 40);
    plain.saveGState();
    plain.setShadow({3, 3}, 2, Color::black());
    plain.restoreGState();
    plain.fillPath(square, Color::rgb(1, 1, 1));
    EXPECT_EQ(plain.bitmap().pixel(15, 15).alpha, 0);
}
