// The message composer as a person reaches it from the messages tab: the To
// map shown in one order and queued into the outbox, the empty To map, the
// recipient picker's toggling, segments and the user left out, the remover,
// Cancel, and a typed To text reconciled with the map; on the pad the picker
// in its popover.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "analytics/AnalyticsUtils.h"
#include "api/MessagesManager.h"
#include "app/ShellTestSupport.h"
#include "foundation/Date.h"
#include "foundation/FileManager.h"
#include "model/QVACoreDataOutboxMessage.h"
#include "model/QVAMessageRecipient.h"
#include "model/QVAUserAccount.h"
#include "people/DeletableParticipantRecipientsViewController.h"
#include "people/MessageComposerViewController.h"
#include "people/MessageListOnThreadsViewController.h"
#include "people/MessagesRecipientsViewController.h"
#include "uikit/AlertStack.h"
#include "uikit/NSLayoutConstraint.h"
#include "uikit/UIButton.h"
#include "uikit/UIPopoverController.h"
#include "uikit/UISegmentedControl.h"
#include "uikit/UITableViewCell.h"
#include "uikit/UITextField.h"
#include "uikit/UITextView.h"

namespace {

using Recipients = std::map<std::string, std::string>;

constexpr const char* kComposerToken = "composer-token";
constexpr double kComposerWait = 30;

class MessageComposerTest : public shelltest::ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        // The events an earlier test tracked (a composer it opened) stay in
        // the home's archive, which a launch reads back.
        AnalyticsUtils::queuedEvents();
        foundation::FileManager::defaultManager().removeItemAtPath(AnalyticsUtils::archivePath());
        AnalyticsUtils::initializeAnalytics();
        openCurrent(kComposerToken);
        settings.setCurrentAccount(QVAUserAccount::initWithDictionary(foundation::Value::dictionary(
            {{"accessToken", kComposerToken}, {"user", foundation::Value::dictionary({{"id", "me1"}})}})));
        insert(kComposerToken, "QVACoreDataPermission",
               {{{"code", "messages:read"}, {"granted", true}}, {{"code", "messages:send"}, {"granted", true}}});
        insert(kComposerToken, "QVACoreDataMessageRecipient",
               {recipient("me1", "Me Myself", "Myself"), recipient("p9", "Bob Day", "Day"),
                recipient("p7", "Ann Lee", "Lee")});
    }
    void TearDown() override {
        auto& outbox = MessagesManager::sharedMessagesManager();
        if (auto timer = outbox.timerForSchedulingOutboxMessages()) timer->invalidate();
        outbox.setTimerForSchedulingOutboxMessages(nullptr);
        foundation::RunLoop::main().runUntil([&] { return !outbox.isSendingOutboxMessages(); }, kComposerWait);
        ShellTest::TearDown();
    }

    static meetingtest::Row recipient(const std::string& id, const std::string& name, const std::string& last) {
        return {{"itemId", id}, {"fullName", name}, {"lastName", last}, {"sectionTitle", last.substr(0, 1)}};
    }
    template <class Screen>
    std::shared_ptr<Screen> front() {
        return std::dynamic_pointer_cast<Screen>(driver().frontViewController());
    }
    // A new message from the thread list's Compose button.
    std::shared_ptr<MessageComposerViewController> compose() {
        launch();
        EXPECT_TRUE(driver().tapTab(EventsTabBarController::messagesTabIndex()));
        settle();
        EXPECT_TRUE(driver().tapItem("Compose"));
        settle();
        return front<MessageComposerViewController>();
    }
    // The picker opened from the add button, then a tap on that row.
    void pick(MessageComposerViewController& composer, int64_t row) {
        composer.toButton()->sendActionsForControlEvents(uikit::UIControlEventTouchUpInside);
        settle();
        ASSERT_TRUE(front<MessagesRecipientsViewController>());
        ASSERT_TRUE(driver().tapRow(0, row));
        settle();
    }
    std::vector<std::shared_ptr<QVACoreDataOutboxMessage>> outboxRows() {
        return rows<QVACoreDataOutboxMessage>(kComposerToken, "42");
    }
    size_t events(const std::string& name) const {
        size_t count = 0;
        for (const auto& event : AnalyticsUtils::queuedEvents()) count += event.name == name;
        return count;
    }
    std::vector<std::string> listedNames(MessagesRecipientsViewController& picker) {
        std::vector<std::string> names;
        for (const auto& row : picker.rows())
            if (const auto* name = row["fullName"].string()) names.push_back(*name);
        return names;
    }
};

TEST_F(MessageComposerTest, SendQueuesOneOutboxRowOfTheFormOnceAndCloses) {
    auto composer = compose();
    ASSERT_TRUE(composer);
    pick(*composer, 1);  // Ann Lee, after Bob Day
    ASSERT_TRUE(driver().typeText("subjectField", "Hello"));
    EXPECT_EQ(composer->toField()->text(), "Ann Lee;");
    const auto composeDate = static_cast<int32_t>(foundation::Date::now().timeIntervalSince1970());
    ASSERT_TRUE(driver().tapItem("Send"));
    ASSERT_TRUE(foundation::RunLoop::main().runUntil([&] { return !outboxRows().empty(); }, kComposerWait));
    settle();
    auto queued = outboxRows();
    ASSERT_EQ(queued.size(), 1u);
    EXPECT_EQ(queued[0]->subject(), "Hello");
    EXPECT_EQ(queued[0]->body(), "");
    EXPECT_EQ(queued[0]->toNames(), "Ann Lee");
    EXPECT_EQ(queued[0]->toAddresses(), "p7");
    EXPECT_EQ(queued[0]->threadId(), 0);
    EXPECT_EQ(queued[0]->composeDate(), composeDate);
    EXPECT_TRUE(front<MessageListOnThreadsViewController>());
    const auto tracked = AnalyticsUtils::queuedEvents();
    std::vector<std::string> names;
    for (const auto& event : tracked)
        if (event.name == MessageComposerViewController::kViewAnalyticsName ||
            event.name == MessageComposerViewController::kSendAnalyticsName)
            names.push_back(event.name);
    EXPECT_EQ(names, (std::vector<std::string>{"View message composer", "Send message"}));

    composer->sendMessage();
    settle();
    EXPECT_EQ(outboxRows().size(), 1u);
    EXPECT_EQ(events("Send message"), 1u);
}

TEST_F(MessageComposerTest, WithoutRecipientsSendAlertsAndKeepsTheComposer) {
    auto composer = compose();
    ASSERT_TRUE(composer);
    ASSERT_TRUE(driver().tapItem("Send"));
    settle();
    auto alert = uikit::AlertStack::shared().front();
    ASSERT_TRUE(alert);
    EXPECT_EQ(alert->message(), "You do not have any message recipients");
    EXPECT_FALSE(alert->title());
    ASSERT_TRUE(driver().answerAlert("0"));
    settle();
    EXPECT_EQ(front<MessageComposerViewController>(), composer);
    EXPECT_TRUE(outboxRows().empty());
    EXPECT_FALSE(composer->isSendingMessage());
}

TEST_F(MessageComposerTest, NamesAndIdsComeOutInIdOrderWhateverTheOrderOfChoosing) {
    auto composer = compose();
    ASSERT_TRUE(composer);
    const double oneLine = composer->toFieldHeightConstraint()->constant();
    pick(*composer, 0);  // Bob Day first
    pick(*composer, 1);  // then Ann Lee
    EXPECT_EQ(composer->alreadyAddedToFieldOrvaneUsers(), (Recipients{{"p7", "Ann Lee"}, {"p9", "Bob Day"}}));
    EXPECT_EQ(composer->toField()->text(), "Ann Lee; Bob Day;");
    EXPECT_GE(composer->toFieldHeightConstraint()->constant(), oneLine);
    EXPECT_EQ(composer->toField()->frame().size.height, composer->toFieldHeightConstraint()->constant());
    ASSERT_TRUE(driver().tapItem("Send"));
    ASSERT_TRUE(foundation::RunLoop::main().runUntil([&] { return !outboxRows().empty(); }, kComposerWait));
    auto queued = outboxRows();
    ASSERT_EQ(queued.size(), 1u);
    EXPECT_EQ(queued[0]->toNames(), "Ann Lee, Bob Day");
    EXPECT_EQ(queued[0]->toAddresses(), "p7,p9");
}

TEST_F(MessageComposerTest, ARecipientWhoseIdHoldsTheListsCommaIsNotOfferedAndNoMessageNamesIt) {
    // Stored before such ids were refused, or reached as a thread's sender.
    insert(kComposerToken, "QVACoreDataMessageRecipient", {recipient("10002,10003", "Cara Comma", "Comma")});
    EXPECT_FALSE(QVAMessageRecipient::initWithDictionary(foundation::Value::dictionary({{"id", "10002,10003"}}))
                     ->hasUsableIds());
    auto composer = compose();
    ASSERT_TRUE(composer);
    composer->toButton()->sendActionsForControlEvents(uikit::UIControlEventTouchUpInside);
    settle();
    auto picker = front<MessagesRecipientsViewController>();
    ASSERT_TRUE(picker);
    EXPECT_EQ(listedNames(*picker), (std::vector<std::string>{"Bob Day", "Ann Lee"}));
    ASSERT_TRUE(driver().tapRow(0, 1));
    settle();
    ASSERT_EQ(front<MessageComposerViewController>(), composer);

    composer->setAlreadyAddedToFieldOrvaneUsers({{"10002,10003", "Cara Comma"}, {"p7", "Ann Lee"}});
    ASSERT_TRUE(driver().tapItem("Send"));
    ASSERT_TRUE(foundation::RunLoop::main().runUntil([&] { return !outboxRows().empty(); }, kComposerWait));
    auto queued = outboxRows();
    ASSERT_EQ(queued.size(), 1u);
    EXPECT_EQ(queued[0]->toAddresses(), "p7");
}

TEST_F(MessageComposerTest, EachPickerTapTogglesOneRecipientAndClosesAndReopeningShowsTheChecks) {
    auto composer = compose();
    ASSERT_TRUE(composer);
    pick(*composer, 0);
    EXPECT_EQ(front<MessageComposerViewController>(), composer);
    EXPECT_EQ(composer->alreadyAddedToFieldOrvaneUsers(), (Recipients{{"p9", "Bob Day"}}));

    composer->toButton()->sendActionsForControlEvents(uikit::UIControlEventTouchUpInside);
    settle();
    auto picker = front<MessagesRecipientsViewController>();
    ASSERT_TRUE(picker);
    // "All" is the address book without the user.
    EXPECT_EQ(listedNames(*picker), (std::vector<std::string>{"Bob Day", "Ann Lee"}));
    EXPECT_EQ(picker->tableView()->cellForRowAtIndexPath({0, 0})->accessoryType(),
              uikit::UITableViewCellAccessoryType::Checkmark);
    EXPECT_EQ(picker->tableView()->cellForRowAtIndexPath({0, 1})->accessoryType(),
              uikit::UITableViewCellAccessoryType::None);
    // No participant rows in the store: nobody is at the event.
    ASSERT_TRUE(driver().segment(1));
    settle();
    EXPECT_TRUE(picker->rows().empty());
    EXPECT_EQ(picker->tableView()->numberOfRowsInSection(0), 0);
    ASSERT_TRUE(driver().segment(0));
    settle();
    ASSERT_TRUE(driver().tapRow(0, 0));
    settle();
    EXPECT_EQ(front<MessageComposerViewController>(), composer);
    EXPECT_TRUE(composer->alreadyAddedToFieldOrvaneUsers().empty());
    EXPECT_EQ(composer->toField()->text(), "");
}

TEST_F(MessageComposerTest, TheEmptyToFieldOpensThePickerAndTheRemoverKeepsOrDropsOnDoneAndCancel) {
    auto composer = compose();
    ASSERT_TRUE(composer);
    auto to = composer->toField();
    auto tapTo = [&] {
        ASSERT_TRUE(driver().tapAt(to->convertPointToView({to->bounds().size.width / 2, 10}, nullptr)));
        settle();
    };
    tapTo();
    ASSERT_TRUE(front<MessagesRecipientsViewController>());
    ASSERT_TRUE(driver().back());
    settle();
    pick(*composer, 0);
    pick(*composer, 1);

    // Cancel after deleting keeps everybody.
    tapTo();
    auto remover = front<DeletableParticipantRecipientsViewController>();
    ASSERT_TRUE(remover);
    EXPECT_EQ(remover->title(), "Remove");
    EXPECT_TRUE(remover->tableView()->isEditing());
    ASSERT_TRUE(driver().deleteRow(0, 0));
    settle();
    EXPECT_EQ(remover->dataSourceArray(), (std::vector<std::string>{"p9"}));
    ASSERT_TRUE(driver().tapItem("Cancel"));
    settle();
    EXPECT_EQ(front<MessageComposerViewController>(), composer);
    EXPECT_EQ(composer->alreadyAddedToFieldOrvaneUsers().size(), 2u);
    EXPECT_EQ(to->text(), "Ann Lee; Bob Day;");

    // Done after deleting every row empties the map and the text.
    tapTo();
    ASSERT_TRUE(front<DeletableParticipantRecipientsViewController>());
    ASSERT_TRUE(driver().deleteRow(0, 0));
    ASSERT_TRUE(driver().deleteRow(0, 0));
    settle();
    ASSERT_TRUE(driver().tapItem("Done"));
    settle();
    EXPECT_EQ(front<MessageComposerViewController>(), composer);
    EXPECT_TRUE(composer->alreadyAddedToFieldOrvaneUsers().empty());
    EXPECT_EQ(to->text(), "");
}

TEST_F(MessageComposerTest, CancelOnAnUntouchedMessageClosesAtOnce) {
    auto composer = compose();
    ASSERT_TRUE(composer);
    ASSERT_TRUE(driver().tapItem("Cancel"));
    settle();
    EXPECT_FALSE(uikit::AlertStack::shared().front());
    EXPECT_TRUE(front<MessageListOnThreadsViewController>());
}

TEST_F(MessageComposerTest, ATypedToTextKeepsTheNamedAndAddsValidAddresses) {
    auto composer = compose();
    ASSERT_TRUE(composer);
    pick(*composer, 1);
    auto to = composer->toField();
    to->setText("Ann Lee; x@y.org; bad");
    composer->syncAlreadyAddedParticipantsWithTextField(*to);
    EXPECT_EQ(composer->alreadyAddedToFieldOrvaneUsers(), (Recipients{{"p7", "Ann Lee"}, {"x@y.org", "x@y.org"}}));
    // Another view is not the To field.
    uikit::UITextView other;
    other.setText("x@y.org");
    composer->syncAlreadyAddedParticipantsWithTextField(other);
    EXPECT_EQ(composer->alreadyAddedToFieldOrvaneUsers().size(), 2u);
}

class MessageComposerPadTest : public MessageComposerTest {
protected:
    uikit::DeviceProfile deviceProfile() const override { return uikit::DeviceProfile::iPad(); }
};

TEST_F(MessageComposerPadTest, ThePickerShowsInAPopoverOfItsPreferredSizeAndClosesOnATap) {
    launch();
    tabBar()->displayLeftPopoverMenu();
    tabBar()->selectTabBarItem(EventsTabBarController::messagesTabIndex());
    settle();
    ASSERT_TRUE(driver().tapItem("Compose"));
    settle();
    auto composer = front<MessageComposerViewController>();
    ASSERT_TRUE(composer);
    composer->toButton()->sendActionsForControlEvents(uikit::UIControlEventTouchUpInside);
    settle();
    auto popover = composer->participantsPopover();
    ASSERT_TRUE(popover);
    ASSERT_TRUE(popover->isPopoverVisible());
    EXPECT_EQ(popover->permittedArrowDirections(), uikit::UIPopoverArrowDirectionRight);
    EXPECT_EQ(popover->popoverContentSize().width, 400);
    EXPECT_EQ(popover->popoverContentSize().height, 450);
    ASSERT_TRUE(driver().tapRow(0, 0));
    settle();
    EXPECT_FALSE(popover->isPopoverVisible());
    EXPECT_EQ(composer->toField()->text(), "Bob Day;");
}

}  // namespace
