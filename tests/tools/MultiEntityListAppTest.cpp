// The tests' multi-entity list scene run by "quovana app" in-process over the
// demo meeting's agenda and sessions: opened from the gallery, searched for
// "jo" and back, with the sections by day and the search's one flat list
// read from the printed dumps.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "api/QVAApiManager.h"
#include "foundation/ApplicationHome.h"
#include "quovana/Cli.h"
#include "quovana/Gallery.h"
#include "service/MeetingGenerator.h"
#include "service/MeetingService.h"
#include "store/StorageManager.h"
#include "support/TemporaryDirectory.h"
#include "support/TestAgendaListViewController.h"
#include "tools/InProcessCommandTest.h"
#include "uikit/ScreenDriver.h"

namespace {

// The printed state after each command, by command.
std::vector<std::pair<std::string, std::string>> listBlocks(const std::string& out) {
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

// The quoted text after `marker` on each line whose first word is `word`
// and that holds `fragment`, in order.
std::vector<std::string> quotedAfter(const std::string& dump, const std::string& word, const std::string& marker,
                                     const std::string& fragment = "") {
    std::vector<std::string> found;
    std::istringstream stream(dump);
    for (std::string line; std::getline(stream, line);) {
        const size_t start = line.find_first_not_of(' ');
        if (start == std::string::npos || line.compare(start, word.size() + 1, word + " ") != 0) continue;
        if (line.find(fragment) == std::string::npos) continue;
        const size_t at = line.find(marker, start);
        if (at == std::string::npos) continue;
        const size_t open = at + marker.size();
        const size_t close = line.find('"', open);
        if (close != std::string::npos) found.push_back(line.substr(open, close - open));
    }
    return found;
}

// The section titles of the dump's tables, in order ("section 0 "2015-03-10"").
std::vector<std::string> sectionTitles(const std::string& dump) { return quotedAfter(dump, "section", " \""); }

// The texts of the list's rows, in order.
std::vector<std::string> rowTexts(const std::string& dump) {
    return quotedAfter(dump, "row", "text=\"", "testAgendaCell");
}

bool isDay(const std::string& text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') return false;
    for (size_t i : {0, 1, 2, 3, 5, 6, 8, 9})
        if (text[i] < '0' || text[i] > '9') return false;
    return true;
}

class MultiEntityListAppTest : public InProcessCommandTest {};

TEST_F(MultiEntityListAppTest, theDemoAgendaShowsByDayAndTheSearchForJoIsOneFlatListUntilTheSearchEnds) {
    // The demo meeting downloaded into the home, as the app's own local service serves it.
    {
        testservice::MeetingService service(testservice::generateMeeting({}));
        ASSERT_TRUE(service.start());
        const std::string root = service.rootURL();
        ASSERT_EQ(run({"--service", root, "login", testservice::kDemoUsername, testservice::kDemoPassword}).status, 0);
        CommandRun load = run({"--service", root, "load"});
        ASSERT_EQ(load.status, 0) << load.err;
    }
    TestAgendaListViewController::addScene(*quovana::registerGalleryStoryboard());

    CommandRun app = run({"app", "--gallery"}, "open testAgendaListIdentifier\nsearch jo\nend-search\n");
    ASSERT_EQ(app.status, 0) << app.out << app.err;
    auto printed = listBlocks(app.out);
    ASSERT_EQ(printed.size(), 4u) << app.out;

    const std::string& opened = printed[1].second;
    EXPECT_NE(opened.find("TestAgendaListViewController"), std::string::npos) << opened;
    const auto days = sectionTitles(opened);
    ASSERT_GE(days.size(), 2u) << opened;
    EXPECT_TRUE(std::is_sorted(days.begin(), days.end())) << opened;
    EXPECT_EQ(std::adjacent_find(days.begin(), days.end()), days.end()) << opened;
    for (const auto& title : days) EXPECT_TRUE(isDay(title)) << title;
    EXPECT_FALSE(rowTexts(opened).empty()) << opened;

    // The search begins on the last scope, the contributors' names, and
    // shows one untitled section without a header.
    const std::string& searched = printed[2].second;
    EXPECT_NE(searched.find("text=\"jo\" scopes=[Title][Contributors*] active"), std::string::npos) << searched;
    const size_t results = searched.find("table #searchResultsTableView plain sections=1 ");
    ASSERT_NE(results, std::string::npos) << searched;
    EXPECT_NE(searched.find("section 0 - header=0", results), std::string::npos) << searched;
    EXPECT_TRUE(sectionTitles(searched.substr(results)).empty()) << searched;
    EXPECT_FALSE(rowTexts(searched.substr(results)).empty()) << searched;
    EXPECT_EQ(sectionTitles(searched.substr(0, results)), days) << searched;

    const std::string& ended = printed[3].second;
    EXPECT_EQ(ended.find("searchResultsTableView"), std::string::npos) << ended;
    EXPECT_EQ(sectionTitles(ended), days) << ended;
}

}  // namespace
