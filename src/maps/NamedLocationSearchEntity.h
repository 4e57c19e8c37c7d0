// What the venue and room kinds of the global search share: a place found by
// the words typed within its name, ordered by name, shown as the standard
// cell with the name alone, opening the location details.
#pragma once

#include "lists/SearchEntity.h"

class NamedLocationSearchEntity : public SearchEntity {
public:
    using SearchEntity::SearchEntity;

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

    std::string className() const override { return "NamedLocationSearchEntity"; }
};
