#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Utils/DateHelper.h"
#include "PhoneScreenStoreTest.h"
#include "app/AppSearchEntities.h"
#include "app/AppStoryboards.h"
#include "app/BaseViewController.h"
#include "app/DetailsScreenScenes.h"
#include "coredata/FetchRequest.h"
#include "coredata/FetchedResultsController.h"
#include "coredata/ManagedObject.h"
#include "foundation/Clock.h"
#include "foundation/Exception.h"
#include "foundation/Log.h"
#include "foundation/RunLoop.h"
#include "lists/DetailsScreenSupport.h"
#include "lists/FavoriteButton.h"
#include "lists/GlobalSearchManager.h"
#include "lists/QVASubtitleStyleTableViewCell.h"
#include "lists/SearchAdditionalDataSources.h"
#include "lists/SearchEntity.h"
#include "lists/SwipeParentControllerProtocol.h"
#include "people/ParticipantCell.h"
#include "programme/SubactivityCell.h"
#include "store/CoreDataStack.h"
#include "uikit/DeviceProfile.h"
#include "uikit/ScreenDriver.h"
#include "uikit/UIApplication.h"
#include "uikit/UIImage.h"
#include "uikit/UIImageView.h"
#include "uikit/UILabel.h"
#include "uikit/UINavigationController.h"
#include "uikit/UIStoryboard.h"
#include "uikit/UITableView.h"
#include "uikit/UITableViewCell.h"
#include "uikit/UIWindow.h"

namespace {

using meetingtest::Row;
using uikit::NSIndexPath;
using Value = foundation::Value;

// The part of the home screen the search needs: a results table whose data
// source and delegate forward to the search, and a navigation controller the
// results open their details on.
class SearchHomeScreen : public uikit::UIViewController,
                         public SwipeParentControllerProtocol,
                         public uikit::UITableViewDataSource,
                         public uikit::UITableViewDelegate {
public:
    std::shared_ptr<CoreDataStack> stack;
    std::shared_ptr<GlobalSearchManager> manager;
    std::shared_ptr<uikit::UITableView> table;
    SearchAdditionalDataSources sources;

    void viewDidLoad() override {
        table = std::make_shared<uikit::UITableView>(view()->bounds());
        view()->addSubview(table);
        manager = GlobalSearchManager::initWithCoreDataStack(stack, table);
        auto self = std::static_pointer_cast<SearchHomeScreen>(shared_from_this());
        manager->setHomeController(std::weak_ptr<uikit::UIViewController>(self));
        manager->setAdditionalDataSourcesProvider([this] { return sources; });
        table->setDataSource(self);
        table->setDelegate(self);
    }
    SearchEntity& entity(int64_t section) { return *manager->searchEntitiesArray()[static_cast<size_t>(section)]; }

    int64_t numberOfSectionsInTableView(uikit::UITableView&) override {
        return static_cast<int64_t>(manager->searchEntitiesArray().size());
    }
    int64_t tableViewNumberOfRowsInSection(uikit::UITableView&, int64_t section) override {
        return static_cast<int64_t>(entity(section).searchResultsCount());
    }
    uikit::UITableViewCellPtr tableViewCellForRowAtIndexPath(uikit::UITableView& tableView,
                                                             const NSIndexPath& indexPath) override {
        auto cell = tableView.dequeueReusableCellWithIdentifier(entity(indexPath.section).cellIdentifier(), indexPath);
        entity(indexPath.section).configureCell(*cell, indexPath, self(), tableView, sources);
        return cell;
    }
    std::optional<std::string> tableViewTitleForHeaderInSection(uikit::UITableView&, int64_t section) override {
        return entity(section).title();
    }
    std::optional<double> tableViewHeightForRowAtIndexPath(uikit::UITableView& tableView,
                                                          const NSIndexPath& indexPath) override {
        return entity(indexPath.section).heightForRowAtIndexPath(indexPath, tableView, self(), sources);
    }
    void tableViewDidSelectRowAtIndexPath(uikit::UITableView&, const NSIndexPath& indexPath) override {
        entity(indexPath.section).navigateToDetailsFromController(self(), indexPath);
    }
    std::shared_ptr<IdIndexPair> getNextIdIndexPathPairAndMoveSelectionInDirection(unsigned,
                                                                                    const std::optional<std::string>&,
                                                                                    const NSIndexPath&) override {
        return nullptr;
    }
    std::string className() const override { return "SearchHomeScreen"; }

private:
    uikit::UIViewControllerPtr self() { return std::static_pointer_cast<uikit::UIViewController>(shared_from_this()); }
};

Row searchSession(const std::string& id, const std::string& title, const std::string& start = "2026-06-16T10:00:00+02:00") {
    return {{"itemId", Value(id)}, {"title", Value(title)}, {"startDatetime", Value(start)}, {"displayTime", Value("10:00 - 11:00")}};
}

Row searchParticipant(const std::string& id, const std::string& first, const std::string& last,
                const std::string& contributions = "") {
    Row row{{"itemId", Value(id)}, {"firstName", Value(first)}, {"lastName", Value(last)},
            {"fullName", Value(first + " " + last)}};
    if (!contributions.empty()) row["contributions"] = Value(contributions);
    return row;
}

Row organization(const std::string& id, const std::string& name, const std::string& type, const std::string& country) {
    return {{"itemId", Value(id)}, {"commonName", Value(name)}, {"name", Value(name)}, {"organizationType", Value(type)},
            {"country", Value(country)}};
}

class GlobalSearchTest : public meetingtest::PhoneScreenStoreTest {
protected:
    void SetUp() override {
        PhoneScreenStoreTest::SetUp();
        AppSearchEntities::registerSearchEntities();
        DetailsScreenScenes::addScenes(phoneStoryboard());
    }
    void releaseScreens() override { home_.reset(); }

    void seed() {
        stack_ = openCurrent("token");
        insert("token", "QVACoreDataSession",
               {searchSession("s1", "Joint opening"), searchSession("s2", "Closing words"), searchSession("s9", "Budget review")});
        insert("token", "QVACoreDataParticipant",
               {searchParticipant("p1", "John", "Doe", "s9|speaker;s7|chair"), searchParticipant("p2", "Ann", "Jordan")});
        insert("token", "QVACoreDataOrganization",
               {organization("o1", "Jones", "NGO", "Chile"), organization("o2", "Jolt Ltd", "Business", "Peru")});
    }
    std::shared_ptr<SearchHomeScreen> show() {
        home_ = std::make_shared<SearchHomeScreen>();
        home_->stack = stack_;
        showAsRoot(uikit::UINavigationController::withRootViewController(home_));
        driver_.settle();
        return home_;
    }
    void search(const std::string& text) {
        home_->manager->searchForString(text);
        home_->table->reloadData();
        driver_.settle();
    }
    std::vector<std::string> rowTitles(int64_t section) {
        std::vector<std::string> titles;
        auto& entity = home_->entity(section);
        if (!entity.searchFetchedResultsController()) return titles;
        for (const auto& object : entity.searchFetchedResultsController()->fetchedObjects())
            titles.push_back(object.objectAs<coredata::ManagedObject>()->valueForKey("title").stringValue());
        return titles;
    }
    void onWorker(std::function<void(coredata::ManagedObjectContext&)> change) {
        auto written = await([&](auto done) {
            store.executeBlockInWorkerBackgroundContext(std::move(change), std::string("token"), std::string("42"),
                                                        nullptr, done);
        });
        EXPECT_EQ(written.error, nullptr);
        driver_.settle();
    }
    void changeSession(const std::string& id, const std::function<void(coredata::ManagedObjectContext&,
                                                                       const coredata::ManagedObjectPtr&)>& change) {
        onWorker([id, change](coredata::ManagedObjectContext& context) {
            auto request = coredata::FetchRequest::fetchRequestWithEntityName("QVACoreDataSession");
            request.setPredicate(coredata::Predicate::withFormat("itemId == %@", id));
            for (const auto& value : context.executeFetchRequest(request))
                change(context, value.objectAs<coredata::ManagedObject>());
        });
    }
    std::shared_ptr<DetailsScreenSupport> pushedDetails() const {
        auto navigation = home_->navigationController();
        return navigation ? std::dynamic_pointer_cast<DetailsScreenSupport>(navigation->topViewController()) : nullptr;
    }

    std::shared_ptr<CoreDataStack> stack_;
    uikit::ScreenDriver driver_;
    std::shared_ptr<SearchHomeScreen> home_;
};

}  // namespace

TEST_F(GlobalSearchTest, aTextOfOneCharacterOnceTrimmedKeepsThePreviousResultsAndTwoSearchAllSevenKinds) {
    seed();
    show();
    std::vector<std::string> titles;
    for (const auto& entity : home_->manager->searchEntitiesArray()) titles.push_back(entity->title());
    EXPECT_EQ(titles, (std::vector<std::string>{"Programme", "Participants", "Organizations", "Partners", "My agenda",
                                                 "Venues", "Rooms"}));

    search("J");
    search(" J\n");
    for (const auto& entity : home_->manager->searchEntitiesArray()) EXPECT_EQ(entity->searchFetchedResultsController(), nullptr);

    search("Jo");
    const auto first = home_->entity(0).searchFetchedResultsController();
    ASSERT_NE(first, nullptr);
    for (const auto& entity : home_->manager->searchEntitiesArray()) ASSERT_NE(entity->searchFetchedResultsController(), nullptr);
    EXPECT_EQ(home_->manager->getFRCIndex(first.get()), 0);
    EXPECT_EQ(home_->manager->getFRCIndex(home_->entity(6).searchFetchedResultsController().get()), 6);
    EXPECT_EQ(home_->manager->getFRCIndex(nullptr), -1);

    // The session John Doe speaks at, beside the title match.
    EXPECT_EQ(rowTitles(0), (std::vector<std::string>{"Budget review", "Joint opening"}));
    EXPECT_EQ(home_->entity(1).searchResultsCount(), 2u);
    // Only businesses.
    ASSERT_EQ(home_->entity(2).searchResultsCount(), 1u);
    EXPECT_EQ(home_->entity(3).searchResultsCount(), 0u);

    search(" o");
    EXPECT_EQ(home_->entity(0).searchFetchedResultsController(), first);

    // The text goes on as typed: the words are trimmed, the contributor's name is not.
    search("  Jo");
    EXPECT_EQ(rowTitles(0), (std::vector<std::string>{"Joint opening"}));

    home_->manager->cancelSearch();
    for (const auto& entity : home_->manager->searchEntitiesArray()) EXPECT_EQ(entity->searchFetchedResultsController(), nullptr);
    EXPECT_EQ(home_->entity(0).searchResultsCount(), 0u);
}

TEST_F(GlobalSearchTest, rowsAreDrawnAndMeasuredByTheirKind) {
    seed();
    insert("token", "QVACoreDataVenue", {{{"itemId", Value("v1")}, {"name", Value("Jolly Hall")}}});
    insert("token", "QVACoreDataRoom", {{{"itemId", Value("r2")}, {"name", Value("Room 10 Joule")}},
                                        {{"itemId", Value("r1")}, {"name", Value("Room 9 Joule")}}});
    show();
    search("Jo");
    auto& table = *home_->table;

    auto participantCell = std::dynamic_pointer_cast<ParticipantCell>(table.cellForRowAtIndexPath(NSIndexPath::indexPathForRow(0, 1)));
    ASSERT_NE(participantCell, nullptr);
    EXPECT_EQ(participantCell->participantTitle()->text(), "John Doe");
    EXPECT_TRUE(participantCell->noteImageView()->isHidden());
    EXPECT_FALSE(participantCell->favoriteButton()->isFavorite());
    EXPECT_EQ(table.rectForRowAtIndexPath(NSIndexPath::indexPathForRow(0, 1)).size.height, 80);

    auto organizationCell =
        std::dynamic_pointer_cast<QVASubtitleStyleTableViewCell>(table.cellForRowAtIndexPath(NSIndexPath::indexPathForRow(0, 2)));
    ASSERT_NE(organizationCell, nullptr);
    EXPECT_EQ(organizationCell->titleLabel()->text(), "Jolt Ltd");
    EXPECT_EQ(organizationCell->subtitleLabel()->text(), "Peru");
    EXPECT_EQ(table.rectForRowAtIndexPath(NSIndexPath::indexPathForRow(0, 2)).size.height, 54);

    // A session row is as high as its cell needs at the table's width, in whole points.
    auto sessionCell = std::dynamic_pointer_cast<SubactivityCell>(table.cellForRowAtIndexPath(NSIndexPath::indexPathForRow(0, 0)));
    ASSERT_NE(sessionCell, nullptr);
    EXPECT_EQ(sessionCell->subactivityTitle()->text(), "Budget review");
    const double measured = std::trunc(sessionCell->getCellHeightInTableView(table));
    EXPECT_EQ(table.rectForRowAtIndexPath(NSIndexPath::indexPathForRow(0, 0)).size.height, measured);
    EXPECT_GT(measured, 0);

    // Places: the name alone, ordered as people read numbers.
    auto venueCell =
        std::dynamic_pointer_cast<QVASubtitleStyleTableViewCell>(table.cellForRowAtIndexPath(NSIndexPath::indexPathForRow(0, 5)));
    ASSERT_NE(venueCell, nullptr);
    EXPECT_EQ(venueCell->titleLabel()->text(), "Jolly Hall");
    EXPECT_EQ(venueCell->subtitleLabel()->text(), "");
    auto roomCell =
        std::dynamic_pointer_cast<QVASubtitleStyleTableViewCell>(table.cellForRowAtIndexPath(NSIndexPath::indexPathForRow(0, 6)));
    ASSERT_NE(roomCell, nullptr);
    EXPECT_EQ(roomCell->titleLabel()->text(), "Room 9 Joule");
    EXPECT_EQ(table.rectForRowAtIndexPath(NSIndexPath::indexPathForRow(1, 6)).size.height, 54);

    driver_.tapRow(6, 1);
    driver_.settle();
    auto details = pushedDetails();
    ASSERT_NE(details, nullptr);
    EXPECT_EQ(details->selectionPropertyId(), "r2");
    EXPECT_EQ(details->entityName(), "QVACoreDataRoom");
    EXPECT_TRUE(details->isSwipeEnabled());
}

TEST_F(GlobalSearchTest, aTapOpensTheDetailsOfTheResultAndALostResultOpensNothing) {
    seed();
    show();
    search("Jo");

    // The only organisation found: no swiping.
    driver_.tapRow(2, 0);
    driver_.settle();
    auto details = pushedDetails();
    ASSERT_NE(details, nullptr);
    EXPECT_EQ(details->selectionPropertyId(), "o2");
    EXPECT_EQ(details->entityName(), "QVACoreDataOrganization");
    EXPECT_FALSE(details->isSwipeEnabled());
    EXPECT_EQ(details->parentController().get(), static_cast<SwipeParentControllerProtocol*>(home_.get()));
    EXPECT_EQ(details->indexPathInParentController(), NSIndexPath::indexPathForRow(0, 2));
    home_->navigationController()->popViewControllerAnimated(false);
    driver_.settle();

    // Two sessions: swiping on.
    home_->entity(0).navigateToDetailsFromController(home_, NSIndexPath::indexPathForRow(1, 0));
    driver_.settle();
    details = pushedDetails();
    ASSERT_NE(details, nullptr);
    EXPECT_EQ(details->selectionPropertyId(), "s1");
    EXPECT_TRUE(details->isSwipeEnabled());
    home_->navigationController()->popViewControllerAnimated(false);
    driver_.settle();

    // The organisation deleted from the store, then its stale row tapped.
    onWorker([](coredata::ManagedObjectContext& context) {
        auto request = coredata::FetchRequest::fetchRequestWithEntityName("QVACoreDataOrganization");
        request.setPredicate(coredata::Predicate::withFormat("itemId == %@", std::string("o2")));
        for (const auto& value : context.executeFetchRequest(request))
            context.deleteObject(value.objectAs<coredata::ManagedObject>());
    });
    ASSERT_EQ(home_->entity(2).searchResultsCount(), 0u);
    foundation::ScopedLogCapture log;
    home_->entity(2).navigateToDetailsFromController(home_, NSIndexPath::indexPathForRow(0, 2));
    EXPECT_TRUE(log.contains("Core data object was lost due to searchFetchedResultsController refresh, but changes are "
                             "not seen yet in tableview. Probably it's a delete from database."));
    EXPECT_TRUE(log.contains("Search entity lost in GLobal search is OrganizationSearchEntity"));
    EXPECT_EQ(pushedDetails(), nullptr);
}

TEST_F(GlobalSearchTest, storeChangesReachTheResultsTable) {
    seed();
    show();
    search("Jo");
    auto& table = *home_->table;

    // A renamed session already listed is redrawn with its new title (mended: updates were dropped).
    changeSession("s1", [](coredata::ManagedObjectContext&, const coredata::ManagedObjectPtr& row) {
        row->setValue(Value("Joint plenary"), "title");
    });
    auto cell = std::dynamic_pointer_cast<SubactivityCell>(table.cellForRowAtIndexPath(NSIndexPath::indexPathForRow(1, 0)));
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->subactivityTitle()->text(), "Joint plenary");

    // A new matching session: one faded insert in section 0.
    insert("token", "QVACoreDataSession", {searchSession("s3", "Journalists' briefing", "2026-06-17T09:00:00+02:00")});
    driver_.settle();
    ASSERT_EQ(table.lastUpdates().size(), 1u);
    EXPECT_EQ(table.lastUpdates()[0].kind, uikit::UITableViewUpdate::Kind::InsertRows);
    EXPECT_EQ(table.lastUpdates()[0].indexPaths, std::vector<NSIndexPath>{NSIndexPath::indexPathForRow(2, 0)});
    EXPECT_EQ(table.lastUpdates()[0].animation, uikit::UITableViewRowAnimation::Fade);
    EXPECT_EQ(table.numberOfRowsInSection(0), 3);

    // A deleted one leaves its section.
    changeSession("s9", [](coredata::ManagedObjectContext& context, const coredata::ManagedObjectPtr& row) {
        context.deleteObject(row);
    });
    ASSERT_EQ(table.lastUpdates().size(), 1u);
    EXPECT_EQ(table.lastUpdates()[0].kind, uikit::UITableViewUpdate::Kind::DeleteRows);
    EXPECT_EQ(table.lastUpdates()[0].indexPaths, std::vector<NSIndexPath>{NSIndexPath::indexPathForRow(0, 0)});
    EXPECT_EQ(table.numberOfRowsInSection(0), 2);

    // After a cancel no report reaches the table.
    home_->manager->cancelSearch();
    table.reloadData();
    insert("token", "QVACoreDataSession", {searchSession("s4", "Joyful evening")});
    driver_.settle();
    EXPECT_EQ(table.numberOfRowsInSection(0), 0);
}

TEST_F(GlobalSearchTest, sessionRowsTakeTheirMarksFromTheDataSourcesAndAnInvitationItsOwnLine) {
    seed();
    insert("token", "QVACoreDataAgendaInvitation",
           {{{"itemId", Value("s1")}, {"agendaItemId", Value("a1")}, {"title", Value("Joint opening")},
             {"status", Value("Invited")}, {"startDatetime", Value("2026-06-16T10:00:00+02:00")}}});
    show();
    home_->sources.agendaIds = {"s1"};
    home_->sources.noteIds = {"s1"};
    home_->sources.officialIds = {"s1"};
    search("Jo");
    auto& table = *home_->table;
    auto imageOf = [](const std::shared_ptr<uikit::UIImageView>& view) {
        return view && !view->isHidden() && view->image() ? view->image()->name().value_or("") : std::string();
    };
    auto cellAt = [&](int64_t row, int64_t section) {
        auto cell = std::dynamic_pointer_cast<SubactivityCell>(table.cellForRowAtIndexPath(NSIndexPath::indexPathForRow(row, section)));
        EXPECT_NE(cell, nullptr);
        return cell;
    };

    // s9: not official, so parallel; s1: in the agenda, with a note.
    auto budget = cellAt(0, 0);
    ASSERT_NE(budget, nullptr);
    EXPECT_EQ(imageOf(budget->sessionImage()), SubactivityCell::kParallelSessionImage);
    EXPECT_EQ(imageOf(budget->personalNotesImage()), "");
    EXPECT_EQ(budget->subactivityTime()->text(), DateHelper::programmeDayAndTimeForTimeInterval("2026-06-16T10:00:00+02:00", "10:00 - 11:00"));
    auto opening = cellAt(1, 0);
    ASSERT_NE(opening, nullptr);
    EXPECT_EQ(imageOf(opening->sessionImage()), SubactivityCell::kInAgendaImage);
    EXPECT_EQ(imageOf(opening->personalNotesImage()), SubactivityCell::kNoteImage);

    // The invitation: its line, never marked as in the agenda, the note in the first slot.
    auto invitation = cellAt(0, 4);
    ASSERT_NE(invitation, nullptr);
    EXPECT_EQ(invitation->invitationLabel()->text(), "Invitation received for:");
    EXPECT_EQ(imageOf(invitation->sessionImage()), SubactivityCell::kNoteImage);

    // It opens the session details under its agenda entry id.
    home_->entity(4).navigateToDetailsFromController(home_, NSIndexPath::indexPathForRow(0, 4));
    driver_.settle();
    auto details = pushedDetails();
    ASSERT_NE(details, nullptr);
    EXPECT_EQ(details->selectionPropertyId(), "a1");
    EXPECT_EQ(details->entityName(), "QVACoreDataAgendaRole");
    EXPECT_FALSE(details->isSwipeEnabled());
}

TEST(SearchEntity, theBaseRaisesForWhatEachKindMustGiveAndBuildsNoControllerWithoutAStore) {
    SearchEntity base(nullptr);
    auto raisesNamed = [](const std::function<void()>& call, const std::string& name) {
        try {
            call();
        } catch (const foundation::Exception& e) {
            EXPECT_EQ(e.name(), name);
            EXPECT_EQ(e.reason(), "");
            return;
        }
        ADD_FAILURE() << "no exception for " << name;
    };
    raisesNamed([&] { (void)base.title(); }, "Please override title in subclasses");
    raisesNamed([&] { (void)base.entityName(); }, "Please override entityName in subclasses");
    raisesNamed([&] { (void)base.sortDescriptors(); }, "Please override sortDescriptors in subclasses");
    raisesNamed([&] { (void)base.searchPredicateForSearchString("jo"); }, "Please override searchPredicate in subclasses");
    uikit::UITableView table;
    uikit::UITableViewCell cell;
    raisesNamed([&] { base.configureCell(cell, table, nullptr, Value::null(), {}); },
                "Please override configureCell:withObject: in subclasses");
    raisesNamed([&] { base.navigateToDetailsFromController(nullptr, Value::null(), {}, false); },
                "Please override navigation (navigateToDetailsFromController:) in subclasses");
    EXPECT_EQ(base.nibName(), "GlobalSearchStandardCell");
    EXPECT_EQ(base.cellIdentifier(), "globalSearchStandardCellIdentifier");
    EXPECT_EQ(base.rowHeightForCoreDataObject(Value::null(), table, nullptr, {}), 54.0);

    foundation::ScopedLogCapture log;
    EXPECT_EQ(base.newSearchFetchedResultsControllerForSearchString("jo", nullptr), nullptr);
    EXPECT_TRUE(log.contains("Unable to create a new instance for search frc in global search: coreDataStack or "
                             "managedObjectContextMainQueue is nil"));
    EXPECT_EQ(base.searchResultsCount(), 0u);
}

TEST_F(GlobalSearchTest, aSessionRowsKeptHeightFollowsItsTitleAndTheRoomsOnceForgotten) {
    seed();
    show();
    search("Jo");
    auto& table = *home_->table;
    // After "Budget review", found through its contributor.
    const auto opening = NSIndexPath::indexPathForRow(1, 0);
    ASSERT_EQ(rowTitles(0).at(1), "Joint opening");
    const double plain = table.rectForRowAtIndexPath(opening).size.height;
    EXPECT_GT(plain, 0);

    // A title long enough to wrap: the next search measures it anew.
    const std::string longTitle = "Joint opening of the high-level segment on financing adaptation in small islands";
    changeSession("s1", [&](coredata::ManagedObjectContext&, const coredata::ManagedObjectPtr& row) {
        row->setValue(Value(longTitle), "title");
        row->setValue(Value("r1"), "roomId");
    });
    search("Jo");
    ASSERT_EQ(rowTitles(0).at(1), longTitle);
    const double wrapped = table.rectForRowAtIndexPath(opening).size.height;
    EXPECT_GT(wrapped, plain);

    // Its room gets a name of two lines: the rows' heights go with the data sources.
    home_->sources.rooms = {Value::dictionary(
        {{"itemId", Value("r1")},
         {"name", Value("Plenary hall B of the International Conference Centre, second floor, east wing")}})};
    home_->manager->forgetRowHeights();
    search("Jo");
    const double withRoom = table.rectForRowAtIndexPath(opening).size.height;
    EXPECT_GT(withRoom, wrapped);
    auto cell = std::dynamic_pointer_cast<SubactivityCell>(table.cellForRowAtIndexPath(opening));
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(withRoom, std::trunc(cell->getCellHeightInTableView(table)));
}
