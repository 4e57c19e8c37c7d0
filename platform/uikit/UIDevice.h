// The device the application runs on, as far as the application asks: its
// user-interface idiom, system version, model and orientation. There is no
// device here, so these are launch settings (see DeviceProfile): the idiom
// starts as $QVA_DEVICE_IDIOM ("phone" or "pad") when the process starts,
// else the phone. The idiom is read from any thread (the store's paths ask
// it); everything else is main thread only.
#pragma once

#include <string>

namespace uikit {

enum class UIUserInterfaceIdiom { Phone, Pad };

enum class UIDeviceOrientation { Unknown = 0, Portrait = 1, PortraitUpsideDown = 2, LandscapeLeft = 3, LandscapeRight = 4 };

inline bool UIDeviceOrientationIsLandscape(UIDeviceOrientation o) {
    return o == UIDeviceOrientation::LandscapeLeft || o == UIDeviceOrientation::LandscapeRight;
}
inline bool UIDeviceOrientationIsPortrait(UIDeviceOrientation o) {
    return o == UIDeviceOrientation::Portrait || o == UIDeviceOrientation::PortraitUpsideDown;
}

// Posted on the default centre, the device as sender, after every rotation.
extern const char* const UIDeviceOrientationDidChangeNotification;

class UIDevice {
public:
    static UIDevice& currentDevice();
    UIDevice(const UIDevice&) = delete;
    UIDevice& operator=(const UIDevice&) = delete;

    UIUserInterfaceIdiom userInterfaceIdiom() const;
    void setUserInterfaceIdiom(UIUserInterfaceIdiom idiom);

    // "9.3" unless set; callers read it as a number.
    std::string systemVersion() const;
    void setSystemVersion(std::string version);
    // "iPhone" or "iPad" by idiom unless set.
    std::string model() const;
    void setModel(std::string model);

    UIDeviceOrientation orientation() const;
    // Turns the device: sets its orientation, lets the interface follow
    // (UIViewController::attemptRotationToDeviceOrientation: the status bar,
    // the key window's bounds and the controllers' callbacks, where the
    // controllers and the delegate allow it) and posts
    // "UIDeviceOrientationDidChangeNotification". Nothing happens when the
    // device already has that orientation.
    void rotateToOrientation(UIDeviceOrientation orientation);

private:
    friend struct DeviceProfile;
    UIDevice();
    // A profile's orientation: no notification, no rotation.
    void setOrientationQuietly(UIDeviceOrientation orientation);
    // Back to the idiom's model.
    void resetModel();
};

}  // namespace uikit
