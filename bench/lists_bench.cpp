// The store-backed lists over generated meetings of 300 sessions / 1,500
// participants and 3,000 / 15,000, each downloaded once into its store, on a
// 375×667 phone: a ListBaseViewController whose delegate lists every
// participant in sections by "sectionTitle", sorted by it and by "lastName"
// (localized standard comparison), one plain cell with the full name.
//
// - FirstRows: from viewDidLoad to the table showing its first rows (every
//   row's height asked, cells built only for the rows in view). Counter
//   cells: the cells the delegate filled.
// - RenameRedrawn: a worker save renaming the participant of the first row,
//   until its update report has redrawn that row through the delegate.
// - UnrelatedSaveMainThread: the main thread's CPU time for a worker save of
//   one session note while the list is open (manual time; the worker's own
//   share is not counted).
// - DetailsSaveHandler: see below.
#include <benchmark/benchmark.h>
#include <time.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <set>
#include <string>

#include "BenchMeeting.h"
#include "coredata/EntityDescription.h"
#include "coredata/FetchedResultsController.h"
#include "coredata/KeyValueCoding.h"
#include "coredata/ManagedObjectContext.h"
#include "coredata/Predicate.h"
#include "coredata/SortDescriptor.h"
#include "foundation/ApplicationHome.h"
#include "foundation/Log.h"
#include "Utils/Utils.h"
#include "lists/DetailsWithListBaseViewController.h"
#include "lists/ListBaseViewController.h"
#include "model/QVAParticipant.h"
#include "store/StorageManager.h"
#include "uikit/UINavigationController.h"
#include "lists/ListsDataSourceProtocol.h"
#include "model/ModelClass.h"
#include "model/QVASession.h"
#include "programme/SubactivityCell.h"
#include "model/EntityClass.h"
#include "support/TestAgendaListViewController.h"
#include "uikit/DeviceProfile.h"
#include "uikit/UIApplication.h"
#include "uikit/UILabel.h"
#include "uikit/UITableView.h"
#include "uikit/UITableViewCell.h"
#include "uikit/UIWindow.h"

namespace {

using namespace benchmeeting;

constexpr const char* kCellIdentifier = "benchParticipantCell";

class BenchParticipantsDelegate : public ListsDataSourceProtocol {
public:
    int64_t configured = 0;
    std::string lastText;

    std::string entityName() override { return "QVACoreDataParticipant"; }
    SortDescriptors sortDescriptors() override {
        return {coredata::SortDescriptor("sectionTitle"),
                coredata::SortDescriptor("lastName", true, coredata::SortComparator::LocalizedStandardCompare)};
    }
    Text sectionNameKeyPath() override { return std::string("sectionTitle"); }
    std::string cellIdentifier() override { return kCellIdentifier; }
    std::vector<std::shared_ptr<SearchScopeModel>> searchScopes() override { return {}; }
    bool implementsFetchedResultControllerConfigureCell() const override { return true; }
    void fetchedResultController(coredata::FetchedResultsController& controller, uikit::UITableViewCell& cell,
                                 const uikit::NSIndexPath& indexPath, BaseViewController&) override {
        auto object = controller.objectAtIndexPath({static_cast<size_t>(indexPath.section), static_cast<size_t>(indexPath.row)});
        lastText = coredata::valueForKey(object, "fullName").stringValue();
        cell.textLabel()->setText(lastText);
        ++configured;
    }
};

class BenchList : public ListBaseViewController {
public:
    BenchList() { setListDelegate(std::make_shared<BenchParticipantsDelegate>()); }
    BenchParticipantsDelegate& source() { return static_cast<BenchParticipantsDelegate&>(*listDelegate()); }

    void loadView() override {
        table_ = std::make_shared<uikit::UITableView>(graphics::Rect(0, 0, 375, 667));
        table_->registerClass<uikit::UITableViewCell>(kCellIdentifier);
        setView(table_);
        setTableView(table_);
    }
    void viewDidLoad() override {
        ListBaseViewController::viewDidLoad();
        auto me = std::dynamic_pointer_cast<BenchList>(shared_from_this());
        table_->setDataSource(me);
        table_->setDelegate(me);
    }
    std::string className() const override { return "BenchList"; }

private:
    std::shared_ptr<uikit::UITableView> table_;
};

double threadCPUSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + 1e-9 * static_cast<double>(now.tv_nsec);
}

// The meeting of the benchmark's size, loaded and current.
Meeting& loadedMeeting(const benchmark::State& state) {
    return benchmeeting::loadedMeeting(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
}

// A list in a key window, its first rows shown.
struct OpenList {
    std::shared_ptr<uikit::UIWindow> window = std::make_shared<uikit::UIWindow>();
    std::shared_ptr<BenchList> list = std::make_shared<BenchList>();

    void show() {
        list->loadViewIfNeeded();
        window->setRootViewController(list);
        window->makeKeyAndVisible();
        window->layoutIfNeeded();
        list->tableView()->layoutIfNeeded();
    }
    BenchParticipantsDelegate& source() { return list->source(); }
    ~OpenList() { window->setRootViewController(nullptr); }
};

void BM_FirstRows(benchmark::State& state) {
    loadedMeeting(state);
    int64_t cells = 0;
    for (auto _ : state) {
        state.PauseTiming();
        {
            OpenList open;
            state.ResumeTiming();
            open.show();
            state.PauseTiming();
            cells = open.source().configured;
            if (open.list->tableView()->visibleCells().empty()) state.SkipWithError("no rows shown");
        }
        state.ResumeTiming();
    }
    state.counters["cells"] = static_cast<double>(cells);
}

void BM_RenameRedrawn(benchmark::State& state) {
    auto& meeting = loadedMeeting(state);
    OpenList open;
    open.show();
    auto first = open.list->fetchedResultsController()->objectAtIndexPath({0, 0});
    const std::string id = coredata::valueForKey(first, "itemId").stringValue();
    int64_t round = 0;
    for (auto _ : state) {
        const std::string name = "Renamed " + std::to_string(++round);
        const int64_t before = open.source().configured;
        bool saved = workerSave(meeting, [id, name](coredata::ManagedObjectContext& context) {
            auto request = coredata::FetchRequest::fetchRequestWithEntityName("QVACoreDataParticipant");
            request.setPredicate(coredata::Predicate::withFormat("itemId == %@", id));
            for (const auto& value : context.executeFetchRequest(request))
                value.objectAs<coredata::ManagedObject>()->setValue(foundation::Value(name), "fullName");
        });
        if (!saved || !pumpUntil([&] { return open.source().configured > before && open.source().lastText == name; })) {
            state.SkipWithError("the row was not redrawn");
            break;
        }
    }
}

void BM_UnrelatedSaveMainThread(benchmark::State& state) {
    auto& meeting = loadedMeeting(state);
    OpenList open;
    open.show();
    int64_t round = 0;
    const int64_t before = open.source().configured;
    for (auto _ : state) {
        const std::string note = "Note " + std::to_string(++round);
        const double start = threadCPUSeconds();
        bool saved = workerSave(meeting, [note](coredata::ManagedObjectContext& context) {
            auto row = coredata::EntityDescription::insertNewObjectForEntityForName("QVACoreDataSessionNote", context);
            row->setValue(foundation::Value("bench-note"), "itemId");
            row->setValue(foundation::Value(note), "note");
        });
        state.SetIterationTime(threadCPUSeconds() - start);
        if (!saved) {
            state.SkipWithError("the note was not saved");
            break;
        }
    }
    if (open.source().configured != before) state.SkipWithError("an unrelated save redrew the list");
}

void sizes(benchmark::internal::Benchmark* b) {
    b->Args({300, 1500})->Args({3000, 15000})->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_FirstRows)->Apply(sizes)->Iterations(10);
BENCHMARK(BM_RenameRedrawn)->Apply(sizes)->Iterations(10)->UseRealTime();
BENCHMARK(BM_UnrelatedSaveMainThread)->Apply(sizes)->Iterations(20)->UseManualTime();

}  // namespace

// The multi-entity list over the same meetings: the tests' programme-shaped
// agenda scene (the four agenda-role entities, then the official sessions;
// one row per "itemId"; ordered by start, keyword and title; sections by
// "startDateString"), loaded on a 375×667 phone in a key window.
// - MultiEntityReload: reloadDataSourceAndTable (every entity refetched as
//   dictionaries, every row object rebuilt, sorted and grouped by day, the
//   table reloaded). Counter rows: the rows shown.
// - MultiEntitySearch: the search for "jo" in the scope a search begins
//   with, the contributors' names (the matching participants' sessions,
//   then every entity's search fetch, one flat sorted list). Counter hits.
namespace {

struct OpenAgenda {
    std::shared_ptr<uikit::UIWindow> window = std::make_shared<uikit::UIWindow>();
    std::shared_ptr<TestAgendaListViewController> list = std::make_shared<TestAgendaListViewController>();

    void show() {
        list->loadViewIfNeeded();
        window->setRootViewController(list);
        window->makeKeyAndVisible();
        window->layoutIfNeeded();
    }
    int64_t rows() const {
        int64_t count = 0;
        for (const auto& section : list->sectionedDataSourceArray()) count += static_cast<int64_t>(section.size());
        return count;
    }
    ~OpenAgenda() { window->setRootViewController(nullptr); }
};

void BM_MultiEntityReload(benchmark::State& state) {
    loadedMeeting(state);
    OpenAgenda open;
    open.show();
    for (auto _ : state) open.list->reloadDataSourceAndTable();
    if (open.rows() == 0) state.SkipWithError("no rows");
    state.counters["rows"] = static_cast<double>(open.rows());
}

void BM_MultiEntitySearch(benchmark::State& state) {
    loadedMeeting(state);
    OpenAgenda open;
    open.show();
    const int64_t lastScope = static_cast<int64_t>(open.list->agendaDelegate().scopes.size()) - 1;
    for (auto _ : state) open.list->filterContentForSearchText("jo", lastScope);
    state.counters["hits"] = static_cast<double>(open.list->searchDataSourceArray().size());
}

BENCHMARK(BM_MultiEntityReload)->Apply(sizes)->Iterations(10);
BENCHMARK(BM_MultiEntitySearch)->Apply(sizes)->Iterations(10);

}  // namespace

// The session row's height over the same meetings' sessions: each
// iteration configures a SubactivityCell from the interface file with the
// next row of the programme-shaped list (the session variant: two lines of
// title and location, the location and flags varied by the row's position)
// and measures getCellHeightInTableView at a 375-point table, the way a
// variable-height session list sizes each row. Time per cell; counter: the
// distinct heights seen.
namespace {

void BM_SubactivityCellHeight(benchmark::State& state) {
    loadedMeeting(state);
    OpenAgenda open;
    open.show();
    std::vector<std::shared_ptr<QVASession>> sessions;
    for (const auto& section : open.list->sectionedDataSourceArray())
        for (const auto& row : section)
            if (auto session = std::dynamic_pointer_cast<QVASession>(row)) sessions.push_back(session);
    if (sessions.empty()) {
        state.SkipWithError("no sessions");
        return;
    }
    auto cell = SubactivityCell::loadFromNib();
    const uikit::UITableView table(graphics::Rect(0, 0, 375, 667));
    // A short location, none, and one that wraps onto its second line.
    const std::optional<std::string> locations[] = {
        std::string("Hall A, Congress centre"), std::nullopt,
        std::string("Salon Jakobshorn (second floor, east wing), Hotel Belvedere and Conference Centre")};
    std::set<double> heights;
    size_t next = 0;
    for (auto _ : state) {
        const QVASession& session = *sessions[next % sessions.size()];
        cell->configureWithQVASession(session, locations[next % 3], session.displayTime(), next % 3 == 0,
                                      next % 5 == 0, next % 7 == 0);
        const double height = cell->getCellHeightInTableView(table);
        benchmark::DoNotOptimize(height);
        if (heights.size() < 64) heights.insert(height);
        ++next;
    }
    state.counters["heights"] = static_cast<double>(heights.size());
}

BENCHMARK(BM_SubactivityCellHeight)->Apply(sizes)->Unit(benchmark::kMicrosecond);

// --- A participant details screen while the participants are reloaded ---
//
// - DetailsSaveHandler: a list-shaped details screen showing the first
//   participant (observing participants and participant notes) while the
//   whole participants list is replaced through the store front (every row
//   deleted and inserted again in one save): the main thread's CPU time in
//   the screen's save handler (manual time), the last participant shown. Target, Release: at most 50 ms
//   at 15,000 participants and at most 12 times the 1,500 figure.

class BenchParticipantDetails : public DetailsWithListBaseViewController {
public:
    double handlerSeconds = 0;
    int64_t shown = 0;

    std::vector<std::string> entitiesArrayToObserveForFilteringUIUpdates() override {
        return {"QVACoreDataParticipant", "QVACoreDataParticipantNote"};
    }
    void updateUIContentForObject(const std::shared_ptr<coredata::ManagedObject>& object) override {
        if (object) ++shown;
    }
    void contextDidSave(const foundation::Notification& notification) override {
        const double start = threadCPUSeconds();
        DetailsWithListBaseViewController::contextDidSave(notification);
        handlerSeconds += threadCPUSeconds() - start;
    }
    void loadView() override {
        auto table = std::make_shared<uikit::UITableView>(graphics::Rect(0, 0, 375, 667));
        setView(table);
        setTableView(table);
    }
    std::string className() const override { return "BenchParticipantDetails"; }
};

void BM_DetailsSaveHandler(benchmark::State& state) {
    auto& meeting = loadedMeeting(state);
    const auto json = meeting.service->items(testservice::MeetingKind::Participants);
    StorageManager::Items participants;
    for (const auto& model : Utils::initItemsArray(foundation::Value(json), ModelClass::named(QVAParticipant::kClassName)))
        participants.push_back(model.object());
    // The last participant: the handler's scan meets it late in the saved objects.
    auto shownParticipant = std::dynamic_pointer_cast<QVAParticipant>(participants.back());
    if (!shownParticipant) {
        state.SkipWithError("no participants");
        return;
    }
    auto details = std::make_shared<BenchParticipantDetails>();
    details->setEntityName(std::string("QVACoreDataParticipant"));
    details->setSelectionPropertyId(shownParticipant->selectionPropertyId());
    auto navigation = uikit::UINavigationController::withRootViewController(details);
    auto window = std::make_shared<uikit::UIWindow>();
    window->setRootViewController(navigation);
    window->makeKeyAndVisible();
    details->loadViewIfNeeded();
    auto participantClass = EntityClass::named("QVACoreDataParticipant");
    for (auto _ : state) {
        details->handlerSeconds = 0;
        const int64_t before = details->shown;
        bool done = false;
        foundation::ErrorPtr failure;
        StorageManager::sharedStorageManager().deleteAndAddItemsToCoreData(
            participants, participantClass, nullptr, meeting.token(), meeting.eventId(),
            [&](foundation::ErrorPtr error, foundation::Value) {
                failure = std::move(error);
                done = true;
            });
        if (!pumpUntil([&] { return done && details->shown > before; }) || failure) {
            state.SkipWithError("the reload did not reach the details screen");
            break;
        }
        state.SetIterationTime(details->handlerSeconds);
    }
    window->setRootViewController(nullptr);
}

BENCHMARK(BM_DetailsSaveHandler)->Apply(sizes)->Iterations(5)->UseManualTime();

}  // namespace

// (Other lists' benchmarks go above this line.)

int main(int argc, char** argv) {
    benchmeeting::BenchApp app("qva-lists-bench");
    if (!app.ok()) return 1;
    uikit::DeviceProfile::apply(uikit::DeviceProfile::iPhone6());
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
