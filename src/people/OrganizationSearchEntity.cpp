#include "people/OrganizationSearchEntity.h"

#include "app/BaseViewController.h"
#include "model/QVACoreDataOrganization.h"
#include "people/OrganizationDetailsViewController.h"

namespace {

// The only organisations the search shows.
constexpr const char* kSearchedOrganizationType = "Business";

}  // namespace

std::string OrganizationSearchEntity::entityName() const { return QVACoreDataOrganization::kEntityName; }

std::vector<coredata::SortDescriptor> OrganizationSearchEntity::sortDescriptors() const {
    return {coredata::SortDescriptor("commonName", true, coredata::SortComparator::LocalizedStandardCompare)};
}

coredata::PredicatePtr OrganizationSearchEntity::searchPredicateForSearchString(const std::string& searchString) const {
    return coredata::Predicate::andPredicate(
        {searchPredicateForSearchString(searchString, "commonName"),
         coredata::Predicate::withFormat("organizationType = %@", std::string(kSearchedOrganizationType))});
}

void OrganizationSearchEntity::configureCell(uikit::UITableViewCell& cell, uikit::UITableView&,
                                             const ViewControllerPtr&, const foundation::Value& object,
                                             const SearchAdditionalDataSources&) {
    if (auto organization = object.objectAs<QVACoreDataOrganization>())
        setStandardCellTexts(cell, organization->name(), organization->country());
}

void OrganizationSearchEntity::navigateToDetailsFromController(const ViewControllerPtr& controller,
                                                               const foundation::Value& object,
                                                               const uikit::NSIndexPath& indexPath,
                                                               bool isSwipeEnabled) {
    auto organization = object.objectAs<QVACoreDataOrganization>();
    if (!organization) return;
    pushDetailsScreen(controller, BaseViewController::instantiateViewController<OrganizationDetailsViewController>(),
                      organization->itemId(), QVACoreDataOrganization::kEntityName, indexPath, isSwipeEnabled);
}
