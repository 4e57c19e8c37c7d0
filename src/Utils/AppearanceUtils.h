// The look of the whole application, given once at start-up through the
// appearance proxies (values for every view of a class, or for those inside
// given containers), before the first screen shows; screens then set only
// what differs. Appearance values reach views made after the call. Main
// thread only.
#pragma once

#include <memory>

#include "graphics/Color.h"

namespace uikit {
class UIImage;
class UILabel;
}  // namespace uikit

class AppearanceUtils {
public:
    // The application's tint: 64, 158, 210.
    static graphics::Color titleColor();
    // Nearly black: 5, 7, 8.
    static graphics::Color popoverNavigationBarColor();
    // 245, 245, 245.
    static graphics::Color tableBackgroundColor();

    // The light status bar, then the navigation bar, tab bar, search bar,
    // table and label steps, in that order.
    static void customizeDefaultUIAppearance();
    static void customizeNavigationBarAppearance();
    static void customizeTabBarAppearance();
    static void customizeSearchBarAppearance();
    static void customizeTableViewAppearance();
    static void customizeLabelsAppearance();

    // The More tab's menu titles: "HelveticaNeue-Medium" 18 in black.
    static void setMenuItemLabelAppearance(uikit::UILabel& label);
    // A 1 x 1 point image of the colour, to be stretched as a background.
    static std::shared_ptr<uikit::UIImage> imageFromColor(const graphics::Color& color);
};
