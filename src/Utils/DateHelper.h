// Reading and writing the dates of the application: the service's date-time
// texts, the programme's day titles and times, the day texts that lists and
// filters save, and the dates of messages. Programme dates are shown in the
// meeting's own time zone whatever the device's zone; message dates in the
// device's zone. The meeting zone is configured nowhere: it is the offset
// written in the stored sessions' start texts.
//
// Formatters are costly to build, so each thread keeps its own, one per
// operation that builds it, and reuses it; a formatter that follows the
// meeting (or the device's) zone is re-zoned whenever that zone has changed
// since its last use. A returned formatter belongs to the calling thread.
//
// Everything that needs the meeting zone reads the current store and runs on
// the main thread only (the store front raises elsewhere); the device-zone
// and GMT formatters, and the conversions that use only them, run anywhere.
#pragma once

#include <optional>
#include <string>

#include "foundation/Date.h"
#include "foundation/DateFormatter.h"
#include "foundation/TimeZone.h"
#include "foundation/Value.h"

class DateHelper {
public:
    // The service's date-time form. The offset is written "+01:00", as the
    // service writes it, so texts we write compare equal to stored ones; every
    // offset spelling ("+01:00", "+0100", "Z") is read.
    static constexpr const char* kServerDateFormat = "yyyy'-'MM'-'dd'T'HH':'mm':'ssxxx";
    static constexpr const char* kLocaleIdentifier = "en_US";

    // Server form, the device's zone when first built on this thread.
    static foundation::DateFormatter& defaultDateFormatter();
    // Server form, meeting zone.
    static foundation::DateFormatter& defaultDateFormatterWithTimezone();
    // Server form in the given zone; a new formatter each call.
    static foundation::DateFormatter defaultDateFormatterWithTimezone(const foundation::TimeZone& zone);
    // "EEEE dd MMMM", the device's zone when first built on this thread.
    static foundation::DateFormatter& programmeTitleDateFormatter();
    // "EEEE dd MMMM", meeting zone.
    static foundation::DateFormatter& programmeTitleDateFormatterWithTimezone();
    // "HH:mm", meeting zone.
    static foundation::DateFormatter& programmeTimeFormatter();
    // "yyyy-MM-dd", meeting zone.
    static foundation::DateFormatter& programmeSavedDateFormatter();
    // Server form, GMT.
    static foundation::DateFormatter& messageDateFormatter();
    // "dd/MM/yyyy", the device's current zone.
    static foundation::DateFormatter& messageSentTitleFormatter();
    // "HH:mm", the device's current zone.
    static foundation::DateFormatter& messageSentTimeFormatter();
    // "dd/MM/yyyy HH:mm:ss", meeting zone.
    static foundation::DateFormatter& quovanaNotificationDateFormatter();

    // The fixed offset written at the end of the start text of the first
    // session the current store returns; GMT without account, meeting,
    // store or session.
    static foundation::TimeZone currentMeetingTimeZone();

    // The instant a service text names; nothing for a non-text or a text
    // that does not parse. The text's offset fixes the instant whatever the
    // flag (YES: the meeting-zone formatter, NO: the device-zone one).
    static std::optional<foundation::Date> dateFromServer(const foundation::Value& object, bool withTimezone);
    // Day title ("Wednesday 21 January") in the meeting zone (YES) or the device's (NO).
    static std::string programmeTitleForDate(foundation::Date date, bool withTimezone);
    // The meeting-zone day title of a service text; nothing when it does not parse.
    static std::optional<std::string> programmeTitleForDateString(const std::string& serverText);
    // "<day title>, <display time>"; nothing when the service text does not parse.
    static std::optional<std::string> programmeDayAndTimeForTimeInterval(const std::string& serverText,
                                                                         const std::string& displayTime);
    // "HH:mm" in the meeting zone.
    static std::string programmeTimeForDate(foundation::Date date);
    // Midnight of a saved "yyyy-MM-dd" day in the meeting zone.
    static std::optional<foundation::Date> programmeDateFromSavedString(const std::string& day);
    // The "yyyy-MM-dd" day of the date in the meeting zone.
    static std::string feedbackPushDateStringFromDate(foundation::Date date);
    // A "dd/MM/yyyy HH:mm:ss" text read in the meeting zone.
    static std::optional<foundation::Date> quovanaNotificationDateFromString(const std::string& text);
    // A message's service text as "HH:mm" / "dd/MM/yyyy" in the device's zone.
    static std::optional<std::string> messageSentTimeForDate(const std::string& serverText);
    static std::optional<std::string> messageSentTitleForDate(const std::string& serverText);
    // The instant of a message's service text, to whole seconds.
    static std::optional<foundation::Date> messageDateInDeviceTime(const std::string& serverText);
    // The same instant cut to whole seconds.
    static foundation::Date dateToActivityLocalTime(foundation::Date date);
    // The date as a service text with the meeting's offset.
    static std::string dateStringToActivityLocalTime(foundation::Date date);
    // The date falls on today's calendar day in the meeting zone.
    static bool isDateToday(foundation::Date date);
    // The date falls on today's calendar day in the device's zone.
    static bool isDateTodayInDeviceLocalTime(foundation::Date date);
    static std::string todayDisplayString() { return "Today"; }
};
