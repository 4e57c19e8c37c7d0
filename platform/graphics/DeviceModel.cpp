// The device model: uname's machine field, behind an override.
#include "graphics/DeviceModel.h"

#include <sys/utsname.h>

#include <mutex>

namespace graphics {

namespace {
std::mutex gMutex;
std::optional<std::string> gOverride;
}  // namespace

std::string DeviceModel::machine() {
    {
        std::lock_guard lock(gMutex);
        if (gOverride) return *gOverride;
    }
    utsname info{};
    if (uname(&info) != 0) return "";
    return info.machine;
}

void DeviceModel::setMachineOverride(std::optional<std::string> machine) {
    std::lock_guard lock(gMutex);
    gOverride = std::move(machine);
}

}  // namespace graphics
