// The help legend from its storyboard scene: three sections (the tutorial
// row, the programme's ten symbols, the participants' three), row heights by
// the description's measured height, taps on legend rows doing nothing and
// "Show tutorial" opening the tutorial with Skip on both idioms.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

#include "support/ScreenTest.h"
#include "Utils/Utils.h"
#include "app/LegendItemModel.h"
#include "app/LegendViewCell.h"
#include "app/LegendViewController.h"
#include "app/QVAStartTutorialViewController.h"
#include "uikit/UIButton.h"
#include "uikit/UIFont.h"
#include "uikit/UIImage.h"
#include "uikit/UIImageView.h"
#include "uikit/UILabel.h"
#include "uikit/UINavigationController.h"
#include "uikit/UIStoryboard.h"
#include "uikit/UITableView.h"

namespace {

constexpr const char* kBoard = "LegendTestStoryboard";

class LegendTest : public ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        LegendViewController::addScene(*uikit::UIStoryboard::registerStoryboard(kBoard));
    }
    void TearDown() override {
        ScreenTest::TearDown();
        uikit::UIStoryboard::unregisterStoryboard(kBoard);
    }

    std::shared_ptr<LegendViewController> show() {
        showRoot(uikit::UINavigationController::withRootViewController(std::make_shared<uikit::UIViewController>()));
        EXPECT_TRUE(open(LegendViewController::kStoryboardIdentifier, {kBoard}));
        return std::dynamic_pointer_cast<LegendViewController>(front());
    }
};

class PadLegendTest : public LegendTest {
protected:
    uikit::DeviceProfile deviceProfile() const override { return uikit::DeviceProfile::iPad(); }
};

TEST_F(LegendTest, ShowsTheTutorialRowAndTheTwoLegendSections) {
    auto legend = show();
    ASSERT_TRUE(legend);
    EXPECT_EQ(legend->title(), "Help");
    auto table = legend->tableView();
    ASSERT_EQ(table->numberOfSections(), 3);
    EXPECT_EQ(table->numberOfRowsInSection(0), 1);
    EXPECT_EQ(table->numberOfRowsInSection(1), 10);
    EXPECT_EQ(table->numberOfRowsInSection(2), 3);
    EXPECT_FALSE(legend->tableViewTitleForHeaderInSection(*table, 0));
    EXPECT_EQ(legend->tableViewTitleForHeaderInSection(*table, 1), "Programme");
    EXPECT_EQ(legend->tableViewTitleForHeaderInSection(*table, 2), "Participants");

    auto tutorialRow = legend->tableViewCellForRowAtIndexPath(*table, {0, 0});
    EXPECT_EQ(tutorialRow->reuseIdentifier(), LegendViewController::kShowTutorialCellIdentifier);
    EXPECT_EQ(tutorialRow->textLabel()->text(), "Show tutorial");

    auto first = std::dynamic_pointer_cast<LegendViewCell>(legend->tableViewCellForRowAtIndexPath(*table, {1, 0}));
    ASSERT_TRUE(first);
    EXPECT_EQ(first->legendDecriptionLabel()->text(), "Indicates that a session is in your agenda.");
    ASSERT_TRUE(first->legendIconImageView()->image());
    EXPECT_EQ(first->legendIconImageView()->image()->name(), "session_in_agenda.png");
    auto last = std::dynamic_pointer_cast<LegendViewCell>(legend->tableViewCellForRowAtIndexPath(*table, {2, 2}));
    ASSERT_TRUE(last);
    EXPECT_EQ(last->legendDecriptionLabel()->text(), "Indicates that you have added a personal note to a participant.");
    EXPECT_EQ(legend->dataSourceArray().at(0).at(4)->itemDescription(), "Indicates the \"Add to Agenda\" action.");
    EXPECT_EQ(legend->dataSourceArray().at(1).at(0)->iconName(), "favStarActive.png");
}

TEST_F(LegendTest, RowsGrowWithTheirDescription) {
    auto legend = show();
    auto table = legend->tableView();
    const double width = table->frame().size.width;
    EXPECT_EQ(legend->tableViewHeightForRowAtIndexPath(*table, {0, 0}), 44);
    EXPECT_EQ(legend->tableViewHeightForRowAtIndexPath(*table, {1, 2}), 44);  // "Indicates a personal entry."

    const std::string longest = legend->dataSourceArray().at(1).at(0)->itemDescription();
    const double measured =
        Utils::getMeasuredSizeOfLabelWithText(longest, uikit::UIFont::fontWithName("Helvetica", 15), width - 80).height;
    ASSERT_GT(measured, 30);
    EXPECT_EQ(legend->tableViewHeightForRowAtIndexPath(*table, {2, 0}), std::trunc(measured) + 20);
}

TEST(LegendRowHeight, WholePointsPlusPaddingAtLeastTheDefault) {
    EXPECT_EQ(LegendViewController::rowHeightForMeasuredHeight(60), 80);
    EXPECT_EQ(LegendViewController::rowHeightForMeasuredHeight(60.9), 80);
    EXPECT_EQ(LegendViewController::rowHeightForMeasuredHeight(18), 44);
    EXPECT_EQ(LegendViewController::rowHeightForMeasuredHeight(24), 44);
    EXPECT_EQ(LegendViewController::rowHeightForMeasuredHeight(24.5), 44);
    EXPECT_EQ(LegendViewController::rowHeightForMeasuredHeight(25), 45);
}

TEST_F(LegendTest, LegendRowsDoNothingAndShowTutorialPresentsItWithSkip) {
    auto legend = show();
    ASSERT_TRUE(tapRow(1, 0));
    ASSERT_TRUE(tapRow(2, 1));
    EXPECT_EQ(front(), legend);
    EXPECT_FALSE(legend->navigationController()->presentedViewController());

    ASSERT_TRUE(tapRow(0, 0));
    auto tutorial = std::dynamic_pointer_cast<QVAStartTutorialViewController>(
        legend->navigationController()->presentedViewController());
    ASSERT_TRUE(tutorial);
    EXPECT_FALSE(tutorial->progressView());
    EXPECT_EQ(tutorial->skipButton()->alpha(), 1);
    EXPECT_NE(dump().find("Skip"), std::string::npos);
}

TEST_F(PadLegendTest, ShowTutorialPresentsItOnThePadToo) {
    auto legend = show();
    ASSERT_TRUE(legend);
    ASSERT_TRUE(tapRow(0, 0));
    auto tutorial = std::dynamic_pointer_cast<QVAStartTutorialViewController>(
        legend->navigationController()->presentedViewController());
    ASSERT_TRUE(tutorial);
    EXPECT_EQ(tutorial->skipButton()->alpha(), 1);
    EXPECT_EQ(tutorial->view()->frame().size.width, 768);
}

}  // namespace
