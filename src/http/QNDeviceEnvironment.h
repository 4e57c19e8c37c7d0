// What the default request headers tell the server about the user and the
// device: the preferred languages, the device model, the operating-system
// version and the screen scale. The device and its screen answer on the main
// thread only while requests are made on any, so the application adopts its
// device at start-up, and again when it changes (and tests set what they
// compare against); until then each comes from this machine. Thread-safe.
#pragma once

#include <optional>
#include <string>
#include <vector>

class QNDeviceEnvironment {
public:
    // Language identifiers, most preferred first ("en-US", "fr"). Unless set,
    // the one language of the device's locale.
    static std::vector<std::string> preferredLanguages();
    // Nothing restores the default; an empty list means "no preference".
    static void setPreferredLanguages(std::optional<std::vector<std::string>> languages);

    // Unless set: the machine's hardware name.
    static std::string deviceModel();
    static void setDeviceModel(std::optional<std::string> model);

    // Unless set: the kernel's release.
    static std::string systemVersion();
    static void setSystemVersion(std::optional<std::string> version);

    // Unless set: 1.
    static double screenScale();
    static void setScreenScale(std::optional<double> scale);

    // Sets the model, the system version and the scale to those of the
    // device the application runs as (its current device and main screen).
    // Main thread only, as they are.
    static void adoptCurrentDevice();
};
