// The inbox of the messages tab: one row per message thread of the store,
// the thread with the latest message first, rebuilt whenever a save touches
// the stored messages. A tap opens the thread; a swipe deletes the whole
// thread on the service (only online); a pull reloads every message from
// the service and recounts the tab's badge. Its bar's Compose button opens
// the composer, and is gone without the permission to send. Main thread only.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "lists/LiteListBaseViewController.h"
#include "people/MessageThreadDataModel.h"

namespace uikit {
class UIBarButtonItem;
class UIStoryboard;
}  // namespace uikit

class MessageListOnThreadsViewController : public LiteListBaseViewController {
public:
    static constexpr const char* kStoryboardIdentifier = "MessageListOnThreadsViewControllerIdentifier";
    static constexpr const char* kCellIdentifier = "globalSearchMessageCellIdentifier";
    static constexpr const char* kComposeSegue = "displayMessageComposer";
    static constexpr const char* kTableOutlet = "tableView";
    static constexpr const char* kComposeButtonOutlet = "composeButton";
    static constexpr const char* kSectionTitle = "Messages";
    static constexpr const char* kSegmentImage = "messages.png";
    static constexpr const char* kAnalyticsEventName = "View inbox";
    static constexpr const char* kOfflineDeleteTitle = "Unable to delete messages without a working Internet connection.";
    static constexpr const char* kDeleteFailedTitle = "Unable to delete messages!";
    static constexpr const char* kNoSuchThreadTitle = "Unable to delete messages.";
    static constexpr double kRowHeight = 50;
    static Text storyboardIdentifier() { return std::string(kStoryboardIdentifier); }

    const std::vector<MessageThreadDataModelPtr>& allThreadsSortedBySentDateArray() const { return threads_; }
    std::shared_ptr<uikit::UIBarButtonItem> composeButton() const { return composeButton_; }
    void setComposeButton(std::shared_ptr<uikit::UIBarButtonItem> button) { composeButton_ = std::move(button); }

    void viewDidLoad() override;
    void trackAnalyticsEvent() override;
    std::shared_ptr<uikit::UIImage> segmentedControlImage() override;
    std::vector<std::string> entitiesArrayToObserveForFilteringUIUpdates() override;
    void reloadDataSourceAndTable() override;
    void onPullToRefreshExecuted() override;
    std::string cellIdentifier() override { return kCellIdentifier; }

    int64_t tableViewNumberOfRowsInSection(uikit::UITableView& tableView, int64_t section) override;
    uikit::UITableViewCellPtr tableViewCellForRowAtIndexPath(uikit::UITableView& tableView,
                                                             const uikit::NSIndexPath& indexPath) override;
    std::optional<double> tableViewHeightForRowAtIndexPath(uikit::UITableView& tableView,
                                                           const uikit::NSIndexPath& indexPath) override;
    std::optional<std::string> tableViewGetTitleForHeaderInSection(uikit::UITableView& tableView,
                                                                   int64_t section) override;
    void tableViewDidSelectRowAtIndexPath(uikit::UITableView& tableView, const uikit::NSIndexPath& indexPath) override;
    bool implementsCommitEditingStyle() const override { return true; }
    void tableViewCommitEditingStyle(uikit::UITableView& tableView, uikit::UITableViewCellEditingStyle editingStyle,
                                     const uikit::NSIndexPath& indexPath) override;

    std::string className() const override { return "MessageListOnThreadsViewController"; }

private:
    // The threads of the store, latest first.
    std::vector<MessageThreadDataModelPtr> fetchThreads();
    std::shared_ptr<MessageListOnThreadsViewController> self();

    std::vector<MessageThreadDataModelPtr> threads_;
    std::shared_ptr<uikit::UIBarButtonItem> composeButton_;
};

using MessageListOnThreadsViewControllerPtr = std::shared_ptr<MessageListOnThreadsViewController>;
