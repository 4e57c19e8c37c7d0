// The device's idiom (read once from the launch environment), version, model
// and orientation.
#include "uikit/UIDevice.h"

#include <atomic>
#include <cstdlib>
#include <optional>
#include <string_view>

#include "foundation/MainThreadChecker.h"
#include "foundation/NotificationCenter.h"
#include "uikit/UIViewController.h"

namespace uikit {

const char* const UIDeviceOrientationDidChangeNotification = "UIDeviceOrientationDidChangeNotification";

namespace {

// Read from any thread: layout code asks on the main thread, path builders elsewhere.
std::atomic<UIUserInterfaceIdiom> idiom{UIUserInterfaceIdiom::Phone};

struct DeviceState {
    std::string systemVersion = "9.3";
    std::optional<std::string> model;
    UIDeviceOrientation orientation = UIDeviceOrientation::Portrait;
};

DeviceState& state() {
    static DeviceState s;
    return s;
}

UIUserInterfaceIdiom idiomFromEnvironment() {
    const char* value = std::getenv("QVA_DEVICE_IDIOM");
    if (!value) return UIUserInterfaceIdiom::Phone;
    std::string_view text(value);
    return text == "pad" || text == "tablet" ? UIUserInterfaceIdiom::Pad : UIUserInterfaceIdiom::Phone;
}

void requireMainForDevice() { foundation::requireMainThread("UIDevice is used from the main thread only"); }

}  // namespace

UIDevice::UIDevice() { idiom = idiomFromEnvironment(); }

UIDevice& UIDevice::currentDevice() {
    static UIDevice device;
    return device;
}

UIUserInterfaceIdiom UIDevice::userInterfaceIdiom() const { return idiom; }

void UIDevice::setUserInterfaceIdiom(UIUserInterfaceIdiom value) { idiom = value; }

std::string UIDevice::systemVersion() const {
    requireMainForDevice();
    return state().systemVersion;
}

void UIDevice::setSystemVersion(std::string version) {
    requireMainForDevice();
    state().systemVersion = std::move(version);
}

std::string UIDevice::model() const {
    requireMainForDevice();
    if (state().model) return *state().model;
    return userInterfaceIdiom() == UIUserInterfaceIdiom::Pad ? "iPad" : "iPhone";
}

void UIDevice::setModel(std::string model) {
    requireMainForDevice();
    state().model = std::move(model);
}

void UIDevice::resetModel() {
    requireMainForDevice();
    state().model.reset();
}

UIDeviceOrientation UIDevice::orientation() const {
    requireMainForDevice();
    return state().orientation;
}

void UIDevice::setOrientationQuietly(UIDeviceOrientation orientation) {
    requireMainForDevice();
    state().orientation = orientation;
}

void UIDevice::rotateToOrientation(UIDeviceOrientation orientation) {
    requireMainForDevice();
    if (state().orientation == orientation) return;
    state().orientation = orientation;
    // The interface follows when the controllers on screen and the
    // application's delegate allow it; observers then see both turned.
    UIViewController::attemptRotationToDeviceOrientation();
    foundation::NotificationCenter::defaultCenter().postNotificationName(UIDeviceOrientationDidChangeNotification);
}

}  // namespace uikit
