// The roots after login: the phone's tab bar and the pad's split view as the
// storyboards build them and the navigate operations install them, the
// unread-threads badge over a store, the filter entry points per idiom, the
// pad's menu popover, and the tutorial overlay with its closers.
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <thread>

#include "ShellTestSupport.h"
#include "api/QVAApiManager.h"
#include "app/CustomNavigationController.h"
#include "app/LoadingViewController.h"
#include "app/MenuBarButtonItemProvider.h"
#include "app/MessagesCounterRefreshing.h"
#include "app/MoreViewController.h"
#include "app/TutorialViewController.h"
#include "foundation/Exception.h"
#include "foundation/Log.h"
#include "lists/DetailsNavigationController.h"
#include "model/QVACoreDataMessage.h"
#include "model/QVAUserAccount.h"
#include "people/MessagesListSegmentedNavigationController.h"
#include "people/ListParticipantsBaseViewController.h"
#include "people/ParticipantsListSegmentedNavigationController.h"
#include "programme/SessionsListSegmentedNavigationController.h"
#include "programme/SpotlightViewController.h"
#include "uikit/UIBarButtonItem.h"
#include "uikit/UIColor.h"
#include "uikit/UIImage.h"
#include "uikit/UIPopoverController.h"
#include "uikit/UIStoryboard.h"
#include "uikit/UITabBarItem.h"
#include "uikit/UIView.h"

namespace {

using meetingtest::Row;
using shelltest::PadShellTest;
using shelltest::ShellTest;

class RootsOverStore : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        openCurrent("badge-token");
    }
    void grantMessagesRead() {
        insert("badge-token", "QVACoreDataPermission", {{{"code", "messages:read"}, {"granted", true}}});
    }
    void insertMessages(std::initializer_list<std::pair<int, bool>> threadAndRead) {
        std::vector<Row> rows;
        int id = 1;
        for (const auto& [thread, read] : threadAndRead)
            rows.push_back({{"itemId", std::to_string(id++)}, {"threadId", thread}, {"isRead", read}});
        insert("badge-token", "QVACoreDataMessage", rows);
    }
    std::shared_ptr<uikit::UITabBarItem> messagesItem() {
        return tabBar()->viewControllers().at(EventsTabBarController::messagesTabIndex())->tabBarItem();
    }
};

TEST_F(ShellTest, ThePhoneRootIsTheTabBarWithFiveTabsAndHomeSelected) {
    launch();
    EventsTabBarController::navigate();
    settle();
    auto tabs = std::dynamic_pointer_cast<EventsTabBarController>(root());
    ASSERT_TRUE(tabs);
    ASSERT_EQ(tabs->viewControllers().size(), 5u);
    EXPECT_EQ(tabs->selectedIndex(), 0);
    EXPECT_TRUE(rootOfTab<SpotlightViewController>(0));
    EXPECT_TRUE(tabs->sessionsSegmentedNavController());
    EXPECT_TRUE(tabs->participantsSegmentedNavController());
    EXPECT_TRUE(tabs->messageSegmentedNavController());
    EXPECT_TRUE(rootOfTab<MoreViewController>(4));
    EXPECT_EQ(AppDelegate::sharedAppDelegate()->eventsSplitVC(), nullptr);
    EXPECT_EQ(tabs->supportedInterfaceOrientations(), uikit::UIInterfaceOrientationMaskPortrait);
    // Each tab shows an icon of its own above its title.
    std::set<std::string> icons;
    for (const auto& tab : tabs->viewControllers()) {
        const auto& image = tab->tabBarItem()->image();
        ASSERT_TRUE(image && image->name() && image->bitmap()) << tab->className();
        icons.insert(*image->name());
    }
    EXPECT_EQ(icons.size(), 5u);

    // The phone has no menu popover and shows its home tab.
    tabs->selectTabBarItem(3);
    tabs->displayLeftPopoverMenu();
    tabs->displaySpotlightTabIphone();
    EXPECT_EQ(tabs->selectedIndex(), 0);
    tabs->flipTabsToCorrectVideoBar();
    EXPECT_EQ(tabs->selectedIndex(), 1);
    tabs->displaySettings();
    EXPECT_EQ(tabs->selectedIndex(), 4);
    auto moreNavigation = rootOfTab<MoreViewController>(4)->navigationController();
    EXPECT_EQ(moreNavigation->topViewController()->storyboardSceneIdentifier(), "settingsViewControllerIdentifier");
}

TEST_F(PadShellTest, ThePadRootIsASplitViewThatReplacesThePreviousOne) {
    launch();
    auto first = split();
    ASSERT_TRUE(first);
    EXPECT_EQ(AppDelegate::sharedAppDelegate()->eventsSplitVC(), first);
    first->setLeftPopoverMenuController(std::make_shared<uikit::UIPopoverController>(tabBar()));

    foundation::ScopedLogCapture log;
    EventsSplitViewController::navigate();
    settle();
    auto second = split();
    ASSERT_TRUE(second);
    EXPECT_NE(second, first);
    EXPECT_EQ(AppDelegate::sharedAppDelegate()->eventsSplitVC(), second);
    EXPECT_EQ(first->leftPopoverMenuController(), nullptr);
    EXPECT_EQ(first->delegate(), nullptr);
    first.reset();
    settle();
    EXPECT_TRUE(log.contains("#####Called dealloc on EventsSplitViewController ########"));

    ASSERT_TRUE(tabBar());
    EXPECT_EQ(tabBar()->viewControllers().size(), 4u);
    ASSERT_TRUE(detail());
    EXPECT_TRUE(std::dynamic_pointer_cast<DetailsNavigationController>(detail()));
    EXPECT_TRUE(std::dynamic_pointer_cast<SpotlightViewController>(detail()->viewControllers().front()));
    EXPECT_TRUE(second->isMasterHidden());

    // On the pad the loading screen's identifier names the same composite.
    auto viaTabBarIdentifier = uikit::UIStoryboard::storyboardWithName("Storyboard_iPad")
                                   ->instantiateViewControllerWithIdentifier("eventsTabBarController");
    EXPECT_TRUE(std::dynamic_pointer_cast<EventsSplitViewController>(viaTabBarIdentifier));

    // A loading screen for another meeting, presented at once. Its meeting
    // fetch goes to a closed loopback port, never out.
    QVAApiManager::setServiceRoot(std::string("http://127.0.0.1:9/api"));
    auto account = QVAUserAccount::initWithDictionary(foundation::Value::dictionary({{"accessToken", "other"}}));
    second->showLoadingControllerForUserAccount(account, std::string("77"));
    auto loading = std::dynamic_pointer_cast<LoadingViewController>(second->presentedViewController());
    ASSERT_TRUE(loading);
    EXPECT_EQ(loading->currentUserAccount(), account);
    EXPECT_EQ(loading->eventId(), "77");
    EXPECT_FALSE(second->lastTransitionAnimated());

    second->resetControllers();
    EXPECT_TRUE(second->viewControllers().empty());
    QVAApiManager::setServiceRoot(std::nullopt);
}

TEST_F(RootsOverStore, TheMessagesBadgeCountsUnreadThreads) {
    grantMessagesRead();
    insertMessages({{7, false}, {7, false}, {9, false}, {11, true}});
    launch();
    EXPECT_TRUE(messagesItem()->isEnabled());
    EXPECT_EQ(messagesItem()->badgeValue(), "2");

    for (const auto& message : rows<QVACoreDataMessage>("badge-token")) message->setValue(foundation::Value(true), "isRead");
    tabBar()->refreshMessagesAndMeetingRequestsCounter();
    EXPECT_EQ(messagesItem()->badgeValue(), std::nullopt);

    // Setting the badge is for the main thread only.
    std::string reason;
    auto tabs = tabBar();
    std::thread worker([&] {
        try {
            tabs->setMessagesBadgeValue(std::string("1"));
        } catch (const foundation::Exception& exception) {
            reason = exception.reason();
        }
    });
    worker.join();
    EXPECT_EQ(reason, "THis is not main thread");
}

TEST_F(RootsOverStore, WithoutMessagesReadTheTabIsDisabledAndNoBadgeIsComputed) {
    insertMessages({{7, false}});
    launch();
    EXPECT_FALSE(messagesItem()->isEnabled());
    EXPECT_EQ(messagesItem()->badgeValue(), std::nullopt);

    // A tab bar without a messages controller cannot carry the badge.
    auto bare = std::make_shared<EventsTabBarController>();
    try {
        bare->setMessagesBadgeValue(std::string("1"));
        ADD_FAILURE() << "no exception";
    } catch (const foundation::Exception& exception) {
        EXPECT_EQ(exception.reason(), "messageSegmentedNavController not created");
    }
}

TEST_F(ShellTest, TheBadgeLookUpFindsTheTabBarAtTheRoot) {
    EXPECT_EQ(messagesCounterRefreshingScreen(), nullptr);
    launch();
    auto found = messagesCounterRefreshingScreen();
    EXPECT_EQ(found.get(), static_cast<MessagesCounterRefreshing*>(tabBar().get()));
    app().keyWindow()->setRootViewController(std::make_shared<uikit::UIViewController>());
    EXPECT_EQ(messagesCounterRefreshingScreen(), nullptr);
}

TEST_F(PadShellTest, TheBadgeLookUpFindsTheTabBarBehindTheSplitView) {
    launch();
    auto found = messagesCounterRefreshingScreen();
    ASSERT_TRUE(found);
    EXPECT_EQ(found.get(), static_cast<MessagesCounterRefreshing*>(tabBar().get()));
    split()->resetControllers();
    EXPECT_EQ(messagesCounterRefreshingScreen(), nullptr);
}

TEST_F(ShellTest, FilterEntryPointsOpenTheirTabOnThePhone) {
    launch();
    auto tabs = tabBar();
    tabs->displayAndFilterSessionsByType(std::string("Workshop"));
    EXPECT_EQ(tabs->selectedIndex(), 1);
    EXPECT_EQ(shownSessionsFilter(), "Workshop");
    tabs->displayAndFilterParticipantsByNetwork(std::string("Energy"), std::string("Utilities"));
    EXPECT_EQ(tabs->selectedIndex(), 2);
    // The tab's real container: its participants list shows a fresh filter set.
    auto participants = tabs->participantsSegmentedNavController();
    ASSERT_TRUE(participants);
    EXPECT_EQ(participants->retainedControllers().size(), 3u);
    auto list = std::dynamic_pointer_cast<ListParticipantsBaseViewController>(participants->topViewController());
    ASSERT_TRUE(list);
    EXPECT_FALSE(list->filtersArray().empty());
}

TEST_F(PadShellTest, FilterEntryPointsOpenTheirTabOnThePadAndTheHomeTabIsNone) {
    grantAgenda();
    launch();
    auto tabs = tabBar();
    tabs->displayAndFilterSessionsByType(std::string("Workshop"));
    EXPECT_EQ(tabs->selectedIndex(), 0);
    EXPECT_EQ(shownSessionsFilter(), "Workshop");
    // Each set replaces the last; without their permissions the notes and
    // starred sets leave every filter at its default.
    std::vector<std::optional<std::string>> captions;
    tabs->displayAndFilterSessionsByHasMeal(true);
    captions.push_back(shownSessionsFilter());
    tabs->displayAndFilterSessionsBySpouseAllowed(false);
    captions.push_back(shownSessionsFilter());
    tabs->displayAndFilterSessionsByPressAllowed(true);
    captions.push_back(shownSessionsFilter());
    tabs->displayAndFilterSessionsWithNotes();
    captions.push_back(shownSessionsFilter());
    tabs->displayAndFilterSessionsWithStarredParticipants();
    captions.push_back(shownSessionsFilter());
    EXPECT_EQ(captions, (std::vector<std::optional<std::string>>{"Meal included", "Not open to spouse",
                                                                 "Open to press", "", ""}));
    tabs->displayAndFilterParticipantsByCountry(std::string("Chile"));
    tabs->displayAndFilterParticipantsByGroupMembership(std::string("Board"));
    tabs->displayAndFilterParticipantsWithNotes();
    EXPECT_EQ(tabs->selectedIndex(), 1);
    auto participantsList = std::dynamic_pointer_cast<ListParticipantsBaseViewController>(
        tabs->participantsSegmentedNavController()->topViewController());
    ASSERT_TRUE(participantsList);
    EXPECT_FALSE(participantsList->filtersArray().empty());

    tabs->displaySpotlightTabIphone();
    EXPECT_EQ(tabs->selectedIndex(), 1);
    tabs->displayAgendaTab();
    EXPECT_EQ(tabs->selectedIndex(), 0);
    EXPECT_EQ(shownSessionsDelegate(), "AgendaListDelegate");
    EXPECT_EQ(tabs->supportedInterfaceOrientations(), 26u);
}

// The split view's delegate with the portrait menu button, as the details
// navigation controller will be.
class MenuDelegate : public uikit::UISplitViewControllerDelegate, public MenuBarButtonItemProvider {
public:
    std::shared_ptr<uikit::UIBarButtonItem> button = std::make_shared<uikit::UIBarButtonItem>();
    std::shared_ptr<uikit::UIBarButtonItem> menuBarButtonItem() const override { return button; }
};

TEST_F(PadShellTest, TheMenuPopoverOpensInPortraitOnlyWithPopoverAndButton) {
    launch();
    auto splitView = split();
    auto popover = std::make_shared<uikit::UIPopoverController>(std::make_shared<uikit::UIViewController>());
    auto delegate = std::make_shared<MenuDelegate>();
    // Without the home pane that keeps the menu.
    splitView->setDelegate(nullptr);
    splitView->setLeftPopoverMenuController(nullptr);

    splitView->displayLeftPopoverMenu();  // no popover, no delegate
    splitView->setLeftPopoverMenuController(popover);
    splitView->displayLeftPopoverMenu();  // no menu button
    EXPECT_FALSE(popover->isPopoverVisible());

    splitView->setDelegate(delegate);
    tabBar()->displayLeftPopoverMenu();
    settle();
    EXPECT_TRUE(popover->isPopoverVisible());
    EXPECT_EQ(popover->presentingBarButtonItem(), delegate->button);
    splitView->hideLeftPopoverMenu();
    settle();
    EXPECT_FALSE(popover->isPopoverVisible());

    driver().rotate(uikit::UIDeviceOrientation::LandscapeLeft);
    settle();
    splitView->displayLeftPopoverMenu();
    settle();
    EXPECT_FALSE(popover->isPopoverVisible());
}

TEST_F(PadShellTest, TheTutorialOverlayTogglesAndEachCloserOpensItsTab) {
    grantAgenda();
    launch();
    auto splitView = split();
    auto tutorial = std::make_shared<TutorialViewController>();
    splitView->showTutorial(tutorial, true);
    EXPECT_EQ(splitView->tutorialVCDisplayed(), tutorial);
    EXPECT_EQ(tutorial->view()->superview(), splitView->view());
    EXPECT_EQ(tutorial->view()->frame(), (graphics::Rect{{0, 0}, {768, 1024}}));
    EXPECT_EQ(tutorial->tutorialDelegate().get(), static_cast<TutorialDelegate*>(splitView.get()));
    splitView->showTutorial(std::make_shared<TutorialViewController>(), false);
    EXPECT_EQ(splitView->tutorialVCDisplayed(), nullptr);
    EXPECT_EQ(tutorial->view()->superview(), nullptr);
    EXPECT_EQ(tutorial->tutorialDelegate(), nullptr);

    struct Closer {
        void (EventsSplitViewController::*close)();
        int64_t tab;
        // The sessions list the closer shows; "-" when it leaves the tab alone.
        std::string sessionsList;
    };
    const Closer closers[] = {
        {&EventsSplitViewController::closeTutorialAndNavigateHome, 0, "ProgrammeListDelegate"},
        {&EventsSplitViewController::closeTutorialAndNavigateToParticipants, 1, "-"},
        {&EventsSplitViewController::closeTutorialAndNavigateToAgenda, 0, "AgendaListDelegate"},
        {&EventsSplitViewController::closeTutorialAndNavigateToMessages, 2, "-"},
        {&EventsSplitViewController::closeTutorialAndNavigateToProgramme, 0, "ProgrammeListDelegate"},
        {&EventsSplitViewController::closeTutorialAndNavigateToSettings, 3, "-"},
    };
    auto tabs = tabBar();
    for (const auto& closer : closers) {
        tabs->selectTabBarItem(closer.tab == 3 ? 1 : 3);
        // The other list first, so that the closer's own shows.
        auto sessions = tabs->sessionsSegmentedNavController();
        if (closer.sessionsList == "ProgrammeListDelegate") sessions->displayAgendaList();
        else sessions->displayProgrammeList();
        auto before = detail();
        auto shown = std::make_shared<TutorialViewController>();
        splitView->showTutorial(shown, false);
        splitView->setPresentsWithGesture(false);
        ((*splitView).*closer.close)();
        settle();
        EXPECT_EQ(splitView->tutorialVCDisplayed(), nullptr);
        EXPECT_EQ(shown->view()->superview(), nullptr);
        ASSERT_TRUE(detail());
        EXPECT_NE(detail(), before);
        EXPECT_EQ(splitView->viewControllers().front(), tabs);
        EXPECT_EQ(tabs->selectedIndex(), closer.tab);
        EXPECT_TRUE(splitView->presentsWithGesture());
        if (closer.sessionsList != "-") {
            EXPECT_EQ(shownSessionsDelegate(), closer.sessionsList);
        }
    }
    // The pad's settings take the detail.
    ASSERT_FALSE(detail()->viewControllers().empty());
    EXPECT_EQ(detail()->viewControllers().front()->storyboardSceneIdentifier(), "settingsViewControllerIdentifier");
}

TEST_F(ShellTest, NavigationControllersTintTheirBarWhiteExceptFromTheBareNibInitialiser) {
    const graphics::Color white = uikit::UIColor::whiteColor();
    EXPECT_EQ(CustomNavigationController().navigationBar()->ownTintColor(), white);
    auto withRoot = CustomNavigationController::initWithRootViewController(std::make_shared<uikit::UIViewController>());
    EXPECT_EQ(withRoot->navigationBar()->ownTintColor(), white);
    EXPECT_EQ(withRoot->viewControllers().size(), 1u);
    CustomNavigationController fromFile{CustomNavigationController::FromInterfaceFile{}};
    EXPECT_EQ(fromFile.navigationBar()->ownTintColor(), std::nullopt);
    fromFile.awakeFromNib();
    EXPECT_EQ(fromFile.navigationBar()->ownTintColor(), white);
}

}  // namespace
