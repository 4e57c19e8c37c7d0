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
// - ParticipantRevisionListing: the participants' "?fields=id,revision"
//   listing alone, every page one after another: the longest chain of
//   round trips an unchanged delta waits for, with nothing compared or
//   written.
// - DeltaUnchanged / Delta5Percent: the delta update of a complete store
//   when nothing changed, and after 5% of the items of every revision-
//   compared kind got a new revision on the service.
// - DeltaFloor: the unchanged delta's floor: the revision listings it asks
//   for, all at once, each followed page by page with a bare libcurl handle
//   on a thread of its own, nothing parsed or compared. Printed beside the
//   full download: no delta against this service, with its page size, can
//   take less.
// - DeltaStoreFloor: the same with what an unchanged delta cannot leave
//   out either: every page parsed into (id, revision) texts, the stored
//   (key, revision) of each listed kind read from the store's file with raw
//   SQLite, and each listing compared with them. The delta's ratios to both
//   floors are printed.
//
// - Floor: the floor the client is judged against. The same lists as the
//   service serves them (every page, fetched beforehand, not timed), read
//   with simdjson on demand and inserted into SQLite, one table per kind, in
//   one transaction. After the run, the ratios of FullDownload pause=0 and of
//   DeltaUnchanged to it are printed per size.
// - FloorOverHTTP: the floor with the transport the client cannot skip: the
//   same lists asked of the service (compressed, every list at once, page by
//   page) with bare libcurl, then parsed and inserted as Floor does. The
//   client's CPU of FullDownload pause=0 is printed against its CPU, each
//   less the service's.
// - FloorOverHTTPAsPagesEnd: the same with the least wall time: each page
//   parsed as soon as it has ended and inserted by one thread while the
//   others still arrive, into tables made from the schema known beforehand.
//   FullDownload pause=0's wall time is printed against it.
// - OccupancyBurst: the home screen's occupancy calls after a login, 134
//   session occupancies asked for all at once through the API client, until
//   the last has answered.
// - RepeatedFullDownloads: five full downloads in one process; the peak
//   memory after the first and after the fifth (run it alone to see the
//   download's own growth: --benchmark_filter=RepeatedFullDownloads), the
//   resident memory and the allocator's bytes in use after each (heap_MB:
//   growth there is memory still held, growth of the rest is the
//   allocator's spare).
//
// Counters: rows (items the service holds for the JSON calls), rows/s, and
// peak_MB, the process's peak resident memory so far (getrusage ru_maxrss;
// it only grows, so the sizes run smallest first); pause_s, the row
// throttle's total sleep in a normal (throttled) run of the same work;
// service_cpu_ms, the part of the CPU time an iteration spent in the
// in-process service's own threads, read from their clocks (the printed
// "client's CPU" leaves it out). CPU times are the whole process's (every
// thread).
#include <benchmark/benchmark.h>
#include <curl/curl.h>
#include <httplib.h>
#include <malloc.h>
#include <sqlite3.h>
#include <stdlib.h>
#include <strings.h>
#include <sys/resource.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <numeric>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

#include "settings/ApplicationSettingsStore.h"
#include "api/QVAApiManager.h"
#include "api/QVAApiManagerDelta.h"
#include "api/QVAApiManager_FullDownload.h"
#include "dispatch/Group.h"
#include "dispatch/Queue.h"
#include "foundation/ApplicationHome.h"
#include "foundation/Log.h"
#include "foundation/RunLoop.h"
#include "foundation/SimdJSON.h"
#include "model/ModelClass.h"
#include "model/QVAEvent.h"
#include "model/QVAUserAccount.h"
#include "service/MeetingGenerator.h"
#include "service/MeetingService.h"
#include "coredata/FetchRequest.h"
#include "coredata/SortDescriptor.h"
#include "model/QVACoreDataSession.h"
#include "store/CoreDataStack.h"
#include "store/FetchRequestUtils.h"
#include "model/EntityClass.h"
#include "store/StorageManager.h"

#include "BenchMeeting.h"

namespace {

using foundation::Value;
using testservice::MeetingKind;
using testservice::MeetingService;

using namespace benchmeeting;

double peakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// The resident memory now, after the allocator has handed back what it can.
double residentMegabytes() {
    malloc_trim(0);
    long pages = 0, resident = 0;
    if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) resident = 0;
        std::fclose(statm);
    }
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

// The bytes the allocator has handed out and not had back, every arena's:
// what the process still holds, apart from what the allocator keeps spare.
double heapInUseMegabytes() {
    struct mallinfo2 info = mallinfo2();
    return static_cast<double>(info.uordblks + info.hblkhd) / (1024.0 * 1024.0);
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

// The CPU the in-process service's own threads use from here on, per
// iteration, read from their clocks. Made just before a benchmark's loop
// (nothing untimed there asks the service anything); subtracted from the
// process's CPU, what is left is the client's own.
class ServiceCPU {
public:
    explicit ServiceCPU(const Meeting& meeting) : server_(meeting.service->server()), start_(server_.cpuSeconds()) {}
    void setCounter(benchmark::State& state) const {
        const double iterations = static_cast<double>(std::max<benchmark::IterationCount>(state.iterations(), 1));
        state.counters["service_cpu_ms"] = 1000 * (server_.cpuSeconds() - start_) / iterations;
    }

private:
    const testservice::TestServer& server_;
    const double start_;
};

// Pauses the row throttle would have taken while it was switched off.
std::atomic<int64_t> skippedPauses{0};

void setRowPause(bool appPause) {
    if (appPause)
        StorageManager::sharedStorageManager().setRowPauseForTesting(nullptr);
    else
        StorageManager::sharedStorageManager().setRowPauseForTesting([] { ++skippedPauses; });
}

// The sleep the throttle adds to one iteration of a pause-free run.
void setPauseCounter(benchmark::State& state, int64_t pausesBefore) {
    const double iterations = static_cast<double>(std::max<int64_t>(1, state.iterations()));
    const double perIteration = static_cast<double>(skippedPauses - pausesBefore) / iterations;
    state.counters["pause_s"] = perIteration * StorageManager::rowPauseSeconds();
}

void BM_FullDownload(benchmark::State& state) {
    auto& meeting = meetingOfSize(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    useMeeting(meeting);
    setRowPause(state.range(2) != 0);
    const int64_t pausesBefore = skippedPauses;
    const ServiceCPU service(meeting);
    for (auto _ : state) {
        state.PauseTiming();
        freshStore(meeting);
        meeting.service->clearRequestLog();
        state.ResumeTiming();
        if (!fullDownload(meeting)) {
            state.SkipWithError("the full download failed");
            break;
        }
    }
    meeting.loaded = true;
    setRowPause(false);
    setCounters(state, meeting);
    service.setCounter(state);
    if (state.range(2) == 0) setPauseCounter(state, pausesBefore);
}

// Five full downloads into fresh stores, one after another; the peak memory
// after the first and after the last, and the resident memory after each
// (once the allocator has returned what it can). A download that leaves
// nothing behind but the store grows neither after the first.
void BM_RepeatedFullDownloads(benchmark::State& state) {
    auto& meeting = meetingOfSize(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    useMeeting(meeting);
    setRowPause(false);
    double afterFirst = 0, residentAfterFirst = 0, heapAfterFirst = 0;
    for (auto _ : state) {
        for (int i = 0; i < 5; ++i) {
            freshStore(meeting);
            meeting.service->clearRequestLog();
            if (!fullDownload(meeting)) {
                state.SkipWithError("the full download failed");
                break;
            }
            if (i == 0 && afterFirst == 0) {
                afterFirst = peakMegabytes();
                residentAfterFirst = residentMegabytes();
                heapAfterFirst = heapInUseMegabytes();
            }
        }
    }
    meeting.loaded = true;
    setCounters(state, meeting);
    state.counters["peak_MB_after_1"] = afterFirst;
    state.counters["peak_MB_after_5"] = peakMegabytes();
    state.counters["rss_MB_after_1"] = residentAfterFirst;
    state.counters["rss_MB_after_5"] = residentMegabytes();
    state.counters["heap_MB_after_1"] = heapAfterFirst;
    state.counters["heap_MB_after_5"] = heapInUseMegabytes();
}

// The meeting's sessions in the programme's order, on the main-queue context,
// as the first screen after a download reads them: the time is the first
// fetch after a fresh full download; warm_ms the mean of five more;
// settled_ms a first fetch after another download once the store's last
// write has reached the file.
void BM_SessionsFetchAfterDownload(benchmark::State& state) {
    auto& meeting = meetingOfSize(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    useMeeting(meeting);
    setRowPause(false);
    auto fetchSessions = [&] {
        auto& store = StorageManager::sharedStorageManager();
        auto stack = store.getCoreDataStackForAuthToken(meeting.token(), meeting.eventId());
        auto request = std::make_shared<coredata::FetchRequest>(QVACoreDataSession::kEntityName);
        request->setSortDescriptors(FetchRequestUtils::getSimpleSessionsListSortDescriptos());
        return store.executeFetchRequestAndWait(request, stack->managedObjectContextMainQueue()).size();
    };
    double warmSeconds = 0, settledSeconds = 0;
    int warmRuns = 0, settledRuns = 0;
    for (auto _ : state) {
        freshStore(meeting);
        if (!fullDownload(meeting)) {
            state.SkipWithError("the full download failed");
            break;
        }
        auto start = std::chrono::steady_clock::now();
        size_t first = fetchSessions();
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        if (first != static_cast<size_t>(meeting.service->items(MeetingKind::Sessions).size()))
            state.SkipWithError("the fetch missed sessions");
        for (int i = 0; i < 5; ++i, ++warmRuns) {
            auto again = std::chrono::steady_clock::now();
            benchmark::DoNotOptimize(fetchSessions());
            warmSeconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - again).count();
        }
        freshStore(meeting);
        if (!fullDownload(meeting)) break;
        auto stack = StorageManager::sharedStorageManager().getCoreDataStackForAuthToken(meeting.token(),
                                                                                         meeting.eventId());
        stack->managedObjectContextBackgroundQueue()->performBlockAndWait([] {});
        auto settled = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(fetchSessions());
        settledSeconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - settled).count();
        ++settledRuns;
    }
    meeting.loaded = true;
    state.counters["warm_ms"] = warmRuns ? 1000 * warmSeconds / warmRuns : 0;
    state.counters["settled_ms"] = settledRuns ? 1000 * settledSeconds / settledRuns : 0;
}

// ---- the floor ------------------------------------------------------------------

// Every page of every list as the service sends it, per kind.
struct ServedLists {
    std::vector<std::pair<std::string, std::vector<std::string>>> pages;  // table name, bodies
};

const ServedLists& servedLists(Meeting& meeting) {
    static std::map<const Meeting*, ServedLists> cache;
    auto found = cache.find(&meeting);
    if (found != cache.end()) return found->second;
    ServedLists lists;
    httplib::Client client(meeting.service->baseURL());
    const httplib::Headers headers = {{"Authorization", "Bearer " + meeting.service->demoToken()}};
    const std::string prefix = meeting.service->baseURL();
    for (auto kind : testservice::allMeetingKinds()) {
        std::vector<std::string> bodies;
        std::string next = "/api/" + std::string(QVAApiManager::kAPIVersion) + "/" +
                           testservice::listPath(kind, meeting.service->eventId());
        std::set<std::string> seen;
        while (!next.empty() && seen.insert(next).second) {
            auto reply = client.Get(next, headers);
            if (!reply || reply->status != 200) abort();
            // With the parser's room past the text, as the client keeps its bodies.
            std::string body;
            body.reserve(reply->body.size() + foundation::simdjsontext::kPadding);
            body.assign(reply->body);
            bodies.push_back(std::move(body));
            next.clear();
            const std::string link = reply->get_header_value("Link");
            if (link.size() > 2 && link.front() == '<') {
                std::string address = link.substr(1, link.find('>') - 1);
                if (address.compare(0, prefix.size(), prefix) == 0) next = address.substr(prefix.size());
            }
        }
        lists.pages.emplace_back(testservice::fixtureName(kind), std::move(bodies));
    }
    return cache.emplace(&meeting, std::move(lists)).first->second;
}

namespace od = simdjson::ondemand;

// A read the floor's own, well-formed pages cannot fail.
template <typename T>
T read(simdjson::simdjson_result<T>&& result) {
    T value;
    if (std::move(result).get(value) != simdjson::SUCCESS) abort();
    return value;
}

// A page's items, read where the body lies when its buffer has the parser's
// room past the text (as the served pages have), else from one copy.
od::array itemsOf(const std::string& body) {
    static thread_local od::document page;
    page = read(foundation::simdjsontext::iterate(body, body.capacity()));
    return read(page.get_array());
}

// The columns of a list, sorted: a page's item keys are looked up in them.
using Columns = std::set<std::string, std::less<>>;

// Adds the top-level keys of a page's items to a list's columns.
void addColumnsOf(const std::string& body, Columns& columns) {
    for (auto item : itemsOf(body))
        for (auto field : read(item.get_object())) {
            const std::string_view key = read(field.unescaped_key());
            if (columns.find(key) == columns.end()) columns.emplace(key);
        }
}

// Creates a list's table, named after its kind, with those columns, and
// prepares its insert (null for a list without columns).
sqlite3_stmt* createTable(const std::string& table, const std::vector<std::string>& columns, sqlite3* db) {
    if (columns.empty()) return nullptr;
    std::string create = "CREATE TABLE \"" + table + "\" (", insert = "INSERT INTO \"" + table + "\" VALUES (";
    for (size_t i = 0; i < columns.size(); ++i) {
        create += (i ? ", \"" : "\"") + columns[i] + "\"";
        insert += i ? ", ?" : "?";
    }
    if (sqlite3_exec(db, (create + ")").c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) abort();
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, (insert + ")").c_str(), -1, &statement, nullptr) != SQLITE_OK) abort();
    return statement;
}

// Inserts a page's items, a column per key (nested values as their JSON
// text, a missing key as null). Returns the rows inserted.
int64_t insertPage(sqlite3_stmt* statement, const std::vector<std::string>& columns, const std::string& body) {
    int64_t rows = 0;
    for (auto item : itemsOf(body)) {
        sqlite3_clear_bindings(statement);
        for (auto field : read(item.get_object())) {
            const std::string_view key = read(field.unescaped_key());
            const auto column = std::lower_bound(columns.begin(), columns.end(), key);
            if (column == columns.end() || *column != key) abort();
            const int at = static_cast<int>(column - columns.begin()) + 1;
            od::value value = read(field.value());
            auto bindText = [statement, at](std::string_view text) {
                sqlite3_bind_text(statement, at, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
            };
            switch (read(value.type())) {
                case od::json_type::string: bindText(read(value.get_string())); break;
                case od::json_type::boolean: sqlite3_bind_int(statement, at, read(value.get_bool()) ? 1 : 0); break;
                case od::json_type::number: {
                    Value number;
                    if (foundation::simdjsontext::number(value, number) != simdjson::SUCCESS) abort();
                    if (number.isInteger()) sqlite3_bind_int64(statement, at, number.integerValue());
                    else sqlite3_bind_double(statement, at, number.doubleValue());
                    break;
                }
                case od::json_type::null: sqlite3_bind_null(statement, at); break;
                case od::json_type::array: bindText(read(read(value.get_array()).raw_json())); break;
                case od::json_type::object: bindText(read(read(value.get_object()).raw_json())); break;
            }
        }
        if (sqlite3_step(statement) != SQLITE_DONE) abort();
        sqlite3_reset(statement);
        ++rows;
    }
    return rows;
}

// Reads every page and inserts its items into `database`, one table per kind
// (createTable, insertPage), all in one transaction: each page is read twice
// on demand, for its keys and then for its values, with no tree between. Returns the rows inserted.
int64_t parseAndInsert(const ServedLists& lists, sqlite3* db) {
    int64_t rows = 0;
    if (sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr) != SQLITE_OK) abort();
    for (const auto& [table, bodies] : lists.pages) {
        Columns keys;
        for (const auto& body : bodies) addColumnsOf(body, keys);
        const std::vector<std::string> columns(keys.begin(), keys.end());
        sqlite3_stmt* statement = createTable(table, columns, db);
        if (!statement) continue;
        for (const auto& body : bodies) rows += insertPage(statement, columns, body);
        sqlite3_finalize(statement);
    }
    if (sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK) abort();
    return rows;
}

// Untimed, before a floor's run: its database gone and, for a floor that asks
// the service, the service's log of requests emptied.
void restartFloor(benchmark::State& state, const std::string& path, const Meeting* served = nullptr) {
    state.PauseTiming();
    for (const char* suffix : {"", "-wal", "-shm"}) std::filesystem::remove(path + suffix);
    if (served) served->service->clearRequestLog();
    state.ResumeTiming();
}

// A floor's database, opened with the store's own settings.
sqlite3* openFloorDatabase(const std::string& path) {
    sqlite3* db = nullptr;
    if (sqlite3_open(path.c_str(), &db) != SQLITE_OK) abort();
    sqlite3_exec(db, "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr);
    sqlite3_exec(db, "PRAGMA synchronous=NORMAL", nullptr, nullptr, nullptr);
    return db;
}

// Each list's table name and its first page's address, in the order of the
// service's kinds (the order of servedLists).
std::vector<std::pair<std::string, std::string>> listAddresses(const Meeting& meeting) {
    std::vector<std::pair<std::string, std::string>> lists;
    for (auto kind : testservice::allMeetingKinds())
        lists.emplace_back(testservice::fixtureName(kind), meeting.service->baseURL() + "/api/" +
                                                               std::string(QVAApiManager::kAPIVersion) + "/" +
                                                               testservice::listPath(kind, meeting.service->eventId()));
    return lists;
}

void BM_Floor(benchmark::State& state) {
    auto& meeting = meetingOfSize(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    const auto& lists = servedLists(meeting);
    const std::string path = foundation::ApplicationHome::root() + "/floor.sqlite";
    int64_t rows = 0;
    for (auto _ : state) {
        restartFloor(state, path);
        sqlite3* db = openFloorDatabase(path);
        rows = parseAndInsert(lists, db);
        sqlite3_close(db);
    }
    if (rows != meeting.rows) state.SkipWithError("the floor inserted another number of rows");
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

// The home screen's occupancy calls, as many as it makes at 3,000/15,000 on
// the first day, started together.
void BM_OccupancyBurst(benchmark::State& state) {
    constexpr size_t kCalls = 134;
    auto& meeting = meetingOfSize(300, 1500);
    useMeeting(meeting);
    std::vector<std::string> ids;
    for (const auto& session : meeting.service->items(MeetingKind::Sessions)) {
        if (ids.size() == kCalls) break;
        ids.push_back(session["id"].stringValue());
    }
    for (auto _ : state) {
        size_t answered = 0, failed = 0;
        for (const auto& id : ids) {
            QVAApiManager::sharedApiManager().getSessionOccupancyForSubactivityId(
                id, meeting.eventId(), meeting.token(), [&](const foundation::ErrorPtr& error, const Value&) {
                    failed += error ? 1 : 0;
                    ++answered;
                });
        }
        if (!pumpUntil([&] { return answered == ids.size(); }) || failed > 0) {
            state.SkipWithError("occupancy calls failed");
            break;
        }
    }
    state.counters["calls"] = static_cast<double>(ids.size());
}

// The participants' revision listing alone ("?fields=id,revision", every
// page, nothing compared or written): the longest chain of pages a delta
// walks, one request after another.
void BM_ParticipantRevisionListing(benchmark::State& state) {
    auto& meeting = meetingOfSize(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    useMeeting(meeting);
    const std::string listing = "events/" + *meeting.eventId() + "/participants?fields=id,revision";
    size_t items = 0;
    for (auto _ : state) {
        bool done = false, failed = false;
        QVAApiManager::sharedApiManager().GETWithAuthentication(
            listing, meeting.token(), Value(), nullptr, [&](const foundation::ErrorPtr& error, const Value& result) {
                failed = error != nullptr;
                items = result.array() ? result.array()->size() : 0;
                done = true;
            });
        if (!pumpUntil([&] { return done; }) || failed) {
            state.SkipWithError("the listing failed");
            break;
        }
    }
    state.counters["items"] = static_cast<double>(items);
}

void BM_DeltaUnchanged(benchmark::State& state) {
    auto& meeting = meetingOfSize(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    useMeeting(meeting);
    setRowPause(false);
    ensureLoaded(meeting);
    if (!delta(meeting)) state.SkipWithError("the first delta failed");
    setRowPause(state.range(2) != 0);
    const int64_t pausesBefore = skippedPauses;
    const ServiceCPU service(meeting);
    for (auto _ : state) {
        state.PauseTiming();
        meeting.service->clearRequestLog();
        state.ResumeTiming();
        if (!delta(meeting)) {
            state.SkipWithError("the delta failed");
            break;
        }
    }
    setRowPause(false);
    setCounters(state, meeting);
    service.setCounter(state);
    if (state.range(2) == 0) setPauseCounter(state, pausesBefore);
}

// The unchanged delta's floor: the revision listings a delta asks for (the
// first pages of its "?fields=" listings, as the service logged them), each
// followed page by page by its "Link" over a bare libcurl handle on a thread
// of its own, all at once as the delta's group starts them; nothing parsed,
// nothing read from the store. The longest listing's round trips, one after
// another, bound what any delta against this service can take.
// With `bodies`, every page's inflated body is kept there; with `onPage`,
// every page's body is handed to it as soon as the page has ended, and not
// kept.
size_t followListing(const std::string& address, const std::string& authorization,
                     std::vector<std::string>* bodies = nullptr,
                     const std::function<void(const std::string& body)>& onPage = nullptr) {
    std::vector<std::string> pageBody;
    if (onPage) bodies = &pageBody;
    struct Head {
        static size_t line(char* bytes, size_t size, size_t count, void* next) {
            std::string_view text(bytes, size * count);
            if (text.size() > 6 && strncasecmp(text.data(), "Link: <", 7) == 0)
                *static_cast<std::string*>(next) = std::string(text.substr(7, text.find('>') - 7));
            return size * count;
        }
        static size_t body(char*, size_t size, size_t count, void*) { return size * count; }
        static size_t keep(char* bytes, size_t size, size_t count, void* into) {
            static_cast<std::vector<std::string>*>(into)->back().append(bytes, size * count);
            return size * count;
        }
    };
    CURL* easy = curl_easy_init();
    curl_slist* headers = curl_slist_append(nullptr, authorization.c_str());
    std::string next;
    curl_easy_setopt(easy, CURLOPT_HTTPHEADER, headers);
    curl_easy_setopt(easy, CURLOPT_ACCEPT_ENCODING, "gzip,deflate");
    curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, &Head::line);
    curl_easy_setopt(easy, CURLOPT_HEADERDATA, &next);
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, bodies ? &Head::keep : &Head::body);
    if (bodies) curl_easy_setopt(easy, CURLOPT_WRITEDATA, bodies);
    size_t pages = 0;
    std::set<std::string> seen;
    for (std::string url = address; !url.empty() && seen.insert(url).second; ++pages) {
        next.clear();
        if (bodies) bodies->emplace_back();
        curl_easy_setopt(easy, CURLOPT_URL, url.c_str());
        if (curl_easy_perform(easy) != CURLE_OK) abort();
        if (onPage) {
            onPage(pageBody.back());
            pageBody.clear();
        }
        url = next;
    }
    curl_slist_free_all(headers);
    curl_easy_cleanup(easy);
    return pages;
}

// The loaded meeting of the benchmark's size, and the first pages of the
// revision listings an unchanged delta asks for, as the service logged them
// (none when the delta failed, which the benchmark is told).
struct RevisionListings {
    Meeting& meeting;
    std::vector<std::string> paths;
};
RevisionListings revisionListings(benchmark::State& state) {
    RevisionListings listings{meetingOfSize(static_cast<int>(state.range(0)), static_cast<int>(state.range(1))), {}};
    auto& meeting = listings.meeting;
    useMeeting(meeting);
    setRowPause(false);
    ensureLoaded(meeting);
    meeting.service->clearRequestLog();
    if (!delta(meeting)) {
        state.SkipWithError("the delta failed");
        return listings;
    }
    for (const auto& request : meeting.service->requestLog())
        if (request.path.find("fields=") != std::string::npos && request.path.find("page=") == std::string::npos)
            listings.paths.push_back(request.path);
    return listings;
}

void BM_DeltaFloor(benchmark::State& state) {
    const auto [meeting, paths] = revisionListings(state);
    std::vector<std::string> listings;
    for (const auto& path : paths) listings.push_back(meeting.service->baseURL() + path);
    const std::string authorization = "Authorization: Bearer " + meeting.service->demoToken();
    size_t pages = 0, longestPages = 0;
    double longestSeconds = 0;
    const ServiceCPU service(meeting);
    for (auto _ : state) {
        std::vector<size_t> counts(listings.size());
        std::vector<double> seconds(listings.size());
        std::vector<std::thread> threads;
        for (size_t i = 0; i < listings.size(); ++i)
            threads.emplace_back([&, i] {
                const auto start = std::chrono::steady_clock::now();
                counts[i] = followListing(listings[i], authorization);
                seconds[i] = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            });
        for (auto& thread : threads) thread.join();
        pages = std::accumulate(counts.begin(), counts.end(), size_t(0));
        const size_t longest = size_t(std::max_element(seconds.begin(), seconds.end()) - seconds.begin());
        longestSeconds = seconds[longest];
        longestPages = counts[longest];
    }
    state.counters["listings"] = static_cast<double>(listings.size());
    state.counters["pages"] = static_cast<double>(pages);
    // The chain that ended last: what the delta's own longest chain compares
    // with.
    state.counters["longest_ms"] = 1000 * longestSeconds;
    state.counters["longest_pages"] = static_cast<double>(longestPages);
    service.setCounter(state);
}

// The floor with its transport: the lists of BM_Floor asked of the service
// as the client asks them (compressed, over one kept connection a list, every
// list at once on a thread of its own, followed page by page by its "Link"),
// then parsed and inserted as BM_Floor does. The client cannot do less for a
// download: its CPU less the service's is set against this floor's CPU less
// the service's. Its wall time is no floor (parsing waits for the last page).
void BM_FloorOverHTTP(benchmark::State& state) {
    auto& meeting = meetingOfSize(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    useMeeting(meeting);
    const std::string authorization = "Authorization: Bearer " + meeting.service->demoToken();
    const auto lists = listAddresses(meeting);
    const std::string path = foundation::ApplicationHome::root() + "/floor-http.sqlite";
    int64_t rows = 0;
    const ServiceCPU service(meeting);
    for (auto _ : state) {
        restartFloor(state, path, &meeting);
        ServedLists fetched;
        fetched.pages.resize(lists.size());
        std::vector<std::thread> threads;
        for (size_t i = 0; i < lists.size(); ++i) {
            fetched.pages[i].first = lists[i].first;
            threads.emplace_back([&, i] { followListing(lists[i].second, authorization, &fetched.pages[i].second); });
        }
        for (auto& thread : threads) thread.join();
        sqlite3* db = openFloorDatabase(path);
        rows = parseAndInsert(fetched, db);
        sqlite3_close(db);
    }
    if (rows != meeting.rows) state.SkipWithError("the floor over HTTP inserted another number of rows");
    setCounters(state, meeting);
    service.setCounter(state);
}

// The same floor with its wall time at its least: the tables made from the
// schema known beforehand, as a store's are; each list's thread hands every
// page over as soon as it has ended; one thread reads and inserts the pages
// in the order they ended, in one transaction, while the rest are still
// arriving (an on-demand reading is walked where it is read, so the reading
// moves to the inserting thread). What a bare client that fetches, parses and writes as the
// pages come takes.
void BM_FloorOverHTTPAsPagesEnd(benchmark::State& state) {
    auto& meeting = meetingOfSize(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    useMeeting(meeting);
    const std::string authorization = "Authorization: Bearer " + meeting.service->demoToken();
    struct List {
        std::string table, address;
        std::vector<std::string> columns;
    };
    std::vector<List> lists;
    for (auto& [table, address] : listAddresses(meeting)) lists.push_back({table, address, {}});
    const auto& served = servedLists(meeting).pages;
    for (size_t i = 0; i < lists.size(); ++i) {
        Columns keys;
        for (const auto& body : served[i].second) addColumnsOf(body, keys);
        lists[i].columns.assign(keys.begin(), keys.end());
    }
    const std::string path = foundation::ApplicationHome::root() + "/floor-http-pages.sqlite";
    int64_t rows = 0;
    const ServiceCPU service(meeting);
    for (auto _ : state) {
        restartFloor(state, path, &meeting);
        sqlite3* db = openFloorDatabase(path);
        if (sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr) != SQLITE_OK) abort();
        std::vector<sqlite3_stmt*> statements;
        for (const auto& list : lists) statements.push_back(createTable(list.table, list.columns, db));

        std::mutex mutex;
        std::condition_variable arrived;
        std::vector<std::pair<size_t, std::string>> pages;  // list, page body
        size_t listsEnded = 0;
        std::vector<std::thread> threads;
        for (size_t i = 0; i < lists.size(); ++i)
            threads.emplace_back([&, i] {
                followListing(lists[i].address, authorization, nullptr, [&](const std::string& body) {
                    std::lock_guard lock(mutex);
                    pages.emplace_back(i, body);
                    arrived.notify_one();
                });
                std::lock_guard lock(mutex);
                ++listsEnded;
                arrived.notify_one();
            });
        rows = 0;
        for (;;) {
            std::vector<std::pair<size_t, std::string>> taken;
            {
                std::unique_lock lock(mutex);
                arrived.wait(lock, [&] { return !pages.empty() || listsEnded == lists.size(); });
                if (pages.empty()) break;
                taken.swap(pages);
            }
            for (const auto& [list, page] : taken)
                if (statements[list]) rows += insertPage(statements[list], lists[list].columns, page);
        }
        for (auto* statement : statements) sqlite3_finalize(statement);
        if (sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK) abort();
        sqlite3_close(db);
        for (auto& thread : threads) thread.join();
    }
    if (rows != meeting.rows) state.SkipWithError("the pipelined floor over HTTP inserted another number of rows");
    setCounters(state, meeting);
    service.setCounter(state);
}

// The unchanged delta's floor with its store: BM_DeltaFloor's listings, the
// same bare libcurl handle and thread per listing, each page also read
// (simdjson on demand) into its (id, revision) texts; meanwhile the main thread
// reads the stored (key, revision) of each listed kind from the store's
// file with raw SQLite into a hash map; once every listing has ended, each
// is compared with its kind's map (new, changed and no longer listed ids).
// Nothing else: no whole reloads, no writes, no hand-overs between threads
// but the join. What no unchanged delta can go below once it has to know
// what it holds.

// A revision-compared kind: the end of its listing's path, its entity (its
// table is "Z" + the entity) and the model class whose selection property is
// the key. The longer ends first: "notes/participants" before "participants".
struct DeltaStoreFloorKind {
    const char* pathEnd;
    const char* entity;
    const char* modelClass;
};
const DeltaStoreFloorKind kDeltaStoreFloorKinds[] = {
    {"/notes/participants", "QVACoreDataParticipantNote", "QVAParticipantNote"},
    {"/notes/sessions", "QVACoreDataSessionNote", "QVASessionNote"},
    {"/messages/recipients", "QVACoreDataMessageRecipient", "QVAMessageRecipient"},
    {"/sessions/official", "QVACoreDataSession", "QVASession"},
    {"/my_agenda/invitations", "QVACoreDataAgendaInvitation", "QVAAgendaInvitation"},
    {"/my_agenda/responsibilities", "QVACoreDataAgendaResponsability", "QVAAgendaResponsibilities"},
    {"/my_agenda/selections", "QVACoreDataAgendaSelection", "QVAAgendaSelections"},
    {"/my_agenda/personal_entries", "QVACoreDataPersonalEntry", "QVAPersonalEntry"},
    {"/my_profile/delegates", "QVACoreDataMeetingDelegate", "QVAMeetingDelegate"},
    {"/my_profile/login_delegators", "QVACoreDataLoginDelegator", "QVALoginDelegator"},
    {"/participants", "QVACoreDataParticipant", "QVAParticipant"},
    {"/partners", "QVACoreDataPartner", "QVAPartner"},
    {"/organizations", "QVACoreDataOrganization", "QVAOrganization"},
    {"/rooms", "QVACoreDataRoom", "QVARoom"},
    {"/venues", "QVACoreDataVenue", "QVAVenue"},
    {"/events", "QVACoreDataEvent", "QVAEvent"},
};

const DeltaStoreFloorKind* deltaStoreFloorKindOf(const std::string& listing) {
    const std::string_view path = std::string_view(listing).substr(0, listing.find('?'));
    for (const auto& kind : kDeltaStoreFloorKinds)
        if (path.ends_with(kind.pathEnd)) return &kind;
    return nullptr;
}

// A JSON scalar as the text it compares by (a number's digits, a string's
// characters); nothing else reads as the same.
std::string deltaStoreFloorText(od::value value) {
    switch (read(value.type())) {
        case od::json_type::string: return std::string(read(value.get_string()));
        case od::json_type::number:
        case od::json_type::boolean: {
            // The token runs up to the next structural character, blanks included.
            const std::string_view token = value.raw_json_token();
            return std::string(token.substr(0, token.find_first_of(" \t\n\r")));
        }
        default: return std::string();
    }
}

// Follows a listing as followListing does, each page's body then read on
// demand into (id, revision) texts on the same thread.
std::vector<std::pair<std::string, std::string>> followAndParseListing(const std::string& address,
                                                                        const std::string& authorization) {
    std::vector<std::string> bodies;
    followListing(address, authorization, &bodies);
    std::vector<std::pair<std::string, std::string>> listed;
    for (const auto& page : bodies) {
        for (auto item : itemsOf(page)) {
            std::string id, revision;
            for (auto field : read(item.get_object())) {
                const std::string_view key = read(field.unescaped_key());
                if (key == "id") id = deltaStoreFloorText(read(field.value()));
                else if (key == "revision") revision = deltaStoreFloorText(read(field.value()));
            }
            listed.emplace_back(std::move(id), std::move(revision));
        }
    }
    return listed;
}

// The stored (key, revision) texts of an entity, read from the store's file.
std::unordered_map<std::string, std::string> deltaStoreFloorStored(sqlite3* db, const DeltaStoreFloorKind& kind) {
    std::unordered_map<std::string, std::string> stored;
    auto modelClass = ModelClass::named(kind.modelClass);
    if (!modelClass || !modelClass->coreDataSelectionPropertyName) abort();
    // A sub-entity's rows live in its root's table, told apart by Z_ENT.
    std::string root = kind.entity;
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, "SELECT Z_ROOT FROM Z_ENTITIES WHERE Z_NAME = ?", -1, &statement, nullptr) != SQLITE_OK)
        abort();
    sqlite3_bind_text(statement, 1, kind.entity, -1, SQLITE_STATIC);
    if (sqlite3_step(statement) == SQLITE_ROW) root = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
    sqlite3_finalize(statement);
    const std::string sql = "SELECT \"Z" + *modelClass->coreDataSelectionPropertyName + "\", ZREVISION FROM \"Z" +
                            root + "\" WHERE Z_ENT = (SELECT Z_ENT FROM Z_ENTITIES WHERE Z_NAME = '" + kind.entity +
                            "')";
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK) {
        std::fprintf(stderr, "%s: %s\n", sql.c_str(), sqlite3_errmsg(db));
        abort();
    }
    while (sqlite3_step(statement) == SQLITE_ROW) {
        auto text = [statement](int column) {
            const unsigned char* bytes = sqlite3_column_text(statement, column);
            return bytes ? std::string(reinterpret_cast<const char*>(bytes),
                                       static_cast<size_t>(sqlite3_column_bytes(statement, column)))
                         : std::string();
        };
        stored.insert_or_assign(text(0), text(1));
    }
    sqlite3_finalize(statement);
    return stored;
}

void BM_DeltaStoreFloor(benchmark::State& state) {
    const auto [meeting, paths] = revisionListings(state);
    std::vector<std::string> listings;
    std::vector<const DeltaStoreFloorKind*> kinds;
    for (const auto& path : paths) {
        listings.push_back(meeting.service->baseURL() + path);
        kinds.push_back(deltaStoreFloorKindOf(path));
        if (!kinds.back()) {
            state.SkipWithError("a listing of an unknown kind");
            return;
        }
    }
    // The delta's writes have reached the file.
    auto stack = StorageManager::sharedStorageManager().getCoreDataStackForAuthToken(meeting.token(),
                                                                                     meeting.eventId());
    stack->managedObjectContextBackgroundQueue()->performBlockAndWait([] {});
    const std::string file = CoreDataStack::databaseUrlForAuthToken(meeting.token(), meeting.eventId());
    const std::string authorization = "Authorization: Bearer " + meeting.service->demoToken();
    size_t listed = 0, differing = 0;
    for (auto _ : state) {
        std::vector<std::vector<std::pair<std::string, std::string>>> pages(listings.size());
        std::vector<std::thread> threads;
        for (size_t i = 0; i < listings.size(); ++i)
            threads.emplace_back([&, i] { pages[i] = followAndParseListing(listings[i], authorization); });
        sqlite3* db = nullptr;
        if (sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) abort();
        std::vector<std::unordered_map<std::string, std::string>> stored;
        for (const auto* kind : kinds) stored.push_back(deltaStoreFloorStored(db, *kind));
        sqlite3_close(db);
        for (auto& thread : threads) thread.join();
        listed = differing = 0;
        for (size_t i = 0; i < listings.size(); ++i) {
            size_t found = 0;
            for (const auto& [id, revision] : pages[i]) {
                auto at = stored[i].find(id);
                if (at == stored[i].end() || at->second != revision) ++differing;
                else ++found;
            }
            differing += stored[i].size() - found;
            listed += pages[i].size();
        }
    }
    state.counters["listed"] = static_cast<double>(listed);
    state.counters["differing"] = static_cast<double>(differing);
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
    b->ArgNames({"sessions", "participants", "pause"})
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->MeasureProcessCPUTime()
        ->Iterations(2);
}

BENCHMARK(BM_RoundTrip)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);
BENCHMARK(BM_OccupancyBurst)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime()->Iterations(5);
BENCHMARK(BM_FetchJSON)->Apply([](auto* b) { sizes(b, false); });
BENCHMARK(BM_FetchJSONPagesOf500)->Apply([](auto* b) { sizes(b, false); });
BENCHMARK(BM_FetchModels)->Apply([](auto* b) { sizes(b, false); });
BENCHMARK(BM_Floor)->Apply([](auto* b) { sizes(b, false); });
BENCHMARK(BM_FloorOverHTTP)->Apply([](auto* b) { sizes(b, false); });
BENCHMARK(BM_FloorOverHTTPAsPagesEnd)->Apply([](auto* b) { sizes(b, false); });
BENCHMARK(BM_FullDownload)->Apply([](auto* b) { sizes(b, true); });
BENCHMARK(BM_ParticipantRevisionListing)->Apply([](auto* b) { sizes(b, false); });
BENCHMARK(BM_DeltaUnchanged)->Apply([](auto* b) { sizes(b, false); });
BENCHMARK(BM_DeltaFloor)->Apply([](auto* b) { sizes(b, false); });
BENCHMARK(BM_DeltaStoreFloor)->Apply([](auto* b) { sizes(b, false); });
BENCHMARK(BM_Delta5Percent)->Apply([](auto* b) { sizes(b, true); });
BENCHMARK(BM_SessionsFetchAfterDownload)
    ->Args({3000, 15000})
    ->ArgNames({"sessions", "participants"})
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(3);
BENCHMARK(BM_RepeatedFullDownloads)
    ->Args({3000, 15000})
    ->ArgNames({"sessions", "participants"})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime()
    ->Iterations(1);

// The console report, and the times of every run kept for the ratios.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    struct Times {
        double real = 0, cpu = 0;
        double clientCPU = 0;  // less the service's, when known
    };
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const auto& run : runs) {
            // Every repetition, or only their medians when just the
            // aggregates are reported.
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (run.error_occurred || (run.run_type != Run::RT_Iteration && !median)) continue;
            Times times{run.GetAdjustedRealTime(), run.GetAdjustedCPUTime(), run.GetAdjustedCPUTime()};
            // The counter is in ms, the times in the run's unit (ms here).
            if (auto service = run.counters.find("service_cpu_ms"); service != run.counters.end())
                times.clientCPU -= service->second.value;
            times_[run.benchmark_name()].push_back(times);
        }
        ConsoleReporter::ReportRuns(runs);
    }
    // "BM_Floor/sessions:300/participants:1500/pause:0/..." → the run's times;
    // with repetitions, each measure's median over them.
    std::optional<Times> find(const std::string& benchmark, const std::string& size) const {
        for (const auto& [name, repetitions] : times_) {
            if (name.rfind(benchmark + "/" + size + "/pause:0", 0) != 0) continue;
            auto median = [&](double Times::*measure) {
                std::vector<double> values;
                for (const auto& times : repetitions) values.push_back(times.*measure);
                std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
                return values[values.size() / 2];
            };
            return Times{median(&Times::real), median(&Times::cpu), median(&Times::clientCPU)};
        }
        return std::nullopt;
    }
    void printRatios() const {
        for (const char* size : {"sessions:300/participants:1500", "sessions:1000/participants:5000",
                                 "sessions:3000/participants:15000"}) {
            const auto floor = find("BM_Floor", size);
            const auto full = find("BM_FullDownload", size);
            const auto delta = find("BM_DeltaUnchanged", size);
            if (full && floor)
                std::printf("%s: full download / floor: wall %.2fx, CPU %.2fx (client's CPU %.2fx)\n", size,
                            full->real / floor->real, full->cpu / floor->cpu, full->clientCPU / floor->cpu);
            if (const auto overHTTP = find("BM_FloorOverHTTP", size); full && overHTTP)
                std::printf("%s: full download / floor over HTTP: client's CPU %.2fx (%.0f / %.0f ms)\n", size,
                            full->clientCPU / overHTTP->clientCPU, full->clientCPU, overHTTP->clientCPU);
            if (const auto asPagesEnd = find("BM_FloorOverHTTPAsPagesEnd", size); full && asPagesEnd)
                std::printf("%s: full download / floor over HTTP as pages end: wall %.2fx (%.0f / %.0f ms); "
                            "that floor / floor: wall %.2fx\n",
                            size, full->real / asPagesEnd->real, full->real, asPagesEnd->real,
                            floor ? asPagesEnd->real / floor->real : 0.0);
            if (full && delta)
                std::printf("%s: unchanged delta / full download: wall %.1f%%, CPU %.1f%% (client's CPU %.1f%%)\n",
                            size, 100 * delta->real / full->real, 100 * delta->cpu / full->cpu,
                            100 * delta->clientCPU / full->clientCPU);
            if (const auto deltaFloor = find("BM_DeltaFloor", size); deltaFloor && (full || delta)) {
                std::printf("%s: unchanged delta's floor: wall %.1f ms", size, deltaFloor->real);
                if (full) std::printf(", %.1f%% of the full download", 100 * deltaFloor->real / full->real);
                if (delta) std::printf(" (the delta takes %.2fx its floor)", delta->real / deltaFloor->real);
                std::printf("\n");
            }
            if (const auto storeFloor = find("BM_DeltaStoreFloor", size); storeFloor) {
                std::printf("%s: unchanged delta's floor with its store: wall %.1f ms", size, storeFloor->real);
                if (const auto deltaFloor = find("BM_DeltaFloor", size))
                    std::printf(", %.2fx the bare floor", storeFloor->real / deltaFloor->real);
                if (delta) std::printf(" (the delta takes %.2fx it)", delta->real / storeFloor->real);
                std::printf("\n");
            }
        }
    }

private:
    std::map<std::string, std::vector<Times>> times_;
};

}  // namespace

int main(int argc, char** argv) {
    benchmeeting::BenchApp app("qva-sync-bench");
    if (!app.ok()) return 1;
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printRatios();
    benchmark::Shutdown();
    return 0;
}
