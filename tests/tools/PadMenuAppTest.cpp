// The pad's first login through the app mode: after the loading screen's
// slide the split view's detail is the home pane with "Menu" on the left,
// and the button opens the master popover with the tab bar, whose More rows
// open their screens in the detail pane.
#include <gtest/gtest.h>

#include <string>

#include "tools/InProcessCommandTest.h"

namespace {

class PadMenuAppTest : public InProcessCommandTest {};

// The text of the dump printed after the command headed "== command ==".
std::string blockAfter(const std::string& out, const std::string& command) {
    const std::string heading = "== " + command + " ==\n";
    auto start = out.find(heading);
    if (start == std::string::npos) return {};
    start += heading.size();
    auto end = out.find("\n== ", start);
    return out.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

TEST_F(PadMenuAppTest, AFirstLoginInPortraitShowsTheHomePaneWithMenuAndItsPopover) {
    CommandRun result = run({"app", "--idiom", "pad", "--orientation", "portrait", "--clock", "2015-03-10T09:30:00Z"},
                            "type Username demo\n"
                            "type Password quovana-demo\n"
                            "tap row 1 0\n"
                            "advance 11\n"
                            "dump\n"
                            "tap item Menu\n");
    ASSERT_EQ(result.status, 0) << result.out << result.err;

    const std::string home = blockAfter(result.out, "dump");
    EXPECT_NE(home.find("window root=EventsSplitViewController"), std::string::npos) << home;
    EXPECT_NE(home.find("master-hidden"), std::string::npos) << home;
    EXPECT_NE(home.find("nav DetailsNavigationController\n        stack 0 SpotlightViewController \"Home\"\n"
                        "        bar \"Home\" left=[Menu on]"),
              std::string::npos)
        << home;
    EXPECT_EQ(home.find("popover"), std::string::npos) << home;

    const std::string menu = blockAfter(result.out, "tap item Menu");
    EXPECT_NE(menu.find("  popover EventsTabBarController\n    tab 0* SessionsListSegmentedNavigationController"),
              std::string::npos)
        << menu;
}

// A document of the information list comes over the list, with the way back
// to it, as on the phone; the list stays the pane's first screen.
TEST_F(PadMenuAppTest, ADocumentOfTheInformationListIsPushedOverIt) {
    ASSERT_EQ(run({"demo"}).status, 0);
    CommandRun app = run({"app", "--idiom", "pad", "--orientation", "portrait", "--clock", "2026-06-16T10:00:00+02:00"},
                         "tap item Menu\ntap tab 3\ntap row 0 1\ntap row 0 0\n");
    ASSERT_EQ(app.status, 0) << app.out;
    const std::string opened = blockAfter(app.out, "tap row 0 0");
    EXPECT_NE(opened.find("stack 0 DocumentsListViewController \"Information\"\n"
                          "        stack 1 DocumentDetailViewController \"Document details\"\n"
                          "        bar \"Document details\" back=\"Information\""),
              std::string::npos)
        << opened;
}

}  // namespace
