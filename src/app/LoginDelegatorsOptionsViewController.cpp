#include "app/LoginDelegatorsOptionsViewController.h"

#include "Utils/Utils.h"
#include "app/LoginDelegatorsOptionsDelegate.h"
#include "uikit/UIBarButtonItem.h"
#include "uikit/UIFont.h"
#include "uikit/UILabel.h"
#include "uikit/UINavigationItem.h"
#include "uikit/UIStoryboard.h"
#include "uikit/UITableViewCell.h"

void LoginDelegatorsOptionsViewController::addScene(uikit::UIStoryboard& storyboard) {
    storyboard.addScene(kStoryboardIdentifier,
                        [](uikit::UIStoryboard&) { return std::make_shared<LoginDelegatorsOptionsViewController>(); });
}

LoginDelegatorsOptionsViewController::LoginDelegatorsOptionsViewController()
    : uikit::UITableViewController(uikit::UITableViewStyle::Plain) {}

LoginDelegatorsOptionsViewController::~LoginDelegatorsOptionsViewController() = default;

void LoginDelegatorsOptionsViewController::viewDidLoad() {
    uikit::UITableViewController::viewDidLoad();
    setTitle(std::string(kTitle));
    // The rows start under the popover's navigation bar, not behind it.
    Utils::changeEdgesForController(*this, uikit::UIRectEdgeNone);
    std::weak_ptr<LoginDelegatorsOptionsViewController> weakSelf =
        std::static_pointer_cast<LoginDelegatorsOptionsViewController>(shared_from_this());
    navigationItem()->setLeftBarButtonItem(uikit::UIBarButtonItem::withTitle(
        std::string(kCancelButtonTitle), uikit::UIBarButtonItemStyle::Done, [weakSelf](uikit::UIBarButtonItem& sender) {
            if (auto self = weakSelf.lock())
                self->cancelButtonPressed(sender);
        }));
}

void LoginDelegatorsOptionsViewController::cancelButtonPressed(uikit::UIBarButtonItem& sender) {
    (void)sender;
    if (auto delegate = theDelegate()) delegate->controller(*this, loginDelegatorId_);
}

int64_t LoginDelegatorsOptionsViewController::numberOfSectionsInTableView(uikit::UITableView& tableView) {
    (void)tableView;
    return 1;
}

int64_t LoginDelegatorsOptionsViewController::tableViewNumberOfRowsInSection(uikit::UITableView& tableView,
                                                                             int64_t section) {
    (void)tableView;
    (void)section;
    return static_cast<int64_t>(dataSourceArray_.size());
}

uikit::UITableViewCellPtr LoginDelegatorsOptionsViewController::tableViewCellForRowAtIndexPath(
    uikit::UITableView& tableView, const uikit::NSIndexPath& indexPath) {
    (void)tableView;
    // A handful of rows that never scroll: each is built new.
    auto cell = std::make_shared<uikit::UITableViewCell>(uikit::UITableViewCellStyle::Default, std::string(kCellIdentifier));
    const auto row = static_cast<size_t>(indexPath.row);
    if (row < dataSourceArray_.size()) cell->textLabel()->setText(dataSourceArray_[row]);
    cell->textLabel()->setFont(uikit::UIFont::systemFontOfSize(kFontSize));
    return cell;
}

std::optional<double> LoginDelegatorsOptionsViewController::tableViewHeightForRowAtIndexPath(
    uikit::UITableView& tableView, const uikit::NSIndexPath& indexPath) {
    (void)tableView;
    (void)indexPath;
    return kRowHeight;
}

void LoginDelegatorsOptionsViewController::tableViewDidSelectRowAtIndexPath(uikit::UITableView& tableView,
                                                                           const uikit::NSIndexPath& indexPath) {
    (void)tableView;
    const int type = indexPath.row == 1 ? LoginDelegatorsOptionsDelegate::kChangePasswordActionType
                                        : LoginDelegatorsOptionsDelegate::kSwitchUserActionType;
    if (auto delegate = theDelegate()) delegate->controller(*this, type, loginDelegatorId_);
}
