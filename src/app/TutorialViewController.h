// A horizontally paged tutorial: each page shows a title, a short HTML text
// and the picture of the running idiom, with page dots below and a close
// button. A tutorial is a subclass that sets `pages` in its constructor
// (before the view loads) and answers `tutorialTitle`; it may override
// onClosedButtonPressed, calling this one. The phone presents it modally and
// it dismisses itself; the pad lays it over the split view, whose
// TutorialDelegate removes it when told it was closed. The views come from
// the nib "TutorialViewController" (pad) or "TutorialViewController_iPhone"
// (phone), registered by TutorialNibs. Main thread only.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "uikit/UIScrollView.h"
#include "uikit/UIViewController.h"
#include "uikit/UIWebView.h"

namespace uikit {
class UIButton;
class UILabel;
class UINavigationBar;
class UIPageControl;
}  // namespace uikit

class TutorialDelegate;
class TutorialPageModel;

class TutorialViewController : public uikit::UIViewController,
                               public uikit::UIWebViewDelegate,
                               public uikit::UIScrollViewDelegate {
public:
    // Loads its views from the interface file of the running idiom.
    TutorialViewController();
    ~TutorialViewController() override;

    // The interface file of the controller for the running idiom.
    static std::string nibNameForCurrentIdiom();

    // --- What a tutorial supplies ---
    const std::vector<std::shared_ptr<TutorialPageModel>>& pages() const { return pages_; }
    void setPages(std::vector<std::shared_ptr<TutorialPageModel>> pages) { pages_ = std::move(pages); }
    // Shown in the title label and the bar; empty here.
    virtual std::string tutorialTitle() const;
    // Closes the tutorial; overrides call this one.
    virtual void onClosedButtonPressed();

    std::shared_ptr<TutorialDelegate> tutorialDelegate() const { return tutorialDelegate_.lock(); }
    void setTutorialDelegate(const std::shared_ptr<TutorialDelegate>& delegate) { tutorialDelegate_ = delegate; }

    // Width of one page: 600 on the pad, the view's width − 20 on the phone.
    int32_t pageWidth() const { return pageWidth_; }

    // --- Outlets (the nib sets them) ---
    // The pad's file has no navigation bar and the phone's no title label
    // (its bar shows the title): those stay null.
    const std::shared_ptr<uikit::UIScrollView>& tutorialScrollView() const { return tutorialScrollView_; }
    void setTutorialScrollView(std::shared_ptr<uikit::UIScrollView> view) { tutorialScrollView_ = std::move(view); }
    const std::shared_ptr<uikit::UIPageControl>& tutorialPageControl() const { return tutorialPageControl_; }
    void setTutorialPageControl(std::shared_ptr<uikit::UIPageControl> control) {
        tutorialPageControl_ = std::move(control);
    }
    const std::shared_ptr<uikit::UINavigationBar>& navigationBar() const { return navigationBar_; }
    void setNavigationBar(std::shared_ptr<uikit::UINavigationBar> bar) { navigationBar_ = std::move(bar); }
    const std::shared_ptr<uikit::UIButton>& closeButton() const { return closeButton_; }
    void setCloseButton(std::shared_ptr<uikit::UIButton> button) { closeButton_ = std::move(button); }
    const std::shared_ptr<uikit::UILabel>& titleLabel() const { return titleLabel_; }
    void setTitleLabel(std::shared_ptr<uikit::UILabel> label) { titleLabel_ = std::move(label); }

    // --- Actions ---
    void closeButtonPressed(const foundation::ObjectPtr& sender);
    void pageControlValueChanged(const foundation::ObjectPtr& sender);
    void scrollViewDidScroll(uikit::UIScrollView& scrollView) override;

    // --- Pages ---
    // The fragment inside a whole HTML document: transparent background,
    // HelveticaNeue 15 px, centred.
    std::string addHTMLHeaders(const std::string& fragment) const;
    void createPages();
    void refreshPages();
    void initPageWidth();
    void stopLoadingWebviewRequests();

    void viewDidLoad() override;
    void viewDidLayoutSubviews() override;
    uikit::UIInterfaceOrientationMask supportedInterfaceOrientations() const override;
    bool shouldAutorotate() const override;

    std::string className() const override { return "TutorialViewController"; }

private:
    void updateContentSize();

    int32_t pageWidth_ = 0;
    std::vector<std::shared_ptr<TutorialPageModel>> pages_;
    std::weak_ptr<TutorialDelegate> tutorialDelegate_;
    std::shared_ptr<uikit::UIScrollView> tutorialScrollView_;
    std::shared_ptr<uikit::UIPageControl> tutorialPageControl_;
    std::shared_ptr<uikit::UINavigationBar> navigationBar_;
    std::shared_ptr<uikit::UIButton> closeButton_;
    std::shared_ptr<uikit::UILabel> titleLabel_;
};

using TutorialViewControllerPtr = std::shared_ptr<TutorialViewController>;
