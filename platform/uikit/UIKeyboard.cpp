// The keyboard's notifications and the frame they announce.
#include "uikit/UIKeyboard.h"

#include <cstdio>

#include "foundation/MainThreadChecker.h"
#include "foundation/NotificationCenter.h"
#include "uikit/UIApplication.h"
#include "uikit/UIDevice.h"
#include "uikit/UIScreen.h"

namespace uikit {

const char* const UIKeyboardWillShowNotification = "UIKeyboardWillShowNotification";
const char* const UIKeyboardWillHideNotification = "UIKeyboardWillHideNotification";
const char* const UIKeyboardDidShowNotification = "UIKeyboardDidShowNotification";
const char* const UIKeyboardDidHideNotification = "UIKeyboardDidHideNotification";
const char* const UIKeyboardFrameEndUserInfoKey = "UIKeyboardFrameEndUserInfoKey";
const char* const UIKeyboardAnimationDurationUserInfoKey = "UIKeyboardAnimationDurationUserInfoKey";

namespace {

struct KeyboardState {
    bool observing = false;
    std::optional<graphics::Rect> shown;
};

KeyboardState& state() {
    static KeyboardState s;
    return s;
}

// The will- notification, then its did- twin with the same user info: no
// animation runs here, so the keyboard has arrived (or gone) at once.
void post(const char* willName, const char* didName) {
    foundation::Value::Dictionary info;
    info[UIKeyboardFrameEndUserInfoKey] = UIKeyboard::rectValue(UIKeyboard::frameForCurrentDevice());
    info[UIKeyboardAnimationDurationUserInfoKey] = UIKeyboard::animationDuration();
    const foundation::Value userInfo(std::move(info));
    auto& center = foundation::NotificationCenter::defaultCenter();
    center.postNotificationName(willName, {}, userInfo);
    center.postNotificationName(didName, {}, userInfo);
}

}  // namespace

graphics::Rect UIKeyboard::frameForCurrentDevice() {
    graphics::Rect screen = UIScreen::mainScreen().bounds();
    double height = 216;
    if (UIDevice::currentDevice().userInterfaceIdiom() == UIUserInterfaceIdiom::Pad) {
        bool landscape = UIInterfaceOrientationIsLandscape(UIApplication::sharedApplication().statusBarOrientation());
        height = landscape ? 352 : 264;
    }
    return {0, screen.height() - height, screen.width(), height};
}

void UIKeyboard::observe() {
    foundation::requireMainThread("UIKeyboard is used from the main thread only");
    if (state().observing) return;
    state().observing = true;
    auto& center = foundation::NotificationCenter::defaultCenter();
    // Follows every notification, also those with a test's own values.
    center.addObserver(
        &state(),
        [](const foundation::Notification& n) {
            state().shown = rectFromUserInfo(n.userInfo, UIKeyboardFrameEndUserInfoKey);
        },
        UIKeyboardWillShowNotification);
    center.addObserver(
        &state(), [](const foundation::Notification&) { state().shown.reset(); }, UIKeyboardWillHideNotification);
}

void UIKeyboard::show() {
    observe();
    post(UIKeyboardWillShowNotification, UIKeyboardDidShowNotification);
}

void UIKeyboard::hide() {
    observe();
    post(UIKeyboardWillHideNotification, UIKeyboardDidHideNotification);
}

std::optional<graphics::Rect> UIKeyboard::shownFrame() {
    observe();
    return state().shown;
}

foundation::Value UIKeyboard::rectValue(const graphics::Rect& rect) { return graphics::toString(rect); }

graphics::Rect UIKeyboard::rectFromUserInfo(const foundation::Value& userInfo, const std::string& key) {
    const foundation::Value& value = userInfo[key];
    if (!value.isString()) return graphics::Rect::zero();
    double x = 0, y = 0, w = 0, h = 0;
    if (std::sscanf(value.stringValue().c_str(), "{{%lf, %lf}, {%lf, %lf}}", &x, &y, &w, &h) != 4) {
        return graphics::Rect::zero();
    }
    return {x, y, w, h};
}

void UIKeyboard::resetForTests() {
    observe();
    state().shown.reset();
}

}  // namespace uikit
