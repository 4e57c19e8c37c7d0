// The overrides live behind one mutex; the machine's own answers are read on
// each call because they are cheap and a test may change the device locale.
#include "http/QNDeviceEnvironment.h"

#include <sys/utsname.h>

#include <algorithm>
#include <mutex>

#include "foundation/Locale.h"
#include "uikit/UIDevice.h"
#include "uikit/UIScreen.h"

namespace {

struct Overrides {
    std::optional<std::vector<std::string>> languages;
    std::optional<std::string> model;
    std::optional<std::string> version;
    std::optional<double> scale;
};

std::mutex gMutex;
Overrides gOverrides;

utsname machine() {
    utsname name{};
    if (uname(&name) != 0) name = utsname{};
    return name;
}

}  // namespace

std::vector<std::string> QNDeviceEnvironment::preferredLanguages() {
    {
        std::lock_guard lock(gMutex);
        if (gOverrides.languages) return *gOverrides.languages;
    }
    std::string language = foundation::Locale::current().identifier();
    std::replace(language.begin(), language.end(), '_', '-');
    if (language.empty()) return {};
    return {language};
}

void QNDeviceEnvironment::setPreferredLanguages(std::optional<std::vector<std::string>> languages) {
    std::lock_guard lock(gMutex);
    gOverrides.languages = std::move(languages);
}

std::string QNDeviceEnvironment::deviceModel() {
    {
        std::lock_guard lock(gMutex);
        if (gOverrides.model) return *gOverrides.model;
    }
    return machine().machine;
}

void QNDeviceEnvironment::setDeviceModel(std::optional<std::string> model) {
    std::lock_guard lock(gMutex);
    gOverrides.model = std::move(model);
}

std::string QNDeviceEnvironment::systemVersion() {
    {
        std::lock_guard lock(gMutex);
        if (gOverrides.version) return *gOverrides.version;
    }
    return machine().release;
}

void QNDeviceEnvironment::setSystemVersion(std::optional<std::string> version) {
    std::lock_guard lock(gMutex);
    gOverrides.version = std::move(version);
}

double QNDeviceEnvironment::screenScale() {
    std::lock_guard lock(gMutex);
    return gOverrides.scale.value_or(1.0);
}

void QNDeviceEnvironment::setScreenScale(std::optional<double> scale) {
    std::lock_guard lock(gMutex);
    gOverrides.scale = scale;
}

void QNDeviceEnvironment::adoptCurrentDevice() {
    auto& device = uikit::UIDevice::currentDevice();
    std::string model = device.model();
    std::string version = device.systemVersion();
    const double scale = uikit::UIScreen::mainScreen().scale();
    std::lock_guard lock(gMutex);
    gOverrides.model = std::move(model);
    gOverrides.version = std::move(version);
    gOverrides.scale = scale;
}
