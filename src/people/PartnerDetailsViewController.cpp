#include "people/PartnerDetailsViewController.h"

#include "uikit/UIStoryboard.h"

void PartnerDetailsViewController::addScene(uikit::UIStoryboard& storyboard) {
    storyboard.addScene(kStoryboardIdentifier,
                        [](uikit::UIStoryboard&) { return std::make_shared<PartnerDetailsViewController>(); });
}

void PartnerDetailsViewController::viewDidLoad() {
    DetailsWithListBaseViewController::viewDidLoad();
    paintWhite(*this);
}

void PartnerDetailsViewController::updateUIContentForObject(const std::shared_ptr<coredata::ManagedObject>& object) {
    recordShownObject(object);
}

std::vector<std::pair<std::string, std::string>> PartnerDetailsViewController::screenDescriptionItems() const {
    return detailsStubDescriptionItems(className(), *this);
}
