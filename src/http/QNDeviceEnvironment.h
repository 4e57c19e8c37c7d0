// What the default request headers tell the server about the user and the
// device: the preferred languages, the device model, the operating-system
// version and the screen scale. The platform layer this library may use offers
// none of them as such, so the application registers its own at start-up (and
// tests set what they compare against); until then each comes from this
// machine. Thread-safe.
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
};
