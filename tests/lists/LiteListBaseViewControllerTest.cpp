#include "lists/LiteListBaseViewController.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "../support/ScreenTest.h"
#include "Utils/MeetingStoreTestSupport.h"
#include "Utils/PullToRefreshControl.h"
#include "coredata/Constants.h"
#include "coredata/EntityDescription.h"
#include "coredata/ManagedObjectContext.h"
#include "coredata/Predicate.h"
#include "dispatch/Queue.h"
#include "foundation/Exception.h"
#include "foundation/Log.h"
#include "foundation/NotificationCenter.h"
#include "lists/CustomSectionHeaderTableView.h"
#include "lists/IdIndexPair.h"
#include "model/IEntityModel.h"
#include "store/CoreDataStack.h"
#include "uikit/UIKeyboard.h"
#include "uikit/UILabel.h"
#include "uikit/UISearchBar.h"
#include "uikit/UITableViewCell.h"

namespace {

class LiteRow : public IEntityModel {
public:
    LiteRow(std::string id, std::string entity) : id_(std::move(id)), entity_(std::move(entity)) {}
    std::optional<std::string> coreDataClass() const override { return entity_; }
    std::optional<std::string> selectionPropertyId() const override { return id_; }

private:
    std::string id_;
    std::string entity_;
};

// A list of its own table, counting what the base asks of it.
class CountingList : public LiteListBaseViewController {
public:
    std::vector<std::string> observed;
    int reloads = 0;
    int pullsExecuted = 0;

    void loadView() override {
        auto table = std::make_shared<uikit::UITableView>(graphics::Rect(0, 0, 375, 667));
        table->registerClass<uikit::UITableViewCell>("row");
        setView(table);
        setTableView(table);
    }
    void viewDidLoad() override {
        LiteListBaseViewController::viewDidLoad();
        auto me = std::dynamic_pointer_cast<CountingList>(shared_from_this());
        tableView()->setDataSource(me);
        tableView()->setDelegate(me);
    }
    std::string cellIdentifier() override { return "row"; }
    std::vector<std::string> entitiesArrayToObserveForFilteringUIUpdates() override { return observed; }
    void reloadDataSourceAndTable() override { ++reloads; }
    void onPullToRefreshExecuted() override { ++pullsExecuted; }

    void fill(size_t count) {
        RowObjects rows;
        for (size_t i = 0; i < count; ++i)
            rows.push_back(std::make_shared<LiteRow>("id" + std::to_string(i), "QVACoreDataParticipant"));
        setDataSourceArray(std::move(rows));
        if (auto table = tableView()) table->reloadData();
    }
};

// --- On screen: pull limit, swipe steps, headers, search ---

class LiteListScreenTest : public ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        list_ = std::make_shared<CountingList>();
    }
    void show(size_t rows, bool pullToRefresh = false) {
        list_->setIsPullToRefreshEnabled(pullToRefresh);
        list_->loadViewIfNeeded();
        list_->fill(rows);
        showRoot(list_);
    }
    bool spinnerShows() const { return list_->pullToRefreshControl()->isRefreshing(); }

    std::shared_ptr<CountingList> list_;
};

TEST_F(LiteListScreenTest, theBaseStartsWithItsDefaultsAndHasNoCellIdentifier) {
    list_->loadViewIfNeeded();
    EXPECT_EQ(list_->lastPullToRefreshDate().timeIntervalSince1970(), 100);
    EXPECT_EQ(list_->edgesForExtendedLayout(), uikit::UIRectEdgeNone);
    EXPECT_FALSE(list_->pullToRefreshControl());
    LiteListBaseViewController base;
    EXPECT_EQ(base.getCompoundFiltersPredicate(), coredata::Predicate::truePredicate());
    try {
        base.cellIdentifier();
        FAIL() << "the base has no cell identifier";
    } catch (const foundation::Exception& e) {
        EXPECT_EQ(e.name(), "Please return a valid cell for your tableview");
    }
}

TEST_F(LiteListScreenTest, pullsReachTheListAtMostOncePer10SecondsAndTheSpinnerEnds2SecondsAfterEach) {
    show(30, true);
    ASSERT_TRUE(list_->pullToRefreshControl());
    // The first pull on a new list always passes.
    ASSERT_TRUE(pull());
    EXPECT_EQ(list_->pullsExecuted, 1);
    EXPECT_TRUE(spinnerShows());
    advance(1.9);
    EXPECT_TRUE(spinnerShows());
    advance(0.1);
    EXPECT_FALSE(spinnerShows());

    // 5 s after the accepted pull: refused, yet its spinner still shows for 2 s.
    advance(3);
    ASSERT_TRUE(pull());
    EXPECT_EQ(list_->pullsExecuted, 1);
    EXPECT_TRUE(spinnerShows());
    advance(2);
    EXPECT_FALSE(spinnerShows());

    // 10.0 s after the accepted pull: accepted again.
    advance(3);
    ASSERT_TRUE(pull());
    EXPECT_EQ(list_->pullsExecuted, 2);
    advance(2);
    EXPECT_FALSE(spinnerShows());

    // The limit is per list: a new list refreshes on its first pull.
    auto other = std::make_shared<CountingList>();
    other->setIsPullToRefreshEnabled(true);
    other->loadViewIfNeeded();
    other->fill(30);
    showRoot(other);
    ASSERT_TRUE(pull());
    EXPECT_EQ(other->pullsExecuted, 1);
}

TEST_F(LiteListScreenTest, theBasePullOnlyLogs) {
    auto base = std::make_shared<LiteListBaseViewController>();
    auto table = std::make_shared<uikit::UITableView>(graphics::Rect(0, 0, 375, 667));
    base->setView(table);
    base->setTableView(table);
    base->setIsPullToRefreshEnabled(true);
    base->viewDidLoad();
    foundation::ScopedLogCapture log;
    base->pullToRefreshControl()->beginRefreshing();
    base->dropViewDidBeginRefreshing(*base->pullToRefreshControl());
    EXPECT_TRUE(log.contains("Implement pull to refresh in subclasses, if needed"));
}

TEST_F(LiteListScreenTest, swipeStepsWrapAtTheEndsAndSelectTheTarget) {
    using uikit::NSIndexPath;
    constexpr unsigned kNext = 2, kPrevious = 1;
    show(5);
    auto table = list_->tableView();
    // (direction, from row) → target row; the detail's id plays no part.
    const struct {
        unsigned direction;
        int64_t from, to;
    } steps[] = {{kNext, 1, 2}, {kNext, 4, 0}, {kPrevious, 0, 4}, {kPrevious, 3, 2}};
    for (const auto& step : steps) {
        auto pair = list_->getNextIdIndexPathPairAndMoveSelectionInDirection(step.direction, "ignored",
                                                                             NSIndexPath::indexPathForRow(step.from, 0));
        ASSERT_TRUE(pair) << step.from;
        EXPECT_EQ(pair->indexPath(), NSIndexPath::indexPathForRow(step.to, 0));
        EXPECT_EQ(pair->objectId(), "id" + std::to_string(step.to));
        EXPECT_EQ(pair->entityName(), "QVACoreDataParticipant");
        EXPECT_EQ(table->indexPathForSelectedRow(), NSIndexPath::indexPathForRow(step.to, 0));
    }
    auto step = [&](unsigned direction) {
        return list_->getNextIdIndexPathPairAndMoveSelectionInDirection(direction, "id0", NSIndexPath::indexPathForRow(0, 0));
    };
    // One row: next answers that row, previous nothing.
    list_->fill(1);
    ASSERT_TRUE(step(kNext));
    EXPECT_EQ(step(kNext)->indexPath(), NSIndexPath::indexPathForRow(0, 0));
    EXPECT_FALSE(step(kPrevious));
    // No rows: nothing either way.
    list_->fill(0);
    EXPECT_FALSE(step(kNext));
    EXPECT_FALSE(step(kPrevious));
}

TEST_F(LiteListScreenTest, rowsShowUnder23PointSectionHeadersAndATapOnlyDeselects) {
    show(3);
    auto table = list_->tableView();
    EXPECT_EQ(table->numberOfRowsInSection(0), 3);
    EXPECT_EQ(table->heightForHeaderInSection(0), 23);
    auto header = std::dynamic_pointer_cast<CustomSectionHeaderTableView>(list_->tableViewViewForHeaderInSection(*table, 0));
    ASSERT_TRUE(header);
    EXPECT_EQ(header->frame(), graphics::Rect(0, 0, 375, 23));
    EXPECT_TRUE(tapRow(0, 1));
    EXPECT_EQ(table->indexPathForSelectedRow(), std::nullopt);
}

TEST_F(LiteListScreenTest, theSearchTableIsCurrentWhileActiveAndLosesItsInsetsWhenTheKeyboardHides) {
    show(3);
    auto bar = std::make_shared<uikit::UISearchBar>(graphics::Rect(0, 0, 375, 44));
    auto search = uikit::UISearchDisplayController::create(bar, list_);
    EXPECT_EQ(list_->getCurrentTableView(), list_->tableView());
    search->setActive(true);
    EXPECT_EQ(list_->getCurrentTableView(), search->searchResultsTableView());

    auto results = search->searchResultsTableView();
    auto post = [] { foundation::NotificationCenter::defaultCenter().postNotificationName(uikit::UIKeyboardWillHideNotification); };
    results->setContentInset({0, 0, 216, 0});
    post();  // not yet observed
    EXPECT_EQ(results->contentInset().bottom, 216);
    list_->searchDisplayControllerWillShowSearchResultsTableView(*search, *results);
    results->setScrollIndicatorInsets({0, 0, 216, 0});
    post();
    EXPECT_EQ(results->contentInset(), uikit::UIEdgeInsetsZero);
    EXPECT_EQ(results->scrollIndicatorInsets(), uikit::UIEdgeInsetsZero);
    list_->searchDisplayControllerDidHideSearchResultsTableView(*search, *results);
    results->setContentInset({0, 0, 216, 0});
    post();
    EXPECT_EQ(results->contentInset().bottom, 216);
}

// --- Over a store: the save observation ---

class LiteListSaveTest : public meetingtest::MeetingStoreTest {
protected:
    void SetUp() override {
        MeetingStoreTest::SetUp();
        list_ = std::make_shared<CountingList>();
        list_->observed = {"QVACoreDataBaseSession", "QVACoreDataParticipant"};
    }
    void TearDown() override {
        foundation::RunLoop::main().runDueTasks();
        list_.reset();
        MeetingStoreTest::TearDown();
    }
    // Saves the main-queue context after the change, on the main thread.
    void saveMain(const std::function<void(coredata::ManagedObjectContext&)>& change) {
        auto& context = *stack_->managedObjectContextMainQueue();
        change(context);
        ASSERT_EQ(context.save(), nullptr);
    }
    std::shared_ptr<coredata::ManagedObject> insertMain(const std::string& entity, const std::string& id) {
        std::shared_ptr<coredata::ManagedObject> object;
        saveMain([&](coredata::ManagedObjectContext& context) {
            object = coredata::EntityDescription::insertNewObjectForEntityForName(entity, context);
            object->setValue(foundation::Value(id), "itemId");
        });
        return object;
    }
    void runMainLoop() { foundation::RunLoop::main().runDueTasks(); }

    std::shared_ptr<CountingList> list_;
    std::shared_ptr<CoreDataStack> stack_;
};

TEST_F(LiteListSaveTest, aSaveTouchingAnObservedEntityOrASubEntitySchedulesOneUpdateOnALaterTurn) {
    stack_ = openCurrent("token");
    list_->loadViewIfNeeded();
    ASSERT_TRUE(list_->isObservingSaves());

    // Inserted, of a sub-entity: the update waits for a later turn of the loop.
    auto session = insertMain("QVACoreDataSession", "s1");
    EXPECT_EQ(list_->reloads, 0);
    runMainLoop();
    EXPECT_EQ(list_->reloads, 1);

    // Updated.
    saveMain([&](coredata::ManagedObjectContext&) { session->setValue(foundation::Value("Opening"), "title"); });
    runMainLoop();
    EXPECT_EQ(list_->reloads, 2);

    // Deleted, of the class itself.
    auto participant = insertMain("QVACoreDataParticipant", "p1");
    runMainLoop();
    EXPECT_EQ(list_->reloads, 3);
    saveMain([&](coredata::ManagedObjectContext& context) { context.deleteObject(participant); });
    runMainLoop();
    EXPECT_EQ(list_->reloads, 4);

    // Two matching saves before the loop turns: two updates, not coalesced.
    insertMain("QVACoreDataSession", "s2");
    insertMain("QVACoreDataParticipant", "p2");
    EXPECT_EQ(list_->reloads, 4);
    runMainLoop();
    EXPECT_EQ(list_->reloads, 6);

    // Many matching objects in one save: one update.
    saveMain([&](coredata::ManagedObjectContext& context) {
        for (int i = 0; i < 3; ++i)
            coredata::EntityDescription::insertNewObjectForEntityForName("QVACoreDataSession", context)
                ->setValue(foundation::Value("m" + std::to_string(i)), "itemId");
    });
    runMainLoop();
    EXPECT_EQ(list_->reloads, 7);
}

TEST_F(LiteListSaveTest, aSaveOfUnobservedEntitiesOrAnEmptyObservationSchedulesNothing) {
    stack_ = openCurrent("token");
    list_->loadViewIfNeeded();
    insertMain("QVACoreDataVenue", "v1");
    runMainLoop();
    EXPECT_EQ(list_->reloads, 0);

    list_->observed.clear();
    insertMain("QVACoreDataSession", "s1");
    runMainLoop();
    EXPECT_EQ(list_->reloads, 0);

    // Names that are no entity never match.
    list_->observed = {"NoSuchEntity"};
    insertMain("QVACoreDataSession", "s2");
    runMainLoop();
    EXPECT_EQ(list_->reloads, 0);
}

TEST_F(LiteListSaveTest, aWorkerWriteReachesTheListThroughTheMainContextOnly) {
    stack_ = openCurrent("token");
    list_->loadViewIfNeeded();
    insert("token", "QVACoreDataSession", {{{"itemId", foundation::Value("w1")}}});
    runMainLoop();
    // The worker's and the writer's own saves are not observed.
    EXPECT_EQ(list_->reloads, 1);
}

TEST_F(LiteListSaveTest, aListLoadedWithNoStoreOpenIgnoresEveryOtherStoresSaves) {
    list_->loadViewIfNeeded();
    EXPECT_FALSE(list_->isObservingSaves());
    open("other-token");
    // A worker save posted off the main thread must not reach the list.
    insert("other-token", "QVACoreDataSession", {{{"itemId", foundation::Value("w1")}}});
    runMainLoop();
    EXPECT_EQ(list_->reloads, 0);

    // Nor does a store opened later as the current one.
    stack_ = openCurrent("token");
    insertMain("QVACoreDataSession", "s1");
    runMainLoop();
    EXPECT_EQ(list_->reloads, 0);
}

TEST_F(LiteListSaveTest, aListIgnoresTheSavesOfAnotherStoresMainContext) {
    stack_ = openCurrent("token");
    list_->loadViewIfNeeded();
    auto other = open("other-token");
    auto& context = *other->managedObjectContextMainQueue();
    coredata::EntityDescription::insertNewObjectForEntityForName("QVACoreDataSession", context)
        ->setValue(foundation::Value("o1"), "itemId");
    ASSERT_EQ(context.save(), nullptr);
    runMainLoop();
    EXPECT_EQ(list_->reloads, 0);
}

TEST_F(LiteListSaveTest, offTheMainThreadTheSaveHandlerAndTheUpdateRaise) {
    stack_ = openCurrent("token");
    list_->loadViewIfNeeded();
    std::string saveRaised, updateRaised;
    auto worker = dispatch::Queue::createSerial("list-test");
    worker->sync([&] {
        try {
            list_->contextDidSave(foundation::Notification{coredata::kManagedObjectContextDidSaveNotification, {}, {}});
        } catch (const foundation::Exception& e) {
            saveRaised = e.name();
        }
        try {
            list_->updateUiContentBecauseItsNeeded();
        } catch (const foundation::Exception& e) {
            updateRaised = e.name();
        }
    });
    EXPECT_EQ(saveRaised, "New exception introduced for parent child core data contexts");
    EXPECT_EQ(updateRaised, "Please call this method from main thread only");
    EXPECT_EQ(list_->reloads, 0);
}

}  // namespace
