// The session list "ListSessionsBaseIdentifier", standing in until the
// programme lists exist: a list screen that keeps what its opener set
// (`listDelegate`, `isPullToRefreshEnabled`, `isFilteredInitially`,
// `filtersArray`), shows the filter header's caption over an empty table
// and lists all of it in the screen dump. Main thread only.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/StubScreen.h"
#include "lists/LiteListBaseViewController.h"

class FilterModel;

namespace uikit {
class UIStoryboard;
}

class ListSessionsBaseViewController : public LiteListBaseViewController, public StubScreen {
public:
    using Filters = std::vector<std::shared_ptr<FilterModel>>;

    static constexpr const char* kStoryboardIdentifier = "ListSessionsBaseIdentifier";
    static Text storyboardIdentifier() { return std::string(kStoryboardIdentifier); }
    static void addScene(uikit::UIStoryboard& storyboard);

    bool isFilteredInitially() const { return isFilteredInitially_; }
    void setIsFilteredInitially(bool filtered) { isFilteredInitially_ = filtered; }
    const Filters& filtersArray() const { return filtersArray_; }
    void setFiltersArray(Filters filters) { filtersArray_ = std::move(filters); }
    // The filter header's caption for the filters set; none without a filter off its default.
    std::optional<std::string> filterCaption() const;
    // The class name of the list delegate, "nil" without one.
    std::string listDelegateClassName() const;

    void loadView() override;
    void viewDidLoad() override;
    std::string cellIdentifier() override;
    int64_t tableViewNumberOfRowsInSection(uikit::UITableView& tableView, int64_t section) override;

    std::vector<std::pair<std::string, std::string>> screenDescriptionItems() const override;
    std::string className() const override { return "ListSessionsBaseViewController"; }

private:
    bool isFilteredInitially_ = false;
    Filters filtersArray_;
    // Kept here as well: the base holds its table weakly.
    std::shared_ptr<uikit::UITableView> table_;
};
