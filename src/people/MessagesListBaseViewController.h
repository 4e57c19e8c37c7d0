// The thread screen: the messages of one thread, oldest first, under the
// thread's subject and the people in it. Opening it marks the thread read
// (then the tab's badge is recounted); each time it shows it scrolls to the
// newest message. Its bar's Reply button opens the composer for an answer
// (only online, and gone without the permission to send). Main thread only.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "lists/ListBaseViewController.h"
#include "people/MessageThreadDataModel.h"

namespace uikit {
class UIBarButtonItem;
class UILabel;
}  // namespace uikit

class MessageCell;

class MessagesListBaseViewController : public ListBaseViewController {
public:
    static constexpr const char* kStoryboardIdentifier = "ListMessagesBaseIdentifier";
    static constexpr const char* kReplySegue = "displayMessageComposerFromReply";
    static constexpr const char* kTitle = "Discussion details";
    static constexpr const char* kParticipantsFormat = "Discussions with %@";
    static constexpr const char* kTableOutlet = "tableView";
    static constexpr const char* kReplyButtonOutlet = "replyButton";
    static constexpr const char* kSubjectOutlet = "subjectLabel";
    static constexpr const char* kParticipantsOutlet = "discussionParticipantsLabel";
    // Less than this between the content and the frame is not worth a scroll.
    static constexpr double kScrollToBottomSlack = 2;
    static Text storyboardIdentifier() { return std::string(kStoryboardIdentifier); }

    // Makes the thread screen for the thread: type 0 pushes it on the
    // source's navigation controller, 1 puts it in a new details pane of the
    // split view; any other only makes it.
    static std::shared_ptr<MessagesListBaseViewController> navigateFromController(
        uikit::UIViewController& source, const MessageThreadDataModelPtr& thread, int navigationType);

    // The To map of an answer: the newest message's receivers without the
    // user, else (a message the user alone received) its senders without
    // the user; participant id → name.
    static std::map<std::string, std::string> replyRecipientsForThread(const MessageThreadDataModel& thread);

    const MessageThreadDataModelPtr& currentThreadModel() const { return currentThreadModel_; }
    void setCurrentThreadModel(MessageThreadDataModelPtr thread) { currentThreadModel_ = std::move(thread); }
    std::shared_ptr<uikit::UIBarButtonItem> replyButton() const { return replyButton_; }
    void setReplyButton(std::shared_ptr<uikit::UIBarButtonItem> button) { replyButton_ = std::move(button); }
    std::shared_ptr<uikit::UILabel> subjectLabel() const { return subjectLabel_.lock(); }
    void setSubjectLabel(const std::shared_ptr<uikit::UILabel>& label) { subjectLabel_ = label; }
    std::shared_ptr<uikit::UILabel> discussionParticipantsLabel() const { return discussionParticipantsLabel_.lock(); }
    void setDiscussionParticipantsLabel(const std::shared_ptr<uikit::UILabel>& label) {
        discussionParticipantsLabel_ = label;
    }

    std::shared_ptr<const coredata::Predicate> fetchPredicate() override;
    void viewDidLoad() override;
    void viewDidAppear(bool animated) override;
    void onNetworkStatusChanged(bool online) override;
    void prepareForSegue(uikit::UIStoryboardSegue& segue, const foundation::ObjectPtr& sender) override;

    std::optional<double> tableViewHeightForRowAtIndexPath(uikit::UITableView& tableView,
                                                           const uikit::NSIndexPath& indexPath) override;

    std::string className() const override { return "MessagesListBaseViewController"; }

private:
    void markThreadRead();
    // The row height prototype, made once for the process from the first
    // thread screen's table.
    std::shared_ptr<MessageCell> heightPrototypeCell();

    MessageThreadDataModelPtr currentThreadModel_;
    std::shared_ptr<uikit::UIBarButtonItem> replyButton_;
    std::weak_ptr<uikit::UILabel> subjectLabel_;
    std::weak_ptr<uikit::UILabel> discussionParticipantsLabel_;
};

using MessagesListBaseViewControllerPtr = std::shared_ptr<MessagesListBaseViewController>;
