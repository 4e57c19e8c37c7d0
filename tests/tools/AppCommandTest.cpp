// "quovana app" run in-process through runCli: the gallery script a person
// would pipe in, opening scenes by identifier with and without an object,
// and what bad options and bad commands do to the exit status.
#include <gtest/gtest.h>

#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "api/QVAApiManager.h"
#include "foundation/ApplicationHome.h"
#include "foundation/Exception.h"
#include "foundation/RunLoop.h"
#include "model/QVAEvent.h"
#include "model/QVAUserAccount.h"
#include "quovana/Cli.h"
#include "settings/ApplicationSettingsStore.h"
#include "store/StorageManager.h"
#include "support/TemporaryDirectory.h"
#include "uikit/ScreenDriver.h"
#include "uikit/UIViewController.h"
#include "foundation/StringUtils.h"

namespace {

struct AppRun {
    int status = -1;
    std::string out;
    std::string err;
};

// One printed state: the command (or "launch") and what followed it.
struct Block {
    std::string command;
    std::string body;
};

std::vector<Block> blocks(const std::string& out) {
    std::vector<Block> found;
    std::istringstream stream(out);
    for (std::string line; std::getline(stream, line);) {
        if (line.rfind("== ", 0) == 0 && line.size() > 6 && line.substr(line.size() - 3) == " ==")
            found.push_back({line.substr(3, line.size() - 6), {}});
        else if (!found.empty())
            found.back().body += line + "\n";
    }
    return found;
}

using foundation::StringUtils::contains;

// The dump alone, without the log, the events, errors and blank lines.
std::string dumpOf(const Block& block) {
    std::string dump;
    std::istringstream stream(block.body);
    for (std::string line; std::getline(stream, line);)
        if (!line.empty() && line.rfind("log: ", 0) != 0 && line.rfind("event: ", 0) != 0 &&
            line.rfind("error: ", 0) != 0)
            dump += line + "\n";
    return dump;
}

constexpr const char* kGalleryScript = "tap row 1 0\nback\ntap item Alert\nalert OK\nalert OK\n";

class AppCommandTest : public ::testing::Test {
protected:
    void SetUp() override { previousHome_ = foundation::ApplicationHome::root(); }
    void TearDown() override {
        uikit::ScreenDriver::setObjectHandOver({});
        QVAApiManager::setServiceRoot(std::nullopt);
        foundation::ApplicationHome::setRoot(previousHome_);
    }

    // The app mode on the test's home; the local service unless `service`
    // names another (the gallery never calls it).
    AppRun run(const std::vector<std::string>& options, const std::string& script,
               const std::optional<std::string>& service = "http://127.0.0.1:9/api") {
        std::vector<std::string> arguments = {"--home", home_.path()};
        if (service) arguments.insert(arguments.end(), {"--service", *service});
        arguments.push_back("app");
        arguments.insert(arguments.end(), options.begin(), options.end());
        std::istringstream in(script);
        std::ostringstream out, err;
        AppRun result;
        result.status = quovana::runCli(arguments, in, out, err);
        result.out = out.str();
        result.err = err.str();
        return result;
    }

    TemporaryDirectory home_;
    std::string previousHome_;
};

TEST_F(AppCommandTest, TheGalleryScriptPrintsTheLaunchAndFiveDumpsAndExitsOneForTheAlertThatWasGone) {
    AppRun app = run({"--gallery", "--clock", "2015-03-10T09:30:00+01:00"}, kGalleryScript, std::nullopt);
    EXPECT_EQ(app.status, 1) << app.err;
    // The local meeting service was started for it and said where.
    EXPECT_TRUE(contains(app.out, "service: http://127.0.0.1:")) << app.out;
    EXPECT_TRUE(contains(app.out, "demo account: user demo, password quovana-demo, passcode 246810"));

    auto printed = blocks(app.out);
    ASSERT_EQ(printed.size(), 6u) << app.out;
    const std::vector<std::string> commands = {"launch", "tap row 1 0", "back", "tap item Alert", "alert OK", "alert OK"};
    for (size_t i = 0; i < printed.size(); ++i) {
        EXPECT_EQ(printed[i].command, commands[i]);
        EXPECT_TRUE(contains(printed[i].body, "window root=")) << printed[i].body;
    }
    const std::string root = dumpOf(printed[0]);
    EXPECT_TRUE(contains(root, "GalleryViewController")) << root;
    // The gallery alone: none of the app's start-up logs or tracks anything.
    EXPECT_FALSE(contains(printed[0].body, "log: ")) << printed[0].body;
    EXPECT_FALSE(contains(printed[0].body, "event: ")) << printed[0].body;
    EXPECT_TRUE(contains(dumpOf(printed[1]), "GallerySecondViewController"));
    EXPECT_EQ(dumpOf(printed[2]), root);
    EXPECT_TRUE(contains(dumpOf(printed[3]), "alert \"Gallery\"")) << printed[3].body;
    EXPECT_TRUE(contains(printed[4].body, "log: gallery: the alert was answered with OK"));
    EXPECT_EQ(dumpOf(printed[4]), root);
    EXPECT_TRUE(contains(printed[5].body, "error: no alert")) << printed[5].body;
    EXPECT_EQ(dumpOf(printed[5]), root);
    // Only the last command failed.
    EXPECT_EQ(printed[4].body.find("error: "), std::string::npos);
}

TEST_F(AppCommandTest, BadOptionsStopAtOnceWhileBadCommandsLetTheScriptRunOn) {
    AppRun bogus = run({"--bogus"}, "");
    EXPECT_EQ(bogus.status, 2);
    EXPECT_TRUE(contains(bogus.err, "--bogus")) << bogus.err;
    EXPECT_EQ(run({"--generate", "3,10"}, "").status, 2);  // a meeting for the local service only
    EXPECT_EQ(run({"--clock", "yesterday"}, "").status, 2);

    AppRun app = run({"--gallery"}, "frobnicate\ntap row one 0\nswipe up\ntap row 1 0\nquit\nback\n");
    EXPECT_EQ(app.status, 2) << app.out;
    auto printed = blocks(app.out);
    ASSERT_EQ(printed.size(), 6u) << app.out;  // quit ends the script: "back" never runs
    EXPECT_TRUE(contains(printed[1].body, "unknown command \"frobnicate\""));
    EXPECT_TRUE(contains(printed[2].body, "usage: tap row S R"));
    EXPECT_TRUE(contains(printed[3].body, "usage: swipe left|right"));
    EXPECT_TRUE(contains(printed[4].body, "GallerySecondViewController")) << printed[4].body;
    EXPECT_EQ(printed[5].command, "quit");
}

TEST_F(AppCommandTest, DeleteRowChecksItsWordsAndFailsOnARowThatOffersNoDelete) {
    AppRun usage = run({"--gallery"}, "delete row one 0\n");
    EXPECT_EQ(usage.status, 2) << usage.out;
    EXPECT_TRUE(contains(usage.out, "usage: delete row S R")) << usage.out;

    // The gallery's tables commit no edits.
    AppRun app = run({"--gallery"}, "delete row 1 0\n");
    EXPECT_EQ(app.status, 1) << app.out;
    auto printed = blocks(app.out);
    ASSERT_EQ(printed.size(), 2u) << app.out;
    EXPECT_TRUE(contains(printed[1].body, "no row 1 0 that can be deleted")) << printed[1].body;
    EXPECT_EQ(dumpOf(printed[1]), dumpOf(printed[0]));
}

TEST_F(AppCommandTest, OpenPushesAGalleryScreenAndAnUnknownSceneOrAnObjectForAScreenTakingNoneChangesNothing) {
    AppRun app = run({"--gallery"},
                     "open gallerySecondScreen\n"
                     "open noSuchScene\n"
                     "open gallerySecondScreen --object QVACoreDataSession 1\n"
                     "open gallerySecondScreen --object QVACoreDataSession\n");
    EXPECT_EQ(app.status, 2) << app.out;  // the last line is malformed
    auto printed = blocks(app.out);
    ASSERT_EQ(printed.size(), 5u) << app.out;
    const std::string pushed = dumpOf(printed[1]);
    // Pushed on the gallery's navigation controller, above its root.
    EXPECT_TRUE(contains(pushed, "GalleryViewController")) << pushed;
    EXPECT_TRUE(contains(pushed, "GallerySecondViewController")) << pushed;
    EXPECT_TRUE(contains(printed[2].body, "error: no scene \"noSuchScene\""));
    // The error says which scenes there are.
    EXPECT_TRUE(contains(printed[2].body, "the scenes of Gallery: galleryControls, galleryEffects")) << printed[2].body;
    EXPECT_EQ(dumpOf(printed[2]), pushed);
    // The app mode's own hand-over gives objects to details screens only.
    EXPECT_TRUE(contains(printed[3].body, "error: the scene \"gallerySecondScreen\" takes no object"))
        << printed[3].body;
    EXPECT_EQ(dumpOf(printed[3]), pushed);
    EXPECT_TRUE(contains(printed[4].body, "usage: open IDENTIFIER"));

    AppRun unknown = run({"--gallery"}, "open noSuchScene\n");
    EXPECT_EQ(unknown.status, 1);

    // A button that is a bar item: the error points at the command that taps it.
    AppRun item = run({"--gallery"}, "tap button Alert\n");
    EXPECT_EQ(item.status, 1);
    EXPECT_TRUE(contains(item.out, "error: no button \"Alert\"; the bar has an item \"Alert\": \"tap item Alert\""))
        << item.out;
}

TEST_F(AppCommandTest, ARegisteredHandOverReceivesTheControllerAndTheObjectBeforeTheViewLoads) {
    struct Received {
        std::string controller;
        std::string entity;
        std::string identifier;
        bool viewLoaded = true;
    };
    std::vector<Received> received;
    uikit::ScreenDriver::setObjectHandOver(
        [&](uikit::UIViewController& controller, const std::string& entity, const std::string& identifier) {
            received.push_back({controller.className(), entity, identifier, controller.isViewLoaded()});
            return uikit::ScreenDriver::HandOver::Taken;
        });
    AppRun app = run({"--gallery"}, "open gallerySecondScreen --object QVACoreDataSession 1\n");
    EXPECT_EQ(app.status, 0) << app.out;
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0].controller, "GallerySecondViewController");
    EXPECT_EQ(received[0].entity, "QVACoreDataSession");
    EXPECT_EQ(received[0].identifier, "1");
    EXPECT_FALSE(received[0].viewLoaded);

    uikit::ScreenDriver::setObjectHandOver([](uikit::UIViewController&, const std::string&, const std::string&) {
        return uikit::ScreenDriver::HandOver::TakesNoObject;
    });
    AppRun refused = run({"--gallery"}, "open gallerySecondScreen --object QVACoreDataSession 1\n");
    EXPECT_EQ(refused.status, 1);
    EXPECT_TRUE(contains(refused.out, "takes no object")) << refused.out;

    uikit::ScreenDriver::setObjectHandOver([](uikit::UIViewController&, const std::string&, const std::string&) {
        return uikit::ScreenDriver::HandOver::NoSuchObject;
    });
    AppRun absent = run({"--gallery"}, "open gallerySecondScreen --object QVACoreDataSession 404\n");
    EXPECT_EQ(absent.status, 1);
    EXPECT_TRUE(contains(absent.out, "error: no QVACoreDataSession 404 in the store")) << absent.out;
}

TEST_F(AppCommandTest, AnExceptionRaisedWhileTheScreenSettlesFailsItsCommandAndTheScriptRunsOn) {
    uikit::ScreenDriver::setObjectHandOver([](uikit::UIViewController&, const std::string&, const std::string&) {
        foundation::RunLoop::main().post([] { foundation::raise("TestException", "raised while settling"); });
        return uikit::ScreenDriver::HandOver::Taken;
    });
    AppRun app = run({"--gallery"}, "open gallerySecondScreen --object QVACoreDataSession 1\nback\n", std::nullopt);
    EXPECT_EQ(app.status, 1) << app.out << app.err;
    auto printed = blocks(app.out);
    ASSERT_EQ(printed.size(), 3u) << app.out << app.err;
    EXPECT_TRUE(contains(printed[1].body, "error: the app raised an exception: TestException: raised while settling"))
        << printed[1].body;
    EXPECT_FALSE(contains(dumpOf(printed[2]), "GallerySecondViewController")) << printed[2].body;
}

TEST_F(AppCommandTest, AdvanceWaitsOnTheRealClockAndMovesTheVirtualOneThroughTheGallerysSlide) {
    AppRun real = run({"--gallery"}, "advance 0\n");
    EXPECT_EQ(real.status, 0) << real.out;

    AppRun app = run({"--gallery", "--clock", "2015-03-10T09:30:00Z"}, "tap row 1 1\nadvance 10.2\nadvance 0.1\n");
    EXPECT_EQ(app.status, 0) << app.out;
    auto printed = blocks(app.out);
    ASSERT_EQ(printed.size(), 4u);
    EXPECT_TRUE(contains(printed[1].body, "log: gallery: the slide starts"));
    EXPECT_FALSE(contains(printed[2].body, "the slide finished"));
    EXPECT_TRUE(contains(printed[3].body, "log: gallery: the slide finished")) << printed[3].body;
}

TEST_F(AppCommandTest, TheAppDelegateOpensTheCurrentAccountsStoreAtLaunch) {
    foundation::ApplicationHome::setRoot(home_.path());
    auto& settings = ApplicationSettingsStore::sharedApplicationSettingsStore();
    settings.setCurrentAccount(
        QVAUserAccount::initWithDictionary(foundation::Value::dictionary({{"accessToken", "app-mode-token"}})));
    settings.setCurrentEvent(QVAEvent::initWithDictionary(foundation::Value::dictionary({{"id", "77"}})));
    auto& store = StorageManager::sharedStorageManager();
    ASSERT_FALSE(store.getCoreDataStackForAuthToken(std::string("app-mode-token"), std::string("77")));

    AppRun app = run({}, "quit\n");
    EXPECT_EQ(app.status, 0) << app.out << app.err;
    EXPECT_TRUE(store.getCoreDataStackForAuthToken(std::string("app-mode-token"), std::string("77")));
    // The phone storyboard's initial scene: the tab bar on the home tab.
    EXPECT_TRUE(contains(app.out, "window root=EventsTabBarController")) << app.out;
    EXPECT_TRUE(contains(app.out, "tab 0* CustomNavigationController \"Home\"")) << app.out;

    store.setCoreDataStackCaches({});
    settings.clear();
}

TEST_F(AppCommandTest, TheSearchCommandsDriveTheGallerysSearchPageAndCheckTheirWords) {
    AppRun app = run({"--gallery"}, "tap row 1 2\nsearch ni\nscope 1\ntap row 0 0 --search\nend-search\n"
                                    "scope x\ntap row 0 0 --found\nend-search\nsearch\n");
    EXPECT_EQ(app.status, 2) << app.out;
    auto printed = blocks(app.out);
    ASSERT_EQ(printed.size(), 10u) << app.out;
    EXPECT_TRUE(contains(printed[2].body, "search-bar placeholder=\"Search\" text=\"ni\" scopes=[Name*][Capital] active"))
        << printed[2].body;
    EXPECT_TRUE(contains(printed[2].body, "table #searchResultsTableView plain sections=1"));
    EXPECT_TRUE(contains(printed[2].body, "text=\"Slovenia\" detail=\"Ljubljana\""));
    EXPECT_TRUE(contains(printed[3].body, "rows 0\xE2\x80\x93" "0 of 1")) << printed[3].body;
    EXPECT_TRUE(contains(printed[4].body, "log: gallery: chose Tunisia (Tunis)")) << printed[4].body;
    EXPECT_FALSE(contains(printed[5].body, "searchResultsTableView")) << printed[5].body;
    EXPECT_TRUE(contains(printed[5].body, "rows 0\xE2\x80\x93" "12 of 40")) << printed[5].body;
    EXPECT_TRUE(contains(printed[6].body, "usage: scope N"));
    EXPECT_TRUE(contains(printed[7].body, "usage: tap row S R [--search]"));
    EXPECT_TRUE(contains(printed[8].body, "error: no search under way")) << printed[8].body;
    EXPECT_TRUE(contains(printed[9].body, "usage: search TEXT"));
}

}  // namespace
