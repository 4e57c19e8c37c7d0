// The mapping categories through the store front: which entity a row gets,
// what each category copies, archives and derives, the single update, the
// outbox identity, the delta write and the event row's dictionary.
#include <gtest/gtest.h>

#include "foundation/KeyedArchiver.h"
#include "model/QVAAgendaEntries.h"
#include "model/QVACoreDataAgendaInvitation.h"
#include "model/QVACoreDataEvent.h"
#include "model/QVACoreDataFollowedParticipant.h"
#include "model/QVACoreDataInformationDocument.h"
#include "model/QVACoreDataLoginDelegator.h"
#include "model/QVACoreDataMeetingDelegate.h"
#include "model/QVACoreDataMessage.h"
#include "model/QVACoreDataMessageRecipient.h"
#include "model/QVACoreDataNotification.h"
#include "model/QVACoreDataOrganization.h"
#include "model/QVACoreDataOutboxMessage.h"
#include "model/QVACoreDataParticipant.h"
#include "model/QVACoreDataParticipantNote.h"
#include "model/QVACoreDataPartner.h"
#include "model/QVACoreDataReportsDocument.h"
#include "model/QVACoreDataRoom.h"
#include "model/QVACoreDataSession.h"
#include "model/QVACoreDataSessionNote.h"
#include "model/QVACoreDataVenue.h"
#include "model/QVAMessageReceivedRecipient.h"
#include "store/StoreTestSupport.h"

namespace storetest {
namespace {

using foundation::Value;

const Value kSession = Value::dictionary({{"id", "s1"},
                                          {"revision", 3},
                                          {"title", "Keynote"},
                                          {"startDatetime", "2015-01-21T09:30:00+01:00"},
                                          {"endDatetime", "2015-01-21T10:45:00+01:00"},
                                          {"capacity", 80},
                                          {"cancelled", true},
                                          {"insights", Value::array({Value::dictionary({{"id", "i1"}})})}});

TEST_F(StoreTest, SessionsAndAgendaEntriesKeepTheirKinds) {
    open("sessions");
    auto session = QVASession::initWithDictionary(kSession);
    auto invitation = QVAAgendaInvitation::initWithDictionary(
        Value::dictionary({{"id", "a1"}, {"status", "Invited"}, {"withSpouse", true}, {"session", kSession}}));
    await([&](auto done) {
        store.addItemsToCoreData({session}, EntityClass::of<QVACoreDataSession>(), "sessions", "42", done);
    });
    await([&](auto done) {
        store.addItemsToCoreData({invitation}, EntityClass::of<QVACoreDataAgendaInvitation>(), "sessions", "42", done);
    });

    auto all = rows<QVACoreDataBaseSession>("sessions");
    ASSERT_EQ(all.size(), 2u);
    auto official = rows<QVACoreDataSession>("sessions");
    ASSERT_EQ(official.size(), 1u);
    EXPECT_EQ(official[0]->entityName(), "QVACoreDataSession");
    EXPECT_EQ(official[0]->itemId(), "s1");
    EXPECT_EQ(official[0]->revision(), "3");
    EXPECT_EQ(official[0]->capacity(), 80);
    EXPECT_TRUE(official[0]->cancelled());
    EXPECT_EQ(official[0]->startDateString(), "2015-01-21");
    auto reread = QVASession::initWithCoreDataObject(*official[0]);
    ASSERT_EQ(reread->insights().size(), 1u);
    EXPECT_EQ(reread->insights()[0]->sessionInsightId(), "i1");

    auto agenda = rows<QVACoreDataAgendaRole>("sessions");
    ASSERT_EQ(agenda.size(), 1u);
    EXPECT_EQ(agenda[0]->entityName(), "QVACoreDataAgendaInvitation");
    EXPECT_EQ(agenda[0]->agendaItemId(), "a1");
    EXPECT_EQ(agenda[0]->itemId(), "s1");
    EXPECT_EQ(agenda[0]->status(), "Invited");
    EXPECT_TRUE(agenda[0]->withSpouse());
    EXPECT_FALSE(agenda[0]->insights());
    EXPECT_EQ(EntityClass::of<QVACoreDataAgendaInvitation>()->comparisonPropertyName, "agendaItemId");
}

TEST_F(StoreTest, PeopleGetSectionsAndAreMatchedForUpdates) {
    open("people");
    auto person = [](const char* id, Value lastName) {
        return QVAParticipant::initWithDictionary(Value::dictionary(
            {{"id", id}, {"lastName", lastName}, {"socialAccounts", Value::dictionary({{"twitter", "@x"}})}}));
    };
    auto type = EntityClass::of<QVACoreDataParticipant>();
    await([&](auto done) {
        store.addItemsToCoreData({person("p1", "écart"), person("p2", "9lives"), person("p3", Value())}, type, "people",
                                 "42", done);
    });
    std::map<std::string, std::optional<std::string>> sections;
    for (const auto& row : rows<QVACoreDataParticipant>("people")) sections[*row->itemId()] = row->sectionTitle();
    EXPECT_EQ(sections["p1"], "E");
    EXPECT_EQ(sections["p2"], "#");
    EXPECT_EQ(sections["p3"], std::nullopt);

    // The single update overwrites the matched row and no other.
    auto updated =
        await([&](auto done) { store.updateItemToCoreData(person("p2", "Zeta"), "people", "42", true, done); });
    EXPECT_EQ(updated.error, nullptr);
    auto p2 = rows<QVACoreDataParticipant>("people", "42", coredata::Predicate::withFormat("itemId == 'p2'"));
    ASSERT_EQ(p2.size(), 1u);
    EXPECT_EQ(p2[0]->sectionTitle(), "Z");
    EXPECT_EQ(rows<QVACoreDataParticipant>("people").size(), 3u);

    // The delta write deletes every row its items name; models that carry
    // no change action are not written back.
    EXPECT_EQ(await([&](auto done) { store.deltaUpdateItemsToCoreData({}, type, "people", "42", done); }).error,
              nullptr);
    await([&](auto done) {
        store.deltaUpdateItemsToCoreData({person("p1", "A"), person("p3", "C")}, type, "people", "42", done);
    });
    auto left = rows<QVACoreDataParticipant>("people");
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left[0]->itemId(), "p2");
}

TEST_F(StoreTest, MessagesKeepWhatTheMappingDoesNotWrite) {
    auto stack = open("mail");
    auto message = [](const char* subject) {
        return QVAMessage::initWithDictionary(Value::dictionary(
            {{"id", 7},
             {"subject", subject},
             {"from", Value::dictionary({{"name", "Ann"}})},
             {"to", Value::array({Value::dictionary({{"name", "Bob"}}), Value::dictionary({{"name", "Cy"}})})}}));
    };
    await([&](auto done) {
        store.addItemsToCoreData({message("first")}, EntityClass::of<QVACoreDataMessage>(), "mail", "42", done);
    });
    await([&](auto done) {
        store.executeBlockInWorkerBackgroundContext(
            [](coredata::ManagedObjectContext& context) {
                auto request = coredata::FetchRequest(QVACoreDataMessage::kEntityName);
                auto row = context.executeFetchRequest(request).at(0).objectAs<QVACoreDataMessage>();
                row->setItemId("m7");
                row->setRevision("5");
            },
            "mail", "42", nullptr, done);
    });
    auto result = await([&](auto done) { store.updateItemToCoreData(message("second"), "mail", "42", true, done); });
    EXPECT_EQ(result.error, nullptr);
    auto stored = rows<QVACoreDataMessage>("mail");
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0]->subject(), "second");
    EXPECT_EQ(stored[0]->itemId(), "m7");
    EXPECT_EQ(stored[0]->revision(), "5");
    auto to = foundation::KeyedUnarchiver::unarchiveValueWithData(*stored[0]->to());
    ASSERT_EQ(to.count(), 2u);
    EXPECT_EQ(to.at(1).objectAs<QVAMessageReceivedRecipient>()->name(), "Cy");
    auto from = foundation::KeyedUnarchiver::unarchiveValueWithData(*stored[0]->from());
    ASSERT_EQ(from.count(), 1u);
    EXPECT_EQ(from.at(0).objectAs<QVAMessageReceivedRecipient>()->name(), "Ann");
}

TEST_F(StoreTest, OutboxRowsComposedInOneSecondStayApart) {
    open("outbox");
    auto type = EntityClass::of<QVACoreDataOutboxMessage>();
    await([&](auto done) {
        store.addItemsToCoreData({QVAOutboxMessage::initWithBody("one", "s", 1000, "Ann", "a@x", 1),
                                  QVAOutboxMessage::initWithBody("two", "s", 1000, "Bob", "b@x", 1)},
                                 type, "outbox", "42", done);
    });
    auto both = rows<QVACoreDataOutboxMessage>("outbox");
    ASSERT_EQ(both.size(), 2u);
    ASSERT_TRUE(both[0]->outboxId() && both[1]->outboxId());
    EXPECT_NE(both[0]->outboxId(), both[1]->outboxId());
    EXPECT_EQ(both[0]->composeDate(), both[1]->composeDate());

    const auto sentBody = both[0]->body();
    await([&](auto done) {
        store.deleteItemsFromCoreDataForItemType(type, "outbox", "42",
                                                 QVACoreDataOutboxMessage::predicateForOutboxId(*both[0]->outboxId()),
                                                 true, nullptr, done);
    });
    auto left = rows<QVACoreDataOutboxMessage>("outbox");
    ASSERT_EQ(left.size(), 1u);
    EXPECT_NE(left[0]->body(), sentBody);
}

TEST_F(StoreTest, DocumentsAndEventRows) {
    open("docs");
    auto report = QVADocumentInfo::initWithDictionary(Value::dictionary(
        {{"title", "Report"}, {"url", "https://example.org/files/report.PDF?x=1"}, {"extension", "html"}}));
    auto info =
        QVAInformationDocument::initWithDictionary(Value::dictionary({{"title", "Info"}, {"extension", "doc"}}));
    await([&](auto done) {
        store.addItemsToCoreData({report}, EntityClass::of<QVACoreDataReportsDocument>(), "docs", "42", done);
    });
    await([&](auto done) {
        store.addItemsToCoreData({info}, EntityClass::of<QVACoreDataInformationDocument>(), "docs", "42", done);
    });
    EXPECT_EQ(rows<QVACoreDataDocumentInfo>("docs").size(), 2u);
    auto reports = rows<QVACoreDataReportsDocument>("docs");
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0]->extension(), "PDF");
    EXPECT_EQ(rows<QVACoreDataInformationDocument>("docs").at(0)->extension(), "doc");
    // Deleting the parent entity's rows takes both kinds.
    await([&](auto done) {
        store.deleteItemsFromCoreDataForItemType(EntityClass::of<QVACoreDataDocumentInfo>(), "docs", "42", nullptr,
                                                 true, nullptr, done);
    });
    EXPECT_TRUE(rows<QVACoreDataDocumentInfo>("docs").empty());

    auto event = QVAEvent::initWithDictionary(Value::dictionary({{"id", "e1"}, {"name", "Annual Meeting"}}));
    await(
        [&](auto done) { store.addItemsToCoreData({event}, EntityClass::of<QVACoreDataEvent>(), "docs", "42", done); });
    auto dictionary = rows<QVACoreDataEvent>("docs").at(0)->toDicionary();
    EXPECT_EQ(dictionary, Value::dictionary({{"eventName", "Annual Meeting"},
                                             {"startDate", Value::null()},
                                             {"itemId", "e1"},
                                             {"revision", Value::null()}}));
    EXPECT_EQ(QVAEvent::initWithCoreDataDictionary(dictionary)->eventName(), "Annual Meeting");
}

TEST_F(StoreTest, TheRemainingCategoriesCopyTheirFields) {
    open("all");
    auto write = [&](const foundation::ObjectPtr& item, const EntityClassPtr& type) {
        EXPECT_EQ(await([&](auto done) { store.addItemsToCoreData({item}, type, "all", "42", done); }).error, nullptr);
    };
    using D = Value;
    write(
        QVAVenue::initWithDictionary(D::dictionary({{"id", "v1"},
                                                    {"revision", 2},
                                                    {"name", "Hall"},
                                                    {"latitude", 46.25},
                                                    {"primary", true},
                                                    {"floorLevels", D::array({D::dictionary({{"name", "Ground"}})})}})),
        EntityClass::of<QVACoreDataVenue>());
    write(QVARoom::initWithDictionary(D::dictionary({{"id", "r1"}, {"name", "A"}, {"venueId", "v1"}, {"mapUrl", "m"}})),
          EntityClass::of<QVACoreDataRoom>());
    write(QVAOrganization::initWithDictionary(D::dictionary({{"id", "o1"}, {"commonName", "acme"}, {"poBox", "12"}})),
          EntityClass::of<QVACoreDataOrganization>());
    write(QVAPartner::initWithDictionary(D::dictionary({{"id", "pa1"}, {"name", "Partner"}})),
          EntityClass::of<QVACoreDataPartner>());
    write(QVAMeetingDelegate::initWithDictionary(D::dictionary({{"id", "d1"}, {"fullName", "Dee"}, {"photoUrl", "p"}})),
          EntityClass::of<QVACoreDataMeetingDelegate>());
    write(QVALoginDelegator::initWithDictionary(D::dictionary({{"id", "l1"}, {"type", "assistant"}, {"email", "e"}})),
          EntityClass::of<QVACoreDataLoginDelegator>());
    write(QVAMessageRecipient::initWithDictionary(D::dictionary({{"id", "m1"}, {"lastName", "ölund"}})),
          EntityClass::of<QVACoreDataMessageRecipient>());
    write(QVAFollowedParticipant::initWithId("f1", "Fay", "Lee", "Fay Lee"),
          EntityClass::of<QVACoreDataFollowedParticipant>());
    write(QVASessionNote::initWithDictionary(D::dictionary({{"id", "n1"}, {"sessionId", "s1"}, {"note", "good"}})),
          EntityClass::of<QVACoreDataSessionNote>());
    write(
        QVAParticipantNote::initWithDictionary(D::dictionary({{"id", "n2"}, {"participantId", "p1"}, {"note", "ok"}})),
        EntityClass::of<QVACoreDataParticipantNote>());
    write(QVANotification::initWithDictionary(
              D::dictionary({{"id", "x1"}, {"message", "Hello"}, {"acknowledged", true}, {"creation_date", "2015"}})),
          EntityClass::of<QVACoreDataNotification>());

    auto venue = rows<QVACoreDataVenue>("all").at(0);
    EXPECT_EQ(venue->revision(), "2");
    EXPECT_DOUBLE_EQ(venue->latitude(), 46.25);
    EXPECT_TRUE(venue->primary());
    auto levels = foundation::KeyedUnarchiver::unarchiveValueWithData(*venue->floorLevels());
    EXPECT_EQ(levels.at(0).objectAs<QVAFloorLevel>()->name(), "Ground");
    EXPECT_EQ(rows<QVACoreDataRoom>("all").at(0)->venueId(), "v1");
    auto organization = rows<QVACoreDataOrganization>("all").at(0);
    EXPECT_EQ(organization->sectionTitle(), "A");
    EXPECT_EQ(organization->poBox(), "12");
    EXPECT_EQ(rows<QVACoreDataPartner>("all").at(0)->engagementType(), "");
    EXPECT_EQ(rows<QVACoreDataMeetingDelegate>("all").at(0)->photoUrl(), "p");
    EXPECT_EQ(rows<QVACoreDataLoginDelegator>("all").at(0)->type(), "assistant");
    EXPECT_EQ(rows<QVACoreDataMessageRecipient>("all").at(0)->sectionTitle(), "O");
    EXPECT_EQ(rows<QVACoreDataFollowedParticipant>("all").at(0)->fullName(), "Fay Lee");
    EXPECT_EQ(rows<QVACoreDataSessionNote>("all").at(0)->sessionId(), "s1");
    EXPECT_EQ(rows<QVACoreDataParticipantNote>("all").at(0)->participantId(), "p1");
    auto notification = rows<QVACoreDataNotification>("all").at(0);
    EXPECT_TRUE(notification->acknowledged());
    EXPECT_EQ(notification->creation_date(), "2015");
}

}  // namespace
}  // namespace storetest
