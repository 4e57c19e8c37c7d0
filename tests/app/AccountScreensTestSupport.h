// The account screens (members, the spouse's password, privacy) against the
// local meeting service: the demo user and its meeting made current with an
// open store holding the meeting's delegators, a key window, the screen
// driver on the virtual clock, and the alerts read back.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "analytics/AnalyticsEvent.h"
#include "analytics/AnalyticsUtils.h"
#include "api/LocalServiceTest.h"
#include "app/AppStoryboards.h"
#include "app/CustomNavigationController.h"
#include "app/MembersScenes.h"
#include "app/LoginDelegatorsViewController.h"
#include "coredata/EntityDescription.h"
#include "foundation/Clock.h"
#include "model/QVAEvent.h"
#include "model/QVAUserAccount.h"
#include "service/MeetingData.h"
#include "store/CoreDataStack.h"
#include "support/ScreenEnvironment.h"
#include "uikit/AlertStack.h"
#include "uikit/DeviceProfile.h"
#include "uikit/ScreenDriver.h"
#include "uikit/UIAlertView.h"
#include "uikit/UIApplication.h"
#include "uikit/UIStoryboard.h"
#include "uikit/UIWindow.h"

namespace accounttest {

class AccountScreensTest : public apitest::LocalServiceTest {
protected:
    static constexpr double kStartInstant = ScreenEnvironment::kStartInstant;

    virtual uikit::DeviceProfile deviceProfile() const { return uikit::DeviceProfile::iPhone6(); }

    void SetUp() override {
        LocalServiceTest::SetUp();
        environment.enter(deviceProfile());
        uikit::AlertStack::shared().reset();
        AppStoryboards::registerStoryboards();
        for (const char* name : {AppStoryboards::kPhoneStoryboardName, AppStoryboards::kPadStoryboardName}) {
            auto storyboard = uikit::UIStoryboard::storyboardWithName(name);
            if (!storyboard->hasScene(LoginDelegatorsViewController::kStoryboardIdentifier))
                MembersScenes::registerScenes(*storyboard);
        }
        AnalyticsUtils::initializeAnalytics();

        ASSERT_TRUE(open(token(), eventId()));
        user = QVAUserAccount::initWithDictionary(foundation::Value::dictionary(
            {{"accessToken", token()},
             {"user", foundation::Value::dictionary({{"id", "demo-user"}, {"fullName", "Dana Demo"}})}}));
        makeCurrent(user, fetchEvent(eventId()));
        insertDelegators();
    }
    void TearDown() override {
        uikit::AlertStack::shared().reset();
        if (window) window->setRootViewController(nullptr);
        window.reset();
        environment.leave();
        LocalServiceTest::TearDown();
    }

    static uikit::UIApplication& app() { return uikit::UIApplication::sharedApplication(); }

    // The service's delegators, written into the current store as a
    // download writes them.
    void insertDelegators() {
        const auto delegators = service->items(testservice::MeetingKind::LoginDelegators);
        auto written = await([&](auto done) {
            store.executeBlockInWorkerBackgroundContext(
                [delegators](coredata::ManagedObjectContext& context) {
                    for (const auto& item : delegators) {
                        auto row = coredata::EntityDescription::insertNewObjectForEntityForName("QVACoreDataLoginDelegator",
                                                                                               context);
                        row->setValue(foundation::Value(item["id"].stringValue()), "itemId");
                        row->setValue(item["fullName"], "fullName");
                        row->setValue(item["type"], "type");
                    }
                },
                token(), eventId(), nullptr, done);
        });
        ASSERT_EQ(written.error, nullptr);
    }
    // The service's delegator of that type.
    foundation::Value delegatorOfType(const std::string& type) const {
        for (const auto& item : service->items(testservice::MeetingKind::LoginDelegators))
            if (item["type"].stringValue() == type) return item;
        return {};
    }

    // The screen at the root of a navigation stack in a key window.
    void showInNavigation(const uikit::UIViewControllerPtr& screen) {
        window = std::make_shared<uikit::UIWindow>();
        window->setRootViewController(CustomNavigationController::initWithRootViewController(screen));
        window->makeKeyAndVisible();
        settle();
    }
    bool settle() { return driver.settle(); }
    // Pumps the main loop (settling the screens) until the condition holds.
    bool settleUntil(const std::function<bool()>& condition) {
        return loop.runUntil(
            [&] {
                driver.settle();
                return condition();
            },
            apitest::kWait);
    }

    std::shared_ptr<uikit::UIAlertView> frontAlert() const {
        auto alerts = uikit::AlertStack::shared().alertViews();
        return alerts.empty() ? nullptr : alerts.back();
    }
    // Title and message of the front alert, "title|message" ("-" for none).
    std::string frontAlertText() const {
        auto alert = frontAlert();
        if (!alert) return "no alert";
        return alert->title().value_or("-") + "|" + alert->message().value_or("-");
    }
    size_t analyticsEvents(const std::string& name) const {
        size_t count = 0;
        for (const auto& event : AnalyticsUtils::queuedEvents()) count += event.name == name;
        return count;
    }
    std::optional<AnalyticsEvent> lastAnalyticsEvent(const std::string& name) const {
        const auto events = AnalyticsUtils::queuedEvents();
        for (auto it = events.rbegin(); it != events.rend(); ++it)
            if (it->name == name) return *it;
        return std::nullopt;
    }

    std::shared_ptr<QVAUserAccount> user;
    ScreenEnvironment environment;
    std::shared_ptr<uikit::UIWindow> window;
    uikit::ScreenDriver driver;
};

class PadAccountScreensTest : public AccountScreensTest {
protected:
    uikit::DeviceProfile deviceProfile() const override { return uikit::DeviceProfile::iPad(); }
};

}  // namespace accounttest
