// The navigation rows of a details screen: the self-served table (rows,
// cells, the enable switches, in-place updates, taps handed to the owner)
// and the row cell of larger details tables.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "../support/ScreenTest.h"
#include "Utils/Utils.h"
#include "foundation/Exception.h"
#include "lists/DetailNavigationCell.h"
#include "lists/DetailsNavigationDataModel.h"
#include "lists/DetailsNavigationView.h"
#include "lists/DetailsPushNavigationProtocol.h"
#include "uikit/UIColor.h"
#include "uikit/UIFont.h"
#include "uikit/UIImage.h"
#include "uikit/UIImageView.h"
#include "uikit/UILabel.h"
#include "uikit/UITableViewCell.h"

namespace {

using Rows = DetailsNavigationView::Rows;

std::shared_ptr<DetailsNavigationDataModel> row(const std::string& identifier, const std::string& title,
                                                bool enabled = true) {
    auto model = std::make_shared<DetailsNavigationDataModel>();
    model->storyboardIdentifier = identifier;
    model->cellTitle = title;
    model->isNavigationEnabled = enabled;
    return model;
}

class Pusher : public foundation::Object, public DetailsPushNavigationProtocol {
public:
    void pushNavigationWithDetailsDataModel(const std::shared_ptr<DetailsNavigationDataModel>& model) override {
        pushed.push_back(model);
    }
    std::vector<std::shared_ptr<DetailsNavigationDataModel>> pushed;
};

class DetailsNavigationViewTest : public ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        auto screen = std::make_shared<uikit::UIViewController>();
        table = std::make_shared<DetailsNavigationView>(graphics::Rect{0, 0, 375, 400});
        table->connectToItself();
        screen->view()->addSubview(table);
        showRoot(screen);
    }
    void show(Rows rows) {
        table->setTheDataSourceArray(std::move(rows));
        table->reloadData();
        table->layoutIfNeeded();
    }
    std::string titleOf(int64_t index) { return table->cellForRowAtIndexPath({0, index})->textLabel()->text().value_or(""); }

    std::shared_ptr<DetailsNavigationView> table;
};

TEST_F(DetailsNavigationViewTest, RowsAreFreshPlainCellsInOneSectionOf44PointRows) {
    show({row("ProgrammeDetailsVideoViewController", "Live video"), row("ProgrammeFeedback", "Feedback", false)});
    EXPECT_EQ(table->numberOfSections(), 1);
    EXPECT_EQ(table->numberOfRowsInSection(0), 2);
    EXPECT_EQ(table->heightForRowAtIndexPath({0, 1}), 44);
    EXPECT_EQ(table->heightForHeaderInSection(0), 0);
    EXPECT_EQ(table->heightForFooterInSection(0), 0);
    EXPECT_EQ(table->titleForHeaderInSection(0), std::nullopt);

    auto enabled = table->cellForRowAtIndexPath({0, 0});
    auto disabled = table->cellForRowAtIndexPath({0, 1});
    EXPECT_EQ(enabled->textLabel()->text(), "Live video");
    EXPECT_EQ(enabled->textLabel()->font()->pointSize(), 17);
    EXPECT_EQ(enabled->accessoryType(), uikit::UITableViewCellAccessoryType::DisclosureIndicator);
    EXPECT_EQ(enabled->textLabel()->textColor(), uikit::UIColor::blackColor());
    EXPECT_TRUE(enabled->isUserInteractionEnabled());
    EXPECT_EQ(disabled->textLabel()->textColor(), uikit::UIColor::grayColor());
    EXPECT_FALSE(disabled->isUserInteractionEnabled());
    EXPECT_EQ(enabled->reuseIdentifier(), std::nullopt);

    table->reloadData();
    table->layoutIfNeeded();
    EXPECT_NE(table->cellForRowAtIndexPath({0, 0}), enabled);
}

TEST_F(DetailsNavigationViewTest, TabSwitchesChangeOnlyTheFirstMatchingRowAndTapsGoToTheOwner) {
    show({row("ProgrammeDetailsVideoViewController", "Live video"), row("OtherVideoPage", "Replay"),
          row("ParticipantRecommendationsList", "Recommended")});
    auto pusher = std::make_shared<Pusher>();
    table->setDetailsNavigationDelegate(pusher);

    table->setVideoTabEnabled(false);
    table->layoutIfNeeded();
    const auto& rows = *table->theDataSourceArray();
    EXPECT_FALSE(rows[0]->isNavigationEnabled);
    EXPECT_TRUE(rows[1]->isNavigationEnabled);
    EXPECT_EQ(table->cellForRowAtIndexPath({0, 0})->textLabel()->textColor(), uikit::UIColor::grayColor());
    EXPECT_FALSE(table->tapRowAtIndexPath({0, 0}));
    EXPECT_TRUE(pusher->pushed.empty());

    // Case is ignored in the match.
    table->setParticipantRecommendationsTabEnabled(false);
    EXPECT_FALSE(rows[2]->isNavigationEnabled);

    auto before = table->cellForRowAtIndexPath({0, 1});
    table->setFeedbackTabEnabled(false);
    table->layoutIfNeeded();
    EXPECT_NE(table->cellForRowAtIndexPath({0, 1}), before);
    EXPECT_TRUE(rows[1]->isNavigationEnabled);

    // An enabled row goes to the owner, deselected; without an owner it raises.
    EXPECT_TRUE(table->tapRowAtIndexPath({0, 1}));
    ASSERT_EQ(pusher->pushed.size(), 1u);
    EXPECT_EQ(pusher->pushed[0], rows[1]);
    EXPECT_EQ(table->indexPathForSelectedRow(), std::nullopt);
    table->setDetailsNavigationDelegate(std::make_shared<uikit::UIViewController>());
    try {
        table->tapRowAtIndexPath({0, 1});
        FAIL() << "no exception";
    } catch (const foundation::Exception& exception) {
        EXPECT_EQ(exception.name(), "Selector not implemented");
        EXPECT_EQ(exception.reason(), "Please implement pushNavigationWithDetailsDataModel");
    }
}

TEST_F(DetailsNavigationViewTest, UpdatesReplaceByExactIdentifierOrAppendAndWaitForRows) {
    table->updateTableDataSourceArrayWithObject(row("A", "first"));
    table->setVideoTabEnabled(false);
    EXPECT_FALSE(table->theDataSourceArray());

    show({row("ProgrammeDetailsVideoViewController", "Live video"), row("Feedback", "Feedback")});
    table->updateTableDataSourceArrayWithObject(row("ProgrammeDetailsVideoViewController", "Video replay", false));
    table->updateTableDataSourceArrayWithObject(row("feedback", "Lower case is another row"));
    table->layoutIfNeeded();
    ASSERT_EQ(table->theDataSourceArray()->size(), 3u);
    EXPECT_EQ(titleOf(0), "Video replay");
    EXPECT_EQ(titleOf(1), "Feedback");
    EXPECT_EQ(titleOf(2), "Lower case is another row");
    EXPECT_FALSE(table->cellForRowAtIndexPath({0, 0})->isUserInteractionEnabled());
}

TEST_F(DetailsNavigationViewTest, TheRowCellComesFromItsNibAndKeepsItsIconWithoutAName) {
    Utils::registerCellNibs({QVARegistrableCell::of<DetailNavigationCell>()}, *table);
    auto cell = std::dynamic_pointer_cast<DetailNavigationCell>(
        table->dequeueReusableCellWithIdentifier("detailNavigationCellIdentifier"));
    ASSERT_TRUE(cell);
    ASSERT_TRUE(cell->navigationIcon());
    ASSERT_TRUE(cell->navigationLabel());

    auto withIcon = row("ProgrammeDetailsVideoViewController", "Live video");
    withIcon->iconName = "icon_summary.png";
    ASSERT_TRUE(uikit::UIImage::imageNamed("icon_summary.png"));
    cell->configureWithDataModel(*withIcon);
    auto shown = cell->navigationIcon()->image();
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->renderingMode(), uikit::UIImageRenderingMode::AlwaysTemplate);
    EXPECT_EQ(cell->navigationLabel()->text(), "Live video");
    EXPECT_TRUE(cell->isUserInteractionEnabled());

    auto without = row("Feedback", "Feedback", false);
    without->iconName = "";
    cell->configureWithDataModel(*without);
    EXPECT_EQ(cell->navigationIcon()->image(), shown);
    EXPECT_EQ(cell->navigationLabel()->text(), "Feedback");
    EXPECT_EQ(cell->navigationLabel()->textColor(), uikit::UIColor::grayColor());
    EXPECT_FALSE(cell->isUserInteractionEnabled());
    cell->setNavigationEnabled(true);
    EXPECT_EQ(cell->navigationLabel()->textColor(), uikit::UIColor::blackColor());
}

}  // namespace
