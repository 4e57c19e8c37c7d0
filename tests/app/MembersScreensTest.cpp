// The members list, its options on both idioms, the switch to a member and
// the spouse's password screen against the local meeting service: what each
// delegator is offered, which choice opens what, that a failed switch changes
// nothing, and the password checks and answers.
#include <gtest/gtest.h>

#include "AccountScreensTestSupport.h"
#include "app/ChangePasswordViewController.h"
#include "uikit/AlertStack.h"
#include "app/CustomNavigationController.h"
#include "app/EventsSplitViewController.h"
#include "Utils/CustomTextField.h"
#include "app/LoadingViewController.h"
#include "app/LoginDelegatorsOptionsViewController.h"
#include "app/LoginDelegatorsViewController.h"
#include "Utils/CustomActionSheet.h"
#include "model/QVACoreDataLoginDelegator.h"
#include "uikit/UIBarButtonItem.h"
#include "uikit/UIFont.h"
#include "uikit/UILabel.h"
#include "uikit/UINavigationController.h"
#include "uikit/UINavigationItem.h"
#include "uikit/UIPopoverController.h"
#include "uikit/UITableViewCell.h"
#include "uikit/UITextField.h"

namespace {

using accounttest::AccountScreensTest;
using accounttest::PadAccountScreensTest;

class MembersTest : public AccountScreensTest {
protected:
    void SetUp() override {
        AccountScreensTest::SetUp();
        list = BaseViewController::instantiateViewController<LoginDelegatorsViewController>();
        ASSERT_TRUE(list);
        showInNavigation(list);
        spouse = delegatorOfType("spouse");
        assistant = delegatorOfType("Assistant");
        ASSERT_FALSE(spouse.isNothing());
        ASSERT_FALSE(assistant.isNothing());
    }

    // The row of the delegator in the name-ordered list.
    int64_t rowOf(const foundation::Value& delegator) const {
        return spouse["fullName"].stringValue() < assistant["fullName"].stringValue() ? (delegator == spouse ? 0 : 1)
                                                                                      : (delegator == spouse ? 1 : 0);
    }
    std::shared_ptr<CustomActionSheet> frontSheet() const {
        return std::dynamic_pointer_cast<CustomActionSheet>(uikit::AlertStack::shared().front());
    }
    std::vector<std::string> sheetButtons() const {
        std::vector<std::string> titles;
        if (auto sheet = frontSheet())
            for (int64_t i = 0; i < sheet->numberOfButtons(); ++i) titles.push_back(sheet->buttonTitleAtIndex(i).value_or(""));
        return titles;
    }
    std::shared_ptr<ChangePasswordViewController> pushedPasswordScreen() const {
        return std::dynamic_pointer_cast<ChangePasswordViewController>(list->navigationController()->topViewController());
    }
    std::string masqueradePath(const foundation::Value& delegator) const {
        return apiPath("events/" + eventId() + "/my_profile/login_delegators/" + delegator["id"].stringValue() +
                       "/masquerade");
    }

    std::shared_ptr<LoginDelegatorsViewController> list;
    foundation::Value spouse;
    foundation::Value assistant;
};

TEST_F(MembersTest, ListsTheDelegatorsByNameWithDisclosureUnderManageMembers) {
    EXPECT_EQ(list->title(), "Manage members");
    auto table = list->tableView();
    ASSERT_EQ(table->numberOfSections(), 1);
    ASSERT_EQ(table->numberOfRowsInSection(0), 2);
    auto first = table->cellForRowAtIndexPath({0, 0});
    auto second = table->cellForRowAtIndexPath({0, 1});
    ASSERT_TRUE(first && second);
    EXPECT_EQ(first->reuseIdentifier(), "loginDelegatorsCellId");
    EXPECT_LT(first->textLabel()->text().value_or(""), second->textLabel()->text().value_or(""));
    EXPECT_EQ(first->textLabel()->numberOfLines(), 2u);
    EXPECT_EQ(first->accessoryType(), uikit::UITableViewCellAccessoryType::DisclosureIndicator);
    EXPECT_EQ(table->tableHeaderView(), nullptr);  // no search
}

TEST_F(MembersTest, ThePhoneOffersSwitchUserAloneToAnyoneButTheSpouseAndItsSecondButtonIsCancel) {
    ASSERT_TRUE(driver.tapRow(0, rowOf(assistant)));
    settle();
    ASSERT_TRUE(frontSheet());
    EXPECT_EQ(sheetButtons(), (std::vector<std::string>{"Switch User", "Cancel"}));
    EXPECT_EQ(frontSheet()->title().value_or("-"), "");
    EXPECT_EQ(frontSheet()->cancelButtonIndex(), 1);
    EXPECT_EQ(frontSheet()->selectionPropertyId(), assistant["id"].stringValue());

    service->clearRequestLog();
    ASSERT_TRUE(driver.answerAlert("1"));
    settle();
    EXPECT_TRUE(uikit::AlertStack::shared().empty());
    EXPECT_EQ(list->navigationController()->topViewController(), list);
    EXPECT_TRUE(service->requestLog().empty());
}

TEST_F(MembersTest, TheSpousesChangePasswordOpensThePasswordScreenForThatDelegator) {
    ASSERT_TRUE(driver.tapRow(0, rowOf(spouse)));
    settle();
    EXPECT_EQ(sheetButtons(), (std::vector<std::string>{"Switch User", "Change Password", "Cancel"}));
    EXPECT_EQ(frontSheet()->cancelButtonIndex(), 2);

    ASSERT_TRUE(driver.answerAlert("Change Password"));
    settle();
    auto screen = pushedPasswordScreen();
    ASSERT_TRUE(screen);
    EXPECT_EQ(screen->selectionPropertyId(), spouse["id"].stringValue());
    EXPECT_EQ(screen->entityName(), "QVACoreDataLoginDelegator");
    EXPECT_EQ(screen->title(), "Change password");
    EXPECT_EQ(screen->fullName(), spouse["fullName"].stringValue());
    EXPECT_EQ(screen->setNewPasswordLabel()->text(), "Set new password for " + spouse["fullName"].stringValue());
    // The form's own fields: nothing the user types is corrected.
    for (const auto& field : {screen->theNewPasswordTextField(), screen->confirmNewPasswordTextField()})
        EXPECT_EQ(field->autocorrectionType(), uikit::UITextAutocorrectionType::No);
    EXPECT_TRUE(list->navigationController()->lastTransitionAnimated());
}

TEST_F(MembersTest, SwitchUserEndsOnTheLoadingScreenForTheDelegatorWithTheBaseUserStored) {
    const size_t changes = analyticsEvents("Change user");
    ASSERT_TRUE(driver.tapRow(0, rowOf(assistant)));
    settle();
    ASSERT_TRUE(driver.answerAlert("Switch User"));
    ASSERT_TRUE(settleUntil([&] { return std::dynamic_pointer_cast<LoadingViewController>(list->presentedViewController()) != nullptr; }));

    auto loading = std::dynamic_pointer_cast<LoadingViewController>(list->presentedViewController());
    ASSERT_TRUE(loading->currentUserAccount());
    EXPECT_EQ(loading->currentUserAccount()->authenticationCode(), token() + "-as-" + assistant["id"].stringValue());
    EXPECT_EQ(loading->currentUserAccount()->fullName(), assistant["fullName"].stringValue());
    auto base = settings.baseUserWhenSwitchToDelegate();
    ASSERT_TRUE(base);
    EXPECT_EQ(base->authenticationCode(), token());
    EXPECT_EQ(base->fullName(), "Dana Demo");
    EXPECT_TRUE(settings.isCurrentUserADelegate());
    EXPECT_FALSE(settings.settingsShowTutorial());

    ASSERT_EQ(analyticsEvents("Change user"), changes + 1);
    auto event = lastAnalyticsEvent("Change user");
    EXPECT_EQ(event->properties.at("Target participant name"), assistant["fullName"].stringValue());
    EXPECT_EQ(event->properties.at("Target participant id"), assistant["id"].stringValue());
    EXPECT_EQ(service->requestCount("POST", masqueradePath(assistant)), 1u);
    // The member's meeting downloads to its end before the test leaves.
    EXPECT_TRUE(settleUntil(
        [&] { return !uikit::AlertStack::shared().empty() || !loading->containerForSpotlight()->subviews().empty(); }));
}

TEST_F(MembersTest, AFailedSwitchShowsTheAlertAndChangesNothing) {
    // The account answered 500, then a good account whose meeting is refused.
    for (bool accountFails : {true, false}) {
        SCOPED_TRACE(accountFails ? "account refused" : "meeting refused");
        service->clearFaults();
        if (accountFails)
            service->injectFault("POST", masqueradePath(assistant), {});
        else
            service->injectFault("GET", apiPath("events/current"), {});
        ASSERT_TRUE(driver.tapRow(0, rowOf(assistant)));
        settle();
        ASSERT_TRUE(driver.answerAlert("Switch User"));
        ASSERT_TRUE(settleUntil([&] { return frontAlert() != nullptr; }));

        EXPECT_EQ(frontAlertText(), "Unable to switch user|Please try again later");
        EXPECT_EQ(list->presentedViewController(), nullptr);
        ASSERT_TRUE(settings.currentAccount());
        EXPECT_EQ(settings.currentAccount()->authenticationCode(), token());
        EXPECT_FALSE(settings.baseUserWhenSwitchToDelegate());
        EXPECT_TRUE(settings.currentEvent());
        EXPECT_EQ(rows<QVACoreDataLoginDelegator>(token(), eventId()).size(), 2u);
        ASSERT_TRUE(driver.answerAlert("OK"));
        settle();
    }
}

TEST_F(MembersTest, ADelegatorGoneFromTheStoreGivesTheAlertWithoutARequest) {
    service->clearRequestLog();
    list->onSwitchUserExecutedForLoginDelegatorId(std::string("no-such-delegator"));
    settle();
    EXPECT_EQ(frontAlertText(), "Unable to switch user|Please try again later");
    EXPECT_TRUE(service->requestLog().empty());
}

class ChangePasswordTest : public MembersTest {
protected:
    void SetUp() override {
        MembersTest::SetUp();
        list->onChangePasswordExecuted(nullptr, spouse["id"].stringValue());
        settle();
        screen = pushedPasswordScreen();
        ASSERT_TRUE(screen);
    }
    void fill(const std::string& password, const std::string& confirmation) {
        screen->theNewPasswordTextField()->setText(password);
        screen->confirmNewPasswordTextField()->setText(confirmation);
    }
    std::string spousePath() const { return apiPath("events/" + eventId() + "/spouse"); }

    std::shared_ptr<ChangePasswordViewController> screen;
};

TEST_F(ChangePasswordTest, EmptyOrDifferingFieldsAreRefusedWithoutARequestAndBlanksCount) {
    service->clearRequestLog();
    fill("", "pw");
    screen->changePasswordButtonPressed(nullptr);
    EXPECT_EQ(frontAlertText(), "Please fill in both fields.|");
    ASSERT_TRUE(driver.answerAlert("OK"));

    fill(" pw", "pw");
    screen->changePasswordButtonPressed(nullptr);
    EXPECT_EQ(frontAlertText(), "-|Please enter the same password in both fields");
    ASSERT_TRUE(driver.answerAlert("OK"));
    EXPECT_TRUE(service->requestLog().empty());
}

TEST_F(ChangePasswordTest, ASuccessNamesTheSpousesUsernameAndIsTrackedWithItsFullName) {
    const size_t before = analyticsEvents("Change spouse password");
    ASSERT_TRUE(driver.typeText("New password", " new pw"));
    ASSERT_TRUE(driver.typeText("Confirm new password", " new pw"));
    ASSERT_TRUE(driver.tapButton("Change password"));
    ASSERT_TRUE(settleUntil([&] { return frontAlert() != nullptr; }));

    EXPECT_EQ(frontAlertText(), "Password successfully changed for " + spouse["username"].stringValue() + "|");
    EXPECT_FALSE(screen->theNewPasswordTextField()->isFirstResponder());
    EXPECT_FALSE(screen->confirmNewPasswordTextField()->isFirstResponder());
    EXPECT_EQ(screen->loadingView(), nullptr);
    const auto writes = service->writes();
    ASSERT_FALSE(writes.empty());
    EXPECT_EQ(writes.back().method, "PATCH");
    EXPECT_EQ(writes.back().body["password"].stringValue(), " new pw");  // sent untrimmed
    ASSERT_EQ(analyticsEvents("Change spouse password"), before + 1);
    EXPECT_EQ(lastAnalyticsEvent("Change spouse password")->properties.at("Spouse login id"),
              spouse["fullName"].stringValue());
    EXPECT_EQ(list->navigationController()->topViewController(), screen);  // the screen stays
}

TEST_F(ChangePasswordTest, AFailureShowsTheServicesTextOrTheUnknownErrorWhenItSentNone) {
    service->injectFault("PATCH", spousePath(), {.status = 400, .body = R"({"error":"Password too short"})"});
    fill("pw", "pw");
    screen->changePasswordButtonPressed(nullptr);
    ASSERT_TRUE(settleUntil([&] { return frontAlert() != nullptr; }));
    EXPECT_EQ(frontAlertText(), "-|Password too short");
    ASSERT_TRUE(driver.answerAlert("OK"));

    service->clearFaults();
    service->injectFault("PATCH", spousePath(), {.status = 500, .body = R"({"error":""})"});
    screen->changePasswordButtonPressed(nullptr);
    ASSERT_TRUE(settleUntil([&] { return frontAlert() != nullptr; }));
    EXPECT_EQ(frontAlertText(), "An unknown error occured|Please try again later");
}

TEST_F(ChangePasswordTest, ATapOutsideResignsEitherFieldAndTheRecognisersGoWithTheScreen) {
    auto field = screen->confirmNewPasswordTextField();
    ASSERT_TRUE(field->becomeFirstResponder());
    ASSERT_EQ(screen->view()->gestureRecognizers().size(), 1u);
    screen->tapOutside(*screen->view()->gestureRecognizers().front());
    EXPECT_FALSE(field->isFirstResponder());

    auto view = screen->view();
    list->navigationController()->popViewControllerAnimated(false);
    settle();
    screen.reset();
    EXPECT_TRUE(view->gestureRecognizers().empty());
}

class PadMembersTest : public PadAccountScreensTest {
protected:
    void SetUp() override {
        PadAccountScreensTest::SetUp();
        list = BaseViewController::instantiateViewController<LoginDelegatorsViewController>();
        ASSERT_TRUE(list);
        showInNavigation(list);
        spouse = delegatorOfType("spouse");
    }
    std::shared_ptr<LoginDelegatorsOptionsViewController> options() const {
        auto popover = list->popoverLoginDelegatorsOptionsChoose();
        auto navigation = popover ? std::dynamic_pointer_cast<uikit::UINavigationController>(popover->contentViewController())
                                  : nullptr;
        return navigation ? std::dynamic_pointer_cast<LoginDelegatorsOptionsViewController>(navigation->topViewController())
                          : nullptr;
    }
    int64_t spouseRow() const {
        auto table = list->tableView();
        for (int64_t row = 0; row < table->numberOfRowsInSection(0); ++row)
            if (table->cellForRowAtIndexPath({0, row})->textLabel()->text() == spouse["fullName"].stringValue()) return row;
        return -1;
    }

    std::shared_ptr<LoginDelegatorsViewController> list;
    foundation::Value spouse;
};

TEST_F(PadMembersTest, ThePopoverChooseOptionListsTheChoicesAndItsRowOneOpensThePasswordScreen) {
    const int64_t row = spouseRow();
    ASSERT_GE(row, 0);
    ASSERT_TRUE(driver.tapRow(0, row));
    settle();
    auto popover = list->popoverLoginDelegatorsOptionsChoose();
    ASSERT_TRUE(popover && popover->isPopoverVisible());
    EXPECT_EQ(popover->permittedArrowDirections(), uikit::UIPopoverArrowDirectionUp);
    EXPECT_TRUE(std::dynamic_pointer_cast<CustomNavigationController>(popover->contentViewController()));
    auto chooser = options();
    ASSERT_TRUE(chooser);
    EXPECT_EQ(chooser->title(), "Choose option");
    EXPECT_EQ(chooser->dataSourceArray(), (std::vector<std::string>{"Switch user", "Change password"}));
    EXPECT_EQ(chooser->loginDelegatorId(), spouse["id"].stringValue());
    auto cancel = chooser->navigationItem()->leftBarButtonItem();
    ASSERT_TRUE(cancel);
    EXPECT_EQ(cancel->title(), "Cancel");
    EXPECT_EQ(cancel->style(), uikit::UIBarButtonItemStyle::Done);
    auto table = chooser->tableView();
    ASSERT_EQ(table->numberOfRowsInSection(0), 2);
    auto cell = table->cellForRowAtIndexPath({0, 1});
    EXPECT_EQ(cell->reuseIdentifier(), "nodsa imdsa das sa");
    EXPECT_EQ(cell->textLabel()->text(), "Change password");
    EXPECT_EQ(cell->textLabel()->font()->pointSize(), 17);
    EXPECT_EQ(table->rectForRowAtIndexPath({0, 1}).size.height, 44);

    ASSERT_TRUE(driver.tapRow(0, 1));
    settle();
    EXPECT_FALSE(popover->isPopoverVisible());
    EXPECT_FALSE(popover->lastDismissalAnimated());
    auto screen = std::dynamic_pointer_cast<ChangePasswordViewController>(list->navigationController()->topViewController());
    ASSERT_TRUE(screen);
    EXPECT_EQ(screen->selectionPropertyId(), spouse["id"].stringValue());
}

TEST_F(PadMembersTest, CancelDismissesThePopoverAndOpensNothing) {
    ASSERT_TRUE(driver.tapRow(0, spouseRow()));
    settle();
    auto popover = list->popoverLoginDelegatorsOptionsChoose();
    ASSERT_TRUE(popover);
    ASSERT_TRUE(driver.tapItem("Cancel"));
    settle();
    EXPECT_FALSE(popover->isPopoverVisible());
    EXPECT_EQ(list->navigationController()->topViewController(), list);
    EXPECT_EQ(list->presentedViewController(), nullptr);
}

// On the pad the chosen member's meeting loads over the split view.
TEST_F(PadMembersTest, SwitchUserFromThePopoverLoadsTheMemberOverTheSplitView) {
    auto split = std::make_shared<EventsSplitViewController>();
    // The settings' members list is shown in the detail pane.
    split->setViewControllers({CustomNavigationController::initWithRootViewController(
                                   std::make_shared<uikit::UIViewController>()),
                               CustomNavigationController::initWithRootViewController(list)});
    window->setRootViewController(split);
    settle();
    ASSERT_TRUE(driver.tapRow(0, spouseRow()));
    settle();
    ASSERT_TRUE(options());
    ASSERT_TRUE(driver.tapRow(0, 0));
    ASSERT_TRUE(settleUntil([&] { return split->presentedViewController() != nullptr; }));
    auto loading = std::dynamic_pointer_cast<LoadingViewController>(split->presentedViewController());
    ASSERT_TRUE(loading);
    ASSERT_TRUE(loading->currentUserAccount());
    EXPECT_EQ(loading->currentUserAccount()->authenticationCode(), token() + "-as-" + spouse["id"].stringValue());
    EXPECT_TRUE(settleUntil(
        [&] { return !uikit::AlertStack::shared().empty() || !loading->containerForSpotlight()->subviews().empty(); }));
}

}  // namespace
