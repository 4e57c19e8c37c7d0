#include "app/ChangeAlertTimeViewController.h"

#include <iterator>

#include "Utils/Utils.h"
#include "uikit/UILabel.h"
#include "uikit/UIStoryboard.h"
#include "uikit/UITableViewCell.h"

void ChangeAlertTimeViewController::addScene(uikit::UIStoryboard& storyboard) {
    storyboard.addScene(
        kStoryboardIdentifier, [](uikit::UIStoryboard&) { return std::make_shared<ChangeAlertTimeViewController>(); },
        [](uikit::UIViewController& owner, uikit::SceneOutlets& outlets) -> std::shared_ptr<uikit::UIView> {
            auto table = outlets.connect("tableView", std::make_shared<uikit::UITableView>());
            static_cast<ChangeAlertTimeViewController&>(owner).tableView_ = table;
            return table;
        });
    storyboard.addPrototypeCell(kStoryboardIdentifier, kCellIdentifier, [] {
        return std::make_shared<uikit::UITableViewCell>(uikit::UITableViewCellStyle::Default, kCellIdentifier);
    });
    storyboard.addSegue(kStoryboardIdentifier, uikit::UIStoryboardSegueDefinition::unwind(kUnwindSegue, kUnwindAction));
}

void ChangeAlertTimeViewController::setAlertTimeDataSource(AlertTimes labels) {
    alertTimeDataSource_ = std::move(labels);
    if (tableView_) tableView_->reloadData();
}

void ChangeAlertTimeViewController::viewDidLoad() {
    BaseViewController::viewDidLoad();
    // Laid out below the bars, not under them.
    Utils::changeEdgesForController(*this, uikit::UIRectEdgeNone);
    if (!tableView_) return;
    auto self = std::static_pointer_cast<ChangeAlertTimeViewController>(shared_from_this());
    tableView_->setDataSource(self);
    tableView_->setDelegate(self);
}

int64_t ChangeAlertTimeViewController::tableViewNumberOfRowsInSection(uikit::UITableView&, int64_t) {
    return static_cast<int64_t>(alertTimeDataSource_.size());
}

uikit::UITableViewCellPtr ChangeAlertTimeViewController::tableViewCellForRowAtIndexPath(
    uikit::UITableView& tableView, const uikit::NSIndexPath& indexPath) {
    auto cell = tableView.dequeueReusableCellWithIdentifier(kCellIdentifier);
    if (!cell) cell = std::make_shared<uikit::UITableViewCell>(uikit::UITableViewCellStyle::Default, kCellIdentifier);
    cell->textLabel()->setText(std::next(alertTimeDataSource_.begin(), indexPath.row)->second);
    return cell;
}

void ChangeAlertTimeViewController::tableViewDidSelectRowAtIndexPath(uikit::UITableView&,
                                                                     const uikit::NSIndexPath& indexPath) {
    if (indexPath.row < 0 || static_cast<size_t>(indexPath.row) >= alertTimeDataSource_.size()) return;
    selectedCalendarAlertTime_ = std::next(alertTimeDataSource_.begin(), indexPath.row)->first;
    performSegueWithIdentifier(kUnwindSegue, shared_from_this());
}

