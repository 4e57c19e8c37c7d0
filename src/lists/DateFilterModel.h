// The days of the programme, titled in the meeting's time zone; it keeps the
// rows of the chosen day. The days are read once, when the filter is made,
// from the store of the current account and meeting.
#pragma once

#include <string>
#include <vector>

#include "lists/FilterModel.h"

class DateFilterModel : public FilterModel {
public:
    DateFilterModel();

    std::string displayName() const override { return "Date"; }
    std::string defaultValue() const override { return "Any"; }

    // "Any", then the day titles ("" for a day that cannot be read as a date).
    foundation::Value::Array getPossibleValuesWithCoreDataStack(const StackPtr& stack) override;
    // "startDateString=" the day of the chosen title; FALSE for a title that
    // is no longer among the days (the list shows nothing for a day that is gone).
    coredata::PredicatePtr filterPredicateWithCoreDataStack(const StackPtr& stack) override;

    const std::vector<std::string>& dates() const { return dates_; }
    const std::vector<std::string>& labels() const { return labels_; }

    std::string className() const override { return "DateFilterModel"; }

protected:
    std::shared_ptr<FilterModel> makeInstance() const override;

private:
    std::vector<std::string> dates_;
    std::vector<std::string> labels_;
};
