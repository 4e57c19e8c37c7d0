// The map files of a meeting through the API client, with the maps service
// naming them: a failed map file (a page answered in its place included)
// never replaces a working one, a file named twice is fetched once, a plan
// is kept only as an SVG document, a bad link still lets the map download
// complete, and a plan fetched at launch goes with the account's token.
#include <string>
#include <tuple>
#include <vector>

#include "Utils/Utils.h"
#include "api/QVAApiManagerDownloadsFixture.h"
#include "foundation/RunLoop.h"
#include "maps/InteractiveMapsServices.h"
#include "store/StorageManager.h"

namespace {

constexpr const char* kMapFilesDownloadSVGOpening = "<svg xmlns=\"http://www.w3.org/2000/svg\">";

std::string mapFilesDownloadPlan(const std::string& content) {
    return kMapFilesDownloadSVGOpening + content + "</svg>";
}

// The maps service names the files, as the shell installs it.
class MapFilesDownloadTest : public apitest::QVAApiManagerDownloadsTest {
protected:
    void SetUp() override {
        QVAApiManagerDownloadsTest::SetUp();
        InteractiveMapsServices::installMapFilesHook();
    }
};

TEST_F(MapFilesDownloadTest, MapFilesAreReplacedOnlyWhole) {
    // The floor names its plan twice: it is fetched once, into its one place.
    const std::string groundLink = R"({"href":")" + server.urlFor("/maps/ground.svg") + R"(","rel":"ground.svg"})";
    storeVenue("[" + groundLink + "," + groundLink + "]");
    auto& maps = InteractiveMapsServices::instance();
    ASSERT_TRUE(maps.hasInteractiveMapsForAuthCode(token, std::string("42")));
    const std::string file = *Utils::cacheImapsUrlStringForFileName("ground.svg", token, "42");

    const std::string v1 = mapFilesDownloadPlan("<title>v1</title>");
    serve("GET", "/maps/ground.svg", testservice::Reply::text(v1));
    auto first = call([&](auto done) { api().downloadInteractiveMapsForAuthCode(token, std::string("42"), done); });
    EXPECT_EQ(first.error, nullptr);
    EXPECT_EQ(server.requestCount(), 1u);
    EXPECT_TRUE(settings.currentEventIsDownloadingOrParsingIMaps());
    EXPECT_EQ(readFile(file), v1);

    serve("GET", "/maps/ground.svg", testservice::Reply::text("gone", 404));
    auto missing = call([&](auto done) { api().downloadInteractiveMapsForAuthCode(token, std::string("42"), done); });
    ASSERT_NE(missing.error, nullptr);
    EXPECT_EQ(missing.error->localizedDescription(), "Unable to download all Interactive Maps Files!");
    // No answer that was a file: a retry may bring it.
    EXPECT_NE(missing.error->code(), QVAApiManager::kRefusedBodyErrorCode);
    EXPECT_EQ(readFile(file), v1);

    auto broken = testservice::Reply::text(mapFilesDownloadPlan("<title>v2 and much more</title>"));
    broken.dropConnection = true;
    serve("GET", "/maps/ground.svg", broken);
    auto cut = call([&](auto done) { api().downloadInteractiveMapsForAuthCode(token, std::string("42"), done); });
    EXPECT_NE(cut.error, nullptr);
    EXPECT_EQ(readFile(file), v1);

    // A network's sign-in page answered 200 in the plan's place, even
    // labelled as a plan.
    auto portal = testservice::Reply::text("<!DOCTYPE html>\n<html><body>Sign in to the Wi-Fi</body></html>");
    portal.contentType = "image/svg+xml";
    serve("GET", "/maps/ground.svg", portal);
    auto refused = call([&](auto done) { api().downloadInteractiveMapsForAuthCode(token, std::string("42"), done); });
    ASSERT_NE(refused.error, nullptr);
    EXPECT_EQ(refused.error->code(), QVAApiManager::kRefusedBodyErrorCode);
    EXPECT_EQ(readFile(file), v1);
}

// A plan is kept only when the SVG library reads it as a whole floor plan:
// a sign-in page, whatever it opens with, its label or its encoding, a plan
// cut short or of another namespace, leave the plan before it; a plan in
// UTF-16 or behind a document type is a plan.
TEST_F(MapFilesDownloadTest, APlanIsKeptOnlyAsAnSVGDocument) {
    storeVenue(R"([{"href":")" + server.urlFor("/maps/level.svg") + R"(","rel":"level.svg"}])");
    const std::string file = *Utils::cacheImapsUrlStringForFileName("level.svg", token, "42");
    auto utf16 = [](const std::string& text) {
        std::string encoded = "\xFF\xFE";
        for (char c : text) encoded += std::string{c, '\0'};
        return encoded;
    };
    const std::vector<std::tuple<std::string, std::string, bool>> answers = {
        {"image/svg+xml", "<?xml version=\"1.0\"?>\n<!DOCTYPE svg PUBLIC \"-//W3C//DTD SVG 1.1//EN\" "
                          "\"http://www.w3.org/Graphics/SVG/1.1/DTD/svg11.dtd\">\n" + mapFilesDownloadPlan("v1"), true},
        {"image/svg+xml", std::string(kMapFilesDownloadSVGOpening) + "<g><rect width=\"10\" height=\"5\"/>", false},
        {"image/svg+xml", "<svg xmlns=\"http://portal.invalid/ns\"><text>Please sign in.</text></svg>", false},
        {"image/svg+xml", "<svg><text>Please sign in.</text></svg>", false},
        {"image/svg+xml", mapFilesDownloadPlan("</g>"), false},
        {"image/svg+xml", "<meta http-equiv=\"refresh\" content=\"0; url=http://portal.invalid/\">", false},
        {"text/html", "<script>location.href = 'http://portal.invalid/';</script>", false},
        {"text/plain", "Please sign in to use the Wi-Fi.", false},
        {"image/svg+xml", utf16("<html><body>Please sign in.</body></html>"), false},
        {"image/svg+xml", "<!--" + std::string(5000, 'x') + "-->\n<html><body>Please sign in.</body></html>", false},
        {"image/svg+xml", utf16(mapFilesDownloadPlan("v2")), true}};
    std::string before = "<none>";
    for (const auto& [type, body, plan] : answers) {
        auto reply = testservice::Reply::text(body);
        reply.contentType = type;
        serve("GET", "/maps/level.svg", reply);
        auto outcome =
            call([&](auto done) { api().downloadInteractiveMapsForAuthCode(token, std::string("42"), done); });
        EXPECT_EQ(outcome.error == nullptr, plan) << body.substr(0, 20);
        if (plan) before = body;
        EXPECT_EQ(readFile(file), before) << body.substr(0, 20);
    }
}

TEST_F(MapFilesDownloadTest, BadMapLinksStillLetTheDownloadComplete) {
    storeVenue(R"([{"href":")" + server.urlFor("/maps/a.svg") + R"(","rel":"a.svg"},)" +
               R"({"rel":"nohref.svg"},{"href":")" + server.urlFor("/maps/a.svg") + R"(","rel":"../../x.svg"},)" +
               R"({"href":")" + server.urlFor("/maps/a.svg") + R"(","rel":".."}])");
    serve("GET", "/maps/a.svg", testservice::Reply::text(mapFilesDownloadPlan("")));
    auto outcome = call([&](auto done) { api().downloadInteractiveMapsForAuthCode(token, std::string("42"), done); });
    ASSERT_NE(outcome.error, nullptr);
    EXPECT_EQ(server.requestCount(), 1u);
    EXPECT_EQ(readFile(*Utils::cacheImapsUrlStringForFileName("a.svg", token, "42")), mapFilesDownloadPlan(""));

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
    serve("GET", "/maps/missing.svg", testservice::Reply::text(mapFilesDownloadPlan("")));
    // As at launch: no plan loaded yet, and no service call has run.
    settings.setCurrentEventHasIMapsLoadedInMemory(false);
    api().clearAuthorizationHeader();
    EXPECT_FALSE(InteractiveMapsServices::instance().canAccessInteractiveMaps());
    ASSERT_TRUE(server.waitForRequestCount(1, apitest::kManagerWait));
    EXPECT_EQ(server.lastRequest()->path, "/maps/missing.svg");
    EXPECT_EQ(server.lastRequest()->header("Authorization"), std::optional<std::string>("Bearer " + token));
    EXPECT_TRUE(foundation::RunLoop::main().runUntil([&] { return !settings.currentEventIsDownloadingOrParsingIMaps(); },
                                                     apitest::kManagerWait));
    EXPECT_EQ(readFile(file), mapFilesDownloadPlan(""));
}

}  // namespace
