// The effect is worked on premultiplied pixels, as blurring needs, in our
// bitmaps' byte order (red, green, blue, alpha): the saturation matrix is
// written in the order blue, green, red, alpha and its rows and columns are
// exchanged to match before it is applied.
#include "Utils/UIImageImageEffects.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <limits>
#include <memory>

#include "foundation/Log.h"
#include "graphics/CairoContext.h"
#include "graphics/ImageConvolution.h"
#include "graphics/MutablePath.h"
#include "uikit/UIColor.h"
#include "uikit/UIScreen.h"

using graphics::Bitmap;
using graphics::ImageBuffer;
namespace Convolution = graphics::ImageConvolution;

namespace UIImageImageEffects {

namespace {

constexpr int32_t kSaturationDivisor = 256;
constexpr double kEffectSaturation = 1.8;
constexpr double kTintAlpha = 0.6;

ImageBuffer bufferOf(Bitmap& bitmap) {
    return ImageBuffer{bitmap.bytes().data(), bitmap.width(), bitmap.height(), size_t(bitmap.width()) * 4};
}

// The image drawn at the pixel size of the effect; an image of that very
// size draws as itself.
Bitmap drawn(const uikit::UIImage& image, int width, int height, double scale, const graphics::Rect& rect) {
    const graphics::BitmapPtr& pixels = image.bitmap();
    if (pixels && pixels->width() == width && pixels->height() == height) return *pixels;
    graphics::CairoContext context(width, height);
    context.scaleCTM(scale, scale);
    image.drawInContext(context, rect);
    return context.bitmap();
}

// Our channel i is the matrix's channel kMatrixChannel[i].
constexpr int kMatrixChannel[4] = {2, 1, 0, 3};

std::array<int16_t, 16> inBitmapOrder(const std::array<int16_t, 16>& matrix) {
    std::array<int16_t, 16> ours{};
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) ours[i * 4 + j] = matrix[kMatrixChannel[i] * 4 + kMatrixChannel[j]];
    return ours;
}

}  // namespace

int boxSizeForBlurRadius(double blurRadius, double scale) {
    return Convolution::boxSizeForRadius(blurRadius * scale);
}

std::array<int16_t, 16> saturationMatrix(double s) {
    const double m[16] = {
        0.0722 + 0.9278 * s, 0.0722 - 0.0722 * s, 0.0722 - 0.0722 * s, 0,
        0.7152 - 0.7152 * s, 0.7152 + 0.2848 * s, 0.7152 - 0.7152 * s, 0,
        0.2126 - 0.2126 * s, 0.2126 - 0.2126 * s, 0.2126 + 0.7873 * s, 0,
        0,                   0,                   0,                   1,
    };
    std::array<int16_t, 16> result{};
    for (int i = 0; i < 16; ++i) {
        float scaled = std::roundf(static_cast<float>(m[i] * kSaturationDivisor));
        if (std::isnan(scaled)) scaled = 0;
        scaled = std::clamp(scaled, float(std::numeric_limits<int16_t>::min()),
                            float(std::numeric_limits<int16_t>::max()));
        result[i] = static_cast<int16_t>(scaled);
    }
    return result;
}

uikit::UIImagePtr applyBlurWithRadius(const uikit::UIImage& image, double blurRadius,
                                      const std::optional<graphics::Color>& tintColor, double saturationDeltaFactor,
                                      const uikit::UIImagePtr& maskImage) {
    const graphics::Size size = image.size();
    if (!(size.width >= 1) || !(size.height >= 1)) {
        foundation::Log("*** error: invalid size: (%.2f x %.2f). Both dimensions must be >= 1: %@", size.width,
                        size.height, image.description());
        return nullptr;
    }
    if (!image.CGImage()) {
        foundation::Log("*** error: image must be backed by a CGImage: %@", image.description());
        return nullptr;
    }
    if (maskImage && !maskImage->CGImage()) {
        foundation::Log("*** error: maskImage must be backed by a CGImage: %@", maskImage->description());
        return nullptr;
    }

    const bool hasBlur = blurRadius > FLT_EPSILON;
    const bool hasSaturationChange = std::fabs(saturationDeltaFactor - 1.0) > FLT_EPSILON;
    const double scale = uikit::UIScreen::mainScreen().scale();
    const int width = static_cast<int>(std::ceil(size.width * scale));
    const int height = static_cast<int>(std::ceil(size.height * scale));
    const graphics::Rect rect({0, 0}, size);

    std::optional<Bitmap> effect;
    if (hasBlur || hasSaturationChange) {
        Bitmap input = drawn(image, width, height, scale, rect);
        Bitmap output(width, height);
        Convolution::premultiply(input.bytes());
        ImageBuffer in = bufferOf(input), out = bufferOf(output);
        if (hasBlur) {
            const int box = boxSizeForBlurRadius(blurRadius, scale);
            Convolution::boxConvolve(in, out, box);
            Convolution::boxConvolve(out, in, box);
            Convolution::boxConvolve(in, out, box);
        }
        bool inOutput = hasBlur;
        if (hasSaturationChange) {
            const auto matrix = inBitmapOrder(saturationMatrix(saturationDeltaFactor));
            if (hasBlur) Convolution::matrixMultiply(out, in, matrix, kSaturationDivisor);
            else Convolution::matrixMultiply(in, out, matrix, kSaturationDivisor);
            inOutput = !hasBlur;
        }
        effect = std::move(inOutput ? output : input);
        Convolution::unpremultiply(effect->bytes());
        if (maskImage) {
            // Only where the mask is opaque: its alpha scales the effect's.
            const Bitmap mask = drawn(*maskImage, width, height, scale, rect);
            std::vector<uint8_t>& bytes = effect->bytes();
            for (size_t i = 3; i < bytes.size(); i += 4)
                bytes[i] = static_cast<uint8_t>((bytes[i] * unsigned(mask.bytes()[i]) + 127) / 255);
        }
    }

    graphics::CairoContext context(width, height);
    context.scaleCTM(scale, scale);
    image.drawInContext(context, rect);
    if (effect) context.drawImage(*effect, rect);
    if (tintColor) {
        graphics::MutablePath whole;
        whole.addRect(rect);
        context.fillPath(whole, *tintColor);
    }
    return uikit::UIImage::imageWithBitmap(std::make_shared<Bitmap>(context.bitmap()), scale);
}

uikit::UIImagePtr applyLightEffect(const uikit::UIImage& image) {
    return applyBlurWithRadius(image, 30, uikit::UIColor::colorWithWhite(1.0, 0.3), kEffectSaturation, nullptr);
}

uikit::UIImagePtr applyExtraLightEffect(const uikit::UIImage& image) {
    return applyBlurWithRadius(image, 20, uikit::UIColor::colorWithWhite(0.97, 0.82), kEffectSaturation, nullptr);
}

uikit::UIImagePtr applyDarkEffect(const uikit::UIImage& image) {
    return applyBlurWithRadius(image, 20, uikit::UIColor::colorWithWhite(0.11, 0.73), kEffectSaturation, nullptr);
}

uikit::UIImagePtr applyTintEffectWithColor(const uikit::UIImage& image, const graphics::Color& tintColor) {
    const uikit::UIColor color(tintColor);
    graphics::Color effectColor = tintColor;
    double white = 0, red = 0, green = 0, blue = 0, alpha = 0;
    if (color.numberOfComponents() == 2 && color.getWhite(&white, &alpha)) {
        effectColor = uikit::UIColor::colorWithWhite(white, kTintAlpha);
    } else if (color.getRed(&red, &green, &blue, &alpha)) {
        effectColor = uikit::UIColor::colorWithRed(red, green, blue, kTintAlpha);
    }
    return applyBlurWithRadius(image, 10, effectColor, -1.0, nullptr);
}

}  // namespace UIImageImageEffects
