// The object store against raw SQLite: 20,000 inserts of a 25-attribute row
// saved worker → main → root, a 2,000-row sorted fetch by predicate, a
// 3,000-row fetch sorted by three keys and a 15,000-row dictionary fetch of
// two properties, each on the main-queue context; beside each, SQLite doing
// the same work directly (one transaction, one prepared statement). The
// ratio of the pairs is the cost of the context chain and the managed
// objects.
//
// The inserts have a second floor, raw SQLite binding rows it holds until
// the commit, as the store must (BM_RawSQLiteInsert20000HeldRows).
//
// Neither side of the insert pair has the WAL's checkpoint in its timed part:
// the store leaves it to a connection of its own after the commit, so raw
// SQLite's automatic checkpoint, which would copy the whole WAL inside its
// COMMIT, is switched off there and run untimed after the inserts.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <string>

#include "coredata/ManagedObjectContext.h"
#include "coredata/ManagedObjectModel.h"
#include "coredata/PersistentStoreCoordinator.h"

namespace {

using coredata::AttributeType;
using foundation::Value;

constexpr int kRows = 20000;
constexpr int kGroups = 10;  // rows per group: 2,000

struct TempDir {
    std::string path;
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "qva-coredata-bench-XXXXXX").string();
        path = ::mkdtemp(pattern.data());
    }
    ~TempDir() { std::filesystem::remove_all(path); }
};

// 15 strings, 4 Integer 32, 2 Booleans, 2 doubles, 1 Integer 64, 1 date.
std::vector<coredata::AttributeDescription> attributes() {
    std::vector<coredata::AttributeDescription> a;
    for (int i = 0; i < 15; ++i) a.push_back({"text" + std::to_string(i), AttributeType::String});
    for (int i = 0; i < 4; ++i) a.push_back({"number" + std::to_string(i), AttributeType::Integer32});
    a.push_back({"flag0", AttributeType::Boolean});
    a.push_back({"flag1", AttributeType::Boolean});
    a.push_back({"real0", AttributeType::Double});
    a.push_back({"real1", AttributeType::Double});
    a.push_back({"serial", AttributeType::Integer64});
    a.push_back({"stamp", AttributeType::Date});
    a[0].name = "name";
    a[4].name = "group";
    a[4].type = AttributeType::Integer32;
    return a;
}

Value valueFor(const coredata::AttributeDescription& a, int row) {
    switch (a.type) {
        case AttributeType::String: return Value(a.name + " of row " + std::to_string((row * 7919) % kRows));
        case AttributeType::Integer32: return Value(a.name == "group" ? row % kGroups : row);
        case AttributeType::Boolean: return Value(row % 2 == 0);
        case AttributeType::Double: return Value(row * 0.25);
        case AttributeType::Integer64: return Value(int64_t(row) << 20);
        default: return Value(foundation::Date(1000.0 * row));
    }
}

struct Stack {
    coredata::CoordinatorPtr coordinator;
    coredata::ContextPtr root, main, worker;
    explicit Stack(const std::string& path) {
        auto model = std::make_shared<coredata::ManagedObjectModel>("bench");
        model->addEntity("Row", "", attributes());
        coordinator = coredata::PersistentStoreCoordinator::create(model);
        coordinator->addPersistentStore(path);
        root = coredata::ManagedObjectContext::create(coredata::ConcurrencyType::PrivateQueue);
        root->setPersistentStoreCoordinator(coordinator);
        main = coredata::ManagedObjectContext::create(coredata::ConcurrencyType::MainQueue);
        main->setParentContext(root);
        worker = coredata::ManagedObjectContext::create(coredata::ConcurrencyType::PrivateQueue);
        worker->setParentContext(main);
    }
    void insertAll(int rows = kRows) {
        auto attrs = attributes();
        worker->performBlockAndWait([&] {
            for (int row = 0; row < rows; ++row) {
                auto object = worker->insertNewObject("Row");
                for (const auto& a : attrs) object->setValue(valueFor(a, row), a.name);
            }
            worker->save();
        });
        main->save();
        root->performBlockAndWait([&] { root->save(); });
    }
};

sqlite3* openRaw(const std::string& path) {
    sqlite3* db = nullptr;
    sqlite3_open(path.c_str(), &db);
    sqlite3_exec(db, "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL", nullptr, nullptr, nullptr);
    std::string create = "CREATE TABLE IF NOT EXISTS t (pk INTEGER PRIMARY KEY";
    for (const auto& a : attributes()) create += ", \"" + a.name + "\"";
    sqlite3_exec(db, (create + ")").c_str(), nullptr, nullptr, nullptr);
    return db;
}

// Every row the statement gives, each column as the value a row object
// would hold; the statement is reset for the next run.
std::vector<std::vector<Value>> readRows(sqlite3_stmt* stmt) {
    std::vector<std::vector<Value>> rows;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        std::vector<Value> row;
        for (int i = 0; i < sqlite3_column_count(stmt); ++i) {
            switch (sqlite3_column_type(stmt, i)) {
                case SQLITE_TEXT: row.emplace_back(std::string(reinterpret_cast<const char*>(sqlite3_column_text(stmt, i)))); break;
                case SQLITE_FLOAT: row.emplace_back(sqlite3_column_double(stmt, i)); break;
                default: row.emplace_back(int64_t(sqlite3_column_int64(stmt, i))); break;
            }
        }
        rows.push_back(std::move(row));
    }
    sqlite3_reset(stmt);
    return rows;
}

// Binds a row object's value as the raw inserts store it: texts as text,
// reals and dates as reals, the rest as integers.
void bindRawValue(sqlite3_stmt* stmt, int index, const Value& v, sqlite3_destructor_type text) {
    if (v.isString()) sqlite3_bind_text(stmt, index, v.string()->data(), int(v.string()->size()), text);
    else if (v.isReal() || v.isDate()) sqlite3_bind_double(stmt, index, v.doubleValue());
    else sqlite3_bind_int64(stmt, index, v.integerValue());
}

void rawInsertAll(sqlite3* db, int rows = kRows) {
    auto attrs = attributes();
    std::string sql = "INSERT INTO t VALUES (?";
    for (size_t i = 0; i < attrs.size(); ++i) sql += ", ?";
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db, (sql + ")").c_str(), -1, &stmt, nullptr);
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    for (int row = 0; row < rows; ++row) {
        sqlite3_bind_int64(stmt, 1, row + 1);
        for (size_t i = 0; i < attrs.size(); ++i)
            bindRawValue(stmt, int(i) + 2, valueFor(attrs[i], row), SQLITE_TRANSIENT);
        sqlite3_step(stmt);
        sqlite3_reset(stmt);
    }
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_finalize(stmt);
}

void BM_StoreInsert20000ThroughWorkerMainRoot(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        TempDir dir;
        auto stack = std::make_unique<Stack>(dir.path + "/bench.sqlite");
        state.ResumeTiming();
        stack->insertAll();
        // Taken down untimed, as the raw store's close is.
        state.PauseTiming();
        stack.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StoreInsert20000ThroughWorkerMainRoot)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

// Raw SQLite's inserts timed alone: the file opened, and the WAL checkpointed
// and closed, untimed, as the store leaves its checkpoint to a connection of
// its own after the commit.
template <class Insert>
void timeRawInserts(benchmark::State& state, Insert insert) {
    for (auto _ : state) {
        state.PauseTiming();
        TempDir dir;
        sqlite3* db = openRaw(dir.path + "/raw.sqlite");
        sqlite3_exec(db, "PRAGMA wal_autocheckpoint=0", nullptr, nullptr, nullptr);
        state.ResumeTiming();
        insert(db);
        state.PauseTiming();
        sqlite3_wal_checkpoint_v2(db, nullptr, SQLITE_CHECKPOINT_PASSIVE, nullptr, nullptr);
        sqlite3_close(db);
        state.ResumeTiming();
    }
}

void BM_RawSQLiteInsert20000(benchmark::State& state) {
    timeRawInserts(state, [](sqlite3* db) { rawInsertAll(db); });
}
BENCHMARK(BM_RawSQLiteInsert20000)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

// The floor under the store's inserts: raw SQLite fed from rows held in
// memory as the store holds them. A store cannot free a row's values as it
// writes them (a failed commit leaves the changes pending, values and all),
// so the 20,000 rows of 25 values, 300,000 texts among them, are built
// first, bound without copies, committed, and only then freed, all timed;
// the bench's raw SQLite above frees each value right after binding a copy.
void BM_RawSQLiteInsert20000HeldRows(benchmark::State& state) {
    const auto attrs = attributes();
    std::string sql = "INSERT INTO t VALUES (?";
    for (size_t i = 0; i < attrs.size(); ++i) sql += ", ?";
    sql += ")";
    timeRawInserts(state, [&](sqlite3* db) {
        std::vector<std::vector<Value>> rows(kRows);
        for (int row = 0; row < kRows; ++row) {
            rows[size_t(row)].reserve(attrs.size());
            for (const auto& a : attrs) rows[size_t(row)].push_back(valueFor(a, row));
        }
        sqlite3_stmt* stmt = nullptr;
        sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr);
        sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
        for (int row = 0; row < kRows; ++row) {
            sqlite3_bind_int64(stmt, 1, row + 1);
            const auto& values = rows[size_t(row)];
            for (size_t i = 0; i < values.size(); ++i) bindRawValue(stmt, int(i) + 2, values[i], SQLITE_STATIC);
            sqlite3_step(stmt);
            sqlite3_reset(stmt);
        }
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        sqlite3_finalize(stmt);
    });
}
BENCHMARK(BM_RawSQLiteInsert20000HeldRows)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

void BM_StoreFetch2000SortedByPredicate(benchmark::State& state) {
    TempDir dir;
    Stack stack(dir.path + "/bench.sqlite");
    stack.insertAll();
    coredata::FetchRequest request("Row");
    request.setPredicate(coredata::Predicate::withFormat("group == %d", 3));
    request.setSortDescriptors({coredata::SortDescriptor("name")});
    for (auto _ : state) {
        auto rows = stack.main->executeFetchRequest(request);
        if (rows.size() != kRows / kGroups) state.SkipWithError("wrong row count");
        benchmark::DoNotOptimize(rows);
        stack.main->reset();  // measure loading, not the registered objects
    }
}
BENCHMARK(BM_StoreFetch2000SortedByPredicate)->Unit(benchmark::kMillisecond);

void BM_RawSQLiteFetch2000SortedByPredicate(benchmark::State& state) {
    TempDir dir;
    sqlite3* db = openRaw(dir.path + "/raw.sqlite");
    rawInsertAll(db);
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db, "SELECT * FROM t WHERE \"group\" = ? ORDER BY name", -1, &stmt, nullptr);
    for (auto _ : state) {
        sqlite3_bind_int(stmt, 1, 3);
        auto rows = readRows(stmt);
        if (rows.size() != kRows / kGroups) state.SkipWithError("wrong row count");
        benchmark::DoNotOptimize(rows);
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
}
BENCHMARK(BM_RawSQLiteFetch2000SortedByPredicate)->Unit(benchmark::kMillisecond);

// 3,000 of the 20,000 rows by a range predicate, sorted by three keys (text,
// Boolean, double), on the main-queue context; beside it SQLite reading the
// same columns of the same rows in the same order.
constexpr int kSelected = 3000;

void BM_StoreFetch3000SortedByThreeKeys(benchmark::State& state) {
    TempDir dir;
    Stack stack(dir.path + "/bench.sqlite");
    stack.insertAll();
    coredata::FetchRequest request("Row");
    request.setPredicate(coredata::Predicate::withFormat("number1 < %d", kSelected));
    request.setSortDescriptors(
        {coredata::SortDescriptor("text1"), coredata::SortDescriptor("flag0"), coredata::SortDescriptor("real0")});
    for (auto _ : state) {
        auto rows = stack.main->executeFetchRequest(request);
        if (rows.size() != kSelected) state.SkipWithError("wrong row count");
        benchmark::DoNotOptimize(rows);
        stack.main->reset();  // measure loading, not the registered objects
    }
}
BENCHMARK(BM_StoreFetch3000SortedByThreeKeys)->Unit(benchmark::kMillisecond);

void BM_RawSQLiteFetch3000SortedByThreeKeys(benchmark::State& state) {
    TempDir dir;
    sqlite3* db = openRaw(dir.path + "/raw.sqlite");
    rawInsertAll(db);
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db, "SELECT * FROM t WHERE number1 < ? ORDER BY text1, flag0, real0", -1, &stmt, nullptr);
    for (auto _ : state) {
        sqlite3_bind_int(stmt, 1, kSelected);
        auto rows = readRows(stmt);
        if (rows.size() != kSelected) state.SkipWithError("wrong row count");
        benchmark::DoNotOptimize(rows);
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
}
BENCHMARK(BM_RawSQLiteFetch3000SortedByThreeKeys)->Unit(benchmark::kMillisecond);

// A delta's read of what the store holds: every row of a kind as a
// dictionary of two text properties (its id and its revision), 15,000 rows,
// on the main-queue context; beside it SQLite reading the same two columns
// into the same dictionaries.
constexpr int kListed = 15000;

void BM_StoreDictionaryFetch15000TwoTexts(benchmark::State& state) {
    TempDir dir;
    Stack stack(dir.path + "/bench.sqlite");
    stack.insertAll(kListed);
    coredata::FetchRequest request("Row");
    request.setPropertiesToFetch({"text1", "text2"});
    request.setResultType(coredata::FetchRequestResultType::Dictionary);
    for (auto _ : state) {
        auto rows = stack.main->executeFetchRequest(request);
        if (rows.size() != kListed) state.SkipWithError("wrong row count");
        benchmark::DoNotOptimize(rows);
    }
}
BENCHMARK(BM_StoreDictionaryFetch15000TwoTexts)->Unit(benchmark::kMillisecond);

// Raw SQLite reading the same two columns, into the same dictionaries or,
// the floor under both, into plain string pairs.
template <class Rows, class AddRow>
void rawRead15000TwoTexts(benchmark::State& state, AddRow addRow) {
    TempDir dir;
    sqlite3* db = openRaw(dir.path + "/raw.sqlite");
    rawInsertAll(db, kListed);
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db, "SELECT text1, text2 FROM t ORDER BY pk", -1, &stmt, nullptr);
    for (auto _ : state) {
        Rows rows;
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            auto text = [&](int i) {
                return std::string(reinterpret_cast<const char*>(sqlite3_column_text(stmt, i)),
                                   size_t(sqlite3_column_bytes(stmt, i)));
            };
            addRow(rows, text(0), text(1));
        }
        sqlite3_reset(stmt);
        if (rows.size() != kListed) state.SkipWithError("wrong row count");
        benchmark::DoNotOptimize(rows);
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
}

void BM_RawSQLiteDictionaryRead15000TwoTexts(benchmark::State& state) {
    rawRead15000TwoTexts<Value::Array>(state, [](Value::Array& rows, std::string a, std::string b) {
        rows.push_back(Value(Value::Dictionary{{"text1", Value(std::move(a))}, {"text2", Value(std::move(b))}}));
    });
}
BENCHMARK(BM_RawSQLiteDictionaryRead15000TwoTexts)->Unit(benchmark::kMillisecond);

void BM_RawSQLiteRead15000TwoTexts(benchmark::State& state) {
    rawRead15000TwoTexts<std::vector<std::pair<std::string, std::string>>>(
        state, [](auto& rows, std::string a, std::string b) { rows.emplace_back(std::move(a), std::move(b)); });
}
BENCHMARK(BM_RawSQLiteRead15000TwoTexts)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    // The raw inserts run under the allocator settings the store makes.
    coredata::PersistentStoreCoordinator::setUpAllocatorForBulkSaves();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
