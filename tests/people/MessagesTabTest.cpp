// The messages tab as a person reaches it, over messages the local meeting
// service serves: the thread rows (names without the user, subject, date
// text, count, unread mark, newest first), the thread screen (its title and
// people, marking read once, the Reply hand-over, a message to the user
// alone answered to its sender), the offline and failing thread deletes,
// the buttons the permission and the network allow, the outbox (order,
// rows, deleting offline, two messages of one second), its read-only
// message, and the container's segments and badges.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "Utils/CountBadge.h"
#include "Utils/Utils.h"
#include "app/ShellTestSupport.h"
#include "api/MessagesManager.h"
#include "api/QVAApiManagerRefresh.h"
#include "foundation/JSONSerialization.h"
#include "model/QVACoreDataMessage.h"
#include "model/QVACoreDataOutboxMessage.h"
#include "model/QVAEvent.h"
#include "model/QVAOutboxMessage.h"
#include "model/QVAUserAccount.h"
#include "app/CustomNavigationController.h"
#include "lists/DetailsNavigationController.h"
#include "people/MessageCell.h"
#include "people/MessageComposerViewController.h"
#include "people/MessageListOnThreadsViewController.h"
#include "people/MessagesListBaseViewController.h"
#include "people/MessagesListSegmentedNavigationController.h"
#include "people/OutboxMessageDetailsViewController.h"
#include "people/OutboxMessagesListViewController.h"
#include "service/MeetingGenerator.h"
#include "service/MeetingService.h"
#include "uikit/AlertStack.h"
#include "uikit/NSLayoutConstraint.h"
#include "uikit/UIBarButtonItem.h"
#include "uikit/UIFont.h"
#include "uikit/UIImageView.h"
#include "uikit/UILabel.h"
#include "uikit/UINavigationItem.h"
#include "uikit/UIPopoverController.h"
#include "uikit/UISegmentedControl.h"
#include "uikit/UIButton.h"
#include "uikit/UITabBarItem.h"
#include "uikit/UITextField.h"
#include "uikit/UITextView.h"

namespace {

using foundation::Value;
using Recipients = std::map<std::string, std::string>;

constexpr const char* kTabToken = "messages-tab-token";
constexpr const char* kMe = "me1";
constexpr double kTabWait = 30;
// The clock's day in the device's zone (New York): 10 March 2015, 04:30.
constexpr const char* kToday = "2015-03-10T02:00:00-04:00";
constexpr const char* kEarlierToday = "2015-03-10T01:00:00-04:00";
constexpr const char* kYesterday = "2015-03-09T14:00:00-04:00";

Value person(const std::string& id, const std::string& name) {
    return Value::dictionary({{"participantId", id}, {"name", name}});
}

class MessagesTabTest : public shelltest::ShellTest {
protected:
    std::unique_ptr<testservice::MeetingService> service;

    void SetUp() override {
        ShellTest::SetUp();
        auto data = testservice::generateMeeting({.seed = 3, .sessions = 4, .participants = 12, .days = 1});
        data.items(testservice::MeetingKind::Messages).clear();
        service = std::make_unique<testservice::MeetingService>(std::move(data));
        ASSERT_TRUE(service->start());
        service->addToken(kTabToken);
        QVAApiManager::setServiceRoot(service->rootURL());
        openCurrent(kTabToken);
        settings.setCurrentAccount(QVAUserAccount::initWithDictionary(
            Value::dictionary({{"accessToken", kTabToken}, {"user", Value::dictionary({{"id", kMe}})}})));
    }
    void TearDown() override {
        auto& outbox = MessagesManager::sharedMessagesManager();
        if (auto timer = outbox.timerForSchedulingOutboxMessages()) timer->invalidate();
        outbox.setTimerForSchedulingOutboxMessages(nullptr);
        foundation::RunLoop::main().runUntil([&] { return !outbox.isSendingOutboxMessages(); }, kTabWait);
        ShellTest::TearDown();
        service->stop();
    }

    void grant(std::vector<std::string> codes) {
        std::vector<meetingtest::Row> rows;
        for (const auto& code : codes) rows.push_back({{"code", code}, {"granted", true}});
        insert(kTabToken, "QVACoreDataPermission", rows);
    }
    void putMessage(int id, int thread, const std::string& subject, bool read, const std::string& sent, Value from,
                    Value::Array to) {
        service->putItem(testservice::MeetingKind::Messages,
                         Value::dictionary({{"id", id},
                                            {"threadId", thread},
                                            {"subject", subject},
                                            {"body", "Body " + std::to_string(id)},
                                            {"read", read},
                                            {"sendDatetime", sent},
                                            {"folderName", "Inbox"},
                                            {"from", std::move(from)},
                                            {"to", Value(std::move(to))}}));
    }
    // Thread 5: two messages on "Agenda" to the user and Ann Lee, the newer unread.
    void putAgendaThread() {
        putMessage(501, 5, "Agenda", true, kEarlierToday, person("p7", "Ann Lee"), {person(kMe, "Me"), person("p7", "Ann Lee")});
        putMessage(502, 5, "Agenda", false, kToday, person("p7", "Ann Lee"), {person(kMe, "Me"), person("p7", "Ann Lee")});
    }
    void loadMessages() {
        bool done = false;
        QVAApiManagerRefresh::refreshMessagesWithCompletionBlock([&](const foundation::ErrorPtr& error, const Value&) {
            EXPECT_EQ(error, nullptr);
            done = true;
        });
        ASSERT_TRUE(foundation::RunLoop::main().runUntil([&] { return done; }, kTabWait));
    }
    void setOnline(bool online) {
        auto& reachability = QNNetworkReachabilityManager::sharedManager();
        network::Reachability::setSimulatedFlags(online ? network::ReachabilityFlag::Reachable : 0);
        reachability.startMonitoring();
        ASSERT_TRUE(foundation::RunLoop::main().runUntil([&] { return reachability.isReachable() == online; }, kTabWait));
        settle();
    }
    // The app launched, on the messages tab.
    std::shared_ptr<MessageListOnThreadsViewController> openInbox() {
        launch();
        EXPECT_TRUE(driver().tapTab(EventsTabBarController::messagesTabIndex()));
        settle();
        return std::dynamic_pointer_cast<MessageListOnThreadsViewController>(driver().frontViewController());
    }
    std::shared_ptr<MessagesListSegmentedNavigationController> container() {
        return tabBar()->messageSegmentedNavController();
    }
    template <class Screen>
    std::shared_ptr<Screen> front() {
        return std::dynamic_pointer_cast<Screen>(driver().frontViewController());
    }
    std::shared_ptr<OutboxMessagesListViewController> openOutbox() {
        openInbox();
        return openOutboxOf(*container());
    }
    std::shared_ptr<MessageCell> rowCell(uikit::UIViewController& screen, int64_t row) {
        auto table = std::dynamic_pointer_cast<uikit::UITableView>(screen.view());
        if (auto list = dynamic_cast<LiteListBaseViewController*>(&screen)) table = list->tableView();
        return table ? std::dynamic_pointer_cast<MessageCell>(table->cellForRowAtIndexPath({0, row})) : nullptr;
    }
    std::optional<std::string> tabBadge() {
        return tabBar()->viewControllers().at(static_cast<size_t>(EventsTabBarController::messagesTabIndex()))
            ->tabBarItem()
            ->badgeValue();
    }
    std::shared_ptr<OutboxMessagesListViewController> openOutboxOf(MessagesListSegmentedNavigationController& messages) {
        messages.showControllerAtIndex(1);
        settle();
        return front<OutboxMessagesListViewController>();
    }
    static std::string text(const std::shared_ptr<uikit::UILabel>& label) { return label->text().value_or(""); }
    static std::string alertTitle() {
        auto alert = uikit::AlertStack::shared().front();
        return alert ? alert->title().value_or("") : "";
    }
    std::vector<std::shared_ptr<QVACoreDataOutboxMessage>> outboxRows() {
        return rows<QVACoreDataOutboxMessage>(kTabToken, "42");
    }
    size_t storedMessagesOfThread(int thread) {
        return rows<QVACoreDataMessage>(kTabToken, "42", coredata::Predicate::withFormat("threadId = %d", thread)).size();
    }
    void queue(const std::string& subject, const std::string& names, int32_t composeDate) {
        MessagesManager::sharedMessagesManager().sendMessageFor(
            QVAOutboxMessage::initWithBody("Body of " + subject, subject, composeDate, names, "p7", 0));
        ASSERT_TRUE(foundation::RunLoop::main().runUntil(
            [&] {
                for (const auto& row : outboxRows())
                    if (row->subject() == subject) return true;
                return false;
            },
            kTabWait));
        settle();
    }
};

TEST_F(MessagesTabTest, AThreadRowNamesTheOthersAndOpeningItMarksItReadOnceAndRepliesToThem) {
    grant({"messages:read", "messages:send"});
    putAgendaThread();
    loadMessages();
    auto inbox = openInbox();
    ASSERT_TRUE(inbox);
    auto row = rowCell(*inbox, 0);
    ASSERT_TRUE(row);
    EXPECT_EQ(text(row->messageTitle()), "Ann Lee");
    EXPECT_EQ(text(row->messageSubtitle()), "Agenda");
    EXPECT_EQ(text(row->messageCount()), "2");
    EXPECT_EQ(text(row->messageDate()), "02:00");
    EXPECT_FALSE(row->unreadImageView()->isHidden());
    EXPECT_EQ(tabBadge(), "1");

    service->clearRequestLog();
    ASSERT_TRUE(driver().tapRow(0, 0));
    ASSERT_TRUE(foundation::RunLoop::main().runUntil([&] { return !tabBadge(); }, kTabWait));
    settle();
    auto thread = front<MessagesListBaseViewController>();
    ASSERT_TRUE(thread);
    EXPECT_EQ(thread->title(), "Discussion details");
    EXPECT_EQ(text(thread->subjectLabel()), "Agenda");
    EXPECT_EQ(text(thread->discussionParticipantsLabel()), "Discussions with Me, Ann Lee");
    EXPECT_EQ(service->requestCount("PATCH", "/api/v1/messages/502"), 1u);
    EXPECT_EQ(service->requestCount("PATCH", "/api/v1/messages/501"), 0u);
    EXPECT_FALSE(thread->tableView()->allowsSelection());

    // Offline the answer waits; online Reply hands the thread to the composer.
    EXPECT_FALSE(thread->replyButton()->isEnabled());
    setOnline(true);
    EXPECT_TRUE(thread->replyButton()->isEnabled());
    ASSERT_TRUE(driver().tapItem("Reply"));
    settle();
    auto composer = front<MessageComposerViewController>();
    ASSERT_TRUE(composer);
    EXPECT_EQ(composer->alreadyAddedToFieldOrvaneUsers(), (Recipients{{"p7", "Ann Lee"}}));
    EXPECT_EQ(composer->replySubject(), "Agenda");
    EXPECT_EQ(composer->threadId(), 5);
    // A reply's recipients and subject are fixed, and the body takes the cursor at its start.
    EXPECT_EQ(composer->toField()->text(), "Ann Lee;");
    EXPECT_EQ(composer->subjectField()->text(), "Agenda");
    EXPECT_FALSE(composer->subjectField()->isUserInteractionEnabled());
    EXPECT_FALSE(composer->toField()->isUserInteractionEnabled());
    EXPECT_TRUE(composer->toButton()->isHidden());
    EXPECT_TRUE(composer->bodyField()->isFirstResponder());
    EXPECT_EQ(composer->bodyField()->selectedRange(), (uikit::NSRange{0, 0}));
    // Untouched, it still asks before it goes, as its To and subject are filled; "No" keeps it.
    ASSERT_TRUE(driver().tapItem("Cancel"));
    settle();
    auto alert = uikit::AlertStack::shared().front();
    ASSERT_TRUE(alert);
    EXPECT_FALSE(alert->title());
    EXPECT_EQ(alert->message(), "Your message will be lost, do you want to continue ?");
    EXPECT_EQ(alert->buttonTitleAtIndex(0), "Yes");
    EXPECT_EQ(alert->buttonTitleAtIndex(1), "No");
    ASSERT_TRUE(driver().answerAlert("No"));
    settle();
    EXPECT_EQ(front<MessageComposerViewController>(), composer);
}

TEST_F(MessagesTabTest, AMessageToTheUserAloneIsTitledWithTheUserAndAnsweredToItsSender) {
    grant({"messages:read", "messages:send"});
    putMessage(601, 6, "Hello", true, kToday, person("p7", "Ann Lee"), {person(kMe, "Me")});
    loadMessages();
    setOnline(true);
    auto inbox = openInbox();
    ASSERT_TRUE(inbox);
    EXPECT_EQ(text(rowCell(*inbox, 0)->messageTitle()), "Me");
    EXPECT_EQ(text(rowCell(*inbox, 0)->messageCount()), "");
    ASSERT_TRUE(driver().tapRow(0, 0));
    settle();
    ASSERT_TRUE(driver().tapItem("Reply"));
    settle();
    auto composer = front<MessageComposerViewController>();
    ASSERT_TRUE(composer);
    EXPECT_EQ(composer->alreadyAddedToFieldOrvaneUsers(), (Recipients{{"p7", "Ann Lee"}}));
}

TEST_F(MessagesTabTest, AReplyLeavesOutAPersonWhoseIdHoldsTheListsCommaAndGoesToTheOthers) {
    grant({"messages:read", "messages:send"});
    putMessage(701, 7, "Rooms", true, kToday, person("7100001,7100002", "Cara Comma"),
               {person(kMe, "Me"), person("7100001,7100002", "Cara Comma"), person("p7", "Ann Lee")});
    loadMessages();
    setOnline(true);
    ASSERT_TRUE(openInbox());
    ASSERT_TRUE(driver().tapRow(0, 0));
    settle();
    ASSERT_TRUE(driver().tapItem("Reply"));
    settle();
    auto composer = front<MessageComposerViewController>();
    ASSERT_TRUE(composer);
    EXPECT_EQ(composer->alreadyAddedToFieldOrvaneUsers(), (Recipients{{"p7", "Ann Lee"}}));
    service->clearRequestLog();
    ASSERT_TRUE(driver().tapItem("Send"));
    ASSERT_TRUE(foundation::RunLoop::main().runUntil(
        [&] { return service->requestCount("POST", "/api/v1/messages") > 0; }, kTabWait));
    for (const auto& request : service->requestLog()) {
        if (request.method != "POST") continue;
        auto body = foundation::JSONSerialization::JSONObjectWithData(foundation::Data::fromString(request.body));
        EXPECT_EQ(body["to"], Value("p7")) << request.body;
    }
}

TEST_F(MessagesTabTest, ThreadsComeNewestFirstWithTheirDateTexts) {
    grant({"messages:read"});
    putMessage(701, 7, "Old", true, kYesterday, person("p8", "Bo Chen"), {person(kMe, "Me"), person("p8", "Bo Chen")});
    putAgendaThread();
    loadMessages();
    auto inbox = openInbox();
    ASSERT_TRUE(inbox);
    ASSERT_EQ(inbox->allThreadsSortedBySentDateArray().size(), 2u);
    EXPECT_EQ(text(rowCell(*inbox, 0)->messageSubtitle()), "Agenda");
    EXPECT_EQ(text(rowCell(*inbox, 1)->messageSubtitle()), "Old");
    EXPECT_EQ(text(rowCell(*inbox, 1)->messageDate()), "09/03/2015");
    EXPECT_EQ(text(rowCell(*inbox, 1)->messageCount()), "");
    EXPECT_TRUE(rowCell(*inbox, 1)->unreadImageView()->isHidden());
    EXPECT_EQ(inbox->tableView()->titleForHeaderInSection(0), "Messages");
    EXPECT_EQ(inbox->tableView()->heightForRowAtIndexPath({0, 1}), 50);
    // Without the permission to send there is no Compose button.
    EXPECT_EQ(inbox->navigationItem()->rightBarButtonItem(), nullptr);
    ASSERT_TRUE(driver().tapRow(0, 0));
    settle();
    EXPECT_EQ(front<MessagesListBaseViewController>()->navigationItem()->rightBarButtonItem(), nullptr);
}

TEST_F(MessagesTabTest, ALongThreadShowsItsNewestMessageAndAPullBringsNewThreadsAndTheBadge) {
    grant({"messages:read"});
    for (int i = 0; i < 14; ++i) {
        const std::string sent = std::string("2015-03-09T10:") + (i < 10 ? "0" : "") + std::to_string(i) + ":00-04:00";
        putMessage(800 + i, 8, "Long", true, sent, person("p7", "Ann Lee"), {person(kMe, "Me"), person("p7", "Ann Lee")});
    }
    loadMessages();
    auto inbox = openInbox();
    ASSERT_TRUE(inbox);
    ASSERT_TRUE(driver().tapRow(0, 0));
    settle();
    foundation::Clock::advance(1);
    settle();
    auto thread = front<MessagesListBaseViewController>();
    ASSERT_TRUE(thread);
    auto table = thread->tableView();
    const double overflow = table->contentSize().height - table->frame().size.height;
    EXPECT_GT(overflow, MessagesListBaseViewController::kScrollToBottomSlack);
    EXPECT_EQ(table->contentOffset().y, overflow);
    ASSERT_TRUE(driver().back());
    settle();

    EXPECT_FALSE(tabBadge());
    putMessage(900, 9, "New", false, kToday, person("p8", "Bo Chen"), {person(kMe, "Me")});
    setOnline(true);
    ASSERT_TRUE(driver().pull());
    ASSERT_TRUE(foundation::RunLoop::main().runUntil([&] { return tabBadge() == std::optional<std::string>("1"); }, kTabWait));
    settle();
    ASSERT_EQ(inbox->allThreadsSortedBySentDateArray().size(), 2u);
    EXPECT_EQ(text(rowCell(*inbox, 0)->messageSubtitle()), "New");
}

TEST_F(MessagesTabTest, DeletingAThreadNeedsTheNetworkAndComesBackWhenTheServiceFails) {
    grant({"messages:read"});
    putAgendaThread();
    loadMessages();
    auto inbox = openInbox();
    ASSERT_TRUE(inbox);

    ASSERT_TRUE(driver().deleteRow(0, 0));
    settle();
    EXPECT_EQ(alertTitle(), "Unable to delete messages without a working Internet connection.");
    ASSERT_TRUE(driver().answerAlert("OK"));
    EXPECT_EQ(inbox->tableView()->numberOfRowsInSection(0), 1);

    setOnline(true);
    service->injectFault("DELETE", "/api/v1/messages/502", {.status = 500});
    ASSERT_TRUE(driver().deleteRow(0, 0));
    EXPECT_EQ(inbox->tableView()->numberOfRowsInSection(0), 0);
    ASSERT_TRUE(foundation::RunLoop::main().runUntil([&] { return !alertTitle().empty(); }, kTabWait));
    EXPECT_EQ(alertTitle(), "Unable to delete messages!");
    settle();
    // The refused message is still stored, so its thread is back.
    EXPECT_EQ(storedMessagesOfThread(5), 1u);
    EXPECT_EQ(inbox->tableView()->numberOfRowsInSection(0), 1);
    ASSERT_TRUE(driver().answerAlert("OK"));

    service->clearFaults();
    ASSERT_TRUE(driver().deleteRow(0, 0));
    EXPECT_EQ(inbox->tableView()->numberOfRowsInSection(0), 0);
    ASSERT_TRUE(foundation::RunLoop::main().runUntil([&] { return storedMessagesOfThread(5) == 0; }, kTabWait));
    settle();
    EXPECT_EQ(service->requestCount("DELETE", "/api/v1/messages/502"), 2u);
    EXPECT_TRUE(service->items(testservice::MeetingKind::Messages).empty());
    EXPECT_EQ(inbox->tableView()->numberOfRowsInSection(0), 0);
    EXPECT_FALSE(uikit::AlertStack::shared().front());
}

TEST_F(MessagesTabTest, TheOutboxListsQueuedMessagesOldestFirstAndADeletedOneIsNeverSent) {
    grant({"messages:read"});
    auto outbox = openOutbox();
    ASSERT_TRUE(outbox);
    EXPECT_EQ(outbox->tableView()->numberOfSections(), 1);
    EXPECT_EQ(outbox->tableView()->titleForHeaderInSection(0), "Outbox");
    EXPECT_EQ(outbox->tableView()->numberOfRowsInSection(0), 0);

    queue("Slides", "Bo Chen", 1700000100);
    queue("Hello", "Ann Lee", 1700000000);
    ASSERT_EQ(outbox->tableView()->numberOfRowsInSection(0), 2);
    EXPECT_EQ(text(rowCell(*outbox, 0)->messageTitle()), "Ann Lee");
    EXPECT_EQ(text(rowCell(*outbox, 0)->messageSubtitle()), "Hello");
    EXPECT_EQ(text(rowCell(*outbox, 1)->messageSubtitle()), "Slides");
    EXPECT_EQ(outbox->tableView()->heightForRowAtIndexPath({0, 0}), 50);

    // Back online, a pass starts before the store has the deletion: it
    // leaves the row alone.
    setOnline(true);
    ASSERT_TRUE(driver().deleteRow(0, 0));
    MessagesManager::sharedMessagesManager().startTimerToSendOutboxMessagesIfAny();
    ASSERT_TRUE(foundation::RunLoop::main().runUntil([&] { return outboxRows().empty(); }, kTabWait));
    ASSERT_TRUE(foundation::RunLoop::main().runUntil(
        [&] { return !MessagesManager::sharedMessagesManager().isSendingOutboxMessages(); }, kTabWait));
    settle();
    std::vector<std::string> sent;
    for (const auto& write : service->writes())
        if (write.method == "POST" && write.path == "/api/v1/messages") sent.push_back(write.body["subject"].stringValue());
    EXPECT_EQ(sent, std::vector<std::string>{"Slides"});
    EXPECT_EQ(outbox->tableView()->numberOfRowsInSection(0), 0);
}

TEST_F(MessagesTabTest, OfTwoMessagesOfOneSecondEachOpensAndDeletesItself) {
    grant({"messages:read"});
    auto outbox = openOutbox();
    ASSERT_TRUE(outbox);
    queue("First", "Ann Lee", 1700000000);
    queue("Second", "Bo Chen, Ann Lee", 1700000000);
    ASSERT_EQ(outbox->tableView()->numberOfRowsInSection(0), 2);
    const std::string second = text(rowCell(*outbox, 1)->messageSubtitle());

    ASSERT_TRUE(driver().tapRow(0, 1));
    auto details = front<OutboxMessageDetailsViewController>();
    ASSERT_TRUE(details);
    EXPECT_EQ(details->title(), second);
    EXPECT_EQ(text(details->subjectLabel()), second);
    EXPECT_EQ(details->bodyTextView()->text(), "Body of " + second);
    const auto measured = Utils::getTextSize(std::string("Body of " + second), details->bodyTextView()->font(),
                                             {details->bodyTextView()->frame().size.width, 10000});
    EXPECT_EQ(details->bodyHeightConstraint()->constant(), measured.height + 24);
    ASSERT_TRUE(driver().back());
    settle();

    ASSERT_TRUE(driver().deleteRow(0, 1));
    settle();
    ASSERT_EQ(outboxRows().size(), 1u);
    EXPECT_NE(outboxRows()[0]->subject(), second);
    ASSERT_EQ(outbox->tableView()->numberOfRowsInSection(0), 1);
    ASSERT_TRUE(driver().tapRow(0, 0));
    details = front<OutboxMessageDetailsViewController>();
    ASSERT_TRUE(details);
    EXPECT_EQ(text(details->subjectLabel()), *outboxRows()[0]->subject());
    EXPECT_EQ(text(details->toLabel()), *outboxRows()[0]->toNames());
}

TEST_F(MessagesTabTest, TheContainerHoldsBothListsUnderItsSegmentsWithBadgesPlacedPerSegment) {
    grant({"messages:read"});
    auto inbox = openInbox();
    ASSERT_TRUE(inbox);
    auto messages = container();
    ASSERT_EQ(messages->retainedControllers().size(), 2u);
    EXPECT_TRUE(std::dynamic_pointer_cast<OutboxMessagesListViewController>(messages->retainedControllers()[1]));
    ASSERT_TRUE(messages->sc());
    EXPECT_EQ(messages->sc()->numberOfSegments(), 2u);
    const auto& holder = messages->containerViewSegmentedControl();
    ASSERT_TRUE(holder);
    EXPECT_EQ(messages->sc()->superview(), holder);
    EXPECT_EQ(messages->sc()->frame().origin, (graphics::Point{0, 0}));
    EXPECT_EQ(inbox->navigationItem()->titleView(), holder);
    auto outbox = openOutboxOf(*messages);
    EXPECT_EQ(outbox->navigationItem()->titleView(), holder);

    messages->setMessageBadgeValue(10);
    auto wide = std::dynamic_pointer_cast<CountBadge>(holder->viewWithTag(888));
    ASSERT_TRUE(wide);
    EXPECT_EQ(wide->badgeText(), "10");
    EXPECT_EQ(wide->frame().origin, (graphics::Point{10, -15}));
    messages->setMessageBadgeValue(5);
    auto narrow = holder->viewWithTag(888);
    EXPECT_EQ(narrow->frame().origin, (graphics::Point{15, -15}));
    EXPECT_EQ(wide->superview(), nullptr);
    messages->setMeetingRequestsBadgeValue(3);
    messages->setMeetingRequestsBadgeValue(3);
    size_t requestBadges = 0;
    for (const auto& view : holder->subviews()) requestBadges += view->tag() == 999;
    EXPECT_EQ(requestBadges, 1u);
    EXPECT_EQ(holder->viewWithTag(999)->frame().origin, (graphics::Point{55, -15}));
    messages->setMessageBadgeValue(0);
    EXPECT_EQ(holder->viewWithTag(888), nullptr);
}

class MessagesTabPadTest : public MessagesTabTest {
protected:
    uikit::DeviceProfile deviceProfile() const override { return uikit::DeviceProfile::iPad(); }
};

TEST_F(MessagesTabPadTest, AThreadOpensAsTheDetailPaneAndComposeIsModalInItsNavigationController) {
    grant({"messages:read", "messages:send"});
    putAgendaThread();
    loadMessages();
    launch();
    // In portrait the tabs are in the "Menu" popover.
    tabBar()->displayLeftPopoverMenu();
    tabBar()->selectTabBarItem(EventsTabBarController::messagesTabIndex());
    settle();
    auto inbox = front<MessageListOnThreadsViewController>();
    ASSERT_TRUE(inbox);
    ASSERT_TRUE(driver().tapRow(0, 0));
    settle();
    auto pane = detail();
    ASSERT_TRUE(std::dynamic_pointer_cast<DetailsNavigationController>(pane));
    auto thread = std::dynamic_pointer_cast<MessagesListBaseViewController>(pane->viewControllers().front());
    ASSERT_TRUE(thread);
    EXPECT_EQ(thread->currentThreadModel()->threadId(), 5);
    EXPECT_EQ(split()->delegate().get(), static_cast<uikit::UISplitViewControllerDelegate*>(
                                             std::static_pointer_cast<DetailsNavigationController>(pane).get()));

    // Opening the thread put the menu away.
    EXPECT_FALSE(split()->leftPopoverMenuController() && split()->leftPopoverMenuController()->isPopoverVisible());
    tabBar()->displayLeftPopoverMenu();
    settle();
    ASSERT_TRUE(driver().tapItem("Compose"));
    settle();
    auto composer = front<MessageComposerViewController>();
    ASSERT_TRUE(composer);
    EXPECT_TRUE(std::dynamic_pointer_cast<CustomNavigationController>(composer->navigationController()));
    EXPECT_EQ(composer->navigationController()->modalPresentationStyle(), uikit::UIModalPresentationStyle::FormSheet);
    EXPECT_TRUE(composer->alreadyAddedToFieldOrvaneUsers().empty());
    EXPECT_EQ(composer->threadId(), 0);
}

TEST_F(MessagesTabPadTest, AQueuedMessageOpensAsTheDetailPane) {
    grant({"messages:read"});
    launch();
    tabBar()->displayLeftPopoverMenu();
    tabBar()->selectTabBarItem(EventsTabBarController::messagesTabIndex());
    settle();
    auto outbox = openOutboxOf(*container());
    ASSERT_TRUE(outbox);
    queue("Hello", "Ann Lee", 1700000000);
    ASSERT_TRUE(driver().tapRow(0, 0));
    settle();
    auto pane = detail();
    ASSERT_TRUE(std::dynamic_pointer_cast<DetailsNavigationController>(pane));
    auto details = std::dynamic_pointer_cast<OutboxMessageDetailsViewController>(pane->viewControllers().front());
    ASSERT_TRUE(details);
    EXPECT_EQ(details->title(), "Hello");
    EXPECT_EQ(text(details->toLabel()), "Ann Lee");
}

}  // namespace
