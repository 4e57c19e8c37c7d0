// A session's further pages over a store of the current meeting, opened in
// the launched application: the extra-info page's rows and the programme
// they filter (a pushed session list on the phone, the tab bar on the pad),
// the recommendations page's rows, icons, taps and analytics, the feedback
// page's overlay and teardown; and the stand-ins they lean on: the session
// list's delegates and the personal-entry form's date screen.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <memory>
#include <string>
#include <vector>

#include "Utils/DateHelper.h"
#include "analytics/AnalyticsUtils.h"
#include "app/DetailsScreenScenes.h"
#include "app/ShellTestSupport.h"
#include "lists/DetailsScreenSupport.h"
#include "lists/FilterModel.h"
#include "lists/IdIndexPair.h"
#include "lists/KeyValueTableView.h"
#include "lists/SwipeParentControllerProtocol.h"
#include "model/QVASession.h"
#include "programme/ChangePersonalEntryDateViewController.h"
#include "programme/ListSessionsBaseDelegate.h"
#include "programme/ListSessionsBaseViewController.h"
#include "programme/ProgrammeDetailsExtraInfoViewController.h"
#include "programme/ProgrammeDetailsFeedbackViewController.h"
#include "programme/ProgrammeDetailsViewController.h"
#include "programme/ProgrammeFeedbackView.h"
#include "programme/ProgrammeListDelegate.h"
#include "programme/QVASessionHeaderView.h"
#include "programme/SessionPagesScenes.h"
#include "programme/SessionRecommendationsViewController.h"
#include "programme/SessionsListSegmentedNavigationController.h"
#include "programme/SubactivityCell.h"
#include "foundation/RunLoop.h"
#include "uikit/UIAlertView.h"
#include "uikit/UIControl.h"
#include "uikit/ScreenDescription.h"
#include "uikit/UIImage.h"
#include "uikit/UIImageView.h"
#include "uikit/UILabel.h"
#include "uikit/UIStoryboard.h"
#include "uikit/UIStoryboardSegue.h"
#include "uikit/UINavigationController.h"
#include "uikit/UITableView.h"

namespace {

using foundation::Value;
using meetingtest::Row;

constexpr const char* kPagesToken = "pages-token";

std::string slot(const std::shared_ptr<uikit::UIImageView>& view) {
    if (!view || view->isHidden() || !view->currentImage()) return "";
    return view->currentImage()->name().value_or("?");
}

class SessionPagesTest : public shelltest::ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        AnalyticsUtils::initializeAnalytics();
        for (const char* name : {AppStoryboards::kPhoneStoryboardName, AppStoryboards::kPadStoryboardName}) {
            auto storyboard = uikit::UIStoryboard::storyboardWithName(name);
            if (!storyboard->hasScene("ProgrammeDetailsViewController")) DetailsScreenScenes::addScenes(*storyboard);
            if (!storyboard->hasScene(SessionRecommendationsViewController::kStoryboardIdentifier))
                SessionPagesScenes::addScenes(*storyboard);
        }
        DetailsScreenSupport::registerObjectHandOver();
        openCurrent(kPagesToken);
        insert(kPagesToken, "QVACoreDataVenue", {{{"itemId", Value("v1")}, {"name", Value("Congress Hall")}}});
        insert(kPagesToken, "QVACoreDataRoom",
               {{{"itemId", Value("r1")}, {"name", Value("Room A")}, {"venueId", Value("v1")}}});
        insert(kPagesToken, "QVACoreDataSession",
               {session("s1", "Opening", {{"type", Value("Workshop")},
                                          {"fee", Value(int64_t(0))},
                                          {"capacity", Value(int64_t(-1))},
                                          {"spouseAllowed", Value(true)},
                                          {"pressAllowed", Value(false)},
                                          {"withMeal", Value(false)},
                                          {"feedbackUrl", Value("http://127.0.0.1:1/form")}}),
                session("s2", "Lunch", {{"fee", Value(int64_t(25))},
                                        {"currencyIsoCode", Value("CHF")},
                                        {"capacity", Value(int64_t(0))},
                                        {"withMeal", Value(true)}}),
                session("rec1", "Water", {}), session("rec2", "Energy", {}), session("rec3", "Trade", {})});
        launch();
    }
    void TearDown() override {
        for (const auto& alert : app().visibleAlerts()) alert->dismissWithClickedButtonIndex(0, false);
        settle();
        ShellTest::TearDown();
    }

    static Row session(const char* id, const char* title, Row extra) {
        Row row{{"itemId", Value(id)},
                {"title", Value(title)},
                {"roomId", Value("r1")},
                {"startDatetime", Value("2026-06-16T09:00:00+02:00")},
                {"displayTime", Value("09:00 - 10:00")}};
        for (auto& [key, value] : extra) row[key] = value;
        return row;
    }

    template <class T>
    std::shared_ptr<T> openPage(const char* scene, const char* entity, const char* id) {
        EXPECT_TRUE(driver().openScene(scene, {AppStoryboards::kPhoneStoryboardName, AppStoryboards::kPadStoryboardName},
                                       std::make_pair(std::string(entity), std::string(id))) ==
                    uikit::ScreenDriver::OpenResult::Opened);
        settle();
        return std::dynamic_pointer_cast<T>(driver().frontViewController());
    }

    // The key-value rows as "key=value".
    static std::vector<std::string> rows(const KeyValueTableView& table) {
        std::vector<std::string> out;
        for (const auto& row : table.rows()) out.push_back(row->keyText().value_or("") + "=" + row->valueText().value_or(""));
        return out;
    }

    std::string dump() const {
        auto window = app().keyWindow();
        return window ? uikit::describe(*window) : std::string();
    }

    static std::vector<AnalyticsEvent> tracked(const std::string& name) {
        std::vector<AnalyticsEvent> out;
        for (const auto& event : AnalyticsUtils::queuedEvents())
            if (event.name == name) out.push_back(event);
        return out;
    }

    std::shared_ptr<SessionRecommendationsViewController> pushRecommendations(std::vector<const char*> ids) {
        auto page = std::dynamic_pointer_cast<SessionRecommendationsViewController>(
            uikit::UIStoryboard::storyboardWithName(AppStoryboards::kPhoneStoryboardName)
                ->instantiateViewControllerWithIdentifier(SessionRecommendationsViewController::kStoryboardIdentifier));
        page->setSelectionPropertyId(std::string("s1"));
        page->setEntityName(std::string("QVACoreDataSession"));
        page->setAnalyticsPayload(std::string("Opening"));
        SessionRecommendationsViewController::Sessions sessions;
        for (const char* id : ids)
            sessions.push_back(QVASession::initWithDictionary(Value::dictionary(
                {{"id", Value(id)},
                 {"title", Value(std::string("Recommended ") + id)},
                 {"roomId", Value("r1")},
                 {"startDatetime", Value("2026-06-17T11:00:00+02:00")},
                 {"endDatetime", Value("2026-06-17T12:00:00+02:00")}})));
        page->setExtraInfo(std::move(sessions));
        driver().frontViewController()->navigationController()->pushViewController(page, false);
        settle();
        return page;
    }
};

class PadSessionPagesTest : public SessionPagesTest {
protected:
    uikit::DeviceProfile deviceProfile() const override { return uikit::DeviceProfile::iPad(); }
};

// --- Extra info ---

TEST_F(SessionPagesTest, ExtraInfoShowsTheFactsWithTheirEmptyAndSpecialValues) {
    auto page = openPage<ProgrammeDetailsExtraInfoViewController>("ProgrammeDetailsExtraInfoViewController",
                                                                  "QVACoreDataSession", "s1");
    ASSERT_TRUE(page);
    auto table = page->keyValueTableView();
    ASSERT_TRUE(table);
    EXPECT_FALSE(table->isHidden());
    // No keyword: no such row; the three Boolean rows are always there.
    EXPECT_EQ(rows(*table), (std::vector<std::string>{"type=Workshop", "open to spouse=Yes", "open to press=No",
                                                      "meal=No", "cost=None", "capacity=N/A"}));
    EXPECT_TRUE(table->rows()[0]->isButton());
    EXPECT_FALSE(table->rows()[4]->isButton());
    ASSERT_TRUE(page->sessionHeaderView());
    EXPECT_EQ(page->sessionHeaderView()->sessionNameLabel()->text(), "Opening");
    EXPECT_EQ(page->sessionHeaderView()->sessionLocationLabel()->text(), "Room A, Congress Hall");
    EXPECT_EQ(page->sessionHeaderView()->sessionDateLabel()->text(), "Tuesday 16 June, 09:00 - 10:00");
    EXPECT_EQ(table->tableHeaderView(), page->sessionHeaderView());
    EXPECT_EQ(page->sessionHeaderView()->frame().size.height, QVASessionHeaderView::kHeaderHeight);

    auto other = openPage<ProgrammeDetailsExtraInfoViewController>("ProgrammeDetailsExtraInfoViewController",
                                                                   "QVACoreDataSession", "s2");
    ASSERT_TRUE(other);
    EXPECT_EQ(rows(*other->keyValueTableView()),
              (std::vector<std::string>{"open to spouse=No", "open to press=No", "meal=Yes", "cost=25 CHF", "capacity=0"}));
}

TEST_F(SessionPagesTest, ExtraInfoForAnObjectThatIsNoSessionHidesTheTableAndLeavesTheHeaderUnset) {
    auto page = openPage<ProgrammeDetailsExtraInfoViewController>("ProgrammeDetailsExtraInfoViewController",
                                                                  "QVACoreDataRoom", "r1");
    ASSERT_TRUE(page);
    EXPECT_TRUE(page->keyValueTableView()->isHidden());
    EXPECT_EQ(page->sessionHeaderView(), nullptr);
    EXPECT_TRUE(page->keyValueTableView()->rows().empty());
}

TEST_F(SessionPagesTest, AnObjectTheStoreDoesNotHoldOpensNoPage) {
    auto before = driver().frontViewController();
    EXPECT_EQ(driver().openScene("ProgrammeDetailsExtraInfoViewController",
                                 {AppStoryboards::kPhoneStoryboardName, AppStoryboards::kPadStoryboardName},
                                 std::make_pair(std::string("QVACoreDataSession"), std::string("s404"))),
              uikit::ScreenDriver::OpenResult::NoSuchObject);
    settle();
    EXPECT_EQ(driver().frontViewController(), before);
}

TEST_F(SessionPagesTest, OnThePhoneTheTypeButtonPushesTheProgrammeFilteredByTheType) {
    auto page = openPage<ProgrammeDetailsExtraInfoViewController>("ProgrammeDetailsExtraInfoViewController",
                                                                  "QVACoreDataSession", "s1");
    ASSERT_TRUE(page);
    ASSERT_TRUE(driver().tapButton("Workshop"));
    settle();
    auto list = std::dynamic_pointer_cast<ListSessionsBaseViewController>(driver().frontViewController());
    ASSERT_TRUE(list);
    EXPECT_EQ(list->navigationController(), page->navigationController());
    EXPECT_TRUE(std::dynamic_pointer_cast<ProgrammeListDelegate>(list->listDelegate()));
    EXPECT_FALSE(list->isPullToRefreshEnabled());
    EXPECT_TRUE(list->isFilteredInitially());
    std::vector<std::string> names;
    for (const auto& filter : list->filtersArray()) names.push_back(filter->className());
    EXPECT_EQ(names, (std::vector<std::string>{"DateFilterModel", "TimeFilterModel", "SessionTypeFilterModel",
                                               "LocationFilterModel", "PressAllowedFilterModel",
                                               "SpouseAllowedFilterModel", "WithMealFilterModel"}));
    EXPECT_EQ(list->filtersArray()[2]->selectedValue().stringValue(), "Workshop");
    EXPECT_EQ(list->buildFilterCaptionTextForFilters(list->filtersArray()), "Workshop");
    EXPECT_NE(dump().find("Workshop"), std::string::npos);
    // Its delegate's data were read for its store.
    auto delegate = std::dynamic_pointer_cast<ProgrammeListDelegate>(list->listDelegate());
    EXPECT_GE(delegate->refreshCount(), 1);
    EXPECT_EQ(delegate->sessionsOfficialIdsArray().size(), 5u);
}

TEST_F(SessionPagesTest, TheBooleanButtonsPresetTheirFilterWithTheFactsWording) {
    auto page = openPage<ProgrammeDetailsExtraInfoViewController>("ProgrammeDetailsExtraInfoViewController",
                                                                  "QVACoreDataSession", "s2");
    ASSERT_TRUE(page);
    ASSERT_TRUE(driver().tapButton("Yes"));  // the meal row
    settle();
    auto list = std::dynamic_pointer_cast<ListSessionsBaseViewController>(driver().frontViewController());
    ASSERT_TRUE(list);
    EXPECT_EQ(list->filtersArray()[6]->selectedValue().stringValue(), "Meal included");
    EXPECT_EQ(list->buildFilterCaptionTextForFilters(list->filtersArray()), "Meal included");
}

TEST_F(PadSessionPagesTest, OnThePadTheButtonsAskTheTabBarAndNothingOnceThePageHasGone) {
    auto sessions = std::dynamic_pointer_cast<SessionsListSegmentedNavigationController>(tabBar()->viewControllers().at(0));
    ASSERT_TRUE(sessions);
    auto page = openPage<ProgrammeDetailsExtraInfoViewController>("ProgrammeDetailsExtraInfoViewController",
                                                                  "QVACoreDataSession", "s1");
    ASSERT_TRUE(page);
    ASSERT_TRUE(driver().tapButton("Workshop"));
    settle();
    auto list = std::dynamic_pointer_cast<ListSessionsBaseViewController>(sessions->topViewController());
    ASSERT_TRUE(list);
    EXPECT_EQ(list->buildFilterCaptionTextForFilters(list->filtersArray()), "Workshop");

    // A block kept after its page has gone does nothing.
    auto block = page->keyValueTableView()->rows()[1]->buttonBlock();
    list->filterCollectionBy({});
    page->navigationController()->popViewControllerAnimated(false);
    settle();
    page.reset();
    uikit::UIControl button;
    block(button);
    EXPECT_TRUE(list->filtersArray().empty());
}

// --- Recommendations ---

TEST_F(SessionPagesTest, RecommendationsListTheSessionsUnderTheHeaderAndTrackTheView) {
    auto page = pushRecommendations({"rec1", "rec2", "rec3"});
    ASSERT_TRUE(page->isViewLoaded());
    EXPECT_EQ(page->title(), "Recommended");
    auto table = page->tableView();
    ASSERT_EQ(table->numberOfRowsInSection(0), 3);
    EXPECT_EQ(page->tableViewGetTitleForHeaderInSection(*table, 0), "You may also be interested in");
    EXPECT_EQ(page->tableViewGetTitleForHeaderInSection(*table, 1), std::nullopt);
    ASSERT_TRUE(page->sessionHeaderView());
    EXPECT_EQ(page->sessionHeaderView()->sessionNameLabel()->text(), "Opening");
    auto cell = std::dynamic_pointer_cast<SubactivityCell>(table->cellForRowAtIndexPath({0, 1}));
    ASSERT_TRUE(cell);
    EXPECT_EQ(cell->subactivityTitle()->text(), "Recommended rec2");
    EXPECT_EQ(cell->subactivityLocation()->text(), "Room A, Congress Hall");
    EXPECT_EQ(slot(cell->sessionImage()), "");
    EXPECT_GT(*page->tableViewHeightForRowAtIndexPath(*table, {0, 1}), 0);

    auto events = tracked("View session recommendations");
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].properties.at("Session name"), "Opening");
    EXPECT_EQ(events[0].properties.at("Session id"), "s1");
}

TEST_F(SessionPagesTest, AnEmptyRecommendationListShowsTheHeaderAndTheSectionWithoutRows) {
    auto page = pushRecommendations({});
    EXPECT_EQ(page->tableView()->numberOfRowsInSection(0), 0);
    EXPECT_TRUE(page->sessionHeaderView());
    EXPECT_NE(dump().find("You may also be interested in"), std::string::npos);
}

TEST_F(SessionPagesTest, AnAgendaSaveUpdatesTheRowsIcons) {
    auto page = pushRecommendations({"rec1", "rec2"});
    insert(kPagesToken, "QVACoreDataAgendaSelection",
           {{{"itemId", Value("rec2")}, {"title", Value("Energy")}, {"startDatetime", Value("2026-06-17T11:00:00+02:00")}}});
    foundation::RunLoop::main().runUntil([&] { return page->sessionsDelegate()->agendaIDsArray().size() == 1; }, 10);
    settle();
    auto cell = std::dynamic_pointer_cast<SubactivityCell>(page->tableView()->cellForRowAtIndexPath({0, 1}));
    ASSERT_TRUE(cell);
    EXPECT_EQ(slot(cell->sessionImage()), SubactivityCell::kInAgendaImage);
}

TEST_F(SessionPagesTest, ATapOpensTheSessionDetailsSwipingOnlyThroughSeveral) {
    auto page = pushRecommendations({"rec1", "rec2", "rec3"});
    ASSERT_TRUE(driver().tapRow(0, 2));
    settle();
    auto details = std::dynamic_pointer_cast<ProgrammeDetailsViewController>(driver().frontViewController());
    ASSERT_TRUE(details);
    EXPECT_EQ(details->selectionPropertyId(), "rec3");
    EXPECT_EQ(details->entityName(), "QVACoreDataSession");
    EXPECT_TRUE(details->isSwipeEnabled());
    EXPECT_EQ(details->indexPathInParentController().row, 2);
    EXPECT_EQ(std::dynamic_pointer_cast<SessionRecommendationsViewController>(details->parentController()), page);
    EXPECT_FALSE(page->tableView()->indexPathForSelectedRow());
    // The details' swipes step through the recommendations, wrapping at the ends.
    auto next = details->parentController()->getNextIdIndexPathPairAndMoveSelectionInDirection(
        SwipeParentControllerProtocol::kNextRowDirection, std::string("rec3"), details->indexPathInParentController());
    ASSERT_TRUE(next);
    EXPECT_EQ(next->objectId(), "rec1");
    auto previous = details->parentController()->getNextIdIndexPathPairAndMoveSelectionInDirection(
        0, std::string("rec1"), next->indexPath());
    ASSERT_TRUE(previous);
    EXPECT_EQ(previous->objectId(), "rec3");

    page->navigationController()->popToViewController(page, false);
    settle();
    auto single = pushRecommendations({"rec1"});
    ASSERT_TRUE(driver().tapRow(0, 0));
    settle();
    details = std::dynamic_pointer_cast<ProgrammeDetailsViewController>(driver().frontViewController());
    ASSERT_TRUE(details);
    EXPECT_FALSE(details->isSwipeEnabled());
}

// --- Feedback ---

TEST_F(SessionPagesTest, FeedbackOverlayEndsWithTheFirstLoadWhateverItsOutcomeAndWithoutAlert) {
    auto page = std::dynamic_pointer_cast<ProgrammeDetailsFeedbackViewController>(
        uikit::UIStoryboard::storyboardWithName(AppStoryboards::kPhoneStoryboardName)
            ->instantiateViewControllerWithIdentifier(ProgrammeDetailsFeedbackViewController::kStoryboardIdentifier));
    ASSERT_TRUE(page);
    page->setSelectionPropertyId(std::string("s1"));
    page->setEntityName(std::string("QVACoreDataSession"));
    page->setAnalyticsPayload(std::string("Opening"));
    driver().frontViewController()->navigationController()->pushViewController(page, false);
    // From the first appearance, before the load (refused: nothing listens) ends.
    ASSERT_TRUE(page->loadingView());
    EXPECT_TRUE(page->loadingView()->superview());
    EXPECT_EQ(page->webView()->request()->url()->absoluteString(), "http://127.0.0.1:1/form");
    foundation::RunLoop::main().runUntil([&] { return !page->webView()->isLoading(); }, 10);
    settle();
    EXPECT_FALSE(page->loadingView());
    EXPECT_TRUE(app().visibleAlerts().empty());
    EXPECT_EQ(page->sessionHeaderView()->sessionNameLabel()->text(), "Opening");
    EXPECT_EQ(page->sessionHeaderView()->superview(), page->headerContainerView());
    EXPECT_TRUE(page->feedbackView());
    EXPECT_FALSE(page->feedbackView()->superview());

    // A further update loads again without the overlay and tracks again.
    page->updateUIContentForObject(page->currentObject());
    EXPECT_FALSE(page->loadingView());
    auto events = tracked("View session feedback");
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[1].properties.at("Session name"), "Opening");
    EXPECT_EQ(events[1].properties.at("Session id"), "s1");
}

TEST_F(SessionPagesTest, AMalformedFeedbackAddressEndsTheOverlayAndLeavesThePageEmpty) {
    insert(kPagesToken, "QVACoreDataSession", {session("s8", "Broken", {{"feedbackUrl", Value("http://[no host")}})});
    // A malformed address, then none at all.
    for (const char* id : {"s8", "s2"}) {
        auto page = std::make_shared<ProgrammeDetailsFeedbackViewController>();
        page->setSelectionPropertyId(std::string(id));
        page->setEntityName(std::string("QVACoreDataSession"));
        auto navigation = driver().frontViewController()->navigationController();
        navigation->pushViewController(page, false);
        ASSERT_TRUE(page->loadingView());
        foundation::RunLoop::main().runUntil([&] { return !page->webView()->isLoading(); }, 10);
        settle();
        EXPECT_FALSE(page->loadingView());
        EXPECT_TRUE(app().visibleAlerts().empty());
        ASSERT_TRUE(page->webView()->request());
        EXPECT_FALSE(page->webView()->request()->url());
        navigation->popViewControllerAnimated(false);
        settle();
    }
}

TEST_F(SessionPagesTest, LeavingWhileTheFormLoadsStopsTheLoadAndRemovesTheOverlay) {
    // A loopback listener that never answers keeps the load going.
    int listener = ::socket(AF_INET, SOCK_STREAM, 0);
    ASSERT_GE(listener, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(::listen(listener, 4), 0);
    socklen_t length = sizeof address;
    ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
    const std::string url = "http://127.0.0.1:" + std::to_string(ntohs(address.sin_port)) + "/form";
    insert(kPagesToken, "QVACoreDataSession", {session("s9", "Slow", {{"feedbackUrl", Value(url)}})});

    auto page = std::make_shared<ProgrammeDetailsFeedbackViewController>();
    page->setSelectionPropertyId(std::string("s9"));
    page->setEntityName(std::string("QVACoreDataSession"));
    auto navigation = driver().frontViewController()->navigationController();
    navigation->pushViewController(page, false);
    auto webView = page->webView();
    ASSERT_TRUE(webView->isLoading());
    std::weak_ptr<uikit::UIView> overlay = page->loadingView();
    ASSERT_TRUE(overlay.lock());
    navigation->popViewControllerAnimated(false);
    page.reset();
    settle();
    EXPECT_FALSE(webView->isLoading());
    EXPECT_FALSE(webView->delegate());
    auto still = overlay.lock();
    EXPECT_TRUE(!still || !still->superview());
    ::close(listener);
}

// --- The stand-ins ---

TEST_F(SessionPagesTest, TheSessionListDelegateReloadsItsListsAndFillsSessionRows) {
    insert(kPagesToken, "QVACoreDataSessionNote",
           {{{"itemId", Value("n1")}, {"sessionId", Value("rec1")}, {"note", Value("bring slides")}},
            {{"itemId", Value("n2")}, {"sessionId", Value("rec2")}, {"note", Value("")}}});
    insert(kPagesToken, "QVACoreDataPersonalEntry", {{{"itemId", Value("pe1")}, {"title", Value("Coffee")}}});
    ListSessionsBaseDelegate delegate;
    auto list = std::make_shared<ListSessionsBaseViewController>();
    delegate.refreshAdditionalDataSourceForCoreDataStack(list->coreDataStack(), *list);
    EXPECT_EQ(delegate.roomsModelArray().size(), 1u);
    EXPECT_EQ(delegate.venuesModelArray().size(), 1u);
    EXPECT_EQ(delegate.agendaIDsArray(), std::vector<std::string>{"pe1"});
    EXPECT_EQ(delegate.personalNoteIdsArray(), std::vector<std::string>{"rec1"});
    EXPECT_EQ(delegate.sessionsOfficialIdsArray().size(), 5u);
    EXPECT_EQ(delegate.cellIdentifier(), SubactivityCell::cellIdentifier());

    auto cell = SubactivityCell::loadFromNib();
    auto noted = QVASession::initWithDictionary(Value::dictionary({{"id", Value("rec1")}, {"title", Value("Water")}}));
    delegate.modelObject(*noted, *cell, false, *list);
    EXPECT_EQ(cell->subactivityTitle()->text(), "Water");
    EXPECT_EQ(slot(cell->sessionImage()) + slot(cell->personalNotesImage()), SubactivityCell::kNoteImage);
    auto unofficial = QVASession::initWithDictionary(Value::dictionary({{"id", Value("x")}, {"title", Value("Side")}}));
    delegate.modelObject(*unofficial, *cell, false, *list);
    EXPECT_EQ(slot(cell->sessionImage()) + slot(cell->personalNotesImage()), SubactivityCell::kParallelSessionImage);

    // Without a store every list is empty.
    delegate.refreshAdditionalDataSourceForCoreDataStack(nullptr, *list);
    EXPECT_TRUE(delegate.roomsModelArray().empty());
    EXPECT_TRUE(delegate.sessionsOfficialIdsArray().empty());
}

TEST_F(SessionPagesTest, TheProgrammeFilterSetGrowsWithTheNotesAndRelationshipsPermissions) {
    ProgrammeListDelegate delegate;
    EXPECT_EQ(delegate.filtersCollection()->size(), 7u);
    insert(kPagesToken, "QVACoreDataPermission",
           {{{"code", Value("event:notes")}, {"granted", Value(true)}},
            {{"code", Value("relationships:read")}, {"granted", Value(true)}}});
    auto filters = delegate.getFiltersWithSelectedValue("Not open to press", "PressAllowedFilterModel");
    ASSERT_EQ(filters.size(), 9u);
    EXPECT_EQ(filters[7]->className(), "SessionNotesFilterModel");
    EXPECT_EQ(filters[8]->className(), "FavContribFilterModel");
    EXPECT_EQ(filters[4]->selectedValue().stringValue(), "Not open to press");
    EXPECT_EQ(filters[5]->selectedValue().stringValue(), filters[5]->defaultValue());
}

TEST_F(SessionPagesTest, TheDateScreenRefusesAStartAfterTheEndAndUnwindsOtherwise) {
    const auto at = [](const char* text) { return *DateHelper::dateFromServer(Value(text), true); };
    using Screen = ChangePersonalEntryDateViewController;
    EXPECT_TRUE(Screen::startIsAfterEnd(at("2026-06-16T10:01:00+00:00"), at("2026-06-16T10:00:00+00:00")));
    EXPECT_FALSE(Screen::startIsAfterEnd(at("2026-06-16T10:00:00+00:00"), at("2026-06-16T10:00:00+00:00")));
    // Only the time of day counts.
    EXPECT_FALSE(Screen::startIsAfterEnd(at("2026-06-17T09:00:00+00:00"), at("2026-06-16T10:00:00+00:00")));

    auto host = driver().frontViewController();
    int done = 0, cancelled = 0;
    host->addUnwindAction(Screen::kDoneUnwindAction, [&](uikit::UIStoryboardSegue&) { ++done; });
    host->addUnwindAction(Screen::kCancelUnwindAction, [&](uikit::UIStoryboardSegue&) { ++cancelled; });
    auto push = [&] {
        auto screen = std::dynamic_pointer_cast<Screen>(uikit::UIStoryboard::storyboardWithName(
            AppStoryboards::kPhoneStoryboardName)->instantiateViewControllerWithIdentifier(Screen::kStoryboardIdentifier));
        screen->setSelectedDate(at("2026-06-16T00:00:00+00:00"));
        screen->setStartTime(at("2026-06-16T11:00:00+00:00"));
        screen->setEndTime(at("2026-06-16T10:00:00+00:00"));
        host->navigationController()->pushViewController(screen, false);
        settle();
        return screen;
    };
    auto screen = push();
    // Shown in the meeting's zone (+02:00).
    EXPECT_NE(dump().find("13:00"), std::string::npos);
    ASSERT_TRUE(driver().tapItem("Done"));
    settle();
    ASSERT_EQ(app().visibleAlerts().size(), 1u);
    EXPECT_EQ(app().visibleAlerts()[0]->title(), "Error");
    EXPECT_EQ(app().visibleAlerts()[0]->message(), "Start time must be before end time!");
    EXPECT_EQ(done, 0);
    ASSERT_TRUE(driver().answerAlert("OK"));
    settle();

    screen->setEndTime(at("2026-06-16T11:00:00+00:00"));
    ASSERT_TRUE(driver().tapItem("Done"));
    settle();
    EXPECT_EQ(done, 1);
    EXPECT_EQ(driver().frontViewController(), host);

    // A person's way: the end time's row, then the picker.
    screen = push();
    ASSERT_TRUE(driver().tapRow(0, Screen::kEndTimeRow));
    ASSERT_TRUE(driver().pickDate(at("2026-06-16T12:30:00+00:00")));
    ASSERT_TRUE(driver().tapItem("Done"));
    settle();
    EXPECT_EQ(done, 2);
    EXPECT_EQ(DateHelper::programmeTimeForDate(*screen->endTime()), "14:30");
    EXPECT_EQ(screen->startTime(), at("2026-06-16T11:00:00+00:00"));

    push();
    ASSERT_TRUE(driver().tapItem("Cancel"));
    settle();
    EXPECT_EQ(cancelled, 1);
    EXPECT_EQ(driver().frontViewController(), host);
}

}  // namespace
