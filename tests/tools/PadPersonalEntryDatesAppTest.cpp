// On the pad the personal-entry form comes in a popover with a navigation
// controller of its own: its dates row pushes the date screen there, and
// "Done" brings the chosen time back to the form.
#include <gtest/gtest.h>

#include <string>

#include "foundation/StringUtils.h"
#include "tools/InProcessCommandTest.h"

namespace {

using foundation::StringUtils::contains;

class PadPersonalEntryDatesAppTest : public InProcessCommandTest {};

TEST_F(PadPersonalEntryDatesAppTest, TheDatesRowPushesTheDateScreenInThePopoverAndDoneBringsTheTimeBack) {
    ASSERT_EQ(run({"demo"}).status, 0);
    const std::string script =
        "tap item Menu\ntap tab 0\nsegment 1\ntap item add_personal_entry.png\n"
        "tap row 0 0\ntap row 0 1\npick 2026-06-16T10:00:00+02:00\ntap item Done\n";
    CommandRun app = run({"app", "--idiom", "pad", "--orientation", "portrait", "--clock", "2026-06-16T09:30:00+02:00"},
                         script);
    EXPECT_EQ(app.status, 0) << app.out;
    const size_t dates = app.out.find("\n== tap row 0 0 ==");
    const size_t done = app.out.find("\n== tap item Done ==");
    ASSERT_NE(dates, std::string::npos);
    ASSERT_NE(done, std::string::npos);
    const std::string opened = app.out.substr(dates, done - dates);
    EXPECT_TRUE(contains(opened, "popover CustomNavigationController")) << opened;
    EXPECT_TRUE(contains(opened, "stack 1 ChangePersonalEntryDateViewController")) << opened;
    EXPECT_TRUE(contains(opened, "row 1 changeDateCellID h=44 text=\"Start time\"")) << opened;
    const std::string after = app.out.substr(done);
    EXPECT_FALSE(contains(after, "stack 1 ChangePersonalEntryDateViewController")) << after;
    EXPECT_TRUE(contains(after, "startTime=\"10:00\" endTime=\"10:30\"")) << after;
}

}  // namespace
