// The small controls: the text field without autocorrection however it is
// made, the spacer that follows the keyboard, and the label that wraps at its
// own width.
#include <gtest/gtest.h>

#include "Utils/AutoLayoutKeyboardHelperView.h"
#include "Utils/CustomTextField.h"
#include "Utils/RWLabel.h"
#include "foundation/NotificationCenter.h"
#include "support/ScreenTest.h"
#include "uikit/NSLayoutConstraint.h"
#include "uikit/UIKeyboard.h"
#include "uikit/UIStoryboard.h"

namespace {

using graphics::Rect;

TEST(CustomTextField, AutocorrectionIsOffMadeInCodeOrFromAStoryboard) {
    CustomTextField inCode({0, 0, 200, 30});
    EXPECT_EQ(inCode.autocorrectionType(), uikit::UITextAutocorrectionType::No);
    EXPECT_EQ(inCode.className(), "CustomTextField");

    // The scene asks for autocorrection; waking up turns it off again.
    auto board = uikit::UIStoryboard::registerStoryboard("Storyboard_Fields");
    board->addScene(
        "login", [](uikit::UIStoryboard&) { return std::make_shared<uikit::UIViewController>(); },
        [](uikit::UIViewController&, uikit::SceneOutlets& outlets) {
            auto form = std::make_shared<uikit::UIView>(Rect{0, 0, 320, 100});
            auto field = outlets.connect("userTF", std::make_shared<CustomTextField>(Rect{10, 10, 300, 30}));
            field->setAutocorrectionType(uikit::UITextAutocorrectionType::Yes);
            field->setKey("userName");
            form->addSubview(field);
            return form;
        });
    auto login = board->instantiateViewControllerWithIdentifier("login");
    auto field = std::dynamic_pointer_cast<CustomTextField>(login->view()->subviews().at(0));
    uikit::UIStoryboard::unregisterStoryboard("Storyboard_Fields");
    ASSERT_NE(field, nullptr);
    EXPECT_EQ(field->autocorrectionType(), uikit::UITextAutocorrectionType::No);
    EXPECT_EQ(field->key(), "userName");
}

class KeyboardHelperTest : public ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        auto root = std::make_shared<uikit::UIViewController>();
        showRoot(root);
        screen = root->view();
        uikit::UIView::clearRecordedAnimations();
    }

    // A helper at the bottom of the screen with its height constraint.
    std::shared_ptr<AutoLayoutKeyboardHelperView> place(std::shared_ptr<AutoLayoutKeyboardHelperView> helper) {
        const auto size = screen->bounds().size;
        helper->setFrame({0, size.height, size.width, 0});
        helper->setHeightConstraint(uikit::NSLayoutConstraint::constraintWithItem(
            helper, uikit::NSLayoutAttribute::Height, uikit::NSLayoutRelation::Equal, nullptr,
            uikit::NSLayoutAttribute::NotAnAttribute, 1, 0));
        screen->addSubview(helper);
        return helper;
    }

    void post(const char* name, double keyboardHeight, double duration) {
        const auto size = window()->bounds().size;
        foundation::Value info = foundation::Value::dictionary(
            {{uikit::UIKeyboardFrameEndUserInfoKey,
              uikit::UIKeyboard::rectValue({0, size.height - keyboardHeight, size.width, keyboardHeight})},
             {uikit::UIKeyboardAnimationDurationUserInfoKey, duration}});
        foundation::NotificationCenter::defaultCenter().postNotificationName(name, {}, info);
    }

    double lastAnimationDuration() const {
        const auto& animations = uikit::UIView::recordedAnimations();
        return animations.empty() ? -1 : animations.back().duration;
    }

    uikit::UIViewPtr screen;
};

class KeyboardHelperPadTest : public KeyboardHelperTest {
protected:
    uikit::DeviceProfile deviceProfile() const override { return uikit::DeviceProfile::iPad(); }
};

TEST_F(KeyboardHelperTest, TakesTheLatestHeightLessTheTabBarAndReturnsToZeroOverTheLastDuration) {
    auto helper = place(AutoLayoutKeyboardHelperView::init());
    EXPECT_FALSE(helper->translatesAutoresizingMaskIntoConstraints());

    post(uikit::UIKeyboardWillShowNotification, 216, 0.25);
    EXPECT_EQ(helper->heightConstraint()->constant(), 167);
    EXPECT_DOUBLE_EQ(lastAnimationDuration(), 0.25);

    post(uikit::UIKeyboardWillShowNotification, 253, 0.4);
    EXPECT_EQ(helper->heightConstraint()->constant(), 204);
    // Read as a single-precision number.
    EXPECT_EQ(helper->duration(), static_cast<double>(0.4f));

    screen->updateConstraintsIfNeeded();
    post(uikit::UIKeyboardWillHideNotification, 253, 0.1);
    EXPECT_EQ(helper->heightConstraint()->constant(), 0);
    EXPECT_TRUE(screen->needsUpdateConstraints());
    EXPECT_DOUBLE_EQ(lastAnimationDuration(), static_cast<double>(0.4f));
    EXPECT_EQ(uikit::UIView::recordedAnimations().size(), 3u);
}

TEST_F(KeyboardHelperPadTest, ThePadKeepsTheWholeHeight) {
    auto helper = place(AutoLayoutKeyboardHelperView::init());
    post(uikit::UIKeyboardWillShowNotification, 216, 0.25);
    EXPECT_EQ(helper->heightConstraint()->constant(), 216);
}

TEST_F(KeyboardHelperTest, OnlyInitAndInterfaceFilesSubscribeAndADestroyedHelperHearsNothing) {
    auto plain = place(std::make_shared<AutoLayoutKeyboardHelperView>(Rect{}));
    auto fromFile = place(std::make_shared<AutoLayoutKeyboardHelperView>(Rect{}));
    fromFile->awakeFromNib();
    fromFile->awakeFromNib();  // still one subscription: one animation per notification
    auto gone = place(AutoLayoutKeyboardHelperView::init());
    gone->removeFromSuperview();
    gone.reset();

    post(uikit::UIKeyboardWillShowNotification, 216, 0.25);
    EXPECT_EQ(plain->heightConstraint()->constant(), 0);
    EXPECT_EQ(fromFile->heightConstraint()->constant(), 167);
    EXPECT_EQ(uikit::UIView::recordedAnimations().size(), 1u);
}

TEST(RWLabel, ANewWidthBecomesThePreferredWidthAndMarksTheConstraints) {
    RWLabel label({0, 0, 100, 20});
    label.setNumberOfLines(0);
    EXPECT_EQ(label.preferredMaxLayoutWidth(), 100);
    label.updateConstraintsIfNeeded();

    // Same width, other height: nothing to update.
    label.setBounds({0, 0, 100, 60});
    EXPECT_FALSE(label.needsUpdateConstraints());

    label.setBounds({0, 0, 180, 60});
    EXPECT_EQ(label.preferredMaxLayoutWidth(), 180);
    EXPECT_TRUE(label.needsUpdateConstraints());
    label.updateConstraintsIfNeeded();

    label.setFrame({20, 0, 240, 60});
    EXPECT_EQ(label.preferredMaxLayoutWidth(), 240);
    EXPECT_TRUE(label.needsUpdateConstraints());
}

}  // namespace
