#include "app/TutorialPageModel.h"

#include "Utils/StringUtility.h"
#include "uikit/UIImage.h"

namespace {

std::shared_ptr<uikit::UIImage> imageNamedIfGiven(const TutorialPageModel::Text& name) {
    if (!name || StringUtility::isNilOrEmpty(std::string_view(*name))) return nullptr;
    return uikit::UIImage::imageNamed(*name);
}

}  // namespace

std::shared_ptr<TutorialPageModel> TutorialPageModel::initWithTitle(Text title, Text text, const Text& ipadImage,
                                                                    const Text& iphoneImage) {
    auto model = std::make_shared<TutorialPageModel>();
    model->title_ = std::move(title);
    model->text_ = std::move(text);
    model->ipadImage_ = imageNamedIfGiven(ipadImage);
    model->iphoneImage_ = imageNamedIfGiven(iphoneImage);
    return model;
}
