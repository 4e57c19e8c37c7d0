// The fixed measures of the containers' layout, so the heights screens
// compute come out the same everywhere: the status bar over the top of a
// full-screen controller, the navigation bar below it, the tab bar at the
// bottom, the split view's master column, the pad's form sheet.
#pragma once

#include "graphics/Geometry.h"
#include "uikit/UIEdgeInsets.h"

namespace uikit {

struct UIContainerLayout {
    static constexpr double kStatusBarHeight = 20;
    static constexpr double kNavigationBarHeight = 44;
    static constexpr double kTabBarHeight = 49;
    static constexpr double kSplitMasterWidth = 320;
    static constexpr double kFormSheetWidth = 540;
    static constexpr double kFormSheetHeight = 620;
    static constexpr double kPopoverWidth = 320;
    static constexpr double kPopoverHeight = 600;

    // What a controller filling the screen keeps clear at its top: the
    // status bar's height, 0 while the status bar is hidden.
    static UIEdgeInsets fullScreenInsets();
    // A form sheet's frame, centred in the window's bounds.
    static graphics::Rect formSheetFrame(const graphics::Rect& windowBounds);
};

}  // namespace uikit
