#include "programme/PersonalEntryDetailsViewController.h"

#include "coredata/ManagedObject.h"
#include "lists/DetailsSwipeScene.h"
#include "model/QVACoreDataPersonalEntry.h"
#include "uikit/UIFont.h"
#include "uikit/UIStoryboard.h"
#include "uikit/UITextView.h"

void PersonalEntryDetailsViewController::addScene(uikit::UIStoryboard& storyboard) {
    DetailsSwipeScene::addScene(storyboard, kStoryboardIdentifier,
                                [] { return std::make_shared<PersonalEntryDetailsViewController>(); });
}

void PersonalEntryDetailsViewController::loadView() {
    DetailsBaseViewController::loadView();
    if (!isViewLoaded()) setView(std::make_shared<uikit::UIView>(graphics::Rect(0, 0, 320, 480)));
    const auto& root = view();
    root->setBackgroundColor(graphics::Color::white());
    auto body = std::make_shared<uikit::UITextView>(root->bounds().insetBy(10, 10));
    body->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleWidth | uikit::UIViewAutoresizingFlexibleHeight);
    body->setOutletName(std::string("bodyTextView"));
    body->setEditable(false);
    body->setFont(uikit::UIFont::fontWithName("HelveticaNeue-Light", 14));
    root->addSubview(body);
    bodyTextView_ = body;
}

void PersonalEntryDetailsViewController::updateUIContentForObject(const std::shared_ptr<coredata::ManagedObject>& object) {
    auto entry = std::dynamic_pointer_cast<QVACoreDataPersonalEntry>(object);
    auto body = bodyTextView();
    if (!entry || !body) return;
    body->setText(entry->sessionDescription().value_or(""));
    body->scrollRangeToVisible({0, 0});
}

std::vector<std::string> PersonalEntryDetailsViewController::entitiesArrayToObserveForFilteringUIUpdates() {
    return {QVACoreDataPersonalEntry::kEntityName};
}
