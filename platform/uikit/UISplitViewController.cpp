// The split view's columns and the portrait model of its master.
#include "uikit/UISplitViewController.h"

#include <algorithm>

#include "foundation/MainThreadChecker.h"
#include "uikit/UIBarButtonItem.h"
#include "uikit/UIContainerLayout.h"
#include "uikit/UIDevice.h"
#include "uikit/UIPopoverController.h"
#include "uikit/UIScreen.h"
#include "uikit/UIView.h"

namespace uikit {
namespace {

void requireMainForSplitViewController() {
    foundation::requireMainThread("UISplitViewController is used from the main thread only");
}

bool isPad() { return UIDevice::currentDevice().userInterfaceIdiom() == UIUserInterfaceIdiom::Pad; }

std::vector<UIViewControllerPtr> minus(const std::vector<UIViewControllerPtr>& a,
                                       const std::vector<UIViewControllerPtr>& b) {
    std::vector<UIViewControllerPtr> rest;
    for (const auto& controller : a) {
        if (std::find(b.begin(), b.end(), controller) == b.end()) rest.push_back(controller);
    }
    return rest;
}

}  // namespace

UISplitViewController::UISplitViewController() = default;

UISplitViewController::~UISplitViewController() = default;

void UISplitViewController::loadView() {
    UIViewController::loadView();
    if (!isViewLoaded()) setView(std::make_shared<UIView>(UIScreen::mainScreen().bounds()));
}

void UISplitViewController::setViewControllers(std::vector<UIViewControllerPtr> controllers) {
    requireMainForSplitViewController();
    std::erase(controllers, nullptr);
    auto self = std::static_pointer_cast<UISplitViewController>(shared_from_this());
    const auto shownBefore = appearanceChildren();
    const auto moves = beginChildMoves(controllers_, controllers);
    controllers_ = std::move(controllers);

    const bool wasHidden = masterHidden_;
    if (wasHidden && popover_) popover_->setContentViewController(master());
    updateMasterVisibility();
    // The platform tells a delegate again about the master it hides now.
    if (wasHidden && masterHidden_) tellDelegateMasterHides();
    if (isViewLoaded()) layoutContainer();

    const auto shownAfter = appearanceChildren();
    transitionChildren(minus(shownBefore, shownAfter), minus(shownAfter, shownBefore), false,
                       [self, shownBefore, moves] {
                           for (const auto& controller : shownBefore) self->removeChildViewUnlessShown(controller);
                           self->finishChildMoves(moves, self->controllers_);
                       });
}

void UISplitViewController::setDelegate(const std::shared_ptr<UISplitViewControllerDelegate>& delegate) {
    requireMainForSplitViewController();
    delegate_ = delegate;
    if (!delegate) return;
    const bool wasHidden = masterHidden_;
    updateMasterVisibility();
    if (wasHidden && masterHidden_) tellDelegateMasterHides();
}

void UISplitViewController::updateMasterVisibility() {
    const auto hidden = master();
    const bool hide = isPad() && hidden && UIInterfaceOrientationIsPortrait(interfaceOrientation());
    if (hide && !masterHidden_) {
        masterHidden_ = true;
        std::weak_ptr<UISplitViewController> weakSelf =
            std::static_pointer_cast<UISplitViewController>(shared_from_this());
        barButtonItem_ = UIBarButtonItem::withTitle(hidden->title(), UIBarButtonItemStyle::Bordered,
                                                    [weakSelf](UIBarButtonItem&) {
                                                        auto self = weakSelf.lock();
                                                        if (!self || !self->popover_) return;
                                                        if (self->popover_->isPopoverVisible()) {
                                                            self->popover_->dismissPopoverAnimated(true);
                                                        } else {
                                                            self->popover_->presentPopoverFromBarButtonItem(
                                                                self->barButtonItem_, UIPopoverArrowDirectionAny, true);
                                                        }
                                                    });
        popover_ = std::make_shared<UIPopoverController>(hidden);
        tellDelegateMasterHides();
    } else if (!hide && masterHidden_) {
        masterHidden_ = false;
        auto item = std::move(barButtonItem_);
        auto popover = std::move(popover_);
        if (popover && popover->isPopoverVisible()) popover->dismissPopoverAnimated(false);
        auto delegate = delegate_.lock();
        if (delegate && hidden) delegate->splitViewControllerWillShowViewController(*this, *hidden, item);
    }
}

void UISplitViewController::tellDelegateMasterHides() {
    auto delegate = delegate_.lock();
    auto hidden = master();
    if (!delegate || !hidden || !barButtonItem_) return;
    auto keepAlive = shared_from_this();
    delegate->splitViewControllerWillHideViewController(*this, *hidden, barButtonItem_, popover_);
}

std::vector<UIViewControllerPtr> UISplitViewController::appearanceChildren() const {
    std::vector<UIViewControllerPtr> shown;
    const bool showsMaster = isPad() && !masterHidden_ && !UIInterfaceOrientationIsPortrait(interfaceOrientation());
    if (auto m = master(); m && showsMaster) shown.push_back(m);
    if (auto d = detail()) shown.push_back(d);
    return shown;
}

void UISplitViewController::layoutContainer() {
    if (!isViewLoaded()) return;
    // A rotation hides or shows the master here.
    const auto shownBefore = appearanceChildren();
    updateMasterVisibility();
    const auto shownAfter = appearanceChildren();
    if (shownBefore != shownAfter) {
        transitionChildren(minus(shownBefore, shownAfter), minus(shownAfter, shownBefore), false, [] {});
    }

    const auto& container = view();
    const graphics::Rect bounds = container->bounds();
    const UIEdgeInsets& insets = containerInsets();
    const auto m = master();
    const bool showsMaster = m && containsController(shownAfter, m);
    if (showsMaster) {
        if (m->view()->superview() != container) container->addSubview(m->view());
        placeView(*m, {0, 0, UIContainerLayout::kSplitMasterWidth, bounds.height()}, insets);
        m->view()->setAutoresizingMask(UIViewAutoresizingFlexibleHeight | UIViewAutoresizingFlexibleRightMargin);
    } else if (m && m->isViewLoaded() && m->view()->superview() == container) {
        m->view()->removeFromSuperview();
    }
    if (auto d = detail()) {
        const double x = showsMaster ? UIContainerLayout::kSplitMasterWidth : 0;
        if (d->view()->superview() != container) container->addSubview(d->view());
        placeView(*d, {x, 0, bounds.width() - x, bounds.height()}, insets);
    }
}

}  // namespace uikit
