// Contexts: queues and re-entrancy, change tracking, the save cascade and
// fetches through the chain. Managed objects never cross queues: what moves
// between contexts is rows (StoreRow), copied on the sending side.
#include "coredata/ManagedObjectContext.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <atomic>
#include <deque>
#include <optional>
#include <unordered_set>

#include "coredata/Constants.h"
#include "coredata/StoreRow.h"
#include "dispatch/Queue.h"
#include "foundation/Exception.h"
#include "foundation/NotificationCenter.h"
#include "foundation/RunLoop.h"

namespace coredata {

using detail::ChangeSet;
using detail::FetchOutcome;
using detail::FetchPlan;
using detail::StoreRow;
using foundation::ErrorPtr;
using foundation::Value;

// ---- Queue ownership -------------------------------------------------------
//
// A thread "owns" a context while it runs one of the context's blocks, and so
// does any thread running a block that an owner is blocked waiting for. Owned
// contexts run performBlockAndWait inline; that is what makes a save on a
// worker, pushing into the main context while the main thread waits for that
// worker, finish instead of deadlocking.

namespace {
struct Ownership {
    std::vector<const ManagedObjectContext*> contexts;
    bool mainThread = false;
};
thread_local Ownership tlsOwnership;
}  // namespace

struct ContextScope {
    Ownership saved;
    ContextScope(const ManagedObjectContext* context, const Ownership* inherited) : saved(tlsOwnership) {
        if (inherited) {
            tlsOwnership.contexts.insert(tlsOwnership.contexts.end(), inherited->contexts.begin(), inherited->contexts.end());
            tlsOwnership.mainThread = tlsOwnership.mainThread || inherited->mainThread;
        }
        tlsOwnership.contexts.push_back(context);
    }
    ~ContextScope() { tlsOwnership = std::move(saved); }
};

namespace {

std::atomic<int> nextQueueNumber{1};

ErrorPtr noStoreError() {
    return foundation::Error::withDescription(foundation::kCocoaErrorDomain, StoreError::NoStore,
                                              "The context is connected to no persistent store");
}

}  // namespace

ContextPtr ManagedObjectContext::create(ConcurrencyType type) { return std::make_shared<ManagedObjectContext>(type); }

ManagedObjectContext::ManagedObjectContext(ConcurrencyType type) : type_(type) {
    queue_ = type == ConcurrencyType::MainQueue
                 ? dispatch::Queue::main()
                 : dispatch::Queue::createSerial("com.quovana.coredata.context." + std::to_string(nextQueueNumber++));
}

ManagedObjectContext::~ManagedObjectContext() = default;

ContextPtr ManagedObjectContext::self() {
    return std::static_pointer_cast<ManagedObjectContext>(shared_from_this());
}

void ManagedObjectContext::setPersistentStoreCoordinator(CoordinatorPtr coordinator) { coordinator_ = std::move(coordinator); }
void ManagedObjectContext::setParentContext(ContextPtr parent) { parent_ = std::move(parent); }

const CoordinatorPtr& ManagedObjectContext::persistentStoreCoordinator() const {
    static const CoordinatorPtr none;
    for (auto c = this; c; c = c->parent_.get())
        if (c->coordinator_) return c->coordinator_;
    return none;
}

// A fetch, save, insert or delete off the context's queue races the queue's
// own work on the same objects and change sets; the builds with sequence
// checks (the sanitizer builds) stop there, naming the operation, rather
// than let it corrupt a list later.
namespace {

void checkSequence(bool onOwnQueue, const char* operation) {
#ifdef QVA_SEQUENCE_CHECKS
    if (onOwnQueue) return;
    std::fprintf(stderr, "coredata: %s off its context's queue\n", operation);
    std::abort();
#else
    (void)onOwnQueue;
    (void)operation;
#endif
}

}  // namespace

bool ManagedObjectContext::isOnOwnQueue() const {
    if (type_ == ConcurrencyType::MainQueue && (foundation::isMainThread() || tlsOwnership.mainThread)) return true;
    if (type_ == ConcurrencyType::PrivateQueue && queue_->isCurrent()) return true;
    return std::find(tlsOwnership.contexts.begin(), tlsOwnership.contexts.end(), this) != tlsOwnership.contexts.end();
}

void ManagedObjectContext::performBlock(std::function<void()> block) {
    ++pendingBlocks_;
    queue_->async([self = self(), block = std::move(block)] {
        // Counted down however the block ends.
        struct PendingBlockDone {
            std::atomic<int>& count;
            ~PendingBlockDone() { --count; }
        } done{self->pendingBlocks_};
        ContextScope scope(self.get(), nullptr);
        block();
    });
}

void ManagedObjectContext::performBlockAndWait(const std::function<void()>& block) {
    if (isOnOwnQueue()) {
        ContextScope scope(this, nullptr);
        block();
        return;
    }
    Ownership inherited = tlsOwnership;
    inherited.mainThread = inherited.mainThread || foundation::isMainThread();
    queue_->sync([this, &inherited, &block] {
        ContextScope scope(this, &inherited);
        block();
    });
}

// ---- Objects ---------------------------------------------------------------

ManagedObjectPtr ManagedObjectContext::registeredObject(int64_t primaryKey) const {
    if (const auto* weak = registered_.find(primaryKey))
        if (auto object = weak->lock()) return object;
    // A new object is held by the inserted objects alone until it is saved.
    auto inserted = inserted_.find(primaryKey);
    return inserted == inserted_.end() ? nullptr : inserted->second;
}

void ManagedObjectContext::registerObject(const ManagedObjectPtr& object) {
    registered_.insert_or_assign(object->objectID()->primaryKey(), object);
    // Unchanged objects are held weakly; drop the entries of those gone.
    if (registered_.size() > 2 * registeredAtLastPurge_ + 1024) {
        registered_.eraseExpired();
        registeredAtLastPurge_ = registered_.size();
    }
}

ManagedObjectPtr ManagedObjectContext::makeObject(const StoreRow& row, ManagedObjectIDPtr id, bool registered) {
    const auto& coordinator = persistentStoreCoordinator();
    auto object = ManagedObject::make(*row.entity);
    object->id_ = id ? std::move(id) : coordinator->objectID(*row.entity, row.primaryKey);
    object->entity_ = object->id_->entityPtr();
    object->context_ = self();
    size_t count = row.entity->attributes().size();
    if (row.values && row.values->size() == count) object->values_ = std::const_pointer_cast<detail::RowValues>(row.values);
    else object->mutableValues().resize(count);
    object->changed_.assign(count, false);
    if (registered) registerObject(object);
    return object;
}

ManagedObjectPtr ManagedObjectContext::insertNewObject(const std::string& entityName) {
    checkSequence(isOnOwnQueue(), "an insert");
    const auto& coordinator = persistentStoreCoordinator();
    if (!coordinator)
        foundation::raise(foundation::kInternalInconsistencyException, "The context has no persistent store coordinator");
    auto entity = coordinator->managedObjectModel()->entityNamed(entityName);
    if (!entity)
        foundation::raise(foundation::kInvalidArgumentException, "No entity named '" + entityName + "' in the model");
    auto id = coordinator->newObjectID(*entity);
    const int64_t primaryKey = id->primaryKey();
    // A bulk write inserts thousands of objects that its save then lets go:
    // they are registered only if they outlive that save.
    auto object = makeObject(StoreRow{entity, primaryKey, std::make_shared<detail::RowValues>(entity->defaultValues())},
                             std::move(id), false);
    object->inserted_ = true;
    // New keys grow, so they go at the end.
    inserted_.insert_or_assign(primaryKey, object);
    noteContentChange();
    return object;
}

void ManagedObjectContext::objectDidChange(ManagedObject& object) {
    noteContentChange();
    int64_t key = object.objectID()->primaryKey();
    if (!reportedByMerge_.empty()) reportedByMerge_.erase(key);
    object.mergeReported_ = false;
    if (object.inserted_ || object.deleted_) return;
    if (auto strong = registeredObject(key); strong.get() == &object) {
        object.updated_ = true;
        updated_[key] = strong;
    }
}

void ManagedObjectContext::deleteObject(const ManagedObjectPtr& object) {
    checkSequence(isOnOwnQueue(), "a delete");
    if (!object || object->context_.lock().get() != this || object->deleted_) return;
    int64_t key = object->objectID()->primaryKey();
    reportedByMerge_.erase(key);
    if (object->inserted_) {
        inserted_.erase(key);
        registered_.erase(key);
        object->inserted_ = false;
        object->context_.reset();
        noteContentChange();
        return;
    }
    updated_.erase(key);
    object->updated_ = false;
    object->deleted_ = true;
    deleted_[key] = object;
    noteContentChange();
}

ManagedObjectPtr ManagedObjectContext::objectWithID(const ManagedObjectIDPtr& id) {
    if (!id) return nullptr;
    // A child's row kept as a row becomes this context's inserted object.
    if (pendingInserted_.count(id->primaryKey())) materializePendingRows();
    if (auto object = registeredObject(id->primaryKey())) return object->deleted_ ? nullptr : object;
    FetchPlan plan;
    plan.entity = &id->entity();
    plan.entities = {plan.entity};
    plan.primaryKey = id->primaryKey();
    auto outcome = collectRows(plan);
    if (outcome.error || outcome.rows.empty()) return nullptr;
    return makeObject(outcome.rows.front());
}

bool ManagedObjectContext::hasChanges() const {
    return !inserted_.empty() || !updated_.empty() || !deleted_.empty() || !pendingInserted_.empty();
}

bool ManagedObjectContext::changesAreObserved() const {
    {
        std::lock_guard lock(observersMutex_);
        if (!observers_.empty()) return true;
    }
    auto& center = foundation::NotificationCenter::defaultCenter();
    return center.hasObserversForName(kManagedObjectContextDidSaveNotification);
}

void ManagedObjectContext::materializePendingRows() {
    auto rows = std::move(pendingInserted_);
    pendingInserted_.clear();
    for (const auto& [key, row] : rows) {
        auto object = makeObject(row);
        object->inserted_ = true;
        inserted_.insert_or_assign(key, object);
    }
}

namespace {
template <class Map>
std::vector<ManagedObjectPtr> valuesOf(const Map& m) {
    std::vector<ManagedObjectPtr> out;
    out.reserve(m.size());
    for (const auto& [k, v] : m) out.push_back(v);
    return out;
}

// The same, emptying the map: no count of a saved object is raised here only
// to be lowered as the map is cleared.
template <class Map>
std::vector<ManagedObjectPtr> takeValuesOf(Map& m) {
    std::vector<ManagedObjectPtr> out;
    out.reserve(m.size());
    for (auto& [k, v] : m) out.push_back(std::move(v));
    m.clear();
    return out;
}
}  // namespace

std::vector<ManagedObjectPtr> ManagedObjectContext::insertedObjects() const {
    // Contexts live in shared_ptrs made non-const; asking is looking.
    if (!pendingInserted_.empty()) const_cast<ManagedObjectContext*>(this)->materializePendingRows();
    return valuesOf(inserted_);
}
std::vector<ManagedObjectPtr> ManagedObjectContext::updatedObjects() const { return valuesOf(updated_); }
std::vector<ManagedObjectPtr> ManagedObjectContext::deletedObjects() const { return valuesOf(deleted_); }

void ManagedObjectContext::reset() {
    const auto forget = [](ManagedObject& o) {
        o.context_.reset();
        o.inserted_ = o.updated_ = o.deleted_ = false;
    };
    registered_.forEach([&](int64_t, const std::weak_ptr<ManagedObject>& weak) {
        if (auto o = weak.lock()) forget(*o);
    });
    for (auto& [k, o] : inserted_) forget(*o);
    registered_.clear();
    inserted_.clear();
    updated_.clear();
    deleted_.clear();
    pendingInserted_.clear();
    noteContentChange();
}

uint64_t ManagedObjectContext::contentGeneration() const {
    // Each count only grows, so the sum moves whenever one of them does.
    uint64_t generation = 0;
    const ManagedObjectContext* root = this;
    for (auto c = this; c; c = c->parent_.get()) {
        generation += c->contentChanges_.load(std::memory_order_acquire);
        root = c;
    }
    // The root's own saves to the store only move its changes into the file:
    // the chain shows the same before and after, so only other saves count.
    if (root->coordinator_) generation += root->coordinator_->storeGenerationBesides(&root->ownStoreSaves_);
    return generation;
}

// ---- Saving ----------------------------------------------------------------

ChangeSet ManagedObjectContext::takeChangeSet() {
    ChangeSet changes;
    changes.inserted.reserve(inserted_.size() + pendingInserted_.size());
    changes.updated.reserve(updated_.size());
    changes.deleted.reserve(deleted_.size());
    for (const auto& [k, o] : inserted_) changes.inserted.push_back({&o->entity(), k, o->values_});
    // A save passes on tens of thousands of such rows: moving them saves two
    // atomic updates of each row's count, far apart in memory.
    for (auto& [k, row] : pendingInserted_) changes.inserted.push_back(std::move(row));
    if (!inserted_.empty() && !pendingInserted_.empty())
        std::sort(changes.inserted.begin(), changes.inserted.end(),
                  [](const StoreRow& a, const StoreRow& b) { return a.primaryKey < b.primaryKey; });
    for (const auto& [k, o] : updated_) changes.updated.push_back({&o->entity(), k, o->values_});
    // A deleted row keeps the values it had, so that the contexts above can
    // tell their observers which object went (by its key, say).
    for (const auto& [k, o] : deleted_) changes.deleted.push_back({&o->entity(), k, o->values_});
    return changes;
}

void ManagedObjectContext::restoreRows(ChangeSet& changes) {
    for (auto& row : changes.inserted)
        if (auto kept = pendingInserted_.find(row.primaryKey); kept != pendingInserted_.end() && !kept->second.values)
            kept->second = std::move(row);
}

ContextChanges ManagedObjectContext::mergeChildChanges(ChangeSet& changes) {
    ContextChanges merged;
    // Nobody would see these rows as objects: they stay rows.
    const bool observed = changesAreObserved();
    if (observed) materializePendingRows();
    for (auto& row : changes.inserted) {
        if (!observed && !registeredObject(row.primaryKey)) {
            // A child's rows come in key order, mostly after those held.
            pendingInserted_.insert_or_assign(row.primaryKey, std::move(row));
            continue;
        }
        auto object = makeObject(row);
        object->inserted_ = true;
        inserted_.insert_or_assign(row.primaryKey, object);
        merged.inserted.push_back(object);
    }
    for (auto& row : changes.updated) {
        if (auto pending = pendingInserted_.find(row.primaryKey); pending != pendingInserted_.end()) {
            pending->second = std::move(row);
            continue;
        }
        auto object = registeredObject(row.primaryKey);
        if (!object) object = makeObject(row);
        if (row.values->size() == object->values_->size()) {
            for (size_t i = 0; i < row.values->size(); ++i) {
                const Value &now = (*row.values)[i], &was = (*object->values_)[i];
                if (!(now.type() == was.type() && now == was)) object->changed_[i] = true;
            }
            object->values_ = std::const_pointer_cast<detail::RowValues>(row.values);
        }
        if (object->deleted_) {
            deleted_.erase(row.primaryKey);
            object->deleted_ = false;
        }
        if (!object->inserted_) {
            object->updated_ = true;
            updated_[row.primaryKey] = object;
        }
        merged.updated.push_back(object);
    }
    for (const auto& row : changes.deleted) {
        // Never reached the store and never seen: it simply goes away.
        if (pendingInserted_.erase(row.primaryKey)) continue;
        auto object = registeredObject(row.primaryKey);
        if (object && object->inserted_) {
            // Never reached the store: it simply goes away.
            inserted_.erase(row.primaryKey);
            registered_.erase(row.primaryKey);
            object->inserted_ = false;
            object->context_.reset();
            merged.deleted.push_back(object);
            continue;
        }
        if (!object) object = makeObject(row);
        updated_.erase(row.primaryKey);
        object->updated_ = false;
        object->deleted_ = true;
        deleted_[row.primaryKey] = object;
        merged.deleted.push_back(object);
    }
    for (const auto* objects : {&merged.inserted, &merged.updated, &merged.deleted})
        for (const auto& o : *objects) {
            reportedByMerge_.insert(o->objectID()->primaryKey());
            o->mergeReported_ = true;
        }
    return merged;
}

ErrorPtr ManagedObjectContext::save() {
    checkSequence(isOnOwnQueue(), "a save");
    if (!hasChanges()) return nullptr;
    if (!pendingInserted_.empty() && changesAreObserved()) materializePendingRows();
    ChangeSet changes = takeChangeSet();
    if (parent_) {
        ContextChanges merged;
        auto parent = parent_;
        parent->performBlockAndWait([&] {
            merged = parent->mergeChildChanges(changes);
            parent->noteContentChange();
            parent->notifyObservers(merged);
        });
    } else if (coordinator_) {
        if (auto error = coordinator_->executeSave(changes, &ownStoreSaves_)) {
            restoreRows(changes);
            return error;
        }
    } else {
        restoreRows(changes);
        return noStoreError();
    }

    ContextChanges saved{takeValuesOf(inserted_), takeValuesOf(updated_), takeValuesOf(deleted_)};
    for (auto& o : saved.inserted) {
        o->inserted_ = false;
        o->changed_.assign(o->changed_.size(), false);
    }
    for (auto& o : saved.updated) {
        o->updated_ = false;
        o->changed_.assign(o->changed_.size(), false);
    }
    for (auto& o : saved.deleted) {
        registered_.erase(o->objectID()->primaryKey());
        o->deleted_ = false;
        o->context_.reset();
    }
    inserted_.clear();
    updated_.clear();
    deleted_.clear();
    pendingInserted_.clear();

    // The saved objects become a notification only for someone listening.
    auto& center = foundation::NotificationCenter::defaultCenter();
    if (center.hasObserversForName(kManagedObjectContextDidSaveNotification)) {
        auto asArray = [](const std::vector<ManagedObjectPtr>& objects) {
            Value::Array out;
            out.reserve(objects.size());
            for (const auto& o : objects) out.push_back(Value(o));
            return Value(std::move(out));
        };
        Value userInfo = Value::dictionary({{kInsertedObjectsKey, asArray(saved.inserted)},
                                            {kUpdatedObjectsKey, asArray(saved.updated)},
                                            {kDeletedObjectsKey, asArray(saved.deleted)}});
        center.postNotificationName(kManagedObjectContextDidSaveNotification,
                                    Value(std::static_pointer_cast<foundation::Object>(self())), userInfo);
    }
    ContextChanges unreported;
    auto keepUnreported = [&](std::vector<ManagedObjectPtr>& from, std::vector<ManagedObjectPtr>& to) {
        if (reportedByMerge_.empty()) {
            to = std::move(from);
            return;
        }
        for (const auto& o : from)
            if (!reportedByMerge_.count(o->objectID()->primaryKey())) to.push_back(o);
    };
    for (const auto* objects : {&saved.inserted, &saved.updated, &saved.deleted})
        for (const auto& o : *objects) o->mergeReported_ = false;
    const bool insertedHandedOn = reportedByMerge_.empty();
    keepUnreported(saved.inserted, unreported.inserted);
    keepUnreported(saved.updated, unreported.updated);
    keepUnreported(saved.deleted, unreported.deleted);
    reportedByMerge_.clear();
    if (!unreported.inserted.empty() || !unreported.updated.empty() || !unreported.deleted.empty())
        notifyObservers(unreported);
    // The new objects that someone still holds (the caller, an observer) are
    // found by their keys from now on; the others go with this save.
    std::vector<ManagedObjectPtr>& inserted = insertedHandedOn ? unreported.inserted : saved.inserted;
    if (!insertedHandedOn) unreported.inserted.clear();
    for (const auto& o : inserted)
        if (o.use_count() > 1 && !registeredObject(o->objectID()->primaryKey())) registerObject(o);
    return nullptr;
}

int ManagedObjectContext::addChangeObserver(std::function<void(const ContextChanges&)> observer) {
    std::lock_guard lock(observersMutex_);
    observers_.emplace_back(nextObserver_, std::move(observer));
    return nextObserver_++;
}

void ManagedObjectContext::removeChangeObserver(int handle) {
    std::lock_guard lock(observersMutex_);
    observers_.erase(std::remove_if(observers_.begin(), observers_.end(), [&](const auto& o) { return o.first == handle; }),
                     observers_.end());
}

void ManagedObjectContext::notifyObservers(const ContextChanges& changes) {
    if (changes.empty()) return;
    std::vector<std::pair<int, std::function<void(const ContextChanges&)>>> observers;
    {
        std::lock_guard lock(observersMutex_);
        observers = observers_;
    }
    for (const auto& entry : observers) {
        int handle = entry.first;
        {
            // Skip observers removed by an earlier one in this round.
            std::lock_guard lock(observersMutex_);
            if (std::none_of(observers_.begin(), observers_.end(), [&](const auto& o) { return o.first == handle; })) continue;
        }
        entry.second(changes);
    }
}

// ---- Fetching --------------------------------------------------------------

bool ManagedObjectContext::hasPendingChangesFor(const FetchPlan& plan) const {
    for (const auto& [k, row] : pendingInserted_)
        if (plan.includes(row.entity)) return true;
    const auto anyIncluded = [&](const auto& objects) {
        return std::any_of(objects.begin(), objects.end(),
                           [&](const auto& entry) { return plan.includes(&entry.second->entity()); });
    };
    return anyIncluded(inserted_) || anyIncluded(updated_) || anyIncluded(deleted_);
}

FetchOutcome ManagedObjectContext::collectRows(const FetchPlan& plan) {
    bool mine = hasPendingChangesFor(plan);
    // A fetch that would see the child's rows sees them as this context's objects.
    if (mine && !pendingInserted_.empty()) materializePendingRows();
    FetchPlan upward = plan;
    upward.pendingBelow = plan.pendingBelow || mine;
    FetchOutcome outcome;
    if (parent_) {
        // A root parent with nothing unsaved for this fetch adds nothing to
        // the file's rows: they are read here, on this thread, which makes
        // and frees them, instead of on the root's queue. Asking still goes
        // through that queue, so a save queued there before this fetch is in
        // the file by the time it is read.
        auto parent = parent_;
        bool readHere = false;
        parent->performBlockAndWait([&] {
            if (parent->coordinator_ && !parent->hasPendingChangesFor(upward)) readHere = true;
            else outcome = parent->collectRows(upward);
        });
        if (readHere) {
            // Read on this thread: the rows may come back with the values
            // this context's unchanged objects already hold.
            upward.heldValues = [this](int64_t key) -> std::shared_ptr<const detail::RowValues> {
                auto object = registeredObject(key);
                if (!object || object->hasChanges()) return nullptr;
                return object->values_;
            };
            outcome = parent->coordinator_->executeFetchBesideWriter(upward);
        }
    } else if (coordinator_) {
        outcome = coordinator_->executeFetch(upward);
    } else {
        outcome.error = noStoreError();
    }
    if (outcome.error || !mine) return outcome;

    auto pending = [&](int64_t key) { return inserted_.count(key) || updated_.count(key) || deleted_.count(key); };
    outcome.rows.erase(std::remove_if(outcome.rows.begin(), outcome.rows.end(), [&](const StoreRow& r) { return pending(r.primaryKey); }),
                       outcome.rows.end());
    const auto addMatching = [&](const auto& objects) {
        for (const auto& [key, object] : objects) {
            if (!plan.includes(&object->entity()) || (plan.primaryKey && *plan.primaryKey != key)) continue;
            if (plan.predicate && !plan.predicate->evaluateWithObject(Value(object))) continue;
            outcome.rows.push_back({&object->entity(), key, object->values_});
        }
    };
    addMatching(inserted_);
    addMatching(updated_);
    // A new object's later values do not reach its context (a bulk insert
    // would pay for it on every value), so whoever read one may not take an
    // unchanged number for unchanged answers.
    if (!inserted_.empty()) noteContentChange();
    outcome.windowApplied = false;
    return outcome;
}

std::vector<std::pair<Value, Value>> ManagedObjectContext::executeFetchRequestForPairs(const FetchRequest& request,
                                                                                    ErrorPtr* error) {
    checkSequence(isOnOwnQueue(), "a fetch");
    if (error) *error = nullptr;
    const auto& names = request.propertiesToFetch();
    if (names.size() != 2 || request.resultType() != FetchRequestResultType::Dictionary)
        foundation::raise(foundation::kInvalidArgumentException, "a fetch of pairs asks for dictionaries of two properties");
    FetchPlan plan;
    if (planFor(request, plan) && plan.dictionaries && !plan.distinct) {
        plan.pairs = true;
        FetchOutcome outcome = collectRows(plan);
        if (outcome.error) {
            if (error) *error = outcome.error;
            return {};
        }
        if (outcome.pairs) return std::move(*outcome.pairs);
    }
    // What the file cannot answer alone (unsaved changes, a sort in memory)
    // comes as dictionaries, taken apart.
    std::vector<std::pair<Value, Value>> pairs;
    for (const auto& row : executeFetchRequest(request, error)) pairs.emplace_back(row[names[0]], row[names[1]]);
    return pairs;
}

bool ManagedObjectContext::planFor(const FetchRequest& request, FetchPlan& plan) const {
    auto coordinator = persistentStoreCoordinator();
    if (!coordinator) return false;
    const auto& model = coordinator->managedObjectModel();
    const EntityDescription* entity = request.entity() ? model->entityNamed(request.entity()->name()) : nullptr;
    if (!entity) entity = model->entityNamed(request.entityName());
    if (!entity) return false;
    plan.entity = entity;
    plan.entities = request.includesSubentities() ? entity->selfAndDescendants() : std::vector<const EntityDescription*>{entity};
    plan.predicate = request.predicate();
    plan.sortDescriptors = request.sortDescriptors();
    bool distinctDictionaries =
        request.resultType() == FetchRequestResultType::Dictionary && request.returnsDistinctResults();
    if (!distinctDictionaries) {
        plan.limit = request.fetchLimit();
        plan.offset = request.fetchOffset();
    }
    plan.countOnly = request.resultType() == FetchRequestResultType::Count;
    // Such rows only ever become dictionaries, never objects; distinct ones
    // are kept once after they are made (see distinctWindow).
    if (request.resultType() == FetchRequestResultType::Dictionary) {
        plan.onlyAttributes = request.propertiesToFetch();
        plan.dictionaries = true;
        plan.distinct = request.returnsDistinctResults();
    }
    return true;
}

namespace {

// Sorts rows by the descriptors, reading attributes straight from the rows.
void sortRows(std::vector<StoreRow>& rows, const std::vector<SortDescriptor>& descriptors) {
    std::sort(rows.begin(), rows.end(), [](const StoreRow& a, const StoreRow& b) { return a.primaryKey < b.primaryKey; });
    if (descriptors.empty()) return;
    // The keys are read in place from the rows; only a key path that is no
    // attribute makes a value, kept where the pointers to it stay valid.
    std::deque<Value> derived;
    std::vector<std::vector<const Value*>> columns(descriptors.size());
    for (size_t k = 0; k < descriptors.size(); ++k) {
        const auto& key = descriptors[k].key();
        columns[k].reserve(rows.size());
        const EntityDescription* entity = nullptr;
        std::optional<size_t> index;
        for (const auto& row : rows) {
            if (row.entity != entity) {
                entity = row.entity;
                index = entity->attributeIndex(key);
            }
            if (index) {
                columns[k].push_back(&(*row.values)[*index]);
            } else {
                derived.push_back(valueForKeyPath(detail::rowAsValue(row), key));
                columns[k].push_back(&derived.back());
            }
        }
    }
    const auto order = stableOrderByColumns(columns, descriptors);
    std::vector<StoreRow> sorted;
    sorted.reserve(rows.size());
    for (size_t i : order) sorted.push_back(std::move(rows[i]));
    rows = std::move(sorted);
}

// What tells two dictionaries apart: each value's key, type and text.
std::string distinctIdentity(const Value::Dictionary& dictionary) {
    std::string identity;
    for (const auto& [name, value] : dictionary)
        identity += name + '\x1f' + std::to_string(int(value.type())) + '\x1f' + value.description() + '\x1e';
    return identity;
}

// The first of each run of equal dictionaries, in order, then the window:
// a distinct fetch's offset and limit count distinct results.
Value::Array distinctWindow(Value::Array dictionaries, size_t offset, size_t limit) {
    std::unordered_set<std::string> seen;
    Value::Array kept;
    size_t skipped = 0;
    for (auto& dictionary : dictionaries) {
        const auto* entries = dictionary.dictionary();
        if (!seen.insert(entries ? distinctIdentity(*entries) : std::string()).second) continue;
        if (skipped < offset) {
            ++skipped;
            continue;
        }
        kept.push_back(std::move(dictionary));
        if (limit && kept.size() >= limit) break;
    }
    return kept;
}

void applyWindow(std::vector<StoreRow>& rows, size_t offset, size_t limit) {
    if (offset) rows.erase(rows.begin(), rows.begin() + std::ptrdiff_t(std::min(offset, rows.size())));
    if (limit && rows.size() > limit) rows.resize(limit);
}

}  // namespace

Value::Array ManagedObjectContext::executeFetchRequest(const FetchRequest& request, ErrorPtr* error) {
    checkSequence(isOnOwnQueue(), "a fetch");
    if (error) *error = nullptr;
    FetchPlan plan;
    if (!planFor(request, plan)) {
        if (!persistentStoreCoordinator() && error) *error = noStoreError();
        return {};
    }
    FetchOutcome outcome = collectRows(plan);
    if (outcome.error) {
        if (error) *error = outcome.error;
        return {};
    }
    if (outcome.count) return {Value(int64_t(*outcome.count))};
    if (outcome.dictionaries) {
        if (!request.returnsDistinctResults()) return std::move(*outcome.dictionaries);
        return distinctWindow(std::move(*outcome.dictionaries), request.fetchOffset(), request.fetchLimit());
    }
    auto& rows = outcome.rows;
    if (!outcome.windowApplied) {
        sortRows(rows, plan.sortDescriptors);
        applyWindow(rows, plan.offset, plan.limit);
    }

    Value::Array results;
    switch (request.resultType()) {
        case FetchRequestResultType::Count: return {Value(int64_t(rows.size()))};
        case FetchRequestResultType::ManagedObject:
            results.reserve(rows.size());
            for (const auto& row : rows) {
                auto object = registeredObject(row.primaryKey);
                if (!object) {
                    object = makeObject(row);
                } else if (!object->hasChanges()) {
                    object->values_ = std::const_pointer_cast<detail::RowValues>(row.values);
                }
                results.push_back(Value(object));
            }
            return results;
        case FetchRequestResultType::ManagedObjectID: {
            auto coordinator = persistentStoreCoordinator();
            for (const auto& row : rows) results.push_back(Value(coordinator->objectID(*row.entity, row.primaryKey)));
            return results;
        }
        case FetchRequestResultType::Dictionary: {
            results.reserve(rows.size());
            for (const auto& row : rows) {
                Value::Dictionary d;
                auto add = [&](const std::string& name) {
                    auto index = row.entity->attributeIndex(name);
                    if (!index || (*row.values)[*index].isNothing()) return;
                    d[name] = (*row.values)[*index];
                };
                if (request.propertiesToFetch().empty())
                    for (const auto& a : row.entity->attributes()) add(a.name);
                else
                    for (const auto& name : request.propertiesToFetch()) add(name);
                results.push_back(Value(std::move(d)));
            }
            if (request.returnsDistinctResults())
                return distinctWindow(std::move(results), request.fetchOffset(), request.fetchLimit());
            return results;
        }
    }
    return results;
}

size_t ManagedObjectContext::countForFetchRequest(const FetchRequest& request, ErrorPtr* error) {
    FetchRequest counting = request;
    counting.setResultType(FetchRequestResultType::Count);
    auto result = executeFetchRequest(counting, error);
    return result.empty() ? 0 : size_t(result.front().integerValue());
}

}  // namespace coredata
