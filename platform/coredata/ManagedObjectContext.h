// A managed-object context: a scratchpad of objects over a coordinator or a
// parent context, bound to one queue (a private serial queue, or the main
// queue). Everything a context does runs on its queue: performBlock and
// performBlockAndWait get there; the main-queue context may also be used
// directly on the main thread.
//
// What a context sees: a fetch returns the store's rows overlaid with the
// unsaved changes of every context from the root down to this one. Saving a
// child pushes its changes into the parent (on the parent's queue, waited
// for); saving the root context writes them to the store in one transaction.
// Reads travel up the chain through each ancestor's queue, so a save queued
// on the root context is carried out before any read queued after it.
//
// performBlockAndWait is re-entrant: called on the context's own queue, or by
// code that a thread blocked in performBlockAndWait is waiting for, it runs
// the block at once. From a worker to the main-queue context it waits for the
// main run loop to run the block.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "coredata/FetchRequest.h"
#include "coredata/ManagedObject.h"
#include "coredata/PersistentStoreCoordinator.h"
#include "coredata/ObjectRegistry.h"
#include "coredata/SortedKeyMap.h"
#include "foundation/Error.h"
#include "foundation/Object.h"
#include "foundation/Value.h"

namespace dispatch {
class Queue;
}

namespace coredata {

namespace detail {
struct ChangeSet;
struct FetchPlan;
struct FetchOutcome;
struct StoreRow;
}  // namespace detail

enum class ConcurrencyType { PrivateQueue, MainQueue };

// What changed in a context: after a child's save reached it, or after it
// saved. Objects are this context's.
struct ContextChanges {
    std::vector<ManagedObjectPtr> inserted, updated, deleted;
    bool empty() const { return inserted.empty() && updated.empty() && deleted.empty(); }
};

class ManagedObjectContext : public foundation::Object {
public:
    // Contexts are always held by shared_ptr: use create().
    static std::shared_ptr<ManagedObjectContext> create(ConcurrencyType type);
    explicit ManagedObjectContext(ConcurrencyType type);
    ~ManagedObjectContext() override;

    ConcurrencyType concurrencyType() const { return type_; }
    // A context has either a coordinator (a root context) or a parent.
    void setPersistentStoreCoordinator(CoordinatorPtr coordinator);
    void setParentContext(std::shared_ptr<ManagedObjectContext> parent);
    std::shared_ptr<ManagedObjectContext> parentContext() const { return parent_; }
    // Its own coordinator, or its root ancestor's.
    const CoordinatorPtr& persistentStoreCoordinator() const;

    void performBlock(std::function<void()> block);
    // Blocks handed to performBlock that have not finished yet (any thread).
    int pendingBlockCount() const { return pendingBlocks_.load(); }
    void performBlockAndWait(const std::function<void()>& block);

    // Everything below: on the context's queue.

    // A new object of the named entity, with scalars 0 / NO and everything
    // else absent. An unknown entity, or no coordinator, is a programming error.
    ManagedObjectPtr insertNewObject(const std::string& entityName);
    void deleteObject(const ManagedObjectPtr& object);
    // This context's object for the ID, loaded when needed; null when the row
    // does not exist (or was deleted here).
    ManagedObjectPtr objectWithID(const ManagedObjectIDPtr& id);

    bool hasChanges() const;
    std::vector<ManagedObjectPtr> insertedObjects() const;
    std::vector<ManagedObjectPtr> updatedObjects() const;
    std::vector<ManagedObjectPtr> deletedObjects() const;

    // Null on success. On failure the changes stay pending.
    foundation::ErrorPtr save();
    // Forgets every object and every unsaved change.
    void reset();

    // Objects, IDs or dictionaries as Values; for a count request one number.
    // An unknown entity gives an empty array and no error.
    foundation::Value::Array executeFetchRequest(const FetchRequest& request, foundation::ErrorPtr* error = nullptr);
    size_t countForFetchRequest(const FetchRequest& request, foundation::ErrorPtr* error = nullptr);
    // A dictionary fetch of two properties as pairs: per row, what its
    // dictionary holds under the first and the second property (absent
    // where it leaves the key out), in the same order; the file's rows
    // never become dictionaries on the way.
    std::vector<std::pair<foundation::Value, foundation::Value>> executeFetchRequestForPairs(
        const FetchRequest& request, foundation::ErrorPtr* error = nullptr);

    // Moves on whenever what this context's fetches see may have changed: an
    // object inserted, changed or deleted here, a child's save merged here,
    // a reset, the same in an ancestor, or a save that reached the store
    // through the coordinator. Two equal numbers mean that a fetch gives the
    // same answer at both moments; a save that only hands changes on to the
    // parent or the file may move it too. Any thread.
    uint64_t contentGeneration() const;

    // Called on this context's queue after changes reached it (a child's save)
    // or after it saved. Returns a handle for removal.
    int addChangeObserver(std::function<void(const ContextChanges&)> observer);
    void removeChangeObserver(int handle);

    std::string className() const override { return "NSManagedObjectContext"; }

private:
    std::atomic<int> pendingBlocks_{0};
    // Changes to what this context shows, counted on its queue (one writer at
    // a time), read from any thread; moved on after the change is in place.
    std::atomic<uint64_t> contentChanges_{0};
    void noteContentChange() {
        contentChanges_.store(contentChanges_.load(std::memory_order_relaxed) + 1, std::memory_order_release);
    }
    // A root context's saves that reached the store, counted by the
    // coordinator (under its lock, with the store's generation): they show
    // this context's chain nothing new.
    uint64_t ownStoreSaves_ = 0;
    friend class ManagedObject;
    friend struct ContextScope;

    std::shared_ptr<ManagedObjectContext> self();
    bool isOnOwnQueue() const;
    void objectDidChange(ManagedObject& object);
    ManagedObjectPtr registeredObject(int64_t primaryKey) const;
    // `id`: the row's identity when the caller already has it. `registered`:
    // found by its key while nothing else holds it (a new object is found
    // among the inserted ones instead).
    ManagedObjectPtr makeObject(const detail::StoreRow& row, ManagedObjectIDPtr id = nullptr, bool registered = true);
    void registerObject(const ManagedObjectPtr& object);
    bool hasPendingChangesFor(const detail::FetchPlan& plan) const;
    detail::FetchOutcome collectRows(const detail::FetchPlan& plan);
    bool planFor(const FetchRequest& request, detail::FetchPlan& plan) const;
    // Takes the rows kept from a child's saves (their values are handed on,
    // not shared); a failed save gives them back (restoreRows).
    detail::ChangeSet takeChangeSet();
    void restoreRows(detail::ChangeSet& changes);
    // Takes over the rows of the child's change set.
    ContextChanges mergeChildChanges(detail::ChangeSet& changes);
    // Someone looks at this context's changes as objects: a change observer
    // (a fetched-results controller) or a listener for its saves.
    bool changesAreObserved() const;
    // Turns the rows a child inserted, kept as rows while nobody looked at
    // them, into this context's inserted objects.
    void materializePendingRows();
    void notifyObservers(const ContextChanges& changes);

    ConcurrencyType type_;
    std::shared_ptr<dispatch::Queue> queue_;
    CoordinatorPtr coordinator_;
    std::shared_ptr<ManagedObjectContext> parent_;

    detail::ObjectRegistry<ManagedObject> registered_;
    size_t registeredAtLastPurge_ = 0;
    // Unsaved changes, by primary key (so in insertion order for inserts).
    detail::SortedKeyMap<ManagedObjectPtr> inserted_;
    std::map<int64_t, ManagedObjectPtr> updated_, deleted_;
    // Rows a child's save inserted here while nobody observed this context:
    // they pass on to the parent (or the store) as they came, without
    // objects, unless something asks for them as objects first.
    detail::SortedKeyMap<detail::StoreRow> pendingInserted_;
    // Unsaved changes this context's observers already heard of when a child's
    // save merged them; its own save reports only the others, so a list does
    // not fetch twice for one change.
    std::unordered_set<int64_t> reportedByMerge_;

    mutable std::mutex observersMutex_;
    int nextObserver_ = 1;
    std::vector<std::pair<int, std::function<void(const ContextChanges&)>>> observers_;
};

using ContextPtr = std::shared_ptr<ManagedObjectContext>;

}  // namespace coredata
