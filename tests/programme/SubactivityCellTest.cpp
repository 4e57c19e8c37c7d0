// The session row: what each configuration shows in its labels, icon slots
// and invitation line, that a reused cell keeps nothing of the previous row,
// and that its height follows its content.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "Utils/Utils.h"
#include "support/ScreenTest.h"
#include "model/QVAAgendaEntries.h"
#include "model/QVASession.h"
#include "programme/SpotlightSessionModel.h"
#include "programme/SubactivityCell.h"
#include "uikit/NSAttributedString.h"
#include "uikit/NSLayoutConstraint.h"
#include "uikit/UIImage.h"
#include "uikit/UIImageView.h"
#include "uikit/UILabel.h"
#include "uikit/UITableView.h"

namespace {

using Text = std::optional<std::string>;

// What a slot shows: its image's name, or "" when hidden.
std::string imageSlot(const std::shared_ptr<uikit::UIImageView>& view) {
    if (!view || view->isHidden() || !view->currentImage()) return "";
    return view->currentImage()->name().value_or("?");
}

bool struck(const uikit::UILabel& label) {
    const auto& text = label.attributedText();
    if (!text || text->runs().empty()) return false;
    for (const auto& run : text->runs())
        if (run.attributes.strikethroughStyle.value_or(0) != uikit::NSUnderlineStyleSingle) return false;
    return true;
}

class SubactivityCellTest : public ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        cell = SubactivityCell::loadFromNib();
        ASSERT_NE(cell, nullptr);
    }

    void plain(const Text& title, const Text& location, const Text& time, bool inAgenda, bool parallel,
               bool personalEntry, bool notes, bool cancelled = false) {
        cell->preconfigureCellWithParametersLikeTitle(title, location, time, inAgenda, parallel, personalEntry, notes, 2,
                                                      2, cancelled);
    }

    std::shared_ptr<SubactivityCell> cell;
    std::shared_ptr<uikit::UITableView> table = std::make_shared<uikit::UITableView>(graphics::Rect{0, 0, 320, 568});
};

TEST_F(SubactivityCellTest, NibAndIdentifierAreTheClassWideOnes) {
    EXPECT_EQ(SubactivityCell::cellNibName(), "SubactivityCell");
    EXPECT_EQ(SubactivityCell::cellIdentifier(), "subactivityCellIdentifier");
    EXPECT_EQ(cell->reuseIdentifier(), Text("subactivityCellIdentifier"));
    EXPECT_EQ(cell->className(), "SubactivityCell");
    EXPECT_NE(cell->statusLabel(), nullptr);
    ASSERT_NE(cell->statusLabelHeightConstraint(), nullptr);

    // Registered as a registrable cell, a table dequeues it from its interface file.
    Utils::registerCellNibs({QVARegistrableCell::of<SubactivityCell>()}, *table);
    auto dequeued = table->dequeueReusableCellWithIdentifier(SubactivityCell::cellIdentifier());
    auto session = std::dynamic_pointer_cast<SubactivityCell>(dequeued);
    ASSERT_NE(session, nullptr);
    EXPECT_NE(session->sessionImage(), nullptr);
    EXPECT_NE(session->invitationLabelTopContraint(), nullptr);
}

TEST_F(SubactivityCellTest, IconSlotsFollowThePrecedenceAndTheNoteTakesTheFirstFreeSlot) {
    plain("Lunch", "Room 1", "12:00", true, false, true, true);
    EXPECT_EQ(imageSlot(cell->sessionImage()), "personal_entry.png");
    EXPECT_EQ(imageSlot(cell->personalNotesImage()), "note.png");

    plain("Panel", "Room 1", "12:00", false, false, false, true);
    EXPECT_EQ(imageSlot(cell->sessionImage()), "note.png");
    EXPECT_EQ(imageSlot(cell->personalNotesImage()), "");

    plain("Panel", "Room 1", "12:00", true, true, false, false);
    EXPECT_EQ(imageSlot(cell->sessionImage()), "parallel_session.png");
    EXPECT_EQ(imageSlot(cell->personalNotesImage()), "");

    plain("Panel", "Room 1", "12:00", true, false, false, false);
    EXPECT_EQ(imageSlot(cell->sessionImage()), "session_in_agenda.png");

    plain("Panel", "Room 1", "12:00", false, false, false, false);
    EXPECT_EQ(imageSlot(cell->sessionImage()), "");
    EXPECT_EQ(imageSlot(cell->personalNotesImage()), "");
}

TEST_F(SubactivityCellTest, CancelledRowsStrikeOnlyTheTextsThatAreThere) {
    plain("Closing", "Hall A", "", false, false, false, false, true);
    EXPECT_TRUE(struck(*cell->subactivityTitle()));
    EXPECT_TRUE(struck(*cell->subactivityLocation()));
    EXPECT_FALSE(struck(*cell->subactivityTime()));
    EXPECT_EQ(cell->subactivityTime()->text(), Text(""));

    plain("Closing", std::nullopt, "09:00", false, false, false, false, true);
    EXPECT_TRUE(struck(*cell->subactivityTime()));
    EXPECT_FALSE(struck(*cell->subactivityLocation()));
    EXPECT_EQ(cell->subactivityLocation()->text().value_or(""), "");

    // The next row is not cancelled: nothing of the strikes is left.
    plain("Opening", "Hall B", "10:00", false, false, false, false);
    EXPECT_FALSE(struck(*cell->subactivityTitle()));
    EXPECT_FALSE(struck(*cell->subactivityTime()));
    EXPECT_EQ(cell->subactivityTitle()->text(), Text("Opening"));
}

TEST_F(SubactivityCellTest, VariantsChooseTheirSourcesAndLineCounts) {
    auto session = QVASession::initWithDictionary(
        foundation::Value::dictionary({{"id", "s1"}, {"title", "Keynote"}, {"cancelled", true}}));
    cell->configureWithQVASession(*session, "Room 1", "09:00", false, false, false);
    EXPECT_EQ(cell->subactivityTitle()->text(), Text("Keynote"));
    EXPECT_TRUE(struck(*cell->subactivityTitle()));
    EXPECT_EQ(cell->subactivityTitle()->numberOfLines(), 2u);
    EXPECT_EQ(cell->subactivityLocation()->numberOfLines(), 2u);

    auto entry = QVAPersonalEntry::initWithDictionary(foundation::Value::dictionary({{"id", "p1"}, {"title", "Gym"}}));
    cell->configureWithQVASession(*entry, std::nullopt, "07:00", false, false, false);
    EXPECT_EQ(imageSlot(cell->sessionImage()), "personal_entry.png");

    auto model = SpotlightSessionModel::initWithId(std::string("s2"));
    model->setTitle(std::string("Dinner"));
    model->setSessionType(SpotlightSessionModel::kPersonalEntry);
    cell->configureWithSpotlightSessionModel(*model, "Terrace", "20:00", false, false, false);
    EXPECT_EQ(cell->subactivityTitle()->numberOfLines(), 1u);
    EXPECT_EQ(cell->subactivityLocation()->numberOfLines(), 1u);
    EXPECT_EQ(imageSlot(cell->sessionImage()), "personal_entry.png");
    EXPECT_FALSE(struck(*cell->subactivityTitle()));
}

TEST_F(SubactivityCellTest, InvitationLineGrowsTheRowAndTheNextPlainRowCollapsesIt) {
    plain("Workshop", "Room 2", "14:00", false, false, false, false);
    const double plainHeight = cell->getCellHeightInTableView(*table);

    auto invitation = QVAAgendaInvitation::initWithDictionary(
        foundation::Value::dictionary({{"id", "s3"}}));
    invitation->setTitle(std::string("Workshop"));
    cell->configureWithQVAAgendaInvitation(*invitation, "Invited by the chair", "Room 2", "14:00", false, false, false);
    EXPECT_EQ(cell->subactivityTitle()->text(), Text("Workshop"));
    EXPECT_EQ(cell->invitationLabelHeightContraint()->constant(), 17);
    EXPECT_EQ(cell->invitationLabelTopContraint()->constant(), 5);
    EXPECT_EQ(cell->invitationLabel()->text(), Text("Invited by the chair"));
    EXPECT_EQ(cell->getCellHeightInTableView(*table), plainHeight + 17 + 5);

    plain("Workshop", "Room 2", "14:00", false, false, false, false);
    EXPECT_EQ(cell->invitationLabelHeightContraint()->constant(), 0);
    EXPECT_EQ(cell->invitationLabelTopContraint()->constant(), 0);
    EXPECT_EQ(cell->invitationLabel()->text(), std::nullopt);
    EXPECT_EQ(cell->getCellHeightInTableView(*table), plainHeight);
}

TEST_F(SubactivityCellTest, HeightGrowsWithTheTitleAndIsStableForTheSameContent) {
    const std::string title = "Energy for small islands";
    plain(title, "Room 1, Congress centre", "Tue 10 Mar 09:00 - 10:30", true, false, false, false);
    const double once = cell->getCellHeightInTableView(*table);
    EXPECT_EQ(cell->bounds().size.width, 320);
    EXPECT_EQ(cell->getCellHeightInTableView(*table), once);

    plain(title + " " + title, "Room 1, Congress centre", "Tue 10 Mar 09:00 - 10:30", true, false, false, false);
    EXPECT_GT(cell->getCellHeightInTableView(*table), once);

    // The laid-out labels stand where the height counted them.
    const auto location = cell->subactivityLocation()->frame();
    EXPECT_LE(location.origin.y + location.size.height + SubactivityCell::kBottomMargin,
              cell->getCellHeightInTableView(*table));
}

}  // namespace

TEST_F(SubactivityCellTest, TheHeightFromTheTextsAloneIsTheConfiguredCellsAtEveryWidth) {
    const std::string longTitle = "Financing the adaptation of small island states to a changing climate, a dialogue";
    const std::string longPlace = "Plenary hall B of the International Conference Centre, second floor, east wing";
    struct Row {
        Text title, location, time;
        bool cancelled;
    };
    const std::vector<Row> rows{{"Workshop", "Room 2", "Tue 16 June, 14:00", false},
                                {longTitle, longPlace, "Tue 16 June, 14:00", false},
                                {longTitle + " " + longTitle, std::nullopt, std::nullopt, false},
                                {longTitle, longPlace, "Tue 16 June, 14:00", true},
                                {std::nullopt, "Room 2", "Tue 16 June, 14:00", false}};
    for (double width : {320.0, 375.0, 768.0}) {
        table->setFrame({0, 0, width, 568});
        for (const auto& row : rows) {
            plain(row.title, row.location, row.time, false, false, false, false, row.cancelled);
            EXPECT_EQ(SubactivityCell::sessionRowHeightForTexts(row.title, row.time.has_value(), row.location, false,
                                                                width),
                      cell->getCellHeightInTableView(*table))
                << row.title.value_or("-") << " at " << width;
        }
    }
    auto invitation = QVAAgendaInvitation::initWithDictionary(foundation::Value::dictionary({{"id", "s3"}}));
    invitation->setTitle(longTitle);
    cell->configureWithQVAAgendaInvitation(*invitation, "Invited", longPlace, "14:00", false, false, false);
    EXPECT_EQ(SubactivityCell::sessionRowHeightForTexts(longTitle, true, longPlace, true, 768),
              cell->getCellHeightInTableView(*table));
}
