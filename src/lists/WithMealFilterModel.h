// The sessions with, or without, a meal.
#pragma once

#include <string>

#include "lists/FilterModel.h"

class WithMealFilterModel : public FilterModel {
public:
    static constexpr const char* kYesValue = "Meal included";
    static constexpr const char* kNoValue = "Meal not included";

    std::string displayName() const override { return "With meal"; }
    std::string defaultValue() const override { return "Any"; }

    // "Any", "Meal included", "Meal not included".
    foundation::Value::Array getPossibleValuesWithCoreDataStack(const StackPtr& stack) override;
    // "withMeal == " YES for "Meal included", NO for any other value.
    coredata::PredicatePtr filterPredicateWithCoreDataStack(const StackPtr& stack) override;

    std::string className() const override { return "WithMealFilterModel"; }

protected:
    std::shared_ptr<FilterModel> makeInstance() const override;
};
