#include "lists/KeptFetchedResults.h"

#include <cstddef>

#include "Utils/Utils.h"

namespace {

bool sameValue(const foundation::Value& a, const foundation::Value& b) { return a.type() == b.type() && a == b; }

bool sameExpression(const coredata::ExpressionPtr& a, const coredata::ExpressionPtr& b) {
    if (a == b) return true;
    if (!a || !b || a->kind() != b->kind()) return false;
    switch (a->kind()) {
        case coredata::Expression::Kind::Constant: return sameValue(a->constantValue(), b->constantValue());
        case coredata::Expression::Kind::KeyPath: return a->keyPath() == b->keyPath();
        case coredata::Expression::Kind::EvaluatedObject: return true;
        case coredata::Expression::Kind::Aggregate: {
            if (a->items().size() != b->items().size()) return false;
            for (size_t i = 0; i < a->items().size(); ++i)
                if (!sameExpression(a->items()[i], b->items()[i])) return false;
            return true;
        }
    }
    return false;
}

bool samePredicate(const coredata::PredicatePtr& a, const coredata::PredicatePtr& b) {
    if (a == b) return true;
    if (!a || !b) return false;
    if (a->kind() != b->kind() || a->operatorType() != b->operatorType() ||
        a->comparisonModifier() != b->comparisonModifier() || a->options() != b->options() ||
        a->subpredicates().size() != b->subpredicates().size())
        return false;
    for (size_t i = 0; i < a->subpredicates().size(); ++i)
        if (!samePredicate(a->subpredicates()[i], b->subpredicates()[i])) return false;
    return sameExpression(a->leftExpression(), b->leftExpression()) &&
           sameExpression(a->rightExpression(), b->rightExpression());
}

}  // namespace

bool KeptFetchedResults::sameRequest(const coredata::FetchRequest& a, const coredata::FetchRequest& b) {
    if (a.entityName() != b.entityName() || a.entity() != b.entity() || a.fetchLimit() != b.fetchLimit() ||
        a.fetchOffset() != b.fetchOffset() || a.includesSubentities() != b.includesSubentities() ||
        a.resultType() != b.resultType() || a.propertiesToFetch() != b.propertiesToFetch() ||
        a.returnsDistinctResults() != b.returnsDistinctResults() ||
        a.sortDescriptors().size() != b.sortDescriptors().size())
        return false;
    for (size_t i = 0; i < a.sortDescriptors().size(); ++i) {
        const auto& x = a.sortDescriptors()[i];
        const auto& y = b.sortDescriptors()[i];
        if (x.key() != y.key() || x.ascending() != y.ascending() || x.comparator() != y.comparator()) return false;
    }
    return samePredicate(a.predicate(), b.predicate());
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
