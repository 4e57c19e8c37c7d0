#include <gtest/gtest.h>

#include "api/LoadingScreenHook.h"
#include "api/MapFilesHook.h"
#include "api/MessagesBadgeHook.h"

namespace {

// A service run without the screens (the command-line tool, the core tests)
// finds every hook empty, and removing what a shell installed brings it back
// to that state: nothing is called, nothing is found.
TEST(ServiceHooksTest, withNothingInstalledOrWhatWasInstalledRemovedEachHookFindsNothingAndCallsNothing) {
    int calls = 0;
    LoadingScreenHook::setLoader([&](const auto&, const auto&) { ++calls; });
    MessagesBadgeHook::setFinder([&] { return MessagesBadgeHook::Recount([&] { ++calls; }); });
    MapFilesHook::install({[&](const auto&, const auto&) { ++calls; return MapFilesHook::Links{}; },
                           [&](const auto&, const auto&) { ++calls; }});
    LoadingScreenHook::setLoader({});
    MessagesBadgeHook::setFinder({});
    MapFilesHook::install({});

    EXPECT_FALSE(LoadingScreenHook::presentLoadingScreen(nullptr, "e1"));
    EXPECT_FALSE(MessagesBadgeHook::badgeRecount());
    EXPECT_TRUE(MapFilesHook::links("code", "e1").empty());
    MapFilesHook::renewFiles("code", std::nullopt);
    EXPECT_EQ(calls, 0);
}

}  // namespace
