// The single entry point to the local stores. It opens and caches one store
// stack per account and meeting, runs every fetch on the main-queue context
// of a cached stack, runs every write on the worker context and saves the
// context chain, and moves, restores and deletes store files around a
// clear-and-reload.
//
// Threads: opening, clearing and moving happen on the main thread, the save
// cascade reads the cache from the worker queues, so the cache is locked.
// Fetches are main-thread only (a programming error otherwise). Writes run
// one after another on their stack's worker queue and complete on the main
// queue, only after the main thread absorbed their changes: the main thread
// must never block waiting for a write. Outside failures reach completions as
// errors; nothing here throws for them.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "coredata/FetchRequest.h"
#include "coredata/ManagedObjectContext.h"
#include "coredata/Predicate.h"
#include "dispatch/Queue.h"
#include "foundation/Error.h"
#include "foundation/Object.h"
#include "foundation/Value.h"
#include "store/CoreDataStack.h"
#include "model/EntityClass.h"

class StorageManager {
public:
    using Text = std::optional<std::string>;
    using Items = std::vector<foundation::ObjectPtr>;
    // (error or none, result or none).
    using WriteCompletion = std::function<void(foundation::ErrorPtr, foundation::Value)>;
    using StackCompletion = std::function<void(foundation::ErrorPtr, std::shared_ptr<CoreDataStack>)>;
    using ContextBlock = std::function<void(coredata::ManagedObjectContext&)>;
    using StackCache = std::map<std::string, std::shared_ptr<CoreDataStack>>;

    static StorageManager& sharedStorageManager();
    // The model objects of a service result, in order: every element of an
    // array that holds an object; nothing for anything but an array.
    static Items itemsOfResult(const foundation::Value& result);
    StorageManager(const StorageManager&) = delete;
    StorageManager& operator=(const StorageManager&) = delete;

    // Store key → configured stack.
    StackCache coreDataStackCaches() const;
    void setCoreDataStackCaches(StackCache caches);

    // "%@_%@" of the token with every "/" made "_" and the meeting id; a
    // missing value reads "(null)".
    std::string getDatabaseKeyForAuthToken(const Text& authToken, const Text& eventId) const;
    // The cached stack, or null (logged).
    std::shared_ptr<CoreDataStack> getCoreDataStackForAuthToken(const Text& authToken, const Text& eventId) const;
    // Calls `completion` before returning: (none, stack) for a cached or newly
    // opened stack; (error, stack) when opening failed, the stack not cached.
    void initCoreDataStackForAuthToken(const Text& authToken, const Text& eventId, const StackCompletion& completion);
    bool persistentStoreExistsForAuthToken(const Text& authToken, const Text& eventId) const;
    // Drops the cached stack and deletes the store file with its journal files.
    void removePersistentStoreForAuthToken(const Text& authToken, const Text& eventId);
    // Empties the cache and deletes every store of every account and meeting.
    void clear();

    // Runs `block` on the context's queue, saves the chain and completes on
    // `resultQueue` (the main queue when null). A context without a parent is
    // a programming error.
    void executeBlock(ContextBlock block, const Text& authToken, const Text& eventId,
                      const coredata::ContextPtr& context, dispatch::QueuePtr resultQueue, WriteCompletion completion);
    void executeBlockInWorkerBackgroundContext(ContextBlock block, const Text& authToken, const Text& eventId,
                                               dispatch::QueuePtr resultQueue, WriteCompletion completion);
    // The save cascade: worker and main-queue contexts saved and waited for,
    // then the background context's file save, waited for only when asked.
    // Returns the first failure of this cascade, or the failure of an earlier
    // file save that nobody waited for. Runs on the worker queue.
    foundation::ErrorPtr saveContextForAuthToken(const Text& authToken, const Text& eventId,
                                                 bool shouldWaitUntilChangesAreWrittenToStorageManager);

    // Completes on the main queue once every save that a finished write of
    // any cached stack handed to the file has reached it, or failed: first
    // each worker queue (a write still saving hands its file save on), then
    // each file queue. Changes a failed file save left behind get one more
    // try; the error is that try's failure, or none when nothing is left
    // unwritten. Never blocks the main thread. Callers that report work as
    // done, or end the process, wait for this first.
    void waitForPendingFileSaves(WriteCompletion completion);
    // The same for the one stack of an account and meeting (none cached:
    // completes with no error). A bulk write such as a full download ends
    // here: once its rows are in the file, the memory its transient data
    // took is handed back to the system, so the next bulk write does not
    // start from a heap swollen by this one.
    void waitForPendingFileSavesForAuthToken(const Text& authToken, const Text& eventId,
                                             WriteCompletion completion);

    // A request for the entity of `itemType` in the context's model (without
    // an entity when the model has none); null without a context.
    std::shared_ptr<coredata::FetchRequest> fetchRequestForItemType(const EntityClassPtr& itemType,
                                                                    coredata::PredicatePtr predicate,
                                                                    const coredata::ContextPtr& context) const;
    // Main thread and a cached stack's main-queue context only; raises
    // otherwise. Sub-entities' rows are included.
    foundation::Value::Array executeFetchRequestAndWait(const std::shared_ptr<coredata::FetchRequest>& request,
                                                        const coredata::ContextPtr& context) const;
    // The same for a dictionary fetch of two properties, as (first, second)
    // pairs (ManagedObjectContext::executeFetchRequestForPairs).
    std::vector<std::pair<foundation::Value, foundation::Value>> executeFetchRequestForPairsAndWait(
        const std::shared_ptr<coredata::FetchRequest>& request, const coredata::ContextPtr& context) const;

    // Inserts a new row per item.
    void addItemsToCoreData(Items items, const EntityClassPtr& itemType, const Text& authToken, const Text& eventId,
                            WriteCompletion completion);
    // Deletes the rows the predicate selects (every row of the entity and its
    // sub-entities when null), then inserts a new row per item.
    void deleteAndAddItemsToCoreData(Items items, const EntityClassPtr& itemType, coredata::PredicatePtr predicate,
                                     const Text& authToken, const Text& eventId, WriteCompletion completion);
    // A replace of every row of the entity whose items come page by page, as
    // a listing is read: the rows being replaced are looked up on the worker
    // at once, each page is inserted as it is added, and the finish deletes
    // the replaced rows and saves the chain; in that order on the worker
    // queue, so each page is mapped into rows while the next is still on its
    // way. Insertions and deletions pause as one replace would. Pages are
    // added one at a time, in order, from any thread; the finish or the
    // abandon comes after the last.
    struct PagedReplace;
    std::shared_ptr<PagedReplace> beginPagedReplace(const EntityClassPtr& itemType, const Text& authToken,
                                                    const Text& eventId);
    void addPageToReplace(const std::shared_ptr<PagedReplace>& replace, Items items);
    // Completes as the replace: (none, none) after the save, the fetch error,
    // or the empty error when context, request or entity was missing.
    void finishPagedReplace(const std::shared_ptr<PagedReplace>& replace, WriteCompletion completion);
    // For a listing that failed: the pages' rows are deleted again and the
    // chain saved, so the entity keeps the rows it had, as after a replace
    // that never ran. Completes on the main queue with the save's error.
    void abandonPagedReplace(const std::shared_ptr<PagedReplace>& replace, WriteCompletion completion);
    // The replace without the insert. The chain is always saved and the
    // completion always runs on the main queue: `saveContext` and
    // `resultQueue` are accepted for the callers' sake only.
    void deleteItemsFromCoreDataForItemType(const EntityClassPtr& itemType, const Text& authToken, const Text& eventId,
                                            coredata::PredicatePtr predicate, bool saveContext,
                                            dispatch::QueuePtr resultQueue, WriteCompletion completion);
    // Overwrites the row that the item's entity class matches to it, or
    // inserts one. The chain is always saved, whatever `saveOption`.
    void updateItemToCoreData(foundation::ObjectPtr item, const Text& authToken, const Text& eventId, bool saveOption,
                              WriteCompletion completion);
    // Deletes every row named by an item and writes anew the items whose
    // "changeAction" is "I" or "U". No items: completes at once, here.
    void deltaUpdateItemsToCoreData(Items items, const EntityClassPtr& itemType, const Text& authToken,
                                    const Text& eventId, WriteCompletion completion);

    // Logs an error with its details.
    void handleErrors(const foundation::ErrorPtr& error) const;

    // The store files to their "_old" names (cache emptied first).
    bool movePersistentStoreFileForAuthToken(const Text& authToken, const Text& eventId);
    // The "_old" files back in place (cache emptied first).
    bool revertCopyPersistentStoreFileForAuthToken(const Text& authToken, const Text& eventId);
    // Deletes the "_old" files.
    bool deleteCachedCopyOfPersistentStoreForAuthToken(const Text& authToken, const Text& eventId);
    // Whether the "_old" copy of the store is on disk: a reload that never
    // ended leaves it there.
    bool cachedCopyOfPersistentStoreExistsForAuthToken(const Text& authToken, const Text& eventId) const;

    // Test seams. The pause the worker takes between batches of rows (150 ms
    // by default; null restores it), and how the save cascade saves one
    // context (ManagedObjectContext::save by default; null restores it).
    void setRowPauseForTesting(std::function<void()> pause);
    // The length of one such pause, for measurements that take it out.
    static double rowPauseSeconds();
    void setContextSaveForTesting(std::function<foundation::ErrorPtr(coredata::ManagedObjectContext&)> save);

private:
    // Whether a fetch may run and wait: raises off the main thread or the
    // main-queue context; false for nothing to fetch.
    bool mayFetchAndWait(const std::shared_ptr<coredata::FetchRequest>& request,
                         const coredata::ContextPtr& context) const;
    // `fetch` (given where to put its error) on the context's queue, waited
    // for; its error logged and handled, nothing then returned.
    template <class Fetch>
    auto fetchAndWait(const std::shared_ptr<coredata::FetchRequest>& request, const coredata::ContextPtr& context,
                      const Fetch& fetch) const -> decltype(fetch(nullptr));
    StorageManager();

    void replaceItems(Items items, const EntityClassPtr& itemType, coredata::PredicatePtr predicate, bool insert,
                      const char* operation, const Text& authToken, const Text& eventId, WriteCompletion completion);
    // A replace's steps, each on the worker queue: the rows to replace
    // looked up, then deleted, items inserted, the chain saved and the
    // completion called.
    std::shared_ptr<PagedReplace> makeReplace(const EntityClassPtr& itemType, coredata::PredicatePtr predicate,
                                              bool insert, const char* operation, const Text& authToken,
                                              const Text& eventId) const;
    void fetchReplacedRows(PagedReplace& replace) const;
    void deleteRows(PagedReplace& replace, const foundation::Value::Array& identifiers) const;
    void deleteReplacedRows(PagedReplace& replace) const;
    void insertReplacingItems(PagedReplace& replace, const Items& items) const;
    void completeReplace(PagedReplace& replace, const WriteCompletion& completion);
    foundation::ErrorPtr saveCascade(const std::shared_ptr<CoreDataStack>& stack, bool waitForFile);
    foundation::ErrorPtr saveContext(coredata::ManagedObjectContext& context) const;
    // Hands the allocator's free memory back to the system, on a global
    // queue (about 15 ms of CPU after a download of 35,000 rows), so that
    // neither the main thread nor a fetch through the file queue waits.
    static void releaseFreeHeapLater();
    void waitForFileSavesOfStacks(const std::vector<std::shared_ptr<CoreDataStack>>& stacks, bool releaseFreeMemory,
                                  WriteCompletion completion);
    void pauseRows() const;

    mutable std::mutex cacheMutex_;
    StackCache coreDataStackCaches_;

    mutable std::mutex seamsMutex_;
    std::function<void()> rowPause_;
    std::function<foundation::ErrorPtr(coredata::ManagedObjectContext&)> contextSave_;
};
