// The communities of all networks of the participants' memberships; a
// community matches under whichever network lists it.
#pragma once

#include "lists/PropertyFilterModel.h"

class GroupFilterModel : public PropertyFilterModel {
public:
    std::string displayName() const override { return "Group"; }
    std::string defaultValue() const override { return "Any"; }
    EntityClassPtr requestClass() const override;
    std::string propertyName() const override { return "quovanaNetworks"; }

    // "Any", then the communities of the current meeting, sorted, trimmed,
    // empty ones dropped.
    foundation::Value::Array getPossibleValuesWithCoreDataStack(const StackPtr& stack) override;
    // "quovanaNetworks contains[cd]" the community entry.
    coredata::PredicatePtr filterPredicateWithCoreDataStack(const StackPtr& stack) override;

    std::string className() const override { return "GroupFilterModel"; }

protected:
    std::shared_ptr<FilterModel> makeInstance() const override;
};
