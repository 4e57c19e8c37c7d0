// Store access for root contexts, serialized by one mutex so that two root
// contexts of one coordinator never use the SQLite connection at once; reads
// beside the writer take connections of their own.
#include "coredata/PersistentStoreCoordinator.h"

#include "coredata/Constants.h"
#include "coredata/SQLiteStore.h"
#include "coredata/StoreRow.h"

#if __has_include(<malloc.h>)
#include <malloc.h>
#endif

#include <mutex>

namespace coredata {

using foundation::ErrorPtr;

namespace {
std::atomic<uint64_t> nextIdentity{1};
}  // namespace

// A save hands each row's values from the thread that made them to the
// threads that write and then free them: tens of thousands of small blocks
// at a time. Past a thread's own small cache, glibc parks freed small blocks
// unmerged in its fast bins and sweeps all of them whenever a larger block is
// freed beside them; in a bulk insert those sweeps were a tenth of the CPU.
// Without fast bins a freed small block is merged at once, like any other.
void PersistentStoreCoordinator::setUpAllocatorForBulkSaves() {
#ifdef __GLIBC__
    static std::once_flag once;
    std::call_once(once, [] { mallopt(M_MXFAST, 0); });
#endif
}

PersistentStoreCoordinator::PersistentStoreCoordinator(ModelPtr model) : model_(std::move(model)), identity_(nextIdentity++) {
    setUpAllocatorForBulkSaves();
}

PersistentStoreCoordinator::~PersistentStoreCoordinator() = default;

ErrorPtr PersistentStoreCoordinator::addPersistentStore(const std::string& path, const StoreOptions& options) {
    std::lock_guard lock(mutex_);
    if (store_)
        return foundation::Error::withDescription(foundation::kCocoaErrorDomain, StoreError::OpenFailed,
                                                  "The coordinator already has a store");
    ErrorPtr error;
    auto store = detail::SQLiteStore::open(path, model_, options.migratePersistentStoresAutomatically, error);
    if (!store) return error;
    int64_t next = store->maxPrimaryKey() + 1;
    int64_t current = nextPrimaryKey_.load();
    while (current < next && !nextPrimaryKey_.compare_exchange_weak(current, next)) {
    }
    store_ = std::move(store);
    std::lock_guard generationLock(generationMutex_);
    ++storeGeneration_;
    return nullptr;
}

bool PersistentStoreCoordinator::hasPersistentStore() const {
    std::lock_guard lock(mutex_);
    return store_ != nullptr;
}

std::optional<std::string> PersistentStoreCoordinator::persistentStorePath() const {
    std::lock_guard lock(mutex_);
    if (!store_) return std::nullopt;
    return store_->path();
}

foundation::Value PersistentStoreCoordinator::metadataForPersistentStore(const std::string& path, ErrorPtr& error) {
    return detail::SQLiteStore::readMetadata(path, error);
}

ManagedObjectIDPtr PersistentStoreCoordinator::newObjectID(const EntityDescription& entity) {
    return objectID(entity, nextPrimaryKey_++);
}

ManagedObjectIDPtr PersistentStoreCoordinator::objectID(const EntityDescription& entity, int64_t primaryKey) const {
    return std::make_shared<ManagedObjectID>(model_->entityPtr(&entity), primaryKey, identity_);
}

namespace {
ErrorPtr noStore() {
    return foundation::Error::withDescription(foundation::kCocoaErrorDomain, StoreError::NoStore,
                                              "The persistent store coordinator has no store");
}
}  // namespace

ErrorPtr PersistentStoreCoordinator::executeSave(const detail::ChangeSet& changes, uint64_t* ownSaves) {
    std::lock_guard lock(mutex_);
    if (!store_) return noStore();
    ErrorPtr error = store_->save(changes);
    // Only once the rows are in: a number taken before a fetch is never newer
    // than the rows the fetch read.
    if (!error) {
        std::lock_guard generationLock(generationMutex_);
        ++storeGeneration_;
        if (ownSaves) ++*ownSaves;
    }
    return error;
}

uint64_t PersistentStoreCoordinator::storeGenerationBesides(const uint64_t* ownSaves) const {
    std::lock_guard generationLock(generationMutex_);
    return storeGeneration_ - (ownSaves ? *ownSaves : 0);
}

detail::FetchOutcome PersistentStoreCoordinator::executeFetch(const detail::FetchPlan& plan) {
    std::lock_guard lock(mutex_);
    if (!store_) {
        detail::FetchOutcome outcome;
        outcome.error = noStore();
        return outcome;
    }
    return store_->fetch(plan);
}

detail::FetchOutcome PersistentStoreCoordinator::executeFetchBesideWriter(const detail::FetchPlan& plan) {
    detail::SQLiteStore* store = nullptr;
    {
        // A store once added stays until the coordinator goes.
        std::lock_guard lock(mutex_);
        store = store_.get();
    }
    if (!store) {
        detail::FetchOutcome outcome;
        outcome.error = noStore();
        return outcome;
    }
    return store->fetchBesideWriter(plan);
}

}  // namespace coredata
