// The address book's access in "quovana app": refused with "contact refuse",
// the book matches nobody, so a participant already saved as a contact is
// offered as a new one; "contact allow" brings the saved contact back.
#include <gtest/gtest.h>

#include <string>

#include "service/MeetingGenerator.h"
#include "service/MeetingService.h"
#include "tools/InProcessCommandTest.h"

namespace {

class ContactAccessAppTest : public InProcessCommandTest {};

TEST_F(ContactAccessAppTest, ARefusedBookOffersANewContactUntilAllowedAgain) {
    std::string participantId;
    {
        testservice::MeetingService service(
            testservice::generateMeeting({.seed = 7, .sessions = 4, .participants = 20, .days = 1}));
        ASSERT_TRUE(service.start());
        const auto participants = service.items(testservice::MeetingKind::Participants);
        // The first is the demo user, whose own details offer no contact.
        ASSERT_GT(participants.size(), 1u);
        participantId = participants[1]["id"].stringValue();
        const std::string root = service.rootURL();
        ASSERT_EQ(run({"--service", root, "login", testservice::kDemoUsername, testservice::kDemoPassword}).status, 0);
        CommandRun load = run({"--service", root, "load"});
        ASSERT_EQ(load.status, 0) << load.err;
    }

    CommandRun app = run({"app"}, "open ParticipantDetailsViewController --object QVACoreDataParticipant " +
                                      participantId +
                                      "\ntap item Share\ncontact save\n"
                                      "contact refuse\ntap item Share\ncontact cancel\n"
                                      "contact allow\ntap item Share\n");
    ASSERT_EQ(app.status, 0) << app.out << app.err;
    const size_t refused = app.out.find("== contact refuse");
    const size_t allowed = app.out.find("== contact allow");
    ASSERT_NE(refused, std::string::npos) << app.out;
    ASSERT_NE(allowed, std::string::npos) << app.out;
    const std::string whileRefused = app.out.substr(refused, allowed - refused);
    EXPECT_NE(whileRefused.find("Add to Contacts"), std::string::npos) << whileRefused;
    EXPECT_EQ(whileRefused.find("Choose Action"), std::string::npos) << whileRefused;
    EXPECT_NE(app.out.find("Choose Action", allowed), std::string::npos) << app.out.substr(allowed);
}

}  // namespace
