// The sessions' type, offered from the official programme; it keeps
// programme and agenda rows alike, which carry their session's type.
#pragma once

#include "lists/PropertyFilterModel.h"

class SessionTypeFilterModel : public PropertyFilterModel {
public:
    std::string displayName() const override { return "Type"; }
    std::string defaultValue() const override { return "Any"; }
    EntityClassPtr requestClass() const override;
    std::string propertyName() const override { return "type"; }
    bool isSearchable() const override { return false; }
    coredata::PredicatePtr filterPredicateWithCoreDataStack(const StackPtr& stack) override;

    std::string className() const override { return "SessionTypeFilterModel"; }

protected:
    std::shared_ptr<FilterModel> makeInstance() const override;
};
