#include "people/ParticipantExtraInfoViewController.h"

#include "model/QVACoreDataParticipant.h"
#include "uikit/UIFont.h"
#include "uikit/UIStoryboard.h"
#include "uikit/UITextView.h"

void ParticipantExtraInfoViewController::addScene(uikit::UIStoryboard& storyboard) {
    storyboard.addScene(kStoryboardIdentifier,
                        [](uikit::UIStoryboard&) { return std::make_shared<ParticipantExtraInfoViewController>(); });
}

void ParticipantExtraInfoViewController::loadView() {
    auto root = std::make_shared<uikit::UIView>(graphics::Rect(0, 0, 320, 480));
    root->setBackgroundColor(graphics::Color::white());
    auto text = std::make_shared<uikit::UITextView>(graphics::Rect(10, 10, 300, 460));
    text->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleWidth | uikit::UIViewAutoresizingFlexibleHeight);
    text->setEditable(false);
    text->setFont(uikit::UIFont::systemFontOfSize(14));
    text->setOutletName(std::string("participantDescriptionTextView"));
    root->addSubview(text);
    setView(root);
    participantDescriptionTextView_ = text;
}

void ParticipantExtraInfoViewController::viewWillAppear(bool animated) {
    DetailsBaseViewController::viewWillAppear(animated);
    if (auto text = participantDescriptionTextView()) text->scrollRangeToVisible({0, 0});
}

std::vector<std::string> ParticipantExtraInfoViewController::entitiesArrayToObserveForFilteringUIUpdates() {
    return {QVACoreDataParticipant::kEntityName};
}

void ParticipantExtraInfoViewController::updateUIContentForObject(const std::shared_ptr<coredata::ManagedObject>& object) {
    auto participant = std::dynamic_pointer_cast<QVACoreDataParticipant>(object);
    auto text = participantDescriptionTextView();
    if (!participant || !text) return;
    text->setText(participant->profile().value_or(""));
}
