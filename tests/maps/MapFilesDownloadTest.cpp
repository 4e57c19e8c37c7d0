// The map files of a meeting through the API client, with the maps service
// naming them: a failed map file (a page answered in its place included)
// never replaces a working one and a bad
// link still lets the map download complete, and a plan fetched at launch
// goes with the account's token.
#include "Utils/Utils.h"
#include "api/QVAApiManagerDownloadsFixture.h"
#include "foundation/RunLoop.h"
#include "maps/InteractiveMapsServices.h"
#include "store/StorageManager.h"

namespace {

// The maps service names the files, as the shell installs it.
class MapFilesDownloadTest : public apitest::QVAApiManagerDownloadsTest {
protected:
    void SetUp() override {
        QVAApiManagerDownloadsTest::SetUp();
        InteractiveMapsServices::installMapFilesHook();
    }
};

TEST_F(MapFilesDownloadTest, MapFilesAreReplacedOnlyWhole) {
    storeVenue(R"([{"href":")" + server.urlFor("/maps/ground.svg") + R"(","rel":"ground.svg"}])");
    auto& maps = InteractiveMapsServices::instance();
    ASSERT_TRUE(maps.hasInteractiveMapsForAuthCode(token, std::string("42")));
    const std::string file = *Utils::cacheImapsUrlStringForFileName("ground.svg", token, "42");

    serve("GET", "/maps/ground.svg", testservice::Reply::text("<svg>v1</svg>"));
    auto first = call([&](auto done) { api().downloadInteractiveMapsForAuthCode(token, std::string("42"), done); });
    EXPECT_EQ(first.error, nullptr);
    EXPECT_TRUE(settings.currentEventIsDownloadingOrParsingIMaps());
    EXPECT_EQ(readFile(file), "<svg>v1</svg>");

    serve("GET", "/maps/ground.svg", testservice::Reply::text("gone", 404));
    auto missing = call([&](auto done) { api().downloadInteractiveMapsForAuthCode(token, std::string("42"), done); });
    ASSERT_NE(missing.error, nullptr);
    EXPECT_EQ(missing.error->localizedDescription(), "Unable to download all Interactive Maps Files!");
    EXPECT_EQ(readFile(file), "<svg>v1</svg>");

    auto broken = testservice::Reply::text("<svg>v2 and much more</svg>");
    broken.dropConnection = true;
    serve("GET", "/maps/ground.svg", broken);
    auto cut = call([&](auto done) { api().downloadInteractiveMapsForAuthCode(token, std::string("42"), done); });
    EXPECT_NE(cut.error, nullptr);
    EXPECT_EQ(readFile(file), "<svg>v1</svg>");

    // A network's sign-in page answered 200 in the plan's place, even
    // labelled as a plan.
    auto portal = testservice::Reply::text("<!DOCTYPE html>\n<html><body>Sign in to the Wi-Fi</body></html>");
    portal.contentType = "image/svg+xml";
    serve("GET", "/maps/ground.svg", portal);
    auto refused = call([&](auto done) { api().downloadInteractiveMapsForAuthCode(token, std::string("42"), done); });
    EXPECT_NE(refused.error, nullptr);
    EXPECT_EQ(readFile(file), "<svg>v1</svg>");
}

TEST_F(MapFilesDownloadTest, BadMapLinksStillLetTheDownloadComplete) {
    storeVenue(R"([{"href":")" + server.urlFor("/maps/a.svg") + R"(","rel":"a.svg"},)" +
               R"({"rel":"nohref.svg"},{"href":")" + server.urlFor("/maps/a.svg") + R"(","rel":"../../x.svg"},)" +
               R"({"href":")" + server.urlFor("/maps/a.svg") + R"(","rel":".."}])");
    serve("GET", "/maps/a.svg", testservice::Reply::text("<svg/>"));
    auto outcome = call([&](auto done) { api().downloadInteractiveMapsForAuthCode(token, std::string("42"), done); });
    ASSERT_NE(outcome.error, nullptr);
    EXPECT_EQ(server.requestCount(), 1u);
    EXPECT_EQ(readFile(*Utils::cacheImapsUrlStringForFileName("a.svg", token, "42")), "<svg/>");

    // No maps at all: nothing happens and the completion is not called.
    StorageManager::sharedStorageManager().removePersistentStoreForAuthToken(token, std::string("42"));
    open(token);
    settings.setCurrentEventIsDownloadingOrParsingIMaps(false);
    bool called = false;
    api().downloadInteractiveMapsForAuthCode(token, std::string("42"), [&](auto, auto) { called = true; });
    EXPECT_FALSE(called);
    EXPECT_FALSE(settings.currentEventIsDownloadingOrParsingIMaps());
}

// A plan missing at launch is fetched before any service call of the run
// has put the token on the client; a service that protects its files would
// refuse it launch after launch without the account's token.
TEST_F(MapFilesDownloadTest, APlanMissingAtLaunchIsFetchedWithTheAccountsToken) {
    storeVenue(R"([{"href":")" + server.urlFor("/maps/missing.svg") + R"(","rel":"missing.svg"}])");
    const std::string file = *Utils::cacheImapsUrlStringForFileName("missing.svg", token, "42");
    files.removeItemAtPath(file);
    serve("GET", "/maps/missing.svg", testservice::Reply::text("<svg/>"));
    // As at launch: no plan loaded yet, and no service call has run.
    settings.setCurrentEventHasIMapsLoadedInMemory(false);
    api().clearAuthorizationHeader();
    EXPECT_FALSE(InteractiveMapsServices::instance().canAccessInteractiveMaps());
    ASSERT_TRUE(server.waitForRequestCount(1, apitest::kManagerWait));
    EXPECT_EQ(server.lastRequest()->path, "/maps/missing.svg");
    EXPECT_EQ(server.lastRequest()->header("Authorization"), std::optional<std::string>("Bearer " + token));
    EXPECT_TRUE(foundation::RunLoop::main().runUntil([&] { return !settings.currentEventIsDownloadingOrParsingIMaps(); },
                                                     apitest::kManagerWait));
    EXPECT_EQ(readFile(file), "<svg/>");
}

}  // namespace
