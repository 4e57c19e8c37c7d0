// The participants list over generated meetings of 15,000 and 30,000
// participants (3,000 and 6,000 sessions), the demo user following 500,
// each downloaded once through the full download from the in-process
// meeting service. The list is the app's own scene with its
// ParticipantsListDelegate, in a key window, its table phone-sized
// (375 × 554).
// - Refresh: the delegate's lookups, the starred controller, the list
//   controller, sections, index titles and the table reload, the store
//   unchanged since the last (as when coming back from a participant's
//   details). Counters rows, starred, and cells (the cells one reload
//   configures).
// - RefreshAfterSave: the same refresh after a save of a session's note
//   (untimed; a kind the list does not watch): everything is read again.
// - FollowSaveToReload: a follow from the store save of the followed row to
//   the reloaded table with its scroll compensation (the service call is
//   not part of it); the row deleted again untimed.
// - SearchName: a search for "an" in the "Name" scope. Counter hits.
// - StepAcrossStarredEdge: one step next and one previous from the details
//   across the starred section's edge (the steps read the controllers and
//   the permission the refresh looked up, never the store).
// Targets on one 2.5 GHz core (Release): refresh 150 ms, follow 200 ms,
// search 60 ms, one step 2 ms with no fetch, at most 20 cells per reload;
// the refresh at 30,000 at most 2.2 times its 15,000 figure.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "BenchMeeting.h"
#include "app/AppStoryboards.h"
#include "coredata/EntityDescription.h"
#include "coredata/ManagedObjectContext.h"
#include "lists/IdIndexPair.h"
#include "lists/SearchScopeModel.h"
#include "model/QVACoreDataFollowedParticipant.h"
#include "model/QVACoreDataParticipant.h"
#include "people/ListParticipantsBaseViewController.h"
#include "people/ParticipantsListDelegate.h"
#include "store/CoreDataStack.h"
#include "uikit/DeviceProfile.h"
#include "uikit/UITableView.h"

namespace {

using benchmeeting::Meeting;
using uikit::NSIndexPath;

constexpr int kBenchFollows = 500;

Meeting& loadedParticipantsMeeting(const benchmark::State& state) {
    return benchmeeting::loadedMeeting(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)), kBenchFollows);
}

// The app's participants delegate, counting the cells it fills.
class CountingParticipantsDelegate : public ParticipantsListDelegate {
public:
    size_t configured = 0;
    void fetchedResultController(coredata::FetchedResultsController& controller, uikit::UITableViewCell& cell,
                                 const NSIndexPath& indexPath, BaseViewController& list) override {
        ++configured;
        ParticipantsListDelegate::fetchedResultController(controller, cell, indexPath, list);
    }
};

// The participants list of the phone storyboard in a key window, its table
// phone-sized.
struct OpenParticipants : benchmeeting::PhoneListScene<ListParticipantsBaseViewController, CountingParticipantsDelegate> {
    OpenParticipants() {
        list->view()->setFrame(graphics::Rect(0, 0, 375, 554));
        list->tableView()->setFrame(graphics::Rect(0, 0, 375, 554));
        list->updateUiContentBecauseItsNeeded();
        list->tableView()->layoutIfNeeded();
    }
    size_t starred() const {
        const auto& starred = list->favoritesFetchedResultsController();
        return starred ? starred->fetchedObjects().size() : 0;
    }
    size_t configured() const { return delegate->configured; }
};

void BM_Refresh(benchmark::State& state) {
    loadedParticipantsMeeting(state);
    OpenParticipants open;
    auto table = open.list->tableView();
    size_t cells = 0;
    for (auto _ : state) {
        const size_t before = open.configured();
        open.list->updateUiContentBecauseItsNeeded();
        table->sectionIndexTitles();
        table->layoutIfNeeded();
        state.PauseTiming();
        cells = open.configured() - std::min(before, open.configured());
        state.ResumeTiming();
    }
    const auto& controller = open.list->fetchedResultsController();
    state.counters["rows"] = static_cast<double>(controller ? controller->fetchedObjects().size() : 0);
    state.counters["starred"] = static_cast<double>(open.starred());
    state.counters["cells"] = static_cast<double>(cells);
}

void BM_RefreshAfterSave(benchmark::State& state) {
    auto& meeting = loadedParticipantsMeeting(state);
    OpenParticipants open;
    auto table = open.list->tableView();
    int64_t round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const std::string note = "Note " + std::to_string(++round);
        const bool saved = benchmeeting::workerSave(meeting, [&note](coredata::ManagedObjectContext& context) {
            auto row = coredata::EntityDescription::insertNewObjectForEntityForName("QVACoreDataSessionNote", context);
            row->setValue(foundation::Value("bench-session"), "sessionId");
            row->setValue(foundation::Value(note), "note");
        });
        if (!saved) {
            state.SkipWithError("the note was not saved");
            break;
        }
        state.ResumeTiming();
        open.list->updateUiContentBecauseItsNeeded();
        table->sectionIndexTitles();
        table->layoutIfNeeded();
    }
}

// The followed row written and saved on the main-queue context, as the
// follow call does before its request; the save's observer reloads.
void BM_FollowSaveToReload(benchmark::State& state) {
    loadedParticipantsMeeting(state);
    OpenParticipants open;
    auto table = open.list->tableView();
    auto context = open.list->coreDataStack()->managedObjectContextMainQueue();
    // A participant of the list who is not followed.
    std::string itemId;
    for (const auto& object : open.list->fetchedResultsController()->fetchedObjects()) {
        auto participant = object.objectAs<QVACoreDataParticipant>();
        if (participant && !open.delegate->participantIsFavorited(participant->itemId())) {
            itemId = participant->itemId().value_or("");
            break;
        }
    }
    table->setContentOffset({0, 20000});
    const size_t starredBefore = open.starred();
    for (auto _ : state) {
        const double height = table->contentSize().height;
        auto row = coredata::EntityDescription::insertNewObjectForEntityForName(QVACoreDataFollowedParticipant::kEntityName,
                                                                              *context);
        row->setValue(foundation::Value(itemId), "itemId");
        context->save();
        // The save reaches the list through its observer on the main loop.
        if (!benchmeeting::pumpUntil([&] { return open.starred() == starredBefore + 1; })) {
            state.SkipWithError("the save did not reload the list");
            break;
        }
        open.list->scrollTableViewWithYOffsetDifference(*table, table->contentSize().height - height);
        table->layoutIfNeeded();
        state.PauseTiming();
        context->deleteObject(row);
        context->save();
        benchmeeting::pumpUntil([&] { return open.starred() == starredBefore; });
        state.ResumeTiming();
    }
    state.counters["starred"] = static_cast<double>(open.starred());
}

void BM_SearchName(benchmark::State& state) {
    loadedParticipantsMeeting(state);
    OpenParticipants open;
    const auto scopes = open.delegate->searchScopes();
    int64_t scope = -1;
    for (size_t i = 0; i < scopes.size(); ++i)
        if (scopes[i]->displayName() == "Name") scope = static_cast<int64_t>(i);
    if (scope < 0) {
        state.SkipWithError("no Name scope");
        return;
    }
    for (auto _ : state) open.list->filterContentForSearchText(std::string("an"), scope);
    const auto& results = open.list->searchFetchedResultsController();
    state.counters["hits"] = static_cast<double>(results ? results->fetchedObjects().size() : 0);
}

void BM_StepAcrossStarredEdge(benchmark::State& state) {
    loadedParticipantsMeeting(state);
    OpenParticipants open;
    auto table = open.list->tableView();
    const auto lastStarred = NSIndexPath::indexPathForRow(static_cast<int64_t>(open.starred()) - 1, 0);
    auto [controller, path] = open.list->controllerAndIndexPathForTableIndexPath(*table, lastStarred);
    if (!controller) {
        state.SkipWithError("no starred section");
        return;
    }
    const auto id = open.delegate->getObjectIdForIndexPath(path, *controller);
    for (auto _ : state) {
        auto next = open.list->getNextIdIndexPathPairAndMoveSelectionInDirection(2, id, lastStarred);
        auto back = next ? open.list->getNextIdIndexPathPairAndMoveSelectionInDirection(1, next->objectId(), next->indexPath())
                         : nullptr;
        if (!back || back->objectId() != id) state.SkipWithError("the steps went astray");
    }
}

void participantsSizes(benchmark::internal::Benchmark* b) {
    b->Args({3000, 15000})->Args({6000, 30000})->Unit(benchmark::kMillisecond);
}

}  // namespace

BENCHMARK(BM_Refresh)->Apply(participantsSizes)->Iterations(10);
BENCHMARK(BM_RefreshAfterSave)->Apply(participantsSizes)->Iterations(10);
BENCHMARK(BM_FollowSaveToReload)->Apply(participantsSizes)->Iterations(10);
BENCHMARK(BM_SearchName)->Apply(participantsSizes)->Iterations(10);
BENCHMARK(BM_StepAcrossStarredEdge)->Args({3000, 15000})->Unit(benchmark::kMicrosecond)->Iterations(100);

int main(int argc, char** argv) {
    benchmeeting::BenchApp app("qva-participants-list-bench");
    if (!app.ok()) return 1;
    uikit::DeviceProfile::apply(uikit::DeviceProfile::iPhone6());
    AppStoryboards::registerStoryboards();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
