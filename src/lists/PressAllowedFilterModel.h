// The sessions open, or not, to the press.
#pragma once

#include <string>

#include "lists/FilterModel.h"

class PressAllowedFilterModel : public FilterModel {
public:
    static constexpr const char* kYesValue = "Open to press";
    static constexpr const char* kNoValue = "Not open to press";

    std::string displayName() const override { return "Press allowed"; }
    std::string defaultValue() const override { return "Any"; }

    // "Any", "Open to press", "Not open to press".
    foundation::Value::Array getPossibleValuesWithCoreDataStack(const StackPtr& stack) override;
    // "pressAllowed == " YES for "Open to press", NO for any other value.
    coredata::PredicatePtr filterPredicateWithCoreDataStack(const StackPtr& stack) override;

    std::string className() const override { return "PressAllowedFilterModel"; }

protected:
    std::shared_ptr<FilterModel> makeInstance() const override;
};
