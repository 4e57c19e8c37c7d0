// The meeting's delegates, by last name, for delegating an invitation: one
// plain section of full names, selecting a row only marks it. "Done" returns
// to the session detail screen with the selected name (trimmed), or, with
// none selected, stays and says so; "Cancel" returns to the reply chooser.
// The list's definition is the screen's own (one small class beside it).
// Scene
// "InvitationDelegatesViewController". Main thread only.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "lists/ListBaseViewController.h"

namespace uikit {
class UIStoryboard;
}

class InvitationDelegatesViewController : public ListBaseViewController {
public:
    using ListBaseViewController::Text;

    static constexpr const char* kStoryboardIdentifier = "InvitationDelegatesViewController";
    static constexpr const char* kCellIdentifier = "delegateNameCellID";
    static constexpr const char* kTableOutlet = "tableView";
    static constexpr const char* kSelectUnwindSegue = "unwindOnSelectInvitationDelegateSegID";
    static constexpr const char* kCancelUnwindSegue = "unwindOnCancelInvitationDelegatesSegID";
    static constexpr const char* kNoDelegateTitle = "Error";
    static constexpr const char* kNoDelegateMessage = "Please select the delegate.";
    static constexpr const char* kTitle = "Delegate";
    static constexpr double kRowHeight = 44;

    static Text storyboardIdentifier() { return std::string(kStoryboardIdentifier); }
    static void addScene(uikit::UIStoryboard& storyboard);

    InvitationDelegatesViewController();

    const Text& delegateName() const { return delegateName_; }
    // The selected row's full name without surrounding white space and line
    // ends; none when no row is selected.
    Text selectedDelegateName();

    void awakeFromNib() override;
    void viewDidLoad() override;
    bool shouldPerformSegueWithIdentifier(const std::string& identifier, const foundation::ObjectPtr& sender) override;

    std::optional<double> tableViewHeightForRowAtIndexPath(uikit::UITableView& tableView,
                                                           const uikit::NSIndexPath& indexPath) override;
    void tableViewDidSelectRowAtIndexPath(uikit::UITableView& tableView, const uikit::NSIndexPath& indexPath) override;

    std::string className() const override { return "InvitationDelegatesViewController"; }

private:
    std::shared_ptr<ListsDataSourceProtocol> listDefinition_;
    Text delegateName_;
};
