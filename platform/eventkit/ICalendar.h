// The iCalendar text form (RFC 5545) of one calendar with its events, as the
// event store keeps it on disk. Written: CRLF line ends, lines folded at 75
// octets without splitting a UTF-8 character, TEXT values escaped (\\ \; \,
// and \n for line breaks), UTC date-times, one VALARM with a relative TRIGGER
// per alarm. Read: any file a person or another program may have left there,
// so the reader accepts CRLF or LF, unfolds, unescapes, takes UTC, floating
// (read as UTC) and date-only values, DURATION in place of DTEND, relative and
// absolute triggers, skips components and properties it does not know, and
// fails with an error (never a crash) on text that is not iCalendar.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/Date.h"
#include "foundation/Error.h"

namespace eventkit {

struct ICalendarEvent {
    std::string uid;
    std::optional<std::string> summary, location, description;
    foundation::Date start, end;
    // Seconds relative to the start.
    std::vector<double> alarmOffsets;
};

struct ICalendarDocument {
    std::string calendarTitle;
    int calendarType = 0;
    bool allowsContentModifications = true;
    std::string sourceIdentifier, sourceTitle;
    int sourceType = 0;
    std::vector<ICalendarEvent> events;
};

class ICalendar {
public:
    // `stamp` is the DTSTAMP written into every event.
    static std::string write(const ICalendarDocument& document, foundation::Date stamp);
    // None with an error for text that is not one iCalendar object.
    static std::optional<ICalendarDocument> read(std::string_view text, foundation::ErrorPtr* error = nullptr);

    // The pieces, for the writer's callers and tests.
    static std::string escapeText(std::string_view text);
    // The physical lines of one content line, each ending in CRLF.
    static std::string foldLine(std::string_view line);
    // "20150121T083000Z".
    static std::string formatDateTime(foundation::Date date);
    // "-PT30M", "PT0S", "-P1DT2H".
    static std::string formatDuration(double seconds);
    static std::optional<double> parseDuration(std::string_view text);

    // Domain of the reader's errors.
    static constexpr const char* kErrorDomain = "ICalendarErrorDomain";
};

}  // namespace eventkit
