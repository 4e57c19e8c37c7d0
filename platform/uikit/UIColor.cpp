// The named colours and the component read-back.
#include "uikit/UIColor.h"

namespace uikit {

UIColor UIColor::colorWithRed(double red, double green, double blue, double alpha) {
    return graphics::Color::rgb(red, green, blue, alpha);
}

UIColor UIColor::colorWithWhite(double white, double alpha) { return graphics::Color::gray(white, alpha); }

UIColor UIColor::blackColor() { return colorWithWhite(0, 1); }
UIColor UIColor::whiteColor() { return colorWithWhite(1, 1); }
UIColor UIColor::clearColor() { return colorWithWhite(0, 0); }
UIColor UIColor::darkGrayColor() { return colorWithWhite(1.0 / 3, 1); }
UIColor UIColor::lightGrayColor() { return colorWithWhite(2.0 / 3, 1); }
UIColor UIColor::grayColor() { return colorWithWhite(0.5, 1); }
UIColor UIColor::redColor() { return colorWithRed(1, 0, 0, 1); }
UIColor UIColor::orangeColor() { return colorWithRed(1, 0.5, 0, 1); }

UIColor UIColor::colorWithAlphaComponent(double alpha) const { return withAlpha(alpha); }

bool UIColor::getRed(double* red, double* green, double* blue, double* alpha) const {
    if (colorSpace().model() == graphics::ColorSpace::Model::CMYK) return false;
    auto c = rgba();
    if (red) *red = c.red;
    if (green) *green = c.green;
    if (blue) *blue = c.blue;
    if (alpha) *alpha = c.alpha;
    return true;
}

bool UIColor::getWhite(double* white, double* alpha) const {
    if (colorSpace().model() != graphics::ColorSpace::Model::Monochrome) return false;
    if (white) *white = components()[0];
    if (alpha) *alpha = this->alpha();
    return true;
}

}  // namespace uikit
