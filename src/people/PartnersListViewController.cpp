#include "people/PartnersListViewController.h"

#include "app/StubPlaceholder.h"
#include "uikit/UIStoryboard.h"

void PartnersListViewController::addScene(uikit::UIStoryboard& storyboard) {
    storyboard.addScene(kStoryboardIdentifier,
                        [](uikit::UIStoryboard&) { return std::make_shared<PartnersListViewController>(); });
}

void PartnersListViewController::viewDidLoad() {
    BaseViewController::viewDidLoad();
    StubPlaceholder::paintWhite(*this);
}
