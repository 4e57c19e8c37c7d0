#include "people/OrganizationDetailsViewController.h"

#include "uikit/UIStoryboard.h"

void OrganizationDetailsViewController::addScene(uikit::UIStoryboard& storyboard) {
    storyboard.addScene(kStoryboardIdentifier,
                        [](uikit::UIStoryboard&) { return std::make_shared<OrganizationDetailsViewController>(); });
}

void OrganizationDetailsViewController::viewDidLoad() {
    DetailsBaseViewController::viewDidLoad();
    paintWhite(*this);
}

void OrganizationDetailsViewController::updateUIContentForObject(
    const std::shared_ptr<coredata::ManagedObject>& object) {
    recordShownObject(object);
}

std::vector<std::pair<std::string, std::string>> OrganizationDetailsViewController::screenDescriptionItems() const {
    return detailsStubDescriptionItems(className(), *this);
}
