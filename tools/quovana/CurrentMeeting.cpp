#include "quovana/CurrentMeeting.h"

#include <ostream>

#include "settings/ApplicationSettingsStore.h"
#include "model/QVAEvent.h"
#include "model/QVAUserAccount.h"
#include "coredata/FetchRequest.h"
#include "store/CoreDataStack.h"
#include "model/EntityClass.h"
#include "store/StorageManager.h"

namespace quovana {

std::shared_ptr<QVAUserAccount> requireCurrentAccount(CommandContext& context) {
    auto account = ApplicationSettingsStore::sharedApplicationSettingsStore().currentAccount();
    if (!account || !account->authenticationCode()) {
        context.fail("not logged in; run \"quovana login USER PASSWORD\" first");
        return nullptr;
    }
    return account;
}

std::optional<bool> recordedStoreValidity(const std::shared_ptr<QVAUserAccount>& account,
                                          const std::shared_ptr<QVAEvent>& event) {
    auto& settings = ApplicationSettingsStore::sharedApplicationSettingsStore();
    auto validity = settings.persistentStoresValidity();
    auto it = validity.find(settings.getKeyForAccount(account, event));
    if (it == validity.end() || !it->second.isBool()) return std::nullopt;
    return it->second.boolValue();
}

std::optional<CurrentMeeting> openCurrentMeeting(CommandContext& context) {
    CurrentMeeting meeting;
    meeting.account = requireCurrentAccount(context);
    if (!meeting.account) return std::nullopt;
    meeting.event = ApplicationSettingsStore::sharedApplicationSettingsStore().currentEvent();
    if (!meeting.event || !meeting.event->itemId()) {
        context.fail("no meeting loaded; run \"quovana load\" first");
        return std::nullopt;
    }
    meeting.authToken = meeting.account->authenticationCode();
    meeting.eventId = meeting.event->itemId();
    auto& store = StorageManager::sharedStorageManager();
    if (!store.persistentStoreExistsForAuthToken(meeting.authToken, meeting.eventId)) {
        context.fail("the meeting " + *meeting.eventId + " has no local store; run \"quovana load\" first");
        return std::nullopt;
    }
    foundation::ErrorPtr failure;
    store.initCoreDataStackForAuthToken(meeting.authToken, meeting.eventId,
                                        [&](foundation::ErrorPtr error, std::shared_ptr<CoreDataStack> stack) {
                                            failure = error;
                                            meeting.stack = stack;
                                        });
    if (failure || !meeting.stack) {
        context.fail("cannot open the meeting's store: " +
                     (failure ? failure->localizedDescription() : std::string("unknown reason")));
        return std::nullopt;
    }
    return meeting;
}

namespace {

std::shared_ptr<coredata::FetchRequest> requestFor(const CurrentMeeting& meeting, const std::string& entityName,
                                                   coredata::PredicatePtr predicate) {
    auto entityClass = EntityClass::named(entityName);
    if (!entityClass || !meeting.stack) return nullptr;
    return StorageManager::sharedStorageManager().fetchRequestForItemType(
        entityClass, std::move(predicate), meeting.stack->managedObjectContextMainQueue());
}

}  // namespace

foundation::Value::Array fetchRows(const CurrentMeeting& meeting, const std::string& entityName,
                                   coredata::PredicatePtr predicate, const std::vector<std::string>& fields,
                                   const std::vector<coredata::SortDescriptor>& sort, size_t limit) {
    auto request = requestFor(meeting, entityName, std::move(predicate));
    if (!request) return {};
    request->setResultType(coredata::FetchRequestResultType::Dictionary);
    request->setPropertiesToFetch(fields);
    request->setSortDescriptors(sort);
    request->setFetchLimit(limit);
    return StorageManager::sharedStorageManager().executeFetchRequestAndWait(
        request, meeting.stack->managedObjectContextMainQueue());
}

size_t countRows(const CurrentMeeting& meeting, const std::string& entityName, coredata::PredicatePtr predicate) {
    auto request = requestFor(meeting, entityName, std::move(predicate));
    if (!request) return 0;
    request->setResultType(coredata::FetchRequestResultType::Count);
    auto result = StorageManager::sharedStorageManager().executeFetchRequestAndWait(
        request, meeting.stack->managedObjectContextMainQueue());
    return result.empty() ? 0 : static_cast<size_t>(result.front().integerValue());
}

}  // namespace quovana
