// The session (or personal entry) details screen, standing in until it exists:
// a list-shaped details screen that records what it is given and shows
// it in the screen dump. For a personal entry (whatever entity name the
// screen was opened with) its bar carries "Edit", which
// opens the entry's form; the form's return is recorded as
// "unwindPersonalEntry:".
// Its scene is registered under the class's name (addScene). Main thread only.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/DetailsStubScreen.h"
#include "lists/DetailsWithListBaseViewController.h"

namespace uikit {
class UIStoryboard;
}

class ProgrammeDetailsViewController : public DetailsWithListBaseViewController, public DetailsStubScreen {
public:
    static constexpr const char* kStoryboardIdentifier = "ProgrammeDetailsViewController";
    static Text storyboardIdentifier() { return std::string(kStoryboardIdentifier); }
    static void addScene(uikit::UIStoryboard& storyboard);

    void viewDidLoad() override;
    // Recorded; the screen shows nothing of the object but, for a personal
    // entry, its "Edit" button.
    void updateUIContentForObject(const std::shared_ptr<coredata::ManagedObject>& object) override;
    std::vector<std::pair<std::string, std::string>> screenDescriptionItems() const override;
    std::string className() const override { return "ProgrammeDetailsViewController"; }

private:
    void showEditButtonForObject(const std::shared_ptr<coredata::ManagedObject>& object);
};
