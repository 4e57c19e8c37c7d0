#include "lists/PropertyFilterModel.h"

#include "foundation/StringUtils.h"
#include "lists/FilterFetching.h"
#include "Utils/StringUtility.h"

std::string PropertyFilterModel::propertyName() const { raiseNotImplemented("propertyName"); }

foundation::Value::Array PropertyFilterModel::getPossibleValuesWithCoreDataStack(const StackPtr& stack) {
    return possibleValuesMatching(stack, coredata::Predicate::withFormat("SELF != nil AND SELF!=''"));
}

coredata::PredicatePtr PropertyFilterModel::filterPredicateWithCoreDataStack(const StackPtr& stack) {
    if (isUnset()) return coredata::Predicate::truePredicate();
    auto ids = idsOfRowsMatchingSelection(stack, requestClass()->name, "itemId", nullptr);
    return coredata::Predicate::withFormat("itemId IN %@", ids);
}

std::shared_ptr<FilterModel> PropertyFilterModel::makeInstance() const {
    return std::make_shared<PropertyFilterModel>();
}

foundation::Value::Array PropertyFilterModel::possibleValuesMatching(const StackPtr& stack,
                                                                     const coredata::PredicatePtr& predicate) {
    const std::string property = propertyName();
    auto rows = FilterFetching::fetchDictionaries(stack, {.entityName = requestClass()->name,
                                                          .predicate = predicate,
                                                          .properties = {property},
                                                          .distinct = true,
                                                          .sortKey = property});
    foundation::Value::Array values{foundation::Value(defaultValue())};
    for (const auto& text : FilterFetching::texts(rows, property)) {
        std::string trimmed = foundation::StringUtils::trimWhitespace(text);
        if (StringUtility::isNilOrEmpty(std::string_view(trimmed))) continue;
        values.emplace_back(std::move(trimmed));
    }
    return values;
}

std::vector<std::string> PropertyFilterModel::idsOfRowsMatchingSelection(const StackPtr& stack,
                                                                         const std::string& entityName,
                                                                         const std::string& idKey,
                                                                         const coredata::PredicatePtr& restriction) {
    const std::string property = propertyName();
    const std::string chosen = selectedText();
    // The store narrows to the rows holding the value; the whole-value test
    // then runs on those few.
    auto predicate = coredata::Predicate::withFormat("%K contains[cd] %@", property, chosen);
    if (restriction) predicate = coredata::Predicate::andPredicate({restriction, predicate});
    auto rows = FilterFetching::fetchDictionaries(
        stack, {.entityName = entityName, .predicate = predicate, .properties = {idKey, property}, .distinct = true});
    std::vector<std::string> ids;
    for (const auto& row : rows) {
        const auto* value = row[property].string();
        const auto* id = row[idKey].string();
        if (value && id && FilterFetching::trimmedValueMatches(*value, chosen)) ids.push_back(*id);
    }
    return ids;
}
