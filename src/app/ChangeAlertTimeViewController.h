// The settings screen's alert-time chooser: one row per label of the
// dictionary it is handed, ordered by number; a tap keeps that number in
// selectedCalendarAlertTime and unwinds to the screen with the action
// "unwindOnChangeAlertTime:". Scene "ChangeAlertTimeViewControllerIdentifier"
// (addScene). Main thread only.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/BaseViewController.h"
#include "uikit/UITableView.h"

namespace uikit {
class UIStoryboard;
}

class ChangeAlertTimeViewController : public BaseViewController,
                                      public uikit::UITableViewDataSource,
                                      public uikit::UITableViewDelegate {
public:
    static constexpr const char* kStoryboardIdentifier = "ChangeAlertTimeViewControllerIdentifier";
    static constexpr const char* kTitle = "Calendar alert time";
    static constexpr const char* kCellIdentifier = "selectAlertTimeCellID";
    static constexpr const char* kUnwindSegue = "unwindOnChangeAlertTimeSegID";
    static constexpr const char* kUnwindAction = "unwindOnChangeAlertTime:";
    static Text storyboardIdentifier() { return std::string(kStoryboardIdentifier); }
    static void addScene(uikit::UIStoryboard& storyboard);

    // The map keeps the numbers in ascending order, the order of the rows.
    using AlertTimes = std::map<int32_t, std::string>;
    const AlertTimes& alertTimeDataSource() const { return alertTimeDataSource_; }
    void setAlertTimeDataSource(AlertTimes labels);
    int32_t selectedCalendarAlertTime() const { return selectedCalendarAlertTime_; }
    void setSelectedCalendarAlertTime(int32_t choice) { selectedCalendarAlertTime_ = choice; }
    const std::shared_ptr<uikit::UITableView>& tableView() const { return tableView_; }

    Text vcTitle() const override { return std::string(kTitle); }
    void viewDidLoad() override;

    int64_t tableViewNumberOfRowsInSection(uikit::UITableView& tableView, int64_t section) override;
    uikit::UITableViewCellPtr tableViewCellForRowAtIndexPath(uikit::UITableView& tableView,
                                                             const uikit::NSIndexPath& indexPath) override;
    void tableViewDidSelectRowAtIndexPath(uikit::UITableView& tableView, const uikit::NSIndexPath& indexPath) override;
    std::string className() const override { return "ChangeAlertTimeViewController"; }

private:
    AlertTimes alertTimeDataSource_;
    int32_t selectedCalendarAlertTime_ = 0;
    std::shared_ptr<uikit::UITableView> tableView_;
};
