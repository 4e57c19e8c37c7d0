// The stand-ins of the indoor and outdoor maps: what the navigate operations
// record, and the push of type 0 on the source's navigation controller.
#include <gtest/gtest.h>

#include "app/AppStoryboards.h"
#include "maps/InteractiveMapsDetailsViewController.h"
#include "maps/OutsideMapsViewController.h"
#include "support/ScreenTest.h"
#include "uikit/UINavigationController.h"

namespace {

class Source : public uikit::UIViewController {
public:
    std::string className() const override { return "SourceScreen"; }
};

class MapStubScreensTest : public ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        AppStoryboards::registerStoryboards();
        InteractiveMapsDetailsViewController::resetRecordedNavigations();
        OutsideMapsViewController::resetRecordedNavigations();
        navigation = uikit::UINavigationController::withRootViewController(source);
        showRoot(navigation);
    }

    std::shared_ptr<Source> source = std::make_shared<Source>();
    std::shared_ptr<uikit::UINavigationController> navigation;
};

TEST_F(MapStubScreensTest, TheIndoorMapRecordsItsArgumentsAndIsPushed) {
    InteractiveMapsDetailsViewController::navigateFromController(source, 0, std::nullopt, false, true);
    settle();
    const auto& calls = InteractiveMapsDetailsViewController::recordedNavigations();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].sourceClassName, "SourceScreen");
    EXPECT_FALSE(calls[0].locationId);
    EXPECT_FALSE(calls[0].shouldWaitUntilPositionIsGot);
    EXPECT_TRUE(calls[0].hasPositionGotWhenComesFromSpotlight);

    auto shown = std::dynamic_pointer_cast<InteractiveMapsDetailsViewController>(navigation->topViewController());
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->lastRecordedCall(),
              "navigateFromController: SourceScreen withNavType: 0 forLocationId: nil "
              "shouldWaitUntilPositionIsGot: NO hasPositionGotWhenComesFromSpotlight: YES");
    const std::string dump = uikit::describe(*uikit::UIApplication::sharedApplication().keyWindow());
    EXPECT_NE(dump.find("stub=\"InteractiveMapsDetailsViewController\""), std::string::npos) << dump;
    EXPECT_NE(dump.find("hasPositionGotWhenComesFromSpotlight: YES"), std::string::npos);
}

TEST_F(MapStubScreensTest, TheOutdoorMapRecordsItsArgumentsAndOtherKindsPushNothing) {
    OutsideMapsViewController::navigateFromController(source, 1, std::string("Hall"));
    settle();
    EXPECT_EQ(navigation->topViewController(), source);

    OutsideMapsViewController::navigateFromController(source, 0, std::nullopt);
    settle();
    const auto& calls = OutsideMapsViewController::recordedNavigations();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].navType, 1);
    EXPECT_EQ(calls[0].preselectedBuildingName, "Hall");
    auto shown = std::dynamic_pointer_cast<OutsideMapsViewController>(navigation->topViewController());
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->lastRecordedCall(),
              "navigateFromController: SourceScreen withNavType: 0 forPreselectedBuildingName: nil");
    EXPECT_TRUE(InteractiveMapsDetailsViewController::recordedNavigations().empty());
}

}  // namespace
