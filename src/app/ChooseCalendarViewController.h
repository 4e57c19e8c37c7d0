// The calendar chooser of My agenda and the settings screen: one section
// per calendar account (titled with the account), one row per writable
// calendar; a tap keeps that calendar in selectedCalendar, pops the chooser
// and then tells the delegate, which reads the choice and starts the sync.
// Scene "ChooseCalendarViewControllerIdentifier" (addScene). Main thread only.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/BaseViewController.h"
#include "eventkit/EKCalendar.h"
#include "api/SourceCalendars.h"
#include "uikit/UITableView.h"

class ChooseCalendarControllerDelegate;

namespace uikit {
class UIStoryboard;
}

class ChooseCalendarViewController : public BaseViewController,
                                     public uikit::UITableViewDataSource,
                                     public uikit::UITableViewDelegate {
public:
    static constexpr const char* kStoryboardIdentifier = "ChooseCalendarViewControllerIdentifier";
    static constexpr const char* kTitle = "Choose calendar";
    static constexpr const char* kCellIdentifier = "chooseCalendarCellId";
    static constexpr double kRowHeight = 44;
    // The openers' unwind action, which they still answer; the chooser
    // itself pops and calls its delegate.
    static constexpr const char* kUnwindAction = "unwindOnChooseCalendarToSync:";
    static Text storyboardIdentifier() { return std::string(kStoryboardIdentifier); }
    static void addScene(uikit::UIStoryboard& storyboard);

    const std::vector<SourceCalendarsPtr>& calendarSourcesData() const { return calendarSourcesData_; }
    void setCalendarSourcesData(std::vector<SourceCalendarsPtr> sources);
    std::shared_ptr<ChooseCalendarControllerDelegate> delegate() const { return delegate_.lock(); }
    void setDelegate(std::weak_ptr<ChooseCalendarControllerDelegate> delegate);
    const eventkit::EKCalendarPtr& selectedCalendar() const { return selectedCalendar_; }
    void setSelectedCalendar(eventkit::EKCalendarPtr calendar) { selectedCalendar_ = std::move(calendar); }
    const std::shared_ptr<uikit::UITableView>& tableView() const { return tableView_; }

    // Read into the title when the storyboard makes the chooser.
    Text vcTitle() const override { return std::string(kTitle); }
    void viewDidLoad() override;

    int64_t numberOfSectionsInTableView(uikit::UITableView& tableView) override;
    int64_t tableViewNumberOfRowsInSection(uikit::UITableView& tableView, int64_t section) override;
    std::optional<std::string> tableViewTitleForHeaderInSection(uikit::UITableView& tableView,
                                                                int64_t section) override;
    uikit::UITableViewCellPtr tableViewCellForRowAtIndexPath(uikit::UITableView& tableView,
                                                             const uikit::NSIndexPath& indexPath) override;
    std::optional<double> tableViewHeightForRowAtIndexPath(uikit::UITableView& tableView,
                                                           const uikit::NSIndexPath& indexPath) override;
    void tableViewDidSelectRowAtIndexPath(uikit::UITableView& tableView, const uikit::NSIndexPath& indexPath) override;

    std::string className() const override { return "ChooseCalendarViewController"; }

private:
    std::vector<SourceCalendarsPtr> calendarSourcesData_;
    std::weak_ptr<ChooseCalendarControllerDelegate> delegate_;
    eventkit::EKCalendarPtr selectedCalendar_;
    std::shared_ptr<uikit::UITableView> tableView_;
};
