#include "lists/PressAllowedFilterModel.h"

foundation::Value::Array PressAllowedFilterModel::getPossibleValuesWithCoreDataStack(const StackPtr& stack) {
    (void)stack;
    return {foundation::Value(defaultValue()), foundation::Value(kYesValue), foundation::Value(kNoValue)};
}

coredata::PredicatePtr PressAllowedFilterModel::filterPredicateWithCoreDataStack(const StackPtr& stack) {
    (void)stack;
    if (isUnset()) return coredata::Predicate::truePredicate();
    return coredata::Predicate::withFormat("pressAllowed == %@", selectedValue().stringValue() == kYesValue);
}

std::shared_ptr<FilterModel> PressAllowedFilterModel::makeInstance() const { return std::make_shared<PressAllowedFilterModel>(); }
