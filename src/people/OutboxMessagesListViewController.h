// The outbox of the messages tab: the messages waiting to be sent, oldest
// first, under "Outbox". A tap opens the message read-only; a swipe deletes
// it from the outbox, also offline, so it is never sent. The list follows
// the store's saves (a sent message leaves it). Main thread only.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "lists/ListBaseViewController.h"

class OutboxMessagesListViewController : public ListBaseViewController {
public:
    static constexpr const char* kStoryboardIdentifier = "OutboxMessagesListViewControllerIdentifier";
    static constexpr const char* kTableOutlet = "tableView";
    static constexpr const char* kSectionTitle = "Outbox";
    static constexpr const char* kSegmentImage = "outbox.png";
    static constexpr const char* kNoSuchMessageTitle = "Unable to delete messages.";
    static constexpr double kRowHeight = 50;
    static Text storyboardIdentifier() { return std::string(kStoryboardIdentifier); }

    std::shared_ptr<const coredata::Predicate> fetchPredicate() override;
    Filters getFilterCollection() override;
    std::shared_ptr<uikit::UIImage> segmentedControlImage() override;
    void viewDidLoad() override;

    // One section even while the outbox is empty.
    int64_t numberOfSectionsInTableView(uikit::UITableView& tableView) override;
    std::optional<std::string> tableViewGetTitleForHeaderInSection(uikit::UITableView& tableView,
                                                                   int64_t section) override;
    std::optional<double> tableViewHeightForRowAtIndexPath(uikit::UITableView& tableView,
                                                           const uikit::NSIndexPath& indexPath) override;
    void tableViewDidSelectRowAtIndexPath(uikit::UITableView& tableView, const uikit::NSIndexPath& indexPath) override;
    bool implementsCommitEditingStyle() const override { return true; }
    void tableViewCommitEditingStyle(uikit::UITableView& tableView, uikit::UITableViewCellEditingStyle editingStyle,
                                     const uikit::NSIndexPath& indexPath) override;
    // The delete a person asked for, by the row (none: the alert).
    void deleteOutboxMessageAtIndexPath(const std::optional<uikit::NSIndexPath>& indexPath);

    std::string className() const override { return "OutboxMessagesListViewController"; }
};

using OutboxMessagesListViewControllerPtr = std::shared_ptr<OutboxMessagesListViewController>;
