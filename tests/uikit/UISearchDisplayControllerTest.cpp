// The search bar and its display controller as a person meets them: typing
// goes character by character through the bar's delegate and, after each
// change, asks the display delegate whether to reload the results table,
// which shows over the screen once the text is not empty; a scope tap asks
// for the scope; cancelling hides and then unloads the table. The dump shows
// the bar as one element and the results table like any table.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "graphics/Bitmap.h"
#include "ScreenTestScreens.h"
#include "support/ScreenTest.h"
#include "uikit/NSIndexPath.h"
#include "uikit/ScreenRenderer.h"
#include "uikit/UIAppearance.h"
#include "uikit/UIButton.h"
#include "uikit/UIColor.h"
#include "uikit/UIGraphicsImageContext.h"
#include "uikit/UIImage.h"
#include "uikit/UINavigationController.h"
#include "uikit/UISearchBar.h"
#include "uikit/UISearchDisplayController.h"
#include "uikit/UISegmentedControl.h"
#include "uikit/UITableView.h"
#include "uikit/UITableViewCell.h"
#include "uikit/UITextField.h"
#include "uikit/UIViewController.h"

namespace {

using uikit::NSIndexPath;
using uikit::NSRange;
using uikit::UISearchBar;
using uikit::UISearchDisplayController;
using uikit::UITableView;

// A screen with a search bar over a list, which is the bar's delegate, the
// display delegate and the results' data source and delegate, and writes
// down every call in order.
class SearchScreen : public uikit::UIViewController,
                     public uikit::UISearchBarDelegate,
                     public uikit::UISearchDisplayDelegate,
                     public uikit::UITableViewDataSource,
                     public uikit::UITableViewDelegate {
public:
    std::vector<std::string> calls;
    std::vector<std::string> names{"Joan", "John", "Mary", "Jolene"};
    bool reloadForScope = true;
    bool refuseDigits = false;
    std::vector<NSIndexPath> selectedResults;
    std::shared_ptr<UISearchBar> bar;
    std::shared_ptr<UITableView> list;

    void viewDidLoad() override {
        auto self = std::static_pointer_cast<SearchScreen>(shared_from_this());
        const double width = view()->bounds().size.width;
        bar = std::make_shared<UISearchBar>(graphics::Rect(0, 0, width, 44));
        bar->setPlaceholder(std::string("Find"));
        bar->setScopeButtonTitles({"First", "Last"});
        bar->setDelegate(self);
        view()->addSubview(bar);
        list = std::make_shared<UITableView>(graphics::Rect(0, 44, width, view()->bounds().size.height - 44));
        list->setDataSource(self);
        view()->addSubview(list);
        auto search = UISearchDisplayController::create(bar, self);
        search->setDelegate(self);
        search->setSearchResultsDataSource(self);
        search->setSearchResultsDelegate(self);
    }

    std::vector<std::string> matches() const {
        std::vector<std::string> found;
        for (const auto& name : names)
            if (name.find(bar->text()) != std::string::npos) found.push_back(name);
        return found;
    }

    bool isResults(const UITableView& table) const {
        auto search = searchDisplayController();
        return search && search->isSearchResultsTableViewLoaded() && search->searchResultsTableView().get() == &table;
    }

    // Data source, of both tables.
    int64_t numberOfSectionsInTableView(UITableView& table) override {
        if (isResults(table)) calls.push_back("reload");
        return 1;
    }
    int64_t tableViewNumberOfRowsInSection(UITableView& table, int64_t) override {
        return static_cast<int64_t>(isResults(table) ? matches().size() : names.size());
    }
    uikit::UITableViewCellPtr tableViewCellForRowAtIndexPath(UITableView& table, const NSIndexPath& path) override {
        auto cell = std::make_shared<uikit::UITableViewCell>(uikit::UITableViewCellStyle::Default, "name");
        auto shown = isResults(table) ? matches() : names;
        cell->textLabel()->setText(shown[static_cast<size_t>(path.row)]);
        return cell;
    }
    void tableViewDidSelectRowAtIndexPath(UITableView& table, const NSIndexPath& path) override {
        if (isResults(table)) selectedResults.push_back(path);
    }

    // Bar.
    bool searchBarShouldChangeTextInRange(UISearchBar&, NSRange range, const std::string& text) override {
        calls.push_back("should-change " + std::to_string(range.location) + " " + text);
        return !(refuseDigits && !text.empty() && text[0] >= '0' && text[0] <= '9');
    }
    void searchBarTextDidBeginEditing(UISearchBar&) override { calls.push_back("bar-begin"); }
    void searchBarTextDidEndEditing(UISearchBar&) override { calls.push_back("bar-end"); }
    void searchBarCancelButtonClicked(UISearchBar&) override { calls.push_back("cancel"); }
    void searchBarSelectedScopeButtonIndexDidChange(UISearchBar&, int64_t scope) override {
        calls.push_back("bar-scope " + std::to_string(scope));
    }

    // Display.
    void searchDisplayControllerWillBeginSearch(UISearchDisplayController&) override { calls.push_back("will-begin"); }
    void searchDisplayControllerDidBeginSearch(UISearchDisplayController&) override { calls.push_back("did-begin"); }
    void searchDisplayControllerWillEndSearch(UISearchDisplayController&) override { calls.push_back("will-end"); }
    void searchDisplayControllerDidEndSearch(UISearchDisplayController&) override { calls.push_back("did-end"); }
    void searchDisplayControllerDidLoadSearchResultsTableView(UISearchDisplayController&, UITableView&) override {
        calls.push_back("did-load");
    }
    void searchDisplayControllerWillUnloadSearchResultsTableView(UISearchDisplayController&, UITableView&) override {
        calls.push_back("will-unload");
    }
    void searchDisplayControllerWillShowSearchResultsTableView(UISearchDisplayController&, UITableView&) override {
        calls.push_back("will-show");
    }
    void searchDisplayControllerDidShowSearchResultsTableView(UISearchDisplayController&, UITableView&) override {
        calls.push_back("did-show");
    }
    void searchDisplayControllerWillHideSearchResultsTableView(UISearchDisplayController&, UITableView&) override {
        calls.push_back("will-hide");
    }
    void searchDisplayControllerDidHideSearchResultsTableView(UISearchDisplayController&, UITableView&) override {
        calls.push_back("did-hide");
    }
    bool searchDisplayControllerShouldReloadTableForSearchString(UISearchDisplayController&,
                                                                 const std::optional<std::string>& text) override {
        calls.push_back("reload-for \"" + text.value_or("-") + "\"");
        return true;
    }
    bool searchDisplayControllerShouldReloadTableForSearchScope(UISearchDisplayController&, int64_t scope) override {
        calls.push_back("reload-for-scope " + std::to_string(scope));
        return reloadForScope;
    }

    std::string className() const override { return "SearchScreen"; }
};

class SearchDisplayTest : public ScreenTest {
protected:
    std::shared_ptr<SearchScreen> showScreen() {
        auto screen = std::make_shared<SearchScreen>();
        showRoot(screen);
        screen->calls.clear();
        return screen;
    }
};

TEST_F(SearchDisplayTest, TypingActivatesAsksEachCharacterThenEachReloadAndShowsResults) {
    auto screen = showScreen();
    auto controller = screen->searchDisplayController();
    ASSERT_TRUE(controller);
    EXPECT_FALSE(controller->isActive());

    ASSERT_TRUE(search("Jo"));
    EXPECT_EQ(screen->calls, (std::vector<std::string>{
                                 "bar-begin", "will-begin", "did-begin",
                                 "should-change 0 J", "reload-for \"J\"", "did-load", "reload", "will-show", "did-show",
                                 "should-change 1 o", "reload-for \"Jo\"", "reload"}));
    EXPECT_TRUE(controller->isActive());
    EXPECT_TRUE(screen->bar->isEditing());
    EXPECT_TRUE(screen->bar->showsCancelButton());
    // The scope bar shows while searching, and the bar grows by it.
    EXPECT_TRUE(screen->bar->showsScopeBar());
    EXPECT_EQ(screen->bar->frame().size.height, 88);
    auto results = controller->searchResultsTableView();
    EXPECT_EQ(results->numberOfRowsInSection(0), 3);
    EXPECT_EQ(results->frame().origin.y, 88);

    std::string text = dump();
    EXPECT_NE(text.find("search-bar placeholder=\"Find\" text=\"Jo\" scopes=[First*][Last] active cancel focused\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("table #searchResultsTableView plain sections=1"), std::string::npos) << text;
    EXPECT_NE(text.find("row 2 name h=44 text=\"Jolene\""), std::string::npos) << text;

    ASSERT_TRUE(tapSearchRow(0, 1));
    EXPECT_EQ(screen->selectedResults, (std::vector<NSIndexPath>{{0, 1}}));
    EXPECT_FALSE(tapSearchRow(0, 3));
}

TEST_F(SearchDisplayTest, RefusedCharactersAreLeftOutAndTheTextStaysUnchangedForThem) {
    auto screen = showScreen();
    screen->refuseDigits = true;
    ASSERT_TRUE(search("J1o"));
    EXPECT_EQ(screen->bar->text(), "Jo");
    std::vector<std::string> reloads;
    for (const auto& call : screen->calls)
        if (call.rfind("reload-for", 0) == 0) reloads.push_back(call);
    EXPECT_EQ(reloads, (std::vector<std::string>{"reload-for \"J\"", "reload-for \"Jo\""}));
    // Text set in code tells nobody.
    screen->calls.clear();
    screen->bar->setText(std::string("Mary"));
    EXPECT_TRUE(screen->calls.empty());
}

TEST_F(SearchDisplayTest, AScopeTapAsksForTheScopeAndReloadsOnlyOnYes) {
    auto screen = showScreen();
    EXPECT_FALSE(scope(1)) << "no scope bar before searching";
    ASSERT_TRUE(search("J"));
    screen->calls.clear();
    ASSERT_TRUE(scope(1));
    EXPECT_EQ(screen->calls, (std::vector<std::string>{"bar-scope 1", "reload-for-scope 1", "reload"}));
    EXPECT_EQ(screen->bar->selectedScopeButtonIndex(), 1);
    screen->reloadForScope = false;
    screen->calls.clear();
    ASSERT_TRUE(scope(0));
    EXPECT_EQ(screen->calls, (std::vector<std::string>{"bar-scope 0", "reload-for-scope 0"}));
    EXPECT_FALSE(scope(2));
}

TEST_F(SearchDisplayTest, CancellingEndsTheSearchHidesThenUnloadsTheResultsAndClearsTheBar) {
    auto screen = showScreen();
    auto controller = screen->searchDisplayController();
    ASSERT_TRUE(search("Jo"));
    screen->calls.clear();
    ASSERT_TRUE(endSearch());
    EXPECT_EQ(screen->calls, (std::vector<std::string>{"cancel", "will-end", "will-hide", "did-hide", "bar-end",
                                                       "did-end", "will-unload"}));
    EXPECT_FALSE(controller->isActive());
    EXPECT_FALSE(controller->isSearchResultsTableViewLoaded());
    EXPECT_EQ(screen->bar->text(), "");
    EXPECT_FALSE(screen->bar->isEditing());
    EXPECT_FALSE(screen->bar->showsCancelButton());
    EXPECT_EQ(screen->bar->frame().size.height, 44);
    EXPECT_FALSE(endSearch()) << "no cancel button once the search ended";
    std::string text = dump();
    EXPECT_NE(text.find("search-bar placeholder=\"Find\" text=\"\" scopes=[First*][Last]\n"), std::string::npos) << text;
    EXPECT_EQ(text.find("searchResultsTableView"), std::string::npos) << text;
    // Read again, the table is made anew.
    screen->calls.clear();
    (void)controller->searchResultsTableView();
    EXPECT_EQ(screen->calls, (std::vector<std::string>{"did-load"}));
}

TEST_F(SearchDisplayTest, DeletingTheTextHidesTheResultsButTheSearchStaysActive) {
    auto screen = showScreen();
    auto controller = screen->searchDisplayController();
    ASSERT_TRUE(search("J"));
    ASSERT_TRUE(controller->isSearchResultsTableViewShown());
    screen->calls.clear();
    ASSERT_TRUE(clear("Find"));
    EXPECT_EQ(screen->calls, (std::vector<std::string>{"should-change 0 ", "reload-for \"\"", "reload", "will-hide",
                                                       "did-hide"}));
    EXPECT_TRUE(controller->isActive());
    EXPECT_TRUE(controller->isSearchResultsTableViewLoaded());
}

TEST_F(SearchDisplayTest, TheFieldIsTheFirstTextFieldOfTheFirstSubviewAndTheCancelButtonTakesRoomFromIt) {
    auto bar = std::make_shared<UISearchBar>(graphics::Rect(0, 0, 320, 0));
    EXPECT_EQ(bar->frame().size.height, 44);
    bar->setPlaceholder(std::string("Search"));
    ASSERT_FALSE(bar->subviews().empty());
    std::shared_ptr<uikit::UITextField> field;
    for (const auto& view : bar->subviews().front()->subviews())
        if ((field = std::dynamic_pointer_cast<uikit::UITextField>(view))) break;
    ASSERT_TRUE(field);
    EXPECT_EQ(field->placeholder(), std::optional<std::string>("Search"));
    bar->setText(std::string("abc"));
    EXPECT_EQ(field->text(), std::optional<std::string>("abc"));
    EXPECT_FALSE(bar->tapCancelButton());
    double wide = field->frame().size.width;
    bar->setShowsCancelButton(true);
    EXPECT_LT(field->frame().size.width, wide);
    EXPECT_LT(field->frame().origin.x + field->frame().size.width, bar->cancelButton()->frame().origin.x);
}

TEST_F(SearchDisplayTest, AppearanceValuesReachBarsEnteringAWindowAndOwnValuesWin) {
    uikit::UIAppearance::resetForTests();
    auto proxyImage = uikit::UIImage::make();
    auto ownImage = uikit::UIImage::make();
    uikit::UIAppearance::appearance<UISearchBar>().set(UISearchBar::backgroundImageKey(),
                                                         [proxyImage](UISearchBar& b) { b.setBackgroundImage(proxyImage); });
    uikit::UIAppearance::appearance<UISearchBar>().set(UISearchBar::searchTextPositionAdjustmentKey(), [](UISearchBar& b) {
        b.setSearchTextPositionAdjustment({7, 0});
    });
    auto screen = std::make_shared<SearchScreen>();
    screen->loadViewIfNeeded();
    auto other = std::make_shared<UISearchBar>(graphics::Rect(0, 200, 375, 44));
    other->setBackgroundImage(ownImage);
    screen->view()->addSubview(other);
    showRoot(screen);
    EXPECT_EQ(screen->bar->backgroundImage(), proxyImage);
    EXPECT_EQ(screen->bar->searchTextPositionAdjustment(), (uikit::UIOffset{7, 0}));
    EXPECT_EQ(other->backgroundImage(), ownImage);
    uikit::UIAppearance::resetForTests();
}

TEST_F(SearchDisplayTest, TheScreenshotDrawsTheBandTheFieldAndTheScopeSegments) {
    auto screen = showScreen();
    ASSERT_TRUE(search("J"));
    auto window = this->window();
    auto bitmap = uikit::renderScreen(*window, 1);
    auto bar = screen->bar->convertRectToView(screen->bar->bounds(), nullptr);
    // The grey band at the bar's left edge (below the status bar), the white
    // field inside it.
    auto band = bitmap.pixel(static_cast<int>(bar.origin.x + 2), static_cast<int>(bar.origin.y + 25));
    EXPECT_EQ(band.red, 201);
    EXPECT_EQ(band.blue, 206);
    auto field = bitmap.pixel(static_cast<int>(bar.origin.x + 200), static_cast<int>(bar.origin.y + 24));
    EXPECT_EQ(field.red, 255);
    // The selected scope segment is filled with the tint.
    auto segment = bitmap.pixel(static_cast<int>(bar.origin.x + 12), static_cast<int>(bar.origin.y + 44 + 16));
    EXPECT_NE(segment.red, band.red);

    // A background image stretches over the band.
    auto red = std::make_shared<graphics::Bitmap>(1, 1);
    red->setPixel(0, 0, {255, 0, 0, 255});
    screen->bar->setBackgroundImage(uikit::UIImage::imageWithBitmap(red));
    auto redrawn = uikit::renderScreen(*window, 1);
    EXPECT_EQ(redrawn.pixel(static_cast<int>(bar.origin.x + 2), static_cast<int>(bar.origin.y + 25)),
              (graphics::Pixel{255, 0, 0, 255}));
}

// A list screen whose table is the screen's view, with the bar as the
// table's header: the results stand beside the table, below the bar, and
// the dump still prints them under the screen.
TEST_F(SearchDisplayTest, OverATableScreenTheResultsStandBesideTheTableBelowTheBar) {
    auto list = std::make_shared<screentest::TableScreen>(std::vector<screentest::TableScreen::Section>{{std::nullopt, 30}});
    auto results = std::make_shared<screentest::TableScreen>(std::vector<screentest::TableScreen::Section>{{std::nullopt, 2}});
    list->loadViewIfNeeded();
    auto bar = std::make_shared<UISearchBar>(graphics::Rect(0, 0, 375, 44));
    list->tableView()->setTableHeaderView(bar);
    auto controller = UISearchDisplayController::create(bar, list);
    controller->setSearchResultsDataSource(results);
    controller->setSearchResultsDelegate(results);
    showRoot(uikit::UINavigationController::withRootViewController(list));

    ASSERT_TRUE(search("x"));
    const auto& table = controller->searchResultsTableView();
    ASSERT_TRUE(controller->isSearchResultsTableViewShown());
    EXPECT_EQ(table->superview(), list->view()->superview());
    auto barInHost = bar->convertRectToView(bar->bounds(), table->superview().get());
    EXPECT_EQ(table->frame().origin.y, barInHost.origin.y + barInHost.size.height);
    std::string text = dump();
    EXPECT_NE(text.find("header-view UISearchBar\n"), std::string::npos) << text;
    EXPECT_NE(text.find("search-bar placeholder=- text=\"x\" active cancel focused"), std::string::npos) << text;
    EXPECT_NE(text.find("table #searchResultsTableView plain sections=1"), std::string::npos) << text;
    EXPECT_NE(text.find("rows 0\xE2\x80\x93" "1 of 2"), std::string::npos) << text;
    ASSERT_TRUE(tapSearchRow(0, 1));
    EXPECT_EQ(results->didSelect, (std::vector<NSIndexPath>{{0, 1}}));
    EXPECT_TRUE(list->didSelect.empty());
    ASSERT_TRUE(endSearch());
    EXPECT_FALSE(controller->isSearchResultsTableViewLoaded());
}

}  // namespace
