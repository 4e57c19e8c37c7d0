// The meeting switcher: the meetings of the current store, newest start
// first, and the switch to the one picked (the same steps for the meeting
// already current). The switch reports the change, drops the old meeting's
// maps from memory and its running service requests, drops the picked
// meeting's store unless it is recorded complete, and hands over to the
// loading screen, presented over the switcher. Main thread only.
//
// The list is defined by the screen's own list delegate object (entity, order,
// cell); it lives as long as the screen.
#pragma once

#include <memory>
#include <string>

#include "lists/ListBaseViewController.h"

namespace uikit {
class UIStoryboard;
}

class NamedRowsListDefinition;

class SelectActivityViewController : public ListBaseViewController {
public:
    static Text storyboardIdentifier() { return std::string(kStoryboardIdentifier); }
    static constexpr const char* kStoryboardIdentifier = "selectActivityIdentifier";
    static constexpr const char* kTitle = "Events";
    static constexpr const char* kCellIdentifier = "selectActivityCellID";
    static constexpr const char* kTableOutlet = "tableView";
    static constexpr const char* kChangeEventAnalyticsName = "Change event";
    static constexpr const char* kNewEventNameKey = "New event name";
    static constexpr const char* kNewEventIdKey = "New event id";
    static constexpr size_t kNameLines = 2;

    // The scene, with its table and prototype cell, in a device storyboard.
    static void addScene(uikit::UIStoryboard& storyboard);

    SelectActivityViewController();
    ~SelectActivityViewController() override;

    Text vcTitle() const override { return std::string(kTitle); }
    void awakeFromNib() override;
    void viewDidLoad() override;

    // The switch to the meeting of that row.
    void tableViewDidSelectRowAtIndexPath(uikit::UITableView& tableView, const uikit::NSIndexPath& indexPath) override;

    std::string className() const override { return "SelectActivityViewController"; }

private:
    std::shared_ptr<NamedRowsListDefinition> listDefinition_;
};

using SelectActivityViewControllerPtr = std::shared_ptr<SelectActivityViewController>;
