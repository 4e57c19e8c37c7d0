// The six-page introduction shown over the loading screen while a meeting's
// first download runs, and again from the help screen. Each page's title and
// text lie over a blurred picture that drifts a tenth of the page movement
// behind them; a phone frame shows a screenshot that scrolls in step. A thin
// bar reports the download until it completes, then "Skip" fades in. The
// last page hides the dots, slides the phone away and asks to show
// notifications. The views named below come from the interface file
// "QVAStartTutorialViewController" (registered on first use); the rest is
// built in code. Main thread only.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/QVALoadingProgressDelegate.h"
#include "uikit/UIScrollView.h"
#include "uikit/UIViewController.h"

namespace graphics {
class GradientLayer;
}
namespace uikit {
class UIButton;
class UIImageView;
class UILabel;
class UIPageControl;
class UIProgressView;
class UIVisualEffectView;
}  // namespace uikit

class QVAStartTutorialViewController : public uikit::UIViewController,
                                       public uikit::UIScrollViewDelegate,
                                       public QVALoadingProgressDelegate {
public:
    static constexpr const char* kNibName = "QVAStartTutorialViewController";
    static constexpr int kNumberOfPages = 6;

    QVAStartTutorialViewController();
    ~QVAStartTutorialViewController() override;

    // --- QVALoadingProgressDelegate ---
    // Before the view loads the fraction is kept, and the bar starts there.
    void progressAt(double fraction) override;
    // May run before the view loads: the view then starts without a bar.
    void hideProgressBar() override;

    // --- Actions ---
    void skip(const foundation::ObjectPtr& sender);
    // Animated glide of the pager to a page (from 0).
    void scrollToPage(int page);
    // Renews the six page slots and builds pages 0, 1 and 5.
    void loadControllers();
    // Builds one page if its slot is still empty; other indexes do nothing.
    void loadScrollViewWithPage(int page);

    // --- Outlets (the interface file sets them) ---
    const std::shared_ptr<uikit::UIScrollView>& scrollView() const { return scrollView_; }
    void setScrollView(std::shared_ptr<uikit::UIScrollView> view) { scrollView_ = std::move(view); }
    const std::shared_ptr<uikit::UIScrollView>& iphoneScrollView() const { return iphoneScrollView_; }
    void setIphoneScrollView(std::shared_ptr<uikit::UIScrollView> view) { iphoneScrollView_ = std::move(view); }
    const std::shared_ptr<uikit::UIImageView>& iphoneImageView() const { return iphoneImageView_; }
    void setIphoneImageView(std::shared_ptr<uikit::UIImageView> view) { iphoneImageView_ = std::move(view); }

    // --- Read-only views for the screen's hosts and tests ---
    const std::shared_ptr<uikit::UIPageControl>& pageControl() const { return pageControl_; }
    const std::shared_ptr<uikit::UIButton>& skipButton() const { return skipButton_; }
    const std::shared_ptr<uikit::UIProgressView>& progressView() const { return progressView_; }
    const std::shared_ptr<uikit::UILabel>& progressLabel() const { return progressLabel_; }
    const std::shared_ptr<uikit::UIImageView>& backgroundImageView() const { return backgroundImageView_; }
    const std::shared_ptr<uikit::UIVisualEffectView>& visualEffectView() const { return visualEffectView_; }
    bool isProgressHidden() const { return isProgressHiden_; }
    // The page controller in slot n, null while the page is not built.
    uikit::UIViewControllerPtr pageControllerAt(int page) const;

    // --- UIKit ---
    void viewDidLoad() override;
    void viewDidLayoutSubviews() override;
    void viewWillAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;
    bool prefersStatusBarHidden() const override { return true; }
    void scrollViewDidScroll(uikit::UIScrollView& scrollView) override;

    std::string className() const override { return "QVAStartTutorialViewController"; }

private:
    std::shared_ptr<uikit::UIScrollView> scrollView_;
    std::shared_ptr<uikit::UIScrollView> iphoneScrollView_;
    std::shared_ptr<uikit::UIImageView> iphoneImageView_;
    std::shared_ptr<uikit::UIVisualEffectView> visualEffectView_;
    std::shared_ptr<uikit::UIImageView> backgroundImageView_;
    std::shared_ptr<graphics::GradientLayer> gradientBottom_;
    std::shared_ptr<uikit::UIPageControl> pageControl_;
    std::shared_ptr<uikit::UIButton> skipButton_;
    bool isProgressHiden_ = false;
    std::shared_ptr<uikit::UIProgressView> progressView_;
    std::shared_ptr<uikit::UILabel> progressLabel_;
    // Per page: null until built, then the page's controller.
    std::vector<uikit::UIViewControllerPtr> viewControllers_;
    // The screenshots the current slots put on the phone.
    std::vector<std::shared_ptr<uikit::UIImageView>> screenshots_;
    double lastContentOffset_ = 0;
    std::optional<double> pendingProgress_;
};

using QVAStartTutorialViewControllerPtr = std::shared_ptr<QVAStartTutorialViewController>;
