// The iCalendar form: folding, escaping, date-times and durations as the
// standard has them, a written calendar reading back whole, and what the
// reader accepts from other programs or refuses.
#include <gtest/gtest.h>

#include <sstream>

#include "eventkit/ICalendar.h"

namespace {

using eventkit::ICalendar;
using eventkit::ICalendarDocument;
using foundation::Date;

std::vector<std::string> physicalLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find("\r\n", start);
        EXPECT_NE(end, std::string::npos) << "every line ends in CRLF";
        if (end == std::string::npos) break;
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

TEST(ICalendar, FoldsAt75OctetsWithoutSplittingCharacters) {
    // Two-octet and three-octet characters around every cut.
    std::string value;
    for (int i = 0; i < 40; ++i) value += "ä€x";
    const std::string line = "DESCRIPTION:" + value;
    const auto lines = physicalLines(ICalendar::foldLine(line));
    ASSERT_GT(lines.size(), 2u);
    std::string unfolded;
    for (size_t i = 0; i < lines.size(); ++i) {
        EXPECT_LE(lines[i].size(), 75u);
        if (i > 0) {
            ASSERT_EQ(lines[i][0], ' ');
            unfolded += lines[i].substr(1);
        } else {
            unfolded += lines[i];
        }
        // No line begins with a UTF-8 continuation byte.
        const size_t first = i > 0 ? 1 : 0;
        EXPECT_NE(static_cast<unsigned char>(lines[i][first]) & 0xC0, 0x80);
    }
    EXPECT_EQ(unfolded, line);
    EXPECT_EQ(ICalendar::foldLine(std::string(75, 'a')), std::string(75, 'a') + "\r\n");
}

TEST(ICalendar, EscapesTextAndFormatsTimesAndDurations) {
    EXPECT_EQ(ICalendar::escapeText("a,b;c\\d\ne\r\nf"), "a\\,b\\;c\\\\d\\ne\\nf");
    EXPECT_EQ(ICalendar::formatDateTime(Date::fromTimeIntervalSince1970(1421829000)), "20150121T083000Z");
    EXPECT_EQ(ICalendar::formatDuration(-1800), "-PT30M");
    EXPECT_EQ(ICalendar::formatDuration(0), "PT0S");
    EXPECT_EQ(ICalendar::formatDuration(-7200), "-PT2H");
    EXPECT_EQ(ICalendar::formatDuration(3605), "PT1H0M5S");
    EXPECT_EQ(ICalendar::formatDuration(90000), "P1DT1H");
    for (double seconds : {-1800.0, 0.0, -7200.0, 3605.0, 90000.0, 86400.0})
        EXPECT_EQ(ICalendar::parseDuration(ICalendar::formatDuration(seconds)), seconds);
    EXPECT_EQ(ICalendar::parseDuration("-P1W"), -604800.0);
    for (const char* bad : {"", "P", "PT", "P1DT", "-PT30", "PT5S1M", "P1W2D", "30M", "PT1234567890S"})
        EXPECT_FALSE(ICalendar::parseDuration(bad)) << bad;
}

TEST(ICalendar, WrittenCalendarReadsBackWhole) {
    ICalendarDocument document;
    document.calendarTitle = "Work, private; mine";
    document.calendarType = 1;
    document.allowsContentModifications = false;
    document.sourceIdentifier = "SRC-1";
    document.sourceTitle = "Exchange";
    document.sourceType = 1;
    const std::string longNotes = "Line one, with a comma;\nline two \\ with a backslash and a long tail " +
                                  std::string(200, 'z') + " — ünïcödé";
    document.events.push_back({"E-1", "Opening", "Summit - Hall A, Room 1", longNotes,
                               Date::fromTimeIntervalSince1970(1421829000), Date::fromTimeIntervalSince1970(1421832600),
                               {-1800}});
    document.events.push_back({"E-2", std::string(), std::nullopt, std::nullopt,
                               Date::fromTimeIntervalSince1970(1421900000), Date::fromTimeIntervalSince1970(1421900000),
                               {}});
    const std::string text = ICalendar::write(document, Date::fromTimeIntervalSince1970(1421800000));
    for (const auto& line : physicalLines(text)) EXPECT_LE(line.size(), 75u) << line;
    EXPECT_NE(text.find("TRIGGER:-PT30M\r\n"), std::string::npos);
    EXPECT_NE(text.find("DTSTART:20150121T083000Z\r\n"), std::string::npos);

    foundation::ErrorPtr error;
    auto read = ICalendar::read(text, &error);
    ASSERT_TRUE(read) << (error ? error->localizedDescription() : "");
    EXPECT_EQ(read->calendarTitle, document.calendarTitle);
    EXPECT_EQ(read->calendarType, 1);
    EXPECT_FALSE(read->allowsContentModifications);
    EXPECT_EQ(read->sourceIdentifier, "SRC-1");
    EXPECT_EQ(read->sourceType, 1);
    ASSERT_EQ(read->events.size(), 2u);
    const auto& first = read->events[0];
    EXPECT_EQ(first.uid, "E-1");
    EXPECT_EQ(first.summary, "Opening");
    EXPECT_EQ(first.location, "Summit - Hall A, Room 1");
    EXPECT_EQ(first.description, longNotes);
    EXPECT_EQ(first.start, document.events[0].start);
    EXPECT_EQ(first.end, document.events[0].end);
    EXPECT_EQ(first.alarmOffsets, std::vector<double>{-1800});
    EXPECT_EQ(read->events[1].summary, "");  // empty stays empty, absent stays absent
    EXPECT_FALSE(read->events[1].location);
}

TEST(ICalendar, ReadsWhatOtherProgramsWrite) {
    const std::string text =
        "BEGIN:VCALENDAR\nVERSION:2.0\nX-WR-CALNAME:Ho\n me\n"
        "BEGIN:VTIMEZONE\nTZID:X\nBEGIN:STANDARD\nDTSTART:19700101T000000\nEND:STANDARD\nEND:VTIMEZONE\n"
        "BEGIN:VEVENT\nUID:a\nDTSTART;VALUE=DATE:20150121\nSUMMARY;LANGUAGE=en:Day\\, off\n"
        "BEGIN:VALARM\nTRIGGER;RELATED=END:-PT1H\nEND:VALARM\nEND:VEVENT\n"
        "BEGIN:VEVENT\nUID:b\nDTSTART:20150121T080000\nDURATION:PT45M\n"
        "BEGIN:VALARM\nTRIGGER;VALUE=DATE-TIME:20150121T074500Z\nEND:VALARM\nEND:VEVENT\n"
        "BEGIN:VEVENT\nUID:no-start\nSUMMARY:skipped\nEND:VEVENT\n"
        "BEGIN:VTODO\nSUMMARY:not an event\nEND:VTODO\n"
        "END:VCALENDAR\n";
    auto read = ICalendar::read(text);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->calendarTitle, "Home");
    ASSERT_EQ(read->events.size(), 2u);
    const double day = Date::fromTimeIntervalSince1970(1421798400).timeIntervalSinceReferenceDate();
    EXPECT_EQ(read->events[0].summary, "Day, off");
    EXPECT_EQ(read->events[0].start.timeIntervalSinceReferenceDate(), day);
    EXPECT_EQ(read->events[0].end.timeIntervalSinceDate(read->events[0].start), 86400);  // a whole day
    EXPECT_EQ(read->events[0].alarmOffsets, std::vector<double>{86400 - 3600});
    EXPECT_EQ(read->events[1].end.timeIntervalSinceDate(read->events[1].start), 2700);
    EXPECT_EQ(read->events[1].alarmOffsets, std::vector<double>{-900});
}

TEST(ICalendar, RefusesTextThatIsNotOneCalendar) {
    const char* bad[] = {
        "",
        "hello",
        "BEGIN:VEVENT\r\nEND:VEVENT\r\n",
        "BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nEND:VCALENDAR\r\n",
        "BEGIN:VCALENDAR\r\n",
        "BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nDTSTART:20151321T000000Z\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n",
        "BEGIN:VCALENDAR\r\nX;P=\"unclosed:v\r\nEND:VCALENDAR\r\n",
        "BEGIN:VCALENDAR\r\nno colon here\r\nEND:VCALENDAR\r\n",
    };
    for (const char* text : bad) {
        foundation::ErrorPtr error;
        EXPECT_FALSE(ICalendar::read(text, &error)) << text;
        EXPECT_NE(error, nullptr) << text;
    }
    std::string deep = "BEGIN:VCALENDAR\r\n";
    for (int i = 0; i < 100; ++i) deep += "BEGIN:X\r\n";
    EXPECT_FALSE(ICalendar::read(deep));
}

}  // namespace
