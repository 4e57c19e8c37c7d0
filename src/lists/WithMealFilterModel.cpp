#include "lists/WithMealFilterModel.h"

foundation::Value::Array WithMealFilterModel::getPossibleValuesWithCoreDataStack(const StackPtr& stack) {
    (void)stack;
    return {foundation::Value(defaultValue()), foundation::Value(kYesValue), foundation::Value(kNoValue)};
}

coredata::PredicatePtr WithMealFilterModel::filterPredicateWithCoreDataStack(const StackPtr& stack) {
    (void)stack;
    if (isUnset()) return coredata::Predicate::truePredicate();
    return coredata::Predicate::withFormat("withMeal == %@", selectedValue().stringValue() == kYesValue);
}

std::shared_ptr<FilterModel> WithMealFilterModel::makeInstance() const { return std::make_shared<WithMealFilterModel>(); }
