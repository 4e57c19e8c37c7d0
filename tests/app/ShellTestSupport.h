// The shell's screens over a store: the meeting-store fixture (an account
// and meeting made current, rows written straight into the store) with the
// screen side of ScreenTest (a reset application on a device profile, the
// virtual clock, the screen driver), and the application launched with its
// own delegate and storyboards.
#pragma once

#include <memory>
#include <string>

#include "Utils/MeetingStoreTestSupport.h"
#include "api/QVAApiManager.h"
#include "api/Updater.h"
#include "app/AppDelegate.h"
#include "app/AppStoryboards.h"
#include "app/EventsSplitViewController.h"
#include "app/EventsTabBarController.h"
#include "foundation/Clock.h"
#include "foundation/RunLoop.h"
#include "http/QNNetworkReachabilityManager.h"
#include "network/Reachability.h"
#include "programme/ListSessionsBaseDelegate.h"
#include "programme/ListSessionsBaseViewController.h"
#include "programme/SessionsListSegmentedNavigationController.h"
#include "support/ScreenEnvironment.h"
#include "uikit/DeviceProfile.h"
#include "uikit/ScreenDriver.h"
#include "uikit/UIApplication.h"
#include "uikit/UINavigationController.h"
#include "uikit/UIWindow.h"

namespace shelltest {

class ShellTest : public meetingtest::MeetingStoreTest {
protected:
    static constexpr double kStartInstant = ScreenEnvironment::kStartInstant;
    static constexpr const char* kNowhere = "http://127.0.0.1:1";

    virtual uikit::DeviceProfile deviceProfile() const { return uikit::DeviceProfile::iPhone6(); }

    void SetUp() override {
        MeetingStoreTest::SetUp();
        environment.enter(deviceProfile());
        AppStoryboards::registerStoryboards();
        // The launch's content and build checks stay on this machine (a port
        // nothing listens on), and the network reads as absent.
        QVAApiManager::setServiceRoot(std::string(kNowhere) + "/api");
        Updater::setVersionFileURL(std::string(kNowhere) + "/version.json");
        network::Reachability::setSimulatedFlags(0);
        // Nor does becoming active start a content update unless a test asks.
        settings.setAutomaticallyCheckForContentUpdates(false);
    }

    void TearDown() override {
        if (auto window = app().keyWindow()) window->setRootViewController(nullptr);
        environment.leave();
        QNNetworkReachabilityManager::sharedManager().stopMonitoring();
        network::Reachability::setSimulatedFlags(std::nullopt);
        QVAApiManager::setServiceRoot(std::nullopt);
        Updater::setVersionFileURL(std::nullopt);
        MeetingStoreTest::TearDown();
    }

    static uikit::UIApplication& app() { return uikit::UIApplication::sharedApplication(); }

    // Launches the application with its own delegate and settles. The
    // shell's roots are a signed-in user's, so without a current account one
    // is made current first; launchSignedOut launches as the settings are.
    void launch() {
        if (!settings.currentAccount()) openCurrent("shell-token");
        launchSignedOut();
    }
    void launchSignedOut() {
        app().launch(std::make_shared<AppDelegate>());
        settle();
    }
    bool settle() { return driver_.settle(); }
    uikit::ScreenDriver& driver() { return driver_; }

    uikit::UIViewControllerPtr root() const { return app().keyWindow()->rootViewController(); }
    std::shared_ptr<EventsSplitViewController> split() const {
        return std::dynamic_pointer_cast<EventsSplitViewController>(root());
    }
    // The main tab bar: the root on the phone, the split view's master on the pad.
    std::shared_ptr<EventsTabBarController> tabBar() const {
        if (auto splitView = split()) return splitView->masterTabBarController();
        return std::dynamic_pointer_cast<EventsTabBarController>(root());
    }
    // The split view's detail.
    std::shared_ptr<uikit::UINavigationController> detail() const {
        auto splitView = split();
        if (!splitView || splitView->viewControllers().size() < 2) return nullptr;
        return std::dynamic_pointer_cast<uikit::UINavigationController>(splitView->viewControllers()[1]);
    }
    // The root screen of the navigation controller at the tab.
    template <class T>
    std::shared_ptr<T> rootOfTab(int64_t index) const {
        auto navigation =
            std::dynamic_pointer_cast<uikit::UINavigationController>(tabBar()->viewControllers().at(static_cast<size_t>(index)));
        return navigation && !navigation->viewControllers().empty()
                   ? std::dynamic_pointer_cast<T>(navigation->viewControllers().front())
                   : nullptr;
    }

    // Before the launch: the sessions tab gets its My agenda segment.
    void grantAgenda() {
        if (!settings.currentAccount()) openCurrent("shell-token");
        insert("shell-token", "QVACoreDataPermission", {{{"code", "my_agenda:selections"}, {"granted", true}}});
    }
    // The sessions tab's list on show.
    std::shared_ptr<ListSessionsBaseViewController> shownSessionsList() const {
        auto sessions = tabBar()->sessionsSegmentedNavController();
        return sessions ? std::dynamic_pointer_cast<ListSessionsBaseViewController>(sessions->topViewController())
                        : nullptr;
    }
    // Its delegate's class: "ProgrammeListDelegate", "AgendaListDelegate", or "-".
    std::string shownSessionsDelegate() const {
        auto list = shownSessionsList();
        auto delegate = list ? std::dynamic_pointer_cast<ListSessionsBaseDelegate>(list->listDelegate()) : nullptr;
        return delegate ? delegate->className() : "-";
    }
    // The caption of the filters the shown list applies; none without.
    std::optional<std::string> shownSessionsFilter() const {
        auto list = shownSessionsList();
        return list ? list->buildFilterCaptionTextForFilters(list->filtersArray()) : std::nullopt;
    }

private:
    ScreenEnvironment environment;
    uikit::ScreenDriver driver_;
};

class PadShellTest : public ShellTest {
protected:
    uikit::DeviceProfile deviceProfile() const override { return uikit::DeviceProfile::iPad(); }
};

}  // namespace shelltest
