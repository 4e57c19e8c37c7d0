// The maps service's clears: the in-memory clear waits for a parse run in
// progress instead of racing it, leaves the collection switch lowered and
// the loaded flag down, and keeps the files; the logout clear deletes every
// meeting's map files as well.
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <future>

#include "Utils/Utils.h"
#include "foundation/RunLoop.h"
#include "maps/InteractiveMapsServices.h"
#include "settings/ApplicationSettingsStore.h"

namespace {

constexpr double kClearWait = 10;

class InteractiveMapsClearTest : public ::testing::Test {
protected:
    InteractiveMapsServices& maps = InteractiveMapsServices::instance();
    ApplicationSettingsStore& settings = ApplicationSettingsStore::sharedApplicationSettingsStore();

    void TearDown() override {
        clearAndWait();
        std::filesystem::remove_all(Utils::cacheImapsDirectory());
    }

    void clearAndWait(bool files = false) {
        bool done = false;
        auto completion = [&] { done = true; };
        if (files)
            maps.clearAllImapsResourcesAndDataOnLogoutOrSwitchUser(completion);
        else
            maps.clearInMemoryResources(completion);
        ASSERT_TRUE(foundation::RunLoop::main().runUntil([&] { return done; }, kClearWait));
    }

    std::string mapFile(const std::string& token, const std::string& event) {
        auto path = Utils::cacheImapsUrlStringForFileName("floor.svg", token, event).value();
        std::ofstream(path) << "<svg/>";
        return path;
    }
};

TEST_F(InteractiveMapsClearTest, AClearDuringAParseRunWaitsForItsEndAndEmptiesWhatItStored) {
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    std::atomic<bool> parsing{false};
    InteractiveMapsServices::parseQueue()->async([&, released] {
        maps.parseFloorPlans({{"F1", "f1.svg"}}, [&](const InteractiveMapsServices::FloorPlanFile&) {
            parsing = true;
            released.wait();
            maps.nodeAtPosition({1, 2}, std::string("R1"));
        });
    });
    ASSERT_TRUE(foundation::RunLoop::main().runUntil([&] { return parsing.load(); }, kClearWait));

    bool cleared = false;
    maps.clearInMemoryResources([&] { cleared = true; });
    release.set_value();
    ASSERT_TRUE(foundation::RunLoop::main().runUntil([&] { return cleared; }, kClearWait));
    // Had it run under the run, the node stored after it would be left.
    EXPECT_TRUE(maps.intersectionPointsArray().empty());
    EXPECT_FALSE(maps.currentFloorIdentifier());
    EXPECT_EQ(maps.generateNextIdForPoint(), "1");
}

TEST_F(InteractiveMapsClearTest, TheClearLeavesTheSwitchLoweredAndTheFilesInPlace) {
    const std::string file = mapFile("tok", "42");
    maps.setShouldConstructIntersectionPointsAndGraph(true);
    maps.setCurrentFloorIdentifier(std::string("F9"));
    settings.setCurrentEventHasIMapsLoadedInMemory(true);
    clearAndWait();
    EXPECT_FALSE(maps.shouldConstructIntersectionPointsAndGraph());
    EXPECT_FALSE(settings.currentEventHasIMapsLoadedInMemory());
    EXPECT_TRUE(std::filesystem::exists(file));
}

TEST_F(InteractiveMapsClearTest, TheLogoutClearDeletesEveryMeetingsMapFiles) {
    const std::string first = mapFile("tok", "42");
    const std::string second = mapFile("other", "7");
    maps.intersectionPointsArray().push_back(std::make_shared<IntersectionPoint>());
    clearAndWait(true);
    EXPECT_FALSE(std::filesystem::exists(first));
    EXPECT_FALSE(std::filesystem::exists(second));
    EXPECT_FALSE(std::filesystem::exists(Utils::cacheImapsDirectory()));
    EXPECT_TRUE(maps.intersectionPointsArray().empty());
    // Nothing to delete is no failure.
    clearAndWait(true);
}

}  // namespace
