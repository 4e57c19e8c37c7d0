// The results table stands over the contents below the bar: inside the
// contents controller's view, or beside it in its superview when that view
// scrolls (a table screen), so that it stays put while the list scrolls.
#include "uikit/UISearchDisplayController.h"

#include <algorithm>

#include "foundation/MainThreadChecker.h"
#include "uikit/UISearchBar.h"
#include "uikit/UIScrollView.h"
#include "uikit/UITableView.h"
#include "uikit/UIViewController.h"

namespace uikit {

std::shared_ptr<UISearchDisplayController> UISearchDisplayController::create(
    const std::shared_ptr<UISearchBar>& searchBar, const std::shared_ptr<UIViewController>& contentsController) {
    foundation::requireMainThread("UISearchDisplayController");
    std::shared_ptr<UISearchDisplayController> controller(new UISearchDisplayController(searchBar, contentsController));
    if (searchBar) searchBar->setSearchDisplayController(controller);
    if (contentsController) contentsController->setSearchDisplayController(controller);
    return controller;
}

UISearchDisplayController::UISearchDisplayController(std::shared_ptr<UISearchBar> searchBar,
                                                     std::weak_ptr<UIViewController> contents)
    : searchBar_(std::move(searchBar)), contentsController_(std::move(contents)) {}

UISearchDisplayController::~UISearchDisplayController() {
    if (resultsTable_) resultsTable_->removeFromSuperview();
}

void UISearchDisplayController::setSearchResultsDataSource(const std::shared_ptr<UITableViewDataSource>& dataSource) {
    dataSource_ = dataSource;
    if (resultsTable_) resultsTable_->setDataSource(dataSource);
}

void UISearchDisplayController::setSearchResultsDelegate(const std::shared_ptr<UITableViewDelegate>& delegate) {
    tableDelegate_ = delegate;
    if (resultsTable_) resultsTable_->setDelegate(delegate);
}

const std::shared_ptr<UITableView>& UISearchDisplayController::searchResultsTableView() {
    if (resultsTable_) return resultsTable_;
    resultsTable_ = std::make_shared<UITableView>(graphics::Rect{}, UITableViewStyle::Plain);
    resultsTable_->setOutletName(std::string(kResultsTableOutletName));
    // Opaque, so the contents it covers do not show through between its rows.
    resultsTable_->setBackgroundColor(graphics::Color::white());
    resultsTable_->setAutoresizingMask(UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
    resultsTable_->setDataSource(dataSource_.lock());
    resultsTable_->setDelegate(tableDelegate_.lock());
    // Keep the table alive across the call, whatever the delegate does.
    auto table = resultsTable_;
    if (auto delegate = delegate_.lock()) delegate->searchDisplayControllerDidLoadSearchResultsTableView(*this, *table);
    return resultsTable_;
}

bool UISearchDisplayController::isSearchResultsTableViewShown() const {
    return resultsTable_ && resultsTable_->superview() != nullptr;
}

void UISearchDisplayController::setActive(bool visible, bool animated) {
    foundation::requireMainThread("UISearchDisplayController");
    if (visible == active_) return;
    auto self = std::static_pointer_cast<UISearchDisplayController>(shared_from_this());
    auto delegate = delegate_.lock();
    if (visible) {
        if (delegate) delegate->searchDisplayControllerWillBeginSearch(*this);
        active_ = true;
        if (searchBar_) {
            searchBar_->setShowsCancelButton(true, animated);
            if (!searchBar_->scopeButtonTitles().empty()) searchBar_->setShowsScopeBar(true);
            resizeBar();
            bringBarIntoView();
            if (!searchBar_->isEditing()) searchBar_->becomeFirstResponder();
        }
        updateResultsVisibility();
        if (delegate) delegate->searchDisplayControllerDidBeginSearch(*this);
        return;
    }
    if (delegate) delegate->searchDisplayControllerWillEndSearch(*this);
    hideResultsTable();
    active_ = false;
    if (searchBar_) {
        searchBar_->resignFirstResponder();
        searchBar_->setText(std::string());
        searchBar_->setShowsCancelButton(false, animated);
        searchBar_->setShowsScopeBar(false);
        resizeBar();
    }
    if (delegate) delegate->searchDisplayControllerDidEndSearch(*this);
    unloadResultsTable();
}

void UISearchDisplayController::searchBarDidBeginEditing() { setActive(true, true); }

void UISearchDisplayController::searchBarTextDidChange() {
    auto self = shared_from_this();
    if (!active_) setActive(true, true);
    bool reload = true;
    if (auto delegate = delegate_.lock())
        reload = delegate->searchDisplayControllerShouldReloadTableForSearchString(
            *this, searchBar_ ? std::optional<std::string>(searchBar_->text()) : std::nullopt);
    reloadResultsIfAllowed(reload);
    updateResultsVisibility();
}

void UISearchDisplayController::searchBarSelectedScopeDidChange() {
    auto self = shared_from_this();
    bool reload = true;
    if (auto delegate = delegate_.lock())
        reload = delegate->searchDisplayControllerShouldReloadTableForSearchScope(
            *this, searchBar_ ? searchBar_->selectedScopeButtonIndex() : 0);
    reloadResultsIfAllowed(reload);
}

void UISearchDisplayController::searchBarCancelButtonClicked() {
    auto self = shared_from_this();
    setActive(false, true);
}

void UISearchDisplayController::reloadResultsIfAllowed(bool allowed) {
    if (allowed) searchResultsTableView()->reloadData();
}

void UISearchDisplayController::updateResultsVisibility() {
    if (active_ && searchBar_ && !searchBar_->text().empty()) showResultsTable();
    else hideResultsTable();
}

void UISearchDisplayController::showResultsTable() {
    auto contents = contentsController_.lock();
    if (!contents || isSearchResultsTableViewShown()) return;
    auto table = searchResultsTableView();
    const auto& view = contents->view();
    std::shared_ptr<UIView> host = view;
    if (std::dynamic_pointer_cast<UIScrollView>(view) && view->superview()) host = view->superview();
    graphics::Rect area = host == view ? view->bounds() : view->frame();
    double top = area.origin.y;
    if (searchBar_ && searchBar_->superview()) {
        graphics::Rect bar = searchBar_->convertRectToView(searchBar_->bounds(), host.get());
        top = std::max(top, bar.origin.y + bar.size.height);
    }
    double bottom = area.origin.y + area.size.height;
    table->setFrame({area.origin.x, top, area.size.width, std::max(0.0, bottom - top)});
    if (auto delegate = delegate_.lock()) delegate->searchDisplayControllerWillShowSearchResultsTableView(*this, *table);
    host->addSubview(table);
    if (auto delegate = delegate_.lock()) delegate->searchDisplayControllerDidShowSearchResultsTableView(*this, *table);
}

void UISearchDisplayController::hideResultsTable() {
    if (!isSearchResultsTableViewShown()) return;
    auto table = resultsTable_;
    if (auto delegate = delegate_.lock()) delegate->searchDisplayControllerWillHideSearchResultsTableView(*this, *table);
    table->removeFromSuperview();
    if (auto delegate = delegate_.lock()) delegate->searchDisplayControllerDidHideSearchResultsTableView(*this, *table);
}

void UISearchDisplayController::unloadResultsTable() {
    if (!resultsTable_) return;
    auto table = resultsTable_;
    if (auto delegate = delegate_.lock())
        delegate->searchDisplayControllerWillUnloadSearchResultsTableView(*this, *table);
    table->removeFromSuperview();
    resultsTable_.reset();
}

// A bar scrolled away with its list (a table's header, say) comes back to
// the top of what the list shows, so the typed text and Cancel can be seen.
void UISearchDisplayController::bringBarIntoView() {
    std::shared_ptr<UIScrollView> scrollView;
    for (auto view = searchBar_->superview(); view && !scrollView; view = view->superview())
        scrollView = std::dynamic_pointer_cast<UIScrollView>(view);
    if (!scrollView) return;
    const graphics::Rect bar = searchBar_->convertRectToView(searchBar_->bounds(), scrollView.get());
    const double visibleTop = scrollView->contentOffset().y + scrollView->contentInset().top;
    if (bar.origin.y >= visibleTop) return;
    scrollView->setContentOffset({scrollView->contentOffset().x, bar.origin.y - scrollView->contentInset().top}, false);
}

// A bar that heads a table moves the table's sections with it: a table
// stacks its sections under its header only when the header is assigned, so
// it is assigned again; otherwise the first section's header would lie over
// the scope bar.
void UISearchDisplayController::resizeBar() {
    if (!searchBar_) return;
    graphics::Size before = searchBar_->bounds().size;
    searchBar_->sizeToFit();
    if (before == searchBar_->bounds().size) return;
    auto table = std::dynamic_pointer_cast<UITableView>(searchBar_->superview());
    if (table && table->tableHeaderView() == searchBar_) {
        table->setTableHeaderView(searchBar_);
        return;
    }
    if (auto superview = searchBar_->superview()) {
        superview->setNeedsLayout();
        superview->layoutIfNeeded();
    }
}

}  // namespace uikit
