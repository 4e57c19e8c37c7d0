// The profiles of the supported devices and the one in force.
#include "uikit/DeviceProfile.h"

#include <cstdlib>
#include <string_view>

#include "foundation/MainThreadChecker.h"
#include "uikit/UIApplication.h"
#include "uikit/UIInterfaceOrientation.h"
#include "uikit/UIScreen.h"

namespace uikit {
namespace {

DeviceProfile make(UIUserInterfaceIdiom idiom, graphics::Size size, double scale, std::string model) {
    DeviceProfile p;
    p.idiom = idiom;
    p.screenSize = size;
    p.scale = scale;
    p.model = std::move(model);
    return p;
}

struct Screen {
    graphics::Size size;
    double scale;
};

Screen& screen() {
    static Screen s{DeviceProfile::defaultProfile().screenSize, DeviceProfile::defaultProfile().scale};
    return s;
}

}  // namespace

DeviceProfile DeviceProfile::iPhone4() { return make(UIUserInterfaceIdiom::Phone, {320, 480}, 2, "iPhone"); }
DeviceProfile DeviceProfile::iPhone5() { return make(UIUserInterfaceIdiom::Phone, {320, 568}, 2, "iPhone"); }
DeviceProfile DeviceProfile::iPhone6() { return make(UIUserInterfaceIdiom::Phone, {375, 667}, 2, "iPhone"); }
DeviceProfile DeviceProfile::iPhone6Plus() { return make(UIUserInterfaceIdiom::Phone, {414, 736}, 3, "iPhone"); }
DeviceProfile DeviceProfile::iPad() { return make(UIUserInterfaceIdiom::Pad, {768, 1024}, 2, "iPad"); }

DeviceProfile DeviceProfile::defaultProfile() {
    const char* value = std::getenv("QVA_DEVICE_IDIOM");
    std::string_view text(value ? value : "");
    return text == "pad" || text == "tablet" ? iPad() : iPhone6();
}

DeviceProfile DeviceProfile::current() {
    foundation::requireMainThread("DeviceProfile is used from the main thread only");
    auto& device = UIDevice::currentDevice();
    DeviceProfile p;
    p.idiom = device.userInterfaceIdiom();
    p.screenSize = screen().size;
    p.scale = screen().scale;
    p.orientation = device.orientation();
    p.systemVersion = device.systemVersion();
    p.model = device.model();
    return p;
}

void DeviceProfile::apply(const DeviceProfile& profile) {
    foundation::requireMainThread("DeviceProfile is used from the main thread only");
    auto& device = UIDevice::currentDevice();
    device.setUserInterfaceIdiom(profile.idiom);
    device.setSystemVersion(profile.systemVersion);
    // The idiom's own model stays "unset", so a later idiom change moves it too.
    const char* idiomModel = profile.idiom == UIUserInterfaceIdiom::Pad ? "iPad" : "iPhone";
    if (profile.model == idiomModel) {
        device.resetModel();
    } else {
        device.setModel(profile.model);
    }
    screen() = {profile.screenSize, profile.scale};
    device.setOrientationQuietly(profile.orientation);
    auto& application = UIApplication::sharedApplication();
    application.setStatusBarOrientation(UIInterfaceOrientationForDevice(profile.orientation));
    application.keyWindow()->setFrame(UIScreen::mainScreen().bounds());
}

}  // namespace uikit
