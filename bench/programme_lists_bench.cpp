// The Programme list over generated meetings of 3,000 and 6,000 sessions on
// four days (15,000 and 30,000 participants), each downloaded once through
// the full download from the in-process meeting service. The list is the
// app's own scene, with its ProgrammeListDelegate, in a key window of a
// 375×667 phone, on the meeting's first day.
// - AdditionalDataRefresh: the delegate's refresh of its days and lookups
//   (the store unchanged since the last, as when paging through the days).
// - AdditionalDataRefreshAfterSave: the same refresh after a save of a
//   participant's note (untimed; a kind the list does not watch, so the
//   list does not refresh on its own): everything is read again.
// - DayRows: one day's rows (the four fetches, the merge, the hour sections).
//   Counter rows.
// - FillAndMeasureDay: every row of the day filled through the delegate and
//   measured with the shared sizing cell (no store read per row).
// - NextDayPress: the next-day arrow end to end (refresh, rows, table
//   reload, the heights of the rows shown), then back to the first day
//   untimed.
// - SearchTitle / SearchAll: a search of every day for "Climate" in the
//   "Title" scope and in the "All" scope. Counter hits.
// Growth: AdditionalDataRefresh, DayRows, FillAndMeasureDay and NextDayPress
// at 6,000 sessions should each cost at most 2.2 times their 3,000-session
// figure.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "BenchMeeting.h"
#include "app/AppStoryboards.h"
#include "coredata/EntityDescription.h"
#include "coredata/ManagedObjectContext.h"
#include "lists/SearchScopeModel.h"
#include "model/IEntityModel.h"
#include "programme/ListSessionsBaseViewController.h"
#include "programme/ProgrammeListDelegate.h"
#include "programme/SubactivityCell.h"
#include "uikit/DeviceProfile.h"
#include "uikit/UITableView.h"

namespace {

using benchmeeting::Meeting;

constexpr const char* kProgrammeSearchText = "Climate";

Meeting& loadedProgrammeMeeting(const benchmark::State& state) {
    return benchmeeting::loadedMeeting(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
}

// The Programme list of the phone storyboard in a key window, on its first day.
struct OpenProgramme : benchmeeting::PhoneListScene<ListSessionsBaseViewController, ProgrammeListDelegate> {
    OpenProgramme() { firstDay(); }
    void firstDay() {
        if (delegate->allDays().empty()) return;
        delegate->setCurrentDayString(delegate->allDays().front());
        list->updateUiContentBecauseItsNeeded();
    }
    int64_t rows() const {
        int64_t count = 0;
        for (const auto& section : list->sectionedDataSourceArray()) count += static_cast<int64_t>(section.size());
        return count;
    }
};

void BM_AdditionalDataRefresh(benchmark::State& state) {
    loadedProgrammeMeeting(state);
    OpenProgramme open;
    for (auto _ : state) open.delegate->refreshAdditionalDataSourceForCoreDataStack(open.list->coreDataStack(), *open.list);
    state.counters["days"] = static_cast<double>(open.delegate->allDays().size());
}

void BM_AdditionalDataRefreshAfterSave(benchmark::State& state) {
    auto& meeting = loadedProgrammeMeeting(state);
    OpenProgramme open;
    int64_t round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const std::string note = "Note " + std::to_string(++round);
        const bool saved = benchmeeting::workerSave(meeting, [&note](coredata::ManagedObjectContext& context) {
            auto row = coredata::EntityDescription::insertNewObjectForEntityForName("QVACoreDataParticipantNote", context);
            row->setValue(foundation::Value("bench-participant"), "participantId");
            row->setValue(foundation::Value(note), "note");
        });
        if (!saved) {
            state.SkipWithError("the note was not saved");
            break;
        }
        state.ResumeTiming();
        open.delegate->refreshAdditionalDataSourceForCoreDataStack(open.list->coreDataStack(), *open.list);
    }
}

void BM_DayRows(benchmark::State& state) {
    loadedProgrammeMeeting(state);
    OpenProgramme open;
    for (auto _ : state) open.list->initDataSource();
    if (open.rows() == 0) state.SkipWithError("no rows");
    state.counters["rows"] = static_cast<double>(open.rows());
}

void BM_FillAndMeasureDay(benchmark::State& state) {
    loadedProgrammeMeeting(state);
    OpenProgramme open;
    auto table = open.list->tableView();
    for (auto _ : state) {
        double total = 0;
        const auto& sections = open.list->sectionedDataSourceArray();
        for (size_t s = 0; s < sections.size(); ++s)
            for (size_t r = 0; r < sections[s].size(); ++r)
                total += open.list
                             ->tableViewHeightForRowAtIndexPath(
                                 *table, uikit::NSIndexPath::indexPathForRow(static_cast<int64_t>(r),
                                                                             static_cast<int64_t>(s)))
                             .value_or(0);
        benchmark::DoNotOptimize(total);
    }
    state.counters["rows"] = static_cast<double>(open.rows());
}

void BM_NextDayPress(benchmark::State& state) {
    loadedProgrammeMeeting(state);
    OpenProgramme open;
    auto table = open.list->tableView();
    for (auto _ : state) {
        open.list->nextDayButtonPressed();
        table->layoutIfNeeded();
        state.PauseTiming();
        open.firstDay();
        state.ResumeTiming();
    }
    state.counters["rows"] = static_cast<double>(open.rows());
}

void searchIn(benchmark::State& state, const std::string& scopeName) {
    loadedProgrammeMeeting(state);
    OpenProgramme open;
    const auto scopes = open.delegate->searchScopes();
    int64_t scope = -1;
    for (size_t i = 0; i < scopes.size(); ++i)
        if (scopes[i]->displayName() == scopeName) scope = static_cast<int64_t>(i);
    if (scope < 0) {
        state.SkipWithError("no such scope");
        return;
    }
    for (auto _ : state) open.list->filterContentForSearchText(kProgrammeSearchText, scope);
    state.counters["hits"] = static_cast<double>(open.list->searchDataSourceArray().size());
}

void BM_SearchTitle(benchmark::State& state) { searchIn(state, "Title"); }
void BM_SearchAll(benchmark::State& state) { searchIn(state, "All"); }

void programmeSizes(benchmark::internal::Benchmark* b) {
    b->Args({3000, 15000})->Args({6000, 30000})->Unit(benchmark::kMillisecond);
}

}  // namespace

BENCHMARK(BM_AdditionalDataRefresh)->Apply(programmeSizes)->Iterations(10);
BENCHMARK(BM_AdditionalDataRefreshAfterSave)->Apply(programmeSizes)->Iterations(10);
BENCHMARK(BM_DayRows)->Apply(programmeSizes)->Iterations(10);
BENCHMARK(BM_FillAndMeasureDay)->Apply(programmeSizes)->Iterations(10);
BENCHMARK(BM_NextDayPress)->Apply(programmeSizes)->Iterations(10);
BENCHMARK(BM_SearchTitle)->Apply(programmeSizes)->Iterations(5);
BENCHMARK(BM_SearchAll)->Apply(programmeSizes)->Iterations(5);

int main(int argc, char** argv) {
    benchmeeting::BenchApp app("qva-programme-lists-bench");
    if (!app.ok()) return 1;
    uikit::DeviceProfile::apply(uikit::DeviceProfile::iPhone6());
    AppStoryboards::registerStoryboards();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
