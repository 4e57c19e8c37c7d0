// The sessions in which a followed participant contributes.
#pragma once

#include <string>

#include "lists/FilterModel.h"

class FavContribFilterModel : public FilterModel {
public:
    static constexpr const char* kWithStarredValue = "With starred participants";

    std::string displayName() const override { return "Starred participants"; }
    std::string defaultValue() const override { return "Any"; }

    // "Any", "With starred participants".
    foundation::Value::Array getPossibleValuesWithCoreDataStack(const StackPtr& stack) override;
    // "itemId in" the sessions the followed participants' contributions name
    // (no rows when nobody is followed).
    coredata::PredicatePtr filterPredicateWithCoreDataStack(const StackPtr& stack) override;

    std::string className() const override { return "FavContribFilterModel"; }

protected:
    std::shared_ptr<FilterModel> makeInstance() const override;
};
