#include <gtest/gtest.h>

#include <cstdlib>

#include "graphics/BitmapContext.h"
#include "graphics/ImageDecoder.h"
#include "service/TestImages.h"

namespace {

using graphics::ColorSpace;
using graphics::ImageAlphaInfo;
using graphics::ImageDecoder;

foundation::Data dataOf(const std::string& bytes) { return foundation::Data(bytes.data(), bytes.size()); }

bool near(int a, int b, int tolerance) { return std::abs(a - b) <= tolerance; }

TEST(ImageDecoderTest, PNGReportsWhatTheFileDeclares) {
    auto rgba = ImageDecoder::decode(dataOf(testservice::makePNG(7, 5)));
    ASSERT_TRUE(rgba);
    EXPECT_EQ(rgba->width, 7);
    EXPECT_EQ(rgba->height, 5);
    EXPECT_EQ(rgba->bitsPerComponent, 8);
    EXPECT_EQ(rgba->alphaInfo(), ImageAlphaInfo::Last);
    EXPECT_EQ(rgba->colorModel, ColorSpace::Model::RGB);
    ASSERT_EQ(rgba->frames.size(), 1u);
    EXPECT_FALSE(rgba->isAnimated());
    EXPECT_EQ(rgba->bitmap()->pixel(6, 4), (graphics::Pixel{255, 255, 160, 255}));
    EXPECT_EQ(rgba->bitmap()->pixel(0, 0), (graphics::Pixel{0, 0, 160, 255}));

    auto deep = ImageDecoder::decodePNG(dataOf(testservice::makePNG(4, 4, 16, testservice::PNGKind::RGB)));
    ASSERT_TRUE(deep);
    EXPECT_EQ(deep->bitsPerComponent, 16);
    EXPECT_EQ(deep->alphaInfo(), ImageAlphaInfo::None);
    EXPECT_EQ(deep->bitmap()->pixel(3, 3).alpha, 255);

    auto grey = ImageDecoder::decode(dataOf(testservice::makePNG(9, 2, 1, testservice::PNGKind::Grey)));
    ASSERT_TRUE(grey);
    EXPECT_EQ(grey->bitsPerComponent, 1);
    EXPECT_EQ(grey->colorModel, ColorSpace::Model::Monochrome);
    // 0x55: the first pixel of the first row is black, the second white.
    EXPECT_EQ(grey->bitmap()->pixel(0, 0), (graphics::Pixel{0, 0, 0, 255}));
    EXPECT_EQ(grey->bitmap()->pixel(1, 0), (graphics::Pixel{255, 255, 255, 255}));
}

TEST(ImageDecoderTest, JPEGDetectsCMYKAndDecodesItToRGB) {
    auto rgb = ImageDecoder::decode(dataOf(testservice::makeJPEG(32, 16)));
    ASSERT_TRUE(rgb);
    EXPECT_EQ(rgb->colorModel, ColorSpace::Model::RGB);
    EXPECT_EQ(rgb->alphaInfo(), ImageAlphaInfo::None);
    EXPECT_EQ(rgb->bitsPerComponent, 8);

    auto cmyk = ImageDecoder::decodeJPEG(dataOf(testservice::makeJPEG(32, 16, true)));
    ASSERT_TRUE(cmyk);
    EXPECT_EQ(cmyk->colorModel, ColorSpace::Model::CMYK);
    EXPECT_EQ(cmyk->width, 32);
    // The gradient survives the ink conversion (within JPEG's losses).
    graphics::Pixel corner = cmyk->bitmap()->pixel(31, 15);
    EXPECT_TRUE(near(corner.red, 255, 12) && near(corner.green, 255, 12) && near(corner.blue, 160, 12))
        << int(corner.red) << "," << int(corner.green) << "," << int(corner.blue);
    graphics::Pixel origin = cmyk->bitmap()->pixel(0, 0);
    EXPECT_TRUE(near(origin.red, 0, 12) && near(origin.blue, 160, 12));
}

TEST(ImageDecoderTest, AnimatedGIFKeepsEveryFrameAndItsDelay) {
    auto gif = ImageDecoder::decode(dataOf(testservice::makeAnimatedGIF(6, 4, 3)));
    ASSERT_TRUE(gif);
    ASSERT_EQ(gif->frames.size(), 3u);
    EXPECT_TRUE(gif->isAnimated());
    EXPECT_DOUBLE_EQ(gif->frameDurations[2], 0.1);
    EXPECT_EQ(gif->frames[0]->pixel(5, 3), (graphics::Pixel{220, 40, 40, 255}));
    EXPECT_EQ(gif->frames[1]->pixel(0, 0), (graphics::Pixel{40, 180, 60, 255}));
    EXPECT_EQ(gif->frames[2]->pixel(2, 2), (graphics::Pixel{40, 80, 220, 255}));
}

TEST(ImageDecoderTest, RefusesWhatIsNotAnImageItCanRead) {
    EXPECT_FALSE(ImageDecoder::decode(foundation::Data()));
    EXPECT_FALSE(ImageDecoder::decode(dataOf("BM\x36\x00\x00\x00 not read here")));
    EXPECT_FALSE(ImageDecoder::decodeJPEG(dataOf(testservice::makePNG(2, 2))));
    // Cut short in the middle of its data.
    std::string jpeg = testservice::makeJPEG(64, 64);
    std::string png = testservice::makePNG(64, 64);
    std::string gif = testservice::makeAnimatedGIF(8, 8, 2);
    EXPECT_FALSE(ImageDecoder::decode(dataOf(png.substr(0, png.size() / 2))));
    EXPECT_FALSE(ImageDecoder::decode(dataOf(jpeg.substr(0, 20))));
    EXPECT_FALSE(ImageDecoder::decode(dataOf(gif.substr(0, 13))));
    // A header that claims more pixels than allowed takes no memory for them.
    std::string huge = testservice::makePNG(1, 1);
    huge[16] = 0, huge[17] = 0, huge[18] = 0x7f, huge[19] = 0xff;  // width 32767
    huge[20] = 0, huge[21] = 0, huge[22] = 0x7f, huge[23] = 0xff;  // height 32767
    EXPECT_FALSE(ImageDecoder::decode(dataOf(huge)));
}

TEST(BitmapContextTest, AcceptsOnlyEightBitRGBWithAnAlphaKindTheBitmapCanHold) {
    auto rgb = ColorSpace::deviceRGB();
    EXPECT_TRUE(graphics::BitmapContext::create(4, 4, 8, rgb, uint32_t(ImageAlphaInfo::PremultipliedFirst)));
    EXPECT_TRUE(graphics::BitmapContext::create(4, 4, 8, rgb, uint32_t(ImageAlphaInfo::NoneSkipLast)));
    EXPECT_FALSE(graphics::BitmapContext::create(4, 4, 8, rgb, uint32_t(ImageAlphaInfo::None)));
    EXPECT_FALSE(graphics::BitmapContext::create(4, 4, 8, rgb, uint32_t(ImageAlphaInfo::Last)));
    EXPECT_FALSE(graphics::BitmapContext::create(4, 4, 16, rgb, uint32_t(ImageAlphaInfo::PremultipliedFirst)));
    EXPECT_FALSE(graphics::BitmapContext::create(4, 4, 1, rgb, uint32_t(ImageAlphaInfo::NoneSkipFirst)));
    EXPECT_FALSE(graphics::BitmapContext::create(4, 4, 8, ColorSpace::deviceCMYK(), 2));
    EXPECT_FALSE(graphics::BitmapContext::create(0, 4, 8, rgb, 2));
    // Bits beside the alpha kind do not change the answer.
    EXPECT_TRUE(graphics::BitmapContext::create(4, 4, 8, rgb, 0x2000 | uint32_t(ImageAlphaInfo::PremultipliedFirst)));
}

TEST(BitmapContextTest, DrawingKeepsAlphaOnlyWhereTheContextHasIt) {
    graphics::Bitmap half(2, 1);
    half.setPixel(0, 0, {200, 100, 50, 255});
    half.setPixel(1, 0, {200, 100, 50, 128});

    auto withAlpha = graphics::BitmapContext::create(2, 1, 8, ColorSpace::deviceRGB(), 0x2000 | 2u);
    withAlpha->drawBitmap(half);
    auto kept = withAlpha->makeImage();
    EXPECT_TRUE(kept->drawn);
    EXPECT_EQ(kept->bitmapInfo, 0x2002u);
    EXPECT_EQ(kept->bitmap()->pixel(1, 0), (graphics::Pixel{200, 100, 50, 128}));

    auto opaque = graphics::BitmapContext::create(2, 1, 8, ColorSpace::deviceRGB(), 6);
    opaque->drawBitmap(half);
    auto flat = opaque->makeImage();
    EXPECT_EQ(flat->bitmap()->pixel(0, 0), (graphics::Pixel{200, 100, 50, 255}));
    // Half covered over black.
    graphics::Pixel p = flat->bitmap()->pixel(1, 0);
    EXPECT_EQ(p.alpha, 255);
    EXPECT_TRUE(near(p.red, 100, 1) && near(p.green, 50, 1) && near(p.blue, 25, 1));
}

}  // namespace
