// The calendar chooser, standing in until it exists: one section per calendar
// account (titled with the account), one row per writable calendar; a tap
// picks that calendar and unwinds to the screen with the action
// "unwindOnChooseCalendarToSync:". It records what it is handed (the sources,
// the delegate, the pick) and shows it in the screen dump. Scene
// "ChooseCalendarViewControllerIdentifier" (addScene). Main thread only.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/BaseViewController.h"
#include "app/StubScreen.h"
#include "eventkit/EKCalendar.h"
#include "programme/SourceCalendars.h"
#include "uikit/UITableView.h"

class ChooseCalendarControllerDelegate;

namespace uikit {
class UIStoryboard;
}

class ChooseCalendarViewController : public BaseViewController,
                                     public StubScreen,
                                     public uikit::UITableViewDataSource,
                                     public uikit::UITableViewDelegate {
public:
    static constexpr const char* kStoryboardIdentifier = "ChooseCalendarViewControllerIdentifier";
    static constexpr const char* kTitle = "Choose calendar";
    static constexpr const char* kCellIdentifier = "chooseCalendarCellId";
    static constexpr const char* kUnwindSegue = "unwindOnChooseCalendarToSyncSegID";
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

    Text vcTitle() const override { return std::string(kTitle); }
    void viewDidLoad() override;

    int64_t numberOfSectionsInTableView(uikit::UITableView& tableView) override;
    int64_t tableViewNumberOfRowsInSection(uikit::UITableView& tableView, int64_t section) override;
    std::optional<std::string> tableViewTitleForHeaderInSection(uikit::UITableView& tableView,
                                                                int64_t section) override;
    uikit::UITableViewCellPtr tableViewCellForRowAtIndexPath(uikit::UITableView& tableView,
                                                             const uikit::NSIndexPath& indexPath) override;
    void tableViewDidSelectRowAtIndexPath(uikit::UITableView& tableView, const uikit::NSIndexPath& indexPath) override;

    std::vector<std::pair<std::string, std::string>> screenDescriptionItems() const override;
    std::string className() const override { return "ChooseCalendarViewController"; }

private:
    std::vector<SourceCalendarsPtr> calendarSourcesData_;
    std::weak_ptr<ChooseCalendarControllerDelegate> delegate_;
    eventkit::EKCalendarPtr selectedCalendar_;
    std::shared_ptr<uikit::UITableView> tableView_;
};
