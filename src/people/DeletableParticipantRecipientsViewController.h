// The remover: the recipients already in the composer's To field, one
// deletable row each. "Done" hands back those still listed, "Cancel" the
// recipients as they came; either way the delegate closes the remover.
// Main thread only.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "uikit/UITableViewController.h"

namespace uikit {
class UIStoryboard;
}

class DeletableParticipantRecipientsViewController;

class DeletableRecipientsDelegate {
public:
    virtual ~DeletableRecipientsDelegate() = default;
    virtual void controllerKeptRecipientsRemainedAfterDeletion(DeletableParticipantRecipientsViewController& controller,
                                                               const std::map<std::string, std::string>& recipients,
                                                               bool shouldDismissPopover) = 0;
};

class DeletableParticipantRecipientsViewController : public uikit::UITableViewController {
public:
    using Recipients = std::map<std::string, std::string>;

    static constexpr const char* kStoryboardIdentifier = "DeletableParticipantRecipientsViewControllerStoryboardId";
    static constexpr const char* kTitle = "Remove";
    static constexpr const char* kDoneTitle = "Done";
    static constexpr const char* kCancelTitle = "Cancel";
    static constexpr const char* kCellIdentifier = "cellidentifiernotimportant";

    static void addScene(uikit::UIStoryboard& storyboard);

    ~DeletableParticipantRecipientsViewController() override;

    const Recipients& alreadyAddedOrvaneUsers() const { return alreadyAddedOrvaneUsers_; }
    void setAlreadyAddedOrvaneUsers(Recipients recipients) { alreadyAddedOrvaneUsers_ = std::move(recipients); }
    std::shared_ptr<DeletableRecipientsDelegate> popoverDelegate() const { return popoverDelegate_.lock(); }
    void setPopoverDelegate(const std::shared_ptr<DeletableRecipientsDelegate>& delegate) { popoverDelegate_ = delegate; }
    // The ids still listed, in the rows' order.
    const std::vector<std::string>& dataSourceArray() const { return dataSourceArray_; }

    void viewDidLoad() override;
    void doneButtonPressed();
    void cancelButtonPressed();

    int64_t tableViewNumberOfRowsInSection(uikit::UITableView& tableView, int64_t section) override;
    uikit::UITableViewCellPtr tableViewCellForRowAtIndexPath(uikit::UITableView& tableView,
                                                             const uikit::NSIndexPath& indexPath) override;
    bool implementsCommitEditingStyle() const override { return true; }
    void tableViewCommitEditingStyle(uikit::UITableView& tableView, uikit::UITableViewCellEditingStyle editingStyle,
                                     const uikit::NSIndexPath& indexPath) override;

    std::string className() const override { return "DeletableParticipantRecipientsViewController"; }

private:
    Recipients alreadyAddedOrvaneUsers_;
    std::weak_ptr<DeletableRecipientsDelegate> popoverDelegate_;
    std::vector<std::string> dataSourceArray_;
};
