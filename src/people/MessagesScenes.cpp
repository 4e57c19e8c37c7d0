#include "people/MessagesScenes.h"

#include "app/AppStoryboards.h"
#include "people/MessageComposerViewController.h"
#include "people/MessageListOnThreadsViewController.h"
#include "people/MessagesListBaseViewController.h"
#include "people/OutboxMessageDetailsViewController.h"
#include "people/ParticipantDetailsViewController.h"
#include "people/OutboxMessagesListViewController.h"
#include "uikit/NSLayoutConstraint.h"
#include "uikit/UIBarButtonItem.h"
#include "uikit/UIColor.h"
#include "uikit/UIFont.h"
#include "uikit/UILabel.h"
#include "uikit/UINavigationItem.h"
#include "uikit/UIStoryboard.h"
#include "uikit/UITableView.h"
#include "uikit/UITextView.h"

namespace MessagesScenes {

namespace {

constexpr double kSceneWidth = 320;
constexpr double kSceneHeight = 480;
constexpr double kSceneMargin = 10;
constexpr unsigned kFillsScene = uikit::UIViewAutoresizingFlexibleWidth | uikit::UIViewAutoresizingFlexibleHeight;

std::shared_ptr<uikit::UILabel> messagesSceneLabel(double y, double height, uikit::UIFontPtr font,
                                                   graphics::Color color) {
    auto label = std::make_shared<uikit::UILabel>(
        graphics::Rect{kSceneMargin, y, kSceneWidth - 2 * kSceneMargin, height});
    label->setFont(std::move(font));
    label->setTextColor(color);
    label->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleWidth);
    return label;
}

// The composer, from a bar button of the scene: pushed on the phone, modal
// in its navigation controller on the pad.
uikit::UIStoryboardSegueDefinition composerSegue(const char* identifier, const char* buttonOutlet, bool pad) {
    uikit::UIStoryboardSegueDefinition segue;
    segue.identifier = identifier;
    segue.kind = pad ? uikit::UIStoryboardSegueKind::Modal : uikit::UIStoryboardSegueKind::Push;
    segue.destination = pad ? MessageComposerViewController::kNavigationStoryboardIdentifier
                            : MessageComposerViewController::kStoryboardIdentifier;
    if (pad) segue.presentationStyle = uikit::UIModalPresentationStyle::FormSheet;
    // Without a button the opening screen performs it in code.
    if (buttonOutlet) segue.trigger = {uikit::UIStoryboardSegueTrigger::Kind::BarButtonItem, buttonOutlet};
    return segue;
}

void addThreadListScene(uikit::UIStoryboard& storyboard) {
    using Screen = MessageListOnThreadsViewController;
    storyboard.addScene(
        Screen::kStoryboardIdentifier, [](uikit::UIStoryboard&) { return std::make_shared<Screen>(); },
        [](uikit::UIViewController& owner, uikit::SceneOutlets& outlets) -> std::shared_ptr<uikit::UIView> {
            auto& list = static_cast<Screen&>(owner);
            auto table = outlets.connect(Screen::kTableOutlet, std::make_shared<uikit::UITableView>(
                                                                   graphics::Rect{0, 0, kSceneWidth, kSceneHeight}));
            table->setBackgroundColor(uikit::UIColor::whiteColor());
            list.setTableView(table);
            auto compose = outlets.connect(Screen::kComposeButtonOutlet,
                                           uikit::UIBarButtonItem::withSystemItem(uikit::UIBarButtonSystemItem::Compose));
            list.setComposeButton(compose);
            list.navigationItem()->setRightBarButtonItem(compose);
            return table;
        });
}

void addThreadScene(uikit::UIStoryboard& storyboard) {
    using Screen = MessagesListBaseViewController;
    storyboard.addScene(
        Screen::kStoryboardIdentifier, [](uikit::UIStoryboard&) { return std::make_shared<Screen>(); },
        [](uikit::UIViewController& owner, uikit::SceneOutlets& outlets) -> std::shared_ptr<uikit::UIView> {
            auto& thread = static_cast<Screen&>(owner);
            auto view = std::make_shared<uikit::UIView>(graphics::Rect{0, 0, kSceneWidth, kSceneHeight});
            view->setBackgroundColor(uikit::UIColor::whiteColor());
            auto subject = outlets.connect(
                Screen::kSubjectOutlet,
                messagesSceneLabel(5, 20, uikit::UIFont::boldSystemFontOfSize(16), graphics::Color::black()));
            auto people = outlets.connect(
                Screen::kParticipantsOutlet,
                messagesSceneLabel(27, 18, uikit::UIFont::systemFontOfSize(13), uikit::UIColor::darkGrayColor()));
            auto table = outlets.connect(Screen::kTableOutlet, std::make_shared<uikit::UITableView>(
                                                                   graphics::Rect{0, 50, kSceneWidth, kSceneHeight - 50}));
            table->setAutoresizingMask(kFillsScene);
            table->setBackgroundColor(uikit::UIColor::whiteColor());
            for (const auto& part : std::vector<std::shared_ptr<uikit::UIView>>{subject, people, table})
                view->addSubview(part);
            thread.setSubjectLabel(subject);
            thread.setDiscussionParticipantsLabel(people);
            thread.setTableView(table);
            auto reply = outlets.connect(Screen::kReplyButtonOutlet,
                                         uikit::UIBarButtonItem::withSystemItem(uikit::UIBarButtonSystemItem::Reply));
            thread.setReplyButton(reply);
            thread.navigationItem()->setRightBarButtonItem(reply);
            return view;
        });
}

void addOutboxScenes(uikit::UIStoryboard& storyboard) {
    using List = OutboxMessagesListViewController;
    storyboard.addScene(
        List::kStoryboardIdentifier, [](uikit::UIStoryboard&) { return std::make_shared<List>(); },
        [](uikit::UIViewController& owner, uikit::SceneOutlets& outlets) -> std::shared_ptr<uikit::UIView> {
            auto table = outlets.connect(List::kTableOutlet, std::make_shared<uikit::UITableView>(
                                                                 graphics::Rect{0, 0, kSceneWidth, kSceneHeight}));
            table->setBackgroundColor(uikit::UIColor::whiteColor());
            static_cast<List&>(owner).setTableView(table);
            return table;
        });

    using Details = OutboxMessageDetailsViewController;
    storyboard.addScene(
        Details::kStoryboardIdentifier, [](uikit::UIStoryboard&) { return std::make_shared<Details>(); },
        [](uikit::UIViewController& owner, uikit::SceneOutlets& outlets) -> std::shared_ptr<uikit::UIView> {
            auto view = std::make_shared<uikit::UIView>(graphics::Rect{0, 0, kSceneWidth, kSceneHeight});
            view->setBackgroundColor(uikit::UIColor::whiteColor());
            auto subject = outlets.connect(
                Details::kSubjectOutlet,
                messagesSceneLabel(10, 20, uikit::UIFont::boldSystemFontOfSize(16), graphics::Color::black()));
            auto to = outlets.connect(
                Details::kToOutlet,
                messagesSceneLabel(34, 18, uikit::UIFont::systemFontOfSize(13), uikit::UIColor::darkGrayColor()));
            auto body = outlets.connect(Details::kBodyOutlet,
                                        std::make_shared<uikit::UITextView>(graphics::Rect{
                                            kSceneMargin - 5, 58, kSceneWidth - 2 * (kSceneMargin - 5), 100}));
            body->setFont(uikit::UIFont::systemFontOfSize(14));
            body->setEditable(false);
            body->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleWidth);
            auto height = uikit::NSLayoutConstraint::constraintWithItem(
                body, uikit::NSLayoutAttribute::Height, uikit::NSLayoutRelation::Equal, nullptr,
                uikit::NSLayoutAttribute::NotAnAttribute, 1, 100);
            outlets.connect(Details::kBodyHeightOutlet, height);
            for (const auto& part : std::vector<std::shared_ptr<uikit::UIView>>{subject, to, body}) view->addSubview(part);
            body->addConstraints({height});
            static_cast<Details&>(owner).setOutlets(to, subject, body, height);
            return view;
        });
}

}  // namespace

void addScenes(uikit::UIStoryboard& storyboard, bool pad) {
    addThreadListScene(storyboard);
    addThreadScene(storyboard);
    addOutboxScenes(storyboard);
    MessageComposerViewController::addScenes(storyboard, pad);
    AppStoryboards::addSegueOnce(storyboard, MessageListOnThreadsViewController::kStoryboardIdentifier,
                                 composerSegue(MessageListOnThreadsViewController::kComposeSegue,
                                               MessageListOnThreadsViewController::kComposeButtonOutlet, pad));
    AppStoryboards::addSegueOnce(storyboard, MessagesListBaseViewController::kStoryboardIdentifier,
                                 composerSegue(MessagesListBaseViewController::kReplySegue,
                                               MessagesListBaseViewController::kReplyButtonOutlet, pad));
    AppStoryboards::addSegueOnce(storyboard, ParticipantDetailsViewController::kStoryboardIdentifier,
                                 composerSegue(MessageComposerViewController::kParticipantSegue, nullptr, pad));
}

}  // namespace MessagesScenes
