// Any bytes given to the iCalendar reader of the device-calendar stand-in
// (the files it finds in the application's home may come from anyone) end in
// a calendar or a failure with an error, never a crash. What is read is
// written out, and that text reads back and writes again to the same bytes:
// the written form is stable, and every written line is at most 75 octets.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "eventkit/ICalendar.h"

using eventkit::ICalendar;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    foundation::ErrorPtr error;
    auto document = ICalendar::read(text, &error);
    if (!document) {
        if (!error) std::abort();
        return 0;
    }
    const foundation::Date stamp(443520000);
    const std::string written = ICalendar::write(*document, stamp);
    size_t start = 0;
    while (start < written.size()) {
        const size_t end = written.find("\r\n", start);
        if (end == std::string::npos || end - start > 75) std::abort();
        start = end + 2;
    }
    auto again = ICalendar::read(written, &error);
    if (!again) std::abort();
    if (ICalendar::write(*again, stamp) != written) std::abort();
    for (const auto& event : again->events)
        for (double offset : event.alarmOffsets) (void)ICalendar::parseDuration(ICalendar::formatDuration(offset));
    return 0;
}
