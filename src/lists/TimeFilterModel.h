// Bands of the day (they overlap); it keeps the sessions whose start time,
// the "HH:MM" before " - " in "displayTime", lies in the chosen band, both
// bounds included.
#pragma once

#include <string>
#include <vector>

#include "lists/FilterModel.h"

class TimeFilterModel : public FilterModel {
public:
    TimeFilterModel();

    std::string displayName() const override { return "Time"; }
    std::string defaultValue() const override { return "Any"; }

    // The band labels, "Any" first.
    foundation::Value::Array getPossibleValuesWithCoreDataStack(const StackPtr& stack) override;
    coredata::PredicatePtr filterPredicateWithCoreDataStack(const StackPtr& stack) override;

    const std::vector<std::string>& timeLabels() const { return timeLabels_; }
    const std::vector<std::string>& startTimes() const { return startTimes_; }
    const std::vector<std::string>& endTimes() const { return endTimes_; }

    std::string className() const override { return "TimeFilterModel"; }

protected:
    std::shared_ptr<FilterModel> makeInstance() const override;

private:
    std::vector<std::string> timeLabels_;
    std::vector<std::string> startTimes_;
    std::vector<std::string> endTimes_;
};
