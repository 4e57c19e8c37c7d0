// "load" is done only with the meeting's floor plans: a plan the service
// would not give makes it say so, in its closing line too, and fail,
// however complete the content.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "foundation/StringUtils.h"
#include "quovana/Cli.h"
#include "service/MeetingGenerator.h"
#include "service/MeetingService.h"
#include "support/TemporaryDirectory.h"
#include "tools/InProcessCommandState.h"

TEST(LoadCommandFloorPlans, AFailedPlanFailsTheLoadUntilItArrives) {
    InProcessCommandState state;
    state.enter();
    TemporaryDirectory home;
    testservice::MeetingService service(testservice::generateMeeting({.seed = 21, .sessions = 20, .participants = 60, .days = 1}));
    ASSERT_TRUE(service.start());
    std::string plan;
    for (const auto& [path, file] : service.snapshot().files)
        if (plan.empty() && path.rfind("/files/maps/", 0) == 0) plan = path;
    service.injectFault("GET", plan, {.status = 401, .body = R"({"error":"Invalid access token"})"});
    std::ostringstream out, err;
    auto run = [&](std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), {"--service", service.rootURL(), "--home", home.path()});
        out.str("");
        err.str("");
        return quovana::runCli(arguments, out, err);
    };
    EXPECT_EQ(run({"login", testservice::kDemoUsername, testservice::kDemoPassword}), 0);

    EXPECT_EQ(run({"load"}), 1) << out.str() << err.str();
    EXPECT_TRUE(foundation::StringUtils::contains(
        err.str(), "the floor plans are incomplete: Unable to download all Interactive Maps Files!"))
        << err.str();
    // The closing line says so too.
    EXPECT_TRUE(foundation::StringUtils::contains(out.str(), "): incomplete, the floor plans are not all there"))
        << out.str();

    service.clearFaults();
    EXPECT_EQ(run({"load"}), 0) << out.str() << err.str();
    EXPECT_FALSE(foundation::StringUtils::contains(err.str(), "floor plans are incomplete")) << err.str();
    service.stop();
    state.leave();
}
