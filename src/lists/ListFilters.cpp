#include "lists/ListFilters.h"

#include <algorithm>

#include "lists/FilterModel.h"
#include "lists/ListsDataSourceProtocol.h"
#include "lists/SearchScopeModel.h"
#include "uikit/UISearchBar.h"
#include "uikit/UISearchDisplayController.h"

namespace ListFilters {

coredata::PredicatePtr compoundFiltersPredicate(const Filters& filters, const std::shared_ptr<CoreDataStack>& stack) {
    std::vector<coredata::PredicatePtr> parts{coredata::Predicate::truePredicate()};
    for (const auto& filter : filters) {
        if (!filter) continue;
        if (auto predicate = filter->filterPredicateWithCoreDataStack(stack)) parts.push_back(std::move(predicate));
    }
    if (parts.size() == 1) return parts.front();
    return coredata::Predicate::andPredicate(std::move(parts));
}

Filters filtersForFiltersController(const Filters& active, const std::function<Filters()>& getFilterCollection) {
    if (active.empty()) return getFilterCollection ? getFilterCollection() : Filters{};
    Filters copies;
    copies.reserve(active.size());
    for (const auto& filter : active) copies.push_back(filter ? filter->copy() : nullptr);
    return copies;
}

void configureSearchBar(uikit::UISearchDisplayController* searchDisplayController,
                        const std::shared_ptr<uikit::UISearchBarDelegate>& barDelegate,
                        ListsDataSourceProtocol* dataSource) {
    if (!searchDisplayController) return;
    const auto& bar = searchDisplayController->searchBar();
    if (!bar) return;
    bar->setDelegate(barDelegate);
    if (!dataSource) return;
    std::vector<std::string> titles;
    for (const auto& scope : dataSource->searchScopes())
        titles.push_back(scope ? scope->displayName().value_or("") : std::string());
    bar->setScopeButtonTitles(std::move(titles));
    bar->setPlaceholder(dataSource->searchHintText());
}

bool allowsSearchTextChange(const uikit::UISearchBar& searchBar, foundation::StringUtils::Range range,
                            const std::string& replacement) {
    const size_t current = foundation::StringUtils::length16(searchBar.text());
    const size_t replaced = std::min(range.length, current);
    return current - replaced + foundation::StringUtils::length16(replacement) <= kSearchTextLimit;
}

void selectLastScope(uikit::UISearchBar& searchBar, ListsDataSourceProtocol* dataSource) {
    if (!dataSource) return;
    const auto scopes = dataSource->searchScopes();
    if (!scopes.empty()) searchBar.setSelectedScopeButtonIndex(static_cast<int64_t>(scopes.size()) - 1);
}

}  // namespace ListFilters
