// Parsing the service's date-times in every offset spelling, strict rejection
// of garbage, and formatting in named and fixed zones. Instants are fixed
// values: nothing here reads the clock.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "foundation/DateFormatter.h"

using namespace foundation;

namespace {

constexpr const char* kServiceFormat = "yyyy'-'MM'-'dd'T'HH':'mm':'ssZZZ";
const Date kInstant(443521800);  // 2015-01-21 08:30:00 UTC, a Wednesday

DateFormatter formatter(const char* pattern, const TimeZone& zone) {
    DateFormatter f;
    f.setLocale(Locale("en_US"));
    f.setTimeZone(zone);
    f.setDateFormat(pattern);
    return f;
}

}  // namespace

TEST(DateFormatter, ServiceFormParsesEveryOffsetSpellingToTheSameInstant) {
    // The zone of the formatter must not matter: the text carries its offset.
    for (const char* zone : {"GMT", "Europe/Brussels", "America/New_York"}) {
        DateFormatter f = formatter(kServiceFormat, *TimeZone::withName(zone));
        EXPECT_EQ(f.dateFromString("2015-01-21T09:30:00+01:00"), kInstant) << zone;
        EXPECT_EQ(f.dateFromString("2015-01-21T09:30:00+0100"), kInstant) << zone;
        EXPECT_EQ(f.dateFromString("2015-01-21T08:30:00Z"), kInstant) << zone;
        EXPECT_EQ(f.dateFromString("2015-01-21T05:00:00-03:30"), kInstant) << zone;
    }
    DateFormatter meeting = formatter(kServiceFormat, *TimeZone::forSecondsFromGMT(3600));
    EXPECT_EQ(meeting.stringFromDate(kInstant), "2015-01-21T09:30:00+0100");
    // Written and read back, an instant loses only its fraction of a second.
    EXPECT_EQ(meeting.dateFromString(meeting.stringFromDate(kInstant.dateByAddingTimeInterval(0.75))), kInstant);
}

TEST(DateFormatter, GarbageAndImpossibleDatesParseToNothing) {
    DateFormatter f = formatter(kServiceFormat, TimeZone::gmt());
    for (const char* text : {"", "garbage", "2015-01-21", "2015-02-30T08:30:00Z", "2015-01-21T25:30:00Z",
                             "2015-01-21T08:30:00+0000 trailing", "2015-01-21T08:30:00+01:", "\xff\xfe\x80"})
        EXPECT_FALSE(f.dateFromString(text)) << text;
    EXPECT_FALSE(f.dateFromString(std::string(100000, '9')));

    DateFormatter none;
    EXPECT_EQ(none.stringFromDate(kInstant), "");
    EXPECT_FALSE(none.dateFromString("2015-01-21"));
    EXPECT_EQ(f.stringFromDate(Date(std::numeric_limits<double>::quiet_NaN())), "");
}

TEST(DateFormatter, FormatsInNamedAndFixedZones) {
    TimeZone brussels = *TimeZone::withName("Europe/Brussels");
    EXPECT_EQ(formatter("HH:mm", brussels).stringFromDate(kInstant), "09:30");
    EXPECT_EQ(formatter("EEEE d MMMM", brussels).stringFromDate(kInstant), "Wednesday 21 January");
    EXPECT_EQ(formatter("EEEE dd MMMM", TimeZone::gmt()).stringFromDate(Date(441763200)), "Thursday 01 January");
    // Summer time in the named zone.
    EXPECT_EQ(formatter("HH:mm", brussels).stringFromDate(Date(449316000)), "12:00");

    TimeZone behind = *TimeZone::forSecondsFromGMT(-12600);
    EXPECT_EQ(formatter("HH:mm", behind).stringFromDate(kInstant), "05:00");
    // 23:00 UTC is already the next day in +05:45.
    TimeZone ahead = *TimeZone::forSecondsFromGMT(20700);
    EXPECT_EQ(formatter("yyyy-MM-dd", ahead).stringFromDate(Date(443487600)), "2015-01-21");
    EXPECT_EQ(formatter("dd/MM/yyyy", TimeZone::gmt()).stringFromDate(Date(443487600)), "20/01/2015");
}

TEST(DateFormatter, SettersRebuildAndDayStringsReadAsMidnightOfTheZone) {
    DateFormatter f = formatter("yyyy-MM-dd", *TimeZone::forSecondsFromGMT(3600));
    EXPECT_EQ(f.dateFromString("2015-01-21"), Date(443487600));  // 2015-01-20 23:00 UTC
    f.setTimeZone(TimeZone::gmt());
    EXPECT_EQ(f.dateFromString("2015-01-21"), Date(443491200));
    f.setDateFormat("dd/MM/yyyy HH:mm:ss");
    EXPECT_EQ(f.dateFromString("21/01/2015 08:30:00"), kInstant);
    f.setLocale(Locale("fr_FR"));
    f.setDateFormat("EEEE");
    EXPECT_EQ(f.stringFromDate(kInstant), "mercredi");
    EXPECT_EQ(f.dateFormat(), "EEEE");
}
