// The main screen: its bounds in points for the present orientation (the
// profile's portrait size, swapped in landscape) and its scale.
#pragma once

#include "graphics/Geometry.h"

namespace uikit {

class UIScreen {
public:
    static UIScreen& mainScreen();
    UIScreen(const UIScreen&) = delete;
    UIScreen& operator=(const UIScreen&) = delete;

    graphics::Rect bounds() const;
    // 1, 2 or 3.
    double scale() const;

private:
    UIScreen() = default;
};

}  // namespace uikit
