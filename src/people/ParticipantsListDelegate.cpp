#include "people/ParticipantsListDelegate.h"

#include "Utils/Utils.h"
#include "api/QVAApiManagerRefresh.h"
#include "app/SegBarButtonItem.h"
#include "coredata/FetchedResultsController.h"
#include "coredata/SortDescriptor.h"
#include "foundation/StringUtils.h"
#include "lists/AllSearchPredicate.h"
#include "lists/CountryFilterModel.h"
#include "lists/FilterFetching.h"
#include "lists/GroupFilterModel.h"
#include "lists/OrganizationCountryFilterModel.h"
#include "lists/OrganizationSectorFilterModel.h"
#include "lists/ParticipantNotesFilterModel.h"
#include "lists/QuovanaNetworkFilterModel.h"
#include "model/QVACoreDataFollowedParticipant.h"
#include "model/QVACoreDataParticipant.h"
#include "model/QVACoreDataParticipantNote.h"
#include "people/ParticipantCell.h"
#include "store/CoreDataStack.h"
#include "store/FetchRequestUtils.h"
#include "uikit/NSIndexPath.h"
#include "uikit/UIImage.h"

ParticipantsListDelegate::ParticipantsListDelegate() {
    std::vector<std::shared_ptr<SearchScopeModel>> scopes{
        SearchScopeModel::initWithPropertyName(std::string("fullName"), std::string("Name")),
        SearchScopeModel::initWithPropertyName(std::string("organizationName"), std::string("Organization")),
        SearchScopeModel::initWithPropertyName(std::string("profile"), std::string("Profile"))};
    searchScopesArray_ = scopes;
    searchScopesArray_.push_back(AllSearchPredicate::initWithSearchableScopes(scopes));
}

ListsDataSourceProtocol::SortDescriptors ParticipantsListDelegate::sortDescriptors() {
    return {coredata::SortDescriptor("sectionTitle", true),
            coredata::SortDescriptor("lastName", true, coredata::SortComparator::LocalizedStandardCompare)};
}

std::optional<ListsDataSourceProtocol::SortDescriptors> ParticipantsListDelegate::sortDescriptorsForSearch() {
    return SortDescriptors{coredata::SortDescriptor("lastName", true, coredata::SortComparator::LocalizedStandardCompare)};
}

std::optional<ListsDataSourceProtocol::PredicatePtr> ParticipantsListDelegate::fetchPredicate() {
    return coredata::Predicate::withFormat("inBooklet = %@", true);
}

std::optional<std::vector<std::string>> ParticipantsListDelegate::entitiesArrayToObserveForFilteringUIUpdates() {
    return std::vector<std::string>{QVACoreDataParticipant::kEntityName, QVACoreDataFollowedParticipant::kEntityName,
                                    QVACoreDataParticipantNote::kEntityName};
}

std::optional<std::shared_ptr<uikit::UIImage>> ParticipantsListDelegate::segmentedControlImage() {
    return uikit::UIImage::imageNamed("participant_icon.png");
}

std::optional<std::shared_ptr<SegBarButtonItem>> ParticipantsListDelegate::rightBarButtonItem() {
    return SegBarButtonItem::initWithImage(uikit::UIImage::imageNamed("list-filter.png"), kFilterSegue);
}

ListsDataSourceProtocol::PredicatePtr ParticipantsListDelegate::favoritesFetchPredicate() {
    return coredata::Predicate::withFormat("itemId in %@", favoritedparticipantIdsArray());
}

void ParticipantsListDelegate::refreshContentWhenPulledToRefresh() { QVAApiManagerRefresh::refreshParticipants(); }

void ParticipantsListDelegate::fetchedResultController(coredata::FetchedResultsController& controller,
                                                       uikit::UITableViewCell& cell, const uikit::NSIndexPath& indexPath,
                                                       BaseViewController&) {
    auto* participantCell = dynamic_cast<ParticipantCell*>(&cell);
    if (!participantCell || !Utils::doesIndexPath(indexPath, controller)) return;
    auto participant =
        controller.objectAtIndexPath({static_cast<size_t>(indexPath.section), static_cast<size_t>(indexPath.row)})
            .objectAs<QVACoreDataParticipant>();
    if (!participant) return;
    const auto itemId = participant->itemId();
    participantCell->configureWithCoreDataParticipant(*participant, participantHasPersonalNotes(itemId),
                                                      participantIsFavorited(itemId));
}

ListsDataSourceProtocol::Text ParticipantsListDelegate::getObjectIdForIndexPath(
    const uikit::NSIndexPath& indexPath, coredata::FetchedResultsController& fromFetchController) {
    if (!Utils::doesIndexPath(indexPath, fromFetchController)) return std::nullopt;
    auto participant = fromFetchController
                           .objectAtIndexPath({static_cast<size_t>(indexPath.section), static_cast<size_t>(indexPath.row)})
                           .objectAs<QVACoreDataParticipant>();
    return participant ? participant->itemId() : std::nullopt;
}

std::optional<ParticipantsListDelegate::Filters> ParticipantsListDelegate::filtersCollection() {
    auto stack = FilterFetching::currentStack();
    auto context = stack ? stack->managedObjectContextMainQueue() : nullptr;
    Filters filters{std::make_shared<CountryFilterModel>()};
    if (context && FetchRequestUtils::hasEventNotesPermissionGrantedInContext(context))
        filters.push_back(std::make_shared<ParticipantNotesFilterModel>());
    filters.push_back(std::make_shared<GroupFilterModel>());
    if (context) {
        auto networks = FetchRequestUtils::getQuovanaNetworksFromSourcePropertyName("quovanaNetworks", context);
        std::vector<std::string> names;
        for (const auto& [name, communities] : networks)
            if (!name.empty() && communities.size() >= 2) names.push_back(name);
        std::stable_sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
            return foundation::StringUtils::localizedCaseInsensitiveCompare(a, b) < 0;
        });
        for (const auto& name : names) {
            auto network = std::make_shared<QuovanaNetworkFilterModel>();
            network->setNetworkName(name);
            filters.push_back(network);
        }
    }
    filters.push_back(std::make_shared<OrganizationSectorFilterModel>());
    filters.push_back(std::make_shared<OrganizationCountryFilterModel>());
    return filters;
}

ParticipantsListDelegate::Filters ParticipantsListDelegate::filtersWithValue(const std::string& filterClassName,
                                                                             const std::string& value) {
    auto filters = filtersCollection().value_or(Filters{});
    for (auto& filter : filters)
        if (filter->className() == filterClassName) {
            filter->setSelectedValue(foundation::Value(value));
            break;
        }
    return filters;
}

ParticipantsListDelegate::Filters ParticipantsListDelegate::filtersWithSelectedCountry(const std::string& country) {
    return filtersWithValue("CountryFilterModel", country);
}

ParticipantsListDelegate::Filters ParticipantsListDelegate::filtersWithSelectedNetwork(
    const std::string& network, const std::string& andSelectedCommunity) {
    auto filters = filtersCollection().value_or(Filters{});
    for (auto& filter : filters)
        if (auto networkFilter = std::dynamic_pointer_cast<QuovanaNetworkFilterModel>(filter);
            networkFilter && networkFilter->networkName() == network) {
            networkFilter->setSelectedValue(foundation::Value(andSelectedCommunity));
            break;
        }
    return filters;
}

ParticipantsListDelegate::Filters ParticipantsListDelegate::filtersWithSelectedGroup(const std::string& group) {
    return filtersWithValue("GroupFilterModel", group);
}

ParticipantsListDelegate::Filters ParticipantsListDelegate::filtersWithNotes() {
    return filtersWithValue("ParticipantNotesFilterModel", kNotesPresetValue);
}
