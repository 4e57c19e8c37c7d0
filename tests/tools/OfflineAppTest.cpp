// The app mode's device without a network: the app knows it is offline and
// its requests fail as they would on a phone with none, the local service's
// included, until the network comes back.
#include <gtest/gtest.h>

#include <string>

#include "foundation/StringUtils.h"
#include "tools/InProcessCommandTest.h"

namespace {

using foundation::StringUtils::contains;

constexpr const char* kSecondDay = "2026-06-16T10:00:00+02:00";

class OfflineAppTest : public InProcessCommandTest {};

// The dump printed after the command headed "== command ==" (its first one).
std::string stateAfter(const std::string& out, const std::string& command, size_t from = 0) {
    const std::string heading = "== " + command + " ==\n";
    auto start = out.find(heading, from);
    if (start == std::string::npos) return {};
    start += heading.size();
    auto end = out.find("\n== ", start);
    return out.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

TEST_F(OfflineAppTest, ASessionOpenedOfflineFetchesNoLiveStatusAndOffersNoAdding) {
    CommandRun login = run({"app", "--clock", kSecondDay, "--generate", "12,30"},
                           "type Username demo\ntype Password quovana-demo\ntap row 1 0\nadvance 11\n");
    ASSERT_EQ(login.status, 0) << login.out << login.err;

    CommandRun offline = run({"app", "--clock", kSecondDay, "--reachability", "none"},
                             "tap tab 1\ntap row 0 0\nreachability wifi\nback\ntap row 0 0\n");
    ASSERT_EQ(offline.status, 0) << offline.out << offline.err;
    const std::string opened = stateAfter(offline.out, "tap row 0 0");
    EXPECT_TRUE(contains(opened, "Session status cannot be determined without an Internet connection")) << opened;
    EXPECT_FALSE(contains(opened, "Seats available")) << opened;
    EXPECT_FALSE(contains(opened, "add_to_agenda")) << opened;
    // Online again, the same session's status comes from the service.
    const std::string online = stateAfter(offline.out, "tap row 0 0", offline.out.find("== back =="));
    EXPECT_TRUE(contains(online, "Seats available")) << online;
}

}  // namespace
