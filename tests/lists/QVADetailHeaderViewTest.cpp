#include "lists/QVADetailHeaderView.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "../support/TestDetailsWithList.h"
#include "foundation/Exception.h"
#include "uikit/DeviceProfile.h"
#include "uikit/NSLayoutConstraint.h"
#include "uikit/UIApplication.h"
#include "uikit/UITableView.h"

namespace {

using uikit::NSLayoutAttribute;

class DetailHeaderTest : public ::testing::Test {
protected:
    void SetUp() override {
        uikit::UIApplication::sharedApplication().resetForTests();
        uikit::DeviceProfile::apply(uikit::DeviceProfile::iPhone6());
        TestDetailHeaderView::registerNib();
    }
    void TearDown() override {
        uikit::UINib::unregisterNib(TestDetailsWithList::kHeaderNibName);
        uikit::UIApplication::sharedApplication().resetForTests();
    }

    static std::string raisedBy(const std::function<void()>& call) {
        try {
            call();
        } catch (const foundation::Exception& e) {
            return e.name() + "|" + e.reason();
        }
        return "nothing";
    }
};

TEST_F(DetailHeaderTest, theSubclassMembersRaiseInTheBaseAndScrollingDoesNothing) {
    QVADetailHeaderView header;
    const std::string expected = "Please implement in subclass|";
    EXPECT_EQ(raisedBy([] { QVADetailHeaderView::getHeaderHeight(); }), expected);
    EXPECT_EQ(raisedBy([] { QVADetailHeaderView::getNibName(); }), expected);
    EXPECT_EQ(raisedBy([&] { header.getHeaderBackgroundImageHeight(); }), expected);
    EXPECT_EQ(raisedBy([&] { header.getNavigationBarTitle(); }), expected);
    EXPECT_EQ(raisedBy([&] { header.didScrollWithOffset(-20); }), "nothing");
}

TEST_F(DetailHeaderTest, aTableHeaderTakesTheTablesWidthAndIsPinnedWithItsHeightKept) {
    auto table = std::make_shared<uikit::UITableView>(graphics::Rect(0, 0, 320, 480));
    auto header = QVADetailHeaderView::addHeaderToTableView(table, TestDetailsWithList::kHeaderNibName, 180);
    ASSERT_NE(std::dynamic_pointer_cast<TestDetailHeaderView>(header), nullptr);
    EXPECT_EQ(table->tableHeaderView(), header);
    EXPECT_EQ(header->frame(), graphics::Rect(0, 0, 320, 180));
    EXPECT_FALSE(header->translatesAutoresizingMaskIntoConstraints());

    ASSERT_EQ(table->constraints().size(), 3u);
    const NSLayoutAttribute pinned[] = {NSLayoutAttribute::Top, NSLayoutAttribute::Leading, NSLayoutAttribute::Width};
    for (size_t i = 0; i < 3; ++i) {
        const auto& constraint = table->constraints()[i];
        EXPECT_EQ(constraint->firstItem(), table);
        EXPECT_EQ(constraint->secondItem(), header);
        EXPECT_EQ(constraint->firstAttribute(), pinned[i]);
        EXPECT_EQ(constraint->secondAttribute(), pinned[i]);
    }
    const auto& height = header->headerBackgroundImageHeightConstraint();
    ASSERT_NE(height, nullptr);
    EXPECT_EQ(height->firstItem(), header);
    EXPECT_EQ(height->firstAttribute(), NSLayoutAttribute::Height);
    EXPECT_EQ(height->constant(), 180);
    EXPECT_EQ(header->constraints().back(), height);
}

TEST_F(DetailHeaderTest, aContainerHeaderIsItsSubview) {
    auto container = std::make_shared<uikit::UIView>(graphics::Rect(0, 0, 300, 400));
    auto header = QVADetailHeaderView::addHeaderViewToContainer(container, TestDetailsWithList::kHeaderNibName, 150);
    ASSERT_EQ(container->subviews().size(), 1u);
    EXPECT_EQ(container->subviews().front(), header);
    EXPECT_EQ(header->frame(), graphics::Rect(0, 0, 300, 150));
    EXPECT_EQ(container->constraints().size(), 3u);
    EXPECT_EQ(header->headerBackgroundImageHeightConstraint()->constant(), 150);
}

TEST_F(DetailHeaderTest, theBarImageIsTheBottom64PointsOfThePictureAtScaleOne) {
    auto table = std::make_shared<uikit::UITableView>(graphics::Rect(0, 0, 375, 667));
    auto header = QVADetailHeaderView::addHeaderToTableView(table, TestDetailsWithList::kHeaderNibName, 200);
    auto strip = header->getNavigationBarBackgroundImage();
    ASSERT_NE(strip, nullptr);
    ASSERT_NE(strip->bitmap(), nullptr);
    EXPECT_EQ(strip->scale(), 1);
    EXPECT_EQ(strip->bitmap()->width(), 375);
    EXPECT_EQ(strip->bitmap()->height(), 64);
    const graphics::Pixel red{255, 0, 0, 255};
    // (The top row sits on the band's edge, where the drawing filters.)
    for (int y : {2, 32, 63}) EXPECT_EQ(strip->bitmap()->pixel(187, y), red) << y;

    // A piece straddling the band's top edge: blue above, red below.
    auto piece = header->getSubImageFrom(TestDetailHeaderView::picture(), graphics::Rect(10, 126, 20, 20));
    ASSERT_NE(piece->bitmap(), nullptr);
    EXPECT_EQ(piece->bitmap()->width(), 20);
    EXPECT_EQ(piece->bitmap()->pixel(5, 5), (graphics::Pixel{0, 0, 255, 255}));
    EXPECT_EQ(piece->bitmap()->pixel(5, 15), red);
}

}  // namespace
