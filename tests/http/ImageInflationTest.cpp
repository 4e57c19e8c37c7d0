#include <gtest/gtest.h>

#include "graphics/DecodedImage.h"
#include "http/QNImageInflation.h"
#include "service/TestImages.h"

namespace {

foundation::Data dataOf(const std::string& bytes) { return foundation::Data(bytes.data(), bytes.size()); }

TEST(ImageInflation, AlphaKindsOfTheRedraw) {
    EXPECT_EQ(QNInflatedBitmapInfo(0), 6u);
    EXPECT_EQ(QNInflatedBitmapInfo(5), 5u);
    EXPECT_EQ(QNInflatedBitmapInfo(6), 6u);
    for (uint32_t kind : {1u, 2u, 3u, 4u, 7u}) EXPECT_EQ(QNInflatedBitmapInfo(kind), 2u) << kind;
    // Byte order and the other bits stay.
    EXPECT_EQ(QNInflatedBitmapInfo(0x2000 | 3u), 0x2002u);
    EXPECT_EQ(QNInflatedBitmapInfo(0x4000 | 0u), 0x4006u);
}

TEST(ImageInflation, DirectDecodingByExactMIMETypeLeavesCMYKToTheGeneralDecoder) {
    std::string png = testservice::makePNG(3, 3);
    EXPECT_TRUE(QNDirectlyDecodedImage("image/png", dataOf(png)));
    EXPECT_FALSE(QNDirectlyDecodedImage("image/x-png", dataOf(png)));
    EXPECT_FALSE(QNDirectlyDecodedImage("image/jpeg", dataOf(png)));
    EXPECT_TRUE(QNDirectlyDecodedImage("image/jpeg", dataOf(testservice::makeJPEG(8, 8))));
    EXPECT_FALSE(QNDirectlyDecodedImage("image/jpeg", dataOf(testservice::makeJPEG(8, 8, true))));
    EXPECT_FALSE(QNDirectlyDecodedImage("image/gif", dataOf(testservice::makeAnimatedGIF(2, 2, 2))));
}

TEST(ImageInflation, RedrawsWithinTheBoundOnly) {
    auto inflate = [](const std::string& bytes) {
        auto decoded = QNDirectlyDecodedImage("image/png", dataOf(bytes));
        return decoded ? QNInflatedDecodedImage(*decoded) : nullptr;
    };
    auto square = inflate(testservice::makePNG(1024, 1024, 8, testservice::PNGKind::RGB));
    ASSERT_TRUE(square);
    EXPECT_TRUE(square->drawn);
    EXPECT_EQ(square->alphaInfo(), graphics::ImageAlphaInfo::NoneSkipFirst);
    EXPECT_FALSE(inflate(testservice::makePNG(1025, 1024, 8, testservice::PNGKind::RGB)));
    EXPECT_FALSE(inflate(testservice::makePNG(4, 4, 16)));
    // A 2-bit grey image has no device-RGB context.
    EXPECT_FALSE(inflate(testservice::makePNG(4, 4, 2, testservice::PNGKind::Grey)));
    auto withAlpha = inflate(testservice::makePNG(4, 4));
    ASSERT_TRUE(withAlpha);
    EXPECT_EQ(withAlpha->alphaInfo(), graphics::ImageAlphaInfo::PremultipliedFirst);
}

}  // namespace
