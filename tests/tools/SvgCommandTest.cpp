// The floor-plan command: floors named with --floor or --floors, a room
// title escaped twice shown with its ampersand, and pictures kept within
// the size limit.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "SvgCommand.h"
#include "foundation/FileManager.h"
#include "graphics/Bitmap.h"
#include "support/TemporaryDirectory.h"
#include "foundation/StringUtils.h"

namespace {

struct SvgCommandRun {
    int status = -1;
    std::string out;
};

SvgCommandRun svgCommand(const std::vector<std::string>& arguments) {
    ::testing::internal::CaptureStdout();
    SvgCommandRun run;
    run.status = tools::runSvgCommand(arguments);
    run.out = ::testing::internal::GetCapturedStdout();
    return run;
}

using foundation::StringUtils::contains;

TEST(SvgCommandTest, FloorsAreNamedAndTitlesShowTheirAmpersand) {
    TemporaryDirectory folder;
    std::string first = folder.path() + "/ground.svg", second = folder.path() + "/upper.svg";
    std::ofstream(first) << R"(<svg xmlns="http://www.w3.org/2000/svg" width="100" height="100">
<rect id="R1" width="10" height="10" isSelectable="true" type="room" title="Tea &amp;#38; Coffee"/></svg>)";
    std::ofstream(second) << R"(<svg xmlns="http://www.w3.org/2000/svg" width="100" height="100">
<rect id="R2" width="10" height="10" isSelectable="true" type="room" title="R &amp; D"/></svg>)";

    SvgCommandRun named = svgCommand({first, "--floor", "G", second, "--floor", "U1"});
    EXPECT_EQ(named.status, 0);
    EXPECT_TRUE(contains(named.out, "R1 type=room room=- title=Tea & Coffee floor=G")) << named.out;
    EXPECT_TRUE(contains(named.out, "R2 type=room room=- title=R & D floor=U1")) << named.out;
    EXPECT_TRUE(contains(named.out, "floor U1: " + second));

    SvgCommandRun listed = svgCommand({"--floors", "G,U1", first, second});
    EXPECT_EQ(listed.status, 0);
    EXPECT_TRUE(contains(listed.out, "floor U1: " + second));
    // One name, two files: the second is numbered.
    EXPECT_TRUE(contains(svgCommand({"--floor", "G", first, second}).out, "floor 2: " + second));
    EXPECT_EQ(svgCommand({first, "--floor", "G", "--floor", "U1", "--floor", "U2"}).status, 2);
    EXPECT_EQ(svgCommand({first, "--floor"}).status, 2);
    // A point no plan has, and an option that applies once given twice.
    EXPECT_EQ(svgCommand({first, "--hit", "1e999,1e999"}).status, 2);
    EXPECT_EQ(svgCommand({first, "--hit", "1,1", "--hit", "2,2"}).status, 2);
}

TEST(SvgCommandTest, PicturesStayWithinTheSizeLimit) {
    TemporaryDirectory folder;
    std::string plan = folder.path() + "/wide.svg", png = folder.path() + "/wide.png";
    std::ofstream(plan) << R"(<svg xmlns="http://www.w3.org/2000/svg" width="40000" height="200" viewBox="0 0 400 2">
<rect width="400" height="2" fill="#ff0000"/></svg>)";
    SvgCommandRun run = svgCommand({plan, "--png", png});
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(contains(run.out, "scaling 40000x200 down to 16384x81")) << run.out;
    auto bytes = foundation::FileManager::defaultManager().contentsAtPath(png);
    ASSERT_TRUE(bytes);
    auto bitmap = graphics::Bitmap::fromPNGData(*bytes);
    ASSERT_TRUE(bitmap);
    EXPECT_EQ(bitmap->width(), 16384);
    EXPECT_EQ(bitmap->height(), 81);

    // Sizes that are not numbers count as unset: the picture takes the size
    // of the plan's layers instead, and stays finite and small.
    std::ofstream(plan) << R"(<svg xmlns="http://www.w3.org/2000/svg" width="nan" height="-3"><rect/></svg>)";
    SvgCommandRun unsized = svgCommand({plan, "--png", png});
    EXPECT_EQ(unsized.status, 0);
    EXPECT_TRUE(contains(unsized.out, "wrote " + png + " (1x1)")) << unsized.out;
}

}  // namespace
