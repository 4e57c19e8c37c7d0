#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "Utils/UIImageImageEffects.h"
#include "foundation/Log.h"
#include "uikit/DeviceProfile.h"
#include "uikit/UIColor.h"

using graphics::Bitmap;
using graphics::Pixel;
using namespace UIImageImageEffects;

namespace {

class ImageEffects : public ::testing::Test {
protected:
    void SetUp() override { uikit::DeviceProfile::apply(uikit::DeviceProfile::iPhone6()); }
    void TearDown() override { uikit::DeviceProfile::apply(uikit::DeviceProfile::defaultProfile()); }

    // An image of width × height pixels at the screen's scale (2).
    static uikit::UIImagePtr image(int width, int height, const std::function<Pixel(int, int)>& pixel) {
        auto bitmap = std::make_shared<Bitmap>(width, height);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) bitmap->setPixel(x, y, pixel(x, y));
        return uikit::UIImage::imageWithBitmap(bitmap, 2);
    }

    // Black on the left half, white on the right.
    static uikit::UIImagePtr halves() {
        return image(40, 20, [](int x, int) { return x < 20 ? Pixel{0, 0, 0, 255} : Pixel{255, 255, 255, 255}; });
    }
};

}  // namespace

TEST_F(ImageEffects, BoxSizeAndSaturationMatrix) {
    EXPECT_EQ(boxSizeForBlurRadius(1, 2), 5);
    EXPECT_EQ(boxSizeForBlurRadius(1, 3), 7);
    EXPECT_EQ(boxSizeForBlurRadius(1, 1), 3);
    EXPECT_EQ(saturationMatrix(1), (std::array<int16_t, 16>{256, 0, 0, 0, 0, 256, 0, 0, 0, 0, 256, 0, 0, 0, 0, 256}));
    // Rows of blue, green and red: at 0 each output is the luminance.
    auto grey = saturationMatrix(0);
    EXPECT_EQ(grey[0], 18);
    EXPECT_EQ(grey[5], 183);
    EXPECT_EQ(grey[10], 54);
    auto strong = saturationMatrix(1.8);
    EXPECT_EQ(strong[1], -15);  // -14.79, rounded away from zero
    // 0.7873, not 0.7874: 4085.40 rather than 4085.91.
    EXPECT_EQ(saturationMatrix(20)[10], 4085);
}

TEST_F(ImageEffects, PreconditionsLogAndGiveNothing) {
    foundation::ScopedLogCapture log;
    auto narrow = uikit::UIImage::imageWithBitmap(std::make_shared<Bitmap>(1, 20), 2);
    EXPECT_EQ(applyBlurWithRadius(*narrow, 1, std::nullopt, 1, nullptr), nullptr);
    EXPECT_TRUE(log.contains("*** error: invalid size: (0.50 x 10.00). Both dimensions must be >= 1: <UIImage"));
    auto frames = uikit::UIImage::animatedImageWithImages({halves(), halves()}, 1);
    EXPECT_EQ(applyBlurWithRadius(*frames, 1, std::nullopt, 1, nullptr), nullptr);
    EXPECT_TRUE(log.contains("*** error: image must be backed by a CGImage: <UIImage"));
    EXPECT_EQ(applyBlurWithRadius(*halves(), 1, std::nullopt, 1, frames), nullptr);
    EXPECT_TRUE(log.contains("*** error: maskImage must be backed by a CGImage: <UIImage"));
}

TEST_F(ImageEffects, BlurGreysTheBorderOnlyAndNoEffectLeavesTheImage) {
    auto source = halves();
    auto same = applyBlurWithRadius(*source, 0, std::nullopt, 1, nullptr);
    ASSERT_TRUE(same);
    EXPECT_EQ(*same->bitmap(), *source->bitmap());
    EXPECT_EQ(same->scale(), 2);

    auto blurred = applyBlurWithRadius(*source, 1, std::nullopt, 1, nullptr);
    ASSERT_TRUE(blurred);
    const Bitmap& b = *blurred->bitmap();
    ASSERT_EQ(b.width(), 40);
    Pixel left = b.pixel(19, 10), right = b.pixel(20, 10);
    EXPECT_GT(left.red, 40);
    EXPECT_LT(right.red, 215);
    EXPECT_EQ(left.red, left.green);
    EXPECT_EQ(b.pixel(2, 10), (Pixel{0, 0, 0, 255}));
    EXPECT_EQ(b.pixel(37, 10), (Pixel{255, 255, 255, 255}));
}

TEST_F(ImageEffects, OutsideTheMaskTheSourceShows) {
    // Opaque over the top half of the image only.
    auto mask = image(40, 20, [](int, int y) { return Pixel{0, 0, 0, uint8_t(y < 10 ? 255 : 0)}; });
    auto masked = applyBlurWithRadius(*halves(), 3, std::nullopt, 1, mask);
    ASSERT_TRUE(masked);
    const Bitmap& b = *masked->bitmap();
    EXPECT_NE(b.pixel(19, 2), (Pixel{0, 0, 0, 255}));
    EXPECT_EQ(b.pixel(19, 17), (Pixel{0, 0, 0, 255}));
    EXPECT_EQ(b.pixel(20, 17), (Pixel{255, 255, 255, 255}));
}

TEST_F(ImageEffects, SaturationAloneIsDrawn) {
    auto red = image(4, 4, [](int, int) { return Pixel{200, 100, 100, 255}; });
    auto stronger = applyBlurWithRadius(*red, 0, std::nullopt, 1.8, nullptr);
    ASSERT_TRUE(stronger);
    Pixel p = stronger->bitmap()->pixel(1, 1);
    EXPECT_GT(p.red, 200);
    EXPECT_LT(p.green, 100);
    EXPECT_EQ(p.green, p.blue);
    Pixel g = applyBlurWithRadius(*red, 0, std::nullopt, 0, nullptr)->bitmap()->pixel(1, 1);
    EXPECT_EQ(g.red, g.green);
    EXPECT_EQ(g.green, g.blue);
    EXPECT_NEAR(g.red, 0.2126 * 200 + 0.7152 * 100 + 0.0722 * 100, 2);
    // Under a tint, the saturated image, not the source.
    Pixel tinted = applyBlurWithRadius(*red, 0, uikit::UIColor::colorWithWhite(1, 0.5), 0, nullptr)->bitmap()->pixel(1, 1);
    EXPECT_EQ(tinted.red, tinted.green);
}

TEST_F(ImageEffects, PresetsAndTheTintEffect) {
    auto source = halves();
    auto tinted = applyTintEffectWithColor(*source, uikit::UIColor::colorWithRed(1, 0, 0, 1));
    auto expected = applyBlurWithRadius(*source, 10, uikit::UIColor::colorWithRed(1, 0, 0, 0.6), -1, nullptr);
    ASSERT_TRUE(tinted && expected);
    EXPECT_EQ(*tinted->bitmap(), *expected->bitmap());
    Pixel p = tinted->bitmap()->pixel(20, 10);
    EXPECT_GT(p.red, p.green);

    auto grey = applyTintEffectWithColor(*source, uikit::UIColor::colorWithWhite(0.2, 1));
    EXPECT_EQ(*grey->bitmap(),
              *applyBlurWithRadius(*source, 10, uikit::UIColor::colorWithWhite(0.2, 0.6), -1, nullptr)->bitmap());
    // A colour without red, green and blue is used as it is.
    auto cmyk = graphics::Color::cmyk(0, 1, 1, 0, 0.3);
    EXPECT_EQ(*applyTintEffectWithColor(*source, cmyk)->bitmap(),
              *applyBlurWithRadius(*source, 10, cmyk, -1, nullptr)->bitmap());

    EXPECT_EQ(*applyLightEffect(*source)->bitmap(),
              *applyBlurWithRadius(*source, 30, uikit::UIColor::colorWithWhite(1, 0.3), 1.8, nullptr)->bitmap());
    Pixel dark = applyDarkEffect(*source)->bitmap()->pixel(39, 0);
    Pixel light = applyExtraLightEffect(*source)->bitmap()->pixel(0, 0);
    EXPECT_LT(dark.red, 128);
    EXPECT_GT(light.red, 200);
}
