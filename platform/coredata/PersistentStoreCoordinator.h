// The coordinator between a model and its one SQLite store. It hands out
// primary keys (so object IDs are final from insertion on), runs the root
// contexts' fetches and saves against the store one at a time, and reads store
// metadata without adding a store. Thread-safe.
#pragma once

#include <atomic>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "coredata/ManagedObjectID.h"
#include "coredata/ManagedObjectModel.h"
#include "foundation/Error.h"
#include "foundation/Object.h"
#include "foundation/Value.h"

namespace coredata {

namespace detail {
class SQLiteStore;
struct ChangeSet;
struct FetchPlan;
struct FetchOutcome;
}  // namespace detail

struct StoreOptions {
    // Additive model changes (new entities, new attributes) are applied to an
    // older store when it is added.
    bool migratePersistentStoresAutomatically = true;
};

class PersistentStoreCoordinator : public foundation::Object {
public:
    explicit PersistentStoreCoordinator(ModelPtr model);
    ~PersistentStoreCoordinator() override;
    static std::shared_ptr<PersistentStoreCoordinator> create(ModelPtr model) {
        return std::make_shared<PersistentStoreCoordinator>(std::move(model));
    }
    // Sets the process's allocator up for saves of many rows; the first
    // coordinator does so. Measurements that compare work done without a
    // coordinator with a store's call it first, so both run alike.
    static void setUpAllocatorForBulkSaves();

    const ModelPtr& managedObjectModel() const { return model_; }

    // Opens or creates the SQLite store at `path`, migrating as the options
    // allow; null on success. A coordinator holds one store: adding a second
    // is an error.
    foundation::ErrorPtr addPersistentStore(const std::string& path, const StoreOptions& options = {});
    bool hasPersistentStore() const;
    std::optional<std::string> persistentStorePath() const;

    // The metadata dictionary of a store file (kStoreModelVersionIdentifiersKey,
    // kStoreSchemaHashKey, kStoreTypeKey), read without adding the store.
    // Absent, with `error` set, for a missing, corrupt or foreign file.
    static foundation::Value metadataForPersistentStore(const std::string& path, foundation::ErrorPtr& error);

    std::string className() const override { return "NSPersistentStoreCoordinator"; }

    // For contexts: identities and store access.
    ManagedObjectIDPtr newObjectID(const EntityDescription& entity);
    ManagedObjectIDPtr objectID(const EntityDescription& entity, int64_t primaryKey) const;
    // `ownSaves` is the saving root context's count of its saves, moved
    // here in one step with the store's generation.
    foundation::ErrorPtr executeSave(const detail::ChangeSet& changes, uint64_t* ownSaves = nullptr);
    // Moves on after each save that reached the store (and when the store is
    // added), except the saves counted in `ownSaves`: what the store holds
    // is the same, for the chain of the root context that keeps that count,
    // while it stands (a root's own save shows its chain nothing new). Any
    // thread.
    uint64_t storeGenerationBesides(const uint64_t* ownSaves) const;
    detail::FetchOutcome executeFetch(const detail::FetchPlan& plan);
    // A fetch that needs nothing of a root context's unsaved changes, read on
    // the calling thread beside saves and other fetches (so the rows are made
    // and freed on the thread that uses them).
    detail::FetchOutcome executeFetchBesideWriter(const detail::FetchPlan& plan);

private:
    ModelPtr model_;
    uint64_t identity_;
    std::atomic<int64_t> nextPrimaryKey_{1};
    // Guards the store's generation and the roots' counts of their own saves,
    // so that a reader never sees one moved without the other. Apart from
    // `mutex_`, which a save holds while it writes.
    mutable std::mutex generationMutex_;
    uint64_t storeGeneration_ = 0;
    mutable std::mutex mutex_;
    std::unique_ptr<detail::SQLiteStore> store_;
};

using CoordinatorPtr = std::shared_ptr<PersistentStoreCoordinator>;

}  // namespace coredata
