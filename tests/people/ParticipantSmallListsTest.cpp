// The two small participant lists: the recommendations page and an
// organisation's participants. Who they list, the details they open, the
// stepping between rows, and the star.
#include <gtest/gtest.h>

#include "PeopleScreensTestSupport.h"
#include "app/BaseViewController.h"
#include "foundation/Log.h"
#include "foundation/StringUtils.h"
#include "lists/FavoriteButton.h"
#include "lists/IdIndexPair.h"
#include "model/QVACoreDataFollowedParticipant.h"
#include "model/QVACoreDataParticipant.h"
#include "model/QVACoreDataPermission.h"
#include "model/QVAParticipant.h"
#include "people/EmbeddedParticipantsListViewController.h"
#include "people/ParticipantCell.h"
#include "lists/FavoriteButton.h"
#include "uikit/UIImageView.h"
#include "uikit/UILabel.h"
#include "people/ParticipantDetailsViewController.h"
#include "people/ParticipantRecommendationsViewController.h"
#include "people/ParticipantRowActions.h"
#include "people/ParticipantsListDelegate.h"
#include "service/TestServer.h"
#include "uikit/ScreenDescription.h"

namespace {

using foundation::Value;
using foundation::StringUtils::contains;
using Row = meetingtest::Row;

// An organisation's list split by section letter, so that stepping crosses sections.
class SectionedParticipantsList : public EmbeddedParticipantsListViewController {
public:
    std::optional<std::string> sectionNameKeyPath() override { return std::string("sectionTitle"); }
};

class ParticipantSmallListsTest : public peopletest::PeopleScreensTest {
protected:
    void insertParticipants(const std::vector<std::pair<const char*, const char*>>& idsAndSections) {
        std::vector<Row> rows;
        for (const auto& [id, section] : idsAndSections)
            rows.push_back({{"itemId", Value(id)}, {"fullName", Value(std::string("Name ") + id)},
                            {"lastName", Value(id)}, {"sectionTitle", Value(section)}, {"inBooklet", Value(false)},
                            {"organizationId", Value("o1")}});
        insert(kToken, QVACoreDataParticipant::kEntityName, rows);
    }
    template <class List = EmbeddedParticipantsListViewController>
    std::shared_ptr<List> showOrganizationList() {
        auto list = std::make_shared<List>();
        list->setListDelegate(std::make_shared<ParticipantsListDelegate>());
        list->setSelectionPropertyId(std::string("o1"));
        show(list);
        return list;
    }
    std::shared_ptr<ParticipantRecommendationsViewController> showRecommendations(std::vector<std::string> ids) {
        auto page = BaseViewController::instantiateViewController<ParticipantRecommendationsViewController>();
        std::vector<std::shared_ptr<QVAParticipant>> participants;
        for (const auto& id : ids)
            participants.push_back(QVAParticipant::initWithDictionary(
                Value::dictionary({{"id", id}, {"firstName", "Ann"}, {"lastName", id}, {"fullName", "Ann " + id}})));
        page->setExtraInfo(participants);
        page->setSelectionPropertyId(std::string("p0"));
        show(page);
        return page;
    }
    static std::shared_ptr<ParticipantCell> cellAt(uikit::UITableView& table, int64_t section, int64_t row) {
        return std::dynamic_pointer_cast<ParticipantCell>(
            table.cellForRowAtIndexPath(uikit::NSIndexPath::indexPathForRow(row, section)));
    }
    void grantFollowing() {
        insert(kToken, QVACoreDataPermission::kEntityName,
               {{{"code", Value("relationships:write")}, {"granted", Value(true)}},
                {{"code", Value("relationships:read")}, {"granted", Value(true)}}});
    }
    bool waitForRequests(size_t count) {
        return foundation::RunLoop::main().runUntil([&] { return server.requestCount() >= count; }, apitest::kManagerWait);
    }
};

TEST_F(ParticipantSmallListsTest, AnOrganisationListsItsParticipantsOutsideTheBookletAndOpensThem) {
    insertParticipants({{"p1", "A"}, {"p2", "A"}});
    insert(kToken, QVACoreDataParticipant::kEntityName, {{{"itemId", Value("other")}, {"organizationId", Value("o2")}}});
    auto list = showOrganizationList();
    EXPECT_EQ(list->fetchedResultsController()->fetchedObjects().size(), 2u);
    EXPECT_EQ(list->tableViewGetTitleForHeaderInSection(*list->tableView(), 0),
              std::optional<std::string>("Participants on site"));
    ASSERT_TRUE(driver.tapRow(0, 1));
    settle();
    auto details = top<ParticipantDetailsViewController>();
    ASSERT_TRUE(details);
    EXPECT_EQ(details->selectionPropertyId(), std::optional<std::string>("p2"));
    EXPECT_EQ(details->entityName(), std::optional<std::string>(QVACoreDataParticipant::kEntityName));
    EXPECT_EQ(details->indexPathInParentController(), uikit::NSIndexPath::indexPathForRow(1, 0));
    EXPECT_TRUE(details->isSwipeEnabled());
    EXPECT_EQ(details->parentController(), std::dynamic_pointer_cast<SwipeParentControllerProtocol>(list));
}

TEST_F(ParticipantSmallListsTest, ARecommendationsPageOfOneRowOpensTheDetailsWithSwipingOff) {
    auto page = showRecommendations({"p1"});
    EXPECT_EQ(page->tableViewGetTitleForHeaderInSection(*page->tableView(), 0),
              std::optional<std::string>("You may also be interested in"));
    auto row = cellAt(*page->tableView(), 0, 0);
    ASSERT_TRUE(row);
    EXPECT_EQ(row->participantTitle()->text(), std::optional<std::string>("Ann p1"));
    EXPECT_TRUE(row->noteImageView()->isHidden());
    EXPECT_FALSE(row->favoriteButton()->isFavorite());
    ASSERT_TRUE(driver.tapRow(0, 0));
    settle();
    auto details = top<ParticipantDetailsViewController>();
    ASSERT_TRUE(details);
    EXPECT_EQ(details->selectionPropertyId(), std::optional<std::string>("p1"));
    EXPECT_FALSE(details->isSwipeEnabled());
}

TEST_F(ParticipantSmallListsTest, SteppingThroughAnOrganisationsSectionsWrapsAtBothEnds) {
    insertParticipants({{"p1", "A"}, {"p2", "B"}, {"p3", "B"}});
    auto list = showOrganizationList<SectionedParticipantsList>();
    ASSERT_EQ(list->numberOfSectionsInTableView(*list->tableView()), 2);
    auto next = list->getNextIdIndexPathPairAndMoveSelectionInDirection(2, std::string("p3"),
                                                                         uikit::NSIndexPath::indexPathForRow(1, 1));
    ASSERT_TRUE(next);
    EXPECT_EQ(next->indexPath(), uikit::NSIndexPath::indexPathForRow(0, 0));
    EXPECT_EQ(next->objectId(), std::optional<std::string>("p1"));
    EXPECT_EQ(next->entityName(), std::optional<std::string>(QVACoreDataParticipant::kEntityName));
    auto previous = list->getNextIdIndexPathPairAndMoveSelectionInDirection(1, std::string("p1"),
                                                                             uikit::NSIndexPath::indexPathForRow(0, 0));
    ASSERT_TRUE(previous);
    EXPECT_EQ(previous->indexPath(), uikit::NSIndexPath::indexPathForRow(1, 1));
    // A detail that no longer shows the row at that index path gets nothing.
    EXPECT_FALSE(list->getNextIdIndexPathPairAndMoveSelectionInDirection(2, std::string("p2"),
                                                                          uikit::NSIndexPath::indexPathForRow(0, 0)));
}

TEST_F(ParticipantSmallListsTest, TheStarAsksForTheOppositeStateAndChangesWithTheSave) {
    grantFollowing();
    insertParticipants({{"p1", "A"}});
    serve("POST", path("user/relationships"), json(R"({"id":"p1","fullName":"Name p1"})", 201));
    auto list = showOrganizationList();
    const auto offset = list->tableView()->contentOffset();
    auto star = cellAt(*list->tableView(), 0, 0)->favoriteButton();
    ASSERT_TRUE(star);
    EXPECT_FALSE(star->isFavorite());
    // The star shows the state: an outline, then a filled star.
    EXPECT_TRUE(contains(uikit::describe(*window), "favoriteButton=[image:favStarNormal.png]"));
    star->sendActionsForControlEvents(uikit::UIControlEventTouchUpInside);
    ASSERT_TRUE(waitForRequests(1));
    EXPECT_EQ(server.lastRequest()->method, "POST");
    EXPECT_EQ(*bodyOf(*server.lastRequest())["followingId"].string(), "p1");
    ASSERT_TRUE(foundation::RunLoop::main().runUntil(
        [&] { return cellAt(*list->tableView(), 0, 0)->favoriteButton()->isFavorite(); }, apitest::kManagerWait));
    EXPECT_TRUE(contains(uikit::describe(*window), "favoriteButton=[image:favStarActive.png]"));
    EXPECT_EQ(list->tableView()->contentOffset(), offset);

    // The recommendations page shows the followed participant starred; its star unfollows.
    serve("DELETE", path("user/relationships/p1"), json("{}", 200));
    auto page = showRecommendations({"p1"});
    auto pageStar = cellAt(*page->tableView(), 0, 0)->favoriteButton();
    ASSERT_TRUE(pageStar && pageStar->isFavorite());
    pageStar->sendActionsForControlEvents(uikit::UIControlEventTouchUpInside);
    ASSERT_TRUE(waitForRequests(2));
    EXPECT_EQ(server.lastRequest()->method, "DELETE");
    EXPECT_TRUE(foundation::RunLoop::main().runUntil(
        [&] { return !cellAt(*page->tableView(), 0, 0)->favoriteButton()->isFavorite(); }, apitest::kManagerWait));
}

TEST_F(ParticipantSmallListsTest, AFailedStarRequestIsLogged) {
    grantFollowing();
    serve("POST", path("user/relationships"), json(R"({"error":"nope"})", 500));
    auto page = showRecommendations({"p1"});
    foundation::ScopedLogCapture log;
    cellAt(*page->tableView(), 0, 0)->favoriteButton()->sendActionsForControlEvents(uikit::UIControlEventTouchUpInside);
    ASSERT_TRUE(foundation::RunLoop::main().runUntil(
        [&] { return log.contains(ParticipantRowActions::kFavoriteFailureLog); }, apitest::kManagerWait));
    EXPECT_EQ(server.requestCount(), 1u);
}

TEST_F(ParticipantSmallListsTest, OfflineTheStarShowsTheAlertAndSendsNothing) {
    grantFollowing();
    insertParticipants({{"p1", "A"}});
    auto list = showOrganizationList();
    network::Reachability::setSimulatedFlags(0);
    auto& reachability = QNNetworkReachabilityManager::sharedManager();
    ASSERT_TRUE(foundation::RunLoop::main().runUntil([&] { return !reachability.isReachable(); }, apitest::kManagerWait));
    cellAt(*list->tableView(), 0, 0)->favoriteButton()->sendActionsForControlEvents(uikit::UIControlEventTouchUpInside);
    settle();
    ASSERT_EQ(alerts().size(), 1u);
    EXPECT_EQ(alerts()[0]->title(), std::optional<std::string>(ParticipantRowActions::kOfflineTitle));
    EXPECT_EQ(alerts()[0]->message(), std::optional<std::string>(ParticipantRowActions::kOfflineMessage));
    EXPECT_EQ(server.requestCount(), 0u);
}

}  // namespace
