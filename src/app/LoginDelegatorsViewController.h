// "Manage members": the people of the meeting the user may act for, from the
// store, by name. A tap offers what can be done for that person: "Switch
// user" always, "Change password" for a spouse; the pad offers them in a
// popover list, the phone in an action sheet.
//
// Switching logs the application in as the member: the member's account and
// current meeting are asked for first, and only when both answers are good
// are the store, the settings and the maps cleared and the loading screen
// shown for the member, keeping a copy of the account switched from. Any
// failure shows "Unable to switch user" and changes nothing. Main thread only.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "app/LoginDelegatorsOptionsDelegate.h"
#include "lists/ListBaseViewController.h"
#include "uikit/UIActionSheet.h"

class QVACoreDataLoginDelegator;

namespace uikit {
class UIPopoverController;
class UIStoryboard;
class UITableViewCell;
}  // namespace uikit

class NamedRowsListDefinition;

class LoginDelegatorsViewController : public ListBaseViewController,
                                      public LoginDelegatorsOptionsDelegate,
                                      public uikit::UIActionSheetDelegate {
public:
    using LoginDelegatorsOptionsDelegate::Text;

    static constexpr const char* kStoryboardIdentifier = "loginDelegatorsViewController";
    static Text storyboardIdentifier() { return std::string(kStoryboardIdentifier); }
    static constexpr const char* kTitle = "Manage members";
    static constexpr const char* kCellIdentifier = "loginDelegatorsCellId";
    static constexpr const char* kTableOutlet = "tableView";
    static constexpr size_t kNameLines = 2;
    // The type of the delegators whose password the user may change.
    static constexpr const char* kSpouseType = "spouse";

    // The options: the pad's rows, then the phone's buttons.
    static constexpr const char* kSwitchUserOption = "Switch user";
    static constexpr const char* kChangePasswordOption = "Change password";
    static constexpr const char* kSwitchUserButtonTitle = "Switch User";
    static constexpr const char* kChangePasswordButtonTitle = "Change Password";
    static constexpr const char* kCancelButtonTitle = "Cancel";

    static constexpr const char* kSwitchFailedTitle = "Unable to switch user";
    static constexpr const char* kSwitchFailedMessage = "Please try again later";
    static constexpr const char* kChangeUserAnalyticsName = "Change user";
    static constexpr const char* kTargetNameKey = "Target participant name";
    static constexpr const char* kTargetIdKey = "Target participant id";
    static constexpr const char* kChangePasswordSegue = "testSegueGoTOChangePassword";

    // The scene, with its table and prototype cell, in a device storyboard.
    static void addScene(uikit::UIStoryboard& storyboard);

    LoginDelegatorsViewController();
    ~LoginDelegatorsViewController() override;

    Text vcTitle() const override { return std::string(kTitle); }
    void awakeFromNib() override;
    void viewDidLoad() override;

    // The pad's popover while it is shown.
    const std::shared_ptr<uikit::UIPopoverController>& popoverLoginDelegatorsOptionsChoose() const {
        return popoverLoginDelegatorsOptionsChoose_;
    }

    // Offers the options for the row's delegator.
    void tableViewDidSelectRowAtIndexPath(uikit::UITableView& tableView, const uikit::NSIndexPath& indexPath) override;
    void onLoginDelegatorsOptionsExecuted(uikit::UITableViewCell& cell, const QVACoreDataLoginDelegator& forLoginDelegator);
    void onSwitchUserExecutedForLoginDelegatorId(const Text& loginDelegatorId);
    // The sender is not used.
    void onChangePasswordExecuted(const foundation::ObjectPtr& sender, const Text& forLoginDelegatorId);

    // The pad's options list.
    void controller(LoginDelegatorsOptionsViewController& controller, int actionSelectedWithType,
                    const Text& forLoginDelegatorId) override;
    void controller(LoginDelegatorsOptionsViewController& controller, const Text& actionCanceledForLoginDelegatorId) override;
    // The phone's action sheet.
    void actionSheetClickedButtonAtIndex(uikit::UIActionSheet& actionSheet, int64_t buttonIndex) override;

    std::string className() const override { return "LoginDelegatorsViewController"; }

private:
    void dismissOptionsPopover();
    void showSwitchFailedAlert();

    std::shared_ptr<NamedRowsListDefinition> listDefinition_;
    std::shared_ptr<uikit::UIPopoverController> popoverLoginDelegatorsOptionsChoose_;
};

using LoginDelegatorsViewControllerPtr = std::shared_ptr<LoginDelegatorsViewController>;
