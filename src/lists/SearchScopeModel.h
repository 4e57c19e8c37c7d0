// A search scope: turns the text typed into a list's search bar into a store
// predicate over one attribute. Every word of the text must occur in the
// attribute, in any order, letter case and accents aside; words are split on
// blanks and hyphens. A scope is made once by a list's data source and kept
// for the list's life; subclasses override the predicate and may override
// the two accessors instead of storing values. Main thread only.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "coredata/Predicate.h"
#include "foundation/Object.h"

class CoreDataStack;

class SearchScopeModel : public foundation::Object {
public:
    using Text = std::optional<std::string>;
    using StackPtr = std::shared_ptr<CoreDataStack>;

    SearchScopeModel() = default;
    SearchScopeModel(Text propertyName, Text displayName);
    static std::shared_ptr<SearchScopeModel> initWithPropertyName(Text propertyName, Text displayName);

    // The attribute searched.
    virtual Text propertyName() const { return propertyName_; }
    // The scope button's title.
    virtual Text displayName() const { return displayName_; }

    // The text as typed. FALSE without a property name.
    virtual coredata::PredicatePtr filterPredicateWithCoreDataStack(const StackPtr& stack,
                                                                    const std::string& searchText) const;

    std::string className() const override { return "SearchScopeModel"; }

private:
    Text propertyName_;
    Text displayName_;
};

using SearchScopeModelPtr = std::shared_ptr<SearchScopeModel>;
