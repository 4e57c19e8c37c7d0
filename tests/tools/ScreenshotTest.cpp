// "quovana app" with screenshots, in-process through runCli: one PNG per
// printed state named after its command, the on-demand shot, and the scale.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "api/QVAApiManager.h"
#include "foundation/ApplicationHome.h"
#include "foundation/FileManager.h"
#include "graphics/Bitmap.h"
#include "quovana/Cli.h"
#include "support/TemporaryDirectory.h"

namespace {

constexpr const char* kScreenshotScript = "tap row 1 0\nback\ntap item Alert\nalert OK\nalert OK\n";

std::shared_ptr<graphics::Bitmap> readPNG(const std::string& path) {
    auto data = foundation::FileManager::defaultManager().contentsAtPath(path);
    if (!data) return nullptr;
    return graphics::Bitmap::fromPNGData(*data);
}

int brightness(const graphics::Pixel& p) { return (p.red + p.green + p.blue) / 3; }

class ScreenshotTest : public ::testing::Test {
protected:
    void SetUp() override { previousHome_ = foundation::ApplicationHome::root(); }
    void TearDown() override {
        QVAApiManager::setServiceRoot(std::nullopt);
        foundation::ApplicationHome::setRoot(previousHome_);
    }

    // The gallery on the test's home; the service is never called.
    int run(const std::vector<std::string>& options, const std::string& script, std::string& out) {
        std::vector<std::string> arguments = {"--home", home_.path(), "--service", "http://127.0.0.1:9/api", "app",
                                              "--gallery", "--clock", "2015-03-10T09:30:00+01:00"};
        arguments.insert(arguments.end(), options.begin(), options.end());
        std::istringstream in(script);
        std::ostringstream output, errors;
        int status = quovana::runCli(arguments, in, output, errors);
        out = output.str();
        return status;
    }

    TemporaryDirectory home_;
    TemporaryDirectory shots_;
    std::string previousHome_;
};

TEST_F(ScreenshotTest, EveryPrintedStateIsWrittenAndNamedAfterItsDump) {
    std::string out;
    EXPECT_EQ(run({"--shots", shots_.path()}, kScreenshotScript, out), 1) << out;
    const std::vector<std::string> names = {"001-launch.png", "002-tap.png",   "003-back.png",
                                            "004-tap.png",    "005-alert.png", "006-alert.png"};
    size_t searchFrom = 0;
    for (const auto& name : names) {
        EXPECT_TRUE(std::filesystem::exists(shots_ / name)) << name;
        // Printed after its own dump, in order.
        size_t printed = out.find("shot " + name + "\n", searchFrom);
        ASSERT_NE(printed, std::string::npos) << name << "\n" << out;
        EXPECT_LT(out.rfind("window root=", printed), printed);
        EXPECT_GT(out.rfind("window root=", printed), searchFrom);
        searchFrom = printed;
    }
    size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(shots_.path())) files += entry.is_regular_file();
    EXPECT_EQ(files, names.size());

    // The alert over the dimmed root: the same root (003), darkened around a
    // white box in the middle.
    auto root = readPNG(shots_ / "003-back.png");
    auto alert = readPNG(shots_ / "004-tap.png");
    ASSERT_TRUE(root && alert);
    ASSERT_EQ(alert->width(), 375);
    ASSERT_EQ(alert->height(), 667);
    EXPECT_LT(brightness(alert->pixel(10, 500)), brightness(root->pixel(10, 500)) * 7 / 10 + 2);
    EXPECT_EQ(alert->pixel(187, 333), (graphics::Pixel{255, 255, 255, 255}));
    EXPECT_EQ(*readPNG(shots_ / "005-alert.png"), *root);
}

TEST_F(ScreenshotTest, ShotWritesOnDemandAndTheScaleSetsThePixels) {
    std::string out;
    EXPECT_EQ(run({"--shots", shots_.path(), "--shots-scale", "2"}, "shot gallery\n", out), 0) << out;
    auto launch = readPNG(shots_ / "001-launch.png");
    ASSERT_NE(launch, nullptr) << out;
    EXPECT_EQ(launch->width(), 750);
    EXPECT_EQ(launch->height(), 1334);
    auto gallery = readPNG(shots_ / "gallery.png");
    ASSERT_NE(gallery, nullptr) << out;
    EXPECT_EQ(*gallery, *launch);
    EXPECT_NE(out.find("shot gallery.png\n"), std::string::npos) << out;
}

}  // namespace
