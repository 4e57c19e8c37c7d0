// The home screen over generated meetings of 300 sessions / 1,500
// participants and 3,000 / 15,000, each downloaded once into its store, on a
// 375×667 phone. The argument picks the meeting: 0 the small one, 1 the big one.
//
// - RefreshDuring: the home screen's refreshDataAndTable with the clock in
//   the middle of the meeting (the additional data sources, the four loads
//   and the merge of every upcoming session, the caps, the table's reload).
// - RefreshAfter: the same after the meeting (notifications, starred
//   sessions, sessions and participants with notes).
// Counter rows: the row models the screen ended with.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "BenchMeeting.h"
#include "app/AppSearchEntities.h"
#include "foundation/ApplicationHome.h"
#include "foundation/Clock.h"
#include "foundation/Log.h"
#include "lists/GlobalSearchManager.h"
#include "lists/SearchEntity.h"
#include "model/ModelClass.h"
#include "model/QVASessionOccupancy.h"
#include "programme/SpotlightSectionDataModel.h"
#include "programme/SpotlightViewController.h"
#include "model/EntityClass.h"
#include "uikit/DeviceProfile.h"
#include "uikit/UISearchBar.h"
#include "uikit/UISearchDisplayController.h"
#include "uikit/UITableView.h"
#include "uikit/UIWindow.h"

namespace homebench {

// 2026-06-16T12:00:00+02:00, the second of the generated meeting's four days.
constexpr double kMiddleOfMeeting = 803296800;
// 2026-06-19T00:00:00+02:00, one day after midnight of the last day.
constexpr double kAfterMeeting = 803512800;

struct HomeMeeting {
    benchmeeting::Meeting* meeting = nullptr;
    std::shared_ptr<CoreDataStack> stack;
};

// The meeting of the range (0: 300 / 1,500, 1: 3,000 / 15,000), loaded once,
// made current, with the clock in the middle of the meeting.
inline HomeMeeting& meetingForRange(int64_t range) {
    static HomeMeeting meetings[2];
    auto& slot = meetings[range == 0 ? 0 : 1];
    auto& meeting = range == 0 ? benchmeeting::meetingOfSize(300, 1500) : benchmeeting::meetingOfSize(3000, 15000);
    // The download runs on the real clock; the screen reads the virtual one.
    foundation::Clock::useReal();
    benchmeeting::useMeeting(meeting);
    benchmeeting::ensureLoaded(meeting);
    slot.meeting = &meeting;
    slot.stack = StorageManager::sharedStorageManager().getCoreDataStackForAuthToken(meeting.token(), meeting.eventId());
    foundation::Clock::useVirtual(kMiddleOfMeeting);
    return slot;
}

inline const char* rangeLabel(int64_t range) { return range == 0 ? "300/1500" : "3000/15000"; }

}  // namespace homebench

namespace {

using namespace homebench;

// The home screen in a key window, loaded.
struct OpenHome {
    std::shared_ptr<uikit::UIWindow> window = std::make_shared<uikit::UIWindow>();
    std::shared_ptr<SpotlightViewController> home = std::make_shared<SpotlightViewController>();

    OpenHome() {
        home->loadViewIfNeeded();
        window->setRootViewController(home);
        window->makeKeyAndVisible();
        window->layoutIfNeeded();
    }
    ~OpenHome() { window->setRootViewController(nullptr); }

    double rowModels() const {
        size_t rows = 0;
        for (const auto& [title, section] : home->dataSourceDictionary())
            if (section) rows += section->modelItems().size();
        return static_cast<double>(rows);
    }
};

void refresh(benchmark::State& state, double now, bool expectAfter) {
    const int64_t range = state.range(0);
    meetingForRange(range);
    foundation::Clock::useVirtual(now);
    OpenHome open;
    if (open.home->isCurrentMeetingInThePast() != expectAfter) {
        state.SkipWithError("the screen is not in the expected mode");
        return;
    }
    for (auto _ : state) {
        open.home->refreshDataAndTable();
        open.home->homeTableView()->layoutIfNeeded();
    }
    state.SetLabel(rangeLabel(range));
    state.counters["rows"] = open.rowModels();
}

void BM_RefreshDuring(benchmark::State& state) { refresh(state, kMiddleOfMeeting, false); }
void BM_RefreshAfter(benchmark::State& state) { refresh(state, kAfterMeeting, true); }

void ranges(benchmark::internal::Benchmark* b) { b->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond); }

BENCHMARK(BM_RefreshDuring)->Apply(ranges)->Iterations(10);
BENCHMARK(BM_RefreshAfter)->Apply(ranges)->Iterations(10);

}  // namespace

// (b) ReloadOnOccupancy: the open home screen during the meeting when the
// occupancy results of its shown sessions arrive: each result put on its rows
// and in the cache, then the home table's reload with the rows in view
// configured (live status, icons, pin) and every row's height known. The
// rows are capped, so this must not grow with the meeting.
// Counter sessions: the shown sessions given an occupancy.
namespace {

void BM_ReloadOnOccupancy(benchmark::State& state) {
    const int64_t range = state.range(0);
    homebench::meetingForRange(range);
    OpenHome open;
    std::vector<std::string> ids;
    for (int64_t section : SpotlightViewController::kOccupancySections)
        if (auto model = open.home->sectionModelForSection(section))
            for (const auto& id : SpotlightViewController::getSessionIds(model->modelItems()))
                if (std::find(ids.begin(), ids.end(), id) == ids.end()) ids.push_back(id);
    auto occupancy = QVASessionOccupancy::initWithDictionary(
        foundation::Value::dictionary({{"occupancyPercent", 85}, {"remainingCapacity", 4}}));
    const auto& table = open.home->homeTableView();
    for (auto _ : state) {
        for (const auto& id : ids) {
            open.home->statusForSessionsDictionary()[id] = occupancy;
            open.home->updateOccupancyForSession(id, occupancy);
        }
        table->reloadData();
        table->layoutIfNeeded();
    }
    state.SetLabel(homebench::rangeLabel(range));
    state.counters["sessions"] = static_cast<double>(ids.size());
}

BENCHMARK(BM_ReloadOnOccupancy)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(20);

}  // namespace

// (a): the global search's benchmarks go below this line.

namespace {

// (a) SearchJo: the home screen's search for "jo" (the seven controllers made
// and fetched, the participant-name look-up of the programme included).
// Counter hits: the results over all seven sections.
void BM_GlobalSearchJo(benchmark::State& state) {
    const int64_t range = state.range(0);
    auto& meeting = homebench::meetingForRange(range);
    auto table = std::make_shared<uikit::UITableView>(graphics::Rect{0, 0, 375, 667});
    auto manager = GlobalSearchManager::initWithCoreDataStack(meeting.stack, table);
    for (auto _ : state) manager->searchForString("jo");
    size_t hits = 0;
    for (const auto& entity : manager->searchEntitiesArray()) hits += entity->searchResultsCount();
    manager->cancelSearch();
    // A search that finds nothing did no work worth a time.
    if (hits == 0) {
        state.SkipWithError("the search for \"jo\" found nothing");
        return;
    }
    state.SetLabel(homebench::rangeLabel(range));
    state.counters["hits"] = static_cast<double>(hits);
}

BENCHMARK(BM_GlobalSearchJo)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(10);

// (a) TypeJoOnHome: on the open home screen, "j" typed beforehand, the
// keystroke "o" in its search bar until the results table has laid out: the
// search handed over by the screen, the table reloaded from the screen, the
// rows in view configured and every row's height known.
// Counter visibleRows: the rows the results table configured.
void BM_TypeJoOnHome(benchmark::State& state) {
    const int64_t range = state.range(0);
    homebench::meetingForRange(range);
    OpenHome open;
    const auto& bar = open.home->searchBar();
    const auto& search = open.home->searchDisplayController();
    if (!bar || !search) {
        state.SkipWithError("the home screen has no search bar");
        return;
    }
    size_t visibleRows = 0;
    for (auto _ : state) {
        state.PauseTiming();
        bar->tapCancelButton();
        bar->becomeFirstResponder();
        bar->typeText("j");
        state.ResumeTiming();
        bar->typeText("o");
        const auto& results = search->searchResultsTableView();
        results->layoutIfNeeded();
        visibleRows = results->visibleCells().size();
    }
    bar->tapCancelButton();
    if (visibleRows == 0) {
        state.SkipWithError("the search for \"jo\" showed no rows");
        return;
    }
    state.SetLabel(homebench::rangeLabel(range));
    state.counters["visibleRows"] = static_cast<double>(visibleRows);
}

BENCHMARK(BM_TypeJoOnHome)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace

int main(int argc, char** argv) {
    benchmeeting::BenchApp app("qva-home-bench");
    if (!app.ok()) return 1;
    uikit::DeviceProfile::apply(uikit::DeviceProfile::iPhone6());
    // The search's kinds, as the application's start-up registers them.
    AppSearchEntities::registerSearchEntities();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    foundation::Clock::useReal();
    return 0;
}
