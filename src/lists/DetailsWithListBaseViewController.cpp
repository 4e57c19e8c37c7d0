#include "lists/DetailsWithListBaseViewController.h"

#include <algorithm>

#include "Utils/Utils.h"
#include "coredata/ManagedObject.h"
#include "graphics/Color.h"
#include "lists/DetailsBarLook.h"
#include "lists/QVADetailHeaderView.h"
#include "uikit/UIApplication.h"
#include "uikit/UIFont.h"
#include "uikit/UIImage.h"
#include "uikit/UINavigationBar.h"
#include "uikit/UINavigationController.h"
#include "uikit/UINavigationItem.h"
#include "uikit/UITableView.h"

namespace {

// The bar's look while the header shows through it.
void makeBarTransparent(uikit::UINavigationBar& bar) {
    bar.setBackgroundColor(graphics::Color::clear());
    bar.setShadowImage(uikit::UIImage::make());
    bar.setTranslucent(true);
    bar.setBackgroundImage(uikit::UIImage::make(), uikit::UIBarMetrics::Default);
}

uikit::TextAttributes barTitleAttributes() {
    uikit::TextAttributes title;
    title.font = uikit::UIFont::fontWithName(DetailsWithListBaseViewController::kTitleFontName,
                                             DetailsWithListBaseViewController::kTitleFontSize);
    title.foregroundColor = graphics::Color::white();
    return title;
}

}  // namespace

DetailsWithListBaseViewController::DetailsWithListBaseViewController(std::optional<std::string> nibName)
    : LiteListBaseViewController(std::move(nibName)) {}

DetailsWithListBaseViewController::~DetailsWithListBaseViewController() = default;

void DetailsWithListBaseViewController::viewDidLoad() {
    LiteListBaseViewController::viewDidLoad();
    if (auto table = tableView()) {
        table->setAlwaysBounceVertical(false);
        table->setTableFooterView(std::make_shared<uikit::UIView>());
        table->setBackgroundColor(graphics::Color::white());
    }
    auto navigation = navigationController();
    if (navigation) {
        DetailsBarLook::keep(navigation->navigationBar());
        navigation->navigationBar()->setTitleTextAttributes(barTitleAttributes());
    }
    auto object = currentObject();
    Utils::changeEdgesForController(*this, 0);
    if (selectionPropertyId()) updateUIContentForObject(object);
    updateSwipeHints();
    if (navigation) makeBarTransparent(*navigation->navigationBar());
}

void DetailsWithListBaseViewController::viewWillAppear(bool animated) {
    LiteListBaseViewController::viewWillAppear(animated);
    uikit::UIApplication::sharedApplication().setStatusBarHidden(true, uikit::UIStatusBarAnimation::Slide);
    if (auto navigation = navigationController()) {
        auto bar = navigation->navigationBar();
        if (heldBar_.lock() != bar) {
            DetailsBarLook::hold(bar);
            heldBar_ = bar;
        }
        styleNavigationBar();
    }
}

void DetailsWithListBaseViewController::viewWillDisappear(bool animated) {
    uikit::UIApplication::sharedApplication().setStatusBarHidden(false, uikit::UIStatusBarAnimation::Slide);
    if (auto bar = heldBar_.lock()) DetailsBarLook::release(bar);
    heldBar_.reset();
    LiteListBaseViewController::viewWillDisappear(animated);
}

void DetailsWithListBaseViewController::viewDidLayoutSubviews() {
    LiteListBaseViewController::viewDidLayoutSubviews();
    layoutSwipeHints();
    if (auto table = tableView()) keepScrollViewClearOfSwipeHints(*table);
}

void DetailsWithListBaseViewController::styleNavigationBar() {
    auto navigation = navigationController();
    if (!navigation) return;
    auto& bar = *navigation->navigationBar();
    bar.setTitleTextAttributes(barTitleAttributes());
    // A screen coming back finds the bar as the screen before it left it:
    // the look follows the table's offset, as on scrolling.
    if (auto table = tableView()) {
        bar.setBackgroundColor(graphics::Color::clear());
        scrollViewDidScroll(*table);
    } else {
        makeBarTransparent(bar);
    }
}

void DetailsWithListBaseViewController::contextDidSave(const foundation::Notification& notification) {
    DetailsScreenSupport::contextDidSave(notification);
}

void DetailsWithListBaseViewController::updateUiContentBecauseItsNeeded() {
    DetailsScreenSupport::updateUiContentBecauseItsNeeded();
}

bool DetailsWithListBaseViewController::shouldPerformSegueWithIdentifier(const std::string& identifier,
                                                                         const foundation::ObjectPtr& sender) {
    return swipeShouldPerformSegueWithIdentifier(identifier, sender);
}

void DetailsWithListBaseViewController::prepareForSegue(uikit::UIStoryboardSegue& segue,
                                                        const foundation::ObjectPtr& sender) {
    swipePrepareForSegue(segue, sender);
}

void DetailsWithListBaseViewController::scrollViewDidScroll(uikit::UIScrollView& scrollView) {
    // The header never separates from the top edge.
    if (scrollView.contentOffset().y <= 0) scrollView.setContentOffset({0, 0});
    auto header = detailHeaderView();
    auto navigation = navigationController();
    if (!header || !navigation) return;
    auto& bar = *navigation->navigationBar();
    const double switchValue = scrollView.contentOffset().y - header->getHeaderBackgroundImageHeight() +
                               uikit::UIApplication::sharedApplication().statusBarFrame().size.height +
                               bar.frame().size.height;
    if (switchValue > 0) {
        // Once white, further scrolling keeps the strip and title it has.
        if (bar.backgroundColor() != graphics::Color::white()) {
            auto strip = header->getNavigationBarBackgroundImage();
            bar.setShadowImage(nullptr);
            bar.setBackgroundColor(graphics::Color::white());
            bar.setBackgroundImage(strip, uikit::UIBarMetrics::Default);
            bar.setTranslucent(false);
            navigationItem()->setTitle(header->getNavigationBarTitle());
        }
    } else {
        makeBarTransparent(bar);
        navigationItem()->setTitle(std::nullopt);
    }
    header->didScrollWithOffset(switchValue);
}
