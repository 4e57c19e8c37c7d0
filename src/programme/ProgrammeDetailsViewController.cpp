#include "programme/ProgrammeDetailsViewController.h"

#include "model/QVACoreDataPersonalEntry.h"
#include "programme/AddPersonalEntryViewController.h"
#include "uikit/UIStoryboard.h"

void ProgrammeDetailsViewController::addScene(uikit::UIStoryboard& storyboard) {
    storyboard.addScene(kStoryboardIdentifier,
                        [](uikit::UIStoryboard&) { return std::make_shared<ProgrammeDetailsViewController>(); });
}

void ProgrammeDetailsViewController::viewDidLoad() {
    DetailsWithListBaseViewController::viewDidLoad();
    paintWhite(*this);
}

void ProgrammeDetailsViewController::updateUIContentForObject(const std::shared_ptr<coredata::ManagedObject>& object) {
    recordShownObject(object);
    showEditButtonForObject(object);
}

// The home screen and the agenda search open personal entries under their
// parent entity, so only the shown row tells whether it can be edited.
void ProgrammeDetailsViewController::showEditButtonForObject(const std::shared_ptr<coredata::ManagedObject>& object) {
    const bool personalEntry = object && object->isKindOfEntity(QVACoreDataPersonalEntry::kEntityName);
    if (!personalEntry) {
        navigationItem()->setRightBarButtonItem(nullptr);
        return;
    }
    if (navigationItem()->rightBarButtonItem()) return;
    std::weak_ptr<ProgrammeDetailsViewController> weak =
        std::dynamic_pointer_cast<ProgrammeDetailsViewController>(shared_from_this());
    AddPersonalEntryViewController::installOpeningButton(
        *this,
        [weak]() -> std::optional<std::string> {
            auto screen = weak.lock();
            return screen ? screen->selectionPropertyId() : std::nullopt;
        },
        [weak] {
            if (auto screen = weak.lock()) screen->recordCall("unwindPersonalEntry:");
        });
}

std::vector<std::pair<std::string, std::string>> ProgrammeDetailsViewController::screenDescriptionItems() const {
    return detailsStubDescriptionItems(className(), *this);
}
