// The SQLite file behind a coordinator. Layout: one table per root entity
// ("Z" + entity name) holding the rows of the whole inheritance tree, with the
// primary key Z_PK (unique across the store), the concrete entity Z_ENT and
// one untyped column per attribute ("Z" + attribute name), indexed by Z_ENT
// when the tree has sub-entities; Z_ENTITIES maps
// entity names to Z_ENT numbers; Z_METADATA holds the store metadata. The
// journal is WAL and its -wal and -shm files are kept after close; the log is
// copied back into the file on a queue of the store's own, not at commit.
// Every save is one transaction. Not thread-safe, but for fetchBesideWriter:
// the coordinator serializes calls.
// Internal to the object store.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "coredata/ManagedObjectModel.h"
#include "coredata/StoreRow.h"
#include "foundation/Error.h"
#include "foundation/Value.h"

namespace coredata::detail {

class SQLiteStore {
public:
    // Opens (creating when missing) the store at `path` for `model`. An
    // existing store of another schema is migrated in place when `migrate` is
    // set and the change is additive (new entities, new attributes); its
    // metadata as found before opening goes to `previousMetadata`. Null with
    // `error` set on failure.
    static std::unique_ptr<SQLiteStore> open(const std::string& path, ModelPtr model, bool migrate,
                                             foundation::ErrorPtr& error, foundation::Value* previousMetadata = nullptr);
    // The metadata dictionary of the store file, without opening it as a
    // store; absent with `error` set when there is none.
    static foundation::Value readMetadata(const std::string& path, foundation::ErrorPtr& error);

    ~SQLiteStore();
    SQLiteStore(const SQLiteStore&) = delete;
    SQLiteStore& operator=(const SQLiteStore&) = delete;

    const std::string& path() const;
    int64_t maxPrimaryKey() const;
    foundation::ErrorPtr save(const ChangeSet& changes);
    FetchOutcome fetch(const FetchPlan& plan);
    // The same fetch on a read connection of its own, which WAL lets run
    // beside the writing connection and on the caller's thread; it sees what
    // was committed before it began. Thread-safe.
    FetchOutcome fetchBesideWriter(const FetchPlan& plan);

    // Called after each row a save writes, inside the transaction (tests use
    // it to stop a process in the middle of a save).
    static void setRowWrittenHookForTesting(std::function<void(size_t rowsWritten)> hook);

private:
    struct Impl;
    explicit SQLiteStore(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

}  // namespace coredata::detail
