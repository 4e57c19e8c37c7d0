// Nibs: top-level objects made fresh on each load, outlets set on the owner,
// awakeFromNib for what the file made (subviews first) but not for the owner,
// and an unknown name raising with the name in the reason.
#include <gtest/gtest.h>

#include "foundation/Exception.h"
#include "uikit/UINib.h"
#include "uikit/UIView.h"
#include "uikit/UIViewController.h"

namespace {

std::vector<std::string> awoken;

struct PageView : uikit::UIView {
    explicit PageView(std::string name) : name(std::move(name)) {}
    std::string name;
    void awakeFromNib() override { awoken.push_back(name); }
};

struct TutorialScreen : uikit::UIViewController {
    std::shared_ptr<PageView> pageOutlet;
    void awakeFromNib() override { awoken.push_back("owner"); }
};

class UINibTest : public ::testing::Test {
protected:
    void SetUp() override {
        awoken.clear();
        uikit::UINib::registerNib("TutorialPage_iPhone", [](const foundation::ObjectPtr& owner) {
            auto first = std::make_shared<PageView>("without picture");
            auto second = std::make_shared<PageView>("with picture");
            second->addSubview(std::make_shared<PageView>("picture"));
            if (auto screen = std::dynamic_pointer_cast<TutorialScreen>(owner)) screen->pageOutlet = second;
            return std::vector<foundation::ObjectPtr>{first, second};
        });
    }
    void TearDown() override { uikit::UINib::unregisterNib("TutorialPage_iPhone"); }
};

TEST_F(UINibTest, LoadsFreshTopLevelObjectsSetsOutletsAndAwakesWhatItMade) {
    auto owner = std::make_shared<TutorialScreen>();
    const auto objects = uikit::UINib::loadNibNamed("TutorialPage_iPhone", owner);
    ASSERT_EQ(objects.size(), 2u);
    EXPECT_EQ(std::dynamic_pointer_cast<PageView>(objects[1])->name, "with picture");
    EXPECT_EQ(owner->pageOutlet, objects[1]);
    EXPECT_EQ(awoken, (std::vector<std::string>{"without picture", "picture", "with picture"}));
    EXPECT_FALSE(owner->isMadeFromInterfaceFile());

    const auto again = uikit::UINib::nibWithNibName("TutorialPage_iPhone")->instantiateWithOwner(nullptr);
    EXPECT_NE(again[0], objects[0]);
    EXPECT_TRUE(uikit::UINib::hasNibNamed("TutorialPage_iPhone"));
    EXPECT_FALSE(uikit::UINib::hasNibNamed("TutorialPage"));
}

TEST_F(UINibTest, ControllersInAFileAreInterfaceMadeAndAnUnknownNameRaisesNamingIt) {
    uikit::UINib::registerNib("Screen", [](const foundation::ObjectPtr&) {
        return std::vector<foundation::ObjectPtr>{std::make_shared<TutorialScreen>()};
    });
    const auto objects = uikit::UINib::loadNibNamed("Screen", nullptr);
    auto screen = std::dynamic_pointer_cast<TutorialScreen>(objects.at(0));
    ASSERT_TRUE(screen);
    EXPECT_TRUE(screen->isMadeFromInterfaceFile());
    EXPECT_EQ(awoken, std::vector<std::string>{"owner"});
    uikit::UINib::unregisterNib("Screen");

    try {
        uikit::UINib::nibWithNibName("TutorialPage");
        FAIL() << "no exception";
    } catch (const foundation::Exception& e) {
        EXPECT_NE(e.reason().find("'TutorialPage'"), std::string::npos);
    }
}

}  // namespace
