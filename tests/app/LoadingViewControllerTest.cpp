// The loading screen against the local meeting service, on the virtual
// clock: the percentage and the tutorial's progress, the three outcomes of a
// first download, the switch of meeting whose download fails, the
// clear-cache reload's recovery, the switch entry and the new-meeting
// offer's hook, on the phone and on the pad.
#include <gtest/gtest.h>

#include <filesystem>

#include "analytics/AnalyticsUtils.h"
#include "api/LoadingScreenHook.h"
#include "eventkit/EKCalendar.h"
#include "eventkit/EKEvent.h"
#include "eventkit/EKEventStore.h"
#include "api/SyncCalendarService.h"
#include "api/ApplicationService.h"
#include "api/LocalServiceTest.h"
#include "app/AppAnalyticsSuperPropertiesProvider.h"
#include "app/AppDelegate.h"
#include "app/AppStoryboards.h"
#include "app/EventLoader.h"
#include "store/CoreDataStack.h"
#include "store/StorageManager.h"
#include "app/EventsSplitViewController.h"
#include "app/EventsTabBarController.h"
#include "app/LoadingViewController.h"
#include "app/LoginViewController.h"
#include "app/QVAStartTutorialViewController.h"
#include "app/StartTutorialStrings.h"
#include "foundation/Bundle.h"
#include "foundation/Clock.h"
#include "foundation/NotificationCenter.h"
#include "maps/InteractiveMapsNotifications.h"
#include "lists/DetailsNavigationController.h"
#include "model/QVAEvent.h"
#include "model/QVAUserAccount.h"
#include "uikit/AlertStack.h"
#include "uikit/DeviceProfile.h"
#include "uikit/ScreenDescription.h"
#include "uikit/ScreenDriver.h"
#include "uikit/UIAlertView.h"
#include "uikit/UIApplication.h"
#include "uikit/UIBarButtonItem.h"
#include "uikit/UIContainerLayout.h"
#include "uikit/UINavigationBar.h"
#include "uikit/UINavigationItem.h"
#include "uikit/UIPageControl.h"
#include "uikit/UIPopoverController.h"
#include "uikit/UIButton.h"
#include "uikit/UIImageView.h"
#include "uikit/UILabel.h"
#include "uikit/UIProgressView.h"
#include "uikit/UIViewAnimation.h"
#include "uikit/UIWindow.h"

namespace {

constexpr double kLoadingStartInstant = 447669000;
constexpr double kPastTheSlide = LoadingViewController::kSlideDelay + LoadingViewController::kSlideDuration + 0.1;

class LoadingScreenTest : public apitest::LocalServiceTest {
protected:
    virtual uikit::DeviceProfile deviceProfile() const { return uikit::DeviceProfile::iPhone6(); }

    void SetUp() override {
        LocalServiceTest::SetUp();
        foundation::Clock::useVirtual(kLoadingStartInstant);
        app().resetForTests();
        uikit::DeviceProfile::apply(deviceProfile());
        uikit::AlertStack::shared().reset();
        AppStoryboards::registerStoryboards();
        AnalyticsUtils::initializeAnalytics();
        AnalyticsUtils::setSuperPropertiesProvider(std::make_shared<AppAnalyticsSuperPropertiesProvider>());
        delegate = std::make_shared<AppDelegate>();
        app().setDelegate(delegate);
        LoginViewController::navigate();
        driver.settle();
    }
    void TearDown() override {
        // A slide still under way ends here: its completion would otherwise
        // wait on the main loop and, in the next test's clock, put this
        // test's main screens at that test's root.
        advance(kPastTheSlide);
        if (device && calendar) device->removeCalendar(calendar);
        eventkit::EKEventStore::setAuthorizationStatus(eventkit::EKEntityType::Event,
                                                       eventkit::EKAuthorizationStatus::NotDetermined);
        LoadingScreenHook::setLoader(nullptr);
        uikit::AlertStack::shared().reset();
        app().keyWindow()->setRootViewController(nullptr);
        delegate->setEventsSplitVC(nullptr);
        app().resetForTests();
        loop.runDueTasks();
        foundation::Clock::useReal();
        LocalServiceTest::TearDown();
    }

    static uikit::UIApplication& app() { return uikit::UIApplication::sharedApplication(); }
    uikit::UIViewControllerPtr root() const { return app().keyWindow()->rootViewController(); }

    // A loading screen presented over the root, as the login does; waits
    // until its download has ended (the slide under way, or an alert).
    std::shared_ptr<LoadingViewController> present(const std::shared_ptr<QVAUserAccount>& user,
                                                   const std::optional<std::string>& event, bool clearCache = false) {
        auto loading = LoadingViewController::instantiateViewControllerWithAccount(user, event, clearCache);
        root()->presentViewController(loading, true);
        awaitEnd(loading);
        return loading;
    }
    void awaitEnd(const std::shared_ptr<LoadingViewController>& loading) {
        EXPECT_TRUE(loop.runUntil(
            [&] {
                driver.settle();
                return !uikit::AlertStack::shared().empty() || !loading->containerForSpotlight()->subviews().empty();
            },
            apitest::kWait));
    }
    void advance(double seconds) {
        foundation::Clock::advance(seconds);
        driver.settle();
    }
    std::shared_ptr<uikit::UIAlertView> frontAlert() const {
        auto alerts = uikit::AlertStack::shared().alertViews();
        return alerts.empty() ? nullptr : alerts.back();
    }
    foundation::Value validity(const std::string& event) {
        auto map = settings.persistentStoresValidity();
        auto entry = map.find(token() + "_" + event);
        return entry == map.end() ? foundation::Value() : entry->second;
    }
    std::string sessionsPath() const { return apiPath("events/" + eventId() + "/sessions/official"); }

    // Calendar sync on, with one agenda entry of this account mirrored into
    // a device calendar; answers the device's event's identifier.
    std::string mirrorAnAgendaEntry() {
        using namespace eventkit;
        EKEventStore::setAuthorizationStatus(EKEntityType::Event, EKAuthorizationStatus::Authorized);
        device = ApplicationService::syncCalendarService()->eventStore();
        calendar = device->addCalendar(device->addSource("Work", EKSourceType::Exchange), "Meetings",
                                       EKCalendarType::Exchange, true);
        auto event = EKEvent::eventWithEventStore(device);
        event->setTitle(std::string("Opening plenary"));
        event->setStartDate(foundation::Date(kLoadingStartInstant + 3600));
        event->setEndDate(foundation::Date(kLoadingStartInstant + 7200));
        event->setCalendar(calendar);
        EXPECT_TRUE(device->saveEvent(event, EKSpan::ThisEvent, true));
        const std::string identifier = event->eventIdentifier().value_or("");
        settings.setCalendarIdentifier(calendar->calendarIdentifier());
        settings.setCalendarDatabase(
            foundation::Value::Dictionary{{token(), foundation::Value::dictionary({{"s1", identifier}})}});
        settings.setSyncWithCalendar(true);
        return identifier;
    }
    std::shared_ptr<eventkit::EKEventStore> device;
    eventkit::EKCalendarPtr calendar;

    std::shared_ptr<AppDelegate> delegate;
    uikit::ScreenDriver driver;
};

class PadLoadingScreenTest : public LoadingScreenTest {
protected:
    uikit::DeviceProfile deviceProfile() const override { return uikit::DeviceProfile::iPad(); }
};

TEST_F(LoadingScreenTest, ProgressShowsThePercentageAndFeedsTheTutorial) {
    settings.setSettingsShowTutorial(false);
    auto loading = LoadingViewController::instantiateViewControllerWithAccount(account());
    root()->presentViewController(loading, false);
    driver.settle();
    // With the tutorial switched off its view is never laid in.
    EXPECT_TRUE(loading->containerForTutorial()->subviews().empty());
    auto tutorial = loading->startTutorial();
    ASSERT_TRUE(tutorial);

    loading->showProgress(0, 22);
    EXPECT_EQ(loading->loadingPercentLabel()->text(), "0%");
    loading->showProgress(11, 22);
    EXPECT_EQ(loading->loadingPercentLabel()->text(), "50%");
    loading->showProgress(22, 22);
    EXPECT_EQ(loading->loadingPercentLabel()->text(), "100%");
    // The progress reached the tutorial object all the same.
    tutorial->loadViewIfNeeded();
    EXPECT_EQ(tutorial->progressView()->progress(), 1.0f);
    EXPECT_EQ(loading->backgroundImageName(), "loading_portrait_iphone-667h.png");
    awaitEnd(loading);
}

TEST_F(LoadingScreenTest, AFirstDownloadSlidesToTheTabBarAndKeepsTheBooks) {
    foundation::ScopedLogCapture log;
    std::map<std::string, int> mapsPosts;
    for (const char* name : {InteractiveMapsNotifications::kInteractiveMapsLoadedNotification,
                             InteractiveMapsNotifications::kInteractiveMapsFailedNotification})
        foundation::NotificationCenter::defaultCenter().addObserver(
            &mapsPosts, [&mapsPosts](const foundation::Notification& note) { ++mapsPosts[note.name]; }, name);
    auto loading = present(account(), std::nullopt);
    EXPECT_EQ(root()->presentedViewController(), loading);
    EXPECT_TRUE(uikit::AlertStack::shared().empty());
    // The tutorial lies over the panel, at 100 % with Skip fading in, and
    // hides the status bar that would cover its progress and Skip.
    ASSERT_EQ(loading->containerForTutorial()->subviews().size(), 1u);
    EXPECT_TRUE(app().isStatusBarHidden());
    EXPECT_EQ(loading->startTutorial()->progressLabel()->text(), "Downloading content (100%)");

    EXPECT_EQ(validity(eventId()), foundation::Value(true));
    ASSERT_TRUE(settings.currentAccount() && settings.currentEvent());
    EXPECT_EQ(settings.currentAccount()->authenticationCode(), token());
    EXPECT_EQ(settings.currentEvent()->itemId(), eventId());
    EXPECT_EQ(AnalyticsUtils::superProperties()["Event id"], eventId());

    // The tab bar waits under the panel, which slides up (and the tutorial
    // down) by the screen's height over ten seconds after 0.3 s.
    bool slideRecorded = false;
    for (const auto& record : uikit::UIView::recordedAnimations())
        slideRecorded |= record.duration == LoadingViewController::kSlideDuration &&
                         record.delay == LoadingViewController::kSlideDelay &&
                         record.options == uikit::UIViewAnimationOptionLayoutSubviews;
    EXPECT_TRUE(slideRecorded);
    advance(LoadingViewController::kSlideDelay + LoadingViewController::kSlideDuration / 2);
    EXPECT_EQ(loading->containerForLoading()->transform(), graphics::AffineTransform::makeTranslation(0, -667));
    EXPECT_EQ(loading->containerForTutorial()->transform(), graphics::AffineTransform::makeTranslation(0, 667));
    EXPECT_FALSE(std::dynamic_pointer_cast<EventsTabBarController>(root()));
    EXPECT_EQ(loading->containerForSpotlight()->subviews().size(), 1u);
    // Laid out as the root will be: the home's bar below the status bar.
    auto waiting = std::dynamic_pointer_cast<uikit::UIViewController>(
        loading->containerForSpotlight()->subviews().front()->viewController());
    ASSERT_TRUE(waiting);
    EXPECT_EQ(waiting->containerInsets().top, uikit::UIContainerLayout::kStatusBarHeight);
    advance(LoadingViewController::kSlideDuration / 2 + 0.1);
    auto tabBar = std::dynamic_pointer_cast<EventsTabBarController>(root());
    ASSERT_TRUE(tabBar);
    EXPECT_FALSE(app().isStatusBarHidden());
    EXPECT_EQ(tabBar->viewControllers().size(), 5u);
    EXPECT_EQ(tabBar->selectedIndex(), 0);
    EXPECT_FALSE(delegate->eventsSplitVC());
    EXPECT_TRUE(loop.runUntil([&] { return apitest::logged(log, "Interactive maps download ended"); }, apitest::kWait));
    // The load's map run ends with the new meeting's maps in memory, announced once.
    foundation::NotificationCenter::defaultCenter().removeObserver(&mapsPosts);
    EXPECT_TRUE(settings.currentEventHasIMapsLoadedInMemory());
    EXPECT_EQ(mapsPosts, (std::map<std::string, int>{{InteractiveMapsNotifications::kInteractiveMapsLoadedNotification, 1}}));
}

// Over the loading screen the tutorial has its pages before any layout pass
// reaches it, and a scroll or "Skip" once the download is complete keeps
// the loading screen up.
TEST_F(LoadingScreenTest, TheHostedTutorialShowsItsPagesAndSurvivesScrollAndSkip) {
    struct TutorialTexts {
        TutorialTexts() { foundation::Bundle::mainBundle().setStringTable("", StartTutorialStrings::entries()); }
        ~TutorialTexts() { foundation::Bundle::mainBundle().setStringTable("", {}); }
    } texts;
    auto loading = present(account(), std::nullopt);
    auto tutorial = loading->startTutorial();
    ASSERT_TRUE(tutorial && tutorial->isViewLoaded());
    EXPECT_EQ(tutorial->progressLabel()->text(), "Downloading content (100%)");
    const std::string screen = uikit::describe(*app().keyWindow());
    for (const char* title : {"WELCOME", "PLAN YOUR DAYS", "STAY INFORMED"})
        EXPECT_NE(screen.find(title), std::string::npos) << title << "\n" << screen;

    const double width = tutorial->scrollView()->frame().size.width;
    ASSERT_TRUE(driver.scroll(width, 0, std::string("scrollView")));
    EXPECT_EQ(tutorial->pageControl()->currentPage(), 1);
    // "Skip" fades in once the download is complete: out of reach until it shows.
    EXPECT_FALSE(driver.tapButton("Skip"));
    advance(1.5);
    ASSERT_TRUE(driver.tapButton("Skip"));
    EXPECT_EQ(tutorial->scrollView()->contentOffset().x, 5 * width);
    EXPECT_EQ(root()->presentedViewController(), loading);
    EXPECT_EQ(loading->containerForTutorial()->subviews().size(), 1u);
}

TEST_F(LoadingScreenTest, SecondaryFailuresMarkTheStoreIncompleteAndStillSlide) {
    service->injectFault("GET", apiPath("events/" + eventId() + "/rooms"), {.status = 500});
    present(account(), eventId());
    EXPECT_TRUE(uikit::AlertStack::shared().empty());
    EXPECT_EQ(validity(eventId()), foundation::Value(false));
    advance(kPastTheSlide);
    EXPECT_TRUE(std::dynamic_pointer_cast<EventsTabBarController>(root()));
}

TEST_F(LoadingScreenTest, AnImportantFailureOnAFirstLoginEndsOnAClearedLogin) {
    const std::string mirrored = mirrorAnAgendaEntry();
    ASSERT_TRUE(device->eventWithIdentifier(mirrored));
    service->injectFault("GET", sessionsPath(), {.status = 500});
    foundation::ScopedLogCapture log;
    present(account(), std::nullopt);
    EXPECT_TRUE(apitest::logged(log, "Unable to load all data. One of the important calls failed."));
    auto alert = frontAlert();
    ASSERT_TRUE(alert);
    EXPECT_EQ(alert->title(), "An error occurred while loading the event. Please try again.");
    EXPECT_EQ(alert->message(), std::nullopt);
    ASSERT_EQ(alert->numberOfButtons(), 1);
    EXPECT_EQ(alert->buttonTitleAtIndex(0), "OK");
    EXPECT_TRUE(validity(eventId()).isAbsent());
    EXPECT_FALSE(store.persistentStoreExistsForAuthToken(token(), eventId()));

    ASSERT_TRUE(driver.answerAlert("OK"));
    driver.settle();
    EXPECT_TRUE(std::dynamic_pointer_cast<LoginViewController>(root()));
    EXPECT_FALSE(root()->presentedViewController());
    EXPECT_TRUE(settings.persistentStoresValidity().empty());
    EXPECT_FALSE(settings.currentAccount());
    EXPECT_FALSE(settings.syncWithCalendar());
    // The clear took the mirrored entry out of the device calendar.
    EXPECT_FALSE(device->eventWithIdentifier(mirrored));
}

TEST_F(LoadingScreenTest, AFailedEventFetchAlertsAndReturnsToLoginWithSettingsKept) {
    service->injectFault("GET", apiPath("events/current"), {.status = 500});
    settings.setSettingsShowTutorial(false);
    present(account(), std::nullopt);
    auto alert = frontAlert();
    ASSERT_TRUE(alert);
    EXPECT_EQ(alert->title(), "An error occurred while loading the event. Please try again.");
    EXPECT_EQ(alert->message(), std::nullopt);
    EXPECT_TRUE(std::dynamic_pointer_cast<LoginViewController>(root()));
    EXPECT_FALSE(settings.settingsShowTutorial());
}

TEST_F(LoadingScreenTest, AFailedMeetingSwitchBringsBackThePreviousMainScreens) {
    // A first meeting loaded and current.
    auto first = present(account(), eventId());
    advance(kPastTheSlide);
    ASSERT_TRUE(std::dynamic_pointer_cast<EventsTabBarController>(root()));
    const auto previousEvent = settings.currentEvent()->itemId();

    // The switch to the service's meeting (not complete on this device, so
    // downloaded whole) fails on an important call.
    settings.setPersistentStoresValidity(std::nullopt);
    service->injectFault("GET", sessionsPath(), {.status = 500});
    present(account(), eventId());
    ASSERT_TRUE(frontAlert());
    ASSERT_TRUE(driver.answerAlert("OK"));
    driver.settle();
    EXPECT_TRUE(std::dynamic_pointer_cast<EventsTabBarController>(root()));
    ASSERT_TRUE(settings.currentAccount() && settings.currentEvent());
    EXPECT_EQ(settings.currentEvent()->itemId(), previousEvent);
    EXPECT_EQ(settings.currentAccount()->authenticationCode(), token());
}

TEST_F(LoadingScreenTest, AFailedClearCacheReloadRestoresTheCopyOrClearsToLogin) {
    present(account(), eventId());
    advance(kPastTheSlide);
    ASSERT_EQ(validity(eventId()), foundation::Value(true));

    // The copy restored and reopened with the entry it had before the
    // reload (the clearing emptied the map), the main screens come back.
    service->injectFault("GET", sessionsPath(), {.status = 500});
    QVAApiManager::sharedApiManager().clearCacheAndReloadContentForAuthToken(token(), eventId(), nullptr);
    EXPECT_TRUE(settings.persistentStoresValidity().empty());
    present(account(), eventId(), true);
    auto alert = frontAlert();
    ASSERT_TRUE(alert);
    EXPECT_EQ(alert->title(), "An error occurred while trying to clear cache.");
    EXPECT_EQ(validity(eventId()), foundation::Value(true));
    EXPECT_TRUE(store.persistentStoreExistsForAuthToken(token(), eventId()));
    ASSERT_TRUE(settings.currentEvent());
    EXPECT_EQ(settings.currentEvent()->itemId(), eventId());
    ASSERT_TRUE(driver.answerAlert("OK"));
    driver.settle();
    EXPECT_TRUE(std::dynamic_pointer_cast<EventsTabBarController>(root()));

    // No copy to restore: the login again, cleared.
    QVAApiManager::sharedApiManager().clearCacheAndReloadContentForAuthToken(token(), eventId(), nullptr);
    ASSERT_TRUE(store.deleteCachedCopyOfPersistentStoreForAuthToken(token(), eventId()));
    present(account(), eventId(), true);
    alert = frontAlert();
    ASSERT_TRUE(alert);
    EXPECT_EQ(alert->title(), "An error occurred while trying to reload content. Please log in again.");
    ASSERT_TRUE(driver.answerAlert("OK"));
    driver.settle();
    EXPECT_TRUE(std::dynamic_pointer_cast<LoginViewController>(root()));
    EXPECT_FALSE(settings.currentAccount());
    EXPECT_TRUE(settings.persistentStoresValidity().empty());
}

TEST_F(LoadingScreenTest, ASuccessfulClearCacheReloadDropsTheCopy) {
    present(account(), eventId());
    advance(kPastTheSlide);
    QVAApiManager::sharedApiManager().clearCacheAndReloadContentForAuthToken(token(), eventId(), nullptr);
    present(account(), eventId(), true);
    EXPECT_TRUE(uikit::AlertStack::shared().empty());
    EXPECT_EQ(validity(eventId()), foundation::Value(true));
    // Nothing is left to put back.
    EXPECT_FALSE(store.revertCopyPersistentStoreFileForAuthToken(token(), eventId()));
}

TEST_F(LoadingScreenTest, TheSwitchEntryOpensTheStoreThenPresentsForTheCurrentMeeting) {
    auto base = QVAUserAccount::initWithDictionary(foundation::Value::dictionary({{"accessToken", "base-user"}}));
    LoadingViewController::presentAsModalFromController(root(), account(), base, std::string("not-this-one"));
    auto loading = std::dynamic_pointer_cast<LoadingViewController>(root()->presentedViewController());
    ASSERT_TRUE(loading);
    // The phone loads the account's current meeting.
    EXPECT_EQ(loading->eventId(), std::nullopt);
    ASSERT_TRUE(settings.baseUserWhenSwitchToDelegate());
    EXPECT_EQ(settings.baseUserWhenSwitchToDelegate()->authenticationCode(), "base-user");
    awaitEnd(loading);
}

// A folder where the database file belongs: the store cannot open.
void blockStoreOf(const std::string& token, const std::string& event) {
    StorageManager::sharedStorageManager().clear();
    std::filesystem::create_directories(CoreDataStack::databaseUrlForAuthToken(token, event));
}

TEST_F(LoadingScreenTest, AStoreThatWillNotOpenAfterTheEventFetchAlertsOverTheLoadingScreen) {
    blockStoreOf(token(), eventId());
    auto loading = LoadingViewController::instantiateViewControllerWithAccount(account());
    root()->presentViewController(loading, false);
    ASSERT_TRUE(loop.runUntil(
        [&] {
            driver.settle();
            return !uikit::AlertStack::shared().empty();
        },
        apitest::kWait));
    ASSERT_TRUE(frontAlert());
    EXPECT_EQ(frontAlert()->title(), "An error occurred while loading the event. Please try again.");
    EXPECT_EQ(root()->presentedViewController(), loading);
    EXPECT_TRUE(loading->containerForSpotlight()->subviews().empty());
}

TEST_F(LoadingScreenTest, ASwitchWhoseStoreWillNotOpenEndsOnAClearedLogin) {
    settings.setCurrentAccount(account());
    blockStoreOf(token(), eventId());
    LoadingViewController::presentAsModalFromController(root(), account(), nullptr, eventId());
    EXPECT_FALSE(root()->presentedViewController());
    ASSERT_TRUE(frontAlert());
    EXPECT_EQ(frontAlert()->title(), "An error occured while trying to switch user. Please log in again");
    ASSERT_TRUE(driver.answerAlert("OK"));
    driver.settle();
    EXPECT_TRUE(std::dynamic_pointer_cast<LoginViewController>(root()));
    EXPECT_FALSE(settings.currentAccount());
}

TEST_F(LoadingScreenTest, TheNewMeetingOfferPresentsALoadingScreenOverTheRoot) {
    LoadingViewController::installLoadingScreenHook();
    ASSERT_TRUE(LoadingScreenHook::presentLoadingScreen(account(), eventId()));
    auto loading = std::dynamic_pointer_cast<LoadingViewController>(root()->presentedViewController());
    ASSERT_TRUE(loading);
    ASSERT_TRUE(loading->currentUserAccount());
    EXPECT_EQ(loading->currentUserAccount()->authenticationCode(), token());
    EXPECT_EQ(loading->eventId(), eventId());
    awaitEnd(loading);
    advance(kPastTheSlide);
    EXPECT_TRUE(std::dynamic_pointer_cast<EventsTabBarController>(root()));
    EXPECT_EQ(settings.currentEvent()->itemId(), eventId());
}

TEST_F(PadLoadingScreenTest, ThePadSlideInstallsTheSplitViewAsTheDelegates) {
    auto loading = present(account(), std::nullopt);
    EXPECT_EQ(loading->backgroundImageName(), "loading_portrait_ipad.png");
    advance(kPastTheSlide);
    auto split = std::dynamic_pointer_cast<EventsSplitViewController>(root());
    ASSERT_TRUE(split);
    EXPECT_EQ(delegate->eventsSplitVC(), split);

    // A meeting switch whose important call fails: the split view it
    // replaces goes, and the new one is the delegate's.
    foundation::ScopedLogCapture log;
    settings.setPersistentStoresValidity(std::nullopt);
    service->injectFault("GET", sessionsPath(), {.status = 500});
    split->showLoadingControllerForUserAccount(account(), eventId());
    awaitEnd(std::dynamic_pointer_cast<LoadingViewController>(split->presentedViewController()));
    ASSERT_TRUE(driver.answerAlert("OK"));
    split.reset();
    driver.settle();
    loop.runDueTasks();
    auto restored = std::dynamic_pointer_cast<EventsSplitViewController>(root());
    ASSERT_TRUE(restored);
    EXPECT_EQ(delegate->eventsSplitVC(), restored);
    EXPECT_TRUE(log.contains(EventsSplitViewController::kDeallocLine));
}

TEST_F(PadLoadingScreenTest, AfterTheSlideTheHomePaneShowsMenuAndTheEntryPointsOpenThePopover) {
    present(account(), std::nullopt);
    advance(kPastTheSlide);
    auto split = std::dynamic_pointer_cast<EventsSplitViewController>(root());
    ASSERT_TRUE(split);
    auto home = std::dynamic_pointer_cast<DetailsNavigationController>(split->viewControllers().back());
    ASSERT_TRUE(home);
    auto menu = home->menuBarButtonItem();
    ASSERT_TRUE(menu);
    EXPECT_EQ(menu->title(), "Menu");
    EXPECT_EQ(home->navigationBar()->items().front()->leftBarButtonItem(), menu);

    split->masterTabBarController()->displayAndFilterSessionsByType(std::string("Plenary"));
    driver.settle();
    ASSERT_TRUE(split->leftPopoverMenuController());
    EXPECT_TRUE(split->leftPopoverMenuController()->isPopoverVisible());
    EXPECT_EQ(split->leftPopoverMenuController()->presentingBarButtonItem(), menu);
}

// On the pad a switch keeps the meeting asked for and loads it over the split view.
TEST_F(PadLoadingScreenTest, TheSwitchEntryWithAMeetingPresentsOverTheSplitViewForThatMeeting) {
    present(account(), std::nullopt);
    advance(kPastTheSlide);
    auto split = std::dynamic_pointer_cast<EventsSplitViewController>(root());
    ASSERT_TRUE(split);
    LoadingViewController::presentAsModalFromController(split, account(), nullptr, eventId());
    auto loading = std::dynamic_pointer_cast<LoadingViewController>(split->presentedViewController());
    ASSERT_TRUE(loading);
    EXPECT_EQ(loading->eventId(), eventId());
    awaitEnd(loading);
}

TEST_F(PadLoadingScreenTest, TheBackgroundFollowsTheOrientation) {
    auto loading = LoadingViewController::instantiateViewControllerWithAccount(account());
    root()->presentViewController(loading, false);
    driver.settle();
    loading->willAnimateRotationToInterfaceOrientation(uikit::UIInterfaceOrientation::LandscapeLeft, 0);
    EXPECT_EQ(loading->backgroundImageName(), "loading_landscape_ipad.png");
    EXPECT_TRUE(loading->shouldAutorotate());
    awaitEnd(loading);
}

}  // namespace
