// A filter over the values of one attribute: it offers the distinct stored
// values of `propertyName` on `requestClass` (trimmed, blanks dropped) and
// keeps the rows whose value, trimmed, is the chosen one whatever its letter
// case and accents. Matching the whole value, not a part of it, keeps
// "Niger" from also listing "Nigeria".
#pragma once

#include <string>
#include <vector>

#include "lists/FilterModel.h"

class PropertyFilterModel : public FilterModel {
public:
    // The attribute of `requestClass` whose values are offered and matched.
    virtual std::string propertyName() const;

    // "Any", then the trimmed values in the order of the sorted fetch; two
    // values equal once trimmed are both kept.
    foundation::Value::Array getPossibleValuesWithCoreDataStack(const StackPtr& stack) override;
    // TRUE while unset; else "itemId IN" the ids of the matching rows.
    coredata::PredicatePtr filterPredicateWithCoreDataStack(const StackPtr& stack) override;

    std::string className() const override { return "PropertyFilterModel"; }

protected:
    std::shared_ptr<FilterModel> makeInstance() const override;
    // The fetch that gathers the offered values: the distinct values of
    // `propertyName` among the rows `predicate` selects, sorted.
    foundation::Value::Array possibleValuesMatching(const StackPtr& stack, const coredata::PredicatePtr& predicate);
    // The `idKey` values of the rows of `entityName` (that also match
    // `restriction`, when given) whose `propertyName` value matches the chosen one.
    std::vector<std::string> idsOfRowsMatchingSelection(const StackPtr& stack, const std::string& entityName,
                                                        const std::string& idKey,
                                                        const coredata::PredicatePtr& restriction);
    // The text of the chosen value.
    std::string selectedText() const { return selectedValue().stringValue(); }
};
