// The sectors of business organisations; it keeps the participants of the matching ones.
#pragma once

#include "lists/PropertyFilterModel.h"

class OrganizationSectorFilterModel : public PropertyFilterModel {
public:
    std::string displayName() const override { return "Organization Sector"; }
    std::string defaultValue() const override { return "Any"; }
    EntityClassPtr requestClass() const override;
    std::string propertyName() const override { return "sector"; }
    bool isSearchable() const override { return false; }
    foundation::Value::Array getPossibleValuesWithCoreDataStack(const StackPtr& stack) override;
    // FALSE when no business organisation has the chosen value: the list
    // then shows nobody rather than everybody under a filter header.
    coredata::PredicatePtr filterPredicateWithCoreDataStack(const StackPtr& stack) override;

    std::string className() const override { return "OrganizationSectorFilterModel"; }

protected:
    std::shared_ptr<FilterModel> makeInstance() const override;
};
