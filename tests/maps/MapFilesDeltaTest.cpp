// The maps service's downloads that the delta update relies on: a failed
// file leaves the maps never updated, and old maps are fetched again by the
// delta run, once.
#include <gtest/gtest.h>

#include <cmath>

#include "Utils/Utils.h"
#include "api/DeltaUpdateEngineFixture.h"
#include "api/QVAApiManagerRefresh.h"
#include "foundation/FileManager.h"
#include "maps/InteractiveMapsServices.h"
#include "model/QVAImapsLinksModel.h"

namespace {

using apitest::DeltaUpdateEngineTest;
using foundation::Date;

TEST_F(DeltaUpdateEngineTest, MapFilesAreDownloadedAndSilentlyRenewedWhenOld) {
    auto& maps = InteractiveMapsServices::instance();
    bool venues = false;
    QVAApiManagerRefresh::refreshVenuesForEventId(eventId(), token(), [&](const auto& error, const auto&) {
        EXPECT_EQ(error, nullptr);
        venues = true;
    });
    ASSERT_TRUE(loop.runUntil([&] { return venues; }, apitest::kWait));
    const auto links = maps.getAllImapsLinksModelArrayForAuthCode(token(), eventId());
    ASSERT_FALSE(links.empty());
    auto mapRequests = [&] { return requested("/files/maps/").size(); };
    auto downloading = [&] { return settings.currentEventIsDownloadingOrParsingIMaps(); };

    // One file fails: the download fails, the maps count as never updated.
    const std::string firstFile = links.front()->hrefString().value_or("").substr(service->baseURL().size());
    service->injectFault("GET", firstFile, {.status = 404, .times = 1});
    std::optional<foundation::ErrorPtr> result;
    maps.downloadAndParseInteractiveMapsForAuthCode(token(), eventId(), [&](const auto& error) { result = error; });
    ASSERT_TRUE(loop.runUntil([&] { return result.has_value(); }, apitest::kWait));
    EXPECT_NE(*result, nullptr);
    EXPECT_FALSE(downloading());
    EXPECT_EQ(settings.lastUpdateTimeInteractiveMaps()->timeIntervalSince1970(), 100);

    result.reset();
    maps.downloadAndParseInteractiveMapsForAuthCode(token(), eventId(), [&](const auto& error) { result = error; });
    ASSERT_TRUE(loop.runUntil([&] { return result.has_value(); }, apitest::kWait));
    EXPECT_EQ(*result, nullptr);
    EXPECT_FALSE(downloading());
    EXPECT_LT(std::abs(settings.lastUpdateTimeInteractiveMaps()->timeIntervalSinceNow()), 60);
    for (const auto& link : links) {
        auto path = Utils::cacheImapsUrlStringForFileName(*link->relString(), token(), eventId());
        EXPECT_TRUE(foundation::FileManager::defaultManager().fileExistsAtPath(*path));
    }

    // Recent maps, or maps never updated, are left alone.
    const size_t before = mapRequests();
    foundation::ScopedLogCapture log;
    maps.updateInteractiveMapsFilesOnlyForAuthCode(token(), eventId());
    settings.setLastUpdateTimeInteractiveMaps(Date::fromTimeIntervalSince1970(100));
    maps.updateInteractiveMapsFilesOnlyForAuthCode(token(), eventId());
    EXPECT_FALSE(downloading());
    EXPECT_FALSE(apitest::logged(log, "IMAPS SILENT UPDATE CALLED ON DELTA UPDATES"));

    // Old maps are fetched again by the delta run, once.
    const Date old = Date::now().dateByAddingTimeInterval(-7201);
    settings.setLastUpdateTimeInteractiveMaps(old);
    ASSERT_EQ(runDelta().error, nullptr);
    ASSERT_TRUE(loop.runUntil([&] { return !downloading(); }, apitest::kWait));
    EXPECT_TRUE(apitest::logged(log, "IMAPS SILENT UPDATE CALLED ON DELTA UPDATES"));
    EXPECT_EQ(mapRequests(), before + links.size());
    EXPECT_LT(std::abs(settings.lastUpdateTimeInteractiveMaps()->timeIntervalSinceNow()), 60);
}

}  // namespace
