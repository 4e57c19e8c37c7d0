// Test fixture for screens: a reset application on a device profile (a phone
// of 375×667 points at scale 2 unless the test overrides deviceProfile()), the
// virtual clock, and the screen driver's actions by name, each followed by
// settling, as the app mode does after each command. For the test binaries
// that link the UIKit stand-in.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "foundation/Clock.h"
#include "foundation/RunLoop.h"
#include "support/ScreenEnvironment.h"
#include "uikit/AlertStack.h"
#include "uikit/DeviceProfile.h"
#include "uikit/ScreenDescription.h"
#include "uikit/ScreenDriver.h"
#include "uikit/UIApplication.h"
#include "uikit/UIViewController.h"
#include "uikit/UIWindow.h"

class ScreenTest : public ::testing::Test {
protected:
    static constexpr double kStartInstant = ScreenEnvironment::kStartInstant;

    virtual uikit::DeviceProfile deviceProfile() const { return uikit::DeviceProfile::iPhone6(); }

    void SetUp() override {
        environment_.enter(deviceProfile());
    }

    void TearDown() override {
        uikit::ScreenDriver::clearBusyPredicates();
        uikit::ScreenDriver::setObjectHandOver({});
        if (window_) window_->setRootViewController(nullptr);
        window_.reset();
        environment_.leave();
    }

    // A key window of the screen's size with the root, settled.
    const std::shared_ptr<uikit::UIWindow>& showRoot(const uikit::UIViewControllerPtr& root) {
        window_ = std::make_shared<uikit::UIWindow>();
        window_->setRootViewController(root);
        window_->makeKeyAndVisible();
        settle();
        return window_;
    }

    uikit::ScreenDriver& driver() { return driver_; }
    std::shared_ptr<uikit::UIWindow> window() const { return driver_.window(); }
    uikit::UIViewControllerPtr front() const { return driver_.frontViewController(); }

    bool settle() { return driver_.settle(); }
    // Moves the virtual clock, running what falls due, then settles.
    void advance(double seconds) {
        foundation::Clock::advance(seconds);
        settle();
    }
    std::string dump() const {
        auto win = driver_.window();
        return win ? uikit::describe(*win) : std::string();
    }

    bool open(const std::string& identifier, const std::vector<std::string>& storyboards,
              const std::optional<std::pair<std::string, std::string>>& object = std::nullopt) {
        return settled(driver_.openScene(identifier, storyboards, object) == uikit::ScreenDriver::OpenResult::Opened);
    }
    bool tapRow(int64_t section, int64_t row) { return settled(driver_.tapRow(section, row)); }
    bool tapButton(const std::string& title) { return settled(driver_.tapButton(title)); }
    bool tapItem(const std::string& titleOrImage) { return settled(driver_.tapItem(titleOrImage)); }
    bool tapTab(int64_t index) { return settled(driver_.tapTab(index)); }
    bool tapAt(double x, double y) { return settled(driver_.tapAt({x, y})); }
    bool alert(const std::string& titleOrIndex) { return settled(driver_.answerAlert(titleOrIndex)); }
    bool link(const std::string& url) { return settled(driver_.clickLink(url)); }
    bool type(const std::string& field, const std::string& text) { return settled(driver_.typeText(field, text)); }
    bool clear(const std::string& field) { return settled(driver_.clearField(field)); }
    bool pressReturn(const std::string& field) { return settled(driver_.pressReturn(field)); }
    bool setSwitch(int64_t section, int64_t row, bool on) { return settled(driver_.setSwitch(section, row, on)); }
    bool pick(int64_t row) { return settled(driver_.pickRow(row)); }
    bool swipe(uikit::ScreenDriver::SwipeDirection direction,
               std::optional<graphics::Point> point = std::nullopt) {
        return settled(driver_.swipe(direction, point));
    }
    bool pull() { return settled(driver_.pull()); }
    bool scroll(double y, std::optional<double> x = std::nullopt,
                const std::optional<std::string>& outlet = std::nullopt) {
        return settled(driver_.scroll(x, y, outlet));
    }
    bool back() { return settled(driver_.back()); }
    bool rotate(uikit::UIDeviceOrientation orientation) { return settled(driver_.rotate(orientation)); }
    bool search(const std::string& text) { return settled(driver_.search(text)); }
    bool scope(int64_t index) { return settled(driver_.scope(index)); }
    bool endSearch() { return settled(driver_.endSearch()); }
    bool tapSearchRow(int64_t section, int64_t row) { return settled(driver_.tapSearchResultRow(section, row)); }

private:
    bool settled(bool found) {
        settle();
        return found;
    }

    ScreenEnvironment environment_;
    uikit::ScreenDriver driver_;
    std::shared_ptr<uikit::UIWindow> window_;
};
