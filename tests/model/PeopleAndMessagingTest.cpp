// People, organisations and messages: the flattened participant texts, social
// accounts through the row archive, and the message's sender and receivers.
#include <gtest/gtest.h>

#include "foundation/KeyedArchiver.h"
#include "model/ModelClass.h"
#include "model/ModelReading.h"
#include "model/QVAFollowedParticipant.h"
#include "model/QVAMessage.h"
#include "model/QVAMessageReceivedRecipient.h"
#include "model/QVAOrganization.h"
#include "model/QVAOutboxMessage.h"
#include "model/QVAParticipant.h"
#include "model/QVAPartner.h"

using foundation::KeyedArchiver;
using foundation::KeyedUnarchiver;
using foundation::Value;

namespace {

Value network(Value name, Value community) {
    return Value::dictionary({{"network", std::move(name)}, {"quovanaCommunity", std::move(community)}});
}

}  // namespace

TEST(PeopleModels, FlattenedParticipantFields) {
    auto participant = QVAParticipant::initWithDictionary(Value::dictionary({
        {"id", 77},
        {"lastName", "Okafor"},
        {"inBooklet", 1},
        {"contributions", Value::array({Value::dictionary({{"sessionId", 501}, {"type", "A"}}), "stray",
                                        Value::dictionary({{"sessionId", "502"}, {"type", "B"}})})},
        {"quovanaNetworks", Value::array({network("N1", "C1"), network("N2", "C2"), network("N3", ""),
                                          network(4, "C4"), "stray"})},
        {"socialAccounts", Value::dictionary({{"twitter", "@ok"}, {"skype", Value::null()}, {"fax", 5}})},
    }));
    EXPECT_EQ(participant->itemId(), "77");
    EXPECT_TRUE(participant->inBooklet());
    EXPECT_EQ(participant->contributions(), "501|A;502|B");
    EXPECT_EQ(participant->quovanaNetworks(), "|1|N1|2|C1|3||1|N2|2|C2|3|");
    ASSERT_EQ(participant->socialAccounts().size(), 1u);
    EXPECT_EQ(participant->socialAccounts()[0]->socialNetworkName(), "twitter");
    EXPECT_EQ(participant->socialAccounts()[0]->account(), "@ok");
    EXPECT_EQ(participant->coreDataClass(), "QVACoreDataParticipant");

    auto incomplete = QVAParticipant::initWithDictionary(
        Value::dictionary({{"quovanaNetworks", Value::array({Value::dictionary({{"network", "N1"}})})},
                           {"socialAccounts", Value::array({"twitter"})}}));
    EXPECT_EQ(incomplete->quovanaNetworks(), "");
    EXPECT_TRUE(incomplete->socialAccounts().empty());
    auto none = QVAParticipant::initWithDictionary(Value::dictionary({{"quovanaNetworks", Value::array({})}}));
    EXPECT_FALSE(none->quovanaNetworks());
    EXPECT_FALSE(none->contributions());

    auto partner = QVAPartner::initWithDictionary(Value::dictionary({{"engagementType", Value::null()}}));
    EXPECT_EQ(partner->engagementType(), "");
    auto followed = QVAFollowedParticipant::initWithId("77", "Ada", "Okafor", "Ada Okafor");
    EXPECT_EQ(followed->itemId(), "77");
    EXPECT_FALSE(followed->revision());

    auto organization = QVAOrganization::initWithDictionary(Value::dictionary({{"commonName", "UNO"}, {"poBox", 12}}));
    EXPECT_EQ(organization->valueForKey("commonName"), Value("UNO"));
    EXPECT_EQ(organization->poBox(), "12");
}

TEST(PeopleModels, ParticipantRowsReadTheirArchivedAccounts) {
    registerModelClasses();
    auto source = QVAParticipant::initWithDictionary(
        Value::dictionary({{"socialAccounts", Value::dictionary({{"linkedin", "ada"}, {"twitter", "@ok"}})}}));
    Value::Dictionary row = {
        {"itemId", "77"},
        {"firstName", "Ada"},
        {"publicFigure", true},
        {"quovanaNetworks", "|1|N1|2|C1|3|"},
        {"socialAccounts",
         KeyedArchiver::archivedDataWithRootObject(ModelReading::arrayValue(source->socialAccounts()))},
    };
    auto participant = QVAParticipant::initWithCoreDataDictionary(Value(row));
    EXPECT_EQ(participant->firstName(), "Ada");
    EXPECT_TRUE(participant->publicFigure());
    EXPECT_EQ(participant->quovanaNetworks(), "|1|N1|2|C1|3|");
    ASSERT_EQ(participant->socialAccounts().size(), 2u);
    EXPECT_EQ(participant->socialAccounts()[1]->account(), "@ok");
    EXPECT_EQ(participant->valueForKey("quovanaNetworks"), Value("|1|N1|2|C1|3|"));
    EXPECT_EQ(participant->valueForKey("publicFigure"), Value(true));
}

TEST(MessagingModels, MessagesSendersAndOutbox) {
    Value sender = Value::dictionary({{"participantId", 5}, {"name", "Ada"}, {"externalAddress", false}});
    auto message = QVAMessage::initWithDictionary(Value::dictionary({
        {"id", "42"},
        {"body", Value::null()},
        {"read", "true"},
        {"from", sender},
        {"to", Value::array({sender, "stray"})},
    }));
    EXPECT_EQ(message->messageId(), 42);
    EXPECT_EQ(message->body(), "");
    EXPECT_TRUE(message->isRead());
    EXPECT_EQ(message->from(), Value::array({sender}));
    EXPECT_EQ(message->to(), Value::array({sender}));
    EXPECT_EQ(message->coreDataClass(), "QVACoreDataMessage");

    auto anonymous = QVAMessage::initWithDictionary(Value::dictionary({{"id", 42}, {"from", Value::null()}}));
    EXPECT_EQ(anonymous->messageId(), 42);
    EXPECT_EQ(anonymous->from(), Value::array({}));
    EXPECT_TRUE(anonymous->to().isAbsent());
    EXPECT_EQ(QVAMessage::initWithDictionary(Value::dictionary({{"from", "Ada"}}))->from(), Value::array({}));

    registerModelClasses();
    auto recipient = QVAMessageReceivedRecipient::initWithDictionary(sender);
    auto restored = KeyedUnarchiver::unarchiveObjectOfClass<QVAMessageReceivedRecipient>(
        KeyedArchiver::archivedDataWithRootObject(Value(recipient)));
    ASSERT_TRUE(restored);
    EXPECT_EQ(restored->participantId(), "5");
    EXPECT_EQ(restored->name(), "Ada");
    EXPECT_EQ(restored->isExternalAddress(), std::optional<bool>(false));
    EXPECT_FALSE(restored->isValid());

    auto composed = QVAOutboxMessage::initWithBody(std::nullopt, "Hi", 1700000000, "Ada", "ada@example.org", 3);
    EXPECT_EQ(composed->body(), "");
    auto stored = QVAOutboxMessage::initWithCoreDataDictionary(
        Value::dictionary({{"subject", "Hi"}, {"composeDate", 1700000000}, {"threadId", 3}}));
    EXPECT_FALSE(stored->body());
    EXPECT_EQ(stored->composeDate(), 1700000000);
    EXPECT_EQ(stored->threadId(), 3);
}
