// The app mode's sizes that would end a run out of memory (a screen, a
// meeting) are refused as bad usage before anything starts, and a run whose
// screenshots cannot be written says so in its exit status.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "foundation/StringUtils.h"
#include "quovana/AppOptions.h"
#include "tools/InProcessCommandTest.h"

namespace {

using foundation::StringUtils::contains;

std::string problemWith(const quovana::Arguments& arguments) {
    quovana::AppOptions options;
    return quovana::parseAppOptions(arguments, true, options);
}

class AppOptionsBoundsTest : public InProcessCommandTest {};

TEST_F(AppOptionsBoundsTest, ScreensAndMeetingsBeyondTheBoundsAreBadUsage) {
    EXPECT_NE(problemWith({"--screen", "99999999x99999999@9"}), "");
    EXPECT_NE(problemWith({"--screen", "375x667@9"}), "");
    EXPECT_NE(problemWith({"--screen", "4096x300", "--shots-scale", "8"}), "");
    // The device's scale counts too: a snapshot has its pixels.
    EXPECT_NE(problemWith({"--screen", "4096x4096@8"}), "");
    EXPECT_NE(problemWith({"--screen", "4096x4096@2", "--shots-scale", "4"}), "");
    EXPECT_EQ(problemWith({"--screen", "4096x4096@2", "--shots-scale", "2"}), "");
    EXPECT_NE(problemWith({"--generate", "100000000,100000000"}), "");
    EXPECT_NE(problemWith({"--generate", "20001,10"}), "");
    EXPECT_EQ(problemWith({"--generate", "20000,99999"}), "");
    // The bounds quovana-service takes: the generator makes two people at least.
    EXPECT_NE(problemWith({"--generate", "1,1"}), "");
    EXPECT_EQ(problemWith({"--generate", "1,2"}), "");

    const std::string shots = home_.path() + "/shots";
    CommandRun screen = run({"app", "--screen", "99999999x99999999@9", "--shots", shots});
    EXPECT_EQ(screen.status, 2) << screen.err;
    EXPECT_TRUE(contains(screen.err, "--screen")) << screen.err;
    EXPECT_EQ(run({"app", "--generate", "100000000,100000000"}).status, 2);
}

TEST_F(AppOptionsBoundsTest, ValuesNothingCouldUseAndRepeatedOptionsAreBadUsage) {
    EXPECT_NE(problemWith({"--clock", "99999-01-01T00:00:00Z"}), "");
    EXPECT_EQ(problemWith({"--clock", "9999-12-31T23:59:59Z"}), "");
    EXPECT_NE(problemWith({"--fault", "get", "events", "500"}), "");
    EXPECT_NE(problemWith({"--fault", "FETCH", "events", "500"}), "");
    EXPECT_NE(problemWith({"--script", home_.path()}), "");
    const std::string twice = problemWith({"--clock", "2015-03-10T09:30:00Z", "--clock", "2016-03-10T09:30:00Z"});
    EXPECT_TRUE(contains(twice, "--clock is given twice")) << twice;
    EXPECT_EQ(problemWith({"--fault", "GET", "events", "500", "--fault", "POST", "messages", "stall", "--calendar",
                           "Work", "--calendar", "Home"}),
              "");

    CommandRun folder = run({"app", "--script", home_.path()});
    EXPECT_EQ(folder.status, 2);
    EXPECT_TRUE(contains(folder.err, "is a folder")) << folder.err;
}

TEST_F(AppOptionsBoundsTest, ARunWhoseScreenshotsCannotBeWrittenFails) {
    // A folder below a plain file cannot be made, whoever runs the test.
    const std::string file = home_.path() + "/not-a-folder";
    std::ofstream(file) << "x";
    CommandRun app = run({"--service", "http://127.0.0.1:9/api", "app", "--gallery", "--shots", file + "/shots"});
    EXPECT_EQ(app.status, 1) << app.out;
    EXPECT_TRUE(contains(app.out, "error: cannot write " + file + "/shots/001-launch.png")) << app.out;
}

}  // namespace
