// The filter screens as a person uses them from a list: the filters screen
// presented over a host list in its navigation controller, the values screen
// pushed from a filter row, and the list taking the filters back through
// the unwind "applyFiltersSegID".
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "lists/FilterModel.h"
#include "lists/FilterScreenScenes.h"
#include "lists/FiltersTableViewController.h"
#include "lists/SelectFilterTableViewController.h"
#include "support/ScreenTest.h"
#include "uikit/UILabel.h"
#include "uikit/UIDevice.h"
#include "uikit/UINavigationController.h"
#include "uikit/UIPopoverController.h"
#include "uikit/UISearchBar.h"
#include "uikit/UIStoryboard.h"
#include "uikit/UIStoryboardSegue.h"
#include "uikit/UITableViewCell.h"

namespace {

constexpr const char* kStoryboard = "FilterScreensTest";
constexpr const char* kHostScene = "filterHostList";
constexpr const char* kShowFiltersSegue = "showFiltersSegID";

// A filter over fixed values, no store needed.
class FixedFilter : public FilterModel {
public:
    FixedFilter(std::string name, std::string defaultValue, std::vector<std::string> values, bool searchable)
        : name_(std::move(name)), default_(std::move(defaultValue)), values_(std::move(values)), searchable_(searchable) {}
    std::string displayName() const override { return name_; }
    std::string defaultValue() const override { return default_; }
    bool isSearchable() const override { return searchable_; }
    foundation::Value::Array getPossibleValuesWithCoreDataStack(const StackPtr&) override {
        foundation::Value::Array values{foundation::Value(default_)};
        for (const auto& value : values_) values.emplace_back(value);
        return values;
    }
    std::string className() const override { return "FixedFilter"; }

protected:
    std::shared_ptr<FilterModel> makeInstance() const override {
        return std::make_shared<FixedFilter>(name_, default_, values_, searchable_);
    }

private:
    std::string name_, default_;
    std::vector<std::string> values_;
    bool searchable_;
};

// Stands in for a list: opens the filters screen with copies of its filters
// and records what the apply unwind hands back.
class HostList : public uikit::UIViewController {
public:
    HostList() {
        addUnwindAction(FilterScreenScenes::kListApplyFiltersAction, [this](uikit::UIStoryboardSegue& segue) {
            auto screen = std::dynamic_pointer_cast<FiltersTableViewController>(segue.sourceViewController());
            applied.push_back(screen ? screen->filtersArray() : FiltersTableViewController::Filters{});
        });
    }
    void prepareForSegue(uikit::UIStoryboardSegue& segue, const foundation::ObjectPtr&) override {
        auto navigation = std::dynamic_pointer_cast<uikit::UINavigationController>(segue.destinationViewController());
        auto screen = std::dynamic_pointer_cast<FiltersTableViewController>(navigation->topViewController());
        FiltersTableViewController::Filters copies;
        for (const auto& filter : filters) copies.push_back(filter->copy());
        screen->setFiltersArray(std::move(copies));
    }
    std::string className() const override { return "HostList"; }

    FiltersTableViewController::Filters filters;
    std::vector<FiltersTableViewController::Filters> applied;
};

class FilterScreensTest : public ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        auto storyboard = uikit::UIStoryboard::registerStoryboard(kStoryboard);
        FilterScreenScenes::addScenes(*storyboard);
        storyboard->addScene(kHostScene, [](uikit::UIStoryboard&) { return std::make_shared<HostList>(); });
        uikit::UIStoryboardSegueDefinition show;
        show.identifier = kShowFiltersSegue;
        show.kind = uikit::UIStoryboardSegueKind::Modal;
        show.destination = FilterScreenScenes::kFiltersNavigationScene;
        storyboard->addSegue(kHostScene, show);

        host_ = std::dynamic_pointer_cast<HostList>(storyboard->instantiateViewControllerWithIdentifier(kHostScene));
        room_ = std::make_shared<FixedFilter>("Room", "All rooms", std::vector<std::string>{"Hall A", "Hall B"}, false);
        country_ = std::make_shared<FixedFilter>(
            "Country", "All countries", std::vector<std::string>{"Austria", "Germany", "Canada", "Andorra"}, true);
        host_->filters = {room_, country_};
        showRoot(uikit::UINavigationController::withRootViewController(host_));
    }
    void TearDown() override {
        host_.reset();
        ScreenTest::TearDown();
        uikit::UIStoryboard::unregisterStoryboard(kStoryboard);
    }

    std::shared_ptr<FiltersTableViewController> openFilters() {
        host_->performSegueWithIdentifier(kShowFiltersSegue, nullptr);
        settle();
        return std::dynamic_pointer_cast<FiltersTableViewController>(front());
    }
    template <class Screen>
    std::string rowText(const std::shared_ptr<Screen>& screen, int64_t section, int64_t row) {
        auto cell = screen->tableView()->cellForRowAtIndexPath(uikit::NSIndexPath::indexPathForRow(row, section));
        return cell ? cell->textLabel()->text().value_or("") : "<no cell>";
    }

    std::shared_ptr<HostList> host_;
    std::shared_ptr<FixedFilter> room_, country_;
};

TEST_F(FilterScreensTest, TheFiltersScreenListsEachFilterUnderItsNameBelowClearFilters) {
    room_->setSelectedValue(foundation::Value("Hall B"));
    auto filters = openFilters();
    ASSERT_TRUE(filters) << dump();
    EXPECT_EQ(filters->title(), "Filters");
    auto table = filters->tableView();
    ASSERT_EQ(table->numberOfSections(), 3);
    EXPECT_EQ(rowText(filters, 0, 0), "Clear filters");
    EXPECT_EQ(rowText(filters, 1, 0), "Hall B");
    EXPECT_EQ(rowText(filters, 2, 0), "All countries");
    auto clearCell = table->cellForRowAtIndexPath({0, 0});
    EXPECT_EQ(clearCell->textLabel()->textAlignment(), uikit::NSTextAlignment::Center);
    EXPECT_EQ(clearCell->accessoryType(), uikit::UITableViewCellAccessoryType::None);
    EXPECT_EQ(table->cellForRowAtIndexPath({1, 0})->accessoryType(),
              uikit::UITableViewCellAccessoryType::DisclosureIndicator);
    EXPECT_EQ(filters->tableViewTitleForHeaderInSection(*table, 0), std::nullopt);
    EXPECT_EQ(filters->tableViewTitleForHeaderInSection(*table, 2), "Country");
    EXPECT_EQ(filters->tableViewHeightForRowAtIndexPath(*table, {2, 0}), 44.0);
    // The screen edits copies: the list's own filters are untouched until applied.
    EXPECT_NE(filters->filtersArray()[0], room_);
}

TEST_F(FilterScreensTest, ClearFiltersReturnsToTheListAtOnceWithNoFilters) {
    room_->setSelectedValue(foundation::Value("Hall A"));
    ASSERT_TRUE(openFilters());
    ASSERT_TRUE(tapRow(0, 0));
    EXPECT_EQ(front(), host_) << dump();
    ASSERT_EQ(host_->applied.size(), 1u);
    EXPECT_TRUE(host_->applied[0].empty());
    EXPECT_FALSE(host_->presentedViewController());
}

TEST_F(FilterScreensTest, ApplyHandsBackTheChosenFiltersOrNoneWhenAllAreAtTheirDefaults) {
    ASSERT_TRUE(openFilters());
    ASSERT_TRUE(tapItem("Apply"));
    ASSERT_EQ(host_->applied.size(), 1u);
    EXPECT_TRUE(host_->applied[0].empty());  // every filter at its default

    room_->setSelectedValue(foundation::Value("Hall B"));
    auto filters = openFilters();
    ASSERT_TRUE(filters);
    ASSERT_TRUE(tapItem("Apply"));
    ASSERT_EQ(host_->applied.size(), 2u);
    ASSERT_EQ(host_->applied[1].size(), 2u);
    EXPECT_EQ(host_->applied[1][0]->selectedValue().stringValue(), "Hall B");

    // Clearing by hand to the defaults is the same as choosing none.
    filters = openFilters();
    filters->clearFilters();
    EXPECT_TRUE(filters->defaultValuesSelected());
    EXPECT_EQ(rowText(filters, 1, 0), "All rooms");
    ASSERT_TRUE(tapItem("Apply"));
    EXPECT_TRUE(host_->applied.back().empty());
    FiltersTableViewController none;
    EXPECT_TRUE(none.defaultValuesSelected());
}

TEST_F(FilterScreensTest, PickingAValueSetsItOnTheScreensCopyAndShowsItThere) {
    auto filters = openFilters();
    ASSERT_TRUE(tapRow(1, 0));
    auto values = std::dynamic_pointer_cast<SelectFilterTableViewController>(front());
    ASSERT_TRUE(values) << dump();
    EXPECT_EQ(values->filterModel(), filters->filtersArray()[0]);
    EXPECT_EQ(values->title(), "Room");
    ASSERT_EQ(values->tableView()->numberOfRowsInSection(0), 3);
    EXPECT_EQ(values->tableView()->cellForRowAtIndexPath({0, 0})->accessoryType(),
              uikit::UITableViewCellAccessoryType::Checkmark);

    ASSERT_TRUE(tapRow(0, 2));
    EXPECT_EQ(front(), filters) << dump();
    EXPECT_EQ(filters->filtersArray()[0]->selectedValue().stringValue(), "Hall B");
    EXPECT_EQ(rowText(filters, 1, 0), "Hall B");
    EXPECT_EQ(room_->selectedValue().stringValue(), "All rooms");
}

TEST_F(FilterScreensTest, AValueChosenWhileSearchingIsTheTappedSearchResult) {
    auto filters = openFilters();
    ASSERT_TRUE(tapRow(2, 0));
    auto values = std::dynamic_pointer_cast<SelectFilterTableViewController>(front());
    ASSERT_TRUE(values);
    EXPECT_FALSE(values->searchBar()->isHidden());
    ASSERT_TRUE(search("AN"));
    // Case-insensitive containment, in the values' order.
    std::vector<std::string> found;
    for (const auto& value : values->searchResultsDataArray()) found.push_back(value.stringValue());
    EXPECT_EQ(found, (std::vector<std::string>{"Germany", "Canada", "Andorra"}));
    ASSERT_TRUE(tapSearchRow(0, 1));
    EXPECT_EQ(front(), filters) << dump();
    EXPECT_EQ(filters->filtersArray()[1]->selectedValue().stringValue(), "Canada");
}

TEST_F(FilterScreensTest, ANonSearchableFilterHasNoSearchBarAndNoRoomForIt) {
    ASSERT_TRUE(openFilters());
    ASSERT_TRUE(tapRow(1, 0));
    auto values = std::dynamic_pointer_cast<SelectFilterTableViewController>(front());
    ASSERT_TRUE(values);
    EXPECT_TRUE(values->searchBar()->isHidden());
    EXPECT_EQ(values->searchBar()->frame(), graphics::Rect{});
    auto firstRow = values->tableView()->rectForRowAtIndexPath({0, 0});
    EXPECT_EQ(firstRow.origin.y, 0.0);
}

TEST_F(FilterScreensTest, EveryValueReadingLikeTheChoiceCarriesTheCheckMark) {
    auto twins = std::make_shared<FixedFilter>("Track", "Any", std::vector<std::string>{"Blue", "Red", "Blue"}, false);
    twins->setSelectedValue(foundation::Value("Blue"));
    host_->filters = {twins};
    ASSERT_TRUE(openFilters());
    ASSERT_TRUE(tapRow(1, 0));
    auto values = std::dynamic_pointer_cast<SelectFilterTableViewController>(front());
    ASSERT_TRUE(values);
    std::vector<bool> checked;
    for (int64_t row = 0; row < 4; ++row)
        checked.push_back(values->tableView()->cellForRowAtIndexPath({0, row})->accessoryType() ==
                          uikit::UITableViewCellAccessoryType::Checkmark);
    EXPECT_EQ(checked, (std::vector<bool>{false, true, false, true}));
}

TEST_F(FilterScreensTest, InAPopoverTheFiltersScreenLetsNoTapThroughFromSystem8On) {
    for (const char* version : {"7.1", "9.3"}) {
        uikit::UIDevice::currentDevice().setSystemVersion(version);
        auto storyboard = uikit::UIStoryboard::storyboardWithName(kStoryboard);
        auto navigation = storyboard->instantiateViewControllerWithIdentifier(FilterScreenScenes::kFiltersNavigationScene);
        auto popover = std::make_shared<uikit::UIPopoverController>(navigation);
        popover->setPassthroughViews({host_->view()});
        popover->presentPopoverFromRect({10, 10, 20, 20}, host_->view(), uikit::UIPopoverArrowDirectionAny, false);
        settle();
        EXPECT_EQ(popover->passthroughViews().empty(), std::string(version) == "9.3") << version;
        popover->dismissPopoverAnimated(false);
        settle();
    }
}

}  // namespace
