#include "app/AppStoryboards.h"

#include "app/BaseViewController.h"
#include "app/ChangeAlertTimeViewController.h"
#include "app/ChooseCalendarViewController.h"
#include "app/CustomNavigationController.h"
#include "app/DetailsScreenScenes.h"
#include "app/EventsSplitViewController.h"
#include "app/EventsTabBarController.h"
#include "app/LegendViewController.h"
#include "app/LoadingViewController.h"
#include "app/LoginScenes.h"
#include "app/MembersScenes.h"
#include "app/MoreScenes.h"
#include "app/MoreViewController.h"
#include "app/SelectActivityViewController.h"
#include "app/SettingsViewController.h"
#include "lists/DetailsNavigationController.h"
#include "lists/FilterScreenScenes.h"
#include "maps/InteractiveMapsDetailsViewController.h"
#include "maps/LocationDetailsViewController.h"
#include "maps/OutsideMapsViewController.h"
#include "people/DocumentsListViewController.h"
#include "people/MessagesListSegmentedNavigationController.h"
#include "people/MessagesScenes.h"
#include "people/ParticipantsListSegmentedNavigationController.h"
#include "people/PartnersListViewController.h"
#include "people/PeopleScenes.h"
#include "programme/AddPersonalEntryViewController.h"
#include "programme/ChangePersonalEntryDateViewController.h"
#include "programme/SessionPagesScenes.h"
#include "programme/ListSessionsBaseViewController.h"
#include "programme/SessionsListSegmentedNavigationController.h"
#include "programme/SpotlightViewController.h"
#include "uikit/UIStoryboard.h"
#include "uikit/UIImage.h"
#include "uikit/UITabBarItem.h"

namespace AppStoryboards {

namespace {

// A segmented tab container as an interface file makes it.
void setTabItem(uikit::UIViewController& controller, const char* title, const char* imageName) {
    controller.tabBarItem()->setTitle(std::string(title));
    controller.tabBarItem()->setImage(uikit::UIImage::imageNamed(imageName));
}

template <class C>
std::shared_ptr<C> titledTab(const char* title, const char* imageName) {
    auto controller = std::make_shared<C>(CustomNavigationController::FromInterfaceFile{});
    setTabItem(*controller, title, imageName);
    return controller;
}

std::shared_ptr<CustomNavigationController> navigationWithRoot(const uikit::UIViewControllerPtr& root,
                                                               const char* tabTitle, const char* imageName) {
    auto navigation = std::make_shared<CustomNavigationController>(CustomNavigationController::FromInterfaceFile{});
    navigation->setViewControllers({root}, false);
    setTabItem(*navigation, tabTitle, imageName);
    return navigation;
}

// The main tab bar: home (the phone only), sessions, participants, messages, More.
std::shared_ptr<EventsTabBarController> makeTabBar(uikit::UIStoryboard& storyboard, bool withHomeTab) {
    auto tabBar = std::make_shared<EventsTabBarController>();
    std::vector<uikit::UIViewControllerPtr> tabs;
    if (withHomeTab)
        tabs.push_back(navigationWithRoot(std::make_shared<SpotlightViewController>(), "Home", "tab_home.png"));
    tabs.push_back(titledTab<SessionsListSegmentedNavigationController>("Sessions", "tab_sessions.png"));
    tabs.push_back(titledTab<ParticipantsListSegmentedNavigationController>("Participants", "tab_participants.png"));
    tabs.push_back(titledTab<MessagesListSegmentedNavigationController>("Messages", "tab_messages.png"));
    auto more = storyboard.instantiateViewControllerWithIdentifier(MoreViewController::kStoryboardIdentifier);
    tabs.push_back(navigationWithRoot(more, "More", "tab_more.png"));
    tabBar->setViewControllers(std::move(tabs));
    return tabBar;
}

uikit::UIViewControllerPtr makeSplitView(uikit::UIStoryboard& storyboard) {
    auto split = std::make_shared<EventsSplitViewController>();
    split->setViewControllers({makeTabBar(storyboard, false), makePadHomeNavigationController(storyboard)});
    return split;
}

void addScreenScenes(uikit::UIStoryboard& storyboard) {
    storyboard.addScene(*LoadingViewController::storyboardIdentifier(),
                        [](uikit::UIStoryboard&) { return std::make_shared<LoadingViewController>(); });
    LoginScenes::registerScenes(storyboard);
    SelectActivityViewController::addScene(storyboard);
    FilterScreenScenes::addScenes(storyboard);
    LegendViewController::addScene(storyboard);
    ChangePersonalEntryDateViewController::addScene(storyboard);
    AddPersonalEntryViewController::addScene(storyboard);
    DetailsScreenScenes::addScenes(storyboard);
    SessionPagesScenes::addScenes(storyboard);
    ListSessionsBaseViewController::addScene(storyboard);
    MoreScenes::addScenes(storyboard, storyboard.name() == kPadStoryboardName);
    DocumentsListViewController::addScene(storyboard);
    PartnersListViewController::addScene(storyboard);
    PeopleScenes::addScenes(storyboard);
    ChooseCalendarViewController::addScene(storyboard);
    ChangeAlertTimeViewController::addScene(storyboard);
    MembersScenes::registerScenes(storyboard);
    SettingsViewController::addScene(storyboard);
    OutsideMapsViewController::addScene(storyboard);
    InteractiveMapsDetailsViewController::addScene(storyboard);
    LocationDetailsViewController::addScene(storyboard);
    MessagesScenes::addScenes(storyboard, storyboard.name() == kPadStoryboardName);
}

}  // namespace

uikit::UIViewControllerPtr makePadHomeNavigationController(uikit::UIStoryboard& storyboard) {
    (void)storyboard;
    auto navigation = std::make_shared<DetailsNavigationController>(CustomNavigationController::FromInterfaceFile{});
    navigation->setViewControllers({std::make_shared<SpotlightViewController>()}, false);
    return navigation;
}

void addSegueOnce(uikit::UIStoryboard& storyboard, const std::string& scene, uikit::UIStoryboardSegueDefinition segue) {
    for (const auto& existing : storyboard.seguesOfScene(scene))
        if (existing.identifier == segue.identifier) return;
    storyboard.addSegue(scene, std::move(segue));
}

void registerStoryboards() {
    auto phone = uikit::UIStoryboard::registerStoryboard(kPhoneStoryboardName);
    phone->addScene(EventsTabBarController::kStoryboardIdentifier,
                    [](uikit::UIStoryboard& storyboard) { return makeTabBar(storyboard, true); });
    addScreenScenes(*phone);
    phone->setInitialSceneIdentifier(EventsTabBarController::kStoryboardIdentifier);

    auto pad = uikit::UIStoryboard::registerStoryboard(kPadStoryboardName);
    pad->addScene(EventsSplitViewController::kStoryboardIdentifier, makeSplitView);
    // The loading screen's slide installs this identifier on both idioms; on
    // the pad it names the same split-view composite.
    pad->addScene(EventsTabBarController::kStoryboardIdentifier, makeSplitView);
    pad->addScene(BaseViewController::kSpotlightNavigationControllerForGoHome, makePadHomeNavigationController);
    addScreenScenes(*pad);
    pad->setInitialSceneIdentifier(EventsSplitViewController::kStoryboardIdentifier);
}

}  // namespace AppStoryboards
