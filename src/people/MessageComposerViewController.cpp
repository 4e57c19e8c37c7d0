#include "people/MessageComposerViewController.h"

#include <vector>

#include "Utils/Utils.h"
#include "analytics/AnalyticsUtils.h"
#include "api/MessagesManager.h"
#include "app/CustomNavigationController.h"
#include "foundation/Date.h"
#include "foundation/Log.h"
#include "foundation/StringUtils.h"
#include "model/CommaJoinedList.h"
#include "model/QVAOutboxMessage.h"
#include "people/MessagesRecipientsListDelegate.h"
#include "uikit/NSLayoutConstraint.h"
#include "uikit/UIBarButtonItem.h"
#include "uikit/UIButton.h"
#include "uikit/UIColor.h"
#include "uikit/UIFont.h"
#include "uikit/UILabel.h"
#include "uikit/UINavigationController.h"
#include "uikit/UINavigationItem.h"
#include "uikit/UIPopoverController.h"
#include "uikit/UIStoryboard.h"
#include "uikit/UITapGestureRecognizer.h"
#include "uikit/UITextField.h"

namespace {

constexpr double kComposerWidth = 320;
constexpr double kComposerHeight = 480;
constexpr double kComposerMargin = 8;
constexpr double kComposerLabelWidth = 60;
constexpr double kComposerButtonSize = 30;
constexpr double kComposerToHeight = 40;
constexpr double kComposerSubjectHeight = 31;
constexpr double kComposerGap = 6;
constexpr double kComposerFontSize = 15;

std::shared_ptr<uikit::UILabel> composerCaption(const std::string& text, double y) {
    auto label = std::make_shared<uikit::UILabel>(graphics::Rect{kComposerMargin, y, kComposerLabelWidth, 30});
    label->setText(text);
    label->setFont(uikit::UIFont::systemFontOfSize(kComposerFontSize));
    label->setTextColor(uikit::UIColor::darkGrayColor());
    return label;
}

std::shared_ptr<uikit::UIView> composerSceneView(uikit::UIViewController& owner, uikit::SceneOutlets& outlets) {
    auto& composer = static_cast<MessageComposerViewController&>(owner);
    auto view = std::make_shared<uikit::UIView>(graphics::Rect{0, 0, kComposerWidth, kComposerHeight});
    view->setBackgroundColor(uikit::UIColor::whiteColor());
    const double fieldX = kComposerMargin + kComposerLabelWidth;
    const double fieldWidth = kComposerWidth - fieldX - kComposerButtonSize - 2 * kComposerMargin;

    auto to = outlets.connect(MessageComposerViewController::kToFieldOutlet,
                              std::make_shared<uikit::UITextView>(
                                  graphics::Rect{fieldX, kComposerMargin, fieldWidth, kComposerToHeight}));
    to->setFont(uikit::UIFont::systemFontOfSize(kComposerFontSize));
    to->setScrollEnabled(false);
    // A faint ground, so the field's height shows as it grows with the names.
    to->setBackgroundColor(uikit::UIColor::colorWithWhite(0.95, 1));
    to->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleWidth);
    auto height = outlets.connect(MessageComposerViewController::kToFieldHeightOutlet,
                                  uikit::NSLayoutConstraint::constraintWithItem(
                                      to, uikit::NSLayoutAttribute::Height, uikit::NSLayoutRelation::Equal, nullptr,
                                      uikit::NSLayoutAttribute::NotAnAttribute, 1, kComposerToHeight));
    to->addConstraints({height});

    auto add = outlets.connect(MessageComposerViewController::kToButtonOutlet,
                               uikit::UIButton::buttonWithType(uikit::UIButtonType::System));
    add->setTitle(std::string("+"), uikit::UIControlStateNormal);
    add->setTitleColor(uikit::UIColor::darkGrayColor(), uikit::UIControlStateNormal);
    if (const auto& label = add->titleLabel()) label->setFont(uikit::UIFont::boldSystemFontOfSize(24));
    add->setFrame({kComposerWidth - kComposerMargin - kComposerButtonSize, kComposerMargin + 5, kComposerButtonSize,
                   kComposerButtonSize});
    add->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleLeftMargin);

    auto subject = outlets.connect(MessageComposerViewController::kSubjectFieldOutlet,
                                   std::make_shared<uikit::UITextField>(graphics::Rect{
                                       fieldX, 0, kComposerWidth - fieldX - kComposerMargin, kComposerSubjectHeight}));
    subject->setFont(uikit::UIFont::systemFontOfSize(kComposerFontSize));
    subject->setBorderStyle(uikit::UITextBorderStyle::RoundedRect);
    subject->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleWidth);

    auto body = outlets.connect(MessageComposerViewController::kBodyFieldOutlet,
                                std::make_shared<uikit::UITextView>(graphics::Rect{
                                    kComposerMargin, 0, kComposerWidth - 2 * kComposerMargin, 200}));
    body->setFont(uikit::UIFont::systemFontOfSize(kComposerFontSize));
    body->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleWidth | uikit::UIViewAutoresizingFlexibleHeight);

    auto toCaption = composerCaption("To:", kComposerMargin + 5);
    auto subjectCaption = composerCaption("Subject:", 0);
    subjectCaption->setTag(1);
    for (const auto& part : std::vector<std::shared_ptr<uikit::UIView>>{toCaption, to, add, subjectCaption, subject, body})
        view->addSubview(part);
    composer.setOutlets(to, add, subject, body, height);
    return view;
}

}  // namespace

void MessageComposerViewController::addScenes(uikit::UIStoryboard& storyboard, bool pad) {
    storyboard.addScene(
        kStoryboardIdentifier, [](uikit::UIStoryboard&) { return std::make_shared<MessageComposerViewController>(); },
        composerSceneView);
    MessagesRecipientsViewController::addScene(storyboard);
    DeletableParticipantRecipientsViewController::addScene(storyboard);
    if (!pad) return;
    storyboard.addScene(kNavigationStoryboardIdentifier, [](uikit::UIStoryboard& board) -> uikit::UIViewControllerPtr {
        auto navigation = std::make_shared<CustomNavigationController>(CustomNavigationController::FromInterfaceFile{});
        navigation->setViewControllers({board.instantiateViewControllerWithIdentifier(kStoryboardIdentifier)}, false);
        return navigation;
    });
}

MessageComposerViewController::~MessageComposerViewController() {
    if (isViewLoaded()) {
        auto root = view();
        for (const auto& recognizer : std::vector(root->gestureRecognizers())) root->removeGestureRecognizer(recognizer);
        if (auto to = toField())
            for (const auto& recognizer : std::vector(to->gestureRecognizers())) to->removeGestureRecognizer(recognizer);
    }
    if (participantsView_) participantsView_->setPopoverDelegate(nullptr);
    if (participantsPopover_ && participantsPopover_->isPopoverVisible()) participantsPopover_->dismissPopoverAnimated(false);
    if (deletableOrvaneUsersPopover_ && deletableOrvaneUsersPopover_->isPopoverVisible())
        deletableOrvaneUsersPopover_->dismissPopoverAnimated(false);
}

std::shared_ptr<MessageComposerViewController> MessageComposerViewController::self() {
    return std::static_pointer_cast<MessageComposerViewController>(shared_from_this());
}

const MessageComposerViewController::Recipients& MessageComposerViewController::alreadyAddedToFieldOrvaneUsers() const {
    static const Recipients none;
    return alreadyAddedToFieldOrvaneUsers_ ? *alreadyAddedToFieldOrvaneUsers_ : none;
}

void MessageComposerViewController::setAlreadyAddedToFieldOrvaneUsers(Recipients recipients) {
    alreadyAddedToFieldOrvaneUsers_ = std::make_shared<Recipients>(std::move(recipients));
}

void MessageComposerViewController::setOutlets(const std::shared_ptr<uikit::UITextView>& toField,
                                               const std::shared_ptr<uikit::UIButton>& toButton,
                                               const std::shared_ptr<uikit::UITextField>& subjectField,
                                               const std::shared_ptr<uikit::UITextView>& bodyField,
                                               const std::shared_ptr<uikit::NSLayoutConstraint>& toFieldHeightConstraint) {
    toField_ = toField;
    toButton_ = toButton;
    subjectField_ = subjectField;
    bodyField_ = bodyField;
    toFieldHeightConstraint_ = toFieldHeightConstraint;
}

// --- Loading ---

void MessageComposerViewController::viewDidLoad() {
    BaseViewController::viewDidLoad();
    AnalyticsUtils::trackEventWithName(kViewAnalyticsName);
    const std::weak_ptr<MessageComposerViewController> weak = self();
    cancelButton_ = uikit::UIBarButtonItem::withTitle(std::string(kCancelTitle), uikit::UIBarButtonItemStyle::Plain,
                                                      [weak](uikit::UIBarButtonItem&) {
                                                          if (auto composer = weak.lock()) composer->dismissViewController();
                                                      });
    sendButton_ = uikit::UIBarButtonItem::withTitle(std::string(kSendTitle), uikit::UIBarButtonItemStyle::Done,
                                                    [weak](uikit::UIBarButtonItem&) {
                                                        if (auto composer = weak.lock()) composer->sendMessage();
                                                    });
    navigationItem()->setLeftBarButtonItem(cancelButton_);
    navigationItem()->setRightBarButtonItem(sendButton_);

    auto subject = subjectField();
    auto body = bodyField();
    auto to = toField();
    if (subject) subject->setText(std::string());
    if (to) {
        to->setText(std::string());
        to->setEditable(false);
        to->addGestureRecognizer(std::make_shared<uikit::UITapGestureRecognizer>([weak](uikit::UIGestureRecognizer&) {
            if (auto composer = weak.lock()) composer->showDeleteAlreadyAddedOrvaneUsersPopover();
        }));
    }
    if (body) body->setDelegate(self());
    if (toButton_)
        toButton_->addTarget(
            [weak](uikit::UIControl& sender) {
                if (auto composer = weak.lock())
                    composer->addToParticipantsClick(std::static_pointer_cast<uikit::UIView>(sender.shared_from_this()));
            },
            uikit::UIControlEventTouchUpInside);

    if (alreadyAddedToFieldOrvaneUsers_) {
        updateToFieldText();
        if (replySubject_) {
            if (subject) {
                subject->setText(replySubject_);
                subject->setUserInteractionEnabled(false);
            }
            if (body) {
                body->becomeFirstResponder();
                body->setSelectedRange({0, 0});
            }
            if (to) to->setUserInteractionEnabled(false);
            if (toButton_) {
                toButton_->setUserInteractionEnabled(false);
                toButton_->setHidden(true);
            }
        } else if (subject) {
            subject->becomeFirstResponder();
        }
        if (replyBody_ && body) {
            body->setText(*replyBody_);
            body->setSelectedRange({0, 0});
        }
    } else {
        alreadyAddedToFieldOrvaneUsers_ = std::make_shared<Recipients>();
        if (subject) subject->becomeFirstResponder();
    }
    isSendingMessage_ = false;
    if (!participantsView_) makeRecipientsPicker();
    Utils::changeEdgesForController(*this, 0);
}

void MessageComposerViewController::makeRecipientsPicker() {
    auto storyboard = uikit::UIStoryboard::storyboardWithName(Utils::storyboardName());
    participantsView_ = std::dynamic_pointer_cast<MessagesRecipientsViewController>(
        storyboard ? storyboard->instantiateViewControllerWithIdentifier(MessagesRecipientsViewController::kStoryboardIdentifier)
                   : nullptr);
    if (!participantsView_) return;
    participantsView_->setListDelegate(std::make_shared<MessagesRecipientsListDelegate>());
    participantsView_->setPopoverDelegate(self());
    participantsView_->setSelectedRecipients(alreadyAddedToFieldOrvaneUsers_);
    // On the phone the picker is pushed onto the composer's own stack, so only
    // the pad's popover gets a navigation controller of its own.
    if (!Utils::isIPad()) return;
    auto navigation = std::make_shared<CustomNavigationController>(CustomNavigationController::FromInterfaceFile{});
    navigation->setViewControllers({participantsView_}, false);
    participantsNavigation_ = navigation;
    participantsPopover_ = std::make_shared<uikit::UIPopoverController>(navigation);
}

void MessageComposerViewController::viewDidLayoutSubviews() {
    BaseViewController::viewDidLayoutSubviews();
    placeFieldsUnderToField();
}

// The To field's height follows its constraint; the subject and the body sit below it.
void MessageComposerViewController::placeFieldsUnderToField() {
    auto to = toField();
    if (!to || !isViewLoaded()) return;
    graphics::Rect frame = to->frame();
    if (auto constraint = toFieldHeightConstraint()) frame.size.height = constraint->constant();
    to->setFrame(frame);
    double y = frame.origin.y + frame.size.height + kComposerGap;
    for (const auto& part : view()->subviews())
        if (part->tag() == 1) part->setFrame({part->frame().origin.x, y, part->frame().size.width, part->frame().size.height});
    if (auto subject = subjectField()) {
        subject->setFrame({subject->frame().origin.x, y, subject->frame().size.width, subject->frame().size.height});
        y += subject->frame().size.height + kComposerGap;
    }
    if (auto body = bodyField())
        body->setFrame({body->frame().origin.x, y, body->frame().size.width,
                        std::max(0.0, view()->bounds().size.height - y - kComposerMargin)});
}

// --- The To field ---

void MessageComposerViewController::updateToFieldText() {
    std::string text;
    for (const auto& [id, name] : alreadyAddedToFieldOrvaneUsers()) text = text + " " + name + ";";
    text = foundation::StringUtils::trim(text);
    auto to = toField();
    if (auto constraint = toFieldHeightConstraint(); constraint && to) {
        const graphics::Size size =
            Utils::getTextSize(text, to->font(), {to->frame().size.width, kToFieldMeasureHeight});
        constraint->setConstant(size.height + kToFieldExtraHeight);
    }
    if (to) to->setText(text);
    placeFieldsUnderToField();
}

void MessageComposerViewController::syncAlreadyAddedParticipantsWithTextField(uikit::UITextView& textView) {
    auto to = toField();
    if (!to || &textView != to.get()) return;
    const std::string& text = textView.text();
    auto kept = std::make_shared<Recipients>();
    for (const auto& [id, name] : alreadyAddedToFieldOrvaneUsers())
        if (text.find(name) != std::string::npos) kept->emplace(id, name);
    for (const auto& piece : foundation::StringUtils::split(foundation::StringUtils::replace(text, " ", ""), ";"))
        if (Utils::isEmailAddressValid(piece)) (*kept)[piece] = piece;
    alreadyAddedToFieldOrvaneUsers_ = kept;
}

// --- Adding and removing recipients ---

void MessageComposerViewController::addToParticipantsClick(const std::shared_ptr<uikit::UIView>& sender) {
    if (!participantsView_) return;
    participantsView_->setSelectedRecipients(alreadyAddedToFieldOrvaneUsers_);
    if (Utils::isIPad()) {
        if (participantsPopover_ && sender)
            participantsPopover_->presentPopoverFromRect(sender->frame(), view(), uikit::UIPopoverArrowDirectionRight, true);
        return;
    }
    if (auto navigation = navigationController()) navigation->pushViewController(participantsView_, true);
}

void MessageComposerViewController::showDeleteAlreadyAddedOrvaneUsersPopover() {
    if (alreadyAddedToFieldOrvaneUsers().empty()) {
        addToParticipantsClick(toButton_);
        return;
    }
    auto storyboard = uikit::UIStoryboard::storyboardWithName(Utils::storyboardName());
    auto remover = std::dynamic_pointer_cast<DeletableParticipantRecipientsViewController>(
        storyboard ? storyboard->instantiateViewControllerWithIdentifier(
                         DeletableParticipantRecipientsViewController::kStoryboardIdentifier)
                   : nullptr);
    if (!remover) return;
    remover->setPopoverDelegate(self());
    remover->setAlreadyAddedOrvaneUsers(alreadyAddedToFieldOrvaneUsers());
    if (Utils::isIPad()) {
        auto navigation = std::make_shared<CustomNavigationController>(CustomNavigationController::FromInterfaceFile{});
        navigation->setViewControllers({remover}, false);
        deletableOrvaneUsersPopover_ = std::make_shared<uikit::UIPopoverController>(navigation);
        if (auto to = toField())
            deletableOrvaneUsersPopover_->presentPopoverFromRect(to->frame(), view(), uikit::UIPopoverArrowDirectionUp, true);
        return;
    }
    if (auto navigation = navigationController()) navigation->pushViewController(remover, true);
}

void MessageComposerViewController::closeTopAfterChoosing(const std::shared_ptr<uikit::UIPopoverController>& popover) {
    if (Utils::isIPad()) {
        if (popover) popover->dismissPopoverAnimated(true);
        return;
    }
    if (auto navigation = navigationController()) navigation->popViewControllerAnimated(true);
}

void MessageComposerViewController::recipientsSelected(const Recipients& recipients, int64_t, bool shouldDismissPopover) {
    alreadyAddedToFieldOrvaneUsers_ = std::make_shared<Recipients>(recipients);
    updateToFieldText();
    if (shouldDismissPopover) closeTopAfterChoosing(participantsPopover_);
}

void MessageComposerViewController::controllerKeptRecipientsRemainedAfterDeletion(
    DeletableParticipantRecipientsViewController&, const Recipients& recipients, bool shouldDismissPopover) {
    alreadyAddedToFieldOrvaneUsers_ = std::make_shared<Recipients>(recipients);
    updateToFieldText();
    if (shouldDismissPopover) closeTopAfterChoosing(deletableOrvaneUsersPopover_);
}

// --- Sending and cancelling ---

void MessageComposerViewController::sendMessage() {
    if (isSendingMessage_) return;
    if (isViewLoaded()) view()->endEditing(true);
    std::vector<std::string> ids;
    for (const auto& entry : alreadyAddedToFieldOrvaneUsers()) ids.push_back(entry.first);
    size_t leftOut = 0;
    const std::string toAddresses = CommaJoinedList::join(ids, nullptr, &leftOut);
    if (leftOut) foundation::Log("A recipient whose id cannot be listed in a message was left out");
    if (toAddresses.empty()) {
        Utils::displayAlertViewWithMessage(std::string(kNoRecipientsMessage), std::nullopt);
        return;
    }
    isSendingMessage_ = true;
    const auto composeDate =
        static_cast<int32_t>(static_cast<int64_t>(foundation::Date::now().timeIntervalSince1970()));
    auto to = toField();
    std::string toNames = foundation::StringUtils::replace(to ? to->text() : std::string(), ";", ",");
    // Trimmed of white space, line breaks and "," together, whichever comes first.
    for (std::string previous; previous != toNames;) {
        previous = toNames;
        toNames = foundation::StringUtils::trim(toNames);
        if (!toNames.empty() && toNames.front() == ',') toNames.erase(0, 1);
        if (!toNames.empty() && toNames.back() == ',') toNames.pop_back();
    }
    auto subject = subjectField();
    auto body = bodyField();
    auto message = QVAOutboxMessage::initWithBody(body ? Text(body->text()) : std::nullopt,
                                                  subject ? subject->text() : std::nullopt, composeDate, toNames,
                                                  toAddresses, threadId_);
    AnalyticsUtils::trackEventWithName(kSendAnalyticsName);
    MessagesManager::sharedMessagesManager().sendMessageFor(message);
    hideMessageComposer();
}

void MessageComposerViewController::dismissViewController() {
    auto subject = subjectField();
    auto body = bodyField();
    auto to = toField();
    const bool untouched = (!body || body->text().empty()) && (!subject || subject->text().value_or("").empty()) &&
                           (!to || to->text().empty());
    if (untouched) {
        hideMessageComposer();
        return;
    }
    std::make_shared<uikit::UIAlertView>(std::nullopt, std::string(kMessageLostMessage), self(), std::string(kYesTitle),
                                         std::vector<std::string>{kNoTitle})
        ->show();
}

void MessageComposerViewController::alertViewClickedButtonAtIndex(uikit::UIAlertView&, int64_t buttonIndex) {
    if (buttonIndex == 0) hideMessageComposer();
}

void MessageComposerViewController::clearReferencesToCurrentController() {
    if (participantsView_) participantsView_->setPopoverDelegate(nullptr);
}

void MessageComposerViewController::hideMessageComposer() {
    clearReferencesToCurrentController();
    if (Utils::isIPad()) {
        dismissViewControllerAnimated(true);
        return;
    }
    if (auto navigation = navigationController()) navigation->popViewControllerAnimated(true);
}

bool MessageComposerViewController::textViewShouldChangeTextInRange(uikit::UITextView&, uikit::NSRange,
                                                                    const std::string&) {
    return true;
}
