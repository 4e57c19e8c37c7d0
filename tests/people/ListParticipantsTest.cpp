// The participants tab as the app shows it: the participant and contributor
// lists with their starred section, the section index, stepping for the
// details, the details opened from a row, the star, and the tab's container
// with its shortcuts.
#include <gtest/gtest.h>

#include <thread>

#include "ParticipantsTabTestSupport.h"
#include "PeopleScreensTestSupport.h"
#include "Utils/Utils.h"
#include "foundation/Exception.h"
#include "lists/DetailsScreenSupport.h"
#include "lists/FavoriteButton.h"
#include "lists/FilterModel.h"
#include "lists/IdIndexPair.h"
#include "lists/ScopeBarCheck.h"
#include "model/QVACoreDataFollowedParticipant.h"
#include "model/QVACoreDataParticipant.h"
#include "model/QVACoreDataPermission.h"
#include "network/Reachability.h"
#include "http/QNNetworkReachabilityManager.h"
#include "people/ContributorsListDelegate.h"
#include "people/ListParticipantsBaseViewController.h"
#include "people/OrganizationsListViewController.h"
#include "people/ParticipantCell.h"
#include "people/ParticipantDetailsViewController.h"
#include "people/ParticipantRowActions.h"
#include "people/ParticipantsListDelegate.h"
#include "uikit/UIBarButtonItem.h"
#include "uikit/UINavigationItem.h"
#include "people/ParticipantsListSegmentedNavigationController.h"
#include "uikit/UILabel.h"
#include "uikit/UISearchBar.h"
#include "uikit/UISearchDisplayController.h"
#include "uikit/UIStoryboard.h"

namespace {

using foundation::Value;
using Row = meetingtest::Row;
using uikit::NSIndexPath;

class ListParticipantsTest : public peopletest::PeopleScreensTest {
protected:
    // Booklet participants "<id>" with last name and section letter from the id.
    void insertParticipants(const std::vector<std::string>& ids, Row extra = {}) {
        std::vector<Row> rows;
        for (const auto& id : ids) {
            Row row{{"itemId", Value(id)}, {"fullName", Value("Name " + id)}, {"lastName", Value(id)},
                    {"sectionTitle", Value(std::string(1, static_cast<char>(std::toupper(id[0]))))},
                    {"inBooklet", Value(true)}};
            for (const auto& [key, value] : extra) row[key] = value;
            rows.push_back(std::move(row));
        }
        insert(kToken, QVACoreDataParticipant::kEntityName, rows);
    }
    void follow(const std::vector<std::string>& ids) {
        std::vector<Row> rows;
        for (const auto& id : ids) rows.push_back({{"itemId", Value(id)}});
        insert(kToken, QVACoreDataFollowedParticipant::kEntityName, rows);
    }
    void grant(std::vector<std::string> codes) {
        std::vector<Row> rows;
        for (const auto& code : codes) rows.push_back({{"code", Value(code)}, {"granted", Value(true)}});
        insert(kToken, QVACoreDataPermission::kEntityName, rows);
    }
    std::shared_ptr<ListParticipantsBaseViewController> makeList(std::shared_ptr<ListsDataSourceProtocol> delegate) {
        auto storyboard = uikit::UIStoryboard::storyboardWithName(Utils::storyboardName());
        auto list = std::dynamic_pointer_cast<ListParticipantsBaseViewController>(
            storyboard->instantiateViewControllerWithIdentifier(ListParticipantsBaseViewController::kStoryboardIdentifier));
        list->setListDelegate(std::move(delegate));
        return list;
    }
    std::shared_ptr<ListParticipantsBaseViewController> showList(
        std::shared_ptr<ListsDataSourceProtocol> delegate = std::make_shared<ParticipantsListDelegate>()) {
        auto list = makeList(std::move(delegate));
        show(list);
        return list;
    }
    static std::vector<std::string> sectionTitles(ListParticipantsBaseViewController& list, uikit::UITableView& table) {
        std::vector<std::string> titles;
        for (int64_t s = 0; s < list.numberOfSectionsInTableView(table); ++s)
            titles.push_back(list.tableViewGetTitleForHeaderInSection(table, s).value_or(""));
        return titles;
    }
    static std::vector<std::string> starredIds(ListParticipantsBaseViewController& list) {
        std::vector<std::string> ids;
        if (const auto& starred = list.favoritesFetchedResultsController())
            for (const auto& object : starred->fetchedObjects())
                ids.push_back(object.objectAs<QVACoreDataParticipant>()->itemId().value_or(""));
        return ids;
    }
    static std::optional<std::string> idAt(ListParticipantsBaseViewController& list, const NSIndexPath& path) {
        auto [controller, mapped] = list.controllerAndIndexPathForTableIndexPath(*list.tableView(), path);
        return controller ? list.listDelegate()->getObjectIdForIndexPath(mapped, *controller) : std::nullopt;
    }
    std::shared_ptr<DetailsScreenSupport> openedDetails() {
        settle();
        auto top = navigation->topViewController();
        return std::dynamic_pointer_cast<DetailsScreenSupport>(top);
    }
    bool waitForRequests(size_t count) {
        return foundation::RunLoop::main().runUntil([&] { return server.requestCount() >= count; }, apitest::kManagerWait);
    }
    // Two starred participants (a1, b2) over sections A (a1, a2) and B (b1, b2).
    std::shared_ptr<ListParticipantsBaseViewController> showTwoStarredOverAAndB() {
        grant({"relationships:read", "relationships:write"});
        insertParticipants({"a1", "a2", "b1", "b2"});
        follow({"a1", "b2"});
        return showList();
    }
};

TEST_F(ListParticipantsTest, TheStarredSectionComesFirstWithItsIndexEntryAndRowsOf80) {
    auto list = showTwoStarredOverAAndB();
    auto& table = *list->tableView();
    EXPECT_EQ(sectionTitles(*list, table), (std::vector<std::string>{"Starred participants", "A", "B"}));
    EXPECT_EQ(list->sectionIndexTitlesForTableView(table), (std::vector<std::string>{"*", "A", "B"}));
    EXPECT_EQ(list->tableViewNumberOfRowsInSection(table, 0), 2);
    EXPECT_EQ(starredIds(*list), (std::vector<std::string>{"a1", "b2"}));
    EXPECT_EQ(idAt(*list, NSIndexPath::indexPathForRow(1, 2)), "b2");
    EXPECT_EQ(list->tableViewHeightForRowAtIndexPath(table, NSIndexPath::indexPathForRow(0, 1)), 80.0);
}

TEST_F(ListParticipantsTest, SteppingRingsOverTheStarredSectionAndTheListAndRefusesAStalePath) {
    auto list = showTwoStarredOverAAndB();
    auto next = list->getNextIdIndexPathPairAndMoveSelectionInDirection(2, std::string("b2"), NSIndexPath::indexPathForRow(1, 2));
    ASSERT_TRUE(next);
    EXPECT_EQ(next->indexPath(), NSIndexPath::indexPathForRow(0, 0));
    EXPECT_EQ(next->objectId(), "a1");
    EXPECT_EQ(next->entityName(), std::string(QVACoreDataParticipant::kEntityName));
    auto previous = list->getNextIdIndexPathPairAndMoveSelectionInDirection(1, std::string("a1"), NSIndexPath::indexPathForRow(0, 0));
    ASSERT_TRUE(previous);
    EXPECT_EQ(previous->indexPath(), NSIndexPath::indexPathForRow(1, 2));
    EXPECT_EQ(previous->objectId(), "b2");
    // From the starred section's last row into the list's first section.
    next = list->getNextIdIndexPathPairAndMoveSelectionInDirection(2, std::string("b2"), NSIndexPath::indexPathForRow(1, 0));
    ASSERT_TRUE(next);
    EXPECT_EQ(next->indexPath(), NSIndexPath::indexPathForRow(0, 1));
    EXPECT_EQ(list->getNextIdIndexPathPairAndMoveSelectionInDirection(2, std::string("a2"), NSIndexPath::indexPathForRow(1, 2)),
              nullptr);
}

TEST_F(ListParticipantsTest, WithoutTheReadPermissionOrInSearchResultsThereIsNoStarredSection) {
    insertParticipants({"a1", "b1"});
    follow({"a1"});
    auto list = showList();
    auto& table = *list->tableView();
    EXPECT_EQ(sectionTitles(*list, table), (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(list->sectionIndexTitlesForTableView(table), (std::vector<std::string>{"A", "B"}));

    grant({"relationships:read"});
    settle();
    list->updateUiContentBecauseItsNeeded();
    EXPECT_EQ(sectionTitles(*list, table), (std::vector<std::string>{"Starred participants", "A", "B"}));
    const auto& search = list->searchDisplayController();
    search->setActive(true, false);
    search->searchBar()->setText("Name");
    list->searchDisplayControllerShouldReloadTableForSearchString(*search, std::string("Name"));
    auto results = search->searchResultsTableView();
    EXPECT_FALSE(list->hasFavoritesSectionForTable(*results));
    EXPECT_EQ(list->numberOfSectionsInTableView(*results), 1);
    EXPECT_EQ(list->tableViewNumberOfRowsInSection(*results, 0), 2);
}

TEST_F(ListParticipantsTest, ASearchBegunInAScrolledListBringsItsBarIntoView) {
    insertParticipants({"a1", "a2", "a3", "a4", "a5", "a6", "a7", "a8", "a9", "b1", "b2", "b3"});
    auto list = showList();
    auto table = list->tableView();
    table->setContentOffset({0, 400});
    const auto& search = list->searchDisplayController();
    ASSERT_TRUE(search->searchBar()->becomeFirstResponder());
    ASSERT_TRUE(search->isActive());
    const auto bar = search->searchBar()->convertRectToView(search->searchBar()->bounds(), table.get());
    EXPECT_GE(bar.origin.y, table->contentOffset().y + table->contentInset().top);
    EXPECT_LE(bar.origin.y + bar.size.height, table->contentOffset().y + table->bounds().size.height);
}

TEST_F(ListParticipantsTest, TheContributorsStarredSectionHoldsOnlyFollowedContributors) {
    grant({"relationships:read"});
    insertParticipants({"a1", "b1"});
    insertParticipants({"c1"}, {{"contributions", Value("s1|speaker")}, {"inBooklet", Value(false)}});
    follow({"a1", "c1"});
    auto list = showList(std::make_shared<ContributorsListDelegate>());
    EXPECT_EQ(sectionTitles(*list, *list->tableView()), (std::vector<std::string>{"Starred contributors", "C"}));
    EXPECT_EQ(starredIds(*list), std::vector<std::string>{"c1"});
}

TEST_F(ListParticipantsTest, ACountryFilterNarrowsTheStarredSectionToo) {
    grant({"relationships:read"});
    insertParticipants({"a1"}, {{"countryOfNationality", Value("Kenya")}});
    insertParticipants({"b1"}, {{"countryOfNationality", Value("Chile")}});
    follow({"a1", "b1"});
    auto list = showList();
    EXPECT_EQ(starredIds(*list), (std::vector<std::string>{"a1", "b1"}));
    auto delegate = std::dynamic_pointer_cast<ParticipantsListDelegate>(list->listDelegate());
    list->filterCollectionBy(delegate->filtersWithSelectedCountry("Kenya"));
    EXPECT_EQ(starredIds(*list), std::vector<std::string>{"a1"});
    EXPECT_EQ(sectionTitles(*list, *list->tableView()), (std::vector<std::string>{"Starred participants", "A"}));
}

TEST_F(ListParticipantsTest, AnEmptyListSaysNoResultsUntilRowsArrive) {
    auto list = showList();
    ASSERT_TRUE(list->noResultsLabel());
    EXPECT_EQ(list->noResultsLabel()->text(), std::optional<std::string>("No Results"));
    insertParticipants({"a1"});
    ASSERT_TRUE(foundation::RunLoop::main().runUntil([&] { return !list->noResultsLabel(); }, apitest::kManagerWait));
    EXPECT_EQ(list->tableViewNumberOfRowsInSection(*list->tableView(), 0), 1);
}

TEST_F(ListParticipantsTest, TheStoreSaveReloadRaisesOffTheMainThread) {
    auto list = showList();
    std::string reason;
    std::thread worker([&] {
        try {
            list->updateUiContentBecauseItsNeeded();
        } catch (const foundation::Exception& exception) {
            reason = exception.name();
        }
    });
    worker.join();
    EXPECT_EQ(reason, ListParticipantsBaseViewController::kOffMainThreadUpdateException);
}

TEST_F(ListParticipantsTest, DetailsOpenWithTheRowsParticipantAndSwipeUnlessTheListHasOneRow) {
    insertParticipants({"a1"});
    auto list = showList();
    ASSERT_TRUE(driver.tapRow(0, 0));
    auto details = openedDetails();
    ASSERT_TRUE(details);
    EXPECT_FALSE(details->isSwipeEnabled());
    navigation->popToRootViewControllerAnimated(false);
    settle();

    grant({"relationships:read"});
    insertParticipants({"b1", "b2"});
    follow({"b2"});
    ASSERT_TRUE(foundation::RunLoop::main().runUntil([&] { return list->numberOfSectionsInTableView(*list->tableView()) == 3; },
                                                     apitest::kManagerWait));
    ASSERT_TRUE(driver.tapRow(2, 1));
    details = openedDetails();
    ASSERT_TRUE(details);
    EXPECT_TRUE(details->isSwipeEnabled());
    EXPECT_EQ(details->selectionPropertyId(), "b2");
    EXPECT_EQ(details->entityName(), std::string(QVACoreDataParticipant::kEntityName));
    EXPECT_EQ(details->indexPathInParentController(), NSIndexPath::indexPathForRow(1, 2));
    EXPECT_EQ(std::dynamic_pointer_cast<ListParticipantsBaseViewController>(details->parentController()), list);
    navigation->popToRootViewControllerAnimated(false);
    settle();
    // A starred row opens its participant.
    ASSERT_TRUE(driver.tapRow(0, 0));
    details = openedDetails();
    ASSERT_TRUE(details);
    EXPECT_EQ(details->selectionPropertyId(), "b2");
    EXPECT_EQ(details->indexPathInParentController(), NSIndexPath::indexPathForRow(0, 0));
}

TEST_F(ListParticipantsTest, OfflineTheStarShowsTheAlertAndSendsNothing) {
    grant({"relationships:read", "relationships:write"});
    insertParticipants({"a1"});
    auto list = showList();
    network::Reachability::setSimulatedFlags(0);
    auto& reachability = QNNetworkReachabilityManager::sharedManager();
    ASSERT_TRUE(foundation::RunLoop::main().runUntil([&] { return !reachability.isReachable(); }, apitest::kManagerWait));
    auto cell = std::dynamic_pointer_cast<ParticipantCell>(list->tableView()->cellForRowAtIndexPath(NSIndexPath::indexPathForRow(0, 0)));
    ASSERT_TRUE(cell && cell->favoriteButton());
    cell->favoriteButton()->sendActionsForControlEvents(uikit::UIControlEventTouchUpInside);
    settle();
    ASSERT_EQ(alerts().size(), 1u);
    EXPECT_EQ(alerts()[0]->title(), std::optional<std::string>(ParticipantRowActions::kOfflineTitle));
    EXPECT_EQ(alerts()[0]->message(), std::optional<std::string>(ParticipantRowActions::kOfflineMessage));
    EXPECT_EQ(server.requestCount(), 0u);
}

TEST_F(ListParticipantsTest, FollowingKeepsTheRowUnderTheFingerAndARefusalChangesNothing) {
    grant({"relationships:read", "relationships:write"});
    insertParticipants({"a1", "a2", "a3", "b1", "b2", "b3", "b4", "b5", "b6", "b7"});
    follow({"a1"});
    auto list = showList();
    auto table = list->tableView();
    const auto b7 = NSIndexPath::indexPathForRow(6, 2);
    table->scrollToRowAtIndexPath(b7, uikit::UITableViewScrollPosition::Bottom, false);
    const double offset = table->contentOffset().y;
    ASSERT_GT(offset, 0);
    auto cell = std::dynamic_pointer_cast<ParticipantCell>(table->cellForRowAtIndexPath(b7));
    ASSERT_TRUE(cell && cell->favoriteButton());

    serve("POST", path("user/relationships"), json("{}", 403));
    cell->favoriteButton()->sendActionsForControlEvents(uikit::UIControlEventTouchUpInside);
    ASSERT_TRUE(waitForRequests(1));
    ASSERT_TRUE(foundation::RunLoop::main().runUntil([&] { return !alerts().empty(); }, apitest::kManagerWait));
    settle();
    EXPECT_EQ(table->contentOffset().y, offset);
    EXPECT_EQ(starredIds(*list), std::vector<std::string>{"a1"});
    dismissAlerts();

    serve("POST", path("user/relationships"), json(R"({"id":"b7","fullName":"Name b7"})", 201));
    cell = std::dynamic_pointer_cast<ParticipantCell>(table->cellForRowAtIndexPath(b7));
    ASSERT_TRUE(cell);
    cell->favoriteButton()->sendActionsForControlEvents(uikit::UIControlEventTouchUpInside);
    ASSERT_TRUE(waitForRequests(2));
    ASSERT_TRUE(foundation::RunLoop::main().runUntil([&] { return table->contentOffset().y != offset; },
                                                     apitest::kManagerWait));
    settle();
    EXPECT_EQ(starredIds(*list), (std::vector<std::string>{"a1", "b7"}));
    EXPECT_EQ(table->contentOffset().y, offset + ParticipantCell::kRowHeight);
}

TEST_F(ListParticipantsTest, TheCompensatingScrollStopsAtTheTopAndKeepsTheListLeftAligned) {
    insertParticipants({"a1", "a2", "a3", "a4", "a5", "a6", "a7", "a8", "a9"});
    auto list = showList();
    auto table = list->tableView();
    table->setContentOffset({5, 100});
    list->scrollTableViewWithYOffsetDifference(*table, 80);
    EXPECT_EQ(table->contentOffset(), graphics::Point(0, 180));
    list->scrollTableViewWithYOffsetDifference(*table, -500);
    EXPECT_EQ(table->contentOffset(), graphics::Point(0, 0));
}

// --- The container ---

class ParticipantsContainerTest : public ListParticipantsTest {
protected:
    std::shared_ptr<ParticipantsListSegmentedNavigationController> showContainer() {
        auto container = std::make_shared<ParticipantsListSegmentedNavigationController>(
            CustomNavigationController::FromInterfaceFile{});
        window = std::make_shared<uikit::UIWindow>();
        window->setRootViewController(container);
        window->makeKeyAndVisible();
        settle();
        return container;
    }
    static std::shared_ptr<ListParticipantsBaseViewController> first(ParticipantsListSegmentedNavigationController& c) {
        return std::dynamic_pointer_cast<ListParticipantsBaseViewController>(c.retainedControllers().at(0));
    }
};

TEST_F(ParticipantsContainerTest, ThreeSegmentsEachWithPullToRefresh) {
    auto container = showContainer();
    const auto& lists = container->retainedControllers();
    ASSERT_EQ(lists.size(), 3u);
    auto participants = std::dynamic_pointer_cast<ListParticipantsBaseViewController>(lists[0]);
    auto organisations = std::dynamic_pointer_cast<OrganizationsListViewController>(lists[1]);
    auto contributors = std::dynamic_pointer_cast<ListParticipantsBaseViewController>(lists[2]);
    ASSERT_TRUE(participants && organisations && contributors);
    EXPECT_TRUE(std::dynamic_pointer_cast<ParticipantsListDelegate>(participants->listDelegate()));
    EXPECT_TRUE(std::dynamic_pointer_cast<ContributorsListDelegate>(contributors->listDelegate()));
    for (const auto& list : lists)
        EXPECT_TRUE(std::dynamic_pointer_cast<LiteListBaseViewController>(list)->isPullToRefreshEnabled());
}

TEST_F(ParticipantsContainerTest, TheNotesShortcutShowsTheFirstSegmentFilteredWithItsSearchOff) {
    grant({"event:notes"});
    auto container = showContainer();
    container->showControllerAtIndex(2);
    settle();
    auto list = first(*container);
    (void)list->view();
    list->searchDisplayController()->setActive(true, false);
    container->filterParticipantsWithNotes();
    settle();
    EXPECT_EQ(container->topViewController(), list);
    EXPECT_FALSE(list->searchDisplayController()->isActive());
    EXPECT_EQ(ListBaseViewController::buildFilterCaptionTextForFilters(list->filtersArray()),
              std::string(ParticipantsListDelegate::kNotesPresetValue));
    EXPECT_TRUE(list->tableView()->tableHeaderView());
}

TEST_F(ParticipantsContainerTest, ANetworkOfOneCommunityAppliesThePlainSet) {
    insert(kToken, QVACoreDataParticipant::kEntityName,
           {{{"itemId", Value("n1")}, {"quovanaNetworks", Value("|1|N1|2|C1|3|")}}});
    auto container = showContainer();
    container->filterParticipantsByNetwork(std::string("N1"), std::string("C1"));
    auto list = first(*container);
    ASSERT_FALSE(list->filtersArray().empty());
    EXPECT_EQ(ListBaseViewController::buildFilterCaptionTextForFilters(list->filtersArray()), std::string());
}

// A search in the tab's list of a user with starred participants: the
// search bar, the table's header, grows by the scope bar, and the starred
// section's header moves down with the list instead of lying over it, so
// each scope takes a tap where it is drawn.
class ParticipantsTabSearchTest : public peopletest::ParticipantsTabTest {
protected:
    void searchTheStarredList() {
        grant({"relationships:read"});
        std::vector<Row> rows;
        for (const char* id : {"a1", "a2", "b1", "b2"})
            rows.push_back({{"itemId", Value(id)}, {"fullName", Value(std::string("Name ") + id)}, {"lastName", Value(id)},
                            {"sectionTitle", Value(std::string(1, static_cast<char>(std::toupper(id[0]))))},
                            {"inBooklet", Value(true)}});
        insert(kTabToken, QVACoreDataParticipant::kEntityName, rows);
        insert(kTabToken, QVACoreDataFollowedParticipant::kEntityName, {{{"itemId", Value("a1")}}, {{"itemId", Value("b2")}}});
        ASSERT_TRUE(openParticipantsTab());
        auto list = front<ListParticipantsBaseViewController>();
        ASSERT_TRUE(list);
        ASSERT_TRUE(list->hasFavoritesSectionForTable(*list->tableView()));
        ASSERT_TRUE(driver().search("Name"));
        settle();
        const auto& search = list->searchDisplayController();
        EXPECT_EQ(scopebarcheck::scopesMissedByATap(driver(), *search->searchBar()), std::vector<int64_t>{});
        EXPECT_EQ(search->searchResultsTableView()->numberOfRowsInSection(0), 4);
    }
};

TEST_F(ParticipantsTabSearchTest, TheStarredHeaderLeavesTheWholeScopeBarAboveTheResults) { searchTheStarredList(); }

class PadPortraitParticipantsTabSearchTest : public ParticipantsTabSearchTest {
protected:
    uikit::DeviceProfile deviceProfile() const override { return uikit::DeviceProfile::iPad(); }
};

TEST_F(PadPortraitParticipantsTabSearchTest, TheStarredHeaderLeavesTheWholeScopeBarAboveTheResults) {
    searchTheStarredList();
}

// A participant's page opened from the tab offers to write only to a
// person who can receive: one whose id may be listed in a message's "to".
class ParticipantPageFromTheTabTest : public peopletest::ParticipantsTabTest {};

TEST_F(ParticipantPageFromTheTabTest, APersonWhoseIdHoldsTheListsCommaIsOfferedNoCompose) {
    grant({"messages:send"});
    insert(kTabToken, QVACoreDataParticipant::kEntityName,
           {{{"itemId", Value("p1")}, {"fullName", Value("Ann Able")}, {"lastName", Value("Able")},
             {"sectionTitle", Value("A")}, {"inBooklet", Value(true)}},
            {{"itemId", Value("7100001,7100002")}, {"fullName", Value("Cara Comma")}, {"lastName", Value("Comma")},
             {"sectionTitle", Value("C")}, {"inBooklet", Value(true)}}});
    ASSERT_TRUE(openParticipantsTab());
    auto titles = [&] {
        std::vector<std::string> shown;
        if (auto page = front<ParticipantDetailsViewController>())
            for (const auto& item : page->navigationItem()->rightBarButtonItems())
                shown.push_back(item->displayTitle().value_or(""));
        return shown;
    };
    ASSERT_TRUE(driver().tapRow(1, 0));
    settle();
    auto page = front<ParticipantDetailsViewController>();
    ASSERT_TRUE(page);
    EXPECT_EQ(page->selectionPropertyId(), "7100001,7100002");
    ASSERT_EQ(titles(), std::vector<std::string>{"Share"});
    page->navigationController()->popViewControllerAnimated(false);
    settle();

    ASSERT_TRUE(driver().tapRow(0, 0));
    settle();
    EXPECT_EQ(titles(), (std::vector<std::string>{"Share", "Compose"}));
}

}  // namespace
