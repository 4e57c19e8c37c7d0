// The delta update engine and the revision refresh of one kind.
#include "api/QVAApiManagerDelta.h"

#include <algorithm>
#include <charconv>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "settings/ApplicationSettingsStore.h"
#include "api/MapFilesHook.h"
#include "api/MessagesBadgeHook.h"
#include "api/DeltaLeftOutRows.h"
#include "api/QVAApiManager.h"
#include "api/QVAApiManagerRefresh.h"
#include "api/RevisionListing.h"
#include "api/RowsWithoutId.h"
#include "coredata/FetchRequest.h"
#include "coredata/Predicate.h"
#include "dispatch/Group.h"
#include "dispatch/Queue.h"
#include "foundation/Exception.h"
#include "foundation/Log.h"
#include "model/CommaJoinedList.h"
#include "model/ModelClass.h"
#include "model/ModelReading.h"
#include "model/QVABaseItemModel.h"
#include "model/QVAError.h"
#include "model/EntityClass.h"
#include "store/StorageManager.h"

using foundation::ErrorPtr;
using foundation::Log;
using foundation::Value;

namespace QVAApiManagerDelta {

namespace {

using Kind = void (*)(const Text&, const Text&, Completion);

bool isCurrentMeeting(const Text& eventId) {
    auto current = ApplicationSettingsStore::sharedApplicationSettingsStore().currentEvent();
    return current && current->itemId() == eventId;
}

// The whole reloads of the request descriptors, as kinds.
void refreshPermissions(const Text& eventId, const Text& authCode, Completion completion) {
    QVAApiManager::sharedApiManager().refreshPermissionsForEventId(eventId, authCode, std::move(completion));
}
void refreshInformationDocuments(const Text& eventId, const Text& authCode, Completion completion) {
    QVAApiManager::sharedApiManager().refreshInformationDocumentsForEventId(eventId, authCode, std::move(completion));
}
void refreshFollowing(const Text& eventId, const Text& authCode, Completion completion) {
    QVAApiManager::sharedApiManager().refreshFollowingForEventId(eventId, authCode, std::move(completion));
}
void refreshNotifications(const Text& eventId, const Text& authCode, Completion completion) {
    QVAApiManager::sharedApiManager().refreshNotificationsForEventId(eventId, authCode, std::move(completion));
}

// Every kind but the messages, which take no ids, in the order the engine
// starts them; the messages go between the login delegators and the
// participant notes.
const std::vector<Kind>& kindsBeforeMessages() {
    using namespace QVAApiManagerRefresh;
    static const std::vector<Kind> kinds = {
        &refreshEventsForEventId,
        &refreshSessionsForEventId,
        &refreshParticipantsForEventId,
        &refreshPartnersForEventId,
        &refreshOrganizationsForEventId,
        &refreshAgendaInvitationsForEventId,
        &refreshAgendaResponsibilitiesForEventId,
        &refreshAgendaSelectionsForEventId,
        &refreshPersonalEntriesForEventId,
        &refreshRoomsForEventId,
        &refreshVenuesForEventId,
        &refreshMeetingDelegatesForEventId,
        &refreshLoginDelegatorsForEventId,
    };
    return kinds;
}

const std::vector<Kind>& kindsAfterMessages() {
    using namespace QVAApiManagerRefresh;
    static const std::vector<Kind> kinds = {
        &refreshParticipantNotesForEventId,
        &refreshSessionNotesForEventId,
        &refreshPermissions,
        nullptr,  // the reports: the run's own feed, see runKind
        &refreshInformationDocuments,
        &refreshMesageRecipientsForEventId,
        &refreshFollowing,
        &refreshNotifications,
    };
    return kinds;
}

bool isMissing(const Text& text) { return !text || text->empty(); }

// One run's shared state: its group and whether any kind failed.
struct Run {
    dispatch::GroupPtr group = dispatch::Group::create();
    bool failed = false;
};

Completion kindCompletion(const std::shared_ptr<Run>& run) {
    return [run](const ErrorPtr& error, const Value&) {
        if (error) run->failed = true;
        run->group->leave();
    };
}

// The chunk addresses: the prefix followed by at most 90 ids, each encoded
// as one item of the list and joined by ",", in list order. The ids are
// those that may join the list (the compare left the others out).
std::vector<std::string> chunkAddresses(const std::string& prefix, const std::vector<std::string>& ids) {
    std::vector<std::string> addresses;
    for (size_t start = 0; start < ids.size(); start += kMaximumIdsPerRequest) {
        const size_t end = std::min(ids.size(), start + kMaximumIdsPerRequest);
        addresses.push_back(prefix + CommaJoinedList::join({ids.begin() + long(start), ids.begin() + long(end)},
                                                           &QVAApiManager::encodedId));
    }
    return addresses;
}

// What the service lists against what the store holds.
struct Comparison {
    std::vector<std::string> removed;
    std::vector<std::string> toFetch;
    // The revision each id to fetch was listed with.
    std::unordered_map<std::string, Value> listedRevisions;
    // Listed items left out for want of a usable id, or of one that may join
    // the "ids" list.
    size_t unusable = 0;
    // The rows left out as unusable at the revisions listed now: those of
    // earlier runs still listed so, and those this compare left out.
    DeltaLeftOutRows leftOut;
    // As kept before this run.
    DeltaLeftOutRows leftOutBefore;
};

// Whether two revisions read as the same text (`ModelReading::textOf`); an
// absent or unreadable one never does. Integers and strings, which
// revisions are (the service lists numbers, the store keeps texts), compare
// without making their texts.
bool sameRevision(const Value& stored, const Value& listed) {
    if (stored.isInteger() && listed.isInteger()) return stored.integerValue() == listed.integerValue();
    const std::string* storedText = stored.string();
    const std::string* listedText = listed.string();
    if (storedText && listedText) return *storedText == *listedText;
    const std::string* text = storedText ? storedText : listedText;
    const Value& number = storedText ? listed : stored;
    if (text && number.isInteger()) {
        // The integer's text is its decimal digits (`Value::description`).
        char digits[24];
        auto end = std::to_chars(digits, digits + sizeof digits, number.integerValue()).ptr;
        return std::string_view(digits, size_t(end - digits)) == *text;
    }
    auto storedRevision = ModelReading::textOf(stored);
    auto listedRevision = ModelReading::textOf(listed);
    return storedRevision && listedRevision && *storedRevision == *listedRevision;
}

// An id's text: a view into the value's own string, or into `owned` for a
// number's text; nothing for any other value.
std::optional<std::string_view> idView(const Value& value, std::deque<std::string>& owned) {
    if (const std::string* text = value.string()) return std::string_view(*text);
    if (!value.isNumber()) return std::nullopt;
    return std::string_view(owned.emplace_back(value.description()));
}

// The stored revisions by id, in one flat table probed linearly: a kind
// holds tens of thousands of rows, and a node per row (and a second set for
// the listed ids) made the comparison cost more than reading the rows.
class DeltaRevisionTable {
public:
    struct Slot {
        std::string_view id;
        const Value* revision = nullptr;
        size_t hash = 0;
        bool used = false;
        bool listed = false;
    };

    explicit DeltaRevisionTable(size_t rows) {
        size_t size = 16;
        while (size < 2 * rows) size *= 2;
        slots_.resize(size);
    }

    // The slot of the id, empty (not `used`) when the table lacks it.
    Slot& find(std::string_view id, size_t hash) {
        const size_t mask = slots_.size() - 1;
        for (size_t i = hash & mask;; i = (i + 1) & mask) {
            Slot& slot = slots_[i];
            if (!slot.used || (slot.hash == hash && slot.id == id)) return slot;
        }
    }

    // A later row of the same id replaces the earlier one's revision.
    void add(std::string_view id, const Value* revision) {
        const size_t hash = std::hash<std::string_view>()(id);
        Slot& slot = find(id, hash);
        slot.id = id;
        slot.hash = hash;
        slot.revision = revision;
        slot.used = true;
    }

    const std::vector<Slot>& slots() const { return slots_; }

private:
    std::vector<Slot> slots_;
};

// The stored (key, revision) of each row of a kind.
using StoredRevisions = std::vector<std::pair<Value, Value>>;

// One kind's compare of what the service lists with what the store holds,
// fed the listing page by page as it arrives (on the processing queue, in
// page order) and the stored revisions once read (on the main queue); pages
// that come before those wait for them. Absent revisions on either side count
// as a change: the item is fetched again rather than trusted.
class DeltaPageCompare {
public:
    DeltaPageCompare() = default;

    void addPage(std::shared_ptr<const RevisionListing> page) {
        std::lock_guard lock(mutex_);
        unusable_ += page->unusable();
        if (!table_) {
            waiting_.push_back(std::move(page));
            return;
        }
        comparePage(*page);
    }

    bool hasStored() {
        std::lock_guard lock(mutex_);
        return table_ != nullptr;
    }

    // The first rows given, (key, revision) each, are the ones compared
    // with, beside the rows left out by earlier runs; the pages that waited
    // for them are compared now.
    void setStored(StoredRevisions rows, DeltaLeftOutRows leftOutBefore) {
        std::lock_guard lock(mutex_);
        if (table_) return;
        rows_ = std::move(rows);
        leftOutBefore_ = std::move(leftOutBefore);
        // The table's views and pointers point into `rows_` and `owned_`,
        // which live as long as it does.
        table_ = std::make_unique<DeltaRevisionTable>(rows_.size());
        for (const auto& [key, revision] : std::as_const(rows_)) {
            if (auto id = idView(key, owned_)) table_->add(*id, &revision);
        }
        for (const auto& page : waiting_) comparePage(*page);
        waiting_.clear();
    }

    // Once every page has been added and the stored rows set.
    Comparison finish() {
        std::lock_guard lock(mutex_);
        Comparison comparison;
        comparison.toFetch = std::move(toFetch_);
        comparison.listedRevisions = std::move(listedRevisions_);
        comparison.unusable = unusable_;
        comparison.leftOut = std::move(leftOut_);
        comparison.leftOutBefore = std::move(leftOutBefore_);
        if (table_) {
            for (const auto& slot : table_->slots())
                if (slot.used && !slot.listed) comparison.removed.emplace_back(slot.id);
        }
        // In id order, as the deletion's predicate has always listed them.
        std::sort(comparison.removed.begin(), comparison.removed.end());
        return comparison;
    }

private:
    void comparePage(const RevisionListing& page) {
        for (const auto& entry : page.entries()) {
            const std::string_view id = entry.id;
            auto& stored = table_->find(id, std::hash<std::string_view>()(id));
            if (!stored.used) {
                // Listed ids the store lacks, each fetched once however often
                // listed.
                if (newIds_.emplace(id).second) fetch(entry);
                continue;
            }
            if (stored.listed) continue;
            stored.listed = true;
            if (!sameRevision(*stored.revision, entry.revision)) fetch(entry);
        }
    }

    // A new or changed item is fetched, unless it was left out as unusable
    // at this same revision, or its id may not join the "ids" list.
    void fetch(const RevisionListing::Entry& entry) {
        if (leftOutBefore_.isLeftOutAt(entry.id, entry.revision)) {
            leftOut_.add(entry.id, entry.revision);
            return;
        }
        if (!CommaJoinedList::mayJoin(entry.id)) {
            ++unusable_;
            leftOut_.add(entry.id, entry.revision);
            return;
        }
        toFetch_.push_back(entry.id);
        listedRevisions_.emplace(entry.id, entry.revision);
    }

    std::mutex mutex_;
    StoredRevisions rows_;
    std::deque<std::string> owned_;
    std::unique_ptr<DeltaRevisionTable> table_;
    std::vector<std::shared_ptr<const RevisionListing>> waiting_;
    std::unordered_set<std::string> newIds_;
    std::vector<std::string> toFetch_;
    std::unordered_map<std::string, Value> listedRevisions_;
    size_t unusable_ = 0;
    DeltaLeftOutRows leftOutBefore_;
    DeltaLeftOutRows leftOut_;
};

StoredRevisions storedRevisions(const std::string& entityName, const std::string& key, const Text& eventId,
                             const Text& authCode) {
    auto& store = StorageManager::sharedStorageManager();
    auto stack = store.getCoreDataStackForAuthToken(authCode, eventId);
    auto context = stack ? stack->managedObjectContextMainQueue() : nullptr;
    auto request = std::make_shared<coredata::FetchRequest>(entityName);
    request->setPropertiesToFetch({key, "revision"});
    request->setResultType(coredata::FetchRequestResultType::Dictionary);
    return store.executeFetchRequestForPairsAndWait(request, context);
}

// The parts of one kind after its listing: a deletion and a fetch with its
// replace, either or both. The deletion runs ahead of the replace on the
// store's worker queue; the kind ends when every part has ended, with the
// first failure among them.
struct KindWrites {
    int pending = 0;
    ErrorPtr error;
    Completion completion;

    void finish(const ErrorPtr& partError) {
        if (partError && !error) error = partError;
        if (--pending == 0) completion(error, Value());
    }
};

// The list a kind's log lines name: its path without the query.
std::string listName(const std::string& filterServiceName) {
    return filterServiceName.substr(0, filterServiceName.find('?'));
}

// The replace of what was fetched, decided on the rows as they came. An
// answer holding rows that could not be read (no key id) cannot say which
// listed item each stood for, so the replace then takes only the rows it
// read, and a stored row that one of them may have been stays until a later
// delta reads it. A row read with its key but left out all the same (an
// agenda entry without its session's id) still names the row it replaces.
coredata::PredicatePtr replacePredicate(const std::string& key, const std::vector<std::string>& toFetch,
                                        const StorageManager::Items& rows) {
    std::vector<std::string> read;
    bool unreadable = false;
    for (const auto& row : rows) {
        auto model = std::dynamic_pointer_cast<const QVABaseItemModel>(row);
        if (!model) continue;
        if (model->keyId())
            read.push_back(*model->keyId());
        else
            unreadable = true;
    }
    return coredata::Predicate::withFormat("%K in %@", key, unreadable ? read : toFetch);
}

// Keeps, as left out at the revision it was listed with, each fetched row
// read with its id but without the rest of what it needs.
void keepUnusableRows(const StorageManager::Items& rows, Comparison& comparison) {
    for (const auto& row : rows) {
        auto model = std::dynamic_pointer_cast<const QVABaseItemModel>(row);
        if (!model || !model->keyId() || model->hasUsableIds()) continue;
        auto listed = comparison.listedRevisions.find(*model->keyId());
        if (listed != comparison.listedRevisions.end()) comparison.leftOut.add(listed->first, listed->second);
    }
}

void fetchAndReplace(const std::string& entityName, const std::shared_ptr<const ModelClass>& modelClass,
                     const std::string& key, const std::string& selectionServiceName,
                     std::shared_ptr<Comparison> comparison, const std::string& list, const Text& eventId,
                     const Text& authCode, const std::shared_ptr<KindWrites>& writes) {
    Log("UPDATE ON %@ nr = %lu", entityName, comparison->toFetch.size());
    auto addresses = chunkAddresses(selectionServiceName, comparison->toFetch);
    // No "Authorization" is set here: the list request's header is in force.
    QVAApiManager::sharedApiManager().mergedGET(
        addresses, Value(), true, modelClass,
        [entityName, modelClass, key, comparison, list, eventId, authCode, writes](const ErrorPtr& error,
                                                                                  const Value& items) {
            if (error) {
                RowsWithoutId::log(comparison->unusable, list);
                comparison->leftOut.write(authCode, eventId, entityName, comparison->leftOutBefore);
                const std::string text = foundation::Format("Failed to load all delta updates for %@",
                                                            modelClass->name);
                Log("%@", text);
                writes->finish(QVAError::initWithDescription(text));
                return;
            }
            auto rows = StorageManager::itemsOfResult(items);
            auto predicate = replacePredicate(key, comparison->toFetch, rows);
            keepUnusableRows(rows, *comparison);
            comparison->leftOut.write(authCode, eventId, entityName, comparison->leftOutBefore);
            RowsWithoutId::log(comparison->unusable + RowsWithoutId::drop(rows), list);
            const size_t stored = rows.size();
            StorageManager::sharedStorageManager().deleteAndAddItemsToCoreData(
                std::move(rows), EntityClass::named(entityName), std::move(predicate), authCode, eventId,
                [writes, entityName, stored](const ErrorPtr& storeError, const Value&) {
                    // What was fetched and stored, beside what the fetch
                    // brought and could not store; no line when none was.
                    if (!storeError && stored) Log("STORED ON %@ nr = %lu", entityName, stored);
                    writes->finish(storeError);
                });
        });
}

}  // namespace

void updateEntity(const std::string& entityName, const std::shared_ptr<const ModelClass>& modelClass,
                  const std::string& filterServiceName, const std::string& selectionServiceName, const Text& eventId,
                  const Text& authCode, Completion completionBlock) {
    if (!modelClass || !modelClass->coreDataSelectionPropertyName) {
        foundation::raise("Delta update of a kind without key",
                          "The model class of " + entityName + " names no selection property.");
    }
    Completion completion = completionBlock ? std::move(completionBlock) : [](const ErrorPtr&, const Value&) {};
    const std::string key = *modelClass->coreDataSelectionPropertyName;
    // The stored revisions do not depend on the listing: they are read on
    // the main queue while its pages are still arriving, after the kinds
    // started with this one have sent their first requests, rather than once
    // the last page has come; each page is compared as it comes, so the end
    // of a long listing leaves little but its last page to compare.
    auto pages = std::make_shared<DeltaPageCompare>();
    auto listed = std::make_shared<bool>(false);
    QVAApiManager::sharedApiManager().paginatedPagesWithAuthentication(
        filterServiceName, authCode, std::make_shared<RevisionListingSerializer>(),
        [pages](Value page) {
            if (auto listing = page.objectAs<RevisionListing>()) pages->addPage(std::move(listing));
        },
        [entityName, modelClass, key, filterServiceName, selectionServiceName, eventId, authCode, completion, pages,
         listed](const ErrorPtr& error) {
            *listed = true;
            if (error) {
                completion(error, Value());
                return;
            }
            if (!pages->hasStored())
                pages->setStored(storedRevisions(entityName, key, eventId, authCode),
                                 DeltaLeftOutRows::read(authCode, eventId, entityName));
            auto comparison = std::make_shared<Comparison>(pages->finish());
            auto writes = std::make_shared<KindWrites>();
            writes->completion = completion;
            const bool deletes = !comparison->removed.empty();
            const bool fetches = !comparison->toFetch.empty();
            writes->pending = int(deletes) + int(fetches);
            if (deletes) {
                Log("DELETE ON %@ nr = %lu", entityName, comparison->removed.size());
                // Not waited for before the fetch; the worker queue keeps it
                // ahead of the replace.
                StorageManager::sharedStorageManager().deleteItemsFromCoreDataForItemType(
                    EntityClass::named(entityName), authCode, eventId,
                    coredata::Predicate::withFormat("%K in %@", key, comparison->removed), true, nullptr,
                    [writes](const ErrorPtr& storeError, const Value&) { writes->finish(storeError); });
            }
            if (!fetches) {
                RowsWithoutId::log(comparison->unusable, listName(filterServiceName));
                comparison->leftOut.write(authCode, eventId, entityName, comparison->leftOutBefore);
                Log("UPDATE ON 0 %@", entityName);
                if (!deletes) completion(nullptr, Value());
                return;
            }
            fetchAndReplace(entityName, modelClass, key, selectionServiceName, std::move(comparison),
                            listName(filterServiceName), eventId, authCode, writes);
        });
    dispatch::Queue::main()->async([pages, listed, entityName, key, eventId, authCode] {
        if (!*listed && !pages->hasStored())
            pages->setStored(storedRevisions(entityName, key, eventId, authCode),
                             DeltaLeftOutRows::read(authCode, eventId, entityName));
    });
}

namespace {

// A kind of the list, or the reports (the empty slot), which are read from
// the feed address the run was given: the meeting's own, so the reports of
// one meeting never land in another's store.
void runKind(Kind kind, const Text& eventId, const Text& authCode, const Text& reportsFeedUrl, Completion completion) {
    if (kind) {
        kind(eventId, authCode, std::move(completion));
        return;
    }
    auto& api = QVAApiManager::sharedApiManager();
    api.refreshWithRequestObject(QVAApiManager::getReportsObjectForFeedUrl(reportsFeedUrl), authCode, eventId,
                                 std::move(completion));
}

}  // namespace

void loadDeltaUpdatesForEventId(const Text& eventId, const Text& authCode, Completion completionBlock) {
    // The settings name only the current meeting's feed; another meeting's
    // reports stay as they are.
    Text feed;
    if (auto current = ApplicationSettingsStore::sharedApplicationSettingsStore().currentEvent();
        current && current->itemId() == eventId)
        feed = current->reportsRssFeedUrl();
    loadDeltaUpdatesForEventId(eventId, authCode, feed, std::move(completionBlock));
}

void loadDeltaUpdatesForEvent(const std::shared_ptr<QVAEvent>& event, const Text& authCode,
                              Completion completionBlock) {
    loadDeltaUpdatesForEventId(event ? event->itemId() : std::nullopt, authCode,
                               event ? event->reportsRssFeedUrl() : std::nullopt, std::move(completionBlock));
}

void loadDeltaUpdatesForEventId(const Text& eventId, const Text& authCode, const Text& reportsFeedUrl,
                                Completion completionBlock) {
    if (isMissing(eventId) || isMissing(authCode)) {
        Log("%@", kNotConfiguredMessage);
        if (completionBlock) completionBlock(QVAError::initWithDescription(kNotConfiguredMessage), Value());
        return;
    }
    auto run = std::make_shared<Run>();
    for (const auto& kind : kindsBeforeMessages()) {
        run->group->enter();
        kind(eventId, authCode, kindCompletion(run));
    }
    run->group->enter();
    auto messagesDone = [leave = kindCompletion(run)](const ErrorPtr& error, const Value& result) {
        if (auto recount = MessagesBadgeHook::badgeRecount()) recount();
        leave(error, result);
    };
    if (isCurrentMeeting(eventId)) {
        QVAApiManagerRefresh::refreshMessagesWithCompletionBlock(std::move(messagesDone));
    } else {
        // A run for a meeting that is not current yet (the forced delta of a
        // meeting opened again): its own store gets the account's messages,
        // with its own token, not the current meeting's store.
        auto& api = QVAApiManager::sharedApiManager();
        api.refreshWithRequestObject(api.getMessagessRequestObjectForAuthCode(authCode), authCode, eventId,
                                     std::move(messagesDone));
    }
    for (const auto& kind : kindsAfterMessages()) {
        run->group->enter();
        runKind(kind, eventId, authCode, reportsFeedUrl, kindCompletion(run));
    }

    MapFilesHook::renewFiles(authCode, eventId);

    run->group->notify(dispatch::Queue::main(), [run, completion = std::move(completionBlock)] {
        if (!run->failed) {
            ApplicationSettingsStore::sharedApplicationSettingsStore().setLastDeltaSyncDateTime(
                foundation::Date::now());
            if (completion) completion(nullptr, Value());
        } else if (completion) {
            Log("%@", kDeltaFailedMessage);
            completion(QVAError::initWithDescription(kDeltaFailedMessage), Value());
        }
        Log("Delta ready!!");
    });
}

}  // namespace QVAApiManagerDelta
