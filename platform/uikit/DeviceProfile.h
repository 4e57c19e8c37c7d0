// The device the application pretends to run on: idiom, screen size in
// portrait points, scale, orientation, system version and model. Tests and
// the app mode apply one before the first screen is built; UIDevice and
// UIScreen answer from it. Main thread only (the idiom alone stays readable
// from any thread, through UIDevice).
#pragma once

#include <string>

#include "graphics/Geometry.h"
#include "uikit/UIDevice.h"

namespace uikit {

struct DeviceProfile {
    UIUserInterfaceIdiom idiom = UIUserInterfaceIdiom::Phone;
    // In portrait.
    graphics::Size screenSize{375, 667};
    double scale = 2;
    UIDeviceOrientation orientation = UIDeviceOrientation::Portrait;
    std::string systemVersion = "9.3";
    std::string model = "iPhone";

    // 320×480 @2, 320×568 @2, 375×667 @2, 414×736 @3, and the pad 768×1024 @2.
    static DeviceProfile iPhone4();
    static DeviceProfile iPhone5();
    static DeviceProfile iPhone6();
    static DeviceProfile iPhone6Plus();
    static DeviceProfile iPad();
    // The phone of 375×667 points, or the pad when the launch environment
    // ($QVA_DEVICE_IDIOM) asks for it.
    static DeviceProfile defaultProfile();

    // The profile in force.
    static DeviceProfile current();
    // Puts the profile in force: the device's idiom, version, model and
    // orientation, the status bar's orientation, the screen; the key window
    // takes the new screen bounds.
    static void apply(const DeviceProfile& profile);
};

}  // namespace uikit
