// The tests' list-shaped details scene opened by "quovana app" in-process
// with a stored participant handed over: the screen shows that participant
// under its picture header.
#include <gtest/gtest.h>

#include <string>

#include "quovana/Gallery.h"
#include "service/MeetingGenerator.h"
#include "service/MeetingService.h"
#include "support/TestDetailsWithList.h"
#include "tools/InProcessCommandTest.h"

namespace {

class DetailsWithListAppTest : public InProcessCommandTest {};

TEST_F(DetailsWithListAppTest, openWithAnObjectShowsThatParticipantUnderTheHeader) {
    std::string id;
    {
        testservice::MeetingService service(
            testservice::generateMeeting({.seed = 11, .sessions = 4, .participants = 6, .days = 1}));
        ASSERT_TRUE(service.start());
        const auto participants = service.items(testservice::MeetingKind::Participants);
        ASSERT_FALSE(participants.empty());
        id = participants.front()["id"].stringValue();
        const std::string root = service.rootURL();
        ASSERT_EQ(run({"--service", root, "login", testservice::kDemoUsername, testservice::kDemoPassword}).status, 0);
        CommandRun load = run({"--service", root, "load"});
        ASSERT_EQ(load.status, 0) << load.err;
    }
    TestDetailsWithList::registerScene(*quovana::registerGalleryStoryboard());

    CommandRun app = run({"app", "--gallery"}, std::string("open ") + TestDetailsWithList::kSceneIdentifier +
                                                   " --object QVACoreDataParticipant " + id + "\n");
    ASSERT_EQ(app.status, 0) << app.out << app.err;
    const size_t opened = app.out.rfind("TestDetailsWithListViewController");
    ASSERT_NE(opened, std::string::npos) << app.out;
    const std::string screen = app.out.substr(opened);
    EXPECT_NE(screen.find("TestDetailHeaderView"), std::string::npos) << screen;
    EXPECT_NE(screen.find("text=\"" + id + "\""), std::string::npos) << screen;
}

}  // namespace
