// The search display controller: it ties a search bar to a screen (the
// contents controller) and shows a results table of its own over that
// screen while the bar's text is not empty. Beginning to edit the bar makes
// it active (the cancel button shows, and the scope bar when the bar has
// scope titles); the cancel button ends the search: the results table is
// hidden, the bar's text cleared and the table unloaded, to be made again
// (and heard as loaded) on the next read.
//
// Every change of the text asks the delegate whether to reload the results
// table for the new text, every tap on a scope segment whether to reload for
// the new scope; a YES (the answer when the delegate does not say) reloads
// the table from the results data source and delegate, which the table
// keeps weakly like any table's.
//
// Ownership: the contents controller keeps its display controller (see
// UIViewController::searchDisplayController); the display controller keeps
// the bar and its results table, and the contents controller weakly.
// Main thread only.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "foundation/Object.h"

namespace uikit {

class UISearchBar;
class UISearchDisplayController;
class UITableView;
class UITableViewDataSource;
class UITableViewDelegate;
class UIViewController;

class UISearchDisplayDelegate {
public:
    virtual ~UISearchDisplayDelegate() = default;
    virtual void searchDisplayControllerWillBeginSearch(UISearchDisplayController& controller) { (void)controller; }
    virtual void searchDisplayControllerDidBeginSearch(UISearchDisplayController& controller) { (void)controller; }
    virtual void searchDisplayControllerWillEndSearch(UISearchDisplayController& controller) { (void)controller; }
    virtual void searchDisplayControllerDidEndSearch(UISearchDisplayController& controller) { (void)controller; }
    virtual void searchDisplayControllerDidLoadSearchResultsTableView(UISearchDisplayController& controller,
                                                                     UITableView& tableView) {
        (void)controller, (void)tableView;
    }
    virtual void searchDisplayControllerWillUnloadSearchResultsTableView(UISearchDisplayController& controller,
                                                                        UITableView& tableView) {
        (void)controller, (void)tableView;
    }
    virtual void searchDisplayControllerWillShowSearchResultsTableView(UISearchDisplayController& controller,
                                                                      UITableView& tableView) {
        (void)controller, (void)tableView;
    }
    virtual void searchDisplayControllerDidShowSearchResultsTableView(UISearchDisplayController& controller,
                                                                     UITableView& tableView) {
        (void)controller, (void)tableView;
    }
    virtual void searchDisplayControllerWillHideSearchResultsTableView(UISearchDisplayController& controller,
                                                                      UITableView& tableView) {
        (void)controller, (void)tableView;
    }
    virtual void searchDisplayControllerDidHideSearchResultsTableView(UISearchDisplayController& controller,
                                                                     UITableView& tableView) {
        (void)controller, (void)tableView;
    }
    virtual bool searchDisplayControllerShouldReloadTableForSearchString(UISearchDisplayController& controller,
                                                                        const std::optional<std::string>& searchString) {
        (void)controller, (void)searchString;
        return true;
    }
    virtual bool searchDisplayControllerShouldReloadTableForSearchScope(UISearchDisplayController& controller,
                                                                       int64_t searchOption) {
        (void)controller, (void)searchOption;
        return true;
    }
};

class UISearchDisplayController : public foundation::Object {
public:
    // The outlet name the results table carries (the screen dump prints it).
    static constexpr const char* kResultsTableOutletName = "searchResultsTableView";

    // Becomes the bar's display controller and the contents controller's.
    static std::shared_ptr<UISearchDisplayController> create(const std::shared_ptr<UISearchBar>& searchBar,
                                                             const std::shared_ptr<UIViewController>& contentsController);
    ~UISearchDisplayController() override;

    const std::shared_ptr<UISearchBar>& searchBar() const { return searchBar_; }
    std::shared_ptr<UIViewController> searchContentsController() const { return contentsController_.lock(); }

    // All kept weak.
    std::shared_ptr<UISearchDisplayDelegate> delegate() const { return delegate_.lock(); }
    void setDelegate(const std::shared_ptr<UISearchDisplayDelegate>& delegate) { delegate_ = delegate; }
    std::shared_ptr<UITableViewDataSource> searchResultsDataSource() const { return dataSource_.lock(); }
    void setSearchResultsDataSource(const std::shared_ptr<UITableViewDataSource>& dataSource);
    std::shared_ptr<UITableViewDelegate> searchResultsDelegate() const { return tableDelegate_.lock(); }
    void setSearchResultsDelegate(const std::shared_ptr<UITableViewDelegate>& delegate);
    // The one owner a screen usually wires all three to; `forget` lets them go
    // before the owner does.
    template <class Owner>
    void answerWith(const std::shared_ptr<Owner>& owner) {
        setDelegate(owner);
        setSearchResultsDataSource(owner);
        setSearchResultsDelegate(owner);
    }
    void forgetDelegates() {
        setDelegate(nullptr);
        setSearchResultsDelegate(nullptr);
        setSearchResultsDataSource(nullptr);
    }

    bool isActive() const { return active_; }
    void setActive(bool visible, bool animated = false);

    // Made (and heard as loaded) on first read after creation or unloading.
    const std::shared_ptr<UITableView>& searchResultsTableView();
    // Whether the results table is made / shown over the contents.
    bool isSearchResultsTableViewLoaded() const { return resultsTable_ != nullptr; }
    bool isSearchResultsTableViewShown() const;

    // What the bar tells its display controller, after its delegate.
    void searchBarDidBeginEditing();
    void searchBarTextDidChange();
    void searchBarSelectedScopeDidChange();
    void searchBarCancelButtonClicked();

    std::string className() const override { return "UISearchDisplayController"; }

private:
    UISearchDisplayController(std::shared_ptr<UISearchBar> searchBar, std::weak_ptr<UIViewController> contents);

    void reloadResultsIfAllowed(bool allowed);
    // Shows the results table while the text is not empty, hides it otherwise.
    void updateResultsVisibility();
    void showResultsTable();
    void hideResultsTable();
    void unloadResultsTable();
    // The bar's height follows the scope bar; the contents lay out again.
    void resizeBar();
    void bringBarIntoView();

    std::shared_ptr<UISearchBar> searchBar_;
    std::weak_ptr<UIViewController> contentsController_;
    std::weak_ptr<UISearchDisplayDelegate> delegate_;
    std::weak_ptr<UITableViewDataSource> dataSource_;
    std::weak_ptr<UITableViewDelegate> tableDelegate_;
    std::shared_ptr<UITableView> resultsTable_;
    bool active_ = false;
};

using UISearchDisplayControllerPtr = std::shared_ptr<UISearchDisplayController>;

}  // namespace uikit
