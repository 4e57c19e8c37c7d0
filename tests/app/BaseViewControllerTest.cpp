// The base screen: the network-status hook reached on the main thread only
// (also from a worker's post) and only for the two status strings, the
// foreground hook, the single progress overlay and empty-result label,
// going home and back on each idiom, the pad's cell layout pattern, creation
// from the storyboard, and the store and token read afresh.
#include <gtest/gtest.h>

#include <memory>
#include <thread>
#include <vector>

#include "ShellTestSupport.h"
#include "app/BaseViewController.h"
#include "app/LoadingViewController.h"
#include "app/MoreViewController.h"
#include "foundation/Exception.h"
#include "foundation/Log.h"
#include "foundation/NotificationCenter.h"
#include "foundation/Thread.h"
#include "programme/SessionsListSegmentedNavigationController.h"
#include "programme/SpotlightViewController.h"
#include "uikit/UIActivityIndicatorView.h"
#include "uikit/UIColor.h"
#include "uikit/UILabel.h"
#include "uikit/UIStoryboard.h"
#include "uikit/UIStoryboardSegue.h"
#include "uikit/UIView.h"

namespace {

using shelltest::PadShellTest;
using shelltest::ShellTest;

class StatusScreen : public BaseViewController {
public:
    struct Call {
        bool online;
        bool onMainThread;
    };
    std::vector<Call> calls;
    int foregrounds = 0;
    std::vector<std::string> preparedSegues;

    void onNetworkStatusChanged(bool online) override { calls.push_back({online, foundation::isMainThread()}); }
    void onApplicationWillEnterForeground() override { ++foregrounds; }
    void prepareForSegue(uikit::UIStoryboardSegue& segue, const foundation::ObjectPtr& sender) override {
        (void)sender;
        preparedSegues.push_back(segue.identifier());
    }
    std::string className() const override { return "StatusScreen"; }
};

void postStatus(const char* status) {
    foundation::NotificationCenter::defaultCenter().postNotificationName(BaseViewController::kNetworkStatusNotification,
                                                                         foundation::Value(std::string(status)));
}

TEST_F(ShellTest, NetworkStatusReachesTheHookOnTheMainThreadForTheTwoStatusStringsOnly) {
    auto screen = std::make_shared<StatusScreen>();
    screen->loadViewIfNeeded();

    postStatus("qvaNetworkOffline");
    postStatus("qvaNetworkOnline");
    postStatus("somethingElse");
    foundation::NotificationCenter::defaultCenter().postNotificationName(BaseViewController::kNetworkStatusNotification);
    ASSERT_EQ(screen->calls.size(), 2u);
    EXPECT_FALSE(screen->calls[0].online);
    EXPECT_TRUE(screen->calls[1].online);

    // From a worker the post returns at once; the hook runs on the main queue.
    std::thread worker([] { postStatus("qvaNetworkOffline"); });
    worker.join();
    EXPECT_EQ(screen->calls.size(), 2u);
    foundation::RunLoop::main().runDueTasks();
    ASSERT_EQ(screen->calls.size(), 3u);
    EXPECT_FALSE(screen->calls[2].online);
    EXPECT_TRUE(screen->calls[2].onMainThread);

    app().enterForeground();
    EXPECT_EQ(screen->foregrounds, 1);

    // A status that arrives on the main queue after the screen went does nothing.
    std::thread late([] { postStatus("qvaNetworkOnline"); });
    late.join();
    {
        foundation::ScopedLogCapture log;
        screen.reset();
        EXPECT_TRUE(log.contains("Called dealloc StatusScreen"));
    }
    foundation::RunLoop::main().runDueTasks();
}

TEST_F(ShellTest, ProgressOverlayAndEmptyResultLabelExistOnceAtATime) {
    auto screen = std::make_shared<StatusScreen>();
    auto navigation = CustomNavigationController::initWithRootViewController(screen);
    app().keyWindow()->setRootViewController(navigation);
    settle();

    screen->stopProgress();  // nothing shown: nothing happens
    screen->startProgress();
    screen->startProgress();
    int overlays = 0;
    for (const auto& view : navigation->view()->subviews())
        if (view == screen->loadingView()) ++overlays;
    EXPECT_EQ(overlays, 1);
    ASSERT_TRUE(screen->loadingView());
    EXPECT_EQ(screen->loadingView()->superview(), navigation->view());
    EXPECT_EQ(screen->loadingView()->frame(), navigation->view()->bounds());
    EXPECT_DOUBLE_EQ(screen->loadingView()->alpha(), 0.6);
    EXPECT_EQ(screen->loadingView()->backgroundColor(), graphics::Color(uikit::UIColor::blackColor()));
    const auto& spinner = screen->activityIndicatorView();
    ASSERT_TRUE(spinner);
    EXPECT_EQ(spinner->activityIndicatorViewStyle(), uikit::UIActivityIndicatorViewStyle::WhiteLarge);
    EXPECT_EQ(spinner->center().x, navigation->view()->bounds().size.width / 2);
    EXPECT_EQ(spinner->center().y, navigation->view()->bounds().size.height / 2);
    screen->stopProgress();
    EXPECT_EQ(screen->loadingView(), nullptr);
    for (const auto& view : navigation->view()->subviews()) EXPECT_NE(view, spinner->superview());

    screen->showNoResultsLabelWithText("Nothing here");
    screen->showNoResultsLabelWithText("Still nothing");
    int labels = 0;
    for (const auto& view : screen->view()->subviews())
        if (auto label = std::dynamic_pointer_cast<uikit::UILabel>(view)) {
            ++labels;
            EXPECT_EQ(label->text(), "Still nothing");
            EXPECT_EQ(label->frame().origin.x, 20);
            EXPECT_EQ(label->frame().size.width, screen->view()->frame().size.width - 40);
            EXPECT_EQ(label->numberOfLines(), 0u);
        }
    EXPECT_EQ(labels, 1);
    screen->removeNoResultsLabel();
    EXPECT_EQ(screen->noResultsLabel(), nullptr);
    screen->removeNoResultsLabel();
}

TEST_F(ShellTest, OnThePhoneGoingBackPopsOrShowsTheHomeTab) {
    launch();
    auto tabs = tabBar();
    ASSERT_TRUE(tabs);
    tabs->selectTabBarItem(EventsTabBarController::moreTabIndex());
    settle();
    auto more = rootOfTab<MoreViewController>(EventsTabBarController::moreTabIndex());
    ASSERT_TRUE(more);

    auto pushed = std::make_shared<StatusScreen>();
    more->navigationController()->pushViewController(pushed, false);
    settle();
    pushed->goBack();
    settle();
    EXPECT_EQ(more->navigationController()->viewControllers().size(), 1u);
    EXPECT_EQ(tabs->selectedIndex(), 4);

    more->goBack();
    settle();
    EXPECT_EQ(tabs->selectedIndex(), 0);
    EXPECT_EQ(more->cellsAvailableSizePattern(), 0);
    EXPECT_EQ(more->supportedInterfaceOrientations(), uikit::UIInterfaceOrientationMaskPortrait);
    EXPECT_FALSE(more->shouldAutorotate());
}

TEST_F(PadShellTest, OnThePadGoingHomeReplacesTheDetailAndGoHomeAlsoShowsTheSessions) {
    grantAgenda();
    launch();
    auto tabs = tabBar();
    ASSERT_TRUE(tabs);
    tabs->selectTabBarItem(EventsTabBarController::participantsTabIndex());
    auto before = detail();
    ASSERT_TRUE(before);
    auto home = std::dynamic_pointer_cast<BaseViewController>(before->viewControllers().front());
    ASSERT_TRUE(home);

    home->goBack();
    settle();
    ASSERT_TRUE(detail());
    EXPECT_NE(detail(), before);
    EXPECT_TRUE(std::dynamic_pointer_cast<SpotlightViewController>(detail()->viewControllers().front()));
    EXPECT_EQ(tabs->selectedIndex(), 1);
    EXPECT_EQ(split()->viewControllers().front(), tabs);

    // A screen in the detail is shown the segue before it performs.
    auto screen = std::make_shared<StatusScreen>();
    detail()->pushViewController(screen, false);
    settle();
    split()->setPresentsWithGesture(false);
    tabs->sessionsSegmentedNavController()->displayAgendaList();
    screen->goHome(nullptr);
    settle();
    EXPECT_EQ(screen->preparedSegues, std::vector<std::string>{"goHomeSegueIpad"});
    EXPECT_EQ(tabs->selectedIndex(), 0);
    EXPECT_EQ(shownSessionsDelegate(), "ProgrammeListDelegate");
    EXPECT_TRUE(split()->presentsWithGesture());
    EXPECT_EQ(detail()->viewControllers().size(), 1u);
    EXPECT_EQ(screen->supportedInterfaceOrientations(), 26u);
    EXPECT_TRUE(screen->shouldAutorotate());
}

TEST_F(PadShellTest, CellLayoutPatternFollowsTheTabBarAndTheOrientation) {
    launch();
    auto more = rootOfTab<MoreViewController>(EventsTabBarController::moreTabIndex());
    auto home = std::dynamic_pointer_cast<BaseViewController>(detail()->viewControllers().front());
    ASSERT_TRUE(more && home);
    EXPECT_EQ(more->cellsAvailableSizePattern(), 0);
    EXPECT_EQ(home->cellsAvailableSizePattern(), 1);
    driver().rotate(uikit::UIDeviceOrientation::LandscapeLeft);
    settle();
    EXPECT_EQ(more->cellsAvailableSizePattern(), 0);
    EXPECT_EQ(home->cellsAvailableSizePattern(), 2);
}

TEST_F(ShellTest, ScreensComeFromTheDeviceStoryboardByTheirIdentifier) {
    EXPECT_THROW(BaseViewController::instantiateViewController<StatusScreen>(), foundation::Exception);
    auto loading = BaseViewController::instantiateViewController<LoadingViewController>();
    ASSERT_TRUE(loading);
    EXPECT_EQ(loading->storyboard()->name(), "Storyboard_iPhone");

    // The title comes from vcTitle when the storyboard wakes the screen.
    launch();
    auto home = rootOfTab<SpotlightViewController>(0);
    ASSERT_TRUE(home);
    EXPECT_EQ(home->title(), "Home");
    EXPECT_EQ(StatusScreen().title(), std::nullopt);
}

TEST_F(ShellTest, StoreAndTokenAreThoseCurrentAtEachRead) {
    auto screen = std::make_shared<StatusScreen>();
    EXPECT_EQ(screen->coreDataStack(), nullptr);
    EXPECT_EQ(screen->authenticationCode(), std::nullopt);
    auto first = openCurrent("first-token");
    EXPECT_EQ(screen->coreDataStack(), first);
    EXPECT_EQ(screen->authenticationCode(), "first-token");
    auto second = openCurrent("second-token", "43");
    EXPECT_EQ(screen->coreDataStack(), second);
    EXPECT_EQ(screen->authenticationCode(), "second-token");
}

}  // namespace
