// The home screen run by "quovana app" in process over the demo meeting: the
// header's texts and strip, and the near-me pin on the rows of the room of
// the beacon made current by ranging (none when the device cannot range).
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "tools/InProcessCommandTest.h"
#include "foundation/StringUtils.h"

namespace {

// The session rows of the last dump in the output, one line each.
std::vector<std::string> lastSessionRows(const std::string& out) {
    const size_t last = out.rfind("== dump ==");
    std::vector<std::string> rows;
    std::istringstream stream(last == std::string::npos ? std::string() : out.substr(last));
    for (std::string line; std::getline(stream, line);)
        if (line.find(" spotlightSessionCellID ") != std::string::npos) rows.push_back(line);
    return rows;
}

using foundation::StringUtils::contains;

class HomeScreenAppTest : public InProcessCommandTest {};

TEST_F(HomeScreenAppTest, TheDemoHomeNamesTheMeetingAndPinsTheRowsInTheCurrentBeaconsRoom) {
    ASSERT_EQ(run({"demo"}).status, 0);
    const std::string script =
        "settle\nregion-state \"kestrow center 1\" inside\nrange \"kestrow center 1\" 1:0:0.8\nscroll 520\ndump\n";

    CommandRun app = run({"app", "--clock", "2026-06-16T10:00:00+02:00"}, script);
    ASSERT_EQ(app.status, 0) << app.err;
    EXPECT_TRUE(contains(app.out, "label #meetingNameLabel \"Quovana Annual Meeting 2026\"")) << app.out;
    EXPECT_TRUE(contains(app.out, "label #meetingPeriodLabel \"15-18 June 2026\""));
    EXPECT_TRUE(contains(app.out, "label #meetingLocationLabel \"Geneva\""));
    EXPECT_TRUE(contains(app.out, "view #spotlightHeaderStrip"));
    const auto rows = lastSessionRows(app.out);
    ASSERT_FALSE(rows.empty()) << app.out;
    size_t pinned = 0;
    for (const auto& row : rows) {
        // The demo's first ground-floor room of the primary venue is "Room A1".
        const bool inRoom = contains(row, "locationLabel=\"Room A1, Congress Centre\"");
        EXPECT_EQ(contains(row, "pinImageWidthConstraint=15 "), inRoom) << row;
        EXPECT_EQ(contains(row, "pinImageToContentHSConstraint=5 "), inRoom) << row;
        pinned += inRoom ? 1 : 0;
    }
    EXPECT_GT(pinned, 0u) << app.out;

    CommandRun noRanging = run({"app", "--clock", "2026-06-16T10:00:00+02:00", "--ranging", "off"}, "settle\nscroll 520\ndump\n");
    ASSERT_EQ(noRanging.status, 0) << noRanging.err;
    const auto plain = lastSessionRows(noRanging.out);
    ASSERT_FALSE(plain.empty());
    for (const auto& row : plain) EXPECT_TRUE(contains(row, "pinImageWidthConstraint=0 ")) << row;
}

}  // namespace
