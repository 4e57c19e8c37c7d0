#include "app/TutorialPage.h"

#include "Utils/Utils.h"
#include "app/TutorialNibs.h"
#include "app/TutorialPageModel.h"
#include "uikit/UIImageView.h"
#include "uikit/UILabel.h"
#include "uikit/UINib.h"
#include "uikit/UIWebView.h"

TutorialPage::~TutorialPage() {
    // A load finishing after the page is gone must find no delegate to call.
    if (textWebView_) {
        textWebView_->setDelegate(nullptr);
        textWebView_->stopLoading();
    }
}

std::string TutorialPage::nibNameForCurrentIdiom() {
    return Utils::isIPad() ? TutorialNibs::kPagePad : TutorialNibs::kPagePhone;
}

std::shared_ptr<TutorialPage> TutorialPage::initTutorialPage(const std::shared_ptr<TutorialPageModel>& model) {
    TutorialNibs::registerNibs();
    const auto objects = uikit::UINib::loadNibNamed(nibNameForCurrentIdiom(), nullptr);
    // Each idiom tests its own picture: testing the pad's on the phone would
    // give a phone page that has only its own picture no room to show it.
    const bool hasPicture = model && (Utils::isIPad() ? model->ipadImage() : model->iphoneImage()) != nullptr;
    const size_t index = hasPicture ? 1 : 0;
    if (index >= objects.size()) return nullptr;
    return std::dynamic_pointer_cast<TutorialPage>(objects[index]);
}
