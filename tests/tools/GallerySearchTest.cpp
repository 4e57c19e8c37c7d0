// The gallery's search page driven through the screen driver: the countries
// holding the typed text by name, then by capital; a chosen result logged
// and selected; the full list back when the search ends.
#include <gtest/gtest.h>

#include <string>

#include "foundation/Log.h"
#include "quovana/Gallery.h"
#include "support/ScreenTest.h"
#include "uikit/UISearchBar.h"
#include "uikit/UISearchDisplayController.h"
#include "uikit/UITableView.h"
#include "uikit/UIStoryboard.h"
#include "uikit/UIViewController.h"

namespace {

class GallerySearchTest : public ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        showRoot(quovana::registerGalleryStoryboard()->instantiateInitialViewController());
        ASSERT_TRUE(tapRow(1, 2));
    }

    std::shared_ptr<uikit::UISearchDisplayController> search() const { return front()->searchDisplayController(); }
    bool shows(const std::string& fragment) const { return dump().find(fragment) != std::string::npos; }
};

TEST_F(GallerySearchTest, TheSearchFindsCountriesByNameThenByCapitalAndEndsOnTheFullList) {
    EXPECT_EQ(front()->className(), "GallerySearchViewController");
    ASSERT_TRUE(search());
    EXPECT_TRUE(shows("search-bar placeholder=\"Search\" text=\"\" scopes=[Name*][Capital]\n")) << dump();
    EXPECT_TRUE(shows("rows 0\xE2\x80\x93" "12 of 40")) << dump();

    ASSERT_TRUE(ScreenTest::search("ni"));
    auto results = search()->searchResultsTableView();
    ASSERT_EQ(results->numberOfRowsInSection(0), 7);
    EXPECT_TRUE(shows("row 2 galleryCountryCell h=44 text=\"Nigeria\" detail=\"Abuja\"")) << dump();

    ASSERT_TRUE(scope(1));
    ASSERT_EQ(results->numberOfRowsInSection(0), 1);
    EXPECT_TRUE(shows("scopes=[Name][Capital*] active cancel focused")) << dump();

    foundation::ScopedLogCapture log;
    ASSERT_TRUE(tapSearchRow(0, 0));
    EXPECT_TRUE(log.contains("gallery: chose Tunisia (Tunis)"));
    EXPECT_TRUE(shows("text=\"Tunisia\" detail=\"Tunis\" selected")) << dump();
    EXPECT_FALSE(tapSearchRow(0, 1));

    ASSERT_TRUE(endSearch());
    EXPECT_FALSE(search()->isActive());
    EXPECT_FALSE(shows("searchResultsTableView")) << dump();
    EXPECT_TRUE(shows("search-bar placeholder=\"Search\" text=\"\" scopes=[Name][Capital*]\n")) << dump();
    EXPECT_TRUE(shows("rows 0\xE2\x80\x93" "12 of 40")) << dump();
}

TEST_F(GallerySearchTest, AScrollWhileResultsShowMovesTheResultsNotTheListUnderThem) {
    std::shared_ptr<uikit::UITableView> list;
    for (const auto& view : front()->view()->subviews())
        if (auto table = std::dynamic_pointer_cast<uikit::UITableView>(view)) list = table;
    ASSERT_TRUE(list);
    ASSERT_TRUE(ScreenTest::search("a"));
    auto results = search()->searchResultsTableView();
    ASSERT_GT(results->numberOfRowsInSection(0), 20);
    ASSERT_TRUE(driver().scroll(std::nullopt, 120));
    settle();
    EXPECT_EQ(results->contentOffset().y, 120);
    EXPECT_EQ(list->contentOffset().y, 0);
}

TEST_F(GallerySearchTest, WithoutASearchUnderWayTheSearchActionsFindNothing) {
    EXPECT_FALSE(scope(1));
    EXPECT_FALSE(endSearch());
    EXPECT_FALSE(tapSearchRow(0, 0));
    ASSERT_TRUE(back());
    EXPECT_FALSE(ScreenTest::search("ni")) << "the gallery's root has no search bar";
}

}  // namespace
