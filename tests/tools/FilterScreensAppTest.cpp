// The filter screens run by "quovana app" in-process over the demo meeting's
// participants, on the tests' list scene opened with its filters at their
// defaults: the filter header opens the filters screen, a country is picked
// on the values screen and applied, and the list shows "Filter: <country>"
// over the participants of that country only; "Clear filters" then brings
// back the whole list without a header.
#include <gtest/gtest.h>

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
#include "support/TestParticipantsList.h"
#include "tools/InProcessCommandTest.h"
#include "uikit/ScreenDriver.h"

namespace {

constexpr const char* kFilteredScene = "testFilteredParticipantsList";

std::vector<std::pair<std::string, std::string>> filterBlocks(const std::string& out) {
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

// The quoted text after `marker` on each line holding `fragment`, in order.
std::vector<std::string> quoted(const std::string& dump, const std::string& fragment, const std::string& marker) {
    std::vector<std::string> found;
    std::istringstream stream(dump);
    for (std::string line; std::getline(stream, line);) {
        if (line.find(fragment) == std::string::npos) continue;
        const size_t at = line.find(marker);
        if (at == std::string::npos) continue;
        const size_t open = at + marker.size();
        const size_t close = line.find('"', open);
        if (close != std::string::npos) found.push_back(line.substr(open, close - open));
    }
    return found;
}

// The tests' list, opened with its filters set at their defaults, so that
// the "Filter: " header is there to be tapped.
class FilteredParticipantsList : public TestParticipantsListViewController {
public:
    void viewDidLoad() override {
        TestParticipantsListViewController::viewDidLoad();
        setFiltersArray(getFilterCollection());
    }
};

void registerFilteredScene(uikit::UIStoryboard& storyboard) {
    TestParticipantsList::registerScene(storyboard);
    storyboard.addScene(kFilteredScene, [](uikit::UIStoryboard&) { return std::make_shared<FilteredParticipantsList>(); });
    uikit::UIStoryboardSegueDefinition segue;
    segue.identifier = TestParticipantsList::kFiltersSegue;
    segue.kind = uikit::UIStoryboardSegueKind::Modal;
    segue.destination = FilterScreenScenes::kFiltersNavigationScene;
    storyboard.addSegue(kFilteredScene, segue);
}

class FilterScreensAppTest : public InProcessCommandTest {};

TEST_F(FilterScreensAppTest, ACountryPickedOnTheValuesScreenAndAppliedNarrowsTheListUnderItsHeader) {
    {
        testservice::MeetingService service(
            testservice::generateMeeting({.seed = 7, .sessions = 12, .participants = 40, .days = 2}));
        ASSERT_TRUE(service.start());
        const std::string root = service.rootURL();
        ASSERT_EQ(run({"--service", root, "login", testservice::kDemoUsername, testservice::kDemoPassword}).status, 0);
        CommandRun load = run({"--service", root, "load"});
        ASSERT_EQ(load.status, 0) << load.err;
    }
    registerFilteredScene(*quovana::registerGalleryStoryboard());

    // The header lies at the top of the list's table, under the bar and the search bar.
    CommandRun app = run({"app", "--gallery"}, std::string("open ") + kFilteredScene +
                                                   "\ntap at 180,120\ntap row 1 0\ntap row 0 1\ntap item Apply"
                                                   "\ntap at 180,120\ntap row 0 0\n");
    ASSERT_EQ(app.status, 0) << app.out << app.err;
    auto printed = filterBlocks(app.out);
    ASSERT_EQ(printed.size(), 8u) << app.out;

    const std::string& opened = printed[1].second;
    EXPECT_NE(opened.find("Filter: "), std::string::npos) << opened;
    const auto allRows = quoted(opened, "participantCellID", "text=\"");
    ASSERT_FALSE(allRows.empty()) << opened;

    const std::string& filters = printed[2].second;
    EXPECT_NE(filters.find("FiltersTableViewController \"Filters\""), std::string::npos) << filters;
    EXPECT_NE(filters.find("text=\"Clear filters\""), std::string::npos) << filters;

    const std::string& values = printed[3].second;
    EXPECT_NE(values.find("SelectFilterTableViewController"), std::string::npos) << values;
    const auto offered = quoted(values, "selectFilterSegID", "text=\"");
    ASSERT_GE(offered.size(), 2u) << values;
    const std::string country = offered[1];

    const std::string& picked = printed[4].second;
    EXPECT_NE(picked.find("text=\"" + country + "\""), std::string::npos) << picked;

    const std::string& applied = printed[5].second;
    EXPECT_NE(applied.find("Filter: " + country), std::string::npos) << applied;
    EXPECT_EQ(applied.find("FiltersTableViewController"), std::string::npos) << applied;
    const auto narrowed = quoted(applied, "participantCellID", "text=\"");
    EXPECT_FALSE(narrowed.empty()) << applied;
    EXPECT_LT(narrowed.size(), allRows.size()) << applied;

    // "Clear filters" from the header: straight back to the whole list, without a header.
    const std::string& cleared = printed[7].second;
    EXPECT_EQ(cleared.find("FiltersTableViewController"), std::string::npos) << cleared;
    EXPECT_EQ(cleared.find("SelectFilterTableViewController"), std::string::npos) << cleared;
    EXPECT_EQ(cleared.find("Filter:"), std::string::npos) << cleared;
    EXPECT_EQ(quoted(cleared, "participantCellID", "text=\""), allRows) << cleared;
}

}  // namespace
