#include "maps/LocationDetailsViewController.h"

#include "uikit/UIStoryboard.h"

void LocationDetailsViewController::addScene(uikit::UIStoryboard& storyboard) {
    storyboard.addScene(kStoryboardIdentifier,
                        [](uikit::UIStoryboard&) { return std::make_shared<LocationDetailsViewController>(); });
}

void LocationDetailsViewController::viewDidLoad() {
    DetailsBaseViewController::viewDidLoad();
    paintWhite(*this);
}

void LocationDetailsViewController::updateUIContentForObject(const std::shared_ptr<coredata::ManagedObject>& object) {
    recordShownObject(object);
}

std::vector<std::pair<std::string, std::string>> LocationDetailsViewController::screenDescriptionItems() const {
    return detailsStubDescriptionItems(className(), *this);
}
