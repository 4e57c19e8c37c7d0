// The data of one tutorial page: a plain title, an HTML fragment for the
// body, and a picture for each idiom, either of which may be missing.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "foundation/Object.h"

namespace uikit {
class UIImage;
}

class TutorialPageModel : public foundation::Object {
public:
    using Text = std::optional<std::string>;

    // The pictures are looked up by name in the application's resources; a
    // name that is absent or empty leaves that picture missing.
    static std::shared_ptr<TutorialPageModel> initWithTitle(Text title, Text text, const Text& ipadImage,
                                                            const Text& iphoneImage);

    const Text& title() const { return title_; }
    void setTitle(Text title) { title_ = std::move(title); }
    const Text& text() const { return text_; }
    void setText(Text text) { text_ = std::move(text); }
    const std::shared_ptr<uikit::UIImage>& ipadImage() const { return ipadImage_; }
    void setIpadImage(std::shared_ptr<uikit::UIImage> image) { ipadImage_ = std::move(image); }
    const std::shared_ptr<uikit::UIImage>& iphoneImage() const { return iphoneImage_; }
    void setIphoneImage(std::shared_ptr<uikit::UIImage> image) { iphoneImage_ = std::move(image); }

    std::string className() const override { return "TutorialPageModel"; }

private:
    Text title_;
    Text text_;
    std::shared_ptr<uikit::UIImage> ipadImage_;
    std::shared_ptr<uikit::UIImage> iphoneImage_;
};

using TutorialPageModelPtr = std::shared_ptr<TutorialPageModel>;
