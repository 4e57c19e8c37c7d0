#include "people/PartnerSearchEntity.h"

#include "app/BaseViewController.h"
#include "model/QVACoreDataPartner.h"
#include "people/PartnerDetailsViewController.h"

std::string PartnerSearchEntity::entityName() const { return QVACoreDataPartner::kEntityName; }

std::vector<coredata::SortDescriptor> PartnerSearchEntity::sortDescriptors() const {
    return {coredata::SortDescriptor("commonName", true, coredata::SortComparator::LocalizedStandardCompare)};
}

coredata::PredicatePtr PartnerSearchEntity::searchPredicateForSearchString(const std::string& searchString) const {
    return searchPredicateForSearchString(searchString, "commonName");
}

void PartnerSearchEntity::configureCell(uikit::UITableViewCell& cell, uikit::UITableView&, const ViewControllerPtr&,
                                        const foundation::Value& object, const SearchAdditionalDataSources&) {
    if (auto partner = object.objectAs<QVACoreDataPartner>())
        setStandardCellTexts(cell, partner->name(), partner->engagementType());
}

void PartnerSearchEntity::navigateToDetailsFromController(const ViewControllerPtr& controller,
                                                          const foundation::Value& object,
                                                          const uikit::NSIndexPath& indexPath, bool isSwipeEnabled) {
    auto partner = object.objectAs<QVACoreDataPartner>();
    if (!partner) return;
    pushDetailsScreen(controller, BaseViewController::instantiateViewController<PartnerDetailsViewController>(),
                      partner->itemId(), QVACoreDataPartner::kEntityName, indexPath, isSwipeEnabled);
}
