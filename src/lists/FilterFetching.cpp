#include "lists/FilterFetching.h"

#include "coredata/FetchRequest.h"
#include "coredata/ManagedObject.h"
#include "foundation/StringUtils.h"
#include "settings/ApplicationSettingsStore.h"
#include "store/CoreDataStack.h"
#include "model/EntityClass.h"
#include "store/StorageManager.h"

namespace FilterFetching {

namespace {

std::shared_ptr<coredata::FetchRequest> requestFor(const std::shared_ptr<CoreDataStack>& stack,
                                                   const std::string& entityName, coredata::PredicatePtr predicate) {
    if (!stack) return nullptr;
    return StorageManager::sharedStorageManager().fetchRequestForItemType(
        EntityClass::named(entityName), std::move(predicate), stack->managedObjectContextMainQueue());
}

foundation::Value::Array execute(const std::shared_ptr<CoreDataStack>& stack,
                                 const std::shared_ptr<coredata::FetchRequest>& request) {
    if (!request) return {};
    return StorageManager::sharedStorageManager().executeFetchRequestAndWait(request,
                                                                             stack->managedObjectContextMainQueue());
}

}  // namespace

std::shared_ptr<CoreDataStack> currentStack() {
    auto& settings = ApplicationSettingsStore::sharedApplicationSettingsStore();
    return StorageManager::sharedStorageManager().getCoreDataStackForAuthToken(settings.currentAuthToken(),
                                                                             settings.currentEventId());
}

foundation::Value::Array fetchDictionaries(const std::shared_ptr<CoreDataStack>& stack, const Query& query) {
    auto request = requestFor(stack, query.entityName, query.predicate);
    if (!request) return {};
    request->setResultType(coredata::FetchRequestResultType::Dictionary);
    request->setPropertiesToFetch(query.properties);
    request->setReturnsDistinctResults(query.distinct);
    if (query.sortKey) request->setSortDescriptors({coredata::SortDescriptor(*query.sortKey, true)});
    return execute(stack, request);
}

foundation::Value::Array fetchObjects(const std::shared_ptr<CoreDataStack>& stack, const std::string& entityName,
                                      coredata::PredicatePtr predicate) {
    return execute(stack, requestFor(stack, entityName, std::move(predicate)));
}

size_t count(const std::shared_ptr<CoreDataStack>& stack, const std::string& entityName,
             coredata::PredicatePtr predicate) {
    auto request = requestFor(stack, entityName, std::move(predicate));
    if (!request) return 0;
    request->setResultType(coredata::FetchRequestResultType::Count);
    auto result = execute(stack, request);
    return result.empty() ? 0 : static_cast<size_t>(result.front().integerValue());
}

std::vector<std::string> texts(const foundation::Value::Array& rows, const std::string& key) {
    std::vector<std::string> out;
    for (const auto& row : rows) {
        foundation::Value value = row.isObject() ? row.objectAs<coredata::ManagedObject>()->valueForKey(key) : row[key];
        if (const auto* text = value.string()) out.push_back(*text);
    }
    return out;
}

void addSessionIdsOfContributions(const std::string& contributions, std::set<std::string>& sessionIds) {
    for (const auto& entry : foundation::StringUtils::split(contributions, ";")) {
        auto fields = foundation::StringUtils::split(entry, "|");
        if (!fields.empty()) sessionIds.insert(fields.front());
    }
}

bool trimmedValueMatches(const std::string& stored, const std::string& chosen) {
    constexpr unsigned kFolding = foundation::StringUtils::CaseInsensitive | foundation::StringUtils::DiacriticInsensitive;
    return foundation::StringUtils::fold(foundation::StringUtils::trimWhitespace(stored), kFolding) ==
           foundation::StringUtils::fold(chosen, kFolding);
}

}  // namespace FilterFetching
