// On the pad a personal entry's "Edit", and My agenda's add button, open the
// form in a popover at the button, with its own bar: a tap outside leaves it
// up, and saving closes it and shows the entry as saved.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "foundation/StringUtils.h"
#include "tools/InProcessCommandTest.h"

namespace {

using foundation::StringUtils::contains;

class PadPersonalEntryEditAppTest : public InProcessCommandTest {
protected:
    // The printed state after the step `command`, up to the next step.
    static std::string stepOf(const std::string& out, const std::string& command) {
        const size_t start = out.find("\n== " + command + " ==");
        if (start == std::string::npos) return "";
        const size_t end = out.find("\n== ", start + 1);
        return out.substr(start, end == std::string::npos ? std::string::npos : end - start);
    }
};

TEST_F(PadPersonalEntryEditAppTest, EditOpensAPopoverThatATapOutsideKeepsAndSavingCloses) {
    ASSERT_EQ(run({"demo"}).status, 0);
    const std::string script =
        "tap item Menu\ntap tab 0\nsegment 1\ntap row 0 0\ntap item Edit\ntap at 100,900\n"
        "type subjectTextField \" (moved)\"\ntap item Save\n";
    CommandRun app = run({"app", "--idiom", "pad", "--orientation", "portrait", "--clock", "2026-06-16T10:00:00+02:00"},
                         script);
    EXPECT_EQ(app.status, 0) << app.out;
    const std::string opened = stepOf(app.out, "tap item Edit");
    EXPECT_TRUE(contains(opened, "popover CustomNavigationController")) << opened;
    EXPECT_TRUE(contains(opened, "stack 0 AddPersonalEntryViewController")) << opened;
    EXPECT_TRUE(contains(opened, "bar - left=[Cancel on] right=[Save on]")) << opened;
    EXPECT_TRUE(contains(opened, "text=\"Call with the office\"")) << opened;
    const std::string outside = stepOf(app.out, "tap at 100,900");
    EXPECT_TRUE(contains(outside, "popover CustomNavigationController")) << outside;
    const std::string saved = stepOf(app.out, "tap item Save");
    EXPECT_FALSE(contains(saved, "popover CustomNavigationController")) << saved;
    EXPECT_TRUE(contains(saved, "label #sessionName \"Call with the office (moved)\"")) << saved;
    EXPECT_TRUE(contains(saved, "event: Update personal entry")) << saved;
}

// In both orientations: the tab bar is behind "Menu" in portrait and beside
// the detail in landscape.
TEST_F(PadPersonalEntryEditAppTest, MyAgendasAddButtonOpensTheFormWithItsBarAndAddingCloses) {
    ASSERT_EQ(run({"demo"}).status, 0);
    for (const auto& [orientation, toTabs] : {std::pair{"portrait", "tap item Menu"}, {"landscape", "master"}}) {
        const std::string subject = std::string("Lunch in ") + orientation;
        const std::string script = std::string(toTabs) +
                                   "\ntap tab 0\nsegment 1\ntap item add_personal_entry.png\ntype Subject \"" +
                                   subject + "\"\ntap item Add entry\n";
        CommandRun app =
            run({"app", "--idiom", "pad", "--orientation", orientation, "--clock", "2026-06-16T10:00:00+02:00"}, script);
        EXPECT_EQ(app.status, 0) << app.out;
        const std::string opened = stepOf(app.out, "tap item add_personal_entry.png");
        EXPECT_TRUE(contains(opened, "popover CustomNavigationController")) << opened;
        EXPECT_TRUE(contains(opened, "bar - left=[Cancel on] right=[Add entry on]")) << opened;
        const std::string added = stepOf(app.out, "tap item Add entry");
        EXPECT_FALSE(contains(added, "popover CustomNavigationController")) << added;
        EXPECT_TRUE(contains(added, "event: Add personal entry")) << added;
    }
}

}  // namespace
