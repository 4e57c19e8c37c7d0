// The programme list's delegate, standing in until the programme lists
// exist: a session-list delegate that offers the programme's filter set and
// the same set with one filter preset, as the pages that open the programme
// filtered by a fact of a session ask for it. Main thread only.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "programme/ListSessionsBaseDelegate.h"

class CoreDataStack;

class ProgrammeListDelegate : public ListSessionsBaseDelegate {
public:
    using Filters = std::vector<std::shared_ptr<FilterModel>>;

    // New filters: Date, Time, Type, Location, Press allowed, Spouse allowed,
    // With meal; then Notes when "event:notes" is granted and the starred
    // participants when "relationships:read" is, in the current store.
    std::optional<Filters> filtersCollection() override;
    // The set of the given stack (none: the permissions count as refused).
    static Filters filtersCollectionForCoreDataStack(const std::shared_ptr<CoreDataStack>& stack);

    // The filter set with the filter of that class (its className) set to the value.
    Filters getFiltersWithSelectedValue(const std::string& value, const std::string& forFilterModel);

    std::string className() const { return "ProgrammeListDelegate"; }
};
