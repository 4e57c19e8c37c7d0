#include "programme/ProgrammeListDelegate.h"

#include "lists/DateFilterModel.h"
#include "lists/FavContribFilterModel.h"
#include "lists/LocationFilterModel.h"
#include "lists/PressAllowedFilterModel.h"
#include "lists/SessionNotesFilterModel.h"
#include "lists/SessionTypeFilterModel.h"
#include "lists/SpouseAllowedFilterModel.h"
#include "lists/TimeFilterModel.h"
#include "lists/WithMealFilterModel.h"
#include "settings/ApplicationSettingsStore.h"
#include "store/CoreDataStack.h"
#include "store/FetchRequestUtils.h"
#include "store/StorageManager.h"

std::optional<ProgrammeListDelegate::Filters> ProgrammeListDelegate::filtersCollection() {
    auto& settings = ApplicationSettingsStore::sharedApplicationSettingsStore();
    return filtersCollectionForCoreDataStack(StorageManager::sharedStorageManager().getCoreDataStackForAuthToken(
        settings.currentAuthToken(), settings.currentEventId()));
}

ProgrammeListDelegate::Filters ProgrammeListDelegate::filtersCollectionForCoreDataStack(
    const std::shared_ptr<CoreDataStack>& stack) {
    Filters filters{std::make_shared<DateFilterModel>(),          std::make_shared<TimeFilterModel>(),
                    std::make_shared<SessionTypeFilterModel>(),   std::make_shared<LocationFilterModel>(),
                    std::make_shared<PressAllowedFilterModel>(),  std::make_shared<SpouseAllowedFilterModel>(),
                    std::make_shared<WithMealFilterModel>()};
    coredata::ContextPtr context = stack ? stack->managedObjectContextMainQueue() : nullptr;
    if (!context) return filters;
    if (FetchRequestUtils::hasEventNotesPermissionGrantedInContext(context))
        filters.push_back(std::make_shared<SessionNotesFilterModel>());
    if (FetchRequestUtils::hasRelantionshipsReadPermissionGrantedInContext(context))
        filters.push_back(std::make_shared<FavContribFilterModel>());
    return filters;
}

ProgrammeListDelegate::Filters ProgrammeListDelegate::getFiltersWithSelectedValue(const std::string& value,
                                                                                   const std::string& forFilterModel) {
    auto filters = filtersCollection().value_or(Filters{});
    for (auto& filter : filters)
        if (filter->className() == forFilterModel) filter->setSelectedValue(foundation::Value(value));
    return filters;
}
