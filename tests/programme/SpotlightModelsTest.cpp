// The home screen's row models made from stored rows, its section model's
// "more" rule, and the notification row's height per layout pattern.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "Utils/MeetingStoreTestSupport.h"
#include "support/ScreenTest.h"
#include "Utils/Utils.h"
#include "model/QVACoreDataBaseSession.h"
#include "programme/SpotlightNotificationCellTableViewCell.h"
#include "programme/SpotlightSectionDataModel.h"
#include "programme/SpotlightSessionModel.h"
#include "programme/SpotlightSessionTableViewCell.h"
#include "uikit/NSLayoutConstraint.h"
#include "uikit/DeviceProfile.h"
#include "uikit/UIFont.h"
#include "uikit/UILabel.h"
#include "Utils/UIBlockButton.h"

namespace {

using foundation::Value;
using Text = std::optional<std::string>;

class SpotlightSessionModelTest : public meetingtest::MeetingStoreTest {
protected:
    void SetUp() override {
        MeetingStoreTest::SetUp();
        stack = openCurrent("token");
        ASSERT_NE(stack, nullptr);
        insert("token", "QVACoreDataSession",
               {{{"itemId", "s1"}, {"title", "Opening"}, {"roomId", "r1"}, {"startDatetime", "2015-03-10T09:00:00Z"},
                 {"displayTime", "09:00"}, {"keyword", "open"}, {"cancelled", true}}});
        insert("token", "QVACoreDataPersonalEntry",
               {{{"itemId", "s2"}, {"agendaItemId", "pe7"}, {"title", "Gym"}, {"displayTime", "07:00"}}});
        insert("token", "QVACoreDataAgendaInvitation",
               {{{"itemId", "s1"}, {"agendaItemId", "inv3"}, {"title", "Opening"}, {"roomId", "r2"}}});
    }

    std::shared_ptr<SpotlightSessionModel> modelOf(const std::string& title, const std::string& entity) {
        for (const auto& row : rows<QVACoreDataBaseSession>("token"))
            if (row->title() == Text(title) && row->entity().name() == entity)
                return SpotlightSessionModel::getSpotlightSessionModelFromBaseSession(*row, venues, rooms);
        ADD_FAILURE() << "no " << entity << " row titled " << title;
        return nullptr;
    }

    std::shared_ptr<CoreDataStack> stack;
    Value::Array venues{Value::dictionary({{"itemId", "v1"}, {"name", "Congress centre"}})};
    Value::Array rooms{Value::dictionary({{"itemId", "r1"}, {"name", "Hall A"}, {"venueId", "v1"}}),
                       Value::dictionary({{"itemId", "r2"}, {"name", "Hall B"}, {"venueId", "v1"}})};
};

TEST_F(SpotlightSessionModelTest, KindsAndIdsComeFromTheRowsEntity) {
    auto official = modelOf("Opening", "QVACoreDataSession");
    ASSERT_NE(official, nullptr);
    EXPECT_EQ(official->sessionType(), SpotlightSessionModel::kOfficialSession);
    EXPECT_EQ(official->itemId(), Text("s1"));
    EXPECT_EQ(official->agendaItemId(), Text("s1"));
    EXPECT_EQ(official->locationName(), Text("Hall A, Congress centre"));
    EXPECT_TRUE(official->isCancelled());
    EXPECT_EQ(official->displayTime(), Text("09:00"));
    EXPECT_EQ(official->startDatetime(), Text("2015-03-10T09:00:00Z"));
    EXPECT_EQ(official->keyword(), Text("open"));
    EXPECT_EQ(official->roomId(), Text("r1"));
    // What the home screen fills itself stays unset.
    EXPECT_EQ(official->endDatetime(), std::nullopt);
    EXPECT_EQ(official->status(), std::nullopt);
    EXPECT_EQ(official->sessionOccupancy(), nullptr);

    auto entry = modelOf("Gym", "QVACoreDataPersonalEntry");
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->sessionType(), SpotlightSessionModel::kPersonalEntry);
    EXPECT_EQ(entry->itemId(), Text("s2"));
    EXPECT_EQ(entry->agendaItemId(), Text("pe7"));
    EXPECT_EQ(entry->locationName(), std::nullopt);  // no room
    EXPECT_FALSE(entry->isCancelled());

    auto invitation = modelOf("Opening", "QVACoreDataAgendaInvitation");
    ASSERT_NE(invitation, nullptr);
    EXPECT_EQ(invitation->sessionType(), SpotlightSessionModel::kOtherAgendaItem);
    EXPECT_EQ(invitation->agendaItemId(), Text("inv3"));
    EXPECT_EQ(invitation->locationName(), Text("Hall B, Congress centre"));
    EXPECT_EQ(invitation->className(), "SpotlightSessionModel");
}

TEST(SpotlightSectionDataModel, MoreActionNeedsATextAndRowsLeftOut) {
    SpotlightSectionDataModel section;
    EXPECT_EQ(section.numberOfAvailableItems(), 0u);
    EXPECT_FALSE(section.hasMoreAction());

    section.setModelItems({SpotlightSessionModel::initWithId(std::string("a")),
                           SpotlightSessionModel::initWithId(std::string("b"))});
    int runs = 0;
    section.setNumberOfAvailableItems(5);
    section.setMoreActionWithText(std::string(""), [&] { ++runs; });
    EXPECT_FALSE(section.hasMoreAction());  // empty text
    section.setMoreActionWithText(std::nullopt, [&] { ++runs; });
    EXPECT_FALSE(section.hasMoreAction());

    section.setMoreActionWithText(std::string("All sessions"), [&] { ++runs; });
    EXPECT_TRUE(section.hasMoreAction());
    section.moreActionBlock()();
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(section.moreActionText(), Text("All sessions"));

    section.setNumberOfAvailableItems(2);  // as many shown as available
    EXPECT_FALSE(section.hasMoreAction());
}

class NotificationRowHeight : public ScreenTest {
protected:
    static double measured(const std::string& text, double width) {
        return Utils::getMeasuredSizeOfLabelWithText(
                   text, uikit::UIFont::fontWithName("HelveticaNeue-Medium", 15), width)
            .height;
    }
    // A text of `lines` short lines.
    static std::string lines(int count) {
        std::string text = "Line";
        for (int i = 1; i < count; ++i) text += "\nLine";
        return text;
    }
};

TEST_F(NotificationRowHeight, ShortMessagesTakeSeventyAndLongerOnesTheirHeightPlusTwenty) {
    using Cell = SpotlightNotificationCellTableViewCell;
    EXPECT_EQ(Cell::heightForCellWithTitle(std::string("Your badge is ready."), 0), 70);
    EXPECT_EQ(Cell::heightForCellWithTitle(std::nullopt, 0), 70);

    // The smallest number of lines measuring 50 or more: the height plus 20, truncated.
    int count = 1;
    while (measured(lines(count), 312) < 50) ++count;
    const double height = measured(lines(count), 312);
    EXPECT_EQ(Cell::heightForCellWithTitle(lines(count), 0), static_cast<int>(height + 20));
    EXPECT_EQ(Cell::heightForCellWithTitle(lines(count - 1), 0), 70);
    // The measurer sets this face 18 points a line: three lines measure 54, a row of 74.
    ASSERT_EQ(measured(lines(3), 312), 54);
    EXPECT_EQ(Cell::heightForCellWithTitle(lines(3), 0), 74);
}

TEST_F(NotificationRowHeight, TextWidthFollowsThePatternAndThePhonesHeight) {
    using Cell = SpotlightNotificationCellTableViewCell;
    const struct {
        uikit::DeviceProfile profile;
        double width;
    } phones[] = {{uikit::DeviceProfile::iPhone5(), 257},
                  {uikit::DeviceProfile::iPhone6(), 312},
                  {uikit::DeviceProfile::iPhone6Plus(), 351},
                  {uikit::DeviceProfile::iPhone4(), 257},
                  {uikit::DeviceProfile::iPad(), 257}};
    for (const auto& phone : phones) {
        uikit::DeviceProfile::apply(phone.profile);
        EXPECT_EQ(Cell::messageWidthForAvailableSizePattern(0), phone.width);
        EXPECT_EQ(Cell::messageWidthForAvailableSizePattern(1), 621);
        EXPECT_EQ(Cell::messageWidthForAvailableSizePattern(2), 665);
    }
    // The width decides the height: a message that wraps at 257 and not at 351.
    std::string words;
    for (int i = 0; i < 40; ++i) words += "word ";
    uikit::DeviceProfile::apply(uikit::DeviceProfile::iPhone5());
    const int small = Cell::heightForCellWithTitle(words, 0);
    EXPECT_EQ(small, std::max(70, static_cast<int>(measured(words, 257) + 20)));
    EXPECT_EQ(Cell::heightForCellWithTitle(words, 2),
              std::max(70, static_cast<int>(measured(words, 665) + 20)));
    EXPECT_LE(Cell::heightForCellWithTitle(words, 2), small);
}

TEST_F(NotificationRowHeight, PrototypeHasTheNamedOutlets) {
    auto view = SpotlightNotificationCellTableViewCell::makePrototype();
    auto cell = std::dynamic_pointer_cast<SpotlightNotificationCellTableViewCell>(view);
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->reuseIdentifier(), Text("spotlightNotificationCellId"));
    ASSERT_NE(cell->messageLabel(), nullptr);
    ASSERT_NE(cell->acknowledgeBlockButton(), nullptr);
    EXPECT_EQ(cell->messageLabel()->font()->fontName(), "HelveticaNeue-Medium");
}

TEST_F(NotificationRowHeight, SessionRowPrototypeNamesItsOutletsForTheDump) {
    auto cell = std::dynamic_pointer_cast<SpotlightSessionTableViewCell>(SpotlightSessionTableViewCell::makePrototype());
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->reuseIdentifier(), Text("spotlightSessionCellID"));
    for (const auto& label : {cell->dateLabel(), cell->displayTimeLabel(), cell->titleLabel(), cell->locationLabel(),
                              cell->liveStatusHintLabel(), cell->liveStatusMessageLabel()})
        ASSERT_NE(label, nullptr);
    ASSERT_NE(cell->typeImageView(), nullptr);
    ASSERT_NE(cell->noteImageView(), nullptr);
    ASSERT_NE(cell->sessionNearMeImageView(), nullptr);
    // The home screen collapses a part through its constraint's constant.
    cell->typeImageViewWidthContraint()->setConstant(0);
    cell->typeImageTonoteImageHSConstraint()->setConstant(0);
    EXPECT_EQ(cell->contentView()->constraints().size(), 8u);
    for (const auto& constraint : cell->contentView()->constraints()) EXPECT_TRUE(constraint->outletName().has_value());
    EXPECT_EQ(cell->typeImageViewWidthContraint()->constant(), 0);
    ASSERT_NE(cell->pinImageToContentHSConstraint(), nullptr);
    ASSERT_NE(cell->liveStatusMessageLabelHeightConstraint(), nullptr);
}

}  // namespace
