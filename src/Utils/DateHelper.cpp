// The per-thread formatters and the meeting zone read from the current store.
#include "Utils/DateHelper.h"

#include <cmath>
#include <map>
#include <memory>

#include "settings/ApplicationSettingsStore.h"
#include "coredata/FetchRequest.h"
#include "foundation/Calendar.h"
#include "foundation/Format.h"
#include "model/QVACoreDataSession.h"
#include "store/StorageManager.h"

using foundation::Date;
using foundation::DateFormatter;
using foundation::TimeZone;

namespace {

// Which zone a cached formatter keeps to.
enum class Zone {
    FixedAtCreation,  // the zone it was built with, for the thread's life
    Meeting,          // re-zoned when the meeting zone changed
    Device            // re-zoned when the device's zone changed
};

// The thread's formatters by the name of the operation that builds them.
// Re-zoning changes the formatter in place, so a reference handed out earlier
// on this thread stays valid.
thread_local std::map<std::string, std::unique_ptr<DateFormatter>> formatters;

DateFormatter makeFormatter(const char* pattern, const TimeZone& zone) {
    DateFormatter formatter;
    formatter.setLocale(foundation::Locale(DateHelper::kLocaleIdentifier));
    formatter.setTimeZone(zone);
    formatter.setDateFormat(pattern);
    return formatter;
}

DateFormatter& cachedFormatter(const char* key, const char* pattern, Zone kind, const TimeZone& zone) {
    auto& slot = formatters[key];
    if (!slot) {
        slot = std::make_unique<DateFormatter>(makeFormatter(pattern, zone));
    } else if (kind != Zone::FixedAtCreation && !(slot->timeZone() == zone)) {
        slot->setTimeZone(zone);
    }
    return *slot;
}

// "+01:00" → 3600, "-03:30" → -12600: the minutes take the sign of the hours.
std::optional<TimeZone> zoneOfOffsetSuffix(const std::string& text) {
    if (text.size() < 6) return std::nullopt;
    const std::string offset = text.substr(text.size() - 6);
    const auto colon = offset.find(':');
    if (colon == std::string::npos) return std::nullopt;
    const int hours = foundation::NumberParsing::intValue(offset.substr(0, colon));
    const int minutes = foundation::NumberParsing::intValue(offset.substr(colon + 1));
    const int sign = offset[0] == '-' ? -1 : 1;
    return TimeZone::forSecondsFromGMT(hours * 3600 + sign * minutes * 60);
}

std::optional<std::string> firstSessionStart() {
    auto& settings = ApplicationSettingsStore::sharedApplicationSettingsStore();
    auto account = settings.currentAccount();
    auto event = settings.currentEvent();
    if (!account || !event) return std::nullopt;
    auto& store = StorageManager::sharedStorageManager();
    auto stack = store.getCoreDataStackForAuthToken(account->authenticationCode(), event->itemId());
    if (!stack) return std::nullopt;
    auto request = std::make_shared<coredata::FetchRequest>(QVACoreDataSession::kEntityName);
    request->setResultType(coredata::FetchRequestResultType::Dictionary);
    request->setPropertiesToFetch({"startDatetime"});
    request->setFetchLimit(1);
    auto rows = store.executeFetchRequestAndWait(request, stack->managedObjectContextMainQueue());
    if (rows.empty()) return std::nullopt;
    if (const auto* start = rows.front()["startDatetime"].string()) return *start;
    return std::nullopt;
}

}  // namespace

TimeZone DateHelper::currentMeetingTimeZone() {
    auto start = firstSessionStart();
    auto zone = start ? zoneOfOffsetSuffix(*start) : std::nullopt;
    return zone ? *zone : TimeZone::gmt();
}

DateFormatter& DateHelper::defaultDateFormatter() {
    return cachedFormatter("defaultDateFormatter", kServerDateFormat, Zone::FixedAtCreation, TimeZone::local());
}

DateFormatter& DateHelper::defaultDateFormatterWithTimezone() {
    return cachedFormatter("defaultDateFormatterWithTimezone", kServerDateFormat, Zone::Meeting,
                           currentMeetingTimeZone());
}

DateFormatter DateHelper::defaultDateFormatterWithTimezone(const TimeZone& zone) {
    return makeFormatter(kServerDateFormat, zone);
}

DateFormatter& DateHelper::programmeTitleDateFormatter() {
    return cachedFormatter("programmeTitleDateFormatter", "EEEE dd MMMM", Zone::FixedAtCreation, TimeZone::local());
}

DateFormatter& DateHelper::programmeTitleDateFormatterWithTimezone() {
    return cachedFormatter("programmeTitleDateFormatterWithTimezone", "EEEE dd MMMM", Zone::Meeting,
                           currentMeetingTimeZone());
}

DateFormatter& DateHelper::programmeTimeFormatter() {
    return cachedFormatter("programmeTimeFormatter", "HH:mm", Zone::Meeting, currentMeetingTimeZone());
}

DateFormatter& DateHelper::programmeSavedDateFormatter() {
    return cachedFormatter("programmeSavedDateFormatter", "yyyy-MM-dd", Zone::Meeting, currentMeetingTimeZone());
}

DateFormatter& DateHelper::messageDateFormatter() {
    return cachedFormatter("messageDateFormatter", kServerDateFormat, Zone::FixedAtCreation, TimeZone::gmt());
}

DateFormatter& DateHelper::messageSentTitleFormatter() {
    return cachedFormatter("messageSentTitleFormatter", "dd/MM/yyyy", Zone::Device, TimeZone::local());
}

DateFormatter& DateHelper::messageSentTimeFormatter() {
    return cachedFormatter("messageSentTimeFormatter", "HH:mm", Zone::Device, TimeZone::local());
}

DateFormatter& DateHelper::quovanaNotificationDateFormatter() {
    // Follows the meeting like the other meeting-zone formatters: kept at the
    // zone of its first use, it would read notification times of the next
    // meeting in the previous meeting's zone.
    return cachedFormatter("quovanaNotificationDateFormatter", "dd/MM/yyyy HH:mm:ss", Zone::Meeting,
                           currentMeetingTimeZone());
}

std::optional<Date> DateHelper::dateFromServer(const foundation::Value& object, bool withTimezone) {
    const auto* text = object.string();
    if (!text) return std::nullopt;
    auto& formatter = withTimezone ? defaultDateFormatterWithTimezone() : defaultDateFormatter();
    return formatter.dateFromString(*text);
}

std::string DateHelper::programmeTitleForDate(Date date, bool withTimezone) {
    auto& formatter = withTimezone ? programmeTitleDateFormatterWithTimezone() : programmeTitleDateFormatter();
    return formatter.stringFromDate(date);
}

std::optional<std::string> DateHelper::programmeTitleForDateString(const std::string& serverText) {
    auto date = dateFromServer(serverText, true);
    if (!date) return std::nullopt;
    return programmeTitleForDate(*date, true);
}

std::optional<std::string> DateHelper::programmeDayAndTimeForTimeInterval(const std::string& serverText,
                                                                          const std::string& displayTime) {
    auto title = programmeTitleForDateString(serverText);
    if (!title) return std::nullopt;
    return foundation::Format("%@, %@", *title, displayTime);
}

std::string DateHelper::programmeTimeForDate(Date date) { return programmeTimeFormatter().stringFromDate(date); }

std::optional<Date> DateHelper::programmeDateFromSavedString(const std::string& day) {
    return programmeSavedDateFormatter().dateFromString(day);
}

std::string DateHelper::feedbackPushDateStringFromDate(Date date) {
    return programmeSavedDateFormatter().stringFromDate(date);
}

std::optional<Date> DateHelper::quovanaNotificationDateFromString(const std::string& text) {
    return quovanaNotificationDateFormatter().dateFromString(text);
}

std::optional<std::string> DateHelper::messageSentTimeForDate(const std::string& serverText) {
    auto date = messageDateFormatter().dateFromString(serverText);
    if (!date) return std::nullopt;
    return messageSentTimeFormatter().stringFromDate(*date);
}

std::optional<std::string> DateHelper::messageSentTitleForDate(const std::string& serverText) {
    auto date = messageDateFormatter().dateFromString(serverText);
    if (!date) return std::nullopt;
    return messageSentTitleFormatter().stringFromDate(*date);
}

std::optional<Date> DateHelper::messageDateInDeviceTime(const std::string& serverText) {
    auto date = messageDateFormatter().dateFromString(serverText);
    if (!date) return std::nullopt;
    const std::string deviceText = defaultDateFormatterWithTimezone(TimeZone::local()).stringFromDate(*date);
    return defaultDateFormatterWithTimezone().dateFromString(deviceText);
}

Date DateHelper::dateToActivityLocalTime(Date date) {
    auto& formatter = defaultDateFormatterWithTimezone();
    if (auto back = formatter.dateFromString(formatter.stringFromDate(date))) return *back;
    return Date(std::floor(date.timeIntervalSinceReferenceDate()));
}

std::string DateHelper::dateStringToActivityLocalTime(Date date) {
    return defaultDateFormatterWithTimezone().stringFromDate(date);
}

bool DateHelper::isDateToday(Date date) {
    const foundation::Calendar calendar(currentMeetingTimeZone());
    const auto day = calendar.components(date);
    const auto today = calendar.components(dateToActivityLocalTime(Date::now()));
    return day.day == today.day && day.month == today.month && day.year == today.year && day.era == today.era;
}

bool DateHelper::isDateTodayInDeviceLocalTime(Date date) {
    const foundation::Calendar calendar(TimeZone::local());
    return calendar.startOfDay(date) == calendar.startOfDay(Date::now());
}
