// A participant's "Additional details" page on the phone: the whole profile
// in a text view, refilled by each save of the participant and shown from
// its start each time the page comes into view.
// Main thread only.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "lists/DetailsBaseViewController.h"

namespace uikit {
class UIStoryboard;
class UITextView;
}  // namespace uikit

class ParticipantExtraInfoViewController : public DetailsBaseViewController {
public:
    static constexpr const char* kStoryboardIdentifier = "ParticipantExtraInfoViewController";
    static Text storyboardIdentifier() { return std::string(kStoryboardIdentifier); }
    static void addScene(uikit::UIStoryboard& storyboard);

    std::shared_ptr<uikit::UITextView> participantDescriptionTextView() const {
        return participantDescriptionTextView_.lock();
    }

    void loadView() override;
    void viewWillAppear(bool animated) override;
    std::vector<std::string> entitiesArrayToObserveForFilteringUIUpdates() override;
    void updateUIContentForObject(const std::shared_ptr<coredata::ManagedObject>& object) override;

    std::string className() const override { return "ParticipantExtraInfoViewController"; }

private:
    std::weak_ptr<uikit::UITextView> participantDescriptionTextView_;
};
