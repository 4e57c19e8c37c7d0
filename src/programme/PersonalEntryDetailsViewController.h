// The body text of a personal entry on a page of its own, shown from its
// start and redrawn when a save changes the entry. No screen opens it yet:
// its scene is registered for whichever place comes to need it (the entry's
// editor already shows the body). Main thread only.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "lists/DetailsBaseViewController.h"

namespace uikit {
class UIStoryboard;
class UITextView;
}  // namespace uikit

class PersonalEntryDetailsViewController : public DetailsBaseViewController {
public:
    static constexpr const char* kStoryboardIdentifier = "PersonalEntryDetailsViewController";

    static Text storyboardIdentifier() { return std::string(kStoryboardIdentifier); }
    // The scene with the details scenes' swipe wiring.
    static void addScene(uikit::UIStoryboard& storyboard);

    // The nib's text view (weak: the page's view keeps it).
    std::shared_ptr<uikit::UITextView> bodyTextView() const { return bodyTextView_.lock(); }

    void loadView() override;
    // A personal entry: its body in the text view, scrolled to the top.
    void updateUIContentForObject(const std::shared_ptr<coredata::ManagedObject>& object) override;
    std::vector<std::string> entitiesArrayToObserveForFilteringUIUpdates() override;

    std::string className() const override { return "PersonalEntryDetailsViewController"; }

private:
    std::weak_ptr<uikit::UITextView> bodyTextView_;
};
