#include "lists/KeptFetchedResults.h"

#include <algorithm>

#include "Utils/Utils.h"

bool KeptFetchedResults::sameRequest(const coredata::FetchRequest& a, const coredata::FetchRequest& b) {
    const auto sameSort = [](const coredata::SortDescriptor& x, const coredata::SortDescriptor& y) {
        return x.key() == y.key() && x.ascending() == y.ascending() && x.comparator() == y.comparator();
    };
    const auto& p = a.predicate();
    const auto& q = b.predicate();
    return a.entityName() == b.entityName() && a.entity() == b.entity() && a.fetchLimit() == b.fetchLimit() &&
           a.fetchOffset() == b.fetchOffset() && a.includesSubentities() == b.includesSubentities() &&
           a.resultType() == b.resultType() && a.propertiesToFetch() == b.propertiesToFetch() &&
           a.returnsDistinctResults() == b.returnsDistinctResults() &&
           std::equal(a.sortDescriptors().begin(), a.sortDescriptors().end(), b.sortDescriptors().begin(),
                      b.sortDescriptors().end(), sameSort) &&
           (p == q || (p && q && p->isEqual(*q)));
}

KeptFetchedResults::ControllerPtr KeptFetchedResults::controller(
    const ControllerPtr& previous, coredata::FetchRequest request, std::optional<std::string> sectionNameKeyPath,
    const coredata::ContextPtr& context, const std::function<void(coredata::FetchedResultsController&)>& configure,
    foundation::ErrorPtr& error) {
    error = nullptr;
    if (previous && controller_.lock() == previous && stamp_.isCurrent(context) &&
        previous->sectionNameKeyPath() == sectionNameKeyPath && sameRequest(previous->fetchRequest(), request))
        return previous;
    if (previous) previous->setDelegate({});
    auto made = std::make_shared<coredata::FetchedResultsController>(
        std::move(request), context, std::move(sectionNameKeyPath),
        Utils::generateUniqueStringForFetchedResultControllerCache());
    if (configure) configure(*made);
    controller_ = made;
    stamp_.stamp(context);
    if ((error = made->performFetch())) stamp_.clear();
    return made;
}
