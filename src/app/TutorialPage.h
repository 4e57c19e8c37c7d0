// The view of one tutorial page, loaded from the nib "TutorialPage" (pad) or
// "TutorialPage_iPhone" (phone): each holds two layouts, the first without
// picture and the second with one. Its web view stops loading and forgets
// its delegate when the page goes. Main thread only.
#pragma once

#include <memory>
#include <string>

#include "uikit/UIView.h"

namespace uikit {
class UIImageView;
class UILabel;
class UIWebView;
}  // namespace uikit

class TutorialPageModel;

class TutorialPage : public uikit::UIView {
public:
    explicit TutorialPage(const graphics::Rect& frame = {}) : uikit::UIView(frame) {}
    ~TutorialPage() override;

    // The page view for the model from the running idiom's page nib: the
    // layout with picture when the model has the running idiom's picture,
    // else the one without; null when that object is not a TutorialPage.
    static std::shared_ptr<TutorialPage> initTutorialPage(const std::shared_ptr<TutorialPageModel>& model);
    // The page nib of the running idiom.
    static std::string nibNameForCurrentIdiom();

    const std::shared_ptr<uikit::UILabel>& titleLabel() const { return titleLabel_; }
    void setTitleLabel(std::shared_ptr<uikit::UILabel> label) { titleLabel_ = std::move(label); }
    const std::shared_ptr<uikit::UIWebView>& textWebView() const { return textWebView_; }
    void setTextWebView(std::shared_ptr<uikit::UIWebView> webView) { textWebView_ = std::move(webView); }
    const std::shared_ptr<uikit::UIImageView>& tutorialImage() const { return tutorialImage_; }
    void setTutorialImage(std::shared_ptr<uikit::UIImageView> imageView) { tutorialImage_ = std::move(imageView); }

    std::string className() const override { return "TutorialPage"; }

private:
    std::shared_ptr<uikit::UILabel> titleLabel_;
    std::shared_ptr<uikit::UIWebView> textWebView_;
    std::shared_ptr<uikit::UIImageView> tutorialImage_;
};

using TutorialPagePtr = std::shared_ptr<TutorialPage>;
