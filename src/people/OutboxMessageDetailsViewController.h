// One message waiting in the outbox, read-only: its subject as the title
// and above the receivers' names, then its body at the height it needs. The
// screen finds its row by the row's own identity (outboxId), so of two
// messages composed in the same second each opens its own; without one it
// finds the first row of the compose second. Main thread only.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "lists/DetailsBaseViewController.h"

namespace uikit {
class NSLayoutConstraint;
class UILabel;
class UITextView;
}  // namespace uikit

class OutboxMessageDetailsViewController : public DetailsBaseViewController {
public:
    static constexpr const char* kStoryboardIdentifier = "OutboxMessageDetailsViewController";
    static constexpr const char* kAnalyticsEventName = "View outbox message";
    static constexpr const char* kToOutlet = "toLabel";
    static constexpr const char* kSubjectOutlet = "subjectLabel";
    static constexpr const char* kBodyOutlet = "bodyTextView";
    static constexpr const char* kBodyHeightOutlet = "bodyHeightConstraint";
    static constexpr double kBodyMeasureHeight = 10000;
    static constexpr double kBodyPadding = 24;
    static Text storyboardIdentifier() { return std::string(kStoryboardIdentifier); }

    // Makes the screen for the outbox row and presents it as the thread
    // screen is: 0 pushes, 1 a new details pane of the split view, any other
    // only makes it.
    static std::shared_ptr<OutboxMessageDetailsViewController> navigateFromController(
        uikit::UIViewController& source, int32_t composeDate, const Text& outboxId, int navigationType);

    const Text& outboxId() const { return outboxId_; }
    void setOutboxId(Text outboxId) { outboxId_ = std::move(outboxId); }

    std::shared_ptr<uikit::UILabel> toLabel() const { return toLabel_.lock(); }
    std::shared_ptr<uikit::UILabel> subjectLabel() const { return subjectLabel_.lock(); }
    std::shared_ptr<uikit::UITextView> bodyTextView() const { return bodyTextView_.lock(); }
    std::shared_ptr<uikit::NSLayoutConstraint> bodyHeightConstraint() const { return bodyHeightConstraint_.lock(); }
    void setOutlets(const std::shared_ptr<uikit::UILabel>& to, const std::shared_ptr<uikit::UILabel>& subject,
                    const std::shared_ptr<uikit::UITextView>& body,
                    const std::shared_ptr<uikit::NSLayoutConstraint>& bodyHeight);

    void viewDidLoad() override;
    std::shared_ptr<const coredata::Predicate> filterPredicateForObservedEntityType(const std::string& entityName) override;
    void updateUIContentForObject(const std::shared_ptr<coredata::ManagedObject>& object) override;

    std::string className() const override { return "OutboxMessageDetailsViewController"; }

private:
    Text outboxId_;
    std::weak_ptr<uikit::UILabel> toLabel_;
    std::weak_ptr<uikit::UILabel> subjectLabel_;
    std::weak_ptr<uikit::UITextView> bodyTextView_;
    std::weak_ptr<uikit::NSLayoutConstraint> bodyHeightConstraint_;
};
