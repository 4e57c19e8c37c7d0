// Reading and writing the iCalendar form of one calendar.
#include "eventkit/ICalendar.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <map>

#include "foundation/CivilDate.h"

namespace eventkit {
namespace {

using foundation::civilFromDays;
using foundation::daysFromCivil;

constexpr size_t kFoldOctets = 75;
constexpr size_t kMaxNesting = 32;
constexpr double kSecondsPerDay = 86400.0;
// 0001-01-01T00:00:00Z and 9999-12-31T23:59:59Z, seconds since 1970.
constexpr int64_t kFirstSecond = -62135596800LL;
constexpr int64_t kLastSecond = 253402300799LL;

constexpr const char* kProductId = "-//Quovana//Device Calendar//EN";
constexpr const char* kCalendarNameProperty = "X-WR-CALNAME";
constexpr const char* kCalendarTypeProperty = "X-QVA-CALENDAR-TYPE";
constexpr const char* kAllowsModificationsProperty = "X-QVA-ALLOWS-MODIFICATIONS";
constexpr const char* kSourceIdProperty = "X-QVA-SOURCE-ID";
constexpr const char* kSourceTitleProperty = "X-QVA-SOURCE-TITLE";
constexpr const char* kSourceTypeProperty = "X-QVA-SOURCE-TYPE";


unsigned daysInMonth(int64_t y, unsigned m) {
    static const unsigned days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    return m == 2 && leap ? 29 : days[m - 1];
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::optional<unsigned> digits(std::string_view text, size_t at, size_t count) {
    if (at + count > text.size()) return std::nullopt;
    unsigned value = 0;
    for (size_t i = at; i < at + count; ++i) {
        if (!isDigit(text[i])) return std::nullopt;
        value = value * 10 + unsigned(text[i] - '0');
    }
    return value;
}

struct DateValue {
    foundation::Date date;
    bool dateOnly = false;
};

// "YYYYMMDD", "YYYYMMDDTHHMMSS" or the same ending in "Z". Without "Z" the
// time is read as UTC: the files we write never hold local times.
std::optional<DateValue> parseDateTime(std::string_view text) {
    auto year = digits(text, 0, 4), month = digits(text, 4, 2), day = digits(text, 6, 2);
    if (!year || !month || !day || *month < 1 || *month > 12 || *day < 1 || *day > daysInMonth(*year, *month))
        return std::nullopt;
    if (*year == 0) return std::nullopt;
    const int64_t days = daysFromCivil(*year, *month, *day);
    if (text.size() == 8)
        return DateValue{foundation::Date::fromTimeIntervalSince1970(double(days) * kSecondsPerDay), true};
    if (text.size() < 15 || text[8] != 'T') return std::nullopt;
    auto hour = digits(text, 9, 2), minute = digits(text, 11, 2), second = digits(text, 13, 2);
    if (!hour || !minute || !second || *hour > 23 || *minute > 59 || *second > 60) return std::nullopt;
    if (text.size() > 16 || (text.size() == 16 && text[15] != 'Z')) return std::nullopt;
    const double seconds = double(days) * kSecondsPerDay + *hour * 3600.0 + *minute * 60.0 + *second;
    return DateValue{foundation::Date::fromTimeIntervalSince1970(seconds), false};
}

std::string unescapeText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const char next = text[++i];
        out += next == 'n' || next == 'N' ? '\n' : next;
    }
    return out;
}

struct ContentLine {
    std::string name;
    std::map<std::string, std::string> parameters;  // upper-case names, unquoted values
    std::string value;
};

std::string upper(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
    return out;
}

bool isNameChar(char c) { return isDigit(c) || c == '-' || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

std::optional<ContentLine> parseContentLine(std::string_view line) {
    ContentLine parsed;
    size_t i = 0;
    while (i < line.size() && isNameChar(line[i])) ++i;
    if (i == 0 || i == line.size()) return std::nullopt;
    parsed.name = upper(line.substr(0, i));
    while (line[i] == ';') {
        const size_t nameStart = ++i;
        while (i < line.size() && isNameChar(line[i])) ++i;
        if (i == nameStart || i == line.size() || line[i] != '=') return std::nullopt;
        std::string name = upper(line.substr(nameStart, i - nameStart));
        std::string value;
        ++i;
        // One value or a list; quoted values may hold ":", ";" and ",".
        for (;;) {
            if (i < line.size() && line[i] == '"') {
                const size_t close = line.find('"', i + 1);
                if (close == std::string_view::npos) return std::nullopt;
                value.append(line.substr(i + 1, close - i - 1));
                i = close + 1;
            } else {
                while (i < line.size() && line[i] != ';' && line[i] != ':' && line[i] != ',' && line[i] != '"')
                    value += line[i++];
            }
            if (i < line.size() && line[i] == ',') {
                value += ',';
                ++i;
                continue;
            }
            break;
        }
        if (i == line.size() || (line[i] != ';' && line[i] != ':')) return std::nullopt;
        parsed.parameters[std::move(name)] = std::move(value);
    }
    if (line[i] != ':') return std::nullopt;
    parsed.value = std::string(line.substr(i + 1));
    return parsed;
}

// Logical lines: line ends are CRLF or LF; a line that begins with a space
// or a tab continues the one before.
std::vector<std::string> unfold(std::string_view text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (!line.empty() && (line[0] == ' ' || line[0] == '\t') && !lines.empty())
            lines.back().append(line.substr(1));
        else
            lines.emplace_back(line);
        start = end + 1;
    }
    return lines;
}

foundation::ErrorPtr makeError(const std::string& description) {
    return foundation::Error::withDescription(ICalendar::kErrorDomain, 1, description);
}

int parseInt(std::string_view text) {
    int value = 0;
    bool negative = false;
    size_t i = 0;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    for (; i < text.size() && isDigit(text[i]) && value < 100000; ++i) value = value * 10 + (text[i] - '0');
    return negative ? -value : value;
}

struct PendingAlarm {
    std::optional<double> offset;               // relative to start or end
    bool relatedToEnd = false;
    std::optional<foundation::Date> absolute;  // an absolute trigger
};

struct PendingEvent {
    ICalendarEvent event;
    std::optional<DateValue> start, end;
    std::optional<double> duration;
    std::vector<PendingAlarm> alarms;
};

}  // namespace

std::string ICalendar::escapeText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        switch (c) {
            case '\\': out += "\\\\"; break;
            case ';': out += "\\;"; break;
            case ',': out += "\\,"; break;
            case '\r':
                if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
                out += "\\n";
                break;
            case '\n': out += "\\n"; break;
            default:
                // Other control characters may not appear in a value.
                if ((static_cast<unsigned char>(c) >= 0x20 && c != 0x7f) || c == '\t') out += c;
        }
    }
    return out;
}

std::string ICalendar::foldLine(std::string_view line) {
    std::string out;
    size_t limit = kFoldOctets;
    while (line.size() > limit) {
        size_t cut = limit;
        // Never inside a UTF-8 character: step back over continuation bytes.
        while (cut > 1 && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80) --cut;
        out.append(line.substr(0, cut));
        out += "\r\n ";
        line.remove_prefix(cut);
        limit = kFoldOctets - 1;  // the leading space counts
    }
    out.append(line);
    out += "\r\n";
    return out;
}

std::string ICalendar::formatDateTime(foundation::Date date) {
    double seconds = std::floor(date.timeIntervalSince1970() + 0.5);
    if (!(seconds >= double(kFirstSecond))) seconds = double(kFirstSecond);
    if (seconds > double(kLastSecond)) seconds = double(kLastSecond);
    const int64_t whole = static_cast<int64_t>(seconds);
    int64_t days = whole / 86400, rest = whole % 86400;
    if (rest < 0) {
        rest += 86400;
        --days;
    }
    int64_t y;
    unsigned m, d;
    civilFromDays(days, y, m, d);
    char text[32];
    std::snprintf(text, sizeof text, "%04lld%02u%02uT%02lld%02lld%02lldZ", static_cast<long long>(y), m, d,
                  static_cast<long long>(rest / 3600), static_cast<long long>(rest / 60 % 60),
                  static_cast<long long>(rest % 60));
    return text;
}

std::string ICalendar::formatDuration(double seconds) {
    long long total = std::llround(std::isfinite(seconds) ? seconds : 0.0);
    std::string out = total < 0 ? "-P" : "P";
    unsigned long long rest = total < 0 ? 0ULL - static_cast<unsigned long long>(total) : total;
    const unsigned long long days = rest / 86400;
    rest %= 86400;
    if (days) out += std::to_string(days) + "D";
    if (rest || !days) {
        const unsigned long long parts[] = {rest / 3600, rest / 60 % 60, rest % 60};
        const char units[] = {'H', 'M', 'S'};
        // A time part is a chain: from the first non-zero unit to the last.
        int first = 0, last = 2;
        while (first < 2 && parts[first] == 0) ++first;
        while (last > first && parts[last] == 0) --last;
        out += 'T';
        for (int i = first; i <= last; ++i) out += std::to_string(parts[i]) + units[i];
    }
    return out;
}

std::optional<double> ICalendar::parseDuration(std::string_view text) {
    size_t i = 0;
    double sign = 1;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) sign = text[i++] == '-' ? -1 : 1;
    if (i >= text.size() || text[i] != 'P') return std::nullopt;
    ++i;
    auto number = [&](double& value) {
        const size_t start = i;
        value = 0;
        while (i < text.size() && isDigit(text[i]) && i - start < 9) value = value * 10 + (text[i++] - '0');
        return i > start && !(i < text.size() && isDigit(text[i]));
    };
    double total = 0, value = 0;
    bool any = false;
    if (i < text.size() && text[i] != 'T') {
        if (!number(value) || i >= text.size()) return std::nullopt;
        if (text[i] == 'W') {
            ++i;
            return i == text.size() ? std::optional<double>(sign * value * 7 * kSecondsPerDay) : std::nullopt;
        }
        if (text[i] != 'D') return std::nullopt;
        ++i;
        total += value * kSecondsPerDay;
        any = true;
    }
    if (i < text.size()) {
        if (text[i] != 'T') return std::nullopt;
        ++i;
        static const struct {
            char unit;
            double seconds;
        } units[] = {{'H', 3600}, {'M', 60}, {'S', 1}};
        size_t next = 0;
        bool anyTime = false;
        while (i < text.size()) {
            if (!number(value) || i >= text.size()) return std::nullopt;
            while (next < 3 && units[next].unit != text[i]) ++next;
            if (next == 3) return std::nullopt;
            total += value * units[next++].seconds;
            ++i;
            anyTime = true;
        }
        if (!anyTime) return std::nullopt;
        any = true;
    }
    if (!any) return std::nullopt;
    return sign * total;
}

std::string ICalendar::write(const ICalendarDocument& document, foundation::Date stamp) {
    std::string out;
    auto line = [&](std::string_view name, std::string_view value) {
        std::string content(name);
        content += ':';
        content.append(value);
        out += foldLine(content);
    };
    line("BEGIN", "VCALENDAR");
    line("VERSION", "2.0");
    line("PRODID", kProductId);
    line("CALSCALE", "GREGORIAN");
    line(kCalendarNameProperty, escapeText(document.calendarTitle));
    line(kCalendarTypeProperty, std::to_string(document.calendarType));
    line(kAllowsModificationsProperty, document.allowsContentModifications ? "TRUE" : "FALSE");
    line(kSourceIdProperty, escapeText(document.sourceIdentifier));
    line(kSourceTitleProperty, escapeText(document.sourceTitle));
    line(kSourceTypeProperty, std::to_string(document.sourceType));
    const std::string stampText = formatDateTime(stamp);
    for (const auto& event : document.events) {
        line("BEGIN", "VEVENT");
        line("UID", escapeText(event.uid));
        line("DTSTAMP", stampText);
        line("DTSTART", formatDateTime(event.start));
        line("DTEND", formatDateTime(event.end));
        if (event.summary) line("SUMMARY", escapeText(*event.summary));
        if (event.location) line("LOCATION", escapeText(*event.location));
        if (event.description) line("DESCRIPTION", escapeText(*event.description));
        // A display alarm must describe itself: the title, or a word when
        // nothing of the title can be written.
        const std::string alarmText = escapeText(event.summary.value_or(""));
        for (double offset : event.alarmOffsets) {
            line("BEGIN", "VALARM");
            line("ACTION", "DISPLAY");
            line("DESCRIPTION", alarmText.empty() ? "Reminder" : alarmText);
            line("TRIGGER", formatDuration(offset));
            line("END", "VALARM");
        }
        line("END", "VEVENT");
    }
    line("END", "VCALENDAR");
    return out;
}

std::optional<ICalendarDocument> ICalendar::read(std::string_view text, foundation::ErrorPtr* error) {
    auto fail = [&](const std::string& description) -> std::optional<ICalendarDocument> {
        if (error) *error = makeError(description);
        return std::nullopt;
    };
    ICalendarDocument document;
    std::vector<std::string> stack;
    std::optional<PendingEvent> event;
    std::optional<PendingAlarm> alarm;
    bool ended = false;
    size_t number = 0;

    for (const std::string& physical : unfold(text)) {
        ++number;
        if (physical.empty()) continue;
        if (ended) break;  // one object per file; what follows it is not ours
        auto line = parseContentLine(physical);
        if (!line) return fail("Malformed line " + std::to_string(number));
        const std::string& name = line->name;

        if (name == "BEGIN") {
            const std::string component = upper(line->value);
            if (stack.empty() && component != "VCALENDAR") return fail("Not an iCalendar object");
            if (stack.size() >= kMaxNesting) return fail("Components nested too deeply");
            const std::string parent = stack.empty() ? "" : stack.back();
            stack.push_back(component);
            if (component == "VEVENT" && parent == "VCALENDAR")
                event.emplace();
            else if (component == "VALARM" && parent == "VEVENT" && stack.size() == 3)
                alarm.emplace();
            continue;
        }
        if (stack.empty()) return fail("Not an iCalendar object");
        if (name == "END") {
            if (upper(line->value) != stack.back()) return fail("Unbalanced END on line " + std::to_string(number));
            const std::string component = stack.back();
            stack.pop_back();
            if (component == "VALARM" && alarm && stack.size() == 2) {
                if (event) event->alarms.push_back(*alarm);
                alarm.reset();
            } else if (component == "VEVENT" && event && stack.size() == 1) {
                // An event without a start names no time: it is skipped.
                if (event->start) {
                    ICalendarEvent done = std::move(event->event);
                    done.start = event->start->date;
                    if (event->end)
                        done.end = event->end->date;
                    else if (event->duration)
                        done.end = done.start.dateByAddingTimeInterval(*event->duration);
                    else
                        done.end = done.start.dateByAddingTimeInterval(event->start->dateOnly ? kSecondsPerDay : 0);
                    if (done.end < done.start) done.end = done.start;
                    for (const auto& pending : event->alarms) {
                        if (pending.absolute)
                            done.alarmOffsets.push_back(pending.absolute->timeIntervalSinceDate(done.start));
                        else if (pending.offset)
                            done.alarmOffsets.push_back(
                                *pending.offset + (pending.relatedToEnd ? done.end.timeIntervalSinceDate(done.start)
                                                                        : 0.0));
                    }
                    document.events.push_back(std::move(done));
                }
                event.reset();
            } else if (component == "VCALENDAR" && stack.empty()) {
                ended = true;
            }
            continue;
        }

        const std::string& where = stack.back();
        if (where == "VCALENDAR" && stack.size() == 1) {
            if (name == kCalendarNameProperty) document.calendarTitle = unescapeText(line->value);
            else if (name == kCalendarTypeProperty) document.calendarType = parseInt(line->value);
            else if (name == kAllowsModificationsProperty)
                document.allowsContentModifications = upper(line->value) != "FALSE";
            else if (name == kSourceIdProperty) document.sourceIdentifier = unescapeText(line->value);
            else if (name == kSourceTitleProperty) document.sourceTitle = unescapeText(line->value);
            else if (name == kSourceTypeProperty) document.sourceType = parseInt(line->value);
        } else if (where == "VEVENT" && event && stack.size() == 2) {
            if (name == "UID") event->event.uid = unescapeText(line->value);
            else if (name == "SUMMARY") event->event.summary = unescapeText(line->value);
            else if (name == "LOCATION") event->event.location = unescapeText(line->value);
            else if (name == "DESCRIPTION") event->event.description = unescapeText(line->value);
            else if (name == "DTSTART" || name == "DTEND") {
                auto value = parseDateTime(line->value);
                if (!value) return fail("Bad date-time on line " + std::to_string(number));
                (name == "DTSTART" ? event->start : event->end) = value;
            } else if (name == "DURATION") {
                auto value = parseDuration(line->value);
                if (!value) return fail("Bad duration on line " + std::to_string(number));
                event->duration = value;
            }
        } else if (where == "VALARM" && alarm && stack.size() == 3) {
            if (name == "TRIGGER") {
                auto kind = line->parameters.find("VALUE");
                if (kind != line->parameters.end() && upper(kind->second) == "DATE-TIME") {
                    auto value = parseDateTime(line->value);
                    if (!value) return fail("Bad trigger on line " + std::to_string(number));
                    alarm->absolute = value->date;
                } else {
                    auto value = parseDuration(line->value);
                    if (!value) return fail("Bad trigger on line " + std::to_string(number));
                    alarm->offset = value;
                    auto related = line->parameters.find("RELATED");
                    alarm->relatedToEnd = related != line->parameters.end() && upper(related->second) == "END";
                }
            }
        }
    }
    if (!ended) return fail(stack.empty() ? "Not an iCalendar object" : "The calendar has no end");
    return document;
}

}  // namespace eventkit
