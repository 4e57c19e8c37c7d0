// The main tab bar: the window's root on the phone and the master of the
// split view on the pad. It knows the tab indexes of each idiom (the pad has
// no home tab: the home screen is the split view's detail), the unread
// message threads' badge on the messages tab, and the entry points through
// which other screens open a tab with a filter applied. Main thread only.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "app/MessagesCounterRefreshing.h"
#include "uikit/UITabBarController.h"

class SessionsListSegmentedNavigationController;
class ParticipantsListSegmentedNavigationController;
class MessagesListSegmentedNavigationController;

class EventsTabBarController : public uikit::UITabBarController, public MessagesCounterRefreshing {
public:
    using Text = std::optional<std::string>;

    static constexpr const char* kStoryboardIdentifier = "eventsTabBarController";
    static constexpr const char* kBubbleText =
        "Did you know you can now send meeting requests to other participants? Go to the Messaging section to get "
        "started.";

    // Tab indexes of the running idiom; the home tab is -1 on the pad.
    static int64_t spotlightTabIndex();
    static int64_t sessionsTabIndex();
    static int64_t participantsTabIndex();
    static int64_t messagesTabIndex();
    static int64_t moreTabIndex();

    // The device storyboard's "eventsTabBarController" becomes the window's root.
    static void navigate();

    // The controllers at the sessions, participants and messages tabs (null
    // when the tab holds something else).
    std::shared_ptr<ParticipantsListSegmentedNavigationController> participantsSegmentedNavController() const;
    std::shared_ptr<SessionsListSegmentedNavigationController> sessionsSegmentedNavController() const;
    std::shared_ptr<MessagesListSegmentedNavigationController> messageSegmentedNavController() const;

    void selectTabBarItem(int64_t index);
    void displaySessionsTab();
    void displayAgendaTab();
    void displayParticipantsTab();
    void displayMessagesTab();
    // The More tab, then its first screen's settings.
    void displaySettings();
    // Tab 0 on the phone; nothing on the pad.
    void displaySpotlightTabIphone();
    // The More tab, then the sessions tab: restores the bar after full-screen video.
    void flipTabsToCorrectVideoBar();
    // The split view's menu popover (the pad, in portrait); nothing on the phone.
    void displayLeftPopoverMenu();

    // Each opens the menu popover, selects the tab and applies the filter.
    void displayAndFilterParticipantsByCountry(const Text& country);
    void displayAndFilterParticipantsByNetwork(const Text& network, const Text& community);
    void displayAndFilterParticipantsByGroupMembership(const Text& group);
    void displayAndFilterParticipantsWithNotes();
    void displayAndFilterSessionsWithStarredParticipants();
    void displayAndFilterSessionsWithNotes();
    void displayAndFilterSessionsByType(const Text& type);
    void displayAndFilterSessionsBySpouseAllowed(bool allowed);
    void displayAndFilterSessionsByPressAllowed(bool allowed);
    void displayAndFilterSessionsByHasMeal(bool hasMeal);

    // Enables the messages tab exactly with "messages:read", recounting the badge then.
    void checkIfMailboxIsAvailable();
    // The number of message threads holding an unread message, on the
    // messages tab (no badge for none).
    void refreshMessagesAndMeetingRequestsCounter() override;
    // Sets the messages tab's badge (none removes it). Raises off the main
    // thread and without a messages controller: both are programming errors.
    void setMessagesBadgeValue(const Text& value);

    // The feature bubble is switched off: these do nothing.
    void displayBubbleForTabIndex(int64_t index, const std::string& text);
    void removeBubble();
    void bubbleTapped();

    void viewDidLoad() override;
    void viewDidAppear(bool animated) override;
    uikit::UIInterfaceOrientationMask supportedInterfaceOrientations() const override;
    bool shouldAutorotate() const override;
    std::string className() const override { return "EventsTabBarController"; }

private:
    // displayLeftPopoverMenu, then the tab.
    void openTab(int64_t index);
    uikit::UIViewControllerPtr controllerAtIndex(int64_t index) const;
};

using EventsTabBarControllerPtr = std::shared_ptr<EventsTabBarController>;
