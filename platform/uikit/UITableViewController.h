// A controller whose view is a table it serves itself: data source and
// delegate of its own table, which it makes in its style unless its
// storyboard scene's view builder gives one. The scene's prototype cells
// are dequeued from that table by reuse identifier. Subclasses override the
// data-source and delegate members. Main thread only.
#pragma once

#include <memory>

#include "uikit/UITableView.h"
#include "uikit/UIViewController.h"

namespace uikit {

class UITableViewController : public UIViewController, public UITableViewDataSource, public UITableViewDelegate {
public:
    explicit UITableViewController(UITableViewStyle style = UITableViewStyle::Plain);
    ~UITableViewController() override;

    // Loads the view.
    std::shared_ptr<UITableView> tableView();
    void setTableView(std::shared_ptr<UITableView> tableView);
    UITableViewStyle tableViewStyle() const { return style_; }
    bool clearsSelectionOnViewWillAppear() const { return clearsSelectionOnViewWillAppear_; }
    void setClearsSelectionOnViewWillAppear(bool clears) { clearsSelectionOnViewWillAppear_ = clears; }

    void loadView() override;
    // Reloads a table that has not loaded yet, and clears the selection when asked to.
    void viewWillAppear(bool animated) override;

    // An empty table by default.
    int64_t tableViewNumberOfRowsInSection(UITableView& tableView, int64_t section) override;
    UITableViewCellPtr tableViewCellForRowAtIndexPath(UITableView& tableView, const NSIndexPath& indexPath) override;

    std::string className() const override { return "UITableViewController"; }

private:
    void adopt(const std::shared_ptr<UITableView>& tableView);

    UITableViewStyle style_;
    bool clearsSelectionOnViewWillAppear_ = true;
};

using UITableViewControllerPtr = std::shared_ptr<UITableViewController>;

}  // namespace uikit
