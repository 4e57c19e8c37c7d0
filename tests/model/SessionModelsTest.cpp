// Sessions and agenda entries: the derived texts, flattened contributors,
// agenda-entry assembly and the conversion of malformed server data.
#include <gtest/gtest.h>

#include "foundation/KeyedArchiver.h"
#include "model/ModelClass.h"
#include "model/ModelReading.h"
#include "model/QVAAgendaEntries.h"
#include "model/QVAInvitationConflictResponse.h"
#include "model/QVASession.h"
#include "model/QVASessionStatusMessage.h"

using foundation::Value;

namespace {

Value sessionJson() {
    return Value::dictionary({
        {"id", "s1"},
        {"revision", 9},
        {"title", "Opening plenary"},
        {"startDatetime", "2015-01-21T09:30:00+01:00"},
        {"endDatetime", "2015-01-21T10:45:00+01:00"},
        {"fee", 12.9},
        {"capacity", "120 seats"},
        {"cancelled", "yes"},
        {"description", "Welcome"},
        {"contributors", Value::array({Value::dictionary({{"participantId", 101}, {"type", "A"}}),
                                       Value::dictionary({{"participantId", "102"}, {"type", "B"}})})},
        {"insights", Value::array({Value::dictionary({{"id", "i1"}, {"description", "Full"}})})},
    });
}

Value withField(Value dictionary, const std::string& key, Value value) {
    dictionary[key] = std::move(value);
    return dictionary;
}

}  // namespace

TEST(SessionModels, DerivedTextsContributorsAndConversions) {
    auto session = QVASession::initWithDictionary(sessionJson());
    EXPECT_EQ(session->displayTime(), "09:30 - 10:45");
    EXPECT_EQ(session->sectionTitle(), "09:00");
    EXPECT_EQ(session->startDateString(), "2015-01-21");
    EXPECT_EQ(session->contributors(), "101|A;102|B");
    EXPECT_EQ(session->fee(), 12);
    EXPECT_EQ(session->capacity(), 120);
    EXPECT_TRUE(session->cancelled());
    EXPECT_EQ(session->sessionDescription(), "Welcome");
    ASSERT_EQ(session->insights().size(), 1u);
    EXPECT_EQ(session->insights()[0]->sessionInsightDescription(), "Full");
    EXPECT_EQ(session->coreDataClass(), "QVACoreDataSession");

    EXPECT_EQ(QVASession::initWithDictionary(withField(sessionJson(), "fee", -3.5))->fee(), -3);
    EXPECT_EQ(QVASession::initWithDictionary(withField(sessionJson(), "fee", Value()))->fee(), 0);
    EXPECT_EQ(QVASession::initWithDictionary(withField(sessionJson(), "fee", "7.8 EUR"))->fee(), 7);

    auto one = QVASession::initWithDictionary(withField(
        sessionJson(), "contributors",
        Value::array({Value::dictionary({{"participantId", 101}, {"type", "A"}}), "stray", 5, Value::null()})));
    EXPECT_EQ(one->contributors(), "101|A");
    auto noContributors = withField(sessionJson(), "contributors", Value::array({}));
    EXPECT_FALSE(QVASession::initWithDictionary(noContributors)->contributors());
    EXPECT_FALSE(QVASession::initWithDictionary(withField(sessionJson(), "contributors", "101|A"))->contributors());

    auto noInsights = QVASession::initWithDictionary(
        withField(sessionJson(), "insights", Value::array({"text", Value::null()})));
    EXPECT_TRUE(noInsights->insights().empty());
}

TEST(SessionModels, DerivedTextsNeverReadPastTheDateTimes) {
    auto cut = [](Value start, Value end) {
        auto json = withField(sessionJson(), "startDatetime", std::move(start));
        return QVASession::initWithDictionary(withField(json, "endDatetime", std::move(end)));
    };
    auto noT = cut("2015-01-21 09:30", "2015-01-21T10:45:00");
    EXPECT_FALSE(noT->sectionTitle());
    EXPECT_FALSE(noT->startDateString());
    EXPECT_FALSE(noT->displayTime());

    auto shortStart = cut("2015-01-21T0", "2015-01-21T10:45:00");
    EXPECT_EQ(shortStart->startDateString(), "2015-01-21");
    EXPECT_FALSE(shortStart->sectionTitle());
    EXPECT_FALSE(shortStart->displayTime());

    auto shortEnd = cut("2015-01-21T09:30:00", "10:45");
    EXPECT_EQ(shortEnd->sectionTitle(), "09:00");
    EXPECT_FALSE(shortEnd->displayTime());
    EXPECT_FALSE(cut("2015-01-21T09:30:00", Value())->displayTime());

    auto missing = cut(Value(), Value());
    EXPECT_FALSE(missing->startDateString());
    EXPECT_FALSE(missing->displayTime());

    // A number is no date-time: no "T" to cut at.
    EXPECT_FALSE(cut(20150121, 20150121)->startDateString());

    // Positions count UTF-16 units: the emoji takes two.
    auto wide = cut("😀T09:30x", "xyz09:45");
    EXPECT_EQ(wide->startDateString(), "😀");
    EXPECT_EQ(wide->sectionTitle(), "09:00");
    EXPECT_EQ(wide->displayTime(), "09:30 - 09:45");
}

TEST(SessionModels, AgendaEntriesAndInvitationBodies) {
    Value selectionJson = Value::dictionary({
        {"id", "a7"},
        {"revision", 3},
        {"status", "Confirmed"},
        {"withSpouse", true},
        {"session", withField(sessionJson(), "revision", 9)},
    });
    auto selection = QVAAgendaSelections::initWithDictionary(selectionJson);
    EXPECT_EQ(selection->itemId(), "s1");
    EXPECT_EQ(selection->agendaItemId(), "a7");
    EXPECT_EQ(selection->revision(), "3");
    EXPECT_EQ(selection->selectionPropertyId(), "a7");
    EXPECT_EQ(selection->displayTime(), "09:30 - 10:45");
    EXPECT_TRUE(selection->withSpouse());
    EXPECT_EQ(selection->coreDataClass(), "QVACoreDataAgendaSelection");

    auto bare = QVAAgendaResponsibilities::initWithDictionary(Value::dictionary({{"id", "a8"}, {"session", "s1"}}));
    EXPECT_EQ(bare->agendaItemId(), "a8");
    EXPECT_FALSE(bare->itemId());
    EXPECT_FALSE(bare->revision());
    EXPECT_FALSE(bare->displayTime());

    auto entry = QVAPersonalEntry::initWithDictionary(Value::dictionary({
        {"id", "p9"},
        {"subject", "Lunch"},
        {"body", "Bring slides"},
        {"startDatetime", "2015-01-21T12:00:00+01:00"},
        {"endDatetime", "2015-01-21T13:00:00+01:00"},
    }));
    EXPECT_EQ(entry->itemId(), "p9");
    EXPECT_EQ(entry->agendaItemId(), "p9");
    EXPECT_EQ(entry->title(), "Lunch");
    EXPECT_EQ(entry->keyword(), "Lunch");
    EXPECT_EQ(entry->sessionDescription(), "Bring slides");
    EXPECT_EQ(entry->displayTime(), "12:00 - 13:00");

    EXPECT_EQ(QVAAgendaInvitation::buildInvitationStringFromStatus("Confirmed", true),
              "Invitation accepted with spouse for:");
    EXPECT_EQ(QVAAgendaInvitation::buildInvitationStringFromStatus("Confirmed", false), "Invitation accepted for:");
    EXPECT_EQ(QVAAgendaInvitation::buildInvitationStringFromStatus("Cancelled", true), "Invitation declined for:");
    EXPECT_EQ(QVAAgendaInvitation::buildInvitationStringFromStatus("confirmed", false), "confirmed");

    auto conflict = QVAInvitationConflictResponse::initWithDictionary(Value::dictionary({
        {"conflicting_ressource", selectionJson},
        {"message", "Overlaps"},
    }));
    ASSERT_TRUE(conflict->conflictingResource());
    EXPECT_EQ(conflict->conflictingResource()->agendaItemId(), "a7");
    EXPECT_EQ(conflict->message(), "Overlaps");
    EXPECT_FALSE(QVAInvitationConflictResponse::initWithDictionary(
                     Value::dictionary({{"conflicting_ressource", "a7"}}))->conflictingResource());

    auto status = QVASessionStatusMessage::initWithDictionary(Value::dictionary({{"occupencyPercent", 80.6}}));
    EXPECT_EQ(status->occupencyPercent(), 80);
    EXPECT_EQ(status->longMessage(), "");
    EXPECT_EQ(status->shortMessage(), "");
    EXPECT_FALSE(status->invitationMessage());
}

TEST(SessionModels, StoredRowsKeepTheirTexts) {
    registerModelClasses();
    auto fromJson = QVASession::initWithDictionary(sessionJson());
    Value::Dictionary row = {
        {"itemId", "s1"},
        {"revision", "9"},
        {"startDatetime", "2015-01-21T09:30:00+01:00"},
        {"sessionDescription", "Welcome"},
        {"fee", 12},
        {"cancelled", true},
        {"contributors", "101|A;102|B"},
        {"sectionTitle", "09:00"},
        {"displayTime", "stored"},
        {"insights",
         foundation::KeyedArchiver::archivedDataWithRootObject(ModelReading::arrayValue(fromJson->insights()))},
        {"agendaItemId", "a7"},
        {"withSpouse", 1},
    };
    auto session = QVASession::initWithCoreDataDictionary(Value(row));
    EXPECT_EQ(session->sessionDescription(), "Welcome");
    EXPECT_EQ(session->displayTime(), "stored");
    EXPECT_EQ(session->contributors(), "101|A;102|B");
    EXPECT_EQ(session->fee(), 12);
    ASSERT_EQ(session->insights().size(), 1u);
    EXPECT_EQ(session->insights()[0]->sessionInsightId(), "i1");

    auto role = QVAAgendaRole::initWithCoreDataDictionary(Value(row));
    EXPECT_EQ(role->agendaItemId(), "a7");
    EXPECT_TRUE(role->withSpouse());
    EXPECT_EQ(role->valueForKey("agendaItemId"), Value("a7"));
    EXPECT_EQ(role->valueForKey("sectionTitle"), Value("09:00"));
    EXPECT_TRUE(role->valueForKey("nonsense").isAbsent());

    row["insights"] = foundation::Data::fromString("garbage");
    EXPECT_TRUE(QVASession::initWithCoreDataDictionary(Value(row))->insights().empty());
}
