// The build-update check against the loopback test server: offline it does
// nothing, a failing server gives the error alert only when asked for, the
// running version gives "no update" only when asked for, and a newer one
// always offers the download, whose button opens the page.
#include <gtest/gtest.h>
#include "api/Updater.h"
#include "foundation/Log.h"
#include "foundation/RunLoop.h"
#include "http/QNNetworkReachabilityManager.h"
#include "network/Reachability.h"
#include "service/TestServer.h"
#include "uikit/UIApplication.h"

namespace {

// Answers the version file with the scripted status and JSON body.
class VersionServer {
public:
    VersionServer() { EXPECT_TRUE(server_.start()); }
    void answer(int status, std::string body) {
        testservice::Reply reply = testservice::Reply::text(std::move(body), status);
        reply.contentType = "application/json";
        server_.on("GET", "/version.json", reply);
    }
    std::string url() const { return server_.urlFor("/version.json"); }
    int requests() const { return static_cast<int>(server_.requestCount()); }

private:
    testservice::TestServer server_;
};

constexpr double kUpdaterWait = 10.0;

std::vector<std::shared_ptr<uikit::UIAlertView>> updaterAlerts() {
    return uikit::UIApplication::sharedApplication().visibleAlerts();
}

bool logged(const foundation::ScopedLogCapture& log, const std::string& text) {
    for (const auto& line : log.lines()) {
        if (line.find(text) != std::string::npos) return true;
    }
    return false;
}

TEST(UpdaterTest, VersionDecision) {
    EXPECT_TRUE(Updater::isNewerVersion("3.10", "3.4"));
    EXPECT_TRUE(Updater::isNewerVersion("3.4.1", "3.4"));
    EXPECT_FALSE(Updater::isNewerVersion("3.4.0", "3.4"));
    EXPECT_FALSE(Updater::isNewerVersion("2.9", "3.4"));
}

TEST(UpdaterTest, CheckShowsTheOutcome) {
    using namespace network::ReachabilityFlag;
    VersionServer server;
    Updater::setVersionFileURL(server.url());
    auto& reachability = QNNetworkReachabilityManager::sharedManager();
    auto& updater = Updater::instance();
    auto& loop = foundation::RunLoop::main();

    network::Reachability::setSimulatedFlags(0);
    reachability.startMonitoring();
    ASSERT_TRUE(loop.runUntil([&] { return reachability.networkReachabilityStatus() ==
                                          QNNetworkReachabilityStatus::NotReachable; }, kUpdaterWait));
    updater.checkForUpdates(true);
    EXPECT_TRUE(updaterAlerts().empty());

    network::Reachability::setSimulatedFlags(Reachable);
    ASSERT_TRUE(loop.runUntil([&] { return reachability.isReachableViaWiFi(); }, kUpdaterWait));
    foundation::ScopedLogCapture log;

    server.answer(500, "{\"error\":\"down\"}");
    updater.checkForUpdates(false);
    ASSERT_TRUE(loop.runUntil([&] { return logged(log, "version error ui"); }, kUpdaterWait));
    EXPECT_TRUE(updaterAlerts().empty());
    updater.checkForUpdates(true);
    ASSERT_TRUE(loop.runUntil([] { return !updaterAlerts().empty(); }, kUpdaterWait));
    EXPECT_EQ(updaterAlerts().back()->title(), "Error");
    EXPECT_EQ(updaterAlerts().back()->message(), Updater::kErrorMessage);
    updaterAlerts().back()->dismissWithClickedButtonIndex(0, true);

    server.answer(200, "{\"version\":\"3.4\",\"updateUrl\":\"https://example.com/old\"}");
    ASSERT_TRUE(loop.runUntil([] { return Updater::checksInProgress() == 0; }, kUpdaterWait));
    updater.checkForUpdates(false);
    // In progress from the request until its answer has been handled, so
    // whoever waits for it sees what it logged.
    EXPECT_EQ(Updater::checksInProgress(), 1);
    ASSERT_TRUE(loop.runUntil([] { return Updater::checksInProgress() == 0; }, kUpdaterWait));
    EXPECT_TRUE(logged(log, "version dictionary:"));
    EXPECT_TRUE(updaterAlerts().empty());
    updater.checkForUpdates(true);
    ASSERT_TRUE(loop.runUntil([] { return !updaterAlerts().empty(); }, kUpdaterWait));
    EXPECT_EQ(updaterAlerts().back()->title(), "Update not available");
    updaterAlerts().back()->dismissWithClickedButtonIndex(0, true);
    EXPECT_FALSE(updater.isUpdateAvailable());

    server.answer(200, "{\"version\":\"3.5\",\"updateUrl\":\"https://example.com/get\"}");
    updater.checkForUpdates(false);
    ASSERT_TRUE(loop.runUntil([] { return !updaterAlerts().empty(); }, kUpdaterWait));
    auto offer = updaterAlerts().back();
    EXPECT_EQ(offer->title(), "Update available");
    EXPECT_EQ(offer->cancelButtonIndex(), 0);
    EXPECT_EQ(offer->buttonTitleAtIndex(0), "Cancel");
    EXPECT_EQ(offer->buttonTitleAtIndex(1), "Download");
    EXPECT_TRUE(updater.isUpdateAvailable());
    const size_t opened = uikit::UIApplication::sharedApplication().openedURLs().size();
    offer->dismissWithClickedButtonIndex(1, true);
    auto urls = uikit::UIApplication::sharedApplication().openedURLs();
    ASSERT_EQ(urls.size(), opened + 1);
    EXPECT_EQ(urls.back().absoluteString(), "https://example.com/get");
    EXPECT_EQ(server.requests(), 5);

    reachability.stopMonitoring();
    network::Reachability::setSimulatedFlags(std::nullopt);
    Updater::setVersionFileURL(std::nullopt);
}

}  // namespace
