// The one screen on which a user writes a message: the recipients (the To
// map, participant id → full name, the single source of truth; the To field
// only shows it), a subject and a body. Send hands the message to the outbox,
// which stores it and delivers it once online, so composing works offline.
// The picker adds recipients, the remover (a tap on the To field) takes some
// away. A reply keeps its recipients and subject fixed. Modal in a navigation
// controller on the pad, pushed on the phone. Main thread only.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "app/BaseViewController.h"
#include "people/DeletableParticipantRecipientsViewController.h"
#include "people/MessagesRecipientsViewController.h"
#include "uikit/UIAlertView.h"
#include "uikit/UITextView.h"

namespace uikit {
class NSLayoutConstraint;
class UIBarButtonItem;
class UIButton;
class UIPopoverController;
class UIStoryboard;
class UITextField;
}  // namespace uikit

class MessageComposerViewController : public BaseViewController,
                                      public MessageRecipientsPopoverDelegate,
                                      public DeletableRecipientsDelegate,
                                      public uikit::UIAlertViewDelegate,
                                      public uikit::UITextViewDelegate {
public:
    // Ordered by participant id, so the names and the ids always come out in one order.
    using Recipients = std::map<std::string, std::string>;

    static constexpr const char* kStoryboardIdentifier = "MessageComposerViewController";
    // The pad's modal navigation controller around the composer.
    static constexpr const char* kNavigationStoryboardIdentifier = "MessageComposerNavigationController";
    static constexpr const char* kParticipantSegue = "displayMessageComposerFromParticipant";
    static constexpr const char* kToFieldOutlet = "toField";
    static constexpr const char* kToButtonOutlet = "toButton";
    static constexpr const char* kSubjectFieldOutlet = "subjectField";
    static constexpr const char* kBodyFieldOutlet = "bodyField";
    static constexpr const char* kToFieldHeightOutlet = "toFieldHeightConstraint";
    static constexpr const char* kCancelTitle = "Cancel";
    static constexpr const char* kSendTitle = "Send";
    static constexpr const char* kViewAnalyticsName = "View message composer";
    static constexpr const char* kSendAnalyticsName = "Send message";
    static constexpr const char* kNoRecipientsMessage = "You do not have any message recipients";
    static constexpr const char* kMessageLostMessage = "Your message will be lost, do you want to continue ?";
    static constexpr const char* kYesTitle = "Yes";
    static constexpr const char* kNoTitle = "No";
    static constexpr double kToFieldMeasureHeight = 10000;
    static constexpr double kToFieldExtraHeight = 24;
    static Text storyboardIdentifier() { return std::string(kStoryboardIdentifier); }

    // The composer's scene, its pad navigation scene, the picker and the remover.
    static void addScenes(uikit::UIStoryboard& storyboard, bool pad);

    ~MessageComposerViewController() override;

    // --- Set by whoever opens the composer, before it loads ---
    const Recipients& alreadyAddedToFieldOrvaneUsers() const;
    void setAlreadyAddedToFieldOrvaneUsers(Recipients recipients);
    const Text& replySubject() const { return replySubject_; }
    void setReplySubject(Text subject) { replySubject_ = std::move(subject); }
    const Text& replyBody() const { return replyBody_; }
    void setReplyBody(Text body) { replyBody_ = std::move(body); }
    int32_t threadId() const { return threadId_; }
    void setThreadId(int32_t threadId) { threadId_ = threadId; }

    // --- Outlets and parts ---
    void setOutlets(const std::shared_ptr<uikit::UITextView>& toField, const std::shared_ptr<uikit::UIButton>& toButton,
                    const std::shared_ptr<uikit::UITextField>& subjectField,
                    const std::shared_ptr<uikit::UITextView>& bodyField,
                    const std::shared_ptr<uikit::NSLayoutConstraint>& toFieldHeightConstraint);
    std::shared_ptr<uikit::UITextView> toField() const { return toField_.lock(); }
    const std::shared_ptr<uikit::UIButton>& toButton() const { return toButton_; }
    std::shared_ptr<uikit::UITextField> subjectField() const { return subjectField_.lock(); }
    std::shared_ptr<uikit::UITextView> bodyField() const { return bodyField_.lock(); }
    std::shared_ptr<uikit::NSLayoutConstraint> toFieldHeightConstraint() const { return toFieldHeightConstraint_.lock(); }
    const std::shared_ptr<uikit::UIBarButtonItem>& cancelButton() const { return cancelButton_; }
    const std::shared_ptr<uikit::UIBarButtonItem>& sendButton() const { return sendButton_; }
    const std::shared_ptr<MessagesRecipientsViewController>& participantsView() const { return participantsView_; }
    const std::shared_ptr<uikit::UIPopoverController>& participantsPopover() const { return participantsPopover_; }
    const std::shared_ptr<uikit::UIPopoverController>& deletableOrvaneUsersPopover() const {
        return deletableOrvaneUsersPopover_;
    }
    bool isSendingMessage() const { return isSendingMessage_; }

    void viewDidLoad() override;
    void viewDidLayoutSubviews() override;

    // --- Actions ---
    void addToParticipantsClick(const std::shared_ptr<uikit::UIView>& sender);
    void showDeleteAlreadyAddedOrvaneUsersPopover();
    void sendMessage();
    void dismissViewController();
    void hideMessageComposer();
    void updateToFieldText();
    // Reconciles the To map with a typed To text; other views are ignored.
    void syncAlreadyAddedParticipantsWithTextField(uikit::UITextView& textView);

    // --- Delegates ---
    void recipientsSelected(const Recipients& recipients, int64_t action, bool shouldDismissPopover) override;
    void controllerKeptRecipientsRemainedAfterDeletion(DeletableParticipantRecipientsViewController& controller,
                                                       const Recipients& recipients, bool shouldDismissPopover) override;
    void alertViewClickedButtonAtIndex(uikit::UIAlertView& alertView, int64_t buttonIndex) override;
    bool textViewShouldChangeTextInRange(uikit::UITextView& view, uikit::NSRange range,
                                         const std::string& replacement) override;

    std::string className() const override { return "MessageComposerViewController"; }

private:
    void makeRecipientsPicker();
    void clearReferencesToCurrentController();
    void closeTopAfterChoosing(const std::shared_ptr<uikit::UIPopoverController>& popover);
    void placeFieldsUnderToField();
    std::shared_ptr<MessageComposerViewController> self();

    std::shared_ptr<Recipients> alreadyAddedToFieldOrvaneUsers_;
    Text replySubject_;
    Text replyBody_;
    int32_t threadId_ = 0;
    std::shared_ptr<MessagesRecipientsViewController> participantsView_;
    std::shared_ptr<uikit::UIViewController> participantsNavigation_;
    std::shared_ptr<uikit::UIPopoverController> participantsPopover_;
    std::shared_ptr<uikit::UIPopoverController> deletableOrvaneUsersPopover_;
    std::shared_ptr<uikit::UIButton> toButton_;
    std::shared_ptr<uikit::UIBarButtonItem> cancelButton_;
    std::shared_ptr<uikit::UIBarButtonItem> sendButton_;
    std::weak_ptr<uikit::UITextField> subjectField_;
    std::weak_ptr<uikit::UITextView> bodyField_;
    std::weak_ptr<uikit::UITextView> toField_;
    std::weak_ptr<uikit::NSLayoutConstraint> toFieldHeightConstraint_;
    bool isSendingMessage_ = false;
};
