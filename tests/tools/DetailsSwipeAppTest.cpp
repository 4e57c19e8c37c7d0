// The tests' details list and details scenes run by "quovana app" in-process:
// a row opened, three left swipes and a right one, with the shown id, the
// hint and the corner read from the dump printed after each step.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "lists/DetailsScreenSupport.h"
#include "quovana/Gallery.h"
#include "settings/ApplicationSettingsStore.h"
#include "support/TestDetailsScenes.h"
#include "tools/InProcessCommandTest.h"
#include "foundation/StringUtils.h"

namespace {

// The printed state after each command, by command.
std::vector<std::pair<std::string, std::string>> swipeBlocks(const std::string& out) {
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

using foundation::StringUtils::contains;

class DetailsSwipeAppTest : public InProcessCommandTest {};

TEST_F(DetailsSwipeAppTest, swipesStepThroughTheListsRowsAndTheHintGoesAfterTheFirstWhileTheCornerStays) {
    TestDetailsScenes::addScenes(*quovana::registerGalleryStoryboard());
    DetailsScreenSupport::registerObjectHandOver();

    CommandRun app = run({"app", "--gallery"},
                         "open testDetailsList\ntap row 0 0\nswipe left\nswipe left\nswipe left\nswipe right\n");
    ASSERT_EQ(app.status, 0) << app.out << app.err;
    auto printed = swipeBlocks(app.out);
    ASSERT_EQ(printed.size(), 7u) << app.out;
    EXPECT_TRUE(contains(printed[1].second, "TestDetailsListViewController")) << printed[1].second;

    const std::vector<std::string> ids = {"1", "2", "3", "1", "3"};
    for (size_t step = 0; step < ids.size(); ++step) {
        const std::string& dump = printed[step + 2].second;
        EXPECT_TRUE(contains(dump, "TestDetailsViewController")) << dump;
        EXPECT_TRUE(contains(dump, "\"Details " + ids[step] + "\"")) << printed[step + 2].first << "\n" << dump;
        EXPECT_TRUE(contains(dump, "curled-corner.png")) << dump;
        // The hint shows on the first screen only.
        EXPECT_EQ(contains(dump, "<<  Swipe  >>"), step == 0) << printed[step + 2].first << "\n" << dump;
    }
    EXPECT_FALSE(ApplicationSettingsStore::sharedApplicationSettingsStore().showSwipeHintLabel());
}

TEST_F(DetailsSwipeAppTest, openWithAnObjectTheStoreDoesNotHoldIsAnErrorAndAListTakesNone) {
    TestDetailsScenes::addScenes(*quovana::registerGalleryStoryboard());
    DetailsScreenSupport::registerObjectHandOver();

    CommandRun app = run({"app", "--gallery"},
                         "open testDetailsScreen --object QVACoreDataOrganization 42\n"
                         "back\n"
                         "open testDetailsList --object QVACoreDataOrganization 42\n");
    auto printed = swipeBlocks(app.out);
    ASSERT_EQ(printed.size(), 4u) << app.out;
    // No store holds organisation 42: an empty details screen would look
    // like an object without data, so nothing opens.
    const std::string& opened = printed[1].second;
    EXPECT_TRUE(contains(opened, "error: no QVACoreDataOrganization 42 in the store")) << opened;
    EXPECT_FALSE(contains(opened, "screen TestDetailsViewController")) << opened;
    EXPECT_TRUE(contains(printed[3].second, "takes no object")) << printed[3].second;
    EXPECT_FALSE(contains(printed[3].second, "screen TestDetailsListViewController")) << printed[3].second;
}

}  // namespace
