// The privacy screen against the local meeting service: the flags read into
// four switch rows, local edits sent together by "Update settings", and the
// two failures with their different texts.
#include <gtest/gtest.h>

#include "AccountScreensTestSupport.h"
#include "app/PrivacySettingsViewController.h"
#include "model/QVAPrivacySettings.h"
#include "uikit/UIFont.h"
#include "uikit/UILabel.h"
#include "uikit/UINavigationController.h"
#include "uikit/UISwitch.h"
#include "uikit/UITableViewCell.h"

namespace {

class PrivacySettingsTest : public accounttest::AccountScreensTest {
protected:
    std::string privacyPath() const { return apiPath("user/privacy_settings"); }

    // The screen pushed over a root, as the settings screen opens it; waits
    // for the read to end.
    void openScreen() {
        screen = std::dynamic_pointer_cast<PrivacySettingsViewController>(
            BaseViewController::instantiateViewControllerWithStoryboardIdentifier(
                PrivacySettingsViewController::storyboardIdentifier()));
        ASSERT_TRUE(screen);
        showInNavigation(std::make_shared<uikit::UIViewController>());
        std::dynamic_pointer_cast<uikit::UINavigationController>(window->rootViewController())
            ->pushViewController(screen, false);
        ASSERT_TRUE(settleUntil([&] { return service->requestCount("GET", privacyPath()) == 1 && !screen->loadingView(); }));
        settle();
    }
    std::shared_ptr<uikit::UISwitch> switchAt(int64_t row) const {
        auto cell = screen->tableView()->cellForRowAtIndexPath({0, row});
        return cell ? std::dynamic_pointer_cast<uikit::UISwitch>(cell->accessoryView()) : nullptr;
    }
    bool flagSent(const std::string& key) const {
        return service->snapshot().privacySettings[key].boolValue();
    }

    std::shared_ptr<PrivacySettingsViewController> screen;
};

TEST_F(PrivacySettingsTest, TheReadFlagsShowAsFourSwitchRowsAndACentredUpdateRowUnderTheSectionTitle) {
    const size_t views = analyticsEvents("View privacy settings");
    openScreen();
    EXPECT_EQ(screen->title(), "Privacy settings");
    EXPECT_EQ(analyticsEvents("View privacy settings"), views + 1);
    ASSERT_TRUE(screen->currentSettings());

    auto table = screen->tableView();
    ASSERT_EQ(table->numberOfSections(), 1);
    ASSERT_EQ(table->numberOfRowsInSection(0), 5);
    EXPECT_EQ(screen->tableViewTitleForHeaderInSection(*table, 0), "Edit privacy settings");
    EXPECT_EQ(screen->tableViewHeightForHeaderInSection(*table, 0), 40);
    EXPECT_EQ(screen->tableViewViewForHeaderInSection(*table, 0), nullptr);

    const std::vector<std::pair<std::string, bool>> expected{{"Show my email", true},
                                                            {"Show my fixed phone", false},
                                                            {"Show my mobile phone", false},
                                                            {"Show my nationality", true}};
    for (size_t row = 0; row < expected.size(); ++row) {
        SCOPED_TRACE(expected[row].first);
        auto cell = table->cellForRowAtIndexPath({0, static_cast<int64_t>(row)});
        ASSERT_TRUE(cell);
        EXPECT_EQ(cell->reuseIdentifier(), "Non_reusable_cell_identifier");
        EXPECT_EQ(cell->textLabel()->text(), expected[row].first);
        EXPECT_EQ(cell->textLabel()->font()->pointSize(), 17);
        ASSERT_TRUE(switchAt(static_cast<int64_t>(row)));
        EXPECT_EQ(switchAt(static_cast<int64_t>(row))->isOn(), expected[row].second);
        EXPECT_EQ(table->rectForRowAtIndexPath({0, static_cast<int64_t>(row)}).size.height, 52);
    }
    auto update = table->cellForRowAtIndexPath({0, 4});
    EXPECT_EQ(update->textLabel()->text(), "Update settings");
    EXPECT_EQ(update->textLabel()->textAlignment(), uikit::NSTextAlignment::Center);
    EXPECT_EQ(update->accessoryView(), nullptr);
}

TEST_F(PrivacySettingsTest, FlippedSwitchesStayLocalUntilUpdateSendsTheFinalStateOfAllFour) {
    openScreen();
    service->clearWrites();
    ASSERT_TRUE(driver.setSwitch(0, 0, false));
    ASSERT_TRUE(driver.setSwitch(0, 0, true));
    ASSERT_TRUE(driver.setSwitch(0, 3, false));
    settle();
    EXPECT_TRUE(service->writes().empty());
    EXPECT_TRUE(screen->currentSettings()->isPrimaryEmailVisible());
    EXPECT_FALSE(screen->currentSettings()->isNationalityVisible());

    const size_t updates = analyticsEvents("Update privacy settings");
    ASSERT_TRUE(driver.tapRow(0, 4));
    ASSERT_TRUE(settleUntil([&] { return !service->writes().empty() && !screen->loadingView(); }));
    const auto writes = service->writes();
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_EQ(writes[0].method, "PUT");
    for (const char* key : {"primaryEmailVisible", "phoneVisible", "mobilePhoneVisible", "nationalityVisible"})
        EXPECT_FALSE(writes[0].body[key].isNothing()) << key;
    EXPECT_TRUE(flagSent("primaryEmailVisible"));
    EXPECT_FALSE(flagSent("phoneVisible"));
    EXPECT_FALSE(flagSent("mobilePhoneVisible"));
    EXPECT_FALSE(flagSent("nationalityVisible"));
    EXPECT_EQ(analyticsEvents("Update privacy settings"), updates + 1);
    EXPECT_EQ(frontAlert(), nullptr);  // nothing on success
}

TEST_F(PrivacySettingsTest, AFailedReadOrAReplyOfAnotherKindShowsTheLoadAlertAndAnEmptyTable) {
    for (const auto& fault : {testservice::MeetingService::Fault{},
                              testservice::MeetingService::Fault{.status = 200, .body = "[1, 2]"}}) {
        SCOPED_TRACE(fault.status);
        service->clearFaults();
        service->clearRequestLog();
        service->injectFault("GET", privacyPath(), fault);
        openScreen();
        ASSERT_TRUE(settleUntil([&] { return frontAlert() != nullptr; }));
        EXPECT_EQ(frontAlertText(), "An error has occured. Please try later.|-");
        ASSERT_EQ(frontAlert()->numberOfButtons(), 1);
        EXPECT_EQ(frontAlert()->buttonTitleAtIndex(0), "OK");
        EXPECT_EQ(screen->tableView()->numberOfRowsInSection(0), 0);
        EXPECT_FALSE(screen->currentSettings());
        ASSERT_TRUE(driver.answerAlert("OK"));
        settle();
    }
}

TEST_F(PrivacySettingsTest, AFailedUpdateShowsItsOwnTextAndKeepsTheEdits) {
    openScreen();
    service->injectFault("PUT", privacyPath(), {});
    ASSERT_TRUE(driver.setSwitch(0, 1, true));
    ASSERT_TRUE(driver.tapRow(0, 4));
    ASSERT_TRUE(settleUntil([&] { return frontAlert() != nullptr; }));
    EXPECT_EQ(frontAlertText(), "An error has occured. Please try again later.|-");
    ASSERT_TRUE(driver.answerAlert("OK"));
    settle();
    EXPECT_TRUE(screen->currentSettings()->isPhoneVisible());
    screen->reloadDataSourceAndTable();
    ASSERT_TRUE(switchAt(1));
    EXPECT_TRUE(switchAt(1)->isOn());
    EXPECT_FALSE(flagSent("phoneVisible"));
}

}  // namespace
