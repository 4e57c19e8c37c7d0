// The driver finds its targets the way a person does: on the front screen
// only, visible (not hidden, not inside a hidden view), and scrolls a table
// row into view before tapping it. A tap on a button or a point reaches only
// what shows there as the screen is drawn now: nothing fully transparent,
// and nothing another view lies over. Drags go through the scroll view's own
// drag entry points, so its observers and delegate see each step, as they
// would under a finger.
#include "uikit/ScreenDriver.h"

#include <chrono>
#include <cmath>
#include <algorithm>

#include "foundation/Log.h"
#include "foundation/MainThreadChecker.h"
#include "foundation/RunLoop.h"
#include "foundation/URL.h"
#include "uikit/AlertStack.h"
#include "uikit/AlertStackEntry.h"
#include "uikit/NSIndexPath.h"
#include "uikit/UIApplication.h"
#include "uikit/UIBarButtonItem.h"
#include "uikit/UIButton.h"
#include "uikit/UISegmentedControl.h"
#include "uikit/UIToolbar.h"
#include "uikit/UIImage.h"
#include "uikit/UINavigationBar.h"
#include "uikit/UINavigationController.h"
#include "uikit/UINavigationItem.h"
#include "uikit/UIDatePicker.h"
#include "uikit/UIDocumentInteractionController.h"
#include "uikit/UIPickerView.h"
#include "uikit/UIPopoverController.h"
#include "uikit/UIScrollView.h"
#include "uikit/UISearchBar.h"
#include "uikit/UISearchDisplayController.h"
#include "uikit/UISplitViewController.h"
#include "uikit/UIStoryboard.h"
#include "uikit/UISwipeGestureRecognizer.h"
#include "uikit/UISwitch.h"
#include "uikit/UITabBar.h"
#include "uikit/UITabBarController.h"
#include "uikit/UITableView.h"
#include "uikit/UITableViewCell.h"
#include "uikit/UITapGestureRecognizer.h"
#include "uikit/UITextField.h"
#include "uikit/UITextView.h"
#include "uikit/UIViewAnimation.h"
#include "uikit/UIViewController.h"
#include "uikit/UIWebView.h"
#include "uikit/UIWindow.h"

namespace uikit {
namespace {

using graphics::Point;

ScreenDriver::ObjectHandOver& handOverSlot() {
    static ScreenDriver::ObjectHandOver handOver;
    return handOver;
}

std::vector<ScreenDriver::BusyPredicate>& busyPredicates() {
    static std::vector<ScreenDriver::BusyPredicate> predicates;
    return predicates;
}

// How far a pull drags a table beyond its resting top: more than any pull-to-
// refresh control asks for.
constexpr double kPullDistance = 150;
// The steps of a drag, so observers see it move as under a finger.
constexpr int kDragSteps = 10;

// Depth-first over the visible views, front to back in subview order.
template <class T>
std::shared_ptr<T> findView(const std::shared_ptr<UIView>& view, const std::function<bool(T&)>& match) {
    if (!view || view->isHidden()) return nullptr;
    if (auto typed = std::dynamic_pointer_cast<T>(view); typed && match(*typed)) return typed;
    for (const auto& subview : view->subviews())
        if (auto found = findView<T>(subview, match)) return found;
    return nullptr;
}

// Every visible match, depth-first in subview order.
template <class T>
void collectVisibleViews(const std::shared_ptr<UIView>& view, const std::function<bool(T&)>& match,
                         std::vector<std::shared_ptr<T>>& found) {
    if (!view || view->isHidden()) return;
    if (auto typed = std::dynamic_pointer_cast<T>(view); typed && match(*typed)) found.push_back(typed);
    for (const auto& subview : view->subviews()) collectVisibleViews<T>(subview, match, found);
}

template <class T>
std::shared_ptr<T> firstView(const std::shared_ptr<UIView>& view) {
    return findView<T>(view, [](T&) { return true; });
}

bool isAllDigits(const std::string& text) {
    if (text.empty()) return false;
    for (char c : text)
        if (c < '0' || c > '9') return false;
    return true;
}

// The controller presented by this one or by any controller inside it.
UIViewControllerPtr presentedFrom(const UIViewController& controller) {
    if (controller.presentedViewController()) return controller.presentedViewController();
    for (const auto& child : controller.childViewControllers())
        if (auto found = presentedFrom(*child)) return found;
    return nullptr;
}

// The content of the topmost open popover; with `below`, only of one shown
// above the window's subview that holds that view (a popover a presented
// screen opened).
UIViewControllerPtr openPopoverContent(const UIWindow& window, const UIView* below = nullptr) {
    const UIView* stop = below;
    while (stop && stop->superview().get() != &window) stop = stop->superview().get();
    if (below && !stop) return nullptr;
    for (auto it = window.subviews().rbegin(); it != window.subviews().rend(); ++it) {
        if (it->get() == stop) return nullptr;
        if ((*it)->className() != "UIPopoverView" || (*it)->isHidden()) continue;
        for (const auto& inside : (*it)->subviews())
            if (auto content = std::dynamic_pointer_cast<UIViewController>(inside->viewController())) return content;
    }
    return nullptr;
}

std::shared_ptr<UITabBarController> findTabBarController(const UIViewControllerPtr& controller) {
    if (!controller) return nullptr;
    if (auto tabs = std::dynamic_pointer_cast<UITabBarController>(controller)) return tabs;
    for (const auto& child : controller->childViewControllers())
        if (child->isOnScreen())
            if (auto tabs = findTabBarController(child)) return tabs;
    return nullptr;
}

// Whether a person can reach the view: in the window and neither it nor a
// view around it hidden (a split view's hidden master pane is in no window).
bool reachableOnScreen(const UIView& view) {
    if (!view.window()) return false;
    for (const UIView* v = &view; v; v = v->superview().get())
        if (v->isHidden()) return false;
    return true;
}

Point centreInWindow(const UIView& view) {
    auto bounds = view.bounds();
    return view.convertPointToView({bounds.origin.x + bounds.size.width / 2, bounds.origin.y + bounds.size.height / 2},
                                   nullptr);
}

// Whether a tap at the point (window coordinates) lands on the view or on
// a view inside it: hit-testing passes over what is hidden, fully
// transparent or closed to touches, and stops at whatever lies in front.
// Called inside a UIViewPresentation: a view part way through an animation
// is where, and as opaque as, a person sees it.
bool tapLandsOn(UIWindow& window, const UIView& view, Point point) {
    for (auto hit = window.hitTest(point); hit; hit = hit->superview())
        if (hit.get() == &view) return true;
    return false;
}

// Where a tap reaches the view, in window coordinates: its middle, else the
// point of a grid over it nearest the middle that nothing covers; none when
// a tap reaches it nowhere. Inside a UIViewPresentation, as above.
std::optional<Point> pointReaching(UIWindow& window, const UIView& view) {
    constexpr int kGrid = 8;
    const auto bounds = view.bounds();
    const Point middle{bounds.origin.x + bounds.size.width / 2, bounds.origin.y + bounds.size.height / 2};
    std::vector<Point> points;
    for (int row = 0; row < kGrid; ++row)
        for (int column = 0; column < kGrid; ++column)
            points.push_back({bounds.origin.x + bounds.size.width * (column + 0.5) / kGrid,
                              bounds.origin.y + bounds.size.height * (row + 0.5) / kGrid});
    auto distance = [&](const Point& p) { return std::hypot(p.x - middle.x, p.y - middle.y); };
    std::stable_sort(points.begin(), points.end(),
                     [&](const Point& a, const Point& b) { return distance(a) < distance(b); });
    points.insert(points.begin(), middle);
    for (const auto& point : points) {
        const Point inWindow = view.convertPointToView(point, nullptr);
        if (tapLandsOn(window, view, inWindow)) return inWindow;
    }
    return std::nullopt;
}

// Why a tap reaches the view nowhere, as a person would put it. Inside a
// UIViewPresentation, as above.
std::string outOfReachReason(UIWindow& window, const UIView& view) {
    for (const UIView* v = &view; v; v = v->superview().get()) {
        if (v->isHidden()) return "hidden";
        if (v->alpha() < 0.01) return "fully transparent";
        if (!v->isUserInteractionEnabled()) return "not taking touches";
    }
    const Point middle = centreInWindow(view);
    auto hit = view.window() && window.bounds().contains(middle) ? window.hitTest(middle) : nullptr;
    if (!hit) return "off the screen";
    for (auto around = view.superview(); around; around = around->superview())
        if (around == hit) return "outside the view that holds it";
    return "covered by " + hit->className();
}

// Scrolls each scroll view around `from` by as little as brings the view
// into its shown area, as a person scrolls a page to reach a row of a
// table fixed in place inside it.
void revealInEnclosingScrollViews(const UIView& view, const UIView& from) {
    for (auto around = from.superview(); around; around = around->superview()) {
        auto scrollView = std::dynamic_pointer_cast<UIScrollView>(around);
        if (!scrollView || !scrollView->isScrollEnabled()) continue;
        // In the scroll view's bounds, whose origin is its offset.
        const auto rect = view.convertRectToView(view.bounds(), scrollView.get());
        const auto& inset = scrollView->contentInset();
        const double offset = scrollView->contentOffset().y;
        const double height = scrollView->bounds().size.height;
        double y = offset;
        if (rect.origin.y < offset + inset.top)
            y = rect.origin.y - inset.top;
        else if (rect.origin.y + rect.size.height > offset + height - inset.bottom)
            y = rect.origin.y + rect.size.height - height + inset.bottom;
        y = std::clamp(y, scrollView->minimumContentOffset().y, scrollView->maximumContentOffset().y);
        if (y != offset) scrollView->setContentOffset({scrollView->contentOffset().x, y});
    }
}

// Drags the scroll view to the offset in even steps, then releases it.
bool dragTo(UIScrollView& scrollView, Point target) {
    if (!scrollView.beginDragging()) return false;
    Point start = scrollView.contentOffset();
    for (int step = 1; step <= kDragSteps; ++step) {
        double f = static_cast<double>(step) / kDragSteps;
        scrollView.dragToContentOffset({start.x + (target.x - start.x) * f, start.y + (target.y - start.y) * f});
    }
    scrollView.endDragging();
    return true;
}

// A person cannot touch what an alert or action sheet covers.
bool coveredByAlert() { return AlertStack::shared().front() != nullptr; }

bool anyWebViewLoading(const std::shared_ptr<UIView>& view) {
    if (!view) return false;
    if (auto web = std::dynamic_pointer_cast<UIWebView>(view); web && web->isLoading()) return true;
    for (const auto& subview : view->subviews())
        if (anyWebViewLoading(subview)) return true;
    return false;
}

}  // namespace

std::shared_ptr<UIWindow> ScreenDriver::window() const { return UIApplication::sharedApplication().keyWindow(); }

std::shared_ptr<UIViewController> ScreenDriver::frontViewController() const {
    foundation::requireMainThread("ScreenDriver");
    auto win = window();
    if (!win || !win->rootViewController()) return nullptr;
    UIViewControllerPtr front = win->rootViewController();
    UIViewControllerPtr top;
    for (auto presented = presentedFrom(*front); presented; presented = presentedFrom(*presented)) top = presented;
    if (top) {
        front = top;
        if (top->isViewLoaded())
            if (auto content = openPopoverContent(*win, top->view().get())) front = content;
    } else if (auto content = openPopoverContent(*win)) {
        front = content;
    }
    // A screen the popover's content presented covers it.
    if (front != win->rootViewController())
        for (auto presented = presentedFrom(*front); presented; presented = presentedFrom(*presented)) front = presented;
    for (;;) {
        if (auto split = std::dynamic_pointer_cast<UISplitViewController>(front)) {
            const auto& sides = split->viewControllers();
            size_t index = side_ == Side::Master ? 0 : 1;
            if (index >= sides.size()) break;
            front = sides[index];
        } else if (auto tabs = std::dynamic_pointer_cast<UITabBarController>(front)) {
            auto selected = tabs->selectedViewController();
            if (!selected) break;
            front = selected;
        } else if (auto nav = std::dynamic_pointer_cast<UINavigationController>(front)) {
            auto topController = nav->topViewController();
            if (!topController) break;
            front = topController;
        } else {
            break;
        }
    }
    return front;
}

std::shared_ptr<UIViewController> ScreenDriver::reachableFrontViewController() const {
    auto front = frontViewController();
    // A view not loaded is on no screen; asking for it would load it (and
    // run the screen's start, which a failed action must not do).
    return front && front->isViewLoaded() && reachableOnScreen(*front->view()) ? front : nullptr;
}

std::shared_ptr<UIView> ScreenDriver::frontView() const {
    auto front = reachableFrontViewController();
    return front ? front->view() : nullptr;
}

ScreenDriver::OpenResult ScreenDriver::openScene(const std::string& identifier,
                                                 const std::vector<std::string>& storyboardNames,
                                                 const std::optional<std::pair<std::string, std::string>>& object) {
    std::shared_ptr<UIStoryboard> storyboard;
    for (const auto& name : storyboardNames) {
        if (!UIStoryboard::hasStoryboardNamed(name)) continue;
        auto candidate = UIStoryboard::storyboardWithName(name);
        if (candidate->hasScene(identifier)) {
            storyboard = candidate;
            break;
        }
    }
    if (!storyboard) return OpenResult::UnknownScene;
    if (object && !objectHandOver()) return OpenResult::NoHandOver;
    // Nothing is made for a screen a person cannot reach.
    if (frontViewController() && !reachableFrontViewController()) return OpenResult::OutOfReach;
    auto controller = storyboard->instantiateViewControllerWithIdentifier(identifier);
    if (object) {
        switch (objectHandOver()(*controller, object->first, object->second)) {
            case HandOver::Taken: break;
            case HandOver::TakesNoObject: return OpenResult::TakesNoObject;
            case HandOver::NoSuchObject: return OpenResult::NoSuchObject;
        }
    }
    auto front = frontViewController();
    if (!front) {
        auto win = window();
        if (!win) return OpenResult::UnknownScene;
        win->setRootViewController(controller);
        return OpenResult::Opened;
    }
    if (auto nav = front->navigationController()) {
        nav->pushViewController(controller, true);
        return OpenResult::Opened;
    }
    // A screen pushes its next one on its navigation controller: presented
    // alone, its first row would have nowhere to go.
    const bool container = std::dynamic_pointer_cast<UINavigationController>(controller) ||
                           std::dynamic_pointer_cast<UITabBarController>(controller) ||
                           std::dynamic_pointer_cast<UISplitViewController>(controller);
    UIViewControllerPtr shown = controller;
    if (!container) shown = UINavigationController::withRootViewController(controller);
    front->presentViewController(shown, true);
    return OpenResult::Opened;
}

void ScreenDriver::setObjectHandOver(ObjectHandOver handOver) { handOverSlot() = std::move(handOver); }

const ScreenDriver::ObjectHandOver& ScreenDriver::objectHandOver() { return handOverSlot(); }

std::shared_ptr<UITableView> ScreenDriver::frontTable() const { return firstView<UITableView>(frontView()); }

std::shared_ptr<UITableViewCell> ScreenDriver::rowInView(int64_t section, int64_t row,
                                                         std::shared_ptr<UITableView>* tableOut,
                                                         std::shared_ptr<UITableView> in) {
    auto table = in ? std::move(in) : frontTable();
    if (!table || section < 0 || row < 0 || section >= table->numberOfSections() ||
        row >= table->numberOfRowsInSection(section))
        return nullptr;
    auto indexPath = NSIndexPath::indexPathForRow(row, section);
    table->scrollToRowAtIndexPath(indexPath, UITableViewScrollPosition::None, false);
    if (tableOut) *tableOut = table;
    auto cell = table->cellForRowAtIndexPath(indexPath);
    if (cell) revealInEnclosingScrollViews(*cell, *table);
    return cell;
}

std::shared_ptr<UITableViewCell> ScreenDriver::cellInView(int64_t section, int64_t row,
                                                          const std::optional<std::string>& outlet) {
    if (!outlet) return rowInView(section, row, nullptr);
    auto named = [&](UIView& view) { return view.outletName() == *outlet; };
    auto holdsOutlet = [&](const std::shared_ptr<UITableViewCell>& cell) {
        return cell && findView<UIView>(cell, named) != nullptr;
    };
    // The table is chosen before anything scrolls: by the row's cell when it
    // is built, else by a built row of the same table holding such a view.
    std::vector<std::shared_ptr<UITableView>> tables;
    collectVisibleViews<UITableView>(frontView(), [](UITableView&) { return true; }, tables);
    for (const auto& table : tables) {
        if (section < 0 || row < 0 || section >= table->numberOfSections() ||
            row >= table->numberOfRowsInSection(section))
            continue;
        bool holds = holdsOutlet(table->cellForRowAtIndexPath(NSIndexPath::indexPathForRow(row, section)));
        for (const auto& cell : table->visibleCells()) holds = holds || holdsOutlet(cell);
        if (holds) return rowInView(section, row, nullptr, table);
    }
    return rowInView(section, row, nullptr);
}

std::shared_ptr<UISearchBar> ScreenDriver::frontSearchBar() const {
    auto front = reachableFrontViewController();
    if (!front) return nullptr;
    if (const auto& search = front->searchDisplayController(); search && search->searchBar()) {
        const auto& bar = search->searchBar();
        // Out of reach when hidden or inside a hidden view.
        for (auto view = std::static_pointer_cast<UIView>(bar); view; view = view->superview())
            if (view->isHidden()) return nullptr;
        return bar;
    }
    return firstView<UISearchBar>(front->view());
}

std::shared_ptr<UITableView> ScreenDriver::frontSearchResultsTable() const {
    auto front = reachableFrontViewController();
    if (!front) return nullptr;
    const auto& search = front->searchDisplayController();
    if (!search || !search->isActive() || !search->isSearchResultsTableViewShown()) return nullptr;
    return search->searchResultsTableView();
}

bool ScreenDriver::search(const std::string& text) {
    if (coveredByAlert()) return false;
    auto bar = frontSearchBar();
    if (!bar || !bar->becomeFirstResponder()) return false;
    return bar->typeText(text);
}

bool ScreenDriver::scope(int64_t index) {
    if (coveredByAlert()) return false;
    auto bar = frontSearchBar();
    return bar && bar->tapScopeButton(index);
}

bool ScreenDriver::endSearch() {
    if (coveredByAlert()) return false;
    auto bar = frontSearchBar();
    return bar && bar->tapCancelButton();
}

bool ScreenDriver::tapSearchResultRow(int64_t section, int64_t row) {
    if (coveredByAlert()) return false;
    auto table = frontSearchResultsTable();
    if (!table || section < 0 || row < 0 || section >= table->numberOfSections() ||
        row >= table->numberOfRowsInSection(section))
        return false;
    auto indexPath = NSIndexPath::indexPathForRow(row, section);
    table->scrollToRowAtIndexPath(indexPath, UITableViewScrollPosition::None, false);
    if (!table->cellForRowAtIndexPath(indexPath)) return false;
    table->tapRowAtIndexPath(indexPath);
    return true;
}

bool ScreenDriver::tapRow(int64_t section, int64_t row) {
    if (coveredByAlert()) return false;
    std::shared_ptr<UITableView> table;
    if (!rowInView(section, row, &table)) return false;
    table->tapRowAtIndexPath(NSIndexPath::indexPathForRow(row, section));
    return true;
}

bool ScreenDriver::deleteRow(int64_t section, int64_t row) {
    if (coveredByAlert()) return false;
    std::shared_ptr<UITableView> table;
    if (!rowInView(section, row, &table)) return false;
    return table->swipeToDeleteRowAtIndexPath(NSIndexPath::indexPathForRow(row, section));
}

std::vector<std::shared_ptr<UIButton>> ScreenDriver::visibleButtonsTitled(const std::string& title) const {
    std::function<bool(UIButton&)> matches = [&](UIButton& button) { return button.currentTitle() == title; };
    std::vector<std::shared_ptr<UIButton>> found;
    if (auto entry = AlertStack::shared().front()) {
        for (const auto& view : entry->accessoryViews()) collectVisibleViews<UIButton>(view, matches, found);
        return found;
    }
    collectVisibleViews<UIButton>(frontView(), matches, found);
    return found;
}

bool ScreenDriver::tapButton(const std::string& title) {
    auto win = window();
    std::vector<std::shared_ptr<UIButton>> reachable;
    {
        // Only looked at: the tap comes after the shown values are put back.
        UIViewPresentation shown;
        for (const auto& button : visibleButtonsTitled(title))
            // An alert's accessory views are above everything on the screen.
            if (coveredByAlert() || (win && pointReaching(*win, *button))) reachable.push_back(button);
    }
    // Several of the same title: which one a person means is not known.
    if (reachable.size() != 1) return false;
    reachable.front()->tap();
    return true;
}

std::vector<ScreenDriver::ButtonPlace> ScreenDriver::buttonsTitled(const std::string& title) const {
    auto win = window();
    UIViewPresentation shown;
    std::vector<ButtonPlace> places;
    for (const auto& button : visibleButtonsTitled(title)) {
        ButtonPlace place{centreInWindow(*button), std::nullopt, {}};
        if (!coveredByAlert()) {
            auto point = win ? pointReaching(*win, *button) : std::nullopt;
            if (point)
                place.point = *point;
            else
                place.outOfReach = win ? outOfReachReason(*win, *button) : "off the screen";
        }
        for (auto view = button->superview(); view; view = view->superview()) {
            auto cell = std::dynamic_pointer_cast<UITableViewCell>(view);
            if (!cell) continue;
            if (auto table = std::dynamic_pointer_cast<UITableView>(cell->superview()))
                if (auto path = table->indexPathForCell(*cell)) place.row = std::make_pair(path->section, path->row);
            break;
        }
        places.push_back(place);
    }
    // In reading order, top to bottom, whatever the order of the subviews.
    std::stable_sort(places.begin(), places.end(), [](const ButtonPlace& a, const ButtonPlace& b) {
        return a.point.y != b.point.y ? a.point.y < b.point.y : a.point.x < b.point.x;
    });
    return places;
}

namespace {

// A custom-view button answers by its normal image or title, whatever state
// it is in, and is what is tapped.
std::shared_ptr<UIButton> customButtonOfItem(const UIBarButtonItemPtr& candidate) {
    return std::dynamic_pointer_cast<UIButton>(candidate->customView());
}

}  // namespace

std::shared_ptr<UIBarButtonItem> ScreenDriver::findItem(const std::string& titleOrImageName) const {
    auto front = reachableFrontViewController();
    if (!front) return nullptr;
    std::vector<std::shared_ptr<UINavigationItem>> items;
    if (auto nav = front->navigationController()) items.push_back(nav->navigationBar()->topItem());
    else items.push_back(front->navigationItem());
    // A screen with a navigation bar of its own (not in a navigation controller).
    if (auto bar = firstView<UINavigationBar>(front->view())) items.push_back(bar->topItem());
    auto matches = [&](const UIBarButtonItemPtr& candidate) {
        if (!candidate || candidate->isSpace()) return false;
        if (candidate->displayTitle() == titleOrImageName) return true;
        if (auto button = customButtonOfItem(candidate)) {
            auto image = button->imageForState(UIControlStateNormal);
            return button->titleForState(UIControlStateNormal) == titleOrImageName ||
                   (image && image->name() == titleOrImageName);
        }
        return candidate->image() && candidate->image()->name() == titleOrImageName;
    };
    for (const auto& item : items) {
        if (!item) continue;
        for (const auto* list : {&item->leftBarButtonItems(), &item->rightBarButtonItems()})
            for (const auto& candidate : *list)
                if (matches(candidate)) return candidate;
    }
    if (auto toolbar = findView<UIToolbar>(frontView(), [](UIToolbar& bar) { return !bar.isHidden(); }))
        for (const auto& candidate : toolbar->items())
            if (matches(candidate)) return candidate;
    return nullptr;
}

bool ScreenDriver::tapItem(const std::string& titleOrImageName) {
    if (coveredByAlert()) return false;
    auto item = findItem(titleOrImageName);
    if (!item) return false;
    if (auto button = customButtonOfItem(item)) button->tap();
    else item->tap();
    return true;
}

bool ScreenDriver::hasItem(const std::string& titleOrImageName) const {
    return !coveredByAlert() && findItem(titleOrImageName) != nullptr;
}

bool ScreenDriver::dismissPopover() {
    if (coveredByAlert()) return false;
    if (auto menu = UIDocumentInteractionController::shownMenu()) {
        menu->dismissMenuAnimated(true);
        return true;
    }
    auto win = window();
    if (!win) return false;
    // The clear layer under the front popover takes a tap outside it.
    for (auto it = win->subviews().rbegin(); it != win->subviews().rend(); ++it) {
        if ((*it)->className() != "UIDimmingView" || (*it)->isHidden()) continue;
        for (const auto& recognizer : (*it)->gestureRecognizers())
            if (auto tap = std::dynamic_pointer_cast<UITapGestureRecognizer>(recognizer); tap && tap->isEnabled())
                return tap->fireAtPoint({0, 0}), true;
    }
    return false;
}

bool ScreenDriver::segment(int64_t index) {
    if (coveredByAlert() || index < 0) return false;
    auto front = reachableFrontViewController();
    if (!front) return false;
    auto any = [](UISegmentedControl&) { return true; };
    std::shared_ptr<UISegmentedControl> control;
    std::shared_ptr<UINavigationItem> item;
    if (auto nav = front->navigationController()) item = nav->navigationBar()->topItem();
    else item = front->navigationItem();
    if (item && item->titleView()) control = findView<UISegmentedControl>(item->titleView(), any);
    if (!control) control = findView<UISegmentedControl>(frontView(), any);
    return control && control->tapSegmentAtIndex(static_cast<size_t>(index));
}

bool ScreenDriver::tapTab(int64_t index) {
    if (coveredByAlert()) return false;
    auto win = window();
    if (!win || index < 0) return false;
    auto tabs = findTabBarController(win->rootViewController());
    if (!tabs || index >= static_cast<int64_t>(tabs->viewControllers().size())) return false;
    tabs->tabBar()->tapItemAtIndex(static_cast<size_t>(index));
    return true;
}

bool ScreenDriver::tapAt(Point point) {
    if (coveredByAlert()) return false;
    auto win = window();
    if (!win) return false;
    // What is under the finger as shown now (a view part way through an
    // animation where it is seen); the tap comes after the shown values are
    // put back.
    std::vector<std::pair<std::shared_ptr<UIView>, Point>> underFinger;
    {
        UIViewPresentation shown;
        for (auto view = win->hitTest(point); view; view = view->superview())
            underFinger.emplace_back(view, view->convertPointFromView(point, nullptr));
    }
    for (const auto& [view, local] : underFinger) {
        if (!view->isUserInteractionEnabled()) continue;
        if (auto control = std::dynamic_pointer_cast<UIControl>(view)) return control->tapAtPoint(local), true;
        if (auto cell = std::dynamic_pointer_cast<UITableViewCell>(view)) {
            if (auto table = std::dynamic_pointer_cast<UITableView>(cell->superview()))
                if (auto indexPath = table->indexPathForCell(*cell)) return table->tapRowAtIndexPath(*indexPath), true;
        }
        for (const auto& recognizer : view->gestureRecognizers())
            if (auto tap = std::dynamic_pointer_cast<UITapGestureRecognizer>(recognizer); tap && tap->isEnabled())
                return tap->fireAtPoint(local), true;
        if (view.get() == win.get()) break;
    }
    return false;
}

bool ScreenDriver::answerAlert(const std::string& titleOrIndex) {
    auto entry = AlertStack::shared().front();
    if (!entry) return false;
    int64_t index = entry->indexOfButtonWithTitle(titleOrIndex);
    if (index < 0 && isAllDigits(titleOrIndex) && titleOrIndex.size() < 10) index = std::stoll(titleOrIndex);
    if (index < 0 || index >= entry->numberOfButtons()) return false;
    entry->tapButtonAtIndex(index);
    return true;
}

bool ScreenDriver::clickLink(const std::string& url) {
    if (coveredByAlert()) return false;
    auto web = firstView<UIWebView>(frontView());
    if (!web) return false;
    const auto links = web->linkURLs();
    if (std::find(links.begin(), links.end(), url) == links.end()) return false;
    // The page's delegate may take the link over and refuse the load: the
    // click still happened.
    web->clickLink(url);
    return true;
}

std::shared_ptr<UIView> ScreenDriver::findField(const std::string& name) const {
    auto byName = [&](UIView& view) {
        if (view.outletName() == name) return true;
        if (auto field = dynamic_cast<UITextField*>(&view)) return field->placeholder() == name;
        return false;
    };
    auto field = findView<UIView>(frontView(), [&](UIView& view) {
        return (dynamic_cast<UITextField*>(&view) || dynamic_cast<UITextView*>(&view)) && byName(view);
    });
    return field;
}

bool ScreenDriver::typeText(const std::string& field, const std::string& text) {
    if (coveredByAlert()) return false;
    auto view = findField(field);
    if (!view) return false;
    if (auto textField = std::dynamic_pointer_cast<UITextField>(view)) textField->typeText(text);
    else if (auto textView = std::dynamic_pointer_cast<UITextView>(view)) textView->typeText(text);
    return true;
}

bool ScreenDriver::clearField(const std::string& field) {
    if (coveredByAlert()) return false;
    auto view = findField(field);
    if (!view) return false;
    // Deleting backwards goes through the delegate as a person's deletes do;
    // a refused delete ends it. A person taps the field first, as typing does.
    if (auto textField = std::dynamic_pointer_cast<UITextField>(view)) {
        if (!textField->becomeFirstResponder()) return false;
        while (textField->text() && !textField->text()->empty())
            if (!textField->deleteBackward()) break;
    } else if (auto textView = std::dynamic_pointer_cast<UITextView>(view)) {
        if (!textView->becomeFirstResponder()) return false;
        while (!textView->text().empty())
            if (!textView->deleteBackward()) break;
    }
    return true;
}

bool ScreenDriver::pressReturn(const std::string& field) {
    if (coveredByAlert()) return false;
    auto textField = std::dynamic_pointer_cast<UITextField>(findField(field));
    if (!textField) return false;
    textField->pressReturn();
    return true;
}

bool ScreenDriver::setSwitch(int64_t section, int64_t row, bool on) {
    if (coveredByAlert()) return false;
    auto cell = rowInView(section, row, nullptr);
    if (!cell) return false;
    auto toggle = firstView<UISwitch>(cell->accessoryView());
    if (!toggle) toggle = firstView<UISwitch>(cell);
    if (!toggle) return false;
    if (toggle->isOn() != on) toggle->tap();
    return true;
}

bool ScreenDriver::pickRow(int64_t row) {
    if (coveredByAlert()) return false;
    auto picker = firstView<UIPickerView>(frontView());
    return picker && picker->chooseRow(row, 0);
}

bool ScreenDriver::pickDate(foundation::Date date) {
    if (coveredByAlert()) return false;
    auto picker = firstView<UIDatePicker>(frontView());
    return picker && picker->chooseDate(date);
}

bool ScreenDriver::swipe(SwipeDirection direction, std::optional<Point> point) {
    if (coveredByAlert()) return false;
    auto win = window();
    if (!win) return false;
    if (!point) {
        auto view = frontView();
        if (!view) return false;
        point = centreInWindow(*view);
    }
    UISwipeGestureRecognizerDirection wanted =
        direction == SwipeDirection::Left ? UISwipeGestureRecognizerDirectionLeft : UISwipeGestureRecognizerDirectionRight;
    bool fired = false;
    for (auto view = win->hitTest(*point); view; view = view->superview()) {
        Point local = view->convertPointFromView(*point, nullptr);
        for (const auto& recognizer : view->gestureRecognizers()) {
            auto swipeRecognizer = std::dynamic_pointer_cast<UISwipeGestureRecognizer>(recognizer);
            if (swipeRecognizer && (swipeRecognizer->direction() & wanted) && swipeRecognizer->fireAtPoint(local, wanted))
                fired = true;
        }
    }
    return fired;
}

bool ScreenDriver::pull() {
    if (coveredByAlert()) return false;
    std::shared_ptr<UIScrollView> scrollView = frontTable();
    if (!scrollView) scrollView = firstView<UIScrollView>(frontView());
    if (!scrollView) return false;
    return dragTo(*scrollView, {scrollView->contentOffset().x, -scrollView->contentInset().top - kPullDistance});
}

bool ScreenDriver::scroll(std::optional<double> x, double y, const std::optional<std::string>& outlet) {
    if (coveredByAlert()) return false;
    std::shared_ptr<UIScrollView> scrollView;
    if (outlet)
        scrollView = findView<UIScrollView>(frontView(), [&](UIScrollView& view) { return view.outletName() == outlet; });
    else
        // What is on top: the results table while a search shows it.
        scrollView = frontSearchResultsTable();
    // Else the first table that a finger moves, else the screen's own scroll
    // view (tables fixed in place inside it move with it).
    if (!outlet && !scrollView)
        scrollView = findView<UITableView>(frontView(), [](UITableView& table) { return table.isScrollEnabled(); });
    if (!outlet && !scrollView)
        scrollView = findView<UIScrollView>(frontView(), [](UIScrollView& view) { return view.isScrollEnabled(); });
    if (!scrollView) return false;
    return dragTo(*scrollView, {x.value_or(scrollView->contentOffset().x), y});
}

bool ScreenDriver::back() {
    if (coveredByAlert()) return false;
    auto front = reachableFrontViewController();
    auto nav = front ? front->navigationController() : nullptr;
    return nav && nav->navigationBar()->tapBackButton();
}

bool ScreenDriver::rotate(UIDeviceOrientation orientation) {
    UIDevice::currentDevice().rotateToOrientation(orientation);
    return true;
}

bool ScreenDriver::settle(double quietSeconds, double limitSeconds) {
    using SteadyClock = std::chrono::steady_clock;
    auto seconds = [](SteadyClock::duration d) { return std::chrono::duration<double>(d).count(); };
    auto& loop = foundation::RunLoop::main();
    const auto start = SteadyClock::now();
    auto lastTask = start;
    for (;;) {
        if (loop.runDueTasks() > 0) {
            lastTask = SteadyClock::now();
            continue;
        }
        auto now = SteadyClock::now();
        bool busy = anyWebViewLoading(window());
        for (const auto& predicate : busyPredicates()) busy = busy || predicate();
        if (!busy && seconds(now - lastTask) >= quietSeconds) return true;
        if (seconds(now - start) >= limitSeconds) {
            foundation::Log("ScreenDriver: the screen did not settle within %g s", limitSeconds);
            return false;
        }
        // Work on other threads posts back to this loop: wait for a post (or
        // the loop's own looks at a busy flag) rather than spinning, at most
        // until the quiet time would be reached.
        double wait = busy ? quietSeconds : quietSeconds - seconds(now - lastTask);
        wait = std::min(std::max(wait, 0.001), limitSeconds - seconds(now - start));
        uint64_t ran = loop.workRun();
        loop.runUntil([&] { return loop.workRun() != ran; }, wait);
        if (loop.workRun() != ran) lastTask = SteadyClock::now();
    }
}

void ScreenDriver::addBusyPredicate(BusyPredicate predicate) { busyPredicates().push_back(std::move(predicate)); }

void ScreenDriver::clearBusyPredicates() { busyPredicates().clear(); }

}  // namespace uikit
