// The device model string, the platform's "hw.machine" (a phone reports its
// family and generation, such as "iPhone7,2"). Here it is the machine's own
// hardware name unless a test or the command-line front sets another. Safe to
// use from any thread.
#pragma once

#include <optional>
#include <string>

namespace graphics {

class DeviceModel {
public:
    static std::string machine();
    // Replaces the machine's own name; nullopt restores it.
    static void setMachineOverride(std::optional<std::string> machine);
};

}  // namespace graphics
