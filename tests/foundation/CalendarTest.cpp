// Fixed and named time zones, and calendar arithmetic across a
// daylight-saving change.
#include <gtest/gtest.h>

#include <cmath>

#include "foundation/Calendar.h"
#include "foundation/TimeZone.h"

using namespace foundation;

TEST(TimeZone, FixedOffsetsAndNamedZones) {
    EXPECT_EQ(TimeZone::fromOffsetString("+01:00")->secondsFromGMT(Date()), 3600);
    EXPECT_EQ(TimeZone::fromOffsetString("-03:30")->fixedSecondsFromGMT(), -12600);
    EXPECT_EQ(TimeZone::fromOffsetString("+0545")->fixedSecondsFromGMT(), 20700);
    EXPECT_EQ(TimeZone::fromOffsetString("Z"), TimeZone::gmt());
    for (const char* bad : {"", "01:00", "+1:00", "+01:", "+01:7", "+01:75", "+99:00", "+01:00x"})
        EXPECT_FALSE(TimeZone::fromOffsetString(bad)) << bad;
    EXPECT_FALSE(TimeZone::forSecondsFromGMT(19 * 3600));

    EXPECT_EQ(TimeZone::forSecondsFromGMT(3600)->name(), "GMT+0100");
    EXPECT_EQ(TimeZone::forSecondsFromGMT(-12600)->name(), "GMT-0330");
    EXPECT_EQ(TimeZone::gmt().name(), "GMT");
    EXPECT_EQ(TimeZone::withName("GMT+01:00"), TimeZone::forSecondsFromGMT(3600));
    EXPECT_EQ(TimeZone::forSecondsFromGMT(3600)->abbreviation(Date()), "GMT+1");

    TimeZone brussels = *TimeZone::withName("Europe/Brussels");
    EXPECT_EQ(brussels.name(), "Europe/Brussels");
    EXPECT_FALSE(brussels.fixedSecondsFromGMT());
    EXPECT_EQ(brussels.secondsFromGMT(Date(443521800)), 3600);  // January
    EXPECT_EQ(brussels.secondsFromGMT(Date(449316000)), 7200);  // after the March change
    EXPECT_NE(brussels, *TimeZone::forSecondsFromGMT(3600));
    EXPECT_EQ(brussels, *TimeZone::withName("Europe/Brussels"));
    EXPECT_FALSE(TimeZone::withName("Nowhere/Atlantis"));
    EXPECT_FALSE(TimeZone::withName(""));

    TimeZone saved = TimeZone::local();
    TimeZone::setDefault(brussels);
    EXPECT_EQ(TimeZone::local(), brussels);
    TimeZone::setDefault(saved);
}

TEST(Calendar, ComponentsAndDatesInAZone) {
    Calendar brussels(*TimeZone::withName("Europe/Brussels"));
    DateComponents c = brussels.components(Date(443521800));  // 2015-01-21 09:30 there
    EXPECT_EQ(c.year, 2015);
    EXPECT_EQ(c.month, 1);
    EXPECT_EQ(c.day, 21);
    EXPECT_EQ(c.hour, 9);
    EXPECT_EQ(c.minute, 30);
    EXPECT_EQ(c.second, 0);
    EXPECT_EQ(c.weekday, 4);  // Wednesday
    EXPECT_EQ(c.era, 1);

    // Replacing the time of day keeps the day: 07:00 of 2015-01-21 in +01:00.
    c.hour = 7;
    c.minute = 0;
    EXPECT_EQ(brussels.dateFromComponents(c), Date(443512800));
    // Out-of-range fields carry over: 2015-01-32 is 2015-02-01.
    DateComponents overflow{1, 2015, 1, 32, 0, 0, 0, 0};
    EXPECT_EQ(Calendar(TimeZone::gmt()).components(*Calendar(TimeZone::gmt()).dateFromComponents(overflow)).month, 2);

    // The March change makes 2015-03-29 23 hours long in Brussels.
    Date saturdayNoon(449233200);
    EXPECT_EQ(brussels.dateByAddingDays(1, saturdayNoon), Date(449316000));
    EXPECT_EQ(brussels.dateByAddingDays(-1, Date(449316000)), saturdayNoon);
    EXPECT_EQ(brussels.startOfDay(Date(449316000)), Date(449276400));
    // Where midnight is skipped, the day starts at 01:00.
    Calendar saoPaulo(*TimeZone::withName("America/Sao_Paulo"));
    EXPECT_EQ(saoPaulo.startOfDay(Date(563032800)), Date(562993200));

    Calendar fixed(*TimeZone::forSecondsFromGMT(-12600));
    EXPECT_EQ(fixed.startOfDay(Date(443521800)), Date(443521800 - 5 * 3600));
    Date invalid(std::nan(""));
    EXPECT_EQ(fixed.components(invalid), DateComponents{});
    EXPECT_TRUE(std::isnan(fixed.startOfDay(invalid).timeIntervalSinceReferenceDate()));
}
