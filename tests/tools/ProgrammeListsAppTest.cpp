// The sessions tab run by "quovana app" in process over the generated demo
// meeting (15 to 18 June 2026), on its second day: the Programme's toolbar
// and hour sections, My agenda's bar, the arrows up to the last day, a
// session detail swiped on to the day's second row, and a search over every
// day while the toolbar keeps its day.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "InProcessCommandTest.h"
#include "service/MeetingGenerator.h"
#include "service/MeetingService.h"

namespace {

// The printed state after each command, by command.
std::vector<std::pair<std::string, std::string>> programmeBlocks(const std::string& out) {
    std::vector<std::pair<std::string, std::string>> found;
    std::istringstream stream(out);
    for (std::string line; std::getline(stream, line);) {
        if (line.rfind("== ", 0) == 0 && line.size() > 6 && line.substr(line.size() - 3) == " ==")
            found.push_back({line.substr(3, line.size() - 6), {}});
        else if (!found.empty())
            found.back().second += line + "\n";
    }
    return found;
}

class ProgrammeListsAppTest : public InProcessCommandTest {};

TEST_F(ProgrammeListsAppTest, TheSessionsTabPagesItsDaysSwipesItsDetailsAndSearchesEveryDay) {
    {
        testservice::MeetingService service(testservice::generateMeeting({}));
        ASSERT_TRUE(service.start());
        const std::string root = service.rootURL();
        ASSERT_EQ(run({"--service", root, "login", testservice::kDemoUsername, testservice::kDemoPassword}).status, 0);
        CommandRun load = run({"--service", root, "load"});
        ASSERT_EQ(load.status, 0) << load.err;
    }
    CommandRun app = run({"app", "--clock", "2026-06-16T09:30:00+02:00"},
                         "tap tab 1\nsegment 1\nsegment 0\ntap item right_arrow.png\ntap item right_arrow.png\n"
                         "tap item right_arrow.png\ntap row 0 0\nswipe left\nback\nsearch Climate\n");
    ASSERT_EQ(app.status, 0) << app.out << app.err;
    auto printed = programmeBlocks(app.out);
    ASSERT_EQ(printed.size(), 11u) << app.out;

    const std::string& programme = printed[1].second;
    EXPECT_NE(programme.find("toolbar #titleToolbar [left_arrow.png on][Today on][right_arrow.png on]"),
              std::string::npos) << programme;
    EXPECT_NE(programme.find("section 0 \"08:00\""), std::string::npos) << programme;
    EXPECT_NE(programme.find("section 1 \"09:00\""), std::string::npos) << programme;
    EXPECT_NE(printed[2].second.find("right=[add_personal_entry.png on][sync_agenda.png on]"), std::string::npos)
        << printed[2].second;
    EXPECT_NE(printed[3].second.find("search-bar #searchBar placeholder=\"Search in programme\""), std::string::npos)
        << printed[3].second;
    EXPECT_NE(printed[4].second.find("[Wednesday 17 June on]"), std::string::npos) << printed[4].second;
    EXPECT_NE(printed[5].second.find("[Thursday 18 June on][right_arrow.png off]"), std::string::npos)
        << printed[5].second;
    EXPECT_NE(printed[6].second.find("[Thursday 18 June on][right_arrow.png off]"), std::string::npos)
        << printed[6].second;

    const std::string& detail = printed[7].second;
    EXPECT_NE(detail.find("screen ProgrammeDetailsViewController"), std::string::npos) << detail;
    EXPECT_NE(detail.find("isSwipeEnabled=\"YES\""), std::string::npos) << detail;
    EXPECT_NE(detail.find("parentController=\"ListSessionsBaseViewController\""), std::string::npos) << detail;
    EXPECT_NE(detail.find("indexPathInParentController=\"0,0\""), std::string::npos) << detail;
    const std::string& swiped = printed[8].second;
    EXPECT_NE(swiped.find("indexPathInParentController=\"0,1\""), std::string::npos) << swiped;

    const std::string& searched = printed[10].second;
    const size_t results = searched.find("table #searchResultsTableView");
    ASSERT_NE(results, std::string::npos) << searched;
    EXPECT_NE(searched.find("[Thursday 18 June on]"), std::string::npos) << searched;
    for (const char* day : {"Monday 15 June, ", "Tuesday 16 June, "})
        EXPECT_NE(searched.find(day, results), std::string::npos) << day << "\n" << searched;
}

}  // namespace
