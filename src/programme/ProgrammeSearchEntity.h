// Sessions of the programme whose title holds the words typed, and those to
// which a participant whose name holds the whole text contributes.
#pragma once

#include "programme/SessionSearchEntity.h"

class ProgrammeSearchEntity : public SessionSearchEntity {
public:
    using SessionSearchEntity::SessionSearchEntity;

    std::string title() const override { return "Programme"; }
    std::string entityName() const override;
    coredata::PredicatePtr searchPredicateForSearchString(const std::string& searchString) const override;
    using SearchEntity::searchPredicateForSearchString;
    using SearchEntity::navigateToDetailsFromController;
    void navigateToDetailsFromController(const ViewControllerPtr& controller, const foundation::Value& object,
                                         const uikit::NSIndexPath& indexPath, bool isSwipeEnabled) override;

    std::string className() const override { return "ProgrammeSearchEntity"; }
};
