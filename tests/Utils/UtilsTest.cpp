// The shell's class-wide helpers: error reporting with its log lines and
// alert, the collection conversions, the map-cache paths that server data
// cannot lead out of, and the device idiom.
#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

#include "Utils/Utils.h"
#include "settings/ApplicationSettingsStore.h"
#include "foundation/ApplicationHome.h"
#include "foundation/FileManager.h"
#include "foundation/Log.h"
#include "foundation/RunLoop.h"
#include "model/QVAError.h"
#include "model/QVARoom.h"
#include "uikit/UIAlertView.h"
#include "uikit/UIApplication.h"
#include "uikit/UIDevice.h"

namespace {

using foundation::Value;

std::vector<uikit::UIAlertViewPtr> visibleAlerts() { return uikit::UIApplication::sharedApplication().visibleAlerts(); }

// Taps the front alert's first button; the alert it was.
uikit::UIAlertViewPtr tapFrontAlert() {
    auto shown = visibleAlerts();
    if (shown.empty()) return nullptr;
    shown.back()->dismissWithClickedButtonIndex(0, true);
    return shown.back();
}

TEST(Utils, HandleErrorLogsTheCallersMessageAndAlertsWithTheOfflineText) {
    foundation::ScopedLogCapture log;
    auto inner = std::make_shared<foundation::Error>("inner", 1, Value::Dictionary{{"why", Value("dns")}});
    auto offline = foundation::Error::make(
        foundation::kURLErrorDomain, foundation::URLError::NotConnectedToInternet,
        {{foundation::kLocalizedDescriptionKey, Value("The Internet connection appears to be offline.")},
         {"details", Value::array({Value(inner), "plain"})}});
    Utils::handleError(offline, "Login", std::string("Could not log in"), true);

    EXPECT_TRUE(log.contains("Login - Could not log in"));
    EXPECT_TRUE(log.contains("Error Message: The Internet connection appears to be offline."));
    EXPECT_TRUE(log.contains("Error Domain: NSURLErrorDomain"));
    EXPECT_TRUE(log.contains("Recovery Suggestion: (null)"));
    EXPECT_TRUE(log.contains("Error Details: {\n    why = dns;\n}"));  // an inner error's user info
    EXPECT_TRUE(log.contains("Error Details: plain"));
    auto alert = tapFrontAlert();
    ASSERT_NE(alert, nullptr);
    EXPECT_EQ(alert->title(), "Login");
    EXPECT_EQ(alert->message(), Utils::kNoInternetAlertMessage);
    EXPECT_EQ(alert->buttonTitleAtIndex(0), "OK");

    // The service layer's call: no message, no alert, the service's own text logged.
    log.clear();
    auto rejected = QVAError::initWithDomain(kQVAErrorDomain, 1, {}, Value::dictionary({{"error", "bad token"}}));
    Utils::handleError(rejected, "An error occured when calling service:login.", std::nullopt, false);
    EXPECT_TRUE(log.contains("An error occured when calling service:login. - "));
    EXPECT_TRUE(log.contains("QVA Messge Error: bad token"));
    EXPECT_TRUE(visibleAlerts().empty());

    // Reported from another thread, the alert reaches the main thread.
    std::thread([] { Utils::handleError(nullptr, "Sync", std::string("Failed")); }).join();
    EXPECT_TRUE(foundation::RunLoop::main().runUntil([] { return !visibleAlerts().empty(); }, 5.0));
    EXPECT_EQ(tapFrontAlert()->message(), "Failed");
}

TEST(Utils, CollectionsAndModelArrays) {
    EXPECT_TRUE(Utils::nullClearedArrayFromArray(Value()).isAbsent());
    EXPECT_EQ(Utils::nullClearedArrayFromArray(Value::array({1, Value::null(), "a", Value::null()})),
              Value::array({1, "a"}));

    registerModelClasses();
    Value json = Value::array({Value::dictionary({{"id", "r1"}, {"name", "Hall A"}}), "text", 3});
    auto items = Utils::initItemsArray(json, ModelClass::of<QVARoom>());
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].objectAs<QVARoom>()->name(), "Hall A");
    EXPECT_EQ(items[1], Value("text"));

    // Without a class the dictionaries are dropped and an alert is queued on the main queue.
    EXPECT_EQ(Utils::initItemsArray(json, nullptr), Value::Array{Value("text")});
    EXPECT_TRUE(visibleAlerts().empty());  // queued
    EXPECT_TRUE(foundation::RunLoop::main().runUntil([] { return !visibleAlerts().empty(); }, 5.0));
    auto alert = tapFrontAlert();
    ASSERT_NE(alert, nullptr);
    EXPECT_EQ(alert->title(), json.description());
    EXPECT_EQ(alert->message()->rfind("This is an error logic or bug in a service call", 0), 0u);
}

TEST(Utils, MapCachePathsStayInsideTheMapCache) {
    auto& files = foundation::FileManager::defaultManager();
    const std::string imaps = foundation::ApplicationHome::cachesDirectory() + "/imaps";
    std::filesystem::remove_all(imaps);

    EXPECT_EQ(Utils::cacheImapsUrlStringForFileName("level1.svg", "ab/c", "42"), imaps + "/ab_c/42/level1.svg");
    bool isDirectory = false;
    EXPECT_TRUE(files.fileExistsAtPath(imaps + "/ab_c/42", &isDirectory) && isDirectory);

    // File name, token, meeting id.
    const char* refused[][3] = {{"../x.svg", "t", "1"}, {"..", "t", "1"},     {".", "t", "1"},
                                {"a/b.svg", "t", "1"},  {"x.svg", "t", ".."}, {"x.svg", "t", "../1"},
                                {"x.svg", "..", "1"},   {"x.svg", ".", "1"}};
    for (const auto& [file, token, event] : refused)
        EXPECT_FALSE(Utils::cacheImapsUrlStringForFileName(file, token, event)) << file << " " << token << " " << event;
    EXPECT_EQ(files.contentsOfDirectoryAtPath(imaps), std::vector<std::string>{"ab_c"});

    // The saved image of the current account and meeting.
    auto& settings = ApplicationSettingsStore::sharedApplicationSettingsStore();
    settings.clear();
    EXPECT_EQ(Utils::getImageFromSavedLocalFileName("logo.png"), nullptr);  // nobody signed in
    settings.setCurrentAccount(QVAUserAccount::initWithDictionary(Value::dictionary({{"accessToken", "ab/c"}})));
    settings.setCurrentEvent(QVAEvent::initWithDictionary(Value::dictionary({{"id", "42"}})));
    graphics::Bitmap logo(3, 2);
    logo.setPixel(1, 1, {255, 0, 0, 255});
    ASSERT_EQ(logo.writePNG(*Utils::cacheImapsUrlStringForFileName("logo.png", "ab/c", "42")), nullptr);
    auto image = Utils::getImageFromSavedLocalFileName("logo.png");
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(*image, logo);
    EXPECT_EQ(Utils::getImageFromSavedLocalFileName("../42/logo.png"), nullptr);
    settings.clear();
}

TEST(Utils, TheIdiomIsALaunchSetting) {
    auto& device = uikit::UIDevice::currentDevice();
    device.setUserInterfaceIdiom(uikit::UIUserInterfaceIdiom::Pad);
    EXPECT_TRUE(Utils::isIPad());
    device.setUserInterfaceIdiom(uikit::UIUserInterfaceIdiom::Phone);
    EXPECT_FALSE(Utils::isIPad());
}

}  // namespace
