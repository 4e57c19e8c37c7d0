// An organisation's details in "quovana app": the website row opens its
// address, printed once as "opened:" after the tap that opened it; the phone
// opens nothing once "openable" leaves calls out; "tap outlet" opens the
// first participant on site, or follows one by the star of its row.
#include <gtest/gtest.h>

#include <string>

#include "service/MeetingGenerator.h"
#include "service/MeetingService.h"
#include "tools/InProcessCommandTest.h"

namespace {

class OrganizationDetailsAppTest : public InProcessCommandTest {};

TEST_F(OrganizationDetailsAppTest, TheWebsiteTapPrintsTheOpenedAddressAndAParticipantRowOpensItsDetails) {
    std::string organizationId, website, phone;
    {
        testservice::MeetingService service(
            testservice::generateMeeting({.seed = 11, .sessions = 4, .participants = 30, .days = 1}));
        ASSERT_TRUE(service.start());
        const auto participants = service.items(testservice::MeetingKind::Participants);
        ASSERT_FALSE(participants.empty());
        organizationId = participants.front()["topLevelOrganizationId"].stringValue();
        for (const auto& organization : service.items(testservice::MeetingKind::Organizations))
            if (organization["id"].stringValue() == organizationId) {
                website = organization["website"].stringValue();
                phone = organization["phone"].stringValue();
            }
        ASSERT_FALSE(website.empty());
        const std::string root = service.rootURL();
        ASSERT_EQ(run({"--service", root, "login", testservice::kDemoUsername, testservice::kDemoPassword}).status, 0);
        CommandRun load = run({"--service", root, "load"});
        ASSERT_EQ(load.status, 0) << load.err;
    }

    CommandRun app = run({"app"}, "open OrganizationDetailsViewController --object QVACoreDataOrganization " +
                                      organizationId + "\ntap button " + website + "\nopenable http,https\ntap button " + phone +
                                      "\ntap outlet participantTitle\n");
    ASSERT_EQ(app.status, 0) << app.out << app.err;
    const size_t tap = app.out.find("== tap button");
    const size_t outlet = app.out.find("== tap outlet");
    ASSERT_NE(tap, std::string::npos) << app.out;
    ASSERT_NE(outlet, std::string::npos) << app.out;
    const std::string line = "opened: " + website + "\n";
    EXPECT_EQ(app.out.find(line), app.out.find(line, tap)) << app.out;
    EXPECT_LT(app.out.find(line, tap), outlet);
    EXPECT_EQ(app.out.find(line, outlet), std::string::npos);
    // The phone opens nothing where the system cannot call.
    EXPECT_EQ(app.out.find("opened: tel:"), std::string::npos) << app.out;
    EXPECT_NE(app.out.find("== tap button " + phone), std::string::npos);
    EXPECT_NE(app.out.find("screen ParticipantDetailsViewController", outlet), std::string::npos)
        << app.out.substr(outlet);
    EXPECT_NE(app.out.find("header-view QVAParticipantHeaderView", outlet), std::string::npos) << app.out.substr(outlet);

    // The page scrolls as a whole, and a row's star is the participants'
    // table's, not the key-value table's above it: it follows (or unfollows).
    CommandRun page = run({"app"}, "open OrganizationDetailsViewController --object QVACoreDataOrganization " +
                                       organizationId + "\nscroll 2000\ntap outlet 0 0 favoriteButton\n");
    ASSERT_EQ(page.status, 0) << page.out << page.err;
    EXPECT_NE(page.out.find("ollow participant", page.out.find("== tap outlet 0 0")), std::string::npos) << page.out;
}

}  // namespace

// Details opened from the participants tab's lists swipe to the next row:
// the screens that build their own views keep the scene's swipe recognisers.
TEST_F(OrganizationDetailsAppTest, ParticipantAndOrganisationDetailsFromTheTabSwipeToTheNextRow) {
    {
        testservice::MeetingService service(
            testservice::generateMeeting({.seed = 11, .sessions = 30, .participants = 300, .days = 1}));
        ASSERT_TRUE(service.start());
        const std::string root = service.rootURL();
        ASSERT_EQ(run({"--service", root, "login", testservice::kDemoUsername, testservice::kDemoPassword}).status, 0);
        CommandRun load = run({"--service", root, "load"});
        ASSERT_EQ(load.status, 0) << load.err;
    }
    CommandRun app = run({"app"}, "tap tab 2\ntap row 1 0\nswipe left\nback\nsegment 1\ntap row 0 0\nswipe left\n");
    ASSERT_EQ(app.status, 0) << app.out << app.err;
    // The name shown before and after each swipe.
    auto shownAfter = [&](size_t from, const std::string& outlet) {
        const size_t at = app.out.find("label #" + outlet + " \"", from);
        if (at == std::string::npos) return std::string();
        const size_t start = app.out.find('"', at) + 1;
        return app.out.substr(start, app.out.find('"', start) - start);
    };
    const size_t firstSwipe = app.out.find("== swipe left ==");
    const size_t secondSwipe = app.out.find("== swipe left ==", firstSwipe + 1);
    ASSERT_NE(secondSwipe, std::string::npos) << app.out;
    const std::string participant = shownAfter(app.out.find("== tap row 1 0 =="), "participantName");
    const std::string organisation = shownAfter(app.out.find("== tap row 0 0 =="), "organizationName");
    EXPECT_FALSE(participant.empty()) << app.out;
    EXPECT_FALSE(organisation.empty()) << app.out;
    EXPECT_NE(shownAfter(firstSwipe, "participantName"), participant) << app.out.substr(firstSwipe);
    EXPECT_NE(shownAfter(secondSwipe, "organizationName"), organisation) << app.out.substr(secondSwipe);
}
