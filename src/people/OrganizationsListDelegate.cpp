#include "people/OrganizationsListDelegate.h"

#include "Utils/Utils.h"
#include "api/QVAApiManagerRefresh.h"
#include "coredata/FetchedResultsController.h"
#include "coredata/SortDescriptor.h"
#include "lists/OrganizationSearchScopeModel.h"
#include "model/QVACoreDataOrganization.h"
#include "people/OrganizationCell.h"
#include "uikit/NSIndexPath.h"
#include "uikit/UIImage.h"
#include "uikit/UILabel.h"

namespace {

std::shared_ptr<QVACoreDataOrganization> listedOrganizationAt(coredata::FetchedResultsController& controller,
                                                        const uikit::NSIndexPath& indexPath) {
    if (!Utils::doesIndexPath(indexPath, controller)) return nullptr;
    return controller.objectAtIndexPath({static_cast<size_t>(indexPath.section), static_cast<size_t>(indexPath.row)})
        .objectAs<QVACoreDataOrganization>();
}

}  // namespace

OrganizationsListDelegate::OrganizationsListDelegate()
    : searchScopesArray_{OrganizationSearchScopeModel::initWithPropertyName(std::string("commonName"), std::string("Name"))} {}

std::string OrganizationsListDelegate::entityName() { return QVACoreDataOrganization::kEntityName; }

ListsDataSourceProtocol::SortDescriptors OrganizationsListDelegate::sortDescriptors() {
    return {coredata::SortDescriptor("sectionTitle", true),
            coredata::SortDescriptor("commonName", true, coredata::SortComparator::LocalizedStandardCompare)};
}

std::string OrganizationsListDelegate::cellIdentifier() { return OrganizationCell::cellIdentifier(); }

std::optional<ListsDataSourceProtocol::PredicatePtr> OrganizationsListDelegate::fetchPredicate() {
    return coredata::Predicate::withFormat("organizationType = %@", std::string(kListedType));
}

std::optional<std::vector<std::string>> OrganizationsListDelegate::entitiesArrayToObserveForFilteringUIUpdates() {
    return std::vector<std::string>{QVACoreDataOrganization::kEntityName};
}

std::optional<std::vector<std::shared_ptr<FilterModel>>> OrganizationsListDelegate::filtersCollection() {
    return std::vector<std::shared_ptr<FilterModel>>{};
}

std::optional<std::shared_ptr<uikit::UIImage>> OrganizationsListDelegate::segmentedControlImage() {
    return uikit::UIImage::imageNamed("organization_icon.png");
}

void OrganizationsListDelegate::refreshContentWhenPulledToRefresh() { QVAApiManagerRefresh::refreshOrganizations(); }

void OrganizationsListDelegate::fetchedResultController(coredata::FetchedResultsController& controller,
                                                        uikit::UITableViewCell& cell, const uikit::NSIndexPath& indexPath,
                                                        BaseViewController&) {
    auto* row = dynamic_cast<OrganizationCell*>(&cell);
    auto organization = listedOrganizationAt(controller, indexPath);
    if (!row || !organization) return;
    if (auto name = row->organizationName()) name->setText(organization->name());
    if (auto country = row->organizationContry()) country->setText(organization->country());
}

ListsDataSourceProtocol::Text OrganizationsListDelegate::getObjectIdForIndexPath(
    const uikit::NSIndexPath& indexPath, coredata::FetchedResultsController& fromFetchController) {
    auto organization = listedOrganizationAt(fromFetchController, indexPath);
    return organization ? organization->itemId() : std::nullopt;
}
