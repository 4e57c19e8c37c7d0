// The maps' memory on a change of meeting: the loaded flag comes down at
// once, while the collections are emptied on the parse queue only after a
// run that holds it, the main thread never waiting for that run.
#include <gtest/gtest.h>

#include <future>
#include <memory>

#include "maps/BeaconObject.h"
#include "maps/EdgeObject.h"
#include "maps/InteractiveMapsServices.h"
#include "settings/ApplicationSettingsStore.h"

namespace {

TEST(MeetingChangeClearTest, TheFlagFallsAtOnceAndTheCollectionsEmptyAfterTheRunningParse) {
    auto& maps = InteractiveMapsServices::instance();
    auto& settings = ApplicationSettingsStore::sharedApplicationSettingsStore();
    const auto& queue = InteractiveMapsServices::parseQueue();

    // A parse run in progress: it has filled the collections, raised the
    // switch, and holds the queue until released.
    std::promise<void> release;
    std::promise<void> running;
    auto released = release.get_future().share();
    size_t beaconsAtRunEnd = 0;
    queue->async([&maps, released, &running, &beaconsAtRunEnd] {
        maps.allBeaconsOnMap()["B1"] = std::make_shared<BeaconObject>();
        maps.edgesArray().push_back(std::make_shared<EdgeObject>());
        maps.setShouldConstructIntersectionPointsAndGraph(true);
        running.set_value();
        released.wait();
        beaconsAtRunEnd = maps.allBeaconsOnMap().size();
        maps.setShouldConstructIntersectionPointsAndGraph(false);
    });
    running.get_future().wait();
    settings.setCurrentEventHasIMapsLoadedInMemory(true);

    maps.clearInMemoryResourcesOnMeetingChange();  // returns while the run holds the queue
    EXPECT_FALSE(settings.currentEventHasIMapsLoadedInMemory());

    release.set_value();
    size_t beacons = 1, edges = 1;
    bool switchRaised = true;
    queue->sync([&] {
        beacons = maps.allBeaconsOnMap().size();
        edges = maps.edgesArray().size();
        switchRaised = maps.shouldConstructIntersectionPointsAndGraph();
    });
    EXPECT_EQ(beaconsAtRunEnd, 1u);  // the clear did not run under the parse
    EXPECT_EQ(beacons, 0u);
    EXPECT_EQ(edges, 0u);
    EXPECT_FALSE(switchRaised);
    EXPECT_FALSE(settings.currentEventHasIMapsLoadedInMemory());
}

}  // namespace
