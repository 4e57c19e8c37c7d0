#include "uikit/UITableViewController.h"

#include "uikit/UIScreen.h"

namespace uikit {

UITableViewController::UITableViewController(UITableViewStyle style) : style_(style) {}

UITableViewController::~UITableViewController() = default;

std::shared_ptr<UITableView> UITableViewController::tableView() {
    return std::dynamic_pointer_cast<UITableView>(view());
}

void UITableViewController::setTableView(std::shared_ptr<UITableView> tableView) {
    adopt(tableView);
    setView(std::move(tableView));
}

void UITableViewController::adopt(const std::shared_ptr<UITableView>& tableView) {
    if (!tableView) return;
    auto self = std::dynamic_pointer_cast<UITableViewController>(weak_from_this().lock());
    if (!self) return;
    if (!tableView->dataSource()) tableView->setDataSource(self);
    if (!tableView->delegate()) tableView->setDelegate(self);
    tableView->registerPrototypeCells(*this);
}

void UITableViewController::loadView() {
    // A scene's view builder may give the table; otherwise the controller
    // makes its own in place of the plain view.
    UIViewController::loadView();
    std::shared_ptr<UIView> loaded = isViewLoaded() ? view() : nullptr;
    auto table = std::dynamic_pointer_cast<UITableView>(loaded);
    if (!table) {
        graphics::Rect frame = loaded ? loaded->frame() : UIScreen::mainScreen().bounds();
        table = std::make_shared<UITableView>(frame, style_);
        table->setAutoresizingMask(UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
    }
    adopt(table);
    setView(table);
}

void UITableViewController::viewWillAppear(bool animated) {
    UIViewController::viewWillAppear(animated);
    auto table = tableView();
    if (!table) return;
    if (!table->hasLoadedData()) {
        table->reloadData();
    } else if (clearsSelectionOnViewWillAppear_) {
        if (auto selected = table->indexPathForSelectedRow()) table->deselectRowAtIndexPath(*selected, animated);
    }
}

int64_t UITableViewController::tableViewNumberOfRowsInSection(UITableView& tableView, int64_t section) {
    (void)tableView, (void)section;
    return 0;
}

UITableViewCellPtr UITableViewController::tableViewCellForRowAtIndexPath(UITableView& tableView,
                                                                         const NSIndexPath& indexPath) {
    (void)tableView, (void)indexPath;
    return nullptr;
}

}  // namespace uikit
