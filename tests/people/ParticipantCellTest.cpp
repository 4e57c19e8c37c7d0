// The participant row that stands in for the real one: its interface file,
// and the configure calls it records with the full name it shows.
#include <gtest/gtest.h>

#include "Utils/MeetingStoreTestSupport.h"
#include "model/QVACoreDataParticipant.h"
#include "model/QVAParticipant.h"
#include "people/ParticipantCell.h"
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
    ASSERT_TRUE(cell->participantTitle());
    EXPECT_EQ(cell->participantTitle()->outletName(), "participantTitle");
}

TEST_F(ParticipantCellTest, RecordsBothConfigureCallsAndShowsTheFullName) {
    openCurrent("cell-token");
    insert("cell-token", QVACoreDataParticipant::kEntityName,
           {{{"itemId", Value("p2")}, {"fullName", Value("Jane Roe")}}});
    auto stored = rows<QVACoreDataParticipant>("cell-token");
    ASSERT_EQ(stored.size(), 1u);
    auto model = QVAParticipant::initWithDictionary(Value::dictionary({{"id", "p1"}, {"fullName", "John Doe"}}));

    auto cell = ParticipantCell::loadFromNib();
    cell->configureWithParticipant(*model, false, true);
    EXPECT_EQ(cell->participantTitle()->text(), "John Doe");
    // A reused row shows the new participant.
    cell->configureWithCoreDataParticipant(*stored.front(), false);
    EXPECT_EQ(cell->participantTitle()->text(), "Jane Roe");
    EXPECT_EQ(cell->recordedCalls(),
              (std::vector<std::string>{"configureWithParticipant:hasPersonalNotes:isFavorited: p1 NO YES",
                                        "configureWithCoreDataParticipant:hasPersonalNotes: p2 NO"}));
}

}  // namespace
