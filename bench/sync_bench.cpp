// The content sync against the local meeting service, in-process on
// 127.0.0.1, at three meeting sizes (sessions/participants): 300/1,500,
// 1,000/5,000 and 3,000/15,000.
//
// - FullDownload: the 22 calls of the first download into a fresh store, as
//   the app runs it, with the store front's pause between batches of rows
//   (pause=1) and without it (pause=0), which shows the engine's own cost.
// - FetchJSON / FetchModels: the same 21 JSON lists fetched page by page
//   and parsed, without (JSON only) and with the mapping to model objects,
//   nothing written. With FullDownload pause=0 they split the time into
//   network + JSON, model mapping, and store writes (row mapping + SQLite).
// - DeltaUnchanged / Delta5Percent: the delta update of a complete store
//   when nothing changed, and after 5% of the items of every revision-
//   compared kind got a new revision on the service.
//
// Counters: rows (items the service holds for the JSON calls), rows/s, and
// peak_MB, the process's peak resident memory so far (getrusage ru_maxrss;
// it only grows, so the sizes run smallest first).
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <sys/resource.h>

#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "settings/ApplicationSettingsStore.h"
#include "api/QVAApiManager.h"
#include "api/QVAApiManagerDelta.h"
#include "api/QVAApiManager_FullDownload.h"
#include "dispatch/Group.h"
#include "dispatch/Queue.h"
#include "foundation/ApplicationHome.h"
#include "foundation/Log.h"
#include "foundation/RunLoop.h"
#include "model/ModelClass.h"
#include "model/QVAEvent.h"
#include "model/QVAUserAccount.h"
#include "service/MeetingGenerator.h"
#include "service/MeetingService.h"
#include "store/CoreDataStack.h"
#include "store/EntityClass.h"
#include "store/StorageManager.h"

namespace {

using foundation::Value;
using testservice::MeetingKind;
using testservice::MeetingService;

constexpr double kTimeoutSeconds = 600;

double peakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

bool pumpUntil(const std::function<bool()>& done) { return foundation::RunLoop::main().runUntil(done, kTimeoutSeconds); }

// One generated meeting served in-process, with the account and meeting the
// app loads it for. Made once per size and kept for the whole run.
struct Meeting {
    std::unique_ptr<MeetingService> service;
    std::shared_ptr<QVAUserAccount> account;
    std::shared_ptr<QVAEvent> event;
    int64_t rows = 0;
    bool loaded = false;

    std::optional<std::string> token() const { return account->authenticationCode(); }
    std::optional<std::string> eventId() const { return event->itemId(); }
};

Meeting& meetingOfSize(int sessions, int participants) {
    static std::map<std::pair<int, int>, std::unique_ptr<Meeting>> meetings;
    auto& slot = meetings[{sessions, participants}];
    if (slot) return *slot;
    slot = std::make_unique<Meeting>();
    auto& meeting = *slot;
    meeting.service = std::make_unique<MeetingService>(
        // A seed per size: its own token and meeting id, so its own store.
        testservice::generateMeeting({.seed = static_cast<uint64_t>(sessions), .sessions = sessions, .participants = participants, .days = 4}));
    if (!meeting.service->start()) abort();
    // Each size has its own service; the API client follows the root.
    QVAApiManager::setServiceRoot(meeting.service->rootURL());
    meeting.account = std::make_shared<QVAUserAccount>();
    meeting.account->setAuthenticationCode(meeting.service->demoToken());
    bool done = false;
    QVAApiManager::sharedApiManager().getEventWithId(meeting.service->eventId(), meeting.token(),
                                                     [&](const foundation::ErrorPtr&, const Value& result) {
                                                         meeting.event = result.objectAs<QVAEvent>();
                                                         done = true;
                                                     });
    if (!pumpUntil([&] { return done; }) || !meeting.event) abort();
    for (auto kind : testservice::allMeetingKinds()) meeting.rows += meeting.service->items(kind).size();
    return meeting;
}

// The meeting's service, and its account and meeting current, as the loading
// screen leaves them (the messages reload of the delta reads them).
void useMeeting(Meeting& meeting) {
    QVAApiManager::setServiceRoot(meeting.service->rootURL());
    auto& settings = ApplicationSettingsStore::sharedApplicationSettingsStore();
    settings.setCurrentAccount(meeting.account);
    settings.setCurrentEvent(meeting.event);
}

void freshStore(const Meeting& meeting) {
    auto& store = StorageManager::sharedStorageManager();
    store.removePersistentStoreForAuthToken(meeting.token(), meeting.eventId());
    store.initCoreDataStackForAuthToken(meeting.token(), meeting.eventId(), nullptr);
}

bool fullDownload(const Meeting& meeting) {
    bool done = false;
    foundation::ErrorPtr failure;
    QVAApiManagerFullDownload::loadAllDataForAccount(meeting.account, meeting.event, nullptr,
                                                     [&](const foundation::ErrorPtr& error, const Value&) {
                                                         failure = error;
                                                         done = true;
                                                     });
    return pumpUntil([&] { return done; }) && !failure;
}

bool delta(const Meeting& meeting) {
    bool done = false;
    foundation::ErrorPtr failure;
    QVAApiManagerDelta::loadDeltaUpdatesForEventId(meeting.eventId(), meeting.token(),
                                                   [&](const foundation::ErrorPtr& error, const Value&) {
                                                       failure = error;
                                                       done = true;
                                                   });
    return pumpUntil([&] { return done; }) && !failure;
}

void setCounters(benchmark::State& state, const Meeting& meeting) {
    state.counters["rows"] = static_cast<double>(meeting.rows);
    state.counters["rows/s"] =
        benchmark::Counter(static_cast<double>(meeting.rows), benchmark::Counter::kIsIterationInvariantRate);
    state.counters["peak_MB"] = peakMegabytes();
}

void setRowPause(bool appPause) {
    if (appPause)
        StorageManager::sharedStorageManager().setRowPauseForTesting(nullptr);
    else
        StorageManager::sharedStorageManager().setRowPauseForTesting([] {});
}

void BM_FullDownload(benchmark::State& state) {
    auto& meeting = meetingOfSize(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    useMeeting(meeting);
    setRowPause(state.range(2) != 0);
    for (auto _ : state) {
        state.PauseTiming();
        freshStore(meeting);
        state.ResumeTiming();
        if (!fullDownload(meeting)) {
            state.SkipWithError("the full download failed");
            break;
        }
    }
    meeting.loaded = true;
    setRowPause(false);
    setCounters(state, meeting);
}

// The 21 JSON lists of the full download, all at once, nothing written.
void fetchLists(benchmark::State& state, bool mapToModels) {
    auto& meeting = meetingOfSize(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    useMeeting(meeting);
    auto calls = QVAApiManagerFullDownload::requestObjectsForAccount(meeting.account, meeting.event);
    for (auto _ : state) {
        size_t pending = 0;
        bool failed = false;
        for (const auto& call : calls) {
            if (!call || call->isAnXMLCall() || !call->serviceName()) continue;
            ++pending;
            QVAApiManager::sharedApiManager().GETWithAuthentication(
                *call->serviceName(), meeting.token(), call->paramsDictionary(),
                mapToModels ? call->modelClass() : nullptr, [&](const foundation::ErrorPtr& error, const Value&) {
                    failed = failed || error;
                    --pending;
                });
        }
        if (!pumpUntil([&] { return pending == 0; }) || failed) {
            state.SkipWithError("a list failed");
            break;
        }
    }
    setCounters(state, meeting);
}

void BM_FetchJSON(benchmark::State& state) { fetchLists(state, false); }

// The same with pages of 500 items instead of the service's 50: a tenth of
// the requests for the same rows, which shows what the round trips cost.
void BM_FetchJSONPagesOf500(benchmark::State& state) {
    auto& meeting = meetingOfSize(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    const size_t pageSize = meeting.service->pageSize();
    meeting.service->setPageSize(500);
    fetchLists(state, false);
    meeting.service->setPageSize(pageSize);
}

// One small list (one page) read again and again, one request at a time:
// the cost of a round trip through the API client and the local service.
void BM_RoundTrip(benchmark::State& state) {
    auto& meeting = meetingOfSize(300, 1500);
    useMeeting(meeting);
    const std::string venues = "events/" + *meeting.eventId() + "/venues";
    for (auto _ : state) {
        bool done = false;
        QVAApiManager::sharedApiManager().GETWithAuthentication(
            venues, meeting.token(), Value(), nullptr, [&](const foundation::ErrorPtr&, const Value&) { done = true; });
        if (!pumpUntil([&] { return done; })) {
            state.SkipWithError("no answer");
            break;
        }
    }
}
void BM_FetchModels(benchmark::State& state) { fetchLists(state, true); }

void ensureLoaded(Meeting& meeting) {
    if (meeting.loaded) return;
    freshStore(meeting);
    if (!fullDownload(meeting)) abort();
    meeting.loaded = true;
}

void BM_DeltaUnchanged(benchmark::State& state) {
    auto& meeting = meetingOfSize(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    useMeeting(meeting);
    setRowPause(false);
    ensureLoaded(meeting);
    if (!delta(meeting)) state.SkipWithError("the first delta failed");
    setRowPause(state.range(2) != 0);
    for (auto _ : state) {
        if (!delta(meeting)) {
            state.SkipWithError("the delta failed");
            break;
        }
    }
    setRowPause(false);
    setCounters(state, meeting);
}

// The kinds the delta compares by revision that the service serves.
const MeetingKind kRevisionKinds[] = {MeetingKind::Sessions, MeetingKind::Participants, MeetingKind::Partners,
                                      MeetingKind::Organizations, MeetingKind::Rooms, MeetingKind::Venues};

void BM_Delta5Percent(benchmark::State& state) {
    auto& meeting = meetingOfSize(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    useMeeting(meeting);
    setRowPause(false);
    ensureLoaded(meeting);
    setRowPause(state.range(2) != 0);
    int64_t changed = 0;
    for (auto _ : state) {
        state.PauseTiming();
        changed = 0;
        for (auto kind : kRevisionKinds) {
            auto items = meeting.service->items(kind);
            for (size_t i = 0; i < items.size(); i += 20, ++changed)
                meeting.service->bumpRevision(kind, items[i]["id"].stringValue());
        }
        state.ResumeTiming();
        if (!delta(meeting)) {
            state.SkipWithError("the delta failed");
            break;
        }
    }
    setRowPause(false);
    setCounters(state, meeting);
    state.counters["changed"] = static_cast<double>(changed);
}

void sizes(benchmark::internal::Benchmark* b, bool withPause) {
    for (auto [sessions, participants] : {std::pair{300, 1500}, {1000, 5000}, {3000, 15000}}) {
        if (withPause) b->Args({sessions, participants, 1});
        b->Args({sessions, participants, 0});
    }
    b->ArgNames({"sessions", "participants", "pause"})->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
}

BENCHMARK(BM_RoundTrip)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);
BENCHMARK(BM_FetchJSON)->Apply([](auto* b) { sizes(b, false); });
BENCHMARK(BM_FetchJSONPagesOf500)->Apply([](auto* b) { sizes(b, false); });
BENCHMARK(BM_FetchModels)->Apply([](auto* b) { sizes(b, false); });
BENCHMARK(BM_FullDownload)->Apply([](auto* b) { sizes(b, true); });
BENCHMARK(BM_DeltaUnchanged)->Apply([](auto* b) { sizes(b, false); });
BENCHMARK(BM_Delta5Percent)->Apply([](auto* b) { sizes(b, true); });

}  // namespace

int main(int argc, char** argv) {
    (void)foundation::RunLoop::main();  // this thread is the app's main thread
    std::string home = (std::filesystem::temp_directory_path() / "qva-sync-bench-XXXXXX").string();
    if (!::mkdtemp(home.data())) return 1;
    foundation::ApplicationHome::setRoot(home);
    registerModelClasses();
    registerEntityClasses();
    // The app logs every call and write; the console is not what is measured.
    foundation::setLogSink([](const std::string&) {});
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(home);
    return 0;
}
