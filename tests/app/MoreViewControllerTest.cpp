// The More tab over a store: which rows a meeting gets, the feedback row's
// offline rule across network changes, what each row hands its screen, and
// the pad's destinations in the split view's detail.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "ShellTestSupport.h"
#include "analytics/AnalyticsUtils.h"
#include "app/LegendViewController.h"
#include "app/MoreCellDataModel.h"
#include "app/MoreViewController.h"
#include "app/WebViewController.h"
#include "foundation/Exception.h"
#include "foundation/RunLoop.h"
#include "maps/OutsideMapsViewController.h"
#include "model/QVAEvent.h"
#include "people/DocumentsListViewController.h"
#include "people/InformationListDelegate.h"
#include "people/PartnersListViewController.h"
#include "people/ReportsListDelegate.h"
#include "uikit/UIBarButtonItem.h"
#include "uikit/UINavigationItem.h"
#include "uikit/UIPopoverController.h"
#include "app/EventsSplitViewController.h"
#include "uikit/UILabel.h"
#include "uikit/UIImage.h"
#include "uikit/UITableView.h"
#include "uikit/UITableViewCell.h"
#include "Utils/Utils.h"

namespace {

constexpr const char* kMoreToken = "more-token";
constexpr const char* kFeedbackUrl = "https://feedback.example.org/form/42";

using Titles = std::vector<std::string>;

class MoreTabTest : public shelltest::ShellTest {
protected:
    void TearDown() override {
        network::Reachability::setSimulatedFlags(0);
        ShellTest::TearDown();
    }

    // The meeting, with or without information documents and a feedback form.
    void prepareMeeting(bool withDocuments, bool withFeedback) {
        openCurrent(kMoreToken);
        if (withDocuments)
            insert(kMoreToken, "QVACoreDataInformationDocument",
                   {{{"title", foundation::Value("Venue guide")}, {"extension", foundation::Value("pdf")}}});
        auto event = settings.currentEvent();
        if (withFeedback) event->setFeedbackFormUrl(std::string(kFeedbackUrl));
        settings.setCurrentEvent(event);
    }

    std::shared_ptr<MoreViewController> openMoreTab() {
        launch();
        tabBar()->selectTabBarItem(EventsTabBarController::moreTabIndex());
        settle();
        return rootOfTab<MoreViewController>(EventsTabBarController::moreTabIndex());
    }

    static Titles titles(MoreViewController& more) {
        Titles shown;
        auto table = more.moreTableView();
        for (int64_t row = 0; row < table->numberOfRowsInSection(0); ++row)
            shown.push_back(table->cellForRowAtIndexPath({0, row})->textLabel()->text().value_or(""));
        return shown;
    }

    void setOnline(bool online) {
        network::Reachability::setSimulatedFlags(online ? network::ReachabilityFlag::Reachable : 0);
        ASSERT_TRUE(foundation::RunLoop::main().runUntil([&] { return Utils::isInternetReachable() == online; }, 10));
        settle();
    }

    std::shared_ptr<uikit::UIViewController> topOfMoreTab() const {
        auto navigation = std::dynamic_pointer_cast<uikit::UINavigationController>(
            tabBar()->viewControllers().at(static_cast<size_t>(EventsTabBarController::moreTabIndex())));
        return navigation ? navigation->topViewController() : nullptr;
    }

    bool tapRow(int64_t row) {
        bool tapped = driver().tapRow(0, row);
        settle();
        return tapped;
    }
};

TEST_F(MoreTabTest, RowsFollowTheMeetingsDocumentsAndFeedbackForm) {
    prepareMeeting(false, false);
    auto more = openMoreTab();
    ASSERT_TRUE(more);
    EXPECT_TRUE(more->hasDataLoaded());
    EXPECT_FALSE(more->meetingHasInformationDocuments());
    EXPECT_EQ(titles(*more), (Titles{"Maps", "Reports", "Partners", "Help", "Settings"}));

    auto cell = more->moreTableView()->cellForRowAtIndexPath({0, 0});
    EXPECT_EQ(cell->reuseIdentifier(), MoreViewController::kCellIdentifier);
    ASSERT_TRUE(cell->imageView()->image());
    EXPECT_EQ(cell->imageView()->image()->name(), "maps_icon.png");
}

TEST_F(MoreTabTest, AMeetingWithDocumentsAndAFeedbackFormShowsAllSevenRows) {
    prepareMeeting(true, true);
    auto more = openMoreTab();
    ASSERT_TRUE(more);
    EXPECT_TRUE(more->meetingHasInformationDocuments());
    EXPECT_EQ(titles(*more),
              (Titles{"Maps", "Information", "Event feedback", "Reports", "Partners", "Help", "Settings"}));
    Titles segues;
    for (const auto& model : more->dataSourceArray()) segues.push_back(model->moreSectionSeg());
    EXPECT_EQ(segues, (Titles{"moreToMapsSegue", "moreToDocumentsListSegue", "moreToFeedbackDocumentSegue",
                              "moreToDocumentsListSegue", "moreToPartnersListSegue", "moreToHelpSegue",
                              "moreToSettingsSegue"}));
    // Built once: documents arriving later do not add a row to this tab.
    EXPECT_EQ(more->dataSourceArray().size(), 7u);
}

TEST_F(MoreTabTest, OfflineTheFeedbackRowIsGreyedAndIgnoresTapsUntilTheNextNetworkChange) {
    prepareMeeting(true, true);
    auto more = openMoreTab();
    ASSERT_TRUE(more);
    auto feedback = more->moreTableView()->cellForRowAtIndexPath({0, 2});
    EXPECT_FALSE(feedback->isUserInteractionEnabled());
    EXPECT_FALSE(feedback->textLabel()->isEnabled());
    EXPECT_EQ(feedback->selectionStyle(), uikit::UITableViewCellSelectionStyle::None);
    // The other rows do not depend on the network.
    EXPECT_TRUE(more->moreTableView()->cellForRowAtIndexPath({0, 3})->isUserInteractionEnabled());

    tapRow(2);
    EXPECT_EQ(topOfMoreTab(), more);

    const size_t before = AnalyticsUtils::queuedEvents().size();
    setOnline(true);
    feedback = more->moreTableView()->cellForRowAtIndexPath({0, 2});
    EXPECT_TRUE(feedback->isUserInteractionEnabled());
    EXPECT_TRUE(feedback->textLabel()->isEnabled());
    EXPECT_EQ(feedback->selectionStyle(), uikit::UITableViewCellSelectionStyle::Blue);

    ASSERT_TRUE(tapRow(2));
    auto web = std::dynamic_pointer_cast<WebViewController>(topOfMoreTab());
    ASSERT_TRUE(web);
    EXPECT_EQ(web->title(), "Event feedback");
    EXPECT_EQ(web->siteUrl(), kFeedbackUrl);
    bool tracked = false;
    const auto& events = AnalyticsUtils::queuedEvents();
    for (size_t i = before; i < events.size(); ++i) tracked |= events[i].name == "View event feedback";
    EXPECT_TRUE(tracked);
}

TEST_F(MoreTabTest, InformationThenReportsHandTheDocumentsListItsDelegateAndTitle) {
    prepareMeeting(true, false);
    auto more = openMoreTab();
    ASSERT_TRUE(more);

    ASSERT_TRUE(tapRow(1));
    auto information = std::dynamic_pointer_cast<DocumentsListViewController>(topOfMoreTab());
    ASSERT_TRUE(information);
    EXPECT_TRUE(std::dynamic_pointer_cast<InformationListDelegate>(information->listDelegate()));
    EXPECT_EQ(information->title(), "Information");
    EXPECT_FALSE(information->displayDocumentsInWebViewOnly());
    // The list fetches through the delegate it was handed.
    EXPECT_EQ(information->tableView()->numberOfRowsInSection(0), 1);
    information->navigationController()->popViewControllerAnimated(false);
    settle();

    ASSERT_TRUE(tapRow(2));
    auto reports = std::dynamic_pointer_cast<DocumentsListViewController>(topOfMoreTab());
    ASSERT_TRUE(reports);
    ASSERT_NE(reports, information);
    EXPECT_TRUE(std::dynamic_pointer_cast<ReportsListDelegate>(reports->listDelegate()));
    EXPECT_EQ(reports->title(), "Reports");
    EXPECT_FALSE(reports->displayDocumentsInWebViewOnly());
    reports->navigationController()->popViewControllerAnimated(false);
    settle();

    // Any other row but the feedback one drops the delegate.
    ASSERT_TRUE(tapRow(3));
    EXPECT_TRUE(std::dynamic_pointer_cast<PartnersListViewController>(topOfMoreTab()));
    EXPECT_EQ(more->documentsListDelegate(), nullptr);
}

TEST_F(MoreTabTest, MapsAndHelpPushTheOutdoorMapAndTheLegend) {
    prepareMeeting(false, false);
    auto more = openMoreTab();
    ASSERT_TRUE(more);
    ASSERT_TRUE(tapRow(0));
    EXPECT_TRUE(std::dynamic_pointer_cast<OutsideMapsViewController>(topOfMoreTab()));
    more->navigationController()->popToRootViewControllerAnimated(false);
    settle();
    ASSERT_TRUE(tapRow(3));
    EXPECT_TRUE(std::dynamic_pointer_cast<LegendViewController>(topOfMoreTab()));
}

TEST_F(MoreTabTest, TheDocumentsSegueWithoutADelegateIsAProgrammingError) {
    prepareMeeting(false, false);
    auto more = openMoreTab();
    ASSERT_TRUE(more);
    try {
        more->performSegueWithIdentifier(MoreViewController::kDocumentsListSegue, more);
        FAIL() << "no exception";
    } catch (const foundation::Exception& exception) {
        EXPECT_EQ(exception.name(), "list delegate should not be nil");
        EXPECT_EQ(exception.reason(), "create a not nil documentsListDelegate in didSelectRowAtIndexPath MoreViewController");
    }
}

TEST_F(MoreTabTest, SettingsRowAndDisplaySettingsOpenTheSettingsScreen) {
    prepareMeeting(false, false);
    auto more = openMoreTab();
    ASSERT_TRUE(more);
    ASSERT_TRUE(tapRow(4));
    auto settingsScreen = topOfMoreTab();
    ASSERT_NE(settingsScreen, more);
    EXPECT_EQ(settingsScreen->storyboardSceneIdentifier(), "settingsViewControllerIdentifier");
    more->navigationController()->popToRootViewControllerAnimated(false);
    settle();

    tabBar()->selectTabBarItem(1);
    tabBar()->displaySettings();
    settle();
    EXPECT_EQ(tabBar()->selectedIndex(), EventsTabBarController::moreTabIndex());
    EXPECT_EQ(topOfMoreTab()->storyboardSceneIdentifier(), "settingsViewControllerIdentifier");
}

class PadMoreTabTest : public MoreTabTest {
protected:
    uikit::DeviceProfile deviceProfile() const override { return uikit::DeviceProfile::iPad(); }
};

TEST_F(PadMoreTabTest, DestinationsTakeTheDetailInsideANavigationController) {
    prepareMeeting(false, true);
    launch();
    setOnline(true);
    auto more = rootOfTab<MoreViewController>(EventsTabBarController::moreTabIndex());
    ASSERT_TRUE(more);
    more->loadViewIfNeeded();
    auto tabs = tabBar();
    more->tableViewDidSelectRowAtIndexPath(*more->moreTableView(), uikit::NSIndexPath::indexPathForRow(1, 0));
    settle();
    auto navigation = detail();
    ASSERT_TRUE(navigation);
    ASSERT_FALSE(navigation->viewControllers().empty());
    auto web = std::dynamic_pointer_cast<WebViewController>(navigation->viewControllers().front());
    ASSERT_TRUE(web);
    EXPECT_EQ(web->title(), "Event feedback");
    EXPECT_EQ(web->siteUrl(), kFeedbackUrl);
    EXPECT_EQ(split()->viewControllers().front(), tabs);

    more->tableViewDidSelectRowAtIndexPath(*more->moreTableView(), uikit::NSIndexPath::indexPathForRow(2, 0));
    settle();
    auto list = std::dynamic_pointer_cast<DocumentsListViewController>(detail()->viewControllers().front());
    ASSERT_TRUE(list);
    EXPECT_TRUE(std::dynamic_pointer_cast<ReportsListDelegate>(list->listDelegate()));
    EXPECT_EQ(list->title(), "Reports");
}

// In portrait the master hides behind "Menu": a pane chosen in its popover
// gets its title and the button, and the popover closes.
TEST_F(PadMoreTabTest, APaneChosenFromTheMenuInPortraitHasItsTitleAndMenuAndClosesThePopover) {
    prepareMeeting(false, false);
    launch();
    auto more = rootOfTab<MoreViewController>(EventsTabBarController::moreTabIndex());
    ASSERT_TRUE(more);
    more->loadViewIfNeeded();
    auto popover = split()->leftPopoverMenuController();
    ASSERT_TRUE(popover);
    split()->displayLeftPopoverMenu();
    settle();
    ASSERT_TRUE(popover->isPopoverVisible());
    const auto& rows = more->dataSourceArray();
    const auto row = std::find_if(rows.begin(), rows.end(), [](const auto& model) {
                         return model->moreSectionTitle() == "Settings";
                     }) - rows.begin();
    ASSERT_LT(static_cast<size_t>(row), rows.size());
    more->tableViewDidSelectRowAtIndexPath(*more->moreTableView(), uikit::NSIndexPath::indexPathForRow(row, 0));
    settle();

    auto pane = detail();
    ASSERT_TRUE(pane && !pane->viewControllers().empty());
    auto item = pane->viewControllers().front()->navigationItem();
    EXPECT_EQ(item->title(), "Settings");
    ASSERT_TRUE(item->leftBarButtonItem());
    EXPECT_EQ(item->leftBarButtonItem()->title(), "Menu");
    EXPECT_FALSE(popover->isPopoverVisible());
    // The new pane's button opens the menu again.
    split()->displayLeftPopoverMenu();
    settle();
    EXPECT_TRUE(split()->leftPopoverMenuController()->isPopoverVisible());
}

}  // namespace
