// The navigation rows of the session detail screen and the pages they open,
// in the launched application over a store of the local meeting service:
// which rows exist and can be tapped, the recommended sessions, the push and
// the swipe of a page opened from the programme, and the structure, voting,
// summary, live video and personal-entry pages.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Utils/DateHelper.h"
#include "Utils/Utils.h"
#include "analytics/AnalyticsUtils.h"
#include "app/ShellTestSupport.h"
#include "coredata/ManagedObject.h"
#include "foundation/Log.h"
#include "foundation/NotificationCenter.h"
#include "foundation/RunLoop.h"
#include "lists/DetailsScreenSupport.h"
#include "lists/SwipeParentControllerProtocol.h"
#include "model/QVASession.h"
#include "model/QVASessionInsight.h"
#include "lists/DetailsWithListBaseViewController.h"
#include "lists/KeyValueButtonsCell.h"
#include "lists/KeyValueNormalCell.h"
#include "lists/KeyValueTableView.h"
#include "programme/PersonalEntryDetailsViewController.h"
#include "programme/ProgrammeDetailsExtraInfoViewController.h"
#include "programme/ProgrammeDetailsFeedbackViewController.h"
#include "programme/ProgrammeDetailsInsightViewController.h"
#include "programme/ProgrammeDetailsStructureViewController.h"
#include "programme/ProgrammeDetailsVideoViewController.h"
#include "programme/ProgrammeDetailsViewController.h"
#include "programme/ProgrammeDetailsVotingViewController.h"
#include "programme/QVASessionHeaderView.h"
#include "programme/SessionDetailTestSupport.h"
#include "programme/SessionRecommendationsViewController.h"
#include "service/MeetingGenerator.h"
#include "service/MeetingService.h"
#include "store/EntityModel.h"
#include "model/RowWriting.h"
#include "uikit/ScreenRenderer.h"
#include "uikit/UIButton.h"
#include "uikit/UIFont.h"
#include "uikit/UILabel.h"
#include "uikit/UINavigationBar.h"
#include "uikit/UINavigationController.h"
#include "uikit/UINavigationItem.h"
#include "uikit/UITableView.h"
#include "uikit/UITextView.h"
#include "uikit/UIWebView.h"

namespace {

using foundation::Value;
using meetingtest::Row;
using Screen = ProgrammeDetailsViewController;
using uikit::NSIndexPath;

constexpr double kNavigationWait = 30;
constexpr const char* kDay = "2026-06-16";

// Counts the loads a web view starts, whoever asked for them.
class NavigationLoadCounter : public uikit::UIWebViewDelegate {
public:
    int loads = 0;
    bool webViewShouldStartLoadWithRequest(uikit::UIWebView&, const foundation::URLRequest&,
                                           uikit::UIWebViewNavigationType) override {
        ++loads;
        return true;
    }
};

// Counts how often it was about to appear.
class NavigationAppearanceCounter : public uikit::UIViewController {
public:
    int appearances = 0;
    void viewWillAppear(bool animated) override {
        UIViewController::viewWillAppear(animated);
        ++appearances;
    }
};

// The application's model with the voting-link entity it never declares.
coredata::ModelPtr modelWithVotingLinks() {
    auto source = EntityModel::mergedModel();
    auto model = std::make_shared<coredata::ManagedObjectModel>(source->versionIdentifier());
    for (const auto* entity : source->entities()) {
        const auto* parent = entity->superentity();
        const auto& all = entity->attributes();
        const size_t inherited = parent ? parent->attributes().size() : 0;
        model->addEntity(entity->name(), parent ? parent->name() : "",
                         std::vector<coredata::AttributeDescription>(all.begin() + long(inherited), all.end()));
    }
    model->addEntity("CoreDataVotingUri", "",
                     {{"itemId", coredata::AttributeType::String}, {"votingUrl", coredata::AttributeType::String}});
    return model;
}

class SessionNavigationTest : public sessiondetailtest::SessionDetailTest {
protected:
    virtual bool declaresVotingLinks() const { return false; }

private:
    bool launched_ = false;

protected:

    void SetUp() override {
        SessionDetailTest::SetUp();
        if (declaresVotingLinks()) EntityModel::setStackModelForTesting(modelWithVotingLinks());
        AnalyticsUtils::initializeAnalytics();
        ASSERT_TRUE(startMeetingService());
        DetailsScreenSupport::registerObjectHandOver();
        foundation::Clock::useVirtual(
            DateHelper::dateFromServer(Value("2026-06-16T10:00:00+02:00"), true)->timeIntervalSinceReferenceDate());
    }
    void TearDown() override {
        settle();
        // The events stay in the process's one archive: the next suites count theirs.
        AnalyticsUtils::queuedEvents();
        std::error_code ignored;
        std::filesystem::remove(AnalyticsUtils::archivePath(), ignored);
        AnalyticsUtils::initializeAnalytics();
        SessionDetailTest::TearDown();
        EntityModel::setStackModelForTesting(nullptr);
        service->stop();
    }

    void launchOnce() {
        if (!launched_) launch();
        launched_ = true;
    }
    void grant(const char* code) {
        insert(token(), "QVACoreDataPermission", {{{"code", Value(code)}, {"granted", Value(true)}}}, service->eventId());
    }
    void online(bool reachable) {
        launchOnce();
        network::Reachability::setSimulatedFlags(reachable ? network::ReachabilityFlag::Reachable : 0);
        EXPECT_TRUE(foundation::RunLoop::main().runUntil([reachable] { return Utils::isInternetReachable() == reachable; },
                                                         kNavigationWait));
    }
    void storeSession(const char* id, const char* time, Row extra, const char* entity = "QVACoreDataSession") {
        Row row{{"itemId", Value(id)},
                {"title", Value(std::string("Session ") + id)},
                {"startDatetime", Value(std::string(kDay) + "T" + time + ":00+02:00")},
                {"startDateString", Value(kDay)},
                {"sectionTitle", Value(std::string(time).substr(0, 2) + ":00")},
                {"displayTime", Value(time)},
                {"insights", Value(RowWriting::archivedArray(Value::Array{}))}};
        for (auto& [key, value] : extra) row[key] = value;
        insert(token(), entity, {row}, service->eventId());
    }
    template <class T = Screen>
    std::shared_ptr<T> open(const char* scene, const char* entity, const char* id) {
        launchOnce();
        EXPECT_TRUE(driver().openScene(scene, {AppStoryboards::kPhoneStoryboardName, AppStoryboards::kPadStoryboardName},
                                       std::make_pair(std::string(entity), std::string(id))) ==
                    uikit::ScreenDriver::OpenResult::Opened);
        settle();
        return std::dynamic_pointer_cast<T>(driver().frontViewController());
    }
    std::shared_ptr<Screen> openSession(const char* id, const char* entity = "QVACoreDataSession") {
        return open(Screen::kStoryboardIdentifier, entity, id);
    }
    // The first session of the day, opened from the sessions tab.
    std::shared_ptr<Screen> openFromProgramme() {
        launchOnce();
        EXPECT_TRUE(driver().tapTab(1));
        settle();
        EXPECT_TRUE(driver().tapRow(0, 0));
        settle();
        return std::dynamic_pointer_cast<Screen>(driver().frontViewController());
    }
    static std::vector<std::string> titles(const Screen& screen) {
        std::vector<std::string> out;
        for (const auto& row : screen.navigationRows()) out.push_back(row->cellTitle.value_or("?"));
        return out;
    }
    static DetailsNavigationDataModelPtr row(const Screen& screen, const std::string& title) {
        for (const auto& row : screen.navigationRows())
            if (row->cellTitle == title) return row;
        return nullptr;
    }
    // Taps the row as a person does; the page pushed in front.
    template <class T>
    std::shared_ptr<T> tapRow(Screen& screen, const std::string& title) {
        const auto& rows = screen.navigationRows();
        for (size_t index = 0; index < rows.size(); ++index)
            if (rows[index]->cellTitle == title) {
                EXPECT_TRUE(driver().tapRow(screen.navigationSectionIndex(), int64_t(index)));
            }
        settle();
        return std::dynamic_pointer_cast<T>(driver().frontViewController());
    }
    static size_t tracked(const std::string& name) {
        size_t count = 0;
        for (const auto& event : AnalyticsUtils::queuedEvents()) count += event.name == name;
        return count;
    }
};

// --- The rows ---

TEST_F(SessionNavigationTest, ABareSessionHasAdditionalDetailsAndADisabledSummaryOnly) {
    storeSession("s1", "09:00", {});
    auto screen = openSession("s1");
    ASSERT_TRUE(screen);
    ASSERT_EQ(titles(*screen), (std::vector<std::string>{"Additional details", "Summary"}));
    const auto& details = screen->navigationRows()[0];
    EXPECT_TRUE(details->isNavigationEnabled);
    EXPECT_EQ(details->iconName, "icon_additional_details.png");
    EXPECT_EQ(details->storyboardIdentifier, "ProgrammeDetailsExtraInfoViewController");
    EXPECT_EQ(details->entityName, "QVACoreDataSession");
    EXPECT_FALSE(details->analyticsPayload);
    const auto& summary = screen->navigationRows()[1];
    EXPECT_FALSE(summary->isNavigationEnabled);
    EXPECT_EQ(summary->iconName, "icon_summary.png");
    EXPECT_EQ(summary->storyboardIdentifier, "ProgrammeDetailsInsightViewController");
    EXPECT_EQ(summary->analyticsPayload, "Session s1");
}

TEST_F(SessionNavigationTest, OfflineFeedbackIsAbsentAndVotingDisabled) {
    storeSession("s1", "09:00", {{"feedbackUrl", Value("http://127.0.0.1:1/f")}, {"votingUrl", Value("http://127.0.0.1:1/v")}});
    auto screen = openSession("s1");
    ASSERT_TRUE(screen);
    EXPECT_EQ(titles(*screen), (std::vector<std::string>{"Additional details", "Summary", "Voting"}));
    EXPECT_FALSE(row(*screen, "Voting")->isNavigationEnabled);
}

TEST_F(SessionNavigationTest, OnlineFeedbackOpensFromTheDayTheSessionStarts) {
    storeSession("later", "12:00", {{"feedbackUrl", Value("http://127.0.0.1:1/f")}});
    storeSession("tomorrow", "12:00", {{"feedbackUrl", Value("http://127.0.0.1:1/f")},
                                       {"startDatetime", Value("2026-06-17T12:00:00+02:00")}});
    online(true);
    auto later = openSession("later");
    ASSERT_TRUE(later && row(*later, "Feedback"));
    EXPECT_TRUE(row(*later, "Feedback")->isNavigationEnabled);
    auto tomorrow = openSession("tomorrow");
    ASSERT_TRUE(tomorrow && row(*tomorrow, "Feedback"));
    EXPECT_FALSE(row(*tomorrow, "Feedback")->isNavigationEnabled);
}

TEST_F(SessionNavigationTest, AnAgendaRoleWithEverythingHasTheSevenRowsInOrder) {
    Row everything{{"agendaItemId", Value("a1")},
                   {"webcastUrl", Value("http://127.0.0.1:1/live")},
                   {"feedbackUrl", Value("http://127.0.0.1:1/f")},
                   {"sessionStructure", Value("<p>x</p>")},
                   {"votingUrl", Value("http://127.0.0.1:1/v")}};
    storeSession("s1", "09:00", everything, "QVACoreDataAgendaSelection");
    grant("event:recommendations");
    online(true);
    auto screen = openSession("a1", "QVACoreDataAgendaSelection");
    ASSERT_TRUE(screen);
    EXPECT_EQ(titles(*screen), (std::vector<std::string>{"Additional details", "Live video", "Summary",
                                                         "Also recommended...", "Feedback", "Structure", "Voting"}));
    EXPECT_EQ(row(*screen, "Structure")->entityName, "QVACoreDataAgendaSelection");
    EXPECT_EQ(row(*screen, "Feedback")->entityName, "QVACoreDataBaseSession");
    const auto recommended = row(*screen, "Also recommended...");
    EXPECT_EQ(recommended->viewControllerTitle, "Recommended");
    EXPECT_EQ(recommended->controllerListDelegateClassType.name, "ListSessionsBaseDelegate");
    for (const auto& each : screen->navigationRows()) EXPECT_EQ(each->selectionPropertyId, "a1");
}

// --- Recommendations ---

TEST_F(SessionNavigationTest, RecommendationsKeepTheStoredSessionsAndListThemOnTheirPage) {
    storeSession("s1", "09:00", {});
    storeSession("s2", "10:00", {});
    grant("event:recommendations");
    service->injectFault("GET", "/api/v1/events/" + service->eventId() + "/sessions/s2/recommended",
                         {.status = 200, .body = R"([{"id":"s1"},{"id":"s9"}])"});
    online(true);
    auto screen = openSession("s2");
    ASSERT_TRUE(screen);
    auto recommended = row(*screen, "Also recommended...");
    ASSERT_TRUE(recommended);
    ASSERT_TRUE(foundation::RunLoop::main().runUntil([&] { return !recommended->extraInfo.empty(); }, kNavigationWait));
    ASSERT_EQ(recommended->extraInfo.size(), 1u);
    EXPECT_EQ(std::dynamic_pointer_cast<QVASession>(recommended->extraInfo[0])->selectionPropertyId(), "s1");

    auto page = tapRow<SessionRecommendationsViewController>(*screen, "Also recommended...");
    ASSERT_TRUE(page);
    EXPECT_EQ(page->title(), "Recommended");
    EXPECT_EQ(page->tableViewGetTitleForHeaderInSection(*page->tableView(), 0), "You may also be interested in");
    ASSERT_EQ(page->dataSourceArray().size(), 1u);
    EXPECT_EQ(std::dynamic_pointer_cast<QVASession>(page->dataSourceArray()[0])->selectionPropertyId(), "s1");
}

TEST_F(SessionNavigationTest, ARecommendationsErrorLeavesTheRowEnabledWithoutSessionsOrAlert) {
    storeSession("s1", "09:00", {});
    grant("event:recommendations");
    service->injectFault("GET", "/api/v1/events/" + service->eventId() + "/sessions/s1/recommended", {});
    online(true);
    foundation::ScopedLogCapture log;
    auto screen = openSession("s1");
    ASSERT_TRUE(screen);
    ASSERT_TRUE(foundation::RunLoop::main().runUntil(
        [&] { return log.contains("Unable to load session recommendations."); }, kNavigationWait));
    settle();
    auto recommended = row(*screen, "Also recommended...");
    EXPECT_TRUE(recommended->isNavigationEnabled);
    EXPECT_TRUE(recommended->extraInfo.empty());
    EXPECT_TRUE(app().visibleAlerts().empty());
}

// --- The push and the swipe ---

TEST_F(SessionNavigationTest, APageTakesTheScreensPlaceInItsListAndSwipesToTheNextSession) {
    storeSession("s1", "09:00", {{"sessionStructure", Value("<p>x</p>")}});
    storeSession("s2", "10:00", {{"sessionStructure", Value("<p>y</p>")}});
    auto screen = openFromProgramme();
    ASSERT_TRUE(screen);
    ASSERT_TRUE(screen->parentController());
    auto page = tapRow<ProgrammeDetailsStructureViewController>(*screen, "Structure");
    ASSERT_TRUE(page);
    EXPECT_EQ(page->selectionPropertyId(), "s1");
    EXPECT_EQ(page->entityName(), screen->entityName());
    EXPECT_EQ(page->indexPathInParentController(), screen->indexPathInParentController());
    EXPECT_TRUE(page->isSwipeEnabled());
    EXPECT_EQ(page->parentController(), screen->parentController());
    EXPECT_EQ(page->title(), "Structure");
    EXPECT_EQ(page->analyticsPayload(), "Session s1");
    EXPECT_EQ(page->structureWebView()->HTMLString(),
              "<html><head></head><body style=\"font-family: HelveticaNeue-Light; \"><p>x</p></body></html>");
    EXPECT_FALSE(page->structureWebView()->baseURL());

    ASSERT_TRUE(driver().swipe(uikit::ScreenDriver::SwipeDirection::Left));
    settle();
    auto next = std::dynamic_pointer_cast<ProgrammeDetailsStructureViewController>(driver().frontViewController());
    ASSERT_TRUE(next);
    EXPECT_EQ(next->selectionPropertyId(), "s2");
    EXPECT_NE(next->structureWebView()->HTMLString()->find("<p>y</p>"), std::string::npos);
    // The bar names the page the swipe brought as it named the first one.
    EXPECT_EQ(next->navigationItem()->title(), "Structure");
}

// A session's title too long for the page's bar gives way to "Back"; the
// page's title keeps its size in the middle of the bar.
TEST_F(SessionNavigationTest, APagesBarShortensALongSessionTitleAndKeepsItsOwnTitleCentred) {
    std::string description;
    for (int i = 0; i < 60; ++i) description += "A long look at where the field goes next. ";
    storeSession("s1", "09:00",
                 {{"title", Value("Artificial Intelligence Beyond 2030")},
                  {"sessionDescription", Value(description)},
                  {"sessionStructure", Value("<p>x</p>")}});
    auto screen = openFromProgramme();
    ASSERT_TRUE(screen);
    // Once the header has gone under the bar, the bar takes the session's title.
    ASSERT_TRUE(driver().scroll(std::nullopt, 700, std::nullopt));
    settle();
    ASSERT_EQ(screen->navigationItem()->title(), "Artificial Intelligence Beyond 2030");
    auto page = tapRow<ProgrammeDetailsStructureViewController>(*screen, "Structure");
    ASSERT_TRUE(page && page->navigationController());
    const auto& bar = page->navigationController()->navigationBar();
    bar->layoutIfNeeded();
    ASSERT_TRUE(bar->backButton() && bar->titleLabel());
    EXPECT_EQ(bar->backButton()->currentTitle().value_or(""), "\xE2\x80\xB9 Back");
    const auto title = bar->titleLabel()->frame();
    EXPECT_NEAR(title.origin.x + title.width() / 2, bar->bounds().width() / 2, 0.5);
    EXPECT_EQ(bar->titleLabel()->font()->pointSize(), DetailsWithListBaseViewController::kTitleFontSize);
}

// The facts' link values (the filters) start in the column of their text
// values.
TEST_F(SessionNavigationTest, TheAdditionalDetailsShowLinkAndTextValuesInOneColumn) {
    storeSession("s1", "09:00", {{"keyword", Value("Artificial Intelligence")}});
    auto screen = openFromProgramme();
    ASSERT_TRUE(screen);
    auto page = tapRow<ProgrammeDetailsExtraInfoViewController>(*screen, "Additional details");
    ASSERT_TRUE(page && page->keyValueTableView());
    const auto& table = page->keyValueTableView();
    std::optional<double> linkX, textX;
    for (int64_t row = 0; row < int64_t(table->rows().size()); ++row) {
        auto cell = table->cellForRowAtIndexPath(NSIndexPath::indexPathForRow(row, 0));
        ASSERT_TRUE(cell);
        cell->layoutIfNeeded();
        if (auto buttons = std::dynamic_pointer_cast<KeyValueButtonsCell>(cell); buttons && !linkX) {
            auto button = std::dynamic_pointer_cast<uikit::UIButton>(buttons->buttonsContainer()->subviews().at(0));
            ASSERT_TRUE(button);
            button->layoutIfNeeded();
            linkX = button->titleLabel()->convertRectToView(button->titleLabel()->bounds(), nullptr).origin.x;
        } else if (auto text = std::dynamic_pointer_cast<KeyValueNormalCell>(cell); text && !textX) {
            textX = text->valueLabel()->convertRectToView(text->valueLabel()->bounds(), nullptr).origin.x +
                    uikit::UITextView::kTextContainerInset.left + uikit::UITextView::kLineFragmentPadding;
        }
    }
    ASSERT_TRUE(linkX && textX);
    EXPECT_NEAR(*linkX, *textX, 0.5);
}

// --- The pages ---

TEST_F(SessionNavigationTest, AnEmptyStructureLoadsTheWrapperAroundNothing) {
    storeSession("s1", "09:00", {{"sessionStructure", Value("")}});
    auto page = open<ProgrammeDetailsStructureViewController>(ProgrammeDetailsStructureViewController::kStoryboardIdentifier,
                                                              "QVACoreDataSession", "s1");
    ASSERT_TRUE(page);
    EXPECT_EQ(page->structureWebView()->HTMLString(),
              "<html><head></head><body style=\"font-family: HelveticaNeue-Light; \"></body></html>");
}

TEST_F(SessionNavigationTest, WithoutAStoredLinkTheVotingPageLoadsTheSessionsOwnAddress) {
    const std::string address = std::string(kNowhere) + "/v";
    storeSession("s1", "09:00", {{"votingUrl", Value(address)}});
    online(true);
    auto screen = openSession("s1");
    ASSERT_TRUE(screen);
    auto page = tapRow<ProgrammeDetailsVotingViewController>(*screen, "Voting");
    ASSERT_TRUE(page);
    EXPECT_EQ(page->votingUrl(), address);
    ASSERT_TRUE(page->webView()->request());
    EXPECT_EQ(page->webView()->request()->url()->absoluteString(), address);
    EXPECT_EQ(tracked("View session voting page"), 1u);
}

class SessionVotingLinkTest : public SessionNavigationTest {
protected:
    bool declaresVotingLinks() const override { return true; }
};

TEST_F(SessionVotingLinkTest, TheOverlayLastsFromAppearingUntilTheLoadFinishesOrFails) {
    // A stored link wins over the session's own address.
    storeSession("s1", "09:00", {{"votingUrl", Value(std::string(kNowhere) + "/own")}});
    storeSession("s2", "10:00", {});
    insert(token(), "CoreDataVotingUri",
           {{{"itemId", Value("s1")}, {"votingUrl", Value(service->urlFor("/vote"))}},
            {{"itemId", Value("s2")}, {"votingUrl", Value(std::string(kNowhere) + "/vote")}}},
           service->eventId());
    launchOnce();
    for (const char* id : {"s1", "s2"}) {
        ASSERT_TRUE(driver().openScene(ProgrammeDetailsVotingViewController::kStoryboardIdentifier,
                                       {AppStoryboards::kPhoneStoryboardName},
                                       std::make_pair(std::string("QVACoreDataSession"), std::string(id))) ==
                    uikit::ScreenDriver::OpenResult::Opened);
        auto page = std::dynamic_pointer_cast<ProgrammeDetailsVotingViewController>(driver().frontViewController());
        ASSERT_TRUE(page);
        ASSERT_TRUE(page->votingUrl());
        if (std::string(id) == "s1") {
            EXPECT_EQ(page->votingUrl(), service->urlFor("/vote"));
        }
        ASSERT_TRUE(page->webView()->isLoading()) << id;
        ASSERT_TRUE(page->loadingView() && page->loadingView()->superview()) << id;
        ASSERT_TRUE(foundation::RunLoop::main().runUntil([&] { return !page->webView()->isLoading(); }, kNavigationWait));
        settle();
        EXPECT_FALSE(page->loadingView()) << id;
        EXPECT_EQ(page->webView()->lastError() != nullptr, std::string(id) == "s2");
        EXPECT_TRUE(app().visibleAlerts().empty());
    }
}

TEST_F(SessionNavigationTest, TheSummaryListsEachInsightAtItsMeasuredHeightPlusNine) {
    auto insight = [](const char* text) { return QVASessionInsight::initWithDictionary(Value::dictionary({{"description", Value(text)}})); };
    const std::string longText(300, 'w');
    storeSession("s1", "09:00",
                 {{"insights", Value(RowWriting::archivedArray(std::vector{insight("Short"), insight(longText.c_str())}))}});
    storeSession("s2", "10:00", {});
    auto page = open<ProgrammeDetailsInsightViewController>(ProgrammeDetailsInsightViewController::kStoryboardIdentifier,
                                                            "QVACoreDataSession", "s1");
    ASSERT_TRUE(page);
    auto& table = *page->tableView();
    ASSERT_EQ(table.numberOfRowsInSection(0), 2);
    const auto font = uikit::UIFont::fontWithName("HelveticaNeue", 14);
    for (int64_t index = 0; index < 2; ++index) {
        const std::string text = index == 0 ? "Short" : longText;
        EXPECT_EQ(table.rectForRowAtIndexPath(NSIndexPath::indexPathForRow(index, 0)).size.height,
                  Utils::getMeasuredSizeOfLabelWithText(text, font, table.frame().size.width).height + 9);
    }
    EXPECT_EQ(tracked("View session insights"), 0u);

    auto empty = open<ProgrammeDetailsInsightViewController>(ProgrammeDetailsInsightViewController::kStoryboardIdentifier,
                                                             "QVACoreDataSession", "s2");
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->tableView()->numberOfRowsInSection(0), 0);
}

TEST_F(SessionNavigationTest, LeavingTheVideoUnloadsItAndReturningLoadsTheWebcastAgain) {
    storeSession("s1", "09:00", {{"webcastUrl", Value(std::string(kNowhere) + "/live")}});
    auto screen = openSession("s1");
    ASSERT_TRUE(screen);
    auto page = tapRow<ProgrammeDetailsVideoViewController>(*screen, "Live video");
    ASSERT_TRUE(page);
    auto webView = page->videoWebView();
    EXPECT_EQ(webView->request()->url()->absoluteString(), std::string(kNowhere) + "/live");
    EXPECT_TRUE(webView->scalesPageToFit());
    EXPECT_FALSE(webView->scrollView().isScrollEnabled());
    EXPECT_FALSE(webView->scrollView().bounces());

    page->navigationController()->pushViewController(std::make_shared<uikit::UIViewController>(), false);
    settle();
    EXPECT_EQ(webView->HTMLString(), "");
    EXPECT_FALSE(webView->request());
    page->navigationController()->popViewControllerAnimated(false);
    settle();
    ASSERT_TRUE(webView->request());
    EXPECT_EQ(webView->request()->url()->absoluteString(), std::string(kNowhere) + "/live");
}

TEST_F(SessionNavigationTest, TheEndOfFullScreenFlipsTheTabsOnceWithoutReloadingTheVideo) {
    storeSession("s1", "09:00", {{"webcastUrl", Value(std::string(kNowhere) + "/live")}});
    auto screen = openFromProgramme();
    ASSERT_TRUE(screen);
    auto page = tapRow<ProgrammeDetailsVideoViewController>(*screen, "Live video");
    ASSERT_TRUE(page);
    auto more = std::dynamic_pointer_cast<uikit::UINavigationController>(
        tabBar()->viewControllers().at(size_t(EventsTabBarController::moreTabIndex())));
    auto counter = std::make_shared<NavigationAppearanceCounter>();
    more->pushViewController(counter, false);
    auto loads = std::make_shared<NavigationLoadCounter>();
    page->videoWebView()->setDelegate(loads);
    app().setStatusBarOrientation(uikit::UIInterfaceOrientation::LandscapeLeft);

    auto& center = foundation::NotificationCenter::defaultCenter();
    center.postNotificationName(ProgrammeDetailsVideoViewController::kPlayerItemBecameCurrentNotification);
    center.postNotificationName(ProgrammeDetailsVideoViewController::kWindowDidBecomeHiddenNotification);
    settle();
    EXPECT_EQ(counter->appearances, 1);
    EXPECT_EQ(loads->loads, 0);
    EXPECT_FALSE(page->isInFullScreenMode());
    EXPECT_EQ(app().statusBarOrientation(), uikit::UIInterfaceOrientation::Portrait);
    EXPECT_EQ(driver().frontViewController(), page);
}

class PadSessionNavigationTest : public SessionNavigationTest {
protected:
    uikit::DeviceProfile deviceProfile() const override { return uikit::DeviceProfile::iPad(); }
    // In portrait the sessions are the first tab of the menu's popover.
    std::shared_ptr<Screen> openFromPortraitMenu() {
        launchOnce();
        EXPECT_TRUE(driver().tapItem("Menu"));
        settle();
        EXPECT_TRUE(driver().tapTab(0));
        settle();
        EXPECT_TRUE(driver().tapRow(0, 0));
        settle();
        return std::dynamic_pointer_cast<Screen>(driver().frontViewController());
    }
};

TEST_F(PadSessionNavigationTest, OnThePadTheEndOfFullScreenNeverFlipsTheTabs) {
    storeSession("s1", "09:00", {{"webcastUrl", Value(std::string(kNowhere) + "/live")}});
    auto page = open<ProgrammeDetailsVideoViewController>(ProgrammeDetailsVideoViewController::kStoryboardIdentifier,
                                                          "QVACoreDataSession", "s1");
    ASSERT_TRUE(page);
    const auto selected = tabBar()->selectedIndex();
    app().setStatusBarOrientation(uikit::UIInterfaceOrientation::LandscapeLeft);
    auto& center = foundation::NotificationCenter::defaultCenter();
    center.postNotificationName(ProgrammeDetailsVideoViewController::kPlayerItemBecameCurrentNotification);
    center.postNotificationName(ProgrammeDetailsVideoViewController::kWindowDidBecomeHiddenNotification);
    settle();
    EXPECT_EQ(tabBar()->selectedIndex(), selected);
    EXPECT_EQ(app().statusBarOrientation(), uikit::UIInterfaceOrientation::LandscapeLeft);
}

// The facts' rows are measured once, at the width the table is given: the
// page's own width wherever it is shown, and again after a rotation.
TEST_F(PadSessionNavigationTest, InPortraitAndAfterARotationTheAdditionalDetailsFillThePagesWidth) {
    storeSession("s1", "09:00", {{"keyword", Value("Artificial Intelligence")}});
    auto screen = openFromPortraitMenu();
    ASSERT_TRUE(screen);
    auto page = tapRow<ProgrammeDetailsExtraInfoViewController>(*screen, "Additional details");
    ASSERT_TRUE(page && page->keyValueTableView());
    for (auto orientation : {uikit::UIDeviceOrientation::Portrait, uikit::UIDeviceOrientation::LandscapeLeft}) {
        if (orientation != uikit::UIDeviceOrientation::Portrait) {
            ASSERT_TRUE(driver().rotate(orientation));
            settle();
        }
        const auto table = page->keyValueTableView();
        const double width = page->view()->bounds().size.width;
        ASSERT_GE(width, 700);
        EXPECT_EQ(table->availableWidth(), int64_t(width));
        std::shared_ptr<KeyValueNormalCell> keyword;
        for (int64_t row = 0; row < int64_t(table->rows().size()); ++row)
            if (table->rows()[size_t(row)]->keyText() == "keyword")
                keyword = std::dynamic_pointer_cast<KeyValueNormalCell>(
                    table->cellForRowAtIndexPath(NSIndexPath::indexPathForRow(row, 0)));
        ASSERT_TRUE(keyword);
        const auto value = keyword->valueLabel()->convertRectToView(keyword->valueLabel()->bounds(), nullptr);
        EXPECT_NEAR(value.origin.x + value.width(), page->view()->convertRectToView(page->view()->bounds(), nullptr).maxX(), 1);
    }
}

TEST_F(PadSessionNavigationTest, InPortraitTheFeedbackPagesHeaderSpansThePage) {
    storeSession("s1", "09:00", {{"feedbackUrl", Value("http://127.0.0.1:1/f")}});
    online(true);
    auto screen = openFromPortraitMenu();
    ASSERT_TRUE(screen);
    auto page = tapRow<ProgrammeDetailsFeedbackViewController>(*screen, "Feedback");
    ASSERT_TRUE(page && page->sessionHeaderView());
    const double width = page->view()->bounds().size.width;
    ASSERT_GE(width, 700);
    EXPECT_EQ(page->sessionHeaderView()->frame().size.width, width);
}

// The session header's picture is wider than the header's nib; at the pad's
// width it must not spill over the rows below it.
TEST_F(PadSessionNavigationTest, InPortraitTheDescriptionAndStatusRowsShowTheirTextsUnderTheHeader) {
    storeSession("s1", "09:00", {{"sessionDescription", Value("A long look at the opening of the meeting.")}});
    auto screen = openFromPortraitMenu();
    ASSERT_TRUE(screen);
    EXPECT_EQ(screen->selectionPropertyId(), "s1");
    const auto picture = uikit::renderScreen(*driver().window(), 1);
    for (int64_t section : {int64_t(screen->descriptionSectionIndex()), int64_t(screen->sessionStatusSectionIndex())}) {
        auto cell = screen->tableView()->cellForRowAtIndexPath(NSIndexPath::indexPathForRow(0, section));
        ASSERT_TRUE(cell) << section;
        const auto row = cell->convertRectToView(cell->bounds(), nullptr);
        ASSERT_GE(row.width(), 700) << section;
        const int middle = int(row.origin.y + row.height() / 2);
        const auto blank = picture.pixel(int(row.origin.x + row.width()) - 5, middle);
        EXPECT_EQ(blank, (graphics::Pixel{255, 255, 255, 255})) << section;
        int inked = 0;
        for (int y = int(row.origin.y); y < int(row.origin.y + row.height()); ++y)
            for (int x = int(row.origin.x); x < int(row.origin.x + row.width()); ++x)
                inked += picture.pixel(x, y).red < 128;
        EXPECT_GT(inked, 20) << section;
    }
}

TEST_F(SessionNavigationTest, ThePersonalEntryPageShowsTheBodyFromItsStartAndFollowsASave) {
    storeSession("e1", "09:00", {{"agendaItemId", Value("pe1")}, {"sessionDescription", Value("Bring the slides")}},
                 "QVACoreDataPersonalEntry");
    auto page = open<PersonalEntryDetailsViewController>(PersonalEntryDetailsViewController::kStoryboardIdentifier,
                                                         "QVACoreDataPersonalEntry", "pe1");
    ASSERT_TRUE(page);
    EXPECT_EQ(page->bodyTextView()->text(), "Bring the slides");
    ASSERT_TRUE(page->bodyTextView()->scrolledRange());
    EXPECT_EQ(page->bodyTextView()->scrolledRange()->location, 0u);

    auto entry = page->currentObject();
    entry->setValue(Value("Bring the slides and the poster"), "sessionDescription");
    ASSERT_EQ(entry->managedObjectContext()->save(), nullptr);
    ASSERT_TRUE(foundation::RunLoop::main().runUntil(
        [&] { return page->bodyTextView()->text() == "Bring the slides and the poster"; }, kNavigationWait));
}

}  // namespace
