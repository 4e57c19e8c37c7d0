// The store front: the stack cache, the fetch rule, the writes on the worker
// context with their save cascade, and the store files.
#include "store/StorageManager.h"

#include <chrono>
#include <thread>
#include <unordered_set>
#include <utility>

#include "Utils/LogSafeText.h"
#include "Utils/Utils.h"
#include "coredata/ManagedObjectID.h"
#include "dispatch/BlockingWait.h"
#include "foundation/FileManager.h"
#include "foundation/Format.h"
#include "foundation/Log.h"
#include "foundation/MainThreadChecker.h"
#include "foundation/Thread.h"
#include "model/IEntityModel.h"

using foundation::ErrorPtr;
using foundation::Log;
using foundation::Value;

namespace {

// The main-queue context absorbs every save of the worker; pausing the worker
// every so many rows keeps a bulk write from stalling the screens.
constexpr size_t kRowsPerPause = 150;
constexpr auto kRowPause = std::chrono::milliseconds(150);
// A replace by pages saves the chain every so many rows.
constexpr size_t kRowsPerInterimSave = 2000;

constexpr const char* kMissingWriteTarget =
    "The operation cannot be completed. Either context or fetch request or entity is nil. So we just return and "
    "ignore the rest. Please report this if you see it: it may happen when the cache is cleared while a content "
    "update is running.";

// What a write completes with when its stack, context, request or entity is
// missing: no domain, code 0.
ErrorPtr emptyError() { return foundation::Error::make("", 0); }


void completeOn(const dispatch::QueuePtr& queue, const StorageManager::WriteCompletion& completion, ErrorPtr error,
                Value result) {
    if (!completion) return;
    queue->async([completion, error = std::move(error), result = std::move(result)] { completion(error, result); });
}

void completeOnMain(const StorageManager::WriteCompletion& completion, ErrorPtr error, Value result = Value()) {
    completeOn(dispatch::Queue::main(), completion, std::move(error), std::move(result));
}

// The stored copy of a store path: "_old" before ".sqlite", so the journal
// files keep their "-shm" or "-wal" ending.
std::string oldPath(const std::string& path) {
    const auto at = path.rfind(".sqlite");
    if (at == std::string::npos) return path + "_old";
    return path.substr(0, at) + "_old" + path.substr(at);
}

std::string databaseDirectoryPath() { return Utils::getCurrentDirectory() + "/Database"; }

// Pool threads have no name of their own; the queue they serve says more.
std::string currentThreadDescription() {
    std::string name = foundation::Thread::currentName();
    if (name.empty()) {
        if (auto queue = dispatch::Queue::current()) name = queue->label();
    }
    return name;
}

}  // namespace

StorageManager& StorageManager::sharedStorageManager() {
    static StorageManager* shared = new StorageManager();
    return *shared;
}

StorageManager::Items StorageManager::itemsOfResult(const Value& result) {
    Items items;
    if (const auto* array = result.array()) {
        items.reserve(array->size());
        for (const auto& element : *array)
            if (auto object = element.object()) items.push_back(std::move(object));
    }
    return items;
}

StorageManager::StorageManager() { registerEntityClasses(); }

// ---- The stack cache --------------------------------------------------------

StorageManager::StackCache StorageManager::coreDataStackCaches() const {
    std::lock_guard lock(cacheMutex_);
    return coreDataStackCaches_;
}

void StorageManager::setCoreDataStackCaches(StackCache caches) {
    StackCache dropped;
    {
        std::lock_guard lock(cacheMutex_);
        dropped = std::exchange(coreDataStackCaches_, std::move(caches));
    }
    // Dropped stacks close their store here, outside the lock.
}

std::string StorageManager::getDatabaseKeyForAuthToken(const Text& authToken, const Text& eventId) const {
    Value token;
    if (authToken) {
        std::string replaced = *authToken;
        for (auto& c : replaced)
            if (c == '/') c = '_';
        token = Value(std::move(replaced));
    }
    return foundation::Format("%@_%@", token, Value(eventId));
}

std::shared_ptr<CoreDataStack> StorageManager::getCoreDataStackForAuthToken(const Text& authToken,
                                                                            const Text& eventId) const {
    const std::string key = getDatabaseKeyForAuthToken(authToken, eventId);
    {
        std::lock_guard lock(cacheMutex_);
        auto it = coreDataStackCaches_.find(key);
        if (it != coreDataStackCaches_.end()) return it->second;
    }
    Log("No core data stack configured for the auth token. Make sure you init it first by calling "
        "initCoreDataStackForAuthToken.");
    return nullptr;
}

void StorageManager::initCoreDataStackForAuthToken(const Text& authToken, const Text& eventId,
                                                   const StackCompletion& completion) {
    Log("\n\n!!!!!!!!! AUTHENTICATION TOKEN + %@", LogSafeText::maskedToken(authToken));
    const std::string key = getDatabaseKeyForAuthToken(authToken, eventId);
    // The key holds the token.
    Log("\n\n!!!!!!!!! theKey + %@_%@", LogSafeText::maskedToken(authToken), Value(eventId));
    std::shared_ptr<CoreDataStack> cached;
    {
        std::lock_guard lock(cacheMutex_);
        auto it = coreDataStackCaches_.find(key);
        if (it != coreDataStackCaches_.end()) cached = it->second;
    }
    // Outside the lock: the completion may ask the cache again.
    if (cached) {
        if (completion) completion(nullptr, cached);
        return;
    }
    auto stack = std::make_shared<CoreDataStack>();
    ErrorPtr failure;
    stack->configureCoreDataStackForAuthToken(authToken, eventId, [&](ErrorPtr error, Value) { failure = error; });
    if (!failure) {
        std::lock_guard lock(cacheMutex_);
        stack = coreDataStackCaches_.emplace(key, stack).first->second;
    }
    if (completion) completion(failure, stack);
}

bool StorageManager::persistentStoreExistsForAuthToken(const Text& authToken, const Text& eventId) const {
    return foundation::FileManager::defaultManager().fileExistsAtPath(
        CoreDataStack::databaseUrlForAuthToken(authToken, eventId));
}

void StorageManager::removePersistentStoreForAuthToken(const Text& authToken, const Text& eventId) {
    std::shared_ptr<CoreDataStack> dropped;
    {
        std::lock_guard lock(cacheMutex_);
        auto it = coreDataStackCaches_.find(getDatabaseKeyForAuthToken(authToken, eventId));
        if (it != coreDataStackCaches_.end()) {
            dropped = std::move(it->second);
            coreDataStackCaches_.erase(it);
        }
    }
    // Closes the store unless a running write still holds it.
    dropped.reset();
    // A store is removed to be loaded anew or left: what its contexts and
    // connection held is free now, in the arenas of the threads that used it.
    releaseFreeHeapLater();
    // A journal file left beside a new store of the same name would be read
    // as that store's, so all three go.
    auto& files = foundation::FileManager::defaultManager();
    for (const auto& path : CoreDataStack::databaseUrlsStringsToBeMovedForAuthToken(authToken, eventId)) {
        if (files.fileExistsAtPath(path)) files.removeItemAtPath(path);
    }
}

void StorageManager::clear() {
    setCoreDataStackCaches({});
    foundation::FileManager::defaultManager().removeItemAtPath(databaseDirectoryPath());
}

// ---- Fetches ------------------------------------------------------------------

std::shared_ptr<coredata::FetchRequest> StorageManager::fetchRequestForItemType(
    const EntityClassPtr& itemType, coredata::PredicatePtr predicate, const coredata::ContextPtr& context) const {
    if (!context) return nullptr;
    auto request = std::make_shared<coredata::FetchRequest>();
    if (itemType) request->setEntity(coredata::EntityDescription::entityForName(itemType->name, *context));
    request->setPredicate(std::move(predicate));
    return request;
}

bool StorageManager::mayFetchAndWait(const std::shared_ptr<coredata::FetchRequest>& request,
                                     const coredata::ContextPtr& context) const {
    if (!foundation::isMainThread()) {
        Log("If app stopped in this breakpoint, please fix the call of this function to be on main thread");
        foundation::raise("Please call this from main thread only",
                          "And announce where was the exception, because it may be the source of a freeze");
    }
    if (!context || !request) return false;
    if (request->entityName().empty()) {
        Log("Request entity is nil. This will crash the app. ");
        return false;
    }
    bool isMainQueueContext = false;
    {
        std::lock_guard lock(cacheMutex_);
        for (const auto& [key, stack] : coreDataStackCaches_)
            if (stack->managedObjectContextMainQueue() == context) isMainQueueContext = true;
    }
    if (!isMainQueueContext) {
        Log("If app stopped in this breakpoint, please fix the call of this function to be on "
            "managedObjectContextMainQueue");
        foundation::raise("Please call this from main context only",
                          "And again, anounce everyone because it may be the source of a freeze");
    }
    return true;
}

template <class Fetch>
auto StorageManager::fetchAndWait(const std::shared_ptr<coredata::FetchRequest>& request,
                                  const coredata::ContextPtr& context, const Fetch& fetch) const
    -> decltype(fetch(nullptr)) {
    if (!mayFetchAndWait(request, context)) return {};
    decltype(fetch(nullptr)) results;
    ErrorPtr error;
    context->performBlockAndWait([&] { results = fetch(&error); });
    if (error) {
        Log("Unable to fetch data from db.");
        handleErrors(error);
        return {};
    }
    return results;
}

Value::Array StorageManager::executeFetchRequestAndWait(const std::shared_ptr<coredata::FetchRequest>& request,
                                                        const coredata::ContextPtr& context) const {
    return fetchAndWait(request, context, [&](ErrorPtr* error) { return context->executeFetchRequest(*request, error); });
}

std::vector<std::pair<Value, Value>> StorageManager::executeFetchRequestForPairsAndWait(
    const std::shared_ptr<coredata::FetchRequest>& request, const coredata::ContextPtr& context) const {
    return fetchAndWait(request, context,
                        [&](ErrorPtr* error) { return context->executeFetchRequestForPairs(*request, error); });
}

// ---- Saving -------------------------------------------------------------------

ErrorPtr StorageManager::saveContext(coredata::ManagedObjectContext& context) const {
    std::function<ErrorPtr(coredata::ManagedObjectContext&)> save;
    {
        std::lock_guard lock(seamsMutex_);
        save = contextSave_;
    }
    return save ? save(context) : context.save();
}

ErrorPtr StorageManager::saveContextForAuthToken(const Text& authToken, const Text& eventId,
                                                 bool shouldWaitUntilChangesAreWrittenToStorageManager) {
    // A write that outlived its stack (cache emptied meanwhile) saves nothing.
    auto stack = getCoreDataStackForAuthToken(authToken, eventId);
    if (!stack) return nullptr;
    return saveCascade(stack, shouldWaitUntilChangesAreWrittenToStorageManager);
}

ErrorPtr StorageManager::saveCascade(const std::shared_ptr<CoreDataStack>& stack, bool waitForFile) {
    const auto& worker = stack->managedObjectContextWorkerOnBackground();
    if (!worker) return nullptr;
    ErrorPtr error;
    worker->performBlockAndWait([&] {
        if (worker->hasChanges()) error = saveContext(*worker);
    });
    if (error) {
        Log("Unable to save the worker context.");
        handleErrors(error);
        return error;
    }
    const auto& main = stack->managedObjectContextMainQueue();
    if (!main) return nullptr;
    main->performBlockAndWait([&] {
        if (main->hasChanges()) error = saveContext(*main);
    });
    if (error) {
        Log("Unable to save the main queue context.");
        handleErrors(error);
        return error;
    }
    // File saves run in order on the background queue. When main's changes
    // went down just now, that waited behind any earlier file save, whose
    // failure is therefore recorded; one still running is left for a later
    // write rather than waited for here.
    ErrorPtr earlierFileError = stack->takeFileSaveError();
    const auto& background = stack->managedObjectContextBackgroundQueue();
    if (!background) return earlierFileError;
    auto saveFile = [this, stack, background]() -> ErrorPtr {
        if (!background->hasChanges()) return nullptr;
        ErrorPtr fileError = saveContext(*background);
        if (fileError) {
            Log("Unable to write the store file.");
            handleErrors(fileError);
        }
        return fileError;
    };
    if (waitForFile) {
        ErrorPtr fileError;
        background->performBlockAndWait([&] { fileError = saveFile(); });
        return fileError ? fileError : earlierFileError;
    }
    background->performBlock([stack, saveFile] {
        // Unsaved changes stay in the background context and go with its
        // next save; the failure goes to the next write on this stack.
        if (ErrorPtr fileError = saveFile()) stack->recordFileSaveError(fileError);
    });
    return earlierFileError;
}

void StorageManager::pauseRows() const {
    std::function<void()> pause;
    {
        std::lock_guard lock(seamsMutex_);
        pause = rowPause_;
    }
    // The pause leaves the worker's processor to the other queues' tasks.
    dispatch::BlockingWait blocking;
    if (pause)
        pause();
    else
        std::this_thread::sleep_for(kRowPause);
}

void StorageManager::setRowPauseForTesting(std::function<void()> pause) {
    std::lock_guard lock(seamsMutex_);
    rowPause_ = std::move(pause);
}

double StorageManager::rowPauseSeconds() { return std::chrono::duration<double>(kRowPause).count(); }

void StorageManager::setContextSaveForTesting(std::function<ErrorPtr(coredata::ManagedObjectContext&)> save) {
    std::lock_guard lock(seamsMutex_);
    contextSave_ = std::move(save);
}

// ---- Block execution -------------------------------------------------------------

void StorageManager::executeBlock(ContextBlock block, const Text& authToken, const Text& eventId,
                                  const coredata::ContextPtr& context, dispatch::QueuePtr resultQueue,
                                  WriteCompletion completion) {
    auto queue = resultQueue ? std::move(resultQueue) : dispatch::Queue::main();
    if (!context) {
        Log("Unable to execute block. Context is nil.");
        completeOn(queue, completion, emptyError(), Value());
        return;
    }
    if (!context->parentContext()) {
        foundation::raise("This new exception is introduced because of the parent child context",
                          "A block was handed a context without a parent context. Please report how you got here.");
    }
    context->performBlock([this, block = std::move(block), context, authToken, eventId, queue, completion] {
        if (block) block(*context);
        auto stack = getCoreDataStackForAuthToken(authToken, eventId);
        if (!stack) {
            completeOn(queue, completion, nullptr, Value());
            return;
        }
        auto finish = [this, stack, queue, completion] {
            completeOn(queue, completion, saveCascade(stack, false), Value());
        };
        // The cascade waits for the main thread, so it always runs on the
        // worker queue: a block on the main-queue context must not make the
        // main thread wait for itself.
        const auto& worker = stack->managedObjectContextWorkerOnBackground();
        if (worker && worker != context)
            worker->performBlock(finish);
        else
            finish();
    });
}

void StorageManager::executeBlockInWorkerBackgroundContext(ContextBlock block, const Text& authToken,
                                                           const Text& eventId, dispatch::QueuePtr resultQueue,
                                                           WriteCompletion completion) {
    auto stack = getCoreDataStackForAuthToken(authToken, eventId);
    executeBlock(std::move(block), authToken, eventId,
                 stack ? stack->managedObjectContextWorkerOnBackground() : nullptr, std::move(resultQueue),
                 std::move(completion));
}

// ---- Writes -----------------------------------------------------------------------

void StorageManager::addItemsToCoreData(Items items, const EntityClassPtr& itemType, const Text& authToken,
                                        const Text& eventId, WriteCompletion completion) {
    auto stack = getCoreDataStackForAuthToken(authToken, eventId);
    auto worker = stack ? stack->managedObjectContextWorkerOnBackground() : nullptr;
    if (!worker || !itemType || !itemType->insertOrUpdateCoreDataObject) {
        completeOnMain(completion, emptyError());
        return;
    }
    worker->performBlock([this, worker, items = std::move(items), itemType, authToken, eventId, completion] {
        Log("Operation addItemsToCoreData performed on thread %@", currentThreadDescription());
        Log("adding items for type %@", itemType->name);
        for (size_t i = 0; i < items.size(); ++i) {
            if (i % kRowsPerPause == 0) pauseRows();
            itemType->insertOrUpdateCoreDataObject(nullptr, items[i], *worker);
        }
        completeOnMain(completion, saveContextForAuthToken(authToken, eventId, false));
    });
}

void StorageManager::deleteAndAddItemsToCoreData(Items items, const EntityClassPtr& itemType,
                                                 coredata::PredicatePtr predicate, const Text& authToken,
                                                 const Text& eventId, WriteCompletion completion) {
    replaceItems(std::move(items), itemType, std::move(predicate), true, "deleteAndAdd", authToken, eventId,
                 std::move(completion));
}

void StorageManager::deleteItemsFromCoreDataForItemType(const EntityClassPtr& itemType, const Text& authToken,
                                                        const Text& eventId, coredata::PredicatePtr predicate,
                                                        bool /*saveContext*/, dispatch::QueuePtr /*resultQueue*/,
                                                        WriteCompletion completion) {
    replaceItems({}, itemType, std::move(predicate), false, "deleteItemsFromCoreDataForItemType", authToken, eventId,
                 std::move(completion));
}

// One replace's state: set up on the caller's thread, then touched on the
// worker queue only.
struct StorageManager::PagedReplace {
    coredata::ContextPtr worker;
    std::shared_ptr<coredata::FetchRequest> request;  // null: nothing to write into
    EntityClassPtr itemType;
    const char* operation = "";
    Text authToken, eventId;
    ErrorPtr error;
    Value::Array replacedRows;  // the identifiers of the rows being replaced
    bool looked = false;        // they were found
    size_t inserted = 0;
    size_t saved = 0;  // the rows inserted up to the last save of its own
};

std::shared_ptr<StorageManager::PagedReplace> StorageManager::makeReplace(const EntityClassPtr& itemType,
                                                                          coredata::PredicatePtr predicate,
                                                                          bool insert, const char* operation,
                                                                          const Text& authToken,
                                                                          const Text& eventId) const {
    auto replace = std::make_shared<PagedReplace>();
    auto stack = getCoreDataStackForAuthToken(authToken, eventId);
    replace->worker = stack ? stack->managedObjectContextWorkerOnBackground() : nullptr;
    auto request = fetchRequestForItemType(itemType, std::move(predicate), replace->worker);
    if (!replace->worker || !request || !request->entity() || (insert && !itemType->insertOrUpdateCoreDataObject)) {
        Log("%@", kMissingWriteTarget);
        return replace;
    }
    // Identifiers only: the rows are loaded one at a time as they are deleted.
    request->setResultType(coredata::FetchRequestResultType::ManagedObjectID);
    replace->request = std::move(request);
    replace->itemType = itemType;
    replace->operation = operation;
    replace->authToken = authToken;
    replace->eventId = eventId;
    return replace;
}

void StorageManager::fetchReplacedRows(PagedReplace& replace) const {
    Log("Operation %s performed on thread %@", replace.operation, currentThreadDescription());
    ErrorPtr fetchError;
    replace.replacedRows = replace.worker->executeFetchRequest(*replace.request, &fetchError);
    replace.looked = !fetchError;
    if (!fetchError) return;
    Log("Unable to fetch data from db.");
    handleErrors(fetchError);
    replace.error = std::move(fetchError);
}

void StorageManager::deleteRows(PagedReplace& replace, const Value::Array& identifiers) const {
    auto& worker = *replace.worker;
    size_t deleted = 0;
    for (const auto& identifier : identifiers) {
        if (auto id = identifier.objectAs<coredata::ManagedObjectID>()) {
            if (auto row = worker.objectWithID(id)) worker.deleteObject(row);
        }
        if (++deleted % kRowsPerPause == 0) pauseRows();
    }
}

void StorageManager::deleteReplacedRows(PagedReplace& replace) const {
    if (replace.error) return;
    Log("Deleting items for type %@", replace.itemType->name);
    deleteRows(replace, replace.replacedRows);
    replace.replacedRows.clear();
}

void StorageManager::insertReplacingItems(PagedReplace& replace, const Items& items) const {
    if (replace.error) return;
    if (replace.inserted == 0) Log("adding items for type %@", replace.itemType->name);
    for (const auto& item : items) {
        replace.itemType->insertOrUpdateCoreDataObject(nullptr, item, *replace.worker);
        if (replace.inserted++ % kRowsPerPause == 0) pauseRows();
    }
}

void StorageManager::completeReplace(PagedReplace& replace, const WriteCompletion& completion) {
    if (replace.error) {
        completeOnMain(completion, replace.error);
        return;
    }
    completeOnMain(completion, saveContextForAuthToken(replace.authToken, replace.eventId, false));
}

void StorageManager::replaceItems(Items items, const EntityClassPtr& itemType, coredata::PredicatePtr predicate,
                                  bool insert, const char* operation, const Text& authToken, const Text& eventId,
                                  WriteCompletion completion) {
    auto replace = makeReplace(itemType, std::move(predicate), insert, operation, authToken, eventId);
    if (!replace->request) {
        completeOnMain(completion, emptyError());
        return;
    }
    // One block: no other write's save comes between the deletion and the
    // insertion.
    replace->worker->performBlock([this, replace, items = std::move(items), insert, completion] {
        fetchReplacedRows(*replace);
        deleteReplacedRows(*replace);
        if (insert) insertReplacingItems(*replace, items);
        completeReplace(*replace, completion);
    });
}

std::shared_ptr<StorageManager::PagedReplace> StorageManager::beginPagedReplace(const EntityClassPtr& itemType,
                                                                                const Text& authToken,
                                                                                const Text& eventId) {
    auto replace = makeReplace(itemType, nullptr, true, "deleteAndAdd", authToken, eventId);
    if (replace->request) replace->worker->performBlock([this, replace] { fetchReplacedRows(*replace); });
    return replace;
}

void StorageManager::addPageToReplace(const std::shared_ptr<PagedReplace>& replace, Items items) {
    if (!replace->request) return;
    replace->worker->performBlock([this, replace, items = std::move(items)] {
        insertReplacingItems(*replace, items);
        // A long list's rows go down the chain as they come, so its end
        // does not wait for the file to take all of them at once.
        if (replace->error || replace->inserted - replace->saved < kRowsPerInterimSave) return;
        replace->saved = replace->inserted;
        replace->error = saveContextForAuthToken(replace->authToken, replace->eventId, false);
    });
}

void StorageManager::finishPagedReplace(const std::shared_ptr<PagedReplace>& replace, WriteCompletion completion) {
    if (!replace->request) {
        completeOnMain(completion, emptyError());
        return;
    }
    replace->worker->performBlock([this, replace, completion] {
        deleteReplacedRows(*replace);
        completeReplace(*replace, completion);
    });
}

void StorageManager::abandonPagedReplace(const std::shared_ptr<PagedReplace>& replace, WriteCompletion completion) {
    if (!replace->request) {
        completeOnMain(completion, nullptr);
        return;
    }
    replace->worker->performBlock([this, replace, completion] {
        // The rows of the entity now are the replaced ones and the pages'
        // (saved or not, as other writes saved the worker meanwhile).
        ErrorPtr fetchError;
        Value::Array rows =
            replace->looked ? replace->worker->executeFetchRequest(*replace->request, &fetchError) : Value::Array();
        if (fetchError) handleErrors(fetchError);
        std::unordered_set<int64_t> replaced;
        for (const auto& identifier : replace->replacedRows)
            if (auto id = identifier.objectAs<coredata::ManagedObjectID>()) replaced.insert(id->primaryKey());
        Value::Array added;
        for (auto& identifier : rows) {
            auto id = identifier.objectAs<coredata::ManagedObjectID>();
            if (id && !replaced.count(id->primaryKey())) added.push_back(std::move(identifier));
        }
        deleteRows(*replace, added);
        completeOnMain(completion, saveContextForAuthToken(replace->authToken, replace->eventId, false));
    });
}

void StorageManager::updateItemToCoreData(foundation::ObjectPtr item, const Text& authToken, const Text& eventId,
                                          bool /*saveOption*/, WriteCompletion completion) {
    const auto* model = dynamic_cast<const IEntityModel*>(item.get());
    const auto className = model ? model->coreDataClass() : std::nullopt;
    const EntityClassPtr itemType = className ? EntityClass::named(*className) : nullptr;
    // Only a class that can match a model to its row can update one.
    coredata::PredicatePtr predicate =
        itemType && itemType->comparisonPredicateForObject ? itemType->comparisonPredicateForObject(item) : nullptr;

    auto stack = getCoreDataStackForAuthToken(authToken, eventId);
    auto worker = stack ? stack->managedObjectContextWorkerOnBackground() : nullptr;
    auto request = predicate ? fetchRequestForItemType(itemType, predicate, worker) : nullptr;
    if (!worker || !request || !request->entity() || !itemType->insertOrUpdateCoreDataObject) {
        Log("%@", kMissingWriteTarget);
        completeOnMain(completion, emptyError());
        return;
    }
    worker->performBlock([this, worker, request, item = std::move(item), itemType, authToken, eventId, completion] {
        Log("Operation updateItemToCoreData performed on thread %@", currentThreadDescription());
        ErrorPtr fetchError;
        Value::Array rows = worker->executeFetchRequest(*request, &fetchError);
        if (fetchError) {
            Log("Unable to fetch data from db.");
            handleErrors(fetchError);
            completeOnMain(completion, fetchError);
            return;
        }
        coredata::ManagedObjectPtr row = rows.empty() ? nullptr : rows.front().objectAs<coredata::ManagedObject>();
        itemType->insertOrUpdateCoreDataObject(row, item, *worker);
        completeOnMain(completion, saveContextForAuthToken(authToken, eventId, false));
    });
}

void StorageManager::deltaUpdateItemsToCoreData(Items items, const EntityClassPtr& itemType, const Text& authToken,
                                                const Text& eventId, WriteCompletion completion) {
    if (items.empty()) {
        if (completion) completion(nullptr, Value());
        return;
    }
    if (!itemType || !itemType->comparisonPropertyName) {
        Log("%@", kMissingWriteTarget);
        completeOnMain(completion, emptyError());
        return;
    }
    const std::string& key = *itemType->comparisonPropertyName;
    Items written;
    Value::Array keys;
    for (const auto& item : items) {
        const Value object(item);
        keys.push_back(coredata::valueForKey(object, key));
        const std::string action = coredata::valueForKey(object, "changeAction").stringValue();
        if (action == "I" || action == "U") written.push_back(item);
    }
    auto predicate = coredata::Predicate::withFormat("%K IN %@", key, Value(std::move(keys)));
    deleteAndAddItemsToCoreData(std::move(written), itemType, std::move(predicate), authToken, eventId,
                                std::move(completion));
}

// ---- Errors -------------------------------------------------------------------------

void StorageManager::handleErrors(const ErrorPtr& error) const {
    if (error) Utils::logError(error);
}

// ---- Store files --------------------------------------------------------------------

bool StorageManager::movePersistentStoreFileForAuthToken(const Text& authToken, const Text& eventId) {
    setCoreDataStackCaches({});
    const auto paths = CoreDataStack::databaseUrlsStringsToBeMovedForAuthToken(authToken, eventId);
    auto& files = foundation::FileManager::defaultManager();
    if (!files.fileExistsAtPath(paths.front())) return true;
    bool movedAll = true;
    for (const auto& path : paths) {
        ErrorPtr error;
        if (!files.moveItemAtPath(path, oldPath(path), &error)) {
            Utils::handleError(error, "Error on movePersistentStoreFileForAuthToken",
                               std::string("Unable to move item"), false);
            movedAll = false;
        }
    }
    return movedAll;
}

bool StorageManager::revertCopyPersistentStoreFileForAuthToken(const Text& authToken, const Text& eventId) {
    setCoreDataStackCaches({});
    const auto paths = CoreDataStack::databaseUrlsStringsToBeMovedForAuthToken(authToken, eventId);
    auto& files = foundation::FileManager::defaultManager();
    if (!files.fileExistsAtPath(paths.front())) return false;
    bool revertedAll = true;
    for (const auto& path : paths) {
        files.removeItemAtPath(path);
        ErrorPtr error;
        if (!files.moveItemAtPath(oldPath(path), path, &error)) {
            Utils::handleError(error, "Error on revertCopyPersistentStoreFileForAuthToken",
                               std::string("Unable to move item"), false);
            revertedAll = false;
        }
    }
    return revertedAll;
}

bool StorageManager::cachedCopyOfPersistentStoreExistsForAuthToken(const Text& authToken, const Text& eventId) const {
    const auto paths = CoreDataStack::databaseUrlsStringsToBeMovedForAuthToken(authToken, eventId);
    return foundation::FileManager::defaultManager().fileExistsAtPath(oldPath(paths.front()));
}

bool StorageManager::deleteCachedCopyOfPersistentStoreForAuthToken(const Text& authToken, const Text& eventId) {
    const auto paths = CoreDataStack::databaseUrlsStringsToBeMovedForAuthToken(authToken, eventId);
    auto& files = foundation::FileManager::defaultManager();
    if (!files.fileExistsAtPath(paths.front())) return true;
    bool deletedAll = true;
    for (const auto& path : paths) {
        ErrorPtr error;
        if (!files.removeItemAtPath(oldPath(path), &error)) {
            Utils::handleError(error, "Error on deleteCachedCopyOfPersistentStore",
                               std::string("Unable to remove item"), false);
            deletedAll = false;
        }
    }
    return deletedAll;
}
