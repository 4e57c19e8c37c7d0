// The sessions with a personal note.
#pragma once

#include <string>

#include "lists/FilterModel.h"

class SessionNotesFilterModel : public FilterModel {
public:
    static constexpr const char* kWithNotesValue = "With notes";

    std::string displayName() const override { return "Notes"; }
    std::string defaultValue() const override { return "Any"; }

    // "Any", "With notes".
    foundation::Value::Array getPossibleValuesWithCoreDataStack(const StackPtr& stack) override;
    // "itemId in" the ids of the non-empty notes (no rows without notes).
    coredata::PredicatePtr filterPredicateWithCoreDataStack(const StackPtr& stack) override;

    std::string className() const override { return "SessionNotesFilterModel"; }

protected:
    std::shared_ptr<FilterModel> makeInstance() const override;
};
