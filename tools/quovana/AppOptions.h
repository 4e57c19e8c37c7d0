// The options of the app mode, given after "app": the device it pretends to
// be, the clock and zone, the network, the local service's meeting and its
// faults, the script, and the screenshots.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "quovana/CommandContext.h"
#include "uikit/DeviceProfile.h"

namespace quovana {

struct AppFault {
    std::string method;
    // Below the service's API root, as "authentication/login".
    std::string path;
    int status = 500;
    // The call gets no answer while the app runs (a download held mid-way).
    bool stall = false;
};

struct AppOptions {
    uikit::DeviceProfile profile = uikit::DeviceProfile::defaultProfile();
    std::optional<std::string> zone;
    // Seconds since 2001 on the virtual clock; the real clock when absent.
    std::optional<double> clock;
    // "none", "wifi" or "wwan".
    std::optional<std::string> reachability;
    bool gallery = false;
    // Sessions and participants of the local service's meeting.
    std::optional<std::pair<int, int>> generate;
    std::vector<AppFault> faults;
    // The device's location services: ranging hardware, the services'
    // switch and the user's answer (CLAuthorizationStatus as a number);
    // the stand-in's defaults when absent.
    std::optional<bool> ranging;
    std::optional<bool> locationServices;
    std::optional<int> locationAuthorization;
    // Device calendars made before the launch, by title.
    std::vector<std::string> calendars;
    std::optional<std::string> script;
    std::optional<std::string> shotsDirectory;
    double shotsScale = 1;
};

// Reads the options after "app". Answers why they are wrong, empty when all
// is well; `usesLocalService` is whether no --service was given (the meeting
// and fault options need the local service).
std::string parseAppOptions(const Arguments& arguments, bool usesLocalService, AppOptions& options);

// "2015-03-10T09:30:00+01:00" (or "...Z") as seconds since 2001.
std::optional<double> parseInstant(const std::string& text);

// "X,Y"; nothing when it is not two numbers.
std::optional<std::pair<double, double>> parsePair(const std::string& text);

// A whole decimal number, or nothing.
std::optional<long long> parseWhole(const std::string& text);

}  // namespace quovana
