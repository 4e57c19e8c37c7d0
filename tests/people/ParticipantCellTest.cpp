// The participant row: its interface file, the three configure forms filling
// the same labels, the note mark, the star, and the photo without placeholder.
#include <gtest/gtest.h>

#include "Utils/MeetingStoreTestSupport.h"
#include "lists/FavoriteButton.h"
#include "model/QVACoreDataParticipant.h"
#include "model/QVAParticipant.h"
#include "people/ParticipantCell.h"
#include "uikit/UIImage.h"
#include "uikit/UIImageView.h"
#include "uikit/UILabel.h"
#include "uikit/UINib.h"

namespace {

using foundation::Value;

class ParticipantCellTest : public meetingtest::MeetingStoreTest {};

TEST_F(ParticipantCellTest, NamingTheNibRegistersARowUnderTheCellIdentifier) {
    uikit::UINib::unregisterNib("ParticipantCell");
    EXPECT_EQ(ParticipantCell::cellNibName(), "ParticipantCell");
    ASSERT_TRUE(uikit::UINib::hasNibNamed("ParticipantCell"));
    auto cell = ParticipantCell::loadFromNib();
    ASSERT_TRUE(cell);
    EXPECT_EQ(cell->reuseIdentifier(), "participantCellIdentifier");
    EXPECT_EQ(cell->frame().size.height, ParticipantCell::kRowHeight);
    ASSERT_TRUE(cell->participantTitle() && cell->participantSubtitle() && cell->participantCompany());
    ASSERT_TRUE(cell->participantImageView() && cell->noteImageView() && cell->favoriteButton());
    EXPECT_EQ(cell->participantTitle()->outletName(), "participantTitle");
    EXPECT_EQ(cell->favoriteButton()->outletName(), "favoriteButton");
}

TEST_F(ParticipantCellTest, TheModelStoredRowAndPlainFormsFillTheSameLabels) {
    openCurrent("cell-token");
    insert("cell-token", QVACoreDataParticipant::kEntityName,
           {{{"itemId", Value("p2")}, {"fullName", Value("Jane Roe")}, {"positionTitle", Value("Chair")},
             {"organizationName", Value("Roe Ltd")}}});
    auto stored = rows<QVACoreDataParticipant>("cell-token");
    ASSERT_EQ(stored.size(), 1u);
    auto model = QVAParticipant::initWithDictionary(Value::dictionary(
        {{"id", "p2"}, {"fullName", "Jane Roe"}, {"positionTitle", "Chair"}, {"organizationName", "Roe Ltd"}}));

    auto expectRoe = [](ParticipantCell& cell, bool favorited) {
        EXPECT_EQ(cell.participantTitle()->text(), "Jane Roe");
        EXPECT_EQ(cell.participantSubtitle()->text(), "Chair");
        EXPECT_EQ(cell.participantCompany()->text(), "Roe Ltd");
        EXPECT_EQ(cell.favoriteButton()->isFavorite(), favorited);
    };
    auto cell = ParticipantCell::loadFromNib();
    cell->configureWithParticipant(*model, false, true);
    expectRoe(*cell, true);
    cell->configureWithFullName("Someone Else", "x", "y", std::nullopt, false, true);
    cell->configureWithCoreDataParticipant(*stored.front(), false, true);
    expectRoe(*cell, true);
    cell->configureWithCoreDataParticipant(*stored.front(), false);
    expectRoe(*cell, false);
}

TEST_F(ParticipantCellTest, TheNoteMarkShowsOnlyWithNotes) {
    auto cell = ParticipantCell::loadFromNib();
    cell->configureWithFullName("A", "B", "C", std::nullopt, true, false);
    EXPECT_FALSE(cell->noteImageView()->isHidden());
    cell->configureWithFullName("A", "B", "C", std::nullopt, false, false);
    EXPECT_TRUE(cell->noteImageView()->isHidden());
}

TEST_F(ParticipantCellTest, ThePhotoLoadsWithoutPlaceholderSoAReusedRowDropsTheOldFace) {
    auto cell = ParticipantCell::loadFromNib();
    cell->participantImageView()->setImage(uikit::UIImage::imageNamed("note.png"));
    cell->configureWithFullName("A", "B", "C", std::string("http://127.0.0.1:9/photo.png"), false, false);
    EXPECT_EQ(cell->participantImageView()->image(), nullptr);
}

TEST_F(ParticipantCellTest, DrawingRoundsThePhotoAndTheStar) {
    auto cell = ParticipantCell::loadFromNib();
    cell->drawRect(cell->bounds());
    EXPECT_EQ(cell->participantImageView()->layer()->cornerRadius(), 4);
    EXPECT_TRUE(cell->participantImageView()->layer()->masksToBounds());
    EXPECT_EQ(cell->favoriteButton()->layer()->cornerRadius(), 12);
}

}  // namespace
