#include "people/DeletableParticipantRecipientsViewController.h"

#include "Utils/Utils.h"
#include "uikit/UIBarButtonItem.h"
#include "uikit/UILabel.h"
#include "uikit/UINavigationItem.h"
#include "uikit/UIStoryboard.h"
#include "uikit/UITableViewCell.h"

void DeletableParticipantRecipientsViewController::addScene(uikit::UIStoryboard& storyboard) {
    storyboard.addScene(kStoryboardIdentifier, [](uikit::UIStoryboard&) {
        return std::make_shared<DeletableParticipantRecipientsViewController>();
    });
}

DeletableParticipantRecipientsViewController::~DeletableParticipantRecipientsViewController() {
    if (!isViewLoaded()) return;
    if (auto table = tableView()) {
        table->setDelegate(nullptr);
        table->setDataSource(nullptr);
    }
}

void DeletableParticipantRecipientsViewController::viewDidLoad() {
    uikit::UITableViewController::viewDidLoad();
    std::weak_ptr<DeletableParticipantRecipientsViewController> weak =
        std::static_pointer_cast<DeletableParticipantRecipientsViewController>(shared_from_this());
    navigationItem()->setRightBarButtonItem(uikit::UIBarButtonItem::withTitle(
        std::string(kDoneTitle), uikit::UIBarButtonItemStyle::Done, [weak](uikit::UIBarButtonItem&) {
            if (auto remover = weak.lock()) remover->doneButtonPressed();
        }));
    navigationItem()->setLeftBarButtonItem(uikit::UIBarButtonItem::withTitle(
        std::string(kCancelTitle), uikit::UIBarButtonItemStyle::Done, [weak](uikit::UIBarButtonItem&) {
            if (auto remover = weak.lock()) remover->cancelButtonPressed();
        }));
    dataSourceArray_.clear();
    for (const auto& entry : alreadyAddedOrvaneUsers_) dataSourceArray_.push_back(entry.first);
    setTitle(std::string(kTitle));
    tableView()->setEditing(true, false);
    // Its rows start below the bar, in a popover as on a stack.
    Utils::changeEdgesForController(*this, 0);
}

void DeletableParticipantRecipientsViewController::doneButtonPressed() {
    Recipients kept;
    for (const auto& id : dataSourceArray_)
        if (auto found = alreadyAddedOrvaneUsers_.find(id); found != alreadyAddedOrvaneUsers_.end()) kept.insert(*found);
    if (auto delegate = popoverDelegate()) delegate->controllerKeptRecipientsRemainedAfterDeletion(*this, kept, true);
}

void DeletableParticipantRecipientsViewController::cancelButtonPressed() {
    if (auto delegate = popoverDelegate())
        delegate->controllerKeptRecipientsRemainedAfterDeletion(*this, alreadyAddedOrvaneUsers_, true);
}

int64_t DeletableParticipantRecipientsViewController::tableViewNumberOfRowsInSection(uikit::UITableView&, int64_t) {
    return static_cast<int64_t>(dataSourceArray_.size());
}

uikit::UITableViewCellPtr DeletableParticipantRecipientsViewController::tableViewCellForRowAtIndexPath(
    uikit::UITableView& table, const uikit::NSIndexPath& indexPath) {
    auto cell = table.dequeueReusableCellWithIdentifier(kCellIdentifier);
    if (!cell) cell = std::make_shared<uikit::UITableViewCell>(uikit::UITableViewCellStyle::Default, std::string(kCellIdentifier));
    std::optional<std::string> name;
    if (indexPath.row >= 0 && static_cast<size_t>(indexPath.row) < dataSourceArray_.size()) {
        auto found = alreadyAddedOrvaneUsers_.find(dataSourceArray_[static_cast<size_t>(indexPath.row)]);
        if (found != alreadyAddedOrvaneUsers_.end()) name = found->second;
    }
    if (const auto& label = cell->textLabel()) label->setText(name);
    return cell;
}

void DeletableParticipantRecipientsViewController::tableViewCommitEditingStyle(
    uikit::UITableView& table, uikit::UITableViewCellEditingStyle editingStyle, const uikit::NSIndexPath& indexPath) {
    if (editingStyle != uikit::UITableViewCellEditingStyle::Delete) return;
    if (indexPath.row < 0 || static_cast<size_t>(indexPath.row) >= dataSourceArray_.size()) return;
    dataSourceArray_.erase(dataSourceArray_.begin() + indexPath.row);
    table.deleteRowsAtIndexPaths({indexPath}, uikit::UITableViewRowAnimation::Fade);
}
