#include "quovana/AppOptions.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

#include "foundation/DateFormatter.h"
#include "foundation/FileManager.h"
#include "foundation/TimeZone.h"
#include "quovana/OptionsGivenOnce.h"
#include "service/MeetingGenerator.h"

namespace quovana {

namespace {

// Beyond any device's screen; the bitmap of a screenshot, or of a screen's
// snapshot at the device's scale, is allocated whole, so a mistyped size
// must be refused before the launch rather than end the run out of memory.
constexpr int kMaxScreenPoints = 4096;
constexpr int kMaxScreenScale = 8;
constexpr int kMaxShotPixels = 16384;

// The virtual clock's years, 1970 to 9999, as seconds since 2001: the
// instants the app's dates and their texts are made for.
constexpr double kEarliestClock = -978307200;
constexpr double kClockAfterLast = 252423993600;

// The methods the local service takes, and "*" for any of them.
bool isServiceMethod(const std::string& method) {
    for (const char* known : {"GET", "HEAD", "POST", "PUT", "PATCH", "DELETE", "*"})
        if (method == known) return true;
    return false;
}

std::optional<double> parseNumber(const std::string& text) {
    if (text.empty()) return std::nullopt;
    char* end = nullptr;
    double value = std::strtod(text.c_str(), &end);
    // "1e999" and "nan" read as numbers that no size or point can be.
    if (end != text.c_str() + text.size() || !std::isfinite(value)) return std::nullopt;
    return value;
}

// "375x667@2" (the scale may be left out).
bool parseScreen(const std::string& text, uikit::DeviceProfile& profile) {
    const size_t by = text.find('x');
    if (by == std::string::npos) return false;
    const size_t at = text.find('@', by);
    auto width = parseNumber(text.substr(0, by));
    auto height = parseNumber(text.substr(by + 1, at == std::string::npos ? std::string::npos : at - by - 1));
    auto scale = at == std::string::npos ? std::optional<double>(profile.scale) : parseNumber(text.substr(at + 1));
    if (!width || !height || !scale || !(*width > 0 && *width <= kMaxScreenPoints) ||
        !(*height > 0 && *height <= kMaxScreenPoints) || !(*scale > 0 && *scale <= kMaxScreenScale))
        return false;
    profile.screenSize = {*width, *height};
    profile.scale = *scale;
    return true;
}

}  // namespace

std::optional<long long> parseWhole(const std::string& text) {
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos || text.size() > 15)
        return std::nullopt;
    return std::stoll(text);
}

std::optional<std::pair<double, double>> parsePair(const std::string& text) {
    size_t comma = text.find(',');
    if (comma == std::string::npos) return std::nullopt;
    auto x = parseNumber(text.substr(0, comma));
    auto y = parseNumber(text.substr(comma + 1));
    if (!x || !y) return std::nullopt;
    return std::make_pair(*x, *y);
}

std::optional<double> parseInstant(const std::string& text) {
    foundation::DateFormatter formatter;
    formatter.setLocale(foundation::Locale("en_US_POSIX"));
    formatter.setTimeZone(foundation::TimeZone::gmt());
    formatter.setDateFormat("yyyy-MM-dd'T'HH:mm:ssXXX");
    auto date = formatter.dateFromString(text);
    if (!date) return std::nullopt;
    return date->timeIntervalSinceReferenceDate();
}

std::string parseAppOptions(const Arguments& arguments, bool usesLocalService, AppOptions& options) {
    std::optional<std::string> screen;
    OptionsGivenOnce once;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& option = arguments[i];
        // Faults and calendars add up; every other option takes one value.
        if (option != "--fault" && option != "--calendar")
            if (std::string repeated = once.repeated(option); !repeated.empty()) return repeated;
        if (option == "--gallery") {
            options.gallery = true;
            continue;
        }
        const size_t needed = option == "--fault" ? 3 : 1;
        static const char* const kWithValue[] = {"--idiom",        "--screen", "--orientation", "--system-version",
                                                 "--model",        "--zone",   "--clock",       "--reachability",
                                                 "--generate",     "--fault",  "--script",      "--shots",
                                                 "--shots-scale",  "--ranging", "--location-services",
                                                 "--location-authorization", "--calendar"};
        bool known = false;
        for (const char* name : kWithValue) known = known || option == name;
        if (!known) return "unknown option \"" + option + "\" for app";
        if (i + needed >= arguments.size())
            return option + " needs " + (needed == 1 ? "a value" : "METHOD PATH STATUS");
        const std::string& value = arguments[i + 1];
        if (option == "--idiom") {
            if (value == "phone") options.profile = uikit::DeviceProfile::iPhone6();
            else if (value == "pad") options.profile = uikit::DeviceProfile::iPad();
            else return "--idiom takes phone or pad";
        } else if (option == "--screen") {
            screen = value;
        } else if (option == "--orientation") {
            if (value == "portrait") options.profile.orientation = uikit::UIDeviceOrientation::Portrait;
            else if (value == "landscape") options.profile.orientation = uikit::UIDeviceOrientation::LandscapeLeft;
            else return "--orientation takes portrait or landscape";
        } else if (option == "--system-version") {
            options.profile.systemVersion = value;
        } else if (option == "--model") {
            options.profile.model = value;
        } else if (option == "--zone") {
            if (!foundation::TimeZone::withName(value) && !foundation::TimeZone::fromOffsetString(value))
                return "unknown time zone \"" + value + "\"";
            options.zone = value;
        } else if (option == "--clock") {
            options.clock = parseInstant(value);
            if (!options.clock || *options.clock < kEarliestClock || *options.clock >= kClockAfterLast)
                return "--clock takes an instant of the years 1970 to 9999 such as 2015-03-10T09:30:00+01:00";
        } else if (option == "--reachability") {
            if (value != "none" && value != "wifi" && value != "wwan") return "--reachability takes none, wifi or wwan";
            options.reachability = value;
        } else if (option == "--generate") {
            options.generate = testservice::parseGeneratedSizes(value);
            if (!options.generate) return "--generate takes " + testservice::generatedSizesRule();
        } else if (option == "--fault") {
            AppFault fault{arguments[i + 1], arguments[i + 2], 0};
            // The service compares methods as sent: "get" would never apply.
            if (!isServiceMethod(fault.method))
                return "--fault takes the method in capitals (GET, HEAD, POST, PUT, PATCH or DELETE, or * for any), "
                       "not \"" + fault.method + "\"";
            auto status = parseWhole(arguments[i + 3]);
            fault.stall = arguments[i + 3] == "stall";
            if (!fault.stall && (!status || *status < 100 || *status > 599))
                return "--fault takes METHOD PATH STATUS (or stall), e.g. GET events 500";
            while (!fault.path.empty() && fault.path.front() == '/') fault.path.erase(fault.path.begin());
            if (!fault.stall) fault.status = static_cast<int>(*status);
            options.faults.push_back(fault);
        } else if (option == "--ranging" || option == "--location-services") {
            if (value != "on" && value != "off") return option + " takes on or off";
            (option == "--ranging" ? options.ranging : options.locationServices) = value == "on";
        } else if (option == "--location-authorization") {
            auto status = parseWhole(value);
            if (!status || *status < 0 || *status > 4)
                return "--location-authorization takes 0 (not determined), 1 (restricted), 2 (denied), "
                       "3 (always) or 4 (when in use)";
            options.locationAuthorization = static_cast<int>(*status);
        } else if (option == "--calendar") {
            options.calendars.push_back(value);
        } else if (option == "--script") {
            bool folder = false;
            if (foundation::FileManager::defaultManager().fileExistsAtPath(value, &folder) && folder)
                return "--script takes a file; " + value + " is a folder";
            options.script = value;
        } else if (option == "--shots") {
            options.shotsDirectory = value;
        } else if (option == "--shots-scale") {
            auto scale = parseNumber(value);
            if (!scale || *scale <= 0 || *scale > 8) return "--shots-scale takes a number of pixels per point";
            options.shotsScale = *scale;
        }
        i += needed;
    }
    if (screen && !parseScreen(*screen, options.profile))
        return "--screen takes WIDTHxHEIGHT@SCALE, e.g. 375x667@2, with sides of at most " +
               std::to_string(kMaxScreenPoints) + " points and a scale of at most " + std::to_string(kMaxScreenScale);
    // A screen's snapshot (a details swipe draws one) has the device's
    // pixels, and a screenshot may draw it again at the shots' scale: one
    // bound for the product.
    const auto& size = options.profile.screenSize;
    if (std::max(size.width, size.height) * options.profile.scale * options.shotsScale > kMaxShotPixels)
        return "--screen and --shots-scale make pictures of more than " + std::to_string(kMaxShotPixels) +
               " pixels a side (points x scale x shots scale)";
    if (!usesLocalService && (options.generate || !options.faults.empty()))
        return "--generate and --fault work on the local service only (leave out --service)";
    return {};
}

}  // namespace quovana
