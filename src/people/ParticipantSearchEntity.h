// Participants whose full name or organisation holds the words typed, by
// last name; a result opens the participant's details.
#pragma once

#include "lists/SearchEntity.h"

class ParticipantSearchEntity : public SearchEntity {
public:
    using SearchEntity::SearchEntity;

    std::string title() const override { return "Participants"; }
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
    std::string nibName() const override;
    std::string cellIdentifier() const override;

    std::string className() const override { return "ParticipantSearchEntity"; }
};
