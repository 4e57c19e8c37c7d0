// The pad's list of what can be done for one member, shown in a popover
// under "Choose option": one row per option title, and a "Cancel" button.
// A row tells the delegate the option's type (1 for the second row, 0 for
// any other), "Cancel" that nothing was chosen. Main thread only.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "uikit/UITableViewController.h"

class LoginDelegatorsOptionsDelegate;

namespace uikit {
class UIBarButtonItem;
class UIStoryboard;
}  // namespace uikit

class LoginDelegatorsOptionsViewController : public uikit::UITableViewController {
public:
    using Text = std::optional<std::string>;

    static constexpr const char* kStoryboardIdentifier = "loginDelegatorsOptionsViewControllerIdentifier";
    static Text storyboardIdentifier() { return std::string(kStoryboardIdentifier); }
    static constexpr const char* kTitle = "Choose option";
    static constexpr const char* kCancelButtonTitle = "Cancel";
    static constexpr const char* kCellIdentifier = "nodsa imdsa das sa";
    static constexpr double kRowHeight = 44;
    static constexpr double kFontSize = 17;

    static void addScene(uikit::UIStoryboard& storyboard);

    LoginDelegatorsOptionsViewController();
    ~LoginDelegatorsOptionsViewController() override;

    const std::vector<std::string>& dataSourceArray() const { return dataSourceArray_; }
    void setDataSourceArray(std::vector<std::string> titles) { dataSourceArray_ = std::move(titles); }
    std::shared_ptr<LoginDelegatorsOptionsDelegate> theDelegate() const { return theDelegate_.lock(); }
    void setTheDelegate(const std::shared_ptr<LoginDelegatorsOptionsDelegate>& delegate) { theDelegate_ = delegate; }
    const Text& loginDelegatorId() const { return loginDelegatorId_; }
    void setLoginDelegatorId(Text id) { loginDelegatorId_ = std::move(id); }

    void viewDidLoad() override;
    void cancelButtonPressed(uikit::UIBarButtonItem& sender);

    int64_t numberOfSectionsInTableView(uikit::UITableView& tableView) override;
    int64_t tableViewNumberOfRowsInSection(uikit::UITableView& tableView, int64_t section) override;
    uikit::UITableViewCellPtr tableViewCellForRowAtIndexPath(uikit::UITableView& tableView,
                                                             const uikit::NSIndexPath& indexPath) override;
    std::optional<double> tableViewHeightForRowAtIndexPath(uikit::UITableView& tableView,
                                                           const uikit::NSIndexPath& indexPath) override;
    void tableViewDidSelectRowAtIndexPath(uikit::UITableView& tableView, const uikit::NSIndexPath& indexPath) override;

    std::string className() const override { return "LoginDelegatorsOptionsViewController"; }

private:
    std::vector<std::string> dataSourceArray_;
    std::weak_ptr<LoginDelegatorsOptionsDelegate> theDelegate_;
    Text loginDelegatorId_;
};

using LoginDelegatorsOptionsViewControllerPtr = std::shared_ptr<LoginDelegatorsOptionsViewController>;
