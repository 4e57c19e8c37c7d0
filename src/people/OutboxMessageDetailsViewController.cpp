#include "people/OutboxMessageDetailsViewController.h"

#include "Utils/Utils.h"
#include "analytics/AnalyticsUtils.h"
#include "foundation/Format.h"
#include "lists/DetailsNavigationController.h"
#include "model/QVACoreDataOutboxMessage.h"
#include "uikit/NSLayoutConstraint.h"
#include "uikit/UILabel.h"
#include "uikit/UINavigationController.h"
#include "uikit/UITextView.h"

std::shared_ptr<OutboxMessageDetailsViewController> OutboxMessageDetailsViewController::navigateFromController(
    uikit::UIViewController& source, int32_t composeDate, const Text& outboxId, int navigationType) {
    auto screen = BaseViewController::instantiateViewController<OutboxMessageDetailsViewController>();
    if (!screen) return nullptr;
    screen->setSelectionPropertyId(foundation::Format("%d", composeDate));
    screen->setEntityName(std::string(QVACoreDataOutboxMessage::kEntityName));
    screen->setOutboxId(outboxId);
    if (navigationType == 0) {
        if (auto navigation = source.navigationController()) navigation->pushViewController(screen, true);
    } else if (navigationType == 1) {
        DetailsNavigationController::showInSplitViewDetail(screen);
    }
    return screen;
}

void OutboxMessageDetailsViewController::setOutlets(const std::shared_ptr<uikit::UILabel>& to,
                                                    const std::shared_ptr<uikit::UILabel>& subject,
                                                    const std::shared_ptr<uikit::UITextView>& body,
                                                    const std::shared_ptr<uikit::NSLayoutConstraint>& bodyHeight) {
    toLabel_ = to;
    subjectLabel_ = subject;
    bodyTextView_ = body;
    bodyHeightConstraint_ = bodyHeight;
}

void OutboxMessageDetailsViewController::viewDidLoad() {
    AnalyticsUtils::trackEventWithName(kAnalyticsEventName);
    DetailsBaseViewController::viewDidLoad();
}

std::shared_ptr<const coredata::Predicate> OutboxMessageDetailsViewController::filterPredicateForObservedEntityType(
    const std::string& entityName) {
    if (outboxId_ && entityName == QVACoreDataOutboxMessage::kEntityName)
        return QVACoreDataOutboxMessage::predicateForOutboxId(*outboxId_);
    return DetailsBaseViewController::filterPredicateForObservedEntityType(entityName);
}

void OutboxMessageDetailsViewController::updateUIContentForObject(const std::shared_ptr<coredata::ManagedObject>& object) {
    auto message = std::dynamic_pointer_cast<QVACoreDataOutboxMessage>(object);
    if (!message) return;
    setTitle(message->subject());
    if (auto label = subjectLabel()) label->setText(message->subject());
    if (auto label = toLabel()) label->setText(message->toNames());
    auto body = bodyTextView();
    if (!body) return;
    body->setText(message->body().value_or(""));
    auto constraint = bodyHeightConstraint();
    if (!constraint) return;
    view()->setNeedsLayout();
    view()->layoutIfNeeded();
    const auto size = Utils::getTextSize(message->body(), body->font(),
                                         {body->frame().size.width, kBodyMeasureHeight});
    constraint->setConstant(size.height + kBodyPadding);
    // Nothing solves the constraints here: the text view takes the height.
    auto frame = body->frame();
    frame.size.height = constraint->constant();
    body->setFrame(frame);
}
