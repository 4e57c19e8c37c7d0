#include "lists/TimeFilterModel.h"

#include <algorithm>

TimeFilterModel::TimeFilterModel()
    : timeLabels_{"Any", "Morning (00:00 - 11:59)", "LunchTime (11:30 - 13:59)", "Afternoon (12:00 - 17:59)",
                  "Evening (18:00 - 23:59)"},
      startTimes_{"", "00:00", "11:30", "12:00", "18:00"},
      endTimes_{"", "11:59", "13:59", "17:59", "23:59"} {}

foundation::Value::Array TimeFilterModel::getPossibleValuesWithCoreDataStack(const StackPtr& stack) {
    (void)stack;
    return foundation::Value::Array(timeLabels_.begin(), timeLabels_.end());
}

coredata::PredicatePtr TimeFilterModel::filterPredicateWithCoreDataStack(const StackPtr& stack) {
    (void)stack;
    if (isUnset()) return coredata::Predicate::truePredicate();
    const std::string chosen = selectedValue().stringValue();
    auto found = std::find(timeLabels_.begin(), timeLabels_.end(), chosen);
    if (found == timeLabels_.end()) return coredata::Predicate::falsePredicate();
    const size_t band = static_cast<size_t>(found - timeLabels_.begin());
    // "displayTime" is "HH:MM - HH:MM", so string order is start-time order,
    // except that a start equal to the band's end sorts after that bare
    // bound: a text beginning with the bound starts at the end of the band.
    return coredata::Predicate::withFormat("%K >= %@ AND (%K <= %@ OR %K BEGINSWITH %@)", "displayTime",
                                           startTimes_[band], "displayTime", endTimes_[band], "displayTime",
                                           endTimes_[band]);
}

std::shared_ptr<FilterModel> TimeFilterModel::makeInstance() const { return std::make_shared<TimeFilterModel>(); }
