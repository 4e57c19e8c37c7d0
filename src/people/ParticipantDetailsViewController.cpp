#include "people/ParticipantDetailsViewController.h"

#include "uikit/UIStoryboard.h"

void ParticipantDetailsViewController::addScene(uikit::UIStoryboard& storyboard) {
    storyboard.addScene(kStoryboardIdentifier,
                        [](uikit::UIStoryboard&) { return std::make_shared<ParticipantDetailsViewController>(); });
}

void ParticipantDetailsViewController::viewDidLoad() {
    DetailsWithListBaseViewController::viewDidLoad();
    paintWhite(*this);
}

void ParticipantDetailsViewController::updateUIContentForObject(
    const std::shared_ptr<coredata::ManagedObject>& object) {
    recordShownObject(object);
}

std::vector<std::pair<std::string, std::string>> ParticipantDetailsViewController::screenDescriptionItems() const {
    return detailsStubDescriptionItems(className(), *this);
}
