// The device the application runs on, as far as the application asks: its
// user-interface idiom. There is no device here, so the idiom is a launch
// setting: $QVA_DEVICE_IDIOM ("phone" or "pad") when the process starts, else
// the phone; the command-line front and tests choose it with the setter
// before the first screen is built.
#pragma once

namespace uikit {

enum class UIUserInterfaceIdiom { Phone, Pad };

class UIDevice {
public:
    static UIDevice& currentDevice();
    UIDevice(const UIDevice&) = delete;
    UIDevice& operator=(const UIDevice&) = delete;

    UIUserInterfaceIdiom userInterfaceIdiom() const;
    void setUserInterfaceIdiom(UIUserInterfaceIdiom idiom);

private:
    UIDevice();
};

}  // namespace uikit
