// The base of details screens whose whole content is one table under a
// picture header: a list screen showing one stored object, found by its
// entity name and identifier, re-shown when a save of the store touches it.
// While the header is in view the navigation bar is transparent and without
// title; once the header has scrolled under the bar, the bar turns opaque
// white with the header's bottom strip and title. The status bar is hidden
// while the screen shows. The inputs, the shown object, the reload after a
// save and swiping are the details screens' shared code (DetailsScreenSupport),
// so both details bases behave alike. Main thread only.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "lists/DetailsScreenSupport.h"
#include "lists/LiteListBaseViewController.h"

class QVADetailHeaderView;
namespace uikit {
class UINavigationBar;
}

class DetailsWithListBaseViewController : public LiteListBaseViewController, public DetailsScreenSupport {
public:
    static constexpr const char* kTitleFontName = "AvenirNext-Medium";
    static constexpr double kTitleFontSize = 12;

    explicit DetailsWithListBaseViewController(std::optional<std::string> nibName = std::nullopt);
    ~DetailsWithListBaseViewController() override;

    // The header scrolling with the table; subclasses install it in viewDidLoad
    // (after the base's) with their header class's addHeaderToTableView.
    const std::shared_ptr<QVADetailHeaderView>& detailHeaderView() const { return detailHeaderView_; }
    void setDetailHeaderView(std::shared_ptr<QVADetailHeaderView> header) { detailHeaderView_ = std::move(header); }

    // --- Lifecycle ---
    void viewDidLoad() override;
    // The status bar hidden, with the slide animation, while the screen shows;
    // the navigation bar restyled while it shows and given back its own look
    // when it goes.
    void viewWillAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;
    // The swipe hints follow the view's size (the pad's detail is wider
    // than the layout it was made with).
    void viewDidLayoutSubviews() override;

    // --- The store's saves (one implementation for both bases it inherits) ---
    void contextDidSave(const foundation::Notification& notification) override;
    void updateUiContentBecauseItsNeeded() override;
    std::vector<std::string> entitiesArrayToObserveForFilteringUIUpdates() override { return {}; }
    const foundation::Object* observedSaveContext() const override { return observedContext(); }

    // --- Swiping through the storyboard's swipe segue ---
    bool shouldPerformSegueWithIdentifier(const std::string& identifier, const foundation::ObjectPtr& sender) override;
    void prepareForSegue(uikit::UIStoryboardSegue& segue, const foundation::ObjectPtr& sender) override;

    // --- The bar's two looks; subclasses that override it call the base ---
    void scrollViewDidScroll(uikit::UIScrollView& scrollView) override;

    std::string className() const override { return "DetailsWithListBaseViewController"; }

protected:
    BaseViewController& detailsViewController() override { return *this; }

private:
    // The bar's title and its look for the table's present offset.
    void styleNavigationBar();

    std::shared_ptr<QVADetailHeaderView> detailHeaderView_;
    // The bar this screen restyles while it shows (DetailsBarLook).
    std::weak_ptr<uikit::UINavigationBar> heldBar_;
};

using DetailsWithListBaseViewControllerPtr = std::shared_ptr<DetailsWithListBaseViewController>;
