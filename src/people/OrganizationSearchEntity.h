// The organisations of type "Business" whose common name holds the words
// typed, by common name; the standard cell with the name over the country.
// A result opens its details.
#pragma once

#include "lists/SearchEntity.h"

class OrganizationSearchEntity : public SearchEntity {
public:
    using SearchEntity::SearchEntity;

    std::string title() const override { return "Organizations"; }
    std::string entityName() const override;
    std::vector<coredata::SortDescriptor> sortDescriptors() const override;
    coredata::PredicatePtr searchPredicateForSearchString(const std::string& searchString) const override;
    using SearchEntity::searchPredicateForSearchString;
    using SearchEntity::configureCell;
    void configureCell(uikit::UITableViewCell& cell, uikit::UITableView& tableView, const ViewControllerPtr& controller,
                       const foundation::Value& object,
                       const SearchAdditionalDataSources& additionalDataSources) override;
    using SearchEntity::navigateToDetailsFromController;
    void navigateToDetailsFromController(const ViewControllerPtr& controller, const foundation::Value& object,
                                         const uikit::NSIndexPath& indexPath, bool isSwipeEnabled) override;

    std::string className() const override { return "OrganizationSearchEntity"; }
};
