// The on-screen keyboard, which exists here only as notifications and a
// frame. A responder that takes text (field, text view) calls show when it
// becomes first responder and hide when it resigns; both post on the default
// centre with the end frame under "UIKeyboardFrameEndUserInfoKey" (window
// coordinates, at the bottom of the screen: 216 high on the phone, 264 on
// the pad in portrait and 352 in landscape) and 0.25 s under
// "UIKeyboardAnimationDurationUserInfoKey", each followed by its did- twin
// ("UIKeyboardDidShowNotification", "UIKeyboardDidHideNotification") with
// the same user info. The shown frame follows every
// such notification, also ones tests post with their own values. Rects
// travel in user info as their text form; rectFromUserInfo reads them back.
// Main thread only.
#pragma once

#include <optional>
#include <string>

#include "foundation/Value.h"
#include "graphics/Geometry.h"

namespace uikit {

extern const char* const UIKeyboardWillShowNotification;
extern const char* const UIKeyboardWillHideNotification;
extern const char* const UIKeyboardDidShowNotification;
extern const char* const UIKeyboardDidHideNotification;
extern const char* const UIKeyboardFrameEndUserInfoKey;
extern const char* const UIKeyboardAnimationDurationUserInfoKey;

class UIKeyboard {
public:
    // Where the keyboard sits on the present device and orientation.
    static graphics::Rect frameForCurrentDevice();
    static double animationDuration() { return 0.25; }

    static void show();
    static void hide();
    // The frame of the keyboard on screen, none while hidden.
    static std::optional<graphics::Rect> shownFrame();

    // A rect as a user-info value, and back (zero when absent or unreadable).
    static foundation::Value rectValue(const graphics::Rect& rect);
    static graphics::Rect rectFromUserInfo(const foundation::Value& userInfo, const std::string& key);

    // Starts following the notifications; the application does it at start.
    static void observe();
    static void resetForTests();
};

}  // namespace uikit
