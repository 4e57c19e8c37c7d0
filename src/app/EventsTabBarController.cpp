#include "app/EventsTabBarController.h"

#include "app/AppDelegate.h"
#include "app/EventsSplitViewController.h"
#include "app/MoreViewController.h"
#include "app/ShellOrientation.h"
#include "Utils/Utils.h"
#include "coredata/Predicate.h"
#include "foundation/Exception.h"
#include "foundation/Format.h"
#include "foundation/Thread.h"
#include "lists/FilterFetching.h"
#include "model/QVACoreDataMessage.h"
#include "people/MessagesListSegmentedNavigationController.h"
#include "people/ParticipantsListSegmentedNavigationController.h"
#include "programme/SessionsListSegmentedNavigationController.h"
#include "store/CoreDataStack.h"
#include "store/FetchRequestUtils.h"
#include "uikit/UIApplication.h"
#include "uikit/UINavigationController.h"
#include "uikit/UIStoryboard.h"
#include "uikit/UITabBarItem.h"
#include "uikit/UIWindow.h"

#include <set>

namespace {

constexpr const char* kNotMainThreadName = "Something unusual happened";
constexpr const char* kNotMainThreadReason = "THis is not main thread";
constexpr const char* kNoMessagesControllerName = "Somethins is wrong";
constexpr const char* kNoMessagesControllerReason = "messageSegmentedNavController not created";

}  // namespace

int64_t EventsTabBarController::spotlightTabIndex() { return Utils::isIPad() ? -1 : 0; }
int64_t EventsTabBarController::sessionsTabIndex() { return Utils::isIPad() ? 0 : 1; }
int64_t EventsTabBarController::participantsTabIndex() { return Utils::isIPad() ? 1 : 2; }
int64_t EventsTabBarController::messagesTabIndex() { return Utils::isIPad() ? 2 : 3; }
int64_t EventsTabBarController::moreTabIndex() { return Utils::isIPad() ? 3 : 4; }

void EventsTabBarController::navigate() {
    auto storyboard = uikit::UIStoryboard::storyboardWithName(Utils::storyboardName());
    auto root = storyboard->instantiateViewControllerWithIdentifier(kStoryboardIdentifier);
    uikit::UIApplication::sharedApplication().keyWindow()->setRootViewController(root);
}

uikit::UIViewControllerPtr EventsTabBarController::controllerAtIndex(int64_t index) const {
    const auto& controllers = viewControllers();
    if (index < 0 || index >= static_cast<int64_t>(controllers.size())) return nullptr;
    return controllers[static_cast<size_t>(index)];
}

std::shared_ptr<ParticipantsListSegmentedNavigationController>
EventsTabBarController::participantsSegmentedNavController() const {
    return std::dynamic_pointer_cast<ParticipantsListSegmentedNavigationController>(
        controllerAtIndex(participantsTabIndex()));
}

std::shared_ptr<SessionsListSegmentedNavigationController> EventsTabBarController::sessionsSegmentedNavController() const {
    return std::dynamic_pointer_cast<SessionsListSegmentedNavigationController>(controllerAtIndex(sessionsTabIndex()));
}

std::shared_ptr<MessagesListSegmentedNavigationController> EventsTabBarController::messageSegmentedNavController() const {
    return std::dynamic_pointer_cast<MessagesListSegmentedNavigationController>(controllerAtIndex(messagesTabIndex()));
}

void EventsTabBarController::selectTabBarItem(int64_t index) { setSelectedIndex(index); }

void EventsTabBarController::displaySessionsTab() {
    selectTabBarItem(sessionsTabIndex());
    if (auto sessions = sessionsSegmentedNavController()) sessions->displayProgrammeList();
}

void EventsTabBarController::displayAgendaTab() {
    selectTabBarItem(sessionsTabIndex());
    if (auto sessions = sessionsSegmentedNavController()) sessions->displayAgendaList();
}

void EventsTabBarController::displayParticipantsTab() { selectTabBarItem(participantsTabIndex()); }

void EventsTabBarController::displayMessagesTab() { selectTabBarItem(messagesTabIndex()); }

void EventsTabBarController::displaySettings() {
    selectTabBarItem(moreTabIndex());
    auto navigation = std::dynamic_pointer_cast<uikit::UINavigationController>(controllerAtIndex(moreTabIndex()));
    if (!navigation || navigation->viewControllers().empty()) return;
    if (auto more = std::dynamic_pointer_cast<MoreViewController>(navigation->viewControllers().front()))
        more->displaySettings();
}

void EventsTabBarController::displaySpotlightTabIphone() {
    if (Utils::isIPad()) return;
    selectTabBarItem(spotlightTabIndex());
}

void EventsTabBarController::flipTabsToCorrectVideoBar() {
    selectTabBarItem(moreTabIndex());
    selectTabBarItem(sessionsTabIndex());
}

void EventsTabBarController::displayLeftPopoverMenu() {
    auto delegate = AppDelegate::sharedAppDelegate();
    if (auto split = delegate ? delegate->eventsSplitVC() : nullptr) split->displayLeftPopoverMenu();
}

void EventsTabBarController::openTab(int64_t index) {
    displayLeftPopoverMenu();
    selectTabBarItem(index);
}

void EventsTabBarController::displayAndFilterParticipantsByCountry(const Text& country) {
    openTab(participantsTabIndex());
    if (auto participants = participantsSegmentedNavController()) participants->filterParticipantsByCountry(country);
}

void EventsTabBarController::displayAndFilterParticipantsByNetwork(const Text& network, const Text& community) {
    openTab(participantsTabIndex());
    if (auto participants = participantsSegmentedNavController())
        participants->filterParticipantsByNetwork(network, community);
}

void EventsTabBarController::displayAndFilterParticipantsByGroupMembership(const Text& group) {
    openTab(participantsTabIndex());
    if (auto participants = participantsSegmentedNavController())
        participants->filterParticipantsByGroupMembership(group);
}

void EventsTabBarController::displayAndFilterParticipantsWithNotes() {
    openTab(participantsTabIndex());
    if (auto participants = participantsSegmentedNavController()) participants->filterParticipantsWithNotes();
}

void EventsTabBarController::displayAndFilterSessionsWithStarredParticipants() {
    openTab(sessionsTabIndex());
    if (auto sessions = sessionsSegmentedNavController()) sessions->filterSessionsWithStarredParticipants();
}

void EventsTabBarController::displayAndFilterSessionsWithNotes() {
    openTab(sessionsTabIndex());
    if (auto sessions = sessionsSegmentedNavController()) sessions->filterSessionsWithNotes();
}

void EventsTabBarController::displayAndFilterSessionsByType(const Text& type) {
    openTab(sessionsTabIndex());
    if (auto sessions = sessionsSegmentedNavController()) sessions->filterSessionsByType(type);
}

void EventsTabBarController::displayAndFilterSessionsBySpouseAllowed(bool allowed) {
    openTab(sessionsTabIndex());
    if (auto sessions = sessionsSegmentedNavController()) sessions->filterSessionsBySpouseAllowed(allowed);
}

void EventsTabBarController::displayAndFilterSessionsByPressAllowed(bool allowed) {
    openTab(sessionsTabIndex());
    if (auto sessions = sessionsSegmentedNavController()) sessions->filterSessionsByPressAllowed(allowed);
}

void EventsTabBarController::displayAndFilterSessionsByHasMeal(bool hasMeal) {
    openTab(sessionsTabIndex());
    if (auto sessions = sessionsSegmentedNavController()) sessions->filterSessionsByHasMeal(hasMeal);
}

void EventsTabBarController::checkIfMailboxIsAvailable() {
    auto stack = FilterFetching::currentStack();
    const bool granted =
        stack && FetchRequestUtils::hasMessagesReadPermissionGrantedInContext(stack->managedObjectContextMainQueue());
    if (granted) refreshMessagesAndMeetingRequestsCounter();
    if (auto messages = controllerAtIndex(messagesTabIndex())) messages->tabBarItem()->setEnabled(granted);
}

void EventsTabBarController::refreshMessagesAndMeetingRequestsCounter() {
    FilterFetching::Query query{QVACoreDataMessage::kEntityName, coredata::Predicate::withFormat("isRead = %d", 0),
                                {"threadId"}};
    const auto rows = FilterFetching::fetchDictionaries(FilterFetching::currentStack(), query);
    // Unread threads, not unread messages.
    std::set<std::string> threads;
    for (const auto& row : rows) threads.insert(row["threadId"].description());
    const auto count = static_cast<int>(threads.size());
    setMessagesBadgeValue(count < 1 ? Text() : Text(foundation::Format("%d", count)));
}

void EventsTabBarController::setMessagesBadgeValue(const Text& value) {
    if (!foundation::isMainThread()) foundation::raise(kNotMainThreadName, kNotMainThreadReason);
    auto messages = messageSegmentedNavController();
    if (!messages) foundation::raise(kNoMessagesControllerName, kNoMessagesControllerReason);
    messages->tabBarItem()->setBadgeValue(value);
}

void EventsTabBarController::displayBubbleForTabIndex(int64_t index, const std::string& text) {
    (void)index;
    (void)text;
}

void EventsTabBarController::removeBubble() {}

void EventsTabBarController::bubbleTapped() { removeBubble(); }

void EventsTabBarController::viewDidLoad() {
    uikit::UITabBarController::viewDidLoad();
    checkIfMailboxIsAvailable();
}

void EventsTabBarController::viewDidAppear(bool animated) {
    uikit::UITabBarController::viewDidAppear(animated);
    displayBubbleForTabIndex(messagesTabIndex(), kBubbleText);
}

uikit::UIInterfaceOrientationMask EventsTabBarController::supportedInterfaceOrientations() const {
    return ShellOrientation::supportedInterfaceOrientations();
}

bool EventsTabBarController::shouldAutorotate() const { return ShellOrientation::shouldAutorotate(); }
