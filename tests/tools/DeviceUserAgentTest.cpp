// The device every request names in its "User-Agent": the one the app runs
// as (the phone of the commands, the app mode's device as its options make
// it), never the machine the tools run on.
#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "quovana/Cli.h"
#include "service/MeetingGenerator.h"
#include "service/MeetingService.h"
#include "service/TestServer.h"
#include "support/TemporaryDirectory.h"
#include "tools/InProcessCommandState.h"
#include "uikit/ScreenDriver.h"

namespace {

constexpr const char* kLoginScript = "type Username demo\ntype Password quovana-demo\ntap row 1 0\n";

struct UserAgentCase {
    const char* what;
    std::vector<std::string> command;
    const char* script;
    const char* device;
};

TEST(DeviceUserAgentTest, EveryRequestNamesTheDeviceTheAppRunsAs) {
    testservice::MeetingService service(
        testservice::generateMeeting({.seed = 5, .sessions = 6, .participants = 12, .days = 1}));
    ASSERT_TRUE(service.start());
    const UserAgentCase cases[] = {
        {"a command", {"login", testservice::kDemoUsername, testservice::kDemoPassword}, "", "(iPhone; iOS 9.3; Scale/2.00)"},
        {"the app mode", {"app", "--clock", "2026-06-16T10:00:00+02:00"}, kLoginScript, "(iPhone; iOS 9.3; Scale/2.00)"},
        {"the pad", {"app", "--idiom", "pad", "--system-version", "10.3"}, kLoginScript, "(iPad; iOS 10.3; Scale/2.00)"},
        {"a larger phone", {"app", "--screen", "414x736@3"}, kLoginScript, "(iPhone; iOS 9.3; Scale/3.00)"},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.what);
        InProcessCommandState state;
        state.enter();
        TemporaryDirectory home;
        std::vector<std::string> arguments = {"--service", service.rootURL(), "--home", home.path()};
        arguments.insert(arguments.end(), row.command.begin(), row.command.end());
        std::istringstream in(row.script);
        std::ostringstream out, err;
        service.clearRequestLog();
        const int status = quovana::runCli(arguments, in, out, err);
        uikit::ScreenDriver::setObjectHandOver({});
        state.leave();
        EXPECT_EQ(status, 0) << out.str() << err.str();

        const auto requests = service.server().requests();
        ASSERT_FALSE(requests.empty());
        for (const auto& request : requests)
            EXPECT_EQ(request.header("User-Agent"), std::string("Quovana/3.4 ") + row.device) << request.path;
    }
}

}  // namespace
