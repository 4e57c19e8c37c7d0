// The shell's helpers that work on screens: the keyboard height in the root
// view, screenshots at the screen's scale, sizing cells, cell nib
// registration, the block button, the label colour set through the proxy,
// and the room-location texts and index-path checks over a store.
#include <gtest/gtest.h>

#include "MeetingStoreTestSupport.h"
#include "Utils/UIBlockButton.h"
#include "Utils/UILabelExtension.h"
#include "Utils/Utils.h"
#include "coredata/FetchRequest.h"
#include "coredata/FetchedResultsController.h"
#include "coredata/SortDescriptor.h"
#include "foundation/NotificationCenter.h"
#include "support/ScreenTest.h"
#include "uikit/NSIndexPath.h"
#include "uikit/UIAppearance.h"
#include "uikit/UIColor.h"
#include "uikit/UIImage.h"
#include "uikit/UIKeyboard.h"
#include "uikit/UILabel.h"
#include "uikit/UINib.h"
#include "uikit/UITableView.h"
#include "uikit/UITableViewCell.h"

namespace {

using foundation::Value;

class UtilsScreen : public ScreenTest {
protected:
    void TearDown() override {
        uikit::UIAppearance::resetForTests();
        ScreenTest::TearDown();
    }

    std::shared_ptr<uikit::UIViewController> showPlainRoot() {
        auto root = std::make_shared<uikit::UIViewController>();
        showRoot(root);
        return root;
    }

    static foundation::Notification keyboardWillShow(double height) {
        const auto screen = uikit::UIKeyboard::frameForCurrentDevice();
        Value::Dictionary info{{uikit::UIKeyboardFrameEndUserInfoKey,
                                uikit::UIKeyboard::rectValue({{0, 800 - height}, {screen.size.width, height}})}};
        return {uikit::UIKeyboardWillShowNotification, Value(), Value(std::move(info))};
    }
};

TEST_F(UtilsScreen, KeyboardHeightLeavesOutTheTabBarOnThePhoneOnly) {
    auto root = showPlainRoot();
    EXPECT_EQ(Utils::getKeyboardHeightFromKeyboardNotification(keyboardWillShow(216), *root->view()), 167);
    EXPECT_EQ(Utils::storyboardName(), "Storyboard_iPhone");

    uikit::DeviceProfile::apply(uikit::DeviceProfile::iPad());
    root = showPlainRoot();
    EXPECT_EQ(Utils::getKeyboardHeightFromKeyboardNotification(keyboardWillShow(216), *root->view()), 216);
    EXPECT_EQ(Utils::storyboardName(), "Storyboard_iPad");
}

TEST_F(UtilsScreen, ScreenshotIsAtTheScreensScale) {
    auto view = std::make_shared<uikit::UIView>(graphics::Rect{{5, 5}, {10, 10}});
    view->setBackgroundColor(graphics::Color::rgb(1, 0, 0));
    auto image = Utils::getScreenShotForView(*view);
    ASSERT_TRUE(image && image->bitmap());
    EXPECT_EQ(image->scale(), 2);
    EXPECT_EQ(image->size(), (graphics::Size{10, 10}));
    ASSERT_EQ(image->bitmap()->width(), 20);
    ASSERT_EQ(image->bitmap()->height(), 20);
    const graphics::Pixel red{255, 0, 0, 255};
    EXPECT_EQ(image->bitmap()->pixel(0, 0), red);
    EXPECT_EQ(image->bitmap()->pixel(19, 19), red);
}

// A cell whose height grows as its width shrinks, as wrapped text does.
class WrappingCell : public uikit::UITableViewCell {
public:
    using UITableViewCell::UITableViewCell;
    static std::string cellNibName() { return "WrappingCell"; }
    static std::string cellIdentifier() { return "wrappingCellIdentifier"; }
    double fittingHeightForWidth(double width) override {
        askedWidth = width;
        return 12000 / width;
    }
    double askedWidth = 0;
};

TEST_F(UtilsScreen, SizingCellMeasuresAtTheTablesWidthPlusTheSeparator) {
    uikit::UITableView table({{0, 0}, {300, 500}});
    WrappingCell cell;
    cell.setFrame({{0, 0}, {320, 44}});
    EXPECT_EQ(Utils::calculateHeightForConfiguredSizingCell(cell, table), 41);
    EXPECT_EQ(cell.askedWidth, 300);
    EXPECT_EQ(cell.bounds(), (graphics::Rect{{0, 0}, {300, 44}}));
}

TEST_F(UtilsScreen, CellNibsAreRegisteredUnderTheirIdentifiers) {
    uikit::UINib::registerNib(WrappingCell::cellNibName(), [](const foundation::ObjectPtr&) {
        return std::vector<foundation::ObjectPtr>{std::make_shared<WrappingCell>()};
    });
    uikit::UITableView table({{0, 0}, {300, 500}});
    Utils::registerCellNibs({QVARegistrableCell::of<WrappingCell>()}, table);
    auto cell = table.dequeueReusableCellWithIdentifier("wrappingCellIdentifier");
    EXPECT_TRUE(std::dynamic_pointer_cast<WrappingCell>(cell));
    uikit::UINib::unregisterNib(WrappingCell::cellNibName());
}

TEST_F(UtilsScreen, BlockButtonRunsOnlyTheLatestBlockForTheEventsOfEveryCall) {
    auto button = std::make_shared<UIBlockButton>(graphics::Rect{{0, 0}, {80, 30}});
    EXPECT_EQ(button->className(), "UIBlockButton");
    int first = 0, second = 0;
    uikit::UIControl* sender = nullptr;
    button->handleControlEvent(uikit::UIControlEventTouchUpInside, [&](uikit::UIControl&) { ++first; });
    button->handleControlEvent(uikit::UIControlEventValueChanged, [&](uikit::UIControl& from) {
        ++second;
        sender = &from;
    });
    button->sendActionsForControlEvents(uikit::UIControlEventTouchUpInside);
    button->sendActionsForControlEvents(uikit::UIControlEventValueChanged);
    EXPECT_EQ(first, 0);
    EXPECT_EQ(second, 2);
    EXPECT_EQ(sender, button.get());
    // The same event given twice still runs the block once.
    button->handleControlEvent(uikit::UIControlEventTouchUpInside, [&](uikit::UIControl&) { ++first; });
    button->sendActionsForControlEvents(uikit::UIControlEventTouchUpInside);
    EXPECT_EQ(first, 1);
}

TEST_F(UtilsScreen, HighlightedColourThroughTheProxyReachesLabelsInCellsOnly) {
    const auto black = graphics::Color::rgb(0, 0, 0);
    const auto blue = graphics::Color::rgb(0, 0, 1);
    UILabelExtension::setCustomHighlightedTextColor(
        uikit::UIAppearance::appearanceWhenContainedIn<uikit::UILabel, uikit::UITableViewCell>(), black);
    auto root = showPlainRoot();
    auto cell = std::make_shared<uikit::UITableViewCell>();
    auto inCell = std::make_shared<uikit::UILabel>();
    auto ownColour = std::make_shared<uikit::UILabel>();
    UILabelExtension::setCustomHighlightedTextColor(*ownColour, blue);
    auto outside = std::make_shared<uikit::UILabel>();
    cell->contentView()->addSubview(inCell);
    cell->contentView()->addSubview(ownColour);
    root->view()->addSubview(cell);
    root->view()->addSubview(outside);
    EXPECT_EQ(UILabelExtension::customHighlightedTextColor(*inCell), black);
    EXPECT_EQ(UILabelExtension::customHighlightedTextColor(*ownColour), blue);
    EXPECT_EQ(UILabelExtension::customHighlightedTextColor(*outside), std::nullopt);
}

class UtilsLocations : public meetingtest::MeetingStoreTest {
protected:
    std::shared_ptr<CoreDataStack> stack;
    void SetUp() override {
        MeetingStoreTest::SetUp();
        stack = openCurrent("places");
        insert("places", "QVACoreDataVenue", {{{"itemId", "v1"}, {"name", "Venue A"}}});
        insert("places", "QVACoreDataRoom",
               {{{"itemId", "r1"}, {"name", "Room 1"}, {"venueId", "v1"}},
                {{"itemId", "r2"}, {"name", "Room 2"}, {"venueId", "v9"}},
                {{"itemId", "r3"}, {"name", "Room 3"}, {"venueId", "v1"}}});
    }
};

TEST_F(UtilsLocations, RoomAndVenueFromTheStoreAndFromModels) {
    const auto& context = stack->managedObjectContextMainQueue();
    auto session = [](Value roomId) { return Value::dictionary({{"roomId", roomId}}); };
    EXPECT_EQ(Utils::currentLocationForObject(session("r1"), context), "Room 1, Venue A");
    EXPECT_EQ(Utils::currentLocationForObject(session("r2"), context), "Room 2");  // its venue is missing
    EXPECT_EQ(Utils::currentLocationForObject(session("r7"), context), std::nullopt);
    EXPECT_EQ(Utils::currentLocationForObject(session(""), context), std::nullopt);
    EXPECT_EQ(Utils::currentLocationForObject(Value::dictionary({}), context), std::nullopt);

    Value::Array venues{Value::dictionary({{"itemId", "v1"}, {"name", "Venue A"}})};
    Value::Array rooms{Value::dictionary({{"itemId", "r1"}, {"name", "Room 1"}, {"venueId", "v1"}}),
                       Value::dictionary({{"itemId", "r2"}, {"name", "Room 2"}, {"venueId", "v9"}})};
    EXPECT_EQ(Utils::getLocationStringForRoomId(Value("r1"), venues, rooms), "Room 1, Venue A");
    EXPECT_EQ(Utils::getLocationStringForRoomId(Value("r2"), venues, rooms), "Room 2");
    EXPECT_EQ(Utils::getLocationStringForRoomId(Value("r3"), venues, rooms), std::nullopt);
}

TEST_F(UtilsLocations, IndexPathsBeyondTheFetchedSectionsDoNotExist) {
    coredata::FetchRequest request("QVACoreDataRoom");
    request.setSortDescriptors({coredata::SortDescriptor("venueId", true), coredata::SortDescriptor("itemId", true)});
    coredata::FetchedResultsController rooms(request, stack->managedObjectContextMainQueue(), std::string("venueId"));
    ASSERT_EQ(rooms.performFetch(), nullptr);
    ASSERT_EQ(rooms.sections().size(), 2u);  // v1: r1, r3; v9: r2
    auto at = [](int64_t section, int64_t row) { return uikit::NSIndexPath::indexPathForRow(row, section); };
    EXPECT_TRUE(Utils::doesIndexPath(at(0, 1), rooms));
    EXPECT_TRUE(Utils::doesIndexPath(at(1, 0), rooms));
    EXPECT_FALSE(Utils::doesIndexPath(at(0, 2), rooms));
    EXPECT_FALSE(Utils::doesIndexPath(at(1, 1), rooms));
    EXPECT_FALSE(Utils::doesIndexPath(at(2, 0), rooms));
    EXPECT_FALSE(Utils::doesIndexPath(at(-1, 0), rooms));
}

}  // namespace
