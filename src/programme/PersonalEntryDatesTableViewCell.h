// The dates row of the personal-entry form: the entry's day, its start time
// and its end time, one label each, side by side. The form fills the texts
// itself; configureWithDate sets all three at once.
#pragma once

#include <memory>
#include <string>

#include "uikit/UITableViewCell.h"

namespace uikit {
class UILabel;
}

class PersonalEntryDatesTableViewCell : public uikit::UITableViewCell {
public:
    static constexpr const char* kCellIdentifier = "peDatesCellID";
    static constexpr double kRowHeight = 60;

    // A cell with its three labels laid out, under the reuse identifier.
    static std::shared_ptr<PersonalEntryDatesTableViewCell> makeCell();

    using uikit::UITableViewCell::UITableViewCell;

    const std::shared_ptr<uikit::UILabel>& date() const { return date_; }
    const std::shared_ptr<uikit::UILabel>& startTime() const { return startTime_; }
    const std::shared_ptr<uikit::UILabel>& endTime() const { return endTime_; }

    // The three texts as given.
    void configureWithDate(const std::string& date, const std::string& startTime, const std::string& endTime);

    std::string className() const override { return "PersonalEntryDatesTableViewCell"; }

private:
    std::shared_ptr<uikit::UILabel> date_;
    std::shared_ptr<uikit::UILabel> startTime_;
    std::shared_ptr<uikit::UILabel> endTime_;
};
