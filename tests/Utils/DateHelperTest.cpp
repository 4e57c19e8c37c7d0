// The date helper: the meeting zone read from the stored sessions and
// followed by every meeting-zone formatter, texts written in the service's
// offset form, device-zone message dates, "today" on the virtual clock, and
// one formatter per thread.
#include <gtest/gtest.h>

#include <thread>

#include "Utils/DateHelper.h"
#include "Utils/MeetingStoreTestSupport.h"
#include "foundation/Clock.h"

namespace meetingtest {
namespace {

using foundation::Date;
using foundation::Value;

const Date k0830Z(443521800);  // 2015-01-21 08:30:00 UTC

TEST_F(MeetingStoreTest, TheMeetingZoneComesFromTheStoredSessions) {
    EXPECT_EQ(DateHelper::currentMeetingTimeZone(), foundation::TimeZone::gmt());  // no account
    EXPECT_EQ(DateHelper::programmeTimeForDate(k0830Z), "08:30");

    openCurrent("plus1");
    insert("plus1", "QVACoreDataSession", {{{"itemId", "s1"}, {"startDatetime", "2015-01-21T10:00:00+01:00"}}});
    setDeviceZone("Asia/Tokyo");
    EXPECT_EQ(DateHelper::programmeTimeForDate(k0830Z), "09:30");
    setDeviceZone("America/Los_Angeles");
    EXPECT_EQ(DateHelper::programmeTitleForDateString("2015-01-20T23:30:00Z"), "Wednesday 21 January");
    EXPECT_EQ(DateHelper::programmeDayAndTimeForTimeInterval("2015-01-21T09:30:00+01:00", "09:30 - 10:00"),
              "Wednesday 21 January, 09:30 - 10:00");
    EXPECT_FALSE(DateHelper::programmeDayAndTimeForTimeInterval("soon", "09:30"));
    EXPECT_EQ(DateHelper::programmeDateFromSavedString("2015-01-21"), Date(443487600));  // midnight at +01:00
    EXPECT_EQ(DateHelper::feedbackPushDateStringFromDate(Date(443487600)), "2015-01-21");
    EXPECT_EQ(DateHelper::quovanaNotificationDateFromString("21/01/2015 09:30:00"), k0830Z);

    // Texts we write carry the service's offset form, so "starts now" compares
    // equal to the stored text.
    EXPECT_EQ(DateHelper::dateStringToActivityLocalTime(Date(443523600)), "2015-01-21T10:00:00+01:00");
    EXPECT_EQ(DateHelper::dateToActivityLocalTime(k0830Z.dateByAddingTimeInterval(0.9)), k0830Z);

    // Another meeting: every meeting-zone formatter follows, the notification one too.
    openCurrent("minus", "43");
    insert("minus", "QVACoreDataSession", {{{"itemId", "s1"}, {"startDatetime", "2015-01-21T05:00:00-03:30"}}}, "43");
    EXPECT_EQ(DateHelper::currentMeetingTimeZone().fixedSecondsFromGMT(), -12600);
    EXPECT_EQ(DateHelper::programmeTimeForDate(k0830Z), "05:00");
    EXPECT_EQ(DateHelper::quovanaNotificationDateFromString("21/01/2015 05:00:00"), k0830Z);
    EXPECT_EQ(DateHelper::dateStringToActivityLocalTime(k0830Z), "2015-01-21T05:00:00-03:30");
}

TEST_F(MeetingStoreTest, ServiceTextsParseWhateverTheFlagAndMessagesShowInTheDeviceZone) {
    openCurrent("msg");
    insert("msg", "QVACoreDataSession", {{{"itemId", "s1"}, {"startDatetime", "2015-01-21T10:00:00+01:00"}}});
    for (bool meeting : {true, false}) {
        EXPECT_EQ(DateHelper::dateFromServer("2015-01-21T09:30:00+01:00", meeting), k0830Z);
        EXPECT_EQ(DateHelper::dateFromServer("2015-01-21T08:30:00Z", meeting), k0830Z);
        EXPECT_FALSE(DateHelper::dateFromServer(Value(443521800), meeting));
        EXPECT_FALSE(DateHelper::dateFromServer("21/01/2015", meeting));
    }

    // The device's zone is followed as it changes.
    EXPECT_EQ(DateHelper::messageSentTitleForDate("2015-01-21T20:30:00+00:00"), "21/01/2015");
    setDeviceZone("Asia/Tokyo");
    EXPECT_EQ(DateHelper::messageSentTimeForDate("2015-01-21T20:30:00+00:00"), "05:30");
    EXPECT_EQ(DateHelper::messageSentTitleForDate("2015-01-21T20:30:00+00:00"), "22/01/2015");
    setDeviceZone("America/New_York");
    EXPECT_FALSE(DateHelper::messageSentTimeForDate("later"));
    EXPECT_FALSE(DateHelper::messageDateInDeviceTime("later"));
    EXPECT_EQ(DateHelper::messageDateInDeviceTime("2015-01-21T09:30:00+01:00"), k0830Z);

    // 23:30 UTC on the 21st is already the 22nd at +01:00, still the 21st in New York.
    foundation::Clock::useVirtual(Date(443575800).timeIntervalSinceReferenceDate());
    EXPECT_TRUE(DateHelper::isDateToday(Date(443575800 + 600)));    // 00:40 on the 22nd, meeting time
    EXPECT_FALSE(DateHelper::isDateToday(Date(443575800 - 3600)));  // 23:30 on the 21st, meeting time
    EXPECT_TRUE(DateHelper::isDateTodayInDeviceLocalTime(Date(443575800 - 3600)));
    EXPECT_FALSE(DateHelper::isDateTodayInDeviceLocalTime(Date(443575800 + 86400)));
    foundation::Clock::useReal();
    EXPECT_EQ(DateHelper::todayDisplayString(), "Today");
}

TEST(DateHelper, EachThreadKeepsItsOwnFormatters) {
    auto* here = &DateHelper::messageDateFormatter();
    EXPECT_EQ(here, &DateHelper::messageDateFormatter());
    const foundation::DateFormatter* there = nullptr;
    std::thread([&] { there = &DateHelper::messageDateFormatter(); }).join();
    EXPECT_NE(here, there);
}

}  // namespace
}  // namespace meetingtest
