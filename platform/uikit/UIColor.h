// A colour as the screens name it: a graphics colour with the platform's
// constructors (components, white level, the named system colours) and its
// read-back. A UIColor is a graphics::Color, so it goes wherever views and
// layers take one (std::optional<graphics::Color> where "no colour" is meant).
#pragma once

#include "graphics/Color.h"

namespace uikit {

class UIColor : public graphics::Color {
public:
    UIColor(const graphics::Color& color) : graphics::Color(color) {}  // NOLINT: a colour is a UIColor

    static UIColor colorWithRed(double red, double green, double blue, double alpha);
    static UIColor colorWithWhite(double white, double alpha);

    static UIColor blackColor();
    static UIColor whiteColor();
    static UIColor clearColor();
    // White 1/3.
    static UIColor darkGrayColor();
    // White 2/3.
    static UIColor lightGrayColor();
    // White 1/2.
    static UIColor grayColor();
    // RGB 1, 0, 0.
    static UIColor redColor();
    // RGB 1, 0.5, 0.
    static UIColor orangeColor();

    // The same colour with this alpha.
    UIColor colorWithAlphaComponent(double alpha) const;

    // RGB components in 0...1 (a grey answers its level three times); false,
    // and nothing written, for a colour not convertible (CMYK).
    bool getRed(double* red, double* green, double* blue, double* alpha) const;
    // The white level of a grey colour; false for other colour spaces.
    bool getWhite(double* white, double* alpha) const;

    const graphics::Color& CGColor() const { return *this; }
};

}  // namespace uikit
