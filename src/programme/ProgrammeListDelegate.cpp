#include "programme/ProgrammeListDelegate.h"

#include <algorithm>
#include <set>

#include "api/QVAApiManagerRefresh.h"
#include "app/SegBarButtonItem.h"
#include "lists/AllSearchPredicate.h"
#include "lists/DateFilterModel.h"
#include "lists/FavContribFilterModel.h"
#include "lists/FilterFetching.h"
#include "lists/ListSelectionModel.h"
#include "lists/LocationFilterModel.h"
#include "lists/PressAllowedFilterModel.h"
#include "lists/SearchScopeModel.h"
#include "lists/SessionContributorsSearchScopeModel.h"
#include "lists/SessionNotesFilterModel.h"
#include "lists/SessionTypeFilterModel.h"
#include "lists/SpouseAllowedFilterModel.h"
#include "lists/TimeFilterModel.h"
#include "lists/WithMealFilterModel.h"
#include "model/ModelClass.h"
#include "model/QVAAgendaEntries.h"
#include "model/QVACoreDataAgendaInvitation.h"
#include "model/QVACoreDataAgendaResponsability.h"
#include "model/QVACoreDataAgendaRole.h"
#include "model/QVACoreDataAgendaSelection.h"
#include "model/QVACoreDataBaseSession.h"
#include "model/QVACoreDataFollowedParticipant.h"
#include "model/QVACoreDataSession.h"
#include "model/QVACoreDataSessionNote.h"
#include "model/QVASession.h"
#include "store/CoreDataStack.h"
#include "store/FetchRequestUtils.h"
#include "uikit/UIImage.h"

ProgrammeListDelegate::ProgrammeListDelegate() {
    auto title = SearchScopeModel::initWithPropertyName("title", "Title");
    auto description = SearchScopeModel::initWithPropertyName("sessionDescription", "Description");
    SearchScopeModelPtr contributors = std::make_shared<SessionContributorsSearchScopeModel>();
    setSearchScopesArray(
        {title, description, contributors, AllSearchPredicate::initWithSearchableScopes({title, description, contributors})});
}

std::string ProgrammeListDelegate::entityName() { return QVACoreDataBaseSession::kEntityName; }

std::vector<std::shared_ptr<ListSelectionModel>> ProgrammeListDelegate::selectionModels(
    const char* lastEntity, const char* lastModelClass, const PredicatePtr& invitations) {
    registerModelClasses();
    auto make = [](const char* entity, const char* modelClass, PredicatePtr additional) {
        auto model = std::make_shared<ListSelectionModel>();
        model->setCoreDataEntityName(entity);
        model->setModelEntityClass(ModelClass::named(modelClass));
        model->setCoreDataSortDescriptors(sessionListSortDescriptors());
        model->setSortDescriptorsForSearch(sessionSearchSortDescriptors());
        model->setAditionalPredicateForSelection(std::move(additional));
        model->setShouldFetchParentEntityOnly(false);
        return model;
    };
    return {make(QVACoreDataAgendaSelection::kEntityName, QVAAgendaSelections::kClassName, nullptr),
            make(QVACoreDataAgendaResponsability::kEntityName, QVAAgendaResponsibilities::kClassName, nullptr),
            make(QVACoreDataAgendaInvitation::kEntityName, QVAAgendaInvitation::kClassName, invitations),
            make(lastEntity, lastModelClass, nullptr)};
}

ProgrammeListDelegate::PredicatePtr ProgrammeListDelegate::dayPredicate(const Text& day) {
    return coredata::Predicate::withFormat("%K=%@", std::string(kDayKey), day.value_or(std::string()));
}

ProgrammeListDelegate::PredicatePtr ProgrammeListDelegate::listedInvitationsPredicate() {
    return coredata::Predicate::withFormat("status = %@ OR status = %@", std::string("Confirmed"),
                                           std::string("Invited"));
}

ProgrammeListDelegate::SortDescriptors ProgrammeListDelegate::sessionListSortDescriptors() {
    return {coredata::SortDescriptor(kSectionKey, true), coredata::SortDescriptor("startDatetime", true),
            coredata::SortDescriptor("keyword", true, coredata::SortComparator::LocalizedCaseInsensitiveCompare),
            coredata::SortDescriptor("title", true)};
}

ProgrammeListDelegate::SortDescriptors ProgrammeListDelegate::sessionSearchSortDescriptors() {
    return {coredata::SortDescriptor("startDatetime", true),
            coredata::SortDescriptor("keyword", true, coredata::SortComparator::LocalizedCaseInsensitiveCompare),
            coredata::SortDescriptor("title", true)};
}

std::optional<std::vector<std::shared_ptr<ListSelectionModel>>> ProgrammeListDelegate::listSelectionModelEntities() {
    return selectionModels(QVACoreDataSession::kEntityName, QVASession::kClassName, listedInvitationsPredicate());
}

std::optional<ProgrammeListDelegate::PredicatePtr> ProgrammeListDelegate::fetchPredicate() {
    return dayPredicate(currentDay());
}

ProgrammeListDelegate::SortDescriptors ProgrammeListDelegate::sortDescriptors() { return sessionListSortDescriptors(); }

std::optional<ProgrammeListDelegate::SortDescriptors> ProgrammeListDelegate::sortDescriptorsForSearch() {
    return sessionSearchSortDescriptors();
}

std::optional<std::vector<std::string>> ProgrammeListDelegate::entitiesArrayToObserveForFilteringUIUpdates() {
    return std::vector<std::string>{QVACoreDataSession::kEntityName, QVACoreDataAgendaRole::kEntityName,
                                    QVACoreDataSessionNote::kEntityName, QVACoreDataFollowedParticipant::kEntityName};
}

std::optional<std::shared_ptr<uikit::UIImage>> ProgrammeListDelegate::segmentedControlImage() {
    return uikit::UIImage::imageNamed(kSegmentImage);
}

void ProgrammeListDelegate::refreshContentWhenPulledToRefresh() { QVAApiManagerRefresh::refreshProgramme(); }

std::optional<std::shared_ptr<SegBarButtonItem>> ProgrammeListDelegate::rightBarButtonItem() {
    return SegBarButtonItem::initWithImage(uikit::UIImage::imageNamed(kFilterButtonImage), kFiltersSegue);
}

void ProgrammeListDelegate::refreshAllDaysArray(const std::shared_ptr<CoreDataStack>& stack,
                                                const PredicatePtr& forCompoundPredicate) {
    const auto filters = forCompoundPredicate ? forCompoundPredicate : coredata::Predicate::truePredicate();
    // The filters hold their chosen values, so they and what the store shows
    // decide the days.
    coredata::ContextPtr context = stack ? stack->managedObjectContextMainQueue() : nullptr;
    if (daysRead_.isCurrent(context) && daysFilters_ && daysFilters_->isEqual(*filters)) {
        setAllDays(allDays());
        return;
    }
    daysRead_.stamp(context);
    daysFilters_ = filters;
    std::set<std::string> days;
    for (const char* entity : {QVACoreDataSession::kEntityName, QVACoreDataAgendaSelection::kEntityName,
                               QVACoreDataAgendaResponsability::kEntityName}) {
        const auto some = FetchRequestUtils::getAllDaysArray(stack, entity, filters);
        days.insert(some.begin(), some.end());
    }
    const auto invitations = FetchRequestUtils::getAllDaysArray(
        stack, QVACoreDataAgendaInvitation::kEntityName,
        coredata::Predicate::andPredicate({filters, listedInvitationsPredicate()}));
    days.insert(invitations.begin(), invitations.end());
    setAllDays(Strings(days.begin(), days.end()));
}

std::optional<ProgrammeListDelegate::Filters> ProgrammeListDelegate::filtersCollection() {
    return filtersCollectionForCoreDataStack(FilterFetching::currentStack());
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

ProgrammeListDelegate::Filters ProgrammeListDelegate::filtersWithStarredParticipants() {
    return getFiltersWithSelectedValue(FavContribFilterModel::kWithStarredValue, "FavContribFilterModel");
}

ProgrammeListDelegate::Filters ProgrammeListDelegate::filtersWithNotes() {
    return getFiltersWithSelectedValue(SessionNotesFilterModel::kWithNotesValue, "SessionNotesFilterModel");
}
