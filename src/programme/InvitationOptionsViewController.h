// The replies to an invitation the service allows now, one row per reply
// title of the invitation model. "Done" returns to the session detail screen
// with the selected row's title as the model's selectedValue; "Cancel"
// returns without a reply; the "Delegate" row goes on to the delegate picker,
// whose own "Cancel" comes back here. Scene "InvitationOptionsViewController":
// pushed on the phone, in a navigation controller presented modally on the
// pad. Main thread only.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "app/BaseViewController.h"
#include "uikit/UITableView.h"

class InvitationObjectModel;
namespace uikit {
class UIStoryboard;
}

class InvitationOptionsViewController : public BaseViewController,
                                        public uikit::UITableViewDataSource,
                                        public uikit::UITableViewDelegate {
public:
    static constexpr const char* kStoryboardIdentifier = "InvitationOptionsViewController";
    static constexpr const char* kNavigationStoryboardIdentifier = "InvitationOptionsNavigationController";
    static constexpr const char* kCellIdentifier = "invitationOptionsCellID";
    static constexpr const char* kTableOutlet = "invitationOptionsTableView";
    static constexpr const char* kDelegatesSegue = "invitationDelegatesSegID";
    static constexpr const char* kSelectUnwindSegue = "unwindOnSelectInvitationOptionSegID";
    static constexpr const char* kCancelUnwindSegue = "unwindOnCancelInvitationOptionsSegID";
    // The detail screen's actions these unwinds reach.
    static constexpr const char* kSelectUnwindAction = "unwindOnSelectInvitationOption:";
    static constexpr const char* kCancelUnwindAction = "unwindOnCancelInvitationOptions:";
    // Where the delegate picker's "Cancel" returns.
    static constexpr const char* kCancelDelegatesUnwindAction = "unwindOnCancelInvitationDelegates:";
    static constexpr const char* kTitle = "Invitation";

    static Text storyboardIdentifier() { return std::string(kStoryboardIdentifier); }
    // The chooser and the picker with their segues, and the detail screen's
    // segue to the chooser: pushed on the phone, modal on the pad.
    static void addScenes(uikit::UIStoryboard& storyboard, const std::string& detailsScene);

    InvitationOptionsViewController();

    const std::shared_ptr<InvitationObjectModel>& invitationObjectModel() const { return invitationObjectModel_; }
    void setInvitationObjectModel(std::shared_ptr<InvitationObjectModel> model) { invitationObjectModel_ = std::move(model); }
    const std::shared_ptr<uikit::UITableView>& invitationOptionsTableView() const { return table_; }
    void setInvitationOptionsTableView(std::shared_ptr<uikit::UITableView> table) { table_ = std::move(table); }

    void viewDidLoad() override;
    bool shouldPerformSegueWithIdentifier(const std::string& identifier, const foundation::ObjectPtr& sender) override;
    void prepareForSegue(uikit::UIStoryboardSegue& segue, const foundation::ObjectPtr& sender) override;
    void unwindOnCancelInvitationDelegates(uikit::UIStoryboardSegue& segue);

    int64_t numberOfSectionsInTableView(uikit::UITableView& tableView) override;
    int64_t tableViewNumberOfRowsInSection(uikit::UITableView& tableView, int64_t section) override;
    uikit::UITableViewCellPtr tableViewCellForRowAtIndexPath(uikit::UITableView& tableView,
                                                             const uikit::NSIndexPath& indexPath) override;

    std::string className() const override { return "InvitationOptionsViewController"; }

private:
    std::optional<std::string> titleAt(int64_t row) const;

    std::shared_ptr<InvitationObjectModel> invitationObjectModel_;
    std::shared_ptr<uikit::UITableView> table_;
};
