#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "lists/KeyValueBoldCell.h"
#include "lists/KeyValueButtonsCell.h"
#include "lists/KeyValueNormalCell.h"
#include "lists/KeyValueTableView.h"
#include "lists/TextCell.h"
#include "support/ScreenTest.h"
#include "uikit/NSLayoutConstraint.h"
#include "uikit/UIColor.h"
#include "uikit/UILabel.h"
#include "uikit/UITextView.h"
#include "Utils/UIBlockButton.h"

namespace {

class KeyValueTable : public ScreenTest {
protected:
    std::shared_ptr<KeyValueTableView> table;
    std::shared_ptr<uikit::NSLayoutConstraint> height;

    void SetUp() override {
        ScreenTest::SetUp();
        table = std::make_shared<KeyValueTableView>(graphics::Rect{0, 0, 375, 600});
        table->makeInitialAdjustments();
        table->resetTable();
        table->setAvailableWidth(375);
        height = uikit::NSLayoutConstraint::constraintWithItem(table, uikit::NSLayoutAttribute::Height,
                                                               uikit::NSLayoutRelation::Equal, nullptr,
                                                               uikit::NSLayoutAttribute::NotAnAttribute, 1, 55);
        table->setTableViewHeightConstraint(height);
    }

    template <class Cell>
    std::shared_ptr<Cell> cellAt(int64_t row) {
        table->reloadTable();
        table->layoutSubviews();
        return std::dynamic_pointer_cast<Cell>(table->cellForRowAtIndexPath(uikit::NSIndexPath::indexPathForRow(row, 0)));
    }
};

}  // namespace

TEST_F(KeyValueTable, StacksOneBlockButtonPerTitle) {
    std::vector<int64_t> tapped;
    table->addRowWithKey("Links", "Website|Mail|Map", true, true,
                         [&](uikit::UIControl& button) { tapped.push_back(button.tag()); });
    table->addRowWithKey("Link", "Website", true, true, nullptr);
    EXPECT_EQ(table->rowHeights(), (std::vector<int64_t>{119, 38}));

    auto cell = cellAt<KeyValueButtonsCell>(0);
    ASSERT_NE(cell, nullptr);
    const auto& buttons = cell->buttonsContainer()->subviews();
    ASSERT_EQ(buttons.size(), 3u);
    std::vector<double> tops;
    for (const auto& view : buttons) {
        tops.push_back(view->frame().origin.y);
        EXPECT_EQ(view->frame().size.height, 29);
        EXPECT_EQ(view->frame().size.width, 375 - 100 + 8);
    }
    EXPECT_EQ(tops, (std::vector<double>{0, 37, 74}));
    EXPECT_EQ(cell->buttonsContainerHeightConstraint()->constant(), 103);
    auto second = std::dynamic_pointer_cast<UIBlockButton>(buttons[1]);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->titleForState(uikit::UIControlStateNormal), "Mail");
    EXPECT_EQ(second->titleForState(uikit::UIControlStateHighlighted), "Mail");
    EXPECT_EQ(second->titleColorForState(uikit::UIControlStateNormal),
              uikit::UIColor::colorWithRed(50.0 / 255, 79.0 / 255, 133.0 / 255, 1));
    EXPECT_EQ(second->titleColorForState(uikit::UIControlStateHighlighted), uikit::UIColor::darkGrayColor());
    EXPECT_TRUE(second->tap());
    EXPECT_EQ(tapped, (std::vector<int64_t>{1001}));

    // A reused cell holds only the buttons of its new row.
    table->resetTable();
    table->addRowWithKey("Link", "Website", true, true, nullptr);
    EXPECT_EQ(cellAt<KeyValueButtonsCell>(0)->buttonsContainer()->subviews().size(), 1u);
}

// A button row's key ends before its buttons begin and wraps there, the
// row growing to hold its lines.
TEST_F(KeyValueTable, AButtonRowsKeyWrapsShortOfItsButtons) {
    table->addRowWithKey("open to spouse", "No", true, true, nullptr);
    table->addRowWithKey("a key long enough to need three lines here", "Yes", true, true, nullptr);
    for (int64_t row : {0, 1}) {
        auto cell = cellAt<KeyValueButtonsCell>(row);
        ASSERT_NE(cell, nullptr);
        const auto key = cell->keyLabel()->frame();
        EXPECT_LT(key.origin.x + key.size.width, cell->buttonsContainer()->frame().origin.x) << row;
        // The row cuts the measured height to whole points.
        const double needed = cell->keyLabel()->sizeThatFits({key.size.width, 1000}).height;
        EXPECT_LE(needed, key.size.height + 1) << row;
    }
    EXPECT_GT(table->rowHeights()[0], 38);
    EXPECT_GT(table->rowHeights()[1], table->rowHeights()[0]);
}

TEST_F(KeyValueTable, ShowsNoNoneAndNAInLightGrey) {
    table->addRowWithKey("Capacity", "N/A", false, false, nullptr);
    table->addRowWithKey("Capacity", "0", false, false, nullptr);
    table->addRowWithKey("", "A free text", false, true, nullptr);
    auto grey = cellAt<KeyValueNormalCell>(0);
    ASSERT_NE(grey, nullptr);
    EXPECT_EQ(grey->valueLabel()->textColor(), uikit::UIColor::lightGrayColor());
    EXPECT_EQ(grey->keyLabel()->text(), "Capacity");
    auto black = cellAt<KeyValueNormalCell>(1);
    ASSERT_NE(black, nullptr);
    EXPECT_EQ(black->valueLabel()->textColor(), uikit::UIColor::blackColor());
    auto text = cellAt<TextCell>(2);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->valueLabel()->text(), "A free text");
    EXPECT_EQ(text->selectionStyle(), uikit::UITableViewCellSelectionStyle::None);
}

TEST_F(KeyValueTable, MeasuresKeysAndValuesWhenRowsAreAdded) {
    table->addRowWithKey("Spouse", "Yes", false, false, nullptr);
    table->addRowWithKey("An unusually long key that needs three lines", "Yes", false, false, nullptr);
    table->addRowWithKey(std::nullopt, "Short", false, true, nullptr);
    std::string longValue;
    for (int i = 0; i < 40; ++i) longValue += "word ";
    table->addRowWithKey("Notes", longValue, false, true, nullptr);
    const auto& heights = table->rowHeights();
    EXPECT_EQ(heights[0], 38);
    EXPECT_GT(heights[1], 38);
    EXPECT_EQ(heights[2], 38);
    EXPECT_GT(heights[3], 38);
    EXPECT_EQ(table->requiredHeight(), heights[0] + heights[1] + heights[2] + heights[3]);
    table->updateTableHeight();
    EXPECT_EQ(height->constant(), table->requiredHeight());
}

TEST_F(KeyValueTable, IgnoreEmptyDropsBlankValuesOnly) {
    table->addRowWithKey("Meal", " \n\t ", false, false, true, nullptr);
    table->addRowWithKey("Meal", std::nullopt, false, false, true, nullptr);
    EXPECT_TRUE(table->rows().empty());
    table->addRowWithKey("Meal", " \n\t ", false, false, false, nullptr);
    table->addRowWithKey("Meal", std::nullopt, false, false, nullptr);
    EXPECT_EQ(table->rows().size(), 2u);

    table->updateTableHeight();
    EXPECT_EQ(height->constant(), 76);
    table->resetTable();
    table->updateTableHeight();
    EXPECT_EQ(height->constant(), 0);
    EXPECT_EQ(table->requiredHeight(), 0);
}

TEST_F(KeyValueTable, BoldCellShowsAPlainOrAClickableValue) {
    auto cell = std::make_shared<KeyValueBoldCell>();
    auto key = std::make_shared<uikit::UILabel>();
    auto value = std::make_shared<uikit::UILabel>();
    cell->contentView()->addSubview(key);
    cell->contentView()->addSubview(value);
    cell->setKeyLabel(key);
    cell->setValueLabel(value);
    cell->configureWithKeyAndClickableValue("Website", "example.org");
    EXPECT_EQ(value->textColor(), uikit::UIColor::colorWithRed(0.1, 122.0 / 255, 204.0 / 255, 1));
    EXPECT_EQ(cell->selectionStyle(), uikit::UITableViewCellSelectionStyle::Default);
    cell->configureWithKey("City", "Geneva");
    EXPECT_EQ(value->textColor(), uikit::UIColor::blackColor());
    EXPECT_EQ(key->text(), "City");
    EXPECT_EQ(cell->selectionStyle(), uikit::UITableViewCellSelectionStyle::None);
}

namespace {

class KeyValueTableOnPad : public KeyValueTable {
protected:
    uikit::DeviceProfile deviceProfile() const override { return uikit::DeviceProfile::iPad(); }
};

}  // namespace

TEST_F(KeyValueTableOnPad, UsesTheWiderKeyColumn) {
    table->setAvailableWidth(500);
    table->addRowWithKey("Links", "Website|Mail", true, true, nullptr);
    std::string value;
    for (int i = 0; i < 30; ++i) value += "word ";
    table->addRowWithKey("Notes", value, false, true, nullptr);
    table->addRowWithKey("", value, false, true, nullptr);
    EXPECT_EQ(table->rowHeights()[0], 2 * 37 + 8);
    // The same text wraps more in the column beside a key than across the whole width.
    EXPECT_GT(table->rowHeights()[1], table->rowHeights()[2]);
    auto cell = cellAt<KeyValueButtonsCell>(0);
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->buttonsContainer()->subviews()[0]->frame().size.width, 500 - 178 + 8);
    auto normal = cellAt<KeyValueNormalCell>(1);
    ASSERT_NE(normal, nullptr);
    EXPECT_EQ(normal->valueLabel()->frame().origin.x, 186);
}
