// What the filtering lists (the fetched-results list and the multi-entity
// list) share about their filters and their search bar, beside the filter
// header and its caption (ListBaseViewController's makeFilterHeaderView and
// buildFilterCaptionTextForFilters): the AND of the active filters'
// predicates, the filters handed to the filters screen, and the search bar's
// set-up, text limit and scope on a new search. The lists keep the filters;
// these functions only read them. Main thread only.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "coredata/Predicate.h"
#include "foundation/StringUtils.h"

namespace uikit {
class UISearchBar;
class UISearchBarDelegate;
class UISearchDisplayController;
}  // namespace uikit

class CoreDataStack;
class FilterModel;
class ListsDataSourceProtocol;

namespace ListFilters {

using Filters = std::vector<std::shared_ptr<FilterModel>>;

// The longest search text a person may type or paste.
constexpr size_t kSearchTextLimit = 100;

// TRUE AND each filter's predicate for the store, in array order.
coredata::PredicatePtr compoundFiltersPredicate(const Filters& filters, const std::shared_ptr<CoreDataStack>& stack);

// What the filters screen edits: copies of the active filters, else the
// list's whole collection.
Filters filtersForFiltersController(const Filters& active, const std::function<Filters()>& getFilterCollection);

// The search bar reports to `barDelegate`; with a data source that has
// scopes, the scope titles are their display names and the placeholder its
// hint text.
void configureSearchBar(uikit::UISearchDisplayController* searchDisplayController,
                        const std::shared_ptr<uikit::UISearchBarDelegate>& barDelegate,
                        ListsDataSourceProtocol* dataSource);

// Whether the edit keeps the text within kSearchTextLimit UTF-16 units.
bool allowsSearchTextChange(const uikit::UISearchBar& searchBar, foundation::StringUtils::Range range,
                            const std::string& replacement);

// The last scope, when the data source has scopes.
void selectLastScope(uikit::UISearchBar& searchBar, ListsDataSourceProtocol* dataSource);

}  // namespace ListFilters
