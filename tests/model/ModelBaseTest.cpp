// The shared model base: id and revision conversions, the class registry and
// archives of models that add nothing of their own.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <set>

#include "foundation/KeyedArchiver.h"
#include "model/ModelClass.h"
#include "model/ModelReading.h"
#include "model/QVAAgendaEntries.h"
#include "model/QVAContributor.h"
#include "model/QVAMessageReceivedRecipient.h"
#include "model/QVAOrganization.h"
#include "model/QVAParticipant.h"
#include "model/QVAParticipantNote.h"
#include "model/QVARecommendedParticipant.h"
#include "model/QVARecommendedSession.h"
#include "model/QVASessionInsight.h"
#include "model/QVASessionNote.h"
#include "model/QVAUserAccount.h"
#include "model/QVANotification.h"
#include "model/QVAPrivacySettings.h"
#include "model/QVASessionOccupancy.h"
#include "model/QVAVenue.h"
#include "model/QVARoom.h"
#include "model/QVASession.h"

using foundation::KeyedArchiver;
using foundation::KeyedUnarchiver;
using foundation::Value;

TEST(ModelBase, IdAndRevisionFollowTheConversionTable) {
    auto numeric = QVABaseItemModel::initWithDictionary(Value::dictionary({{"id", 42}, {"revision", 7}}));
    EXPECT_EQ(numeric->itemId(), "42");
    EXPECT_EQ(numeric->revision(), "7");
    EXPECT_EQ(numeric->selectionPropertyId(), "42");

    auto text = QVABaseItemModel::initWithDictionary(Value::dictionary({{"id", "s1"}, {"revision", "12"}}));
    EXPECT_EQ(text->itemId(), "s1");
    EXPECT_EQ(text->revision(), "12");

    auto empty = QVABaseItemModel::initWithDictionary(Value::dictionary({{"revision", Value::null()}}));
    EXPECT_FALSE(empty->itemId());
    EXPECT_FALSE(empty->revision());
    // A dictionary where text belongs has no text form.
    auto odd = QVABaseItemModel::initWithDictionary(Value::dictionary({{"id", Value::dictionary({{"a", 1}})}}));
    EXPECT_FALSE(odd->itemId());
    // Not a dictionary at all.
    EXPECT_FALSE(QVABaseItemModel::initWithDictionary(Value::array({1, 2}))->itemId());

    auto row = QVABaseItemModel::initWithCoreDataDictionary(Value::dictionary({{"itemId", "r1"}, {"revision", "3"}}));
    EXPECT_EQ(row->itemId(), "r1");
    EXPECT_EQ(row->revision(), "3");
}

TEST(ModelBase, ScalarFieldsFollowTheConversionTable) {
    auto flags = QVAPrivacySettings::initWithDictionary(Value::dictionary({
        {"primaryEmailVisible", "  +007"},
        {"nationalityVisible", "no"},
        {"phoneVisible", 0.5},
        {"mobilePhoneVisible", Value::array({1})},
    }));
    EXPECT_TRUE(flags->isPrimaryEmailVisible());
    EXPECT_FALSE(flags->isNationalityVisible());
    EXPECT_TRUE(flags->isPhoneVisible());
    EXPECT_FALSE(flags->isMobilePhoneVisible());

    auto occupancy = QVASessionOccupancy::initWithDictionary(
        Value::dictionary({{"occupancyPercent", " -12abc"}, {"remainingCapacity", 1e12}}));
    EXPECT_EQ(occupancy->occupancyPercent(), -12);
    EXPECT_EQ(occupancy->remainingCapacity(), std::numeric_limits<int32_t>::max());
    auto unreadable = QVASessionOccupancy::initWithDictionary(Value::dictionary({{"occupancyPercent", "x1"}}));
    EXPECT_EQ(unreadable->occupancyPercent(), 0);

    auto venue = QVAVenue::initWithDictionary(Value::dictionary({{"latitude", " 46.25N"}, {"longitude", true}}));
    EXPECT_DOUBLE_EQ(venue->latitude(), 46.25);
    EXPECT_DOUBLE_EQ(venue->longitude(), 1.0);

    auto notification = QVANotification::initWithCoreDataDictionary(
        Value::dictionary({{"itemId", "n1"}, {"message", "Room changed"}, {"acknowledged", 1}}));
    EXPECT_EQ(notification->message(), "Room changed");
    EXPECT_TRUE(notification->acknowledged());
    EXPECT_FALSE(notification->creation_date());
}

// A dictionary's fields are read where they lie; a stored object's through its
// properties. Both read a missing key and the null marker alike.
TEST(ModelBase, FieldReadsTreatMissingAndNullAlike) {
    Value json = Value::dictionary({{"n", Value::null()},
                                    {"count", "12 rooms"},
                                    {"ratio", 2},
                                    {"flag", "yes"},
                                    {"list", Value::array({1})},
                                    {"map", Value::dictionary({{"k", "v"}})},
                                    {"a long key of more than fifteen", 7}});
    ModelReading::FieldReader fields(json);
    for (const char* nothing : {"n", "missing"}) {
        EXPECT_FALSE(fields.text(nothing)) << nothing;
        EXPECT_EQ(fields.int32(nothing), 0) << nothing;
        EXPECT_EQ(fields.real(nothing), 0.0) << nothing;
        EXPECT_FALSE(fields.boolean(nothing)) << nothing;
        EXPECT_TRUE(fields.value(nothing).isAbsent()) << nothing;
        EXPECT_TRUE(fields.array(nothing).isAbsent()) << nothing;
        EXPECT_TRUE(fields.dictionary(nothing).isAbsent()) << nothing;
    }
    EXPECT_EQ(fields.int32("count"), 12);
    EXPECT_EQ(fields.text("ratio"), "2");
    EXPECT_DOUBLE_EQ(fields.real("ratio"), 2.0);
    EXPECT_TRUE(fields.boolean("flag"));
    EXPECT_EQ(fields.text("a long key of more than fifteen"), "7");
    EXPECT_EQ(fields.array("list"), Value::array({1}));
    EXPECT_TRUE(fields.array("map").isAbsent());
    EXPECT_EQ(fields.dictionary("map"), Value::dictionary({{"k", "v"}}));
    EXPECT_TRUE(fields.dictionary("list").isAbsent());
    EXPECT_FALSE(fields.text("list"));

    // A reader over anything but a dictionary reads nothing.
    Value notADictionary = Value::array({json});
    EXPECT_FALSE(ModelReading::FieldReader(notADictionary).text("count"));

    auto room = QVARoom::initWithDictionary(Value::dictionary({{"id", 5}, {"revision", Value::null()}}));
    ModelReading::FieldReader stored(*room);
    EXPECT_EQ(stored.text("itemId"), "5");
    EXPECT_FALSE(stored.text("revision"));
}

// Every reference to another object of the service is read as a service id,
// whatever model holds it: exact text as it came, a JSON integer as its
// digits, and nothing for "", reals (7.0 is no spelling of 7) and other
// kinds, never a text that names no object, nor, in a flattened entry, one
// that would split into others.
TEST(ModelBase, EveryTextReferenceIsReadAsAServiceId) {
    using Read = std::function<std::optional<std::string>(const Value&)>;
    const auto with = [](const char* key, const Value& v) { return Value::dictionary({{key, v}}); };
    // The id of the one entry of a flattened list, none when it is "".
    const auto entryId = [](const std::optional<std::string>& text) -> std::optional<std::string> {
        const std::string id = text ? text->substr(0, text->find('|')) : std::string();
        return id.empty() ? std::nullopt : std::optional<std::string>(id);
    };
    const auto listOf = [](const char* key, const Value& v) {
        return Value(Value::Array{Value::dictionary({{key, v}, {"type", "Chair"}})});
    };
    const std::vector<std::pair<const char*, Read>> references = {
        {"session roomId", [&](const Value& v) { return QVASession::initWithDictionary(with("roomId", v))->roomId(); }},
        {"room venueId", [&](const Value& v) { return QVARoom::initWithDictionary(with("venueId", v))->venueId(); }},
        {"participant organizationId",
         [&](const Value& v) { return QVAParticipant::initWithDictionary(with("organizationId", v))->organizationId(); }},
        {"participant topLevelOrganizationId",
         [&](const Value& v) {
             return QVAParticipant::initWithDictionary(with("topLevelOrganizationId", v))->topLevelOrganizationId();
         }},
        {"organisation topLevelOrganizationId",
         [&](const Value& v) {
             return QVAOrganization::initWithDictionary(with("topLevelOrganizationId", v))->topLevelOrganizationId();
         }},
        {"participant note participantId",
         [&](const Value& v) { return QVAParticipantNote::initWithDictionary(with("participantId", v))->participantId(); }},
        {"session note sessionId",
         [&](const Value& v) { return QVASessionNote::initWithDictionary(with("sessionId", v))->sessionId(); }},
        {"contributor participantId",
         [&](const Value& v) { return QVAContributor::initWithDictionary(with("participantId", v))->itemId(); }},
        {"message person participantId",
         [&](const Value& v) {
             return QVAMessageReceivedRecipient::initWithDictionary(with("participantId", v))->participantId();
         }},
        {"insight id", [&](const Value& v) { return QVASessionInsight::initWithDictionary(with("id", v))->sessionInsightId(); }},
        {"recommended participant id",
         [&](const Value& v) { return QVARecommendedParticipant::initWithDictionary(with("id", v))->itemId(); }},
        {"recommended session id",
         [&](const Value& v) { return QVARecommendedSession::initWithDictionary(with("id", v))->itemId(); }},
        {"session id", [&](const Value& v) { return QVASession::initWithDictionary(with("id", v))->itemId(); }},
        {"participant id",
         [&](const Value& v) { return QVAParticipant::initWithDictionary(with("id", v))->itemId(); }},
        {"user id", [&](const Value& v) { return QVAUserAccount::initWithDictionary(with("user", with("id", v)))->itemId(); }},
        {"user photoId",
         [&](const Value& v) { return QVAUserAccount::initWithDictionary(with("user", with("photoId", v)))->photoId(); }},
        {"contribution sessionId",
         [&](const Value& v) {
             return entryId(QVAParticipant::initWithDictionary(with("contributions", listOf("sessionId", v)))->contributions());
         }},
        {"contributor entry participantId",
         [&](const Value& v) {
             return entryId(QVASession::initWithDictionary(with("contributors", listOf("participantId", v)))->contributors());
         }},
    };
    const std::vector<std::pair<Value, std::optional<std::string>>> cases = {
        {Value("007"), "007"},        {Value(" 7"), " 7"},          {Value(7), "7"},
        {Value(7.0), std::nullopt},   {Value(-0.0), std::nullopt},  {Value(300001.0), std::nullopt},
        {Value(""), std::nullopt},    {Value(7.5), std::nullopt},   {Value(true), std::nullopt},
        {Value::null(), std::nullopt}, {Value(Value::Array{Value("7")}), std::nullopt},
    };
    for (const auto& [name, read] : references)
        for (const auto& [value, expected] : cases)
            EXPECT_EQ(read(value), expected) << name << " [" << value.description() << "]";
    // A flattened entry's screens split at ";" and "|": an id holding one is
    // none there, and exact text everywhere else.
    const std::set<std::string> flattened = {"contribution sessionId", "contributor entry participantId"};
    for (const auto& [name, read] : references)
        for (const char* id : {"7;8", "7|Chair", "|8"}) {
            const auto expected = flattened.count(name) ? std::nullopt : std::optional<std::string>(id);
            EXPECT_EQ(read(Value(id)), expected) << name << " [" << id << "]";
        }
    // Nor does a type holding them add an entry.
    const auto typed = Value::dictionary({{"participantId", "7"}, {"type", "Chair;8|Speaker"}});
    EXPECT_EQ(QVASession::initWithDictionary(with("contributors", Value(Value::Array{typed})))->contributors(), "7|");
}

TEST(ModelBase, RegistryMakesModelsByClassName) {
    registerModelClasses();
    registerModelClasses();  // idempotent

    auto session = ModelClass::named("QVASession");
    ASSERT_TRUE(session);
    EXPECT_EQ(session->coreDataClass, "QVACoreDataSession");
    EXPECT_EQ(session->coreDataSelectionPropertyName, "itemId");
    EXPECT_EQ(session->modelClass, "QVASession");
    auto made = std::dynamic_pointer_cast<QVASession>(session->initWithDictionary(Value::dictionary({{"id", "s1"}})));
    ASSERT_TRUE(made);
    EXPECT_EQ(made->itemId(), "s1");

    auto invitation = ModelClass::of<QVAAgendaInvitation>();
    ASSERT_TRUE(invitation);
    EXPECT_EQ(invitation->coreDataClass, "QVACoreDataAgendaInvitation");
    EXPECT_EQ(invitation->coreDataSelectionPropertyName, "agendaItemId");
    auto fromRow =
        invitation->initWithCoreDataDictionary(Value::dictionary({{"agendaItemId", "a7"}, {"status", "Invited"}}));
    auto typed = std::dynamic_pointer_cast<QVAAgendaInvitation>(fromRow);
    ASSERT_TRUE(typed);
    EXPECT_EQ(typed->agendaItemId(), "a7");
    EXPECT_EQ(typed->selectionPropertyId(), "a7");

    // Models that are not stored answer no entity and no selection attribute.
    auto status = ModelClass::named("QVASessionStatusMessage");
    ASSERT_TRUE(status);
    EXPECT_FALSE(status->coreDataClass);
    EXPECT_FALSE(status->coreDataSelectionPropertyName);
    EXPECT_FALSE(status->initWithCoreDataDictionary);
    EXPECT_FALSE(ModelClass::named("QVANoSuchModel"));
}

TEST(ModelBase, ArchivesOfSubclassesWithoutTheirOwnFields) {
    registerModelClasses();
    auto room = QVARoom::initWithDictionary(
        Value::dictionary({{"id", "r1"}, {"revision", 5}, {"name", "Hall A"}, {"venueId", "v1"}}));
    EXPECT_EQ(room->name(), "Hall A");

    auto data = KeyedArchiver::archivedDataWithRootObject(Value(room));
    auto restored = KeyedUnarchiver::unarchiveObjectOfClass<QVARoom>(data);
    ASSERT_TRUE(restored);
    EXPECT_EQ(restored->itemId(), "r1");
    EXPECT_EQ(restored->revision(), "5");
    EXPECT_FALSE(restored->name());
    EXPECT_FALSE(restored->venueId());

    auto garbage = foundation::Data::fromString("not an archive");
    EXPECT_FALSE(KeyedUnarchiver::unarchiveObjectOfClass<QVARoom>(garbage));
}

// Every registered class, fed dictionaries whose every key holds the same odd
// value, and rows of the same shape: nothing may crash or read out of range
// (the sanitizers watch), and whatever comes out must archive.
TEST(ModelBase, MalformedInputNeverBreaksAnyModel) {
    registerModelClasses();
    const char* classes[] = {
        "QVABaseItemModel", "QVAEvent", "QVAVenue", "QVARoom", "QVATimelineItemModel", "QVASession",
        "QVAAgendaRole", "QVAAgendaSelections", "QVAAgendaResponsibilities", "QVAAgendaInvitation",
        "QVAPersonalEntry", "QVASessionNote", "QVAParticipant", "QVAOrganization", "QVAPartner",
        "QVAFollowedParticipant", "QVAMeetingDelegate", "QVALoginDelegator", "QVAParticipantNote",
        "QVAMessageRecipient", "QVANotification", "QVAFloorLevel", "QVAImapsLinksModel", "QVASessionInsight",
        "QVASessionStatusMessage", "QVASessionOccupancy", "QVARecommendedSession",
        "QVAInvitationConflictResponse", "QVAContributor", "QVARecommendedParticipant", "QVAMessage",
        "QVAMessageReceivedRecipient", "QVAMessageResult", "QVAUserAccount", "QVAPermission",
        "QVAPrivacySettings", "QVADocumentInfo", "QVAInformationDocument", "QVAOutboxMessage",
    };
    const char* keys[] = {
        "id", "revision", "itemId", "title", "startDatetime", "endDatetime", "keyword", "fee", "capacity",
        "cancelled", "contributors", "insights", "session", "status", "withSpouse", "subject", "body", "from",
        "to", "read", "quovanaNetworks", "contributions", "socialAccounts", "floorLevels", "interactive_maps",
        "level", "default", "user", "accessToken", "conflicting_ressource", "category", "index", "latitude",
        "primary", "documents", "floorPlans", "occupencyPercent", "actions", "longMessage", "sectionTitle",
        "displayTime", "composeDate", "externalAddress", "valid", "participantId", "type", "network",
        "quovanaCommunity", "sessionId", "href", "name", "agendaItemId",
    };
    Value nested = Value::dictionary({{"participantId", Value::array({})}, {"type", Value::null()}});
    std::vector<Value> odd = {
        Value::null(), Value(""), Value("T"), Value("  -0012.9xyz"), Value(true), Value(-3.5), Value(1e300),
        Value(-1e300), Value(std::numeric_limits<double>::quiet_NaN()), Value(std::numeric_limits<long long>::min()),
        Value::array({}), Value::array({Value::null(), 1, "x", nested, Value::array({nested})}), nested,
        Value(foundation::Data::fromString("QVKA")),
    };
    for (const auto& value : odd) {
        Value::Dictionary dictionary;
        for (const char* key : keys) dictionary[key] = value;
        for (const Value& input : {Value(dictionary), value}) {
            for (const char* name : classes) {
                auto cls = ModelClass::named(name);
                ASSERT_TRUE(cls) << name;
                auto made = cls->initWithDictionary(input);
                ASSERT_TRUE(made) << name;
                if (std::dynamic_pointer_cast<foundation::Coding>(made)) {
                    auto data = KeyedArchiver::archivedDataWithRootObject(Value(made));
                    auto back = KeyedUnarchiver::unarchiveObjectWithData(data);
                    ASSERT_TRUE(back) << name;
                    EXPECT_EQ(back->className(), name);
                }
                if (cls->initWithCoreDataDictionary) {
                    EXPECT_TRUE(cls->initWithCoreDataDictionary(input)) << name;
                }
            }
        }
    }
}
