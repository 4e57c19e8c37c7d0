// The shared cells and small views of the lists: the section header's
// title, picture and hint, the star that takes no room without the
// relationships permission, the hint bubble, and the cells loaded from their
// interface files with their configure operations.
#include <gtest/gtest.h>

#include "Utils/CustomTextField.h"
#include "Utils/MeetingStoreTestSupport.h"
#include "Utils/QVARegistrableCell.h"
#include "Utils/Utils.h"
#include "lists/ButtonCell.h"
#include "lists/CustomBubbleView.h"
#include "lists/CustomBubbleViewDelegate.h"
#include "lists/CustomSectionHeaderTableView.h"
#include "lists/DetailTableHeaderViewCell.h"
#include "lists/FavoriteButton.h"
#include "lists/ListCellNibs.h"
#include "lists/MultilineLabelCell.h"
#include "lists/OneRowTitleCell.h"
#include "lists/QVASubtitleStyleTableViewCell.h"
#include "lists/TextFieldCell.h"
#include "lists/TextViewEditCell.h"
#include "uikit/NSLayoutConstraint.h"
#include "uikit/UIButton.h"
#include "uikit/UIColor.h"
#include "uikit/UIImage.h"
#include "uikit/UIImageView.h"
#include "uikit/UILabel.h"
#include "uikit/UINib.h"
#include "uikit/UITableView.h"
#include "uikit/UITextView.h"
#include "uikit/UIWindow.h"

namespace {

using graphics::Rect;
using uikit::NSLayoutAttribute;
using uikit::UIColor;

graphics::Color cellRgb255(double r, double g, double b) { return UIColor::colorWithRed(r / 255, g / 255, b / 255, 1); }

size_t indexOf(const uikit::UIView& parent, const uikit::UIViewPtr& child) {
    const auto& subviews = parent.subviews();
    return static_cast<size_t>(std::find(subviews.begin(), subviews.end(), child) - subviews.begin());
}

// ---- Section header ---------------------------------------------------------------

TEST(CustomSectionHeaderTableView, TitleSitsSevenPointsInCentredInDarkBlueOnLightGrey) {
    auto header = std::make_shared<CustomSectionHeaderTableView>(Rect{0, 0, 320, 23});
    EXPECT_EQ(header->backgroundColor(), cellRgb255(247, 247, 247));
    EXPECT_TRUE(CustomSectionHeaderTableView::requiresConstraintBasedLayout());
    EXPECT_EQ(header->headerTitleLabel(), nullptr);

    header->setTitle("Tuesday");
    auto label = header->headerTitleLabel();
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), "Tuesday");
    EXPECT_EQ(label->textColor(), cellRgb255(2, 83, 155));
    EXPECT_EQ(label->font()->fontName(), "HelveticaNeue");
    EXPECT_EQ(label->font()->pointSize(), 14);
    EXPECT_EQ(label->backgroundColor(), UIColor::clearColor());
    EXPECT_EQ(label->frame().origin.x, 7);
    EXPECT_GT(label->frame().size.width, 0);
    EXPECT_DOUBLE_EQ(label->frame().midY(), 11.5);

    // A given colour, and a second title replaces the first label.
    header->setTitle("Wednesday", UIColor::blackColor());
    EXPECT_EQ(header->headerTitleLabel()->textColor(), UIColor::blackColor());
    EXPECT_EQ(label->superview(), nullptr);
    EXPECT_EQ(header->subviews().size(), 1u);

    // The title follows a taller header on layout.
    header->setFrame({0, 0, 320, 40});
    header->layoutIfNeeded();
    EXPECT_DOUBLE_EQ(header->headerTitleLabel()->frame().midY(), 20);
}

TEST(CustomSectionHeaderTableView, APictureFillsTheHeaderBehindTheTitleAndTheHintSitsAtTheTrailingEdge) {
    auto header = CustomSectionHeaderTableView::initWithFrame({0, 0, 320, 23}, "ios7_spotlight_table_section_header");
    EXPECT_FALSE(header->backgroundColor());
    auto background = header->backgroundImageView();
    ASSERT_NE(background, nullptr);
    ASSERT_NE(background->image(), nullptr);
    EXPECT_EQ(background->image()->name(), "ios7_spotlight_table_section_header");
    EXPECT_EQ(background->frame(), (Rect{0, 0, 320, 23}));

    header->setTitle("Now");
    header->setHintImage("search_lens.png");
    // Behind: the picture comes before the title among the subviews.
    EXPECT_LT(indexOf(*header, background), indexOf(*header, header->headerTitleLabel()));
    ASSERT_NE(header->hintImage(), nullptr);
    const auto natural = header->hintImage()->size();
    EXPECT_EQ(natural, (graphics::Size{14, 14}));
    EXPECT_EQ(header->hintImageView()->frame(), (Rect{320 - 14, (23 - 14) / 2.0, 14, 14}));

    // Wider: the picture still spans the header and the hint stays at the edge.
    header->setFrame({0, 0, 768, 23});
    header->layoutIfNeeded();
    EXPECT_EQ(background->frame(), (Rect{0, 0, 768, 23}));
    EXPECT_EQ(header->hintImageView()->frame().maxX(), 768);
    EXPECT_EQ(header->hintImageView()->frame().size, natural);
}

TEST(CustomSectionHeaderTableView, UpdateConstraintsDescribesOnlyTheViewsThatExist) {
    auto header = std::make_shared<CustomSectionHeaderTableView>(Rect{0, 0, 320, 23});
    header->updateConstraintsIfNeeded();
    EXPECT_TRUE(header->constraints().empty());
    header->setTitle("A");
    header->updateConstraintsIfNeeded();
    ASSERT_EQ(header->constraints().size(), 2u);
    EXPECT_EQ(header->constraints().front()->constant(), 7);
    header->setHintImage("search_lens.png");
    header->updateConstraintsIfNeeded();
    // Title and hint, none doubled by the second run.
    EXPECT_EQ(header->constraints().size(), 6u);
}

// ---- Favourite star ----------------------------------------------------------------

class FavoriteButtonTest : public meetingtest::MeetingStoreTest {
protected:
    std::shared_ptr<FavoriteButton> loadStar() {
        auto star = std::make_shared<FavoriteButton>(Rect{10, 10, 30, 30});
        star->setWidthConstraint(uikit::NSLayoutConstraint::constraintWithItem(
            star, NSLayoutAttribute::Width, uikit::NSLayoutRelation::Equal, nullptr, NSLayoutAttribute::NotAnAttribute,
            1, 30));
        star->setHeightConstraint(uikit::NSLayoutConstraint::constraintWithItem(
            star, NSLayoutAttribute::Height, uikit::NSLayoutRelation::Equal, nullptr,
            NSLayoutAttribute::NotAnAttribute, 1, 30));
        star->awakeFromNib();
        return star;
    }
};

TEST_F(FavoriteButtonTest, WithoutRelationshipsReadTheStarTakesNoRoomAndHides) {
    // No store at all.
    auto star = loadStar();
    EXPECT_TRUE(star->isHidden());
    EXPECT_EQ(star->frame(), (Rect{10, 10, 0, 0}));
    EXPECT_EQ(star->widthConstraint()->constant(), 0);
    EXPECT_EQ(star->heightConstraint()->constant(), 0);

    // A store granting something else, or refusing the permission.
    openCurrent("star");
    insert("star", "QVACoreDataPermission",
           {{{"code", "relationships:write"}, {"granted", true}}, {{"code", "relationships:read"}, {"granted", false}}});
    star = loadStar();
    EXPECT_TRUE(star->isHidden());
    EXPECT_EQ(star->frame().size, (graphics::Size{0, 0}));

    // The state is only recorded.
    star->setFavoriteState(true);
    EXPECT_TRUE(star->isFavorite());
    star->setFavoriteState(false);
    EXPECT_FALSE(star->isFavorite());
}

TEST_F(FavoriteButtonTest, WithRelationshipsReadTheStarShowsAtItsSize) {
    openCurrent("star");
    insert("star", "QVACoreDataPermission", {{{"code", "relationships:read"}, {"granted", true}}});
    auto star = loadStar();
    EXPECT_FALSE(star->isHidden());
    EXPECT_EQ(star->frame(), (Rect{10, 10, 30, 30}));
    EXPECT_EQ(star->widthConstraint()->constant(), 30);
}

// ---- Hint bubble -------------------------------------------------------------------

struct BubbleListener : CustomBubbleViewDelegate {
    int taps = 0;
    void bubbleTapped() override { ++taps; }
};

TEST(CustomBubbleView, TheTextSitsSeventeenBelowTheTopOfATopBubbleAndThreeOtherwise) {
    const Rect parent{0, 64, 375, 603};
    const Rect bubble{200, 10, 160, 80};
    auto top = CustomBubbleView::initWithParentFrame(parent, bubble, "Swipe to see the next session", true);
    EXPECT_EQ(top->frame(), (Rect{0, 0, 375, 603}));
    EXPECT_EQ(top->bubbleView()->frame(), bubble);
    EXPECT_EQ(top->textLabel()->frame(), (Rect{10, 17, 140, 60}));
    EXPECT_EQ(top->textLabel()->text(), "Swipe to see the next session");
    auto image = top->bubbleImageView()->image();
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->name(), "bubble_bottom_right.png");
    EXPECT_EQ(image->capInsets().top, 30);
    EXPECT_EQ(image->capInsets().left, 0);
    EXPECT_EQ(image->capInsets().right, 0);
    EXPECT_EQ(image->resizingMode(), uikit::UIImageResizingMode::Stretch);
    EXPECT_EQ(top->bubbleImageView()->frame(), (Rect{0, 0, 160, 80}));

    auto below = CustomBubbleView::initWithParentFrame(parent, bubble, "Tap a star", false);
    EXPECT_EQ(below->textLabel()->frame().origin.y, 3);
    EXPECT_EQ(below->bubbleImageView()->image()->name(), "bubble_top_right.png");
    EXPECT_EQ(below->bubbleImageView()->image()->capInsets().top, 20);

    // The overlay follows its parent; the bubble keeps its place from the right and top.
    auto holder = std::make_shared<uikit::UIView>(Rect{0, 0, 375, 603});
    holder->addSubview(top);
    holder->setFrame({0, 0, 667, 311});
    EXPECT_EQ(top->frame(), (Rect{0, 0, 667, 311}));
    EXPECT_EQ(top->bubbleView()->frame(), (Rect{492, 10, 160, 80}));
    EXPECT_EQ(top->overlayButton()->frame(), (Rect{0, 0, 667, 311}));
}

TEST(CustomBubbleView, ATouchAnywhereOnTheOverlayReachesTheDelegate) {
    auto window = std::make_shared<uikit::UIWindow>(Rect{0, 0, 375, 667});
    auto bubble = CustomBubbleView::initWithParentFrame({0, 0, 375, 667}, {200, 10, 160, 80}, "Hint", true);
    window->addSubview(bubble);
    auto listener = std::make_shared<BubbleListener>();

    // Nobody listening yet: nothing happens.
    ASSERT_TRUE(bubble->overlayButton()->tap());
    bubble->setCustomBubbleViewDelegate(listener);

    for (graphics::Point point : {graphics::Point{20, 600}, graphics::Point{250, 40}}) {
        auto hit = window->hitTest(point);
        ASSERT_EQ(hit, bubble->overlayButton()) << point.x;
        auto control = std::dynamic_pointer_cast<uikit::UIControl>(hit);
        // Touch-down is enough.
        control->sendActionsForControlEvents(uikit::UIControlEventTouchDown);
    }
    EXPECT_EQ(listener->taps, 2);
    EXPECT_EQ(bubble->overlayButton()->backgroundColor(), UIColor::clearColor());
}

// ---- Cells -------------------------------------------------------------------------

template <class Cell>
std::shared_ptr<Cell> load(const std::string& nib) {
    ListCellNibs::registerNibs();
    const auto objects = uikit::UINib::loadNibNamed(nib, nullptr);
    EXPECT_EQ(objects.size(), 1u);
    return objects.empty() ? nullptr : std::dynamic_pointer_cast<Cell>(objects.front());
}

TEST(ListCells, EachNibMakesItsCellWithItsOutletsAndNamingTheRegistrableCellRegistersThem) {
    for (const auto& name : ListCellNibs::nibNames()) uikit::UINib::unregisterNib(name);
    const auto registrable = QVARegistrableCell::of<MultilineLabelCell>();
    EXPECT_EQ(registrable.cellNibName, "MultilineLabelCell");
    EXPECT_EQ(registrable.cellIdentifier, "multilineLabelCellIdentifier");
    for (const auto& name : ListCellNibs::nibNames()) EXPECT_TRUE(uikit::UINib::hasNibNamed(name)) << name;
    ListCellNibs::registerNibs();  // again: nothing changes

    auto multiline = load<MultilineLabelCell>("MultilineLabelCell");
    ASSERT_NE(multiline, nullptr);
    EXPECT_EQ(multiline->reuseIdentifier(), "multilineLabelCellIdentifier");
    ASSERT_NE(multiline->multilineLabel(), nullptr);
    EXPECT_EQ(multiline->multilineLabel()->numberOfLines(), 0u);
    EXPECT_EQ(multiline->multilineLabel()->superview(), multiline->contentView());

    auto oneRow = load<OneRowTitleCell>("OneRowTitleCell");
    ASSERT_NE(oneRow, nullptr);
    EXPECT_EQ(oneRow->titleCellLabel()->outletName(), "titleCellLabel");
    auto subtitle = load<QVASubtitleStyleTableViewCell>("QVASubtitleStyleTableViewCell");
    ASSERT_NE(subtitle, nullptr);
    ASSERT_NE(subtitle->titleLabel(), nullptr);
    ASSERT_NE(subtitle->subtitleLabel(), nullptr);
    auto header = load<DetailTableHeaderViewCell>("DetailTableHeaderViewCell");
    ASSERT_NE(header, nullptr);
    EXPECT_NE(header->headerTitle(), nullptr);
    auto button = load<ButtonCell>("ButtonCell");
    ASSERT_NE(button, nullptr);
    EXPECT_NE(button->buttonProposeChange(), nullptr);

    // Parts follow the row's width.
    oneRow->setFrame({0, 0, 768, 44});
    oneRow->layoutIfNeeded();
    EXPECT_EQ(oneRow->titleCellLabel()->frame().size.width, 768 - 30);
}

TEST(ListCells, TheMultilineCellMeasuresItsTextAndTablesServeItByItsIdentifier) {
    auto table = std::make_shared<uikit::UITableView>(Rect{0, 0, 320, 480});
    Utils::registerCellNibs({QVARegistrableCell::of<MultilineLabelCell>()}, *table);
    auto cell = std::dynamic_pointer_cast<MultilineLabelCell>(
        table->dequeueReusableCellWithIdentifier(MultilineLabelCell::cellIdentifier()));
    ASSERT_NE(cell, nullptr);

    cell->multilineLabel()->setText("One line");
    const double one = cell->fittingHeightForWidth(320);
    std::string paragraph;
    for (int i = 0; i < 40; ++i) paragraph += "meeting ";
    cell->multilineLabel()->setText(paragraph);
    const double many = cell->fittingHeightForWidth(320);
    EXPECT_GT(one, 2 * MultilineLabelCell::kVerticalMargin);
    EXPECT_GT(many, one);
    // Narrower: more lines.
    EXPECT_GT(cell->fittingHeightForWidth(200), many);

    // Laid out, the label spans the content less the margins.
    cell->setFrame({0, 0, 320, many});
    cell->layoutIfNeeded();
    EXPECT_EQ(cell->multilineLabel()->frame().size.width, 320 - 30);
    EXPECT_EQ(cell->multilineLabel()->preferredMaxLayoutWidth(), 320 - 30);
}

struct FieldDelegate : uikit::UITextFieldDelegate {};
struct ViewDelegate : uikit::UITextViewDelegate {};

TEST(ListCells, TheTextViewIsLightGreyWhileEditableAndBlackOtherwise) {
    auto cell = load<TextViewEditCell>("TextViewEditCell");
    ASSERT_NE(cell, nullptr);
    auto delegate = std::make_shared<ViewDelegate>();
    cell->configureWithText("Notes", true, delegate);
    auto view = cell->theTextView();
    EXPECT_EQ(view->text(), "Notes");
    EXPECT_TRUE(view->isEditable());
    EXPECT_EQ(view->delegate(), delegate);
    EXPECT_EQ(view->textColor(), UIColor::lightGrayColor());

    cell->configureWithText(std::nullopt, false, nullptr);
    EXPECT_EQ(view->text(), "");
    EXPECT_FALSE(view->isEditable());
    EXPECT_EQ(view->delegate(), nullptr);
    EXPECT_EQ(view->textColor(), UIColor::blackColor());
}

TEST(ListCells, TheFieldCellsTwoFormsDifferOnlyInTheAddButton) {
    auto cell = load<TextFieldCell>("TextFieldCell");
    ASSERT_NE(cell, nullptr);
    auto field = cell->textField();
    ASSERT_NE(field, nullptr);
    EXPECT_EQ(field->autocorrectionType(), uikit::UITextAutocorrectionType::No);
    auto delegate = std::make_shared<FieldDelegate>();

    cell->configureWithKey("city", "City", "Basel", true, delegate, true);
    EXPECT_EQ(cell->key(), "city");
    EXPECT_EQ(field->key(), "city");
    EXPECT_EQ(field->placeholder(), "City");
    EXPECT_EQ(field->text(), "Basel");
    EXPECT_EQ(field->delegate(), delegate);
    EXPECT_EQ(field->autocapitalizationType(), uikit::UITextAutocapitalizationType::Sentences);
    EXPECT_TRUE(cell->addButton()->isHidden());

    cell->configureWithKey("email", "E-mail", std::nullopt, false, delegate, false);
    EXPECT_EQ(field->key(), "email");
    EXPECT_EQ(field->autocapitalizationType(), uikit::UITextAutocapitalizationType::None);
    EXPECT_FALSE(cell->addButton()->isHidden());

    for (bool editable : {true, false}) {
        cell->configureForLocationSuggestionWithKey("room", "Room", "", editable, delegate, false);
        EXPECT_EQ(field->key(), "room");
        EXPECT_FALSE(cell->addButton()->isHidden()) << editable;
    }
}

}  // namespace
