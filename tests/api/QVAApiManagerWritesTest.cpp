// The service writes that do more than forward: the follow star with its
// permission check and optimistic row, the typed conflict of invitation
// answers, note saves writing the store, and the bodies and paths the
// service expects.
#include "ApiTestSupport.h"
#include "model/QVACoreDataFollowedParticipant.h"
#include "model/QVACoreDataNotification.h"
#include "model/QVACoreDataParticipantNote.h"
#include "model/QVACoreDataPermission.h"
#include "model/QVAError.h"
#include "model/QVAFollowedParticipant.h"
#include "model/QVAInvitationConflictResponse.h"
#include "model/QVAParticipantNote.h"

using foundation::Value;

namespace {

class QVAApiManagerWritesTest : public apitest::ApiTest {
protected:
    const std::string token = "tok";
    std::shared_ptr<QVAFollowedParticipant> person =
        QVAFollowedParticipant::initWithId(std::string("p7"), std::string("Ann"), std::string("Lee"),
                                           std::string("Ann Lee"));

    void SetUp() override {
        ApiTest::SetUp();
        openCurrent(token);
    }
    void grantFollowing() {
        insert(token, QVACoreDataPermission::kEntityName, {{{"code", "relationships:write"}, {"granted", true}}});
    }
};

TEST_F(QVAApiManagerWritesTest, FollowNeedsThePermission) {
    auto outcome = call([&](auto done) { api().setFavoriteStatus(true, person, token, std::string("42"), done); });
    ASSERT_NE(outcome.error, nullptr);
    EXPECT_EQ(outcome.error->code(), 0);
    EXPECT_EQ(server.requestCount(), 0u);
    ASSERT_EQ(alerts().size(), 1u);
    EXPECT_EQ(alerts()[0]->message(), std::optional<std::string>("You do not have the permission to perform this action."));
    EXPECT_TRUE(rows<QVACoreDataFollowedParticipant>(token).empty());
}

TEST_F(QVAApiManagerWritesTest, FailedFollowIsUndone) {
    grantFollowing();
    serve("POST", path("user/relationships"), json(R"({"error":"nope"})", 500));
    auto failed = call([&](auto done) { api().setFavoriteStatus(true, person, token, std::string("42"), done); });
    EXPECT_NE(failed.error, nullptr);
    EXPECT_EQ(*bodyOf(*server.lastRequest())["followingId"].string(), "p7");
    ASSERT_EQ(alerts().size(), 1u);
    EXPECT_EQ(alerts()[0]->title(), std::optional<std::string>("Warning"));
    EXPECT_EQ(alerts()[0]->message(), std::optional<std::string>("Unable to star this participant. Please try again later."));
    EXPECT_TRUE(rows<QVACoreDataFollowedParticipant>(token).empty());
    dismissAlerts();

    // An empty success answer is a failure too.
    serve("POST", path("user/relationships"), testservice::Reply::text("", 201));
    call([&](auto done) { api().followPerson(person, token, std::string("42"), done); });
    EXPECT_EQ(alerts().size(), 1u);
    EXPECT_TRUE(rows<QVACoreDataFollowedParticipant>(token).empty());
    dismissAlerts();

    serve("POST", path("user/relationships"), json(R"({"id":"p7","fullName":"Ann Lee"})", 201));
    auto followed = call([&](auto done) { api().followPerson(person, token, std::string("42"), done); });
    EXPECT_EQ(followed.error, nullptr);
    EXPECT_EQ(rows<QVACoreDataFollowedParticipant>(token).size(), 1u);

    // A failed unfollow writes the row back.
    serve("DELETE", path("user/relationships/p7"), json(R"({"error":"nope"})", 500));
    auto kept = call([&](auto done) { api().unfollowPerson(person, token, std::string("42"), done); });
    EXPECT_NE(kept.error, nullptr);
    EXPECT_EQ(alerts().back()->message(),
              std::optional<std::string>("Unable to unstar this participant. Please try again later."));
    EXPECT_EQ(rows<QVACoreDataFollowedParticipant>(token).size(), 1u);
}

TEST_F(QVAApiManagerWritesTest, InvitationConflictsAreTyped) {
    const std::string conflict =
        R"({"error":"Conflicts with your agenda","conflicting_ressource":{"id":"s9","subject":"Lunch"}})";
    serve("PATCH", path("events/42/my_agenda/invitations/s1"), json(conflict, 409));
    auto expectTyped = [&](const apitest::Outcome& outcome, bool typed) {
        auto error = std::dynamic_pointer_cast<const QVAError>(outcome.error);
        ASSERT_NE(error, nullptr);
        EXPECT_EQ(error->QVAServiceErrorMessage(), std::optional<std::string>("Conflicts with your agenda"));
        EXPECT_EQ(std::dynamic_pointer_cast<QVAInvitationConflictResponse>(error->errorResponseObject()) != nullptr,
                  typed);
    };
    expectTyped(call([&](auto done) {
                    api().acceptInvitedSessionForAuthCode(token, std::string("42"), std::string("s1"), done);
                }),
                true);
    EXPECT_EQ(*bodyOf(*server.lastRequest())["action"].string(), "accept");
    expectTyped(call([&](auto done) {
                    api().acceptInvitedSessionWithSpouseForAuthCode(token, std::string("42"), std::string("s1"), done);
                }),
                true);
    EXPECT_EQ(*bodyOf(*server.lastRequest())["action"].string(), "accept_with_spouse");
    expectTyped(call([&](auto done) {
                    api().declineInvitedSessionForAuthCode(token, std::string("42"), std::string("s1"), done);
                }),
                false);
    call([&](auto done) {
        api().delegateInvitedSessionForAuthCode(token, std::string("42"), std::string("s1"), std::nullopt, done);
    });
    const Value delegated = bodyOf(*server.lastRequest());
    EXPECT_EQ(*delegated["action"].string(), "delegate");
    EXPECT_EQ(*delegated["delegateTo"].string(), "");
}

TEST_F(QVAApiManagerWritesTest, SavedNoteReachesTheCallerAndTheStore) {
    serve("PUT", path("events/42/notes/participants/p7"),
              json(R"({"id":"n1","participantId":"p7","note":"met at lunch","revision":3})"));
    auto saved = call([&](auto done) {
        api().addNoteToParticipant(std::string("met at lunch"), std::string("p7"), std::string("42"), token, done);
    });
    EXPECT_EQ(saved.error, nullptr);
    auto note = saved.result.objectAs<QVAParticipantNote>();
    ASSERT_NE(note, nullptr);
    EXPECT_EQ(note->note(), std::optional<std::string>("met at lunch"));
    EXPECT_EQ(server.lastRequest()->header("Authorization"), std::optional<std::string>("Bearer tok"));
    ASSERT_TRUE(foundation::RunLoop::main().runUntil(
        [&] { return rows<QVACoreDataParticipantNote>(token).size() == 1; }, apitest::kManagerWait));

    serve("PUT", path("events/42/notes/participants/p8"), json(R"({"error":"locked"})", 403));
    auto refused = call([&](auto done) {
        api().addNoteToParticipant(std::nullopt, std::string("p8"), std::string("42"), token, done);
    });
    EXPECT_NE(refused.error, nullptr);
    // A missing note goes as an empty text.
    EXPECT_EQ(*bodyOf(*server.lastRequest())["note"].string(), "");
}

TEST_F(QVAApiManagerWritesTest, BodiesAndPaths) {
    serve("PATCH", path("messages/42"), json(R"({"id":"42","read":false})"));
    call([&](auto done) { api().markAsReadMessageWithId(42, token, done); });
    EXPECT_EQ(*bodyOf(*server.lastRequest())["read"].string(), "false");

    serve("PUT", path("user/privacy_settings"), json("{}"));
    call([&](auto done) { api().updatePrivacySettingsForAuthCode(token, true, false, true, false, done); });
    EXPECT_EQ(bodyOf(*server.lastRequest()),
              Value::dictionary({{"primaryEmailVisible", "true"},
                                 {"phoneVisible", "false"},
                                 {"mobilePhoneVisible", "true"},
                                 {"nationalityVisible", "false"}}));

    settings.setCurrentAccount(QVAUserAccount::initWithDictionary(Value::dictionary({{"accessToken", "current"}})));
    serve("POST", path("messages"), json(R"({"id":"m1"})"));
    call([&](auto done) {
        api().sendMessageWithToCommaSeparatedRecipients(std::string("a,b"), std::string("Hi"), std::string("Text"), 5,
                                                        std::string("ignored"), done);
    });
    EXPECT_EQ(server.lastRequest()->header("Authorization"), std::optional<std::string>("Bearer current"));
    EXPECT_EQ(*bodyOf(*server.lastRequest())["threadId"].string(), "5");
    EXPECT_FALSE(server.lastRequest()->header("Idempotency-Key"));
    // An outbox row's message names itself by the row, on that request alone.
    call([&](auto done) {
        api().sendMessageWithToCommaSeparatedRecipients(std::string("a"), std::string("Hi"), std::string("Text"), 0,
                                                        std::nullopt, done, std::string("row-7"));
    });
    EXPECT_EQ(server.lastRequest()->header("Idempotency-Key"), std::optional<std::string>("row-7"));
    call([&](auto done) { api().markAsReadMessageWithId(42, token, done); });
    EXPECT_FALSE(server.lastRequest()->header("Idempotency-Key"));
}

TEST_F(QVAApiManagerWritesTest, AcknowledgedNotificationLeavesTheStoreOnlyOnAnEmptyAnswer) {
    insert(token, QVACoreDataNotification::kEntityName, {{{"itemId", "n1"}}, {{"itemId", "n2"}}});
    serve("DELETE", path("events/42/my_profile/notifications/n1"), testservice::Reply::text("", 204));
    serve("DELETE", path("events/42/my_profile/notifications/n2"), json(R"({"kept":true})"));
    auto removed = call([&](auto done) {
        api().acknowloedgeNotification(std::string("n1"), token, std::string("42"), done);
    });
    EXPECT_EQ(removed.error, nullptr);
    auto answered = call([&](auto done) {
        api().acknowloedgeNotification(std::string("n2"), token, std::string("42"), done);
    });
    EXPECT_EQ(answered.error, nullptr);
    auto left = rows<QVACoreDataNotification>(token);
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left[0]->itemId(), std::optional<std::string>("n2"));
}

}  // namespace
