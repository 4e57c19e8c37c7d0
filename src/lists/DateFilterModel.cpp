#include "lists/DateFilterModel.h"

#include <algorithm>

#include "lists/FilterFetching.h"
#include "model/QVACoreDataSession.h"
#include "store/FetchRequestUtils.h"
#include "Utils/DateHelper.h"

DateFilterModel::DateFilterModel() {
    dates_ = FetchRequestUtils::getAllDaysArray(FilterFetching::currentStack(), QVACoreDataSession::kEntityName, nullptr);
    labels_.reserve(dates_.size());
    for (const auto& day : dates_) {
        auto date = DateHelper::programmeDateFromSavedString(day);
        labels_.push_back(date ? DateHelper::programmeTitleForDate(*date, true) : std::string());
    }
}

foundation::Value::Array DateFilterModel::getPossibleValuesWithCoreDataStack(const StackPtr& stack) {
    (void)stack;
    foundation::Value::Array values{foundation::Value(defaultValue())};
    for (const auto& label : labels_) values.emplace_back(label);
    return values;
}

coredata::PredicatePtr DateFilterModel::filterPredicateWithCoreDataStack(const StackPtr& stack) {
    (void)stack;
    if (isUnset()) return coredata::Predicate::truePredicate();
    const std::string chosen = selectedValue().stringValue();
    auto found = std::find(labels_.begin(), labels_.end(), chosen);
    if (found == labels_.end()) return coredata::Predicate::falsePredicate();
    return coredata::Predicate::withFormat("%K=%@", "startDateString", dates_[found - labels_.begin()]);
}

std::shared_ptr<FilterModel> DateFilterModel::makeInstance() const { return std::make_shared<DateFilterModel>(); }
