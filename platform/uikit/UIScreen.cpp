// The screen's bounds for the interface orientation, from the device profile.
#include "uikit/UIScreen.h"

#include "uikit/DeviceProfile.h"
#include "uikit/UIApplication.h"

namespace uikit {

UIScreen& UIScreen::mainScreen() {
    static UIScreen screen;
    return screen;
}

graphics::Rect UIScreen::bounds() const {
    graphics::Size size = DeviceProfile::current().screenSize;
    if (UIInterfaceOrientationIsLandscape(UIApplication::sharedApplication().statusBarOrientation())) {
        std::swap(size.width, size.height);
    }
    return {{0, 0}, size};
}

double UIScreen::scale() const { return DeviceProfile::current().scale; }

}  // namespace uikit
