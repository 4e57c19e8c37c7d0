// The gallery's pull-to-refresh page driven as the app mode drives it: the
// list logs a refresh for the first pull and for one 10 s after it, never
// for the pull in between, and its band opens and closes around each pull.
#include <gtest/gtest.h>

#include <string>

#include "Utils/PullToRefreshControl.h"
#include "foundation/Log.h"
#include "lists/LiteListBaseViewController.h"
#include "quovana/Gallery.h"
#include "quovana/GalleryPullToRefresh.h"
#include "support/ScreenTest.h"
#include "uikit/UIStoryboard.h"

namespace {

class GalleryPullToRefreshTest : public ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        showRoot(quovana::registerGalleryStoryboard()->instantiateInitialViewController());
    }
    std::shared_ptr<LiteListBaseViewController> list() const {
        return std::dynamic_pointer_cast<LiteListBaseViewController>(front());
    }
    size_t refreshes(const foundation::ScopedLogCapture& log) const {
        size_t count = 0;
        for (const auto& line : log.lines()) count += line.find(quovana::kGalleryListRefreshedMessage) != std::string::npos;
        return count;
    }
};

TEST_F(GalleryPullToRefreshTest, TheFirstAndTheThirdPullRefreshTheListAndEachBandClosesAfter2Seconds) {
    ASSERT_TRUE(tapRow(1, 3));
    auto page = list();
    ASSERT_TRUE(page) << dump();
    EXPECT_NE(dump().find("\"Pull to refresh\""), std::string::npos) << dump();
    EXPECT_GE(page->tableView()->numberOfRowsInSection(0), 30);
    auto control = page->pullToRefreshControl();
    ASSERT_TRUE(control);

    foundation::ScopedLogCapture log;
    ASSERT_TRUE(pull());
    EXPECT_EQ(refreshes(log), 1u);
    EXPECT_TRUE(control->isRefreshing());
    EXPECT_LT(page->tableView()->contentOffset().y, 0);
    EXPECT_EQ(control->activityView()->alpha(), 1);

    advance(2);
    EXPECT_FALSE(control->isRefreshing());
    EXPECT_EQ(page->tableView()->contentOffset().y, 0);
    ASSERT_TRUE(pull());
    EXPECT_EQ(refreshes(log), 1u);
    EXPECT_TRUE(control->isRefreshing());

    advance(10);
    ASSERT_TRUE(pull());
    EXPECT_EQ(refreshes(log), 2u);
}

}  // namespace
