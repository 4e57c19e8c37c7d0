// Text fields and text views: the keyboard they bring up and send away, and
// typing that goes through their delegates.
#include <gtest/gtest.h>

#include <cmath>

#include "foundation/NotificationCenter.h"
#include "uikit/DeviceProfile.h"
#include "uikit/UIApplication.h"
#include "uikit/UIKeyboard.h"
#include "uikit/UITextField.h"
#include "uikit/UITextView.h"
#include "uikit/UIWindow.h"

namespace {

using namespace uikit;

struct KeyboardEvent {
    std::string name;
    graphics::Rect frame;
    double duration;
};

class TextInput : public ::testing::Test {
protected:
    void SetUp() override {
        DeviceProfile::apply(DeviceProfile::iPhone6());
        auto& center = foundation::NotificationCenter::defaultCenter();
        for (const char* name : {UIKeyboardWillShowNotification, UIKeyboardWillHideNotification}) {
            center.addObserver(
                this,
                [this](const foundation::Notification& n) {
                    events.push_back({n.name, UIKeyboard::rectFromUserInfo(n.userInfo, UIKeyboardFrameEndUserInfoKey),
                                      n.userInfo[UIKeyboardAnimationDurationUserInfoKey].doubleValue()});
                },
                name);
        }
        window = UIApplication::sharedApplication().keyWindow();
    }
    void TearDown() override {
        foundation::NotificationCenter::defaultCenter().removeObserver(this);
        UIApplication::sharedApplication().resetForTests();
    }
    std::vector<KeyboardEvent> events;
    UIWindowPtr window;
};

struct FieldDelegate : UITextFieldDelegate {
    bool mayBegin = true;
    bool mayReturn = true;
    std::vector<std::string> calls;
    bool textFieldShouldBeginEditing(UITextField&) override { return mayBegin; }
    void textFieldDidBeginEditing(UITextField&) override { calls.push_back("begin"); }
    void textFieldDidEndEditing(UITextField&) override { calls.push_back("end"); }
    bool textFieldShouldChangeCharactersInRange(UITextField& field, NSRange range, const std::string& s) override {
        calls.push_back("change " + std::to_string(range.location) + "+" + std::to_string(range.length) + " '" + s + "'");
        (void)field;
        return s.find_first_of("0123456789") == std::string::npos;
    }
    bool textFieldShouldReturn(UITextField&) override {
        calls.push_back("return");
        return mayReturn;
    }
};

TEST_F(TextInput, AFieldTakingTheKeyboardPostsItsFrameAndLettingGoHidesIt) {
    auto field = std::make_shared<UITextField>(graphics::Rect{{20, 100}, {200, 30}});
    window->addSubview(field);
    auto delegate = std::make_shared<FieldDelegate>();
    field->setDelegate(delegate);
    std::vector<std::string> editing;
    field->addTarget([&](UIControl&) { editing.push_back("did begin"); }, UIControlEventEditingDidBegin);
    field->addTarget([&](UIControl&) { editing.push_back("changed"); }, UIControlEventEditingChanged);
    field->addTarget([&](UIControl&) { editing.push_back("did end"); }, UIControlEventEditingDidEnd);

    ASSERT_TRUE(field->becomeFirstResponder());
    EXPECT_TRUE(field->isFirstResponder());
    EXPECT_TRUE(field->isEditing());
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].name, UIKeyboardWillShowNotification);
    EXPECT_EQ(events[0].frame, (graphics::Rect{{0, 451}, {375, 216}}));
    EXPECT_DOUBLE_EQ(events[0].duration, 0.25);
    EXPECT_EQ(UIKeyboard::shownFrame(), events[0].frame);

    EXPECT_TRUE(window->endEditing(true));
    EXPECT_FALSE(field->isFirstResponder());
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[1].name, UIKeyboardWillHideNotification);
    EXPECT_EQ(events[1].frame, events[0].frame);
    EXPECT_EQ(UIKeyboard::shownFrame(), std::nullopt);
    EXPECT_EQ(delegate->calls, (std::vector<std::string>{"begin", "end"}));
    EXPECT_EQ(editing, (std::vector<std::string>{"did begin", "did end"}));

    // A delegate that does not let editing begin keeps the keyboard away.
    delegate->mayBegin = false;
    EXPECT_FALSE(field->becomeFirstResponder());
    EXPECT_FALSE(field->typeText("x"));
    EXPECT_EQ(events.size(), 2u);
    // So does a disabled field.
    delegate->mayBegin = true;
    field->setEnabled(false);
    EXPECT_FALSE(field->becomeFirstResponder());
}

TEST_F(TextInput, TypingGoesCharacterByCharacterThroughTheDelegate) {
    auto field = std::make_shared<UITextField>();
    auto delegate = std::make_shared<FieldDelegate>();
    field->setDelegate(delegate);
    int changed = 0;
    field->addTarget([&](UIControl&) { ++changed; }, UIControlEventEditingChanged);
    field->setText("é");
    EXPECT_TRUE(field->typeText("a1b"));
    EXPECT_EQ(field->text(), "éab");
    EXPECT_EQ(changed, 2);
    EXPECT_EQ(delegate->calls, (std::vector<std::string>{"begin", "change 1+0 'a'", "change 2+0 '1'", "change 2+0 'b'"}));
    EXPECT_TRUE(field->deleteBackward());
    EXPECT_EQ(field->text(), "éa");
    EXPECT_FALSE(field->replaceCharactersInRange({1, 5}, "x"));  // past the end
    EXPECT_TRUE(field->pressReturn());
    delegate->mayReturn = false;
    EXPECT_FALSE(field->pressReturn());

    field->setSecureTextEntry(true);
    EXPECT_EQ(field->displayText(), "\xE2\x80\xA2\xE2\x80\xA2");
    field->setText("");
    field->setPlaceholder("Password");
    EXPECT_EQ(field->displayText(), "Password");
    field->setAttributedPlaceholder(NSAttributedString::make(
        "Search", {UIFont::fontWithName("HelveticaNeue-Light", 14), graphics::Color::rgb(64 / 255.0, 158 / 255.0, 210 / 255.0),
                   std::nullopt, std::nullopt}));
    EXPECT_EQ(field->placeholder(), "Search");
}

struct ViewDelegate : UITextViewDelegate {
    std::vector<std::string> calls;
    void textViewDidBeginEditing(UITextView&) override { calls.push_back("begin"); }
    void textViewDidEndEditing(UITextView&) override { calls.push_back("end"); }
    bool textViewShouldChangeTextInRange(UITextView&, NSRange, const std::string& s) override { return s != "\n"; }
    void textViewDidChange(UITextView& view) override { calls.push_back("change " + view.text()); }
};

TEST_F(TextInput, TextViewsEditAndMeasure) {
    auto view = std::make_shared<UITextView>(graphics::Rect{{0, 0}, {200, 100}});
    auto delegate = std::make_shared<ViewDelegate>();
    view->setDelegate(delegate);
    EXPECT_TRUE(view->typeText("a\nb"));
    EXPECT_EQ(view->text(), "ab");
    EXPECT_EQ(events.size(), 1u);
    view->setEditable(false);  // stops editing at once
    EXPECT_FALSE(view->isFirstResponder());
    EXPECT_EQ(delegate->calls, (std::vector<std::string>{"begin", "change a", "change ab", "end"}));
    EXPECT_FALSE(view->becomeFirstResponder());
    EXPECT_EQ(events.size(), 2u);

    view->setDataDetectorTypes(UIDataDetectorTypeLink);
    view->setScrollEnabled(false);
    EXPECT_EQ(view->dataDetectorTypes(), UIDataDetectorTypeLink);
    EXPECT_FALSE(view->isScrollEnabled());
    view->setFont(UIFont::fontWithName("Helvetica", 14));
    view->setText("A note");
    auto one = view->sizeThatFits({200, 0});
    view->setText("A note that runs on well past the width of the view, over a few lines of text");
    auto more = view->sizeThatFits({200, 0});
    EXPECT_DOUBLE_EQ(one.width, 200);
    EXPECT_DOUBLE_EQ(one.height, std::ceil(view->font()->lineHeight() + 16));
    EXPECT_GT(more.height, one.height);
}

TEST_F(TextInput, ATextViewsCursorStaysWhereSetUntilTheTextChanges) {
    UITextView view(graphics::Rect{{0, 0}, {200, 100}});
    view.setText("Dear Ann");
    EXPECT_EQ(view.selectedRange(), (uikit::NSRange{8, 0}));
    view.setSelectedRange({0, 0});
    EXPECT_EQ(view.selectedRange(), (uikit::NSRange{0, 0}));
    view.setSelectedRange({5, 10});  // held within the text
    EXPECT_EQ(view.selectedRange(), (uikit::NSRange{5, 3}));
    view.setText("Hi");
    EXPECT_EQ(view.selectedRange(), (uikit::NSRange{2, 0}));
}

TEST_F(TextInput, EachWillNotificationIsFollowedByItsDidTwinWithTheSameUserInfo) {
    std::vector<std::pair<std::string, graphics::Rect>> did;
    auto& center = foundation::NotificationCenter::defaultCenter();
    for (const char* name : {UIKeyboardDidShowNotification, UIKeyboardDidHideNotification})
        center.addObserver(
            &did,
            [&](const foundation::Notification& n) {
                did.push_back({n.name, UIKeyboard::rectFromUserInfo(n.userInfo, UIKeyboardFrameEndUserInfoKey)});
            },
            name);
    auto view = std::make_shared<UITextView>(graphics::Rect{{20, 100}, {200, 80}});
    window->addSubview(view);
    ASSERT_TRUE(view->becomeFirstResponder());
    window->endEditing(true);
    center.removeObserver(&did);
    ASSERT_EQ(did.size(), 2u);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(did[0].first, UIKeyboardDidShowNotification);
    EXPECT_EQ(did[0].second, events[0].frame);
    EXPECT_EQ(did[1].first, UIKeyboardDidHideNotification);
}

}  // namespace
