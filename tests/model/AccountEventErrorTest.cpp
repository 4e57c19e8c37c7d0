// The models kept in the settings archive (account, current event), documents,
// venues with archived floor levels, and the application's error types.
#include <gtest/gtest.h>

#include "foundation/Bundle.h"
#include "foundation/KeyedArchiver.h"
#include "model/ModelClass.h"
#include "model/ModelReading.h"
#include "model/QVADocumentInfo.h"
#include "model/QVAError.h"
#include "model/QVAEvent.h"
#include "model/QVAInvitationConflictResponse.h"
#include "model/QVAPrivacySettings.h"
#include "model/QVAUserAccount.h"
#include "model/QVAVenue.h"

using foundation::KeyedArchiver;
using foundation::KeyedUnarchiver;
using foundation::Value;

namespace {

void expectSameAccount(const QVAUserAccount& a, const QVAUserAccount& b) {
    EXPECT_EQ(a.authenticationCode(), b.authenticationCode());
    EXPECT_EQ(a.itemId(), b.itemId());
    EXPECT_EQ(a.email(), b.email());
    EXPECT_EQ(a.firstName(), b.firstName());
    EXPECT_EQ(a.fullName(), b.fullName());
    EXPECT_EQ(a.lastName(), b.lastName());
    EXPECT_EQ(a.photoId(), b.photoId());
    EXPECT_EQ(a.photoUrl(), b.photoUrl());
    EXPECT_EQ(a.signIn(), b.signIn());
}

}  // namespace

TEST(AccountModels, LoginAnswerArchiveAndDuplicate) {
    registerModelClasses();
    auto account = QVAUserAccount::initWithDictionary(Value::dictionary({
        {"accessToken", "tok/en"},
        {"user", Value::dictionary({{"id", 9},
                                    {"email", "ada@example.org"},
                                    {"firstName", "Ada"},
                                    {"fullName", "Ada Okafor"},
                                    {"lastName", "Okafor"},
                                    {"photoId", "p1"},
                                    {"photoUrl", "https://example.org/p1"}})},
    }));
    EXPECT_EQ(account->authenticationCode(), "tok/en");
    EXPECT_EQ(account->itemId(), "9");
    EXPECT_EQ(account->photoUrl(), "https://example.org/p1");
    account->signedInWithLoginName("ada ");
    EXPECT_EQ(account->signIn(), "name:ada ");

    auto restored = KeyedUnarchiver::unarchiveObjectOfClass<QVAUserAccount>(
        KeyedArchiver::archivedDataWithRootObject(Value(account)));
    ASSERT_TRUE(restored);
    expectSameAccount(*account, *restored);
    auto copy = account->duplicateCopySwitchUser();
    ASSERT_TRUE(copy);
    EXPECT_NE(copy.get(), account.get());
    expectSameAccount(*account, *copy);

    auto tokenOnly = QVAUserAccount::initWithDictionary(Value::dictionary({{"accessToken", "t"}, {"user", "x"}}));
    EXPECT_EQ(tokenOnly->authenticationCode(), "t");
    EXPECT_FALSE(tokenOnly->email());
    EXPECT_FALSE(QVAUserAccount::initWithDictionary(Value::dictionary({}))->authenticationCode());

    auto privacy = QVAPrivacySettings::initWithDictionary(Value::dictionary({{"primaryEmailVisible", "Yes"}}));
    EXPECT_TRUE(privacy->isPrimaryEmailVisible());
    EXPECT_FALSE(privacy->isPhoneVisible());
    EXPECT_EQ(QVADocumentInfo::initWithDictionary(Value::dictionary({{"category", ""}}))->category(), "*");
    EXPECT_EQ(QVADocumentInfo::initWithDictionary(Value::dictionary({{"category", Value::null()}}))->category(), "*");
    EXPECT_EQ(QVADocumentInfo::initWithDictionary(Value::dictionary({{"index", "3rd"}}))->index(), 3);
}

TEST(EventModels, EventArchiveRowAndVenueFloorLevels) {
    registerModelClasses();
    Value documents = Value::array({Value::dictionary({{"title", "Agenda"}})});
    auto event = QVAEvent::initWithDictionary(Value::dictionary({
        {"id", "e1"},           {"revision", 4},         {"address", "1 Quai"},   {"city", "Geneva"},
        {"country", "CH"},      {"description", "Annual"}, {"startDate", "2015-01-21"}, {"endDate", "2015-01-23"},
        {"name", "Summit"},     {"url", "https://example.org"}, {"reportsRssFeedUrl", "https://example.org/rss"},
        {"feedbackFormUrl", "f"}, {"votingUrl", "v"},      {"linksUrl", "l"},       {"documents", documents},
        {"floorPlans", "not an array"},
    }));
    auto restored =
        KeyedUnarchiver::unarchiveObjectOfClass<QVAEvent>(KeyedArchiver::archivedDataWithRootObject(Value(event)));
    ASSERT_TRUE(restored);
    EXPECT_EQ(restored->itemId(), "e1");
    EXPECT_EQ(restored->revision(), "4");
    EXPECT_EQ(restored->address(), event->address());
    EXPECT_EQ(restored->city(), event->city());
    EXPECT_EQ(restored->country(), event->country());
    EXPECT_EQ(restored->eventDescription(), "Annual");
    EXPECT_EQ(restored->startDate(), event->startDate());
    EXPECT_EQ(restored->endDate(), event->endDate());
    EXPECT_EQ(restored->eventName(), "Summit");
    EXPECT_EQ(restored->eventUrl(), event->eventUrl());
    EXPECT_EQ(restored->reportsRssFeedUrl(), event->reportsRssFeedUrl());
    EXPECT_EQ(restored->feedbackFormUrl(), "f");
    EXPECT_EQ(restored->votingUrl(), "v");
    EXPECT_EQ(restored->linksUrl(), "l");
    EXPECT_EQ(restored->documents(), documents);
    EXPECT_TRUE(restored->floorPlans().isAbsent());

    auto fromRow = QVAEvent::initWithCoreDataDictionary(
        Value::dictionary({{"itemId", "e1"}, {"revision", "4"}, {"eventName", "Summit"}, {"city", "Geneva"}}));
    EXPECT_EQ(fromRow->eventName(), "Summit");
    EXPECT_FALSE(fromRow->city());
    EXPECT_TRUE(KeyedUnarchiver::unarchiveObjectOfClass<QVAEvent>(foundation::Data::fromString("QVKA\x01")) == nullptr);

    Value link = Value::dictionary({{"href", "h"}, {"rel", "r"}});
    Value level = Value::dictionary(
        {{"name", "Ground"}, {"default", true}, {"level", "0"}, {"interactive_maps", Value::array({link, 3})}});
    auto venue = QVAVenue::initWithDictionary(
        Value::dictionary({{"id", "v1"}, {"latitude", "46.2"}, {"floorLevels", Value::array({level, "stray"})}}));
    EXPECT_DOUBLE_EQ(venue->latitude(), 46.2);
    ASSERT_EQ(venue->floorLevels().size(), 1u);
    ASSERT_EQ(venue->floorLevels()[0]->interactiveMaps().size(), 1u);
    auto bare = QVAVenue::initWithDictionary(Value::dictionary({{"floorLevels", Value::array({})}}));
    EXPECT_TRUE(bare->floorLevels().empty());

    auto stored = QVAVenue::initWithCoreDataDictionary(Value::dictionary({
        {"itemId", "v1"},
        {"primary", 1},
        {"floorLevels", KeyedArchiver::archivedDataWithRootObject(ModelReading::arrayValue(venue->floorLevels()))},
    }));
    EXPECT_TRUE(stored->primary());
    ASSERT_EQ(stored->floorLevels().size(), 1u);
    const auto& ground = *stored->floorLevels()[0];
    EXPECT_EQ(ground.name(), "Ground");
    EXPECT_TRUE(ground.isDefault());
    ASSERT_EQ(ground.interactiveMaps().size(), 1u);
    EXPECT_EQ(ground.interactiveMaps()[0]->relString(), "r");
    EXPECT_FALSE(QVAVenue::initWithCoreDataDictionary(Value::dictionary({{"primary", 0}}))->primary());
}

TEST(ServiceErrors, LocalAndServiceErrorsAndTheirTypes) {
    registerModelClasses();
    auto local = QVAError::initWithDescription("Failed to download data. Please reload all data");
    EXPECT_EQ(local->domain(), "com.QVA.EVENTS.ErrorDomain");
    EXPECT_EQ(local->code(), 1);
    EXPECT_EQ(local->localizedDescription(), "Failed to download data. Please reload all data");

    auto conflictClass = ModelClass::of<QVAInvitationConflictResponse>();
    Value body = Value::dictionary({{"error", "Conflict"}, {"message", "Overlaps"}});
    auto service = QVAError::initWithDomain("svc", 409, {{"k", 1}}, body, conflictClass.get());
    EXPECT_EQ(service->QVAServiceErrorMessage(), "Conflict");
    auto typed = std::dynamic_pointer_cast<QVAInvitationConflictResponse>(service->errorResponseObject());
    ASSERT_TRUE(typed);
    EXPECT_EQ(typed->message(), "Overlaps");

    auto nullMessage = QVAError::initWithDomain("svc", 409, {}, Value::dictionary({{"error", Value::null()}}),
                                                conflictClass.get());
    EXPECT_FALSE(nullMessage->QVAServiceErrorMessage());
    EXPECT_TRUE(nullMessage->errorResponseObject());

    auto noBody = QVAError::initWithDomain("svc", 500, {{"k", 1}}, Value(), conflictClass.get());
    EXPECT_FALSE(noBody->QVAServiceErrorMessage());
    EXPECT_FALSE(noBody->errorResponseObject());
    EXPECT_EQ(noBody->domain(), "svc");
    EXPECT_EQ(noBody->code(), 500);
    EXPECT_EQ(noBody->userInfoValue("k"), Value(1));

    foundation::ErrorPtr offline =
        NoInternetConnectionError::make(foundation::kURLErrorDomain, foundation::URLError::NotConnectedToInternet, {});
    foundation::ErrorPtr plain = foundation::Error::make(foundation::kURLErrorDomain, -1009);
    EXPECT_TRUE(std::dynamic_pointer_cast<const NoInternetConnectionError>(offline));
    EXPECT_FALSE(std::dynamic_pointer_cast<const NoInternetConnectionError>(plain));
    EXPECT_FALSE(std::dynamic_pointer_cast<const QVAError>(offline));
}
