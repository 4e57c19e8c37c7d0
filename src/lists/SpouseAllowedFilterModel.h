// The sessions open, or not, to spouses.
#pragma once

#include <string>

#include "lists/FilterModel.h"

class SpouseAllowedFilterModel : public FilterModel {
public:
    static constexpr const char* kYesValue = "Open to spouse";
    static constexpr const char* kNoValue = "Not open to spouse";

    std::string displayName() const override { return "Spouse allowed"; }
    std::string defaultValue() const override { return "Any"; }

    // "Any", "Open to spouse", "Not open to spouse".
    foundation::Value::Array getPossibleValuesWithCoreDataStack(const StackPtr& stack) override;
    // "spouseAllowed == " YES for "Open to spouse", NO for any other value.
    coredata::PredicatePtr filterPredicateWithCoreDataStack(const StackPtr& stack) override;

    std::string className() const override { return "SpouseAllowedFilterModel"; }

protected:
    std::shared_ptr<FilterModel> makeInstance() const override;
};
