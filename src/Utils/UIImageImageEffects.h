// Blurred, saturation-adjusted and tinted copies of an image, computed on
// the CPU at the main screen's scale (for the blurred photo behind a detail
// header, and the usual light, dark and tinted looks). The blur is three box
// passes, close to a Gaussian of the radius as its deviation, at a cost that
// does not grow with the radius. Main thread only (the screen's scale).
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "graphics/Color.h"
#include "uikit/UIImage.h"

namespace UIImageImageEffects {

// The copy: the image, then its blurred and saturation-changed version over
// it (only inside the mask's opaque parts when a mask is given), then the
// tint over the whole at the tint's alpha. Null, with a console line, for an
// image less than a point wide or high, an image or a mask without pixels.
// A radius of about zero means no blur, a factor of about 1 no change.
uikit::UIImagePtr applyBlurWithRadius(const uikit::UIImage& image, double blurRadius,
                                      const std::optional<graphics::Color>& tintColor, double saturationDeltaFactor,
                                      const uikit::UIImagePtr& maskImage);

// Radius 30, white at 0.3 alpha, saturation 1.8.
uikit::UIImagePtr applyLightEffect(const uikit::UIImage& image);
// Radius 20, white 0.97 at 0.82 alpha, saturation 1.8.
uikit::UIImagePtr applyExtraLightEffect(const uikit::UIImage& image);
// Radius 20, white 0.11 at 0.73 alpha, saturation 1.8.
uikit::UIImagePtr applyDarkEffect(const uikit::UIImage& image);
// Radius 10, saturation -1, under the colour at alpha 0.6 (a grey keeps its
// level, another colour its red, green and blue; a colour whose components
// cannot be read is used as it is).
uikit::UIImagePtr applyTintEffectWithColor(const uikit::UIImage& image, const graphics::Color& tintColor);

// The odd box size of a blur of the radius in points at the scale.
int boxSizeForBlurRadius(double blurRadius, double scale);
// The saturation matrix for the factor, each entry × 256 as a signed 16-bit
// integer, rows and columns in the byte order blue, green, red, alpha.
std::array<int16_t, 16> saturationMatrix(double saturationDeltaFactor);

}  // namespace UIImageImageEffects
