// A control: a view that turns touches into actions. Actions are callbacks
// registered per event mask (the platform's target-action pairs); sending an
// event runs every action registered for any of its bits, in the order they
// were added. tap() is a person's tap on the control, for tests and the app
// mode: a disabled, hidden or non-interactive control ignores it; otherwise
// the control is highlighted for the touch, sends touch-down, then
// touch-up-inside, and then does what its kind does on a tap (a switch
// toggles, ...). Main thread only.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "uikit/UIView.h"

namespace uikit {

using UIControlEvents = unsigned;
inline constexpr UIControlEvents UIControlEventTouchDown = 1u << 0;
inline constexpr UIControlEvents UIControlEventTouchDownRepeat = 1u << 1;
inline constexpr UIControlEvents UIControlEventTouchDragInside = 1u << 2;
inline constexpr UIControlEvents UIControlEventTouchDragOutside = 1u << 3;
inline constexpr UIControlEvents UIControlEventTouchDragEnter = 1u << 4;
inline constexpr UIControlEvents UIControlEventTouchDragExit = 1u << 5;
inline constexpr UIControlEvents UIControlEventTouchUpInside = 1u << 6;
inline constexpr UIControlEvents UIControlEventTouchUpOutside = 1u << 7;
inline constexpr UIControlEvents UIControlEventTouchCancel = 1u << 8;
inline constexpr UIControlEvents UIControlEventValueChanged = 1u << 12;
inline constexpr UIControlEvents UIControlEventEditingDidBegin = 1u << 16;
inline constexpr UIControlEvents UIControlEventEditingChanged = 1u << 17;
inline constexpr UIControlEvents UIControlEventEditingDidEnd = 1u << 18;
inline constexpr UIControlEvents UIControlEventEditingDidEndOnExit = 1u << 19;
inline constexpr UIControlEvents UIControlEventAllTouchEvents = 0x00000FFFu;
inline constexpr UIControlEvents UIControlEventAllEditingEvents = 0x000F0000u;
inline constexpr UIControlEvents UIControlEventAllEvents = 0xFFFFFFFFu;

using UIControlState = unsigned;
inline constexpr UIControlState UIControlStateNormal = 0;
inline constexpr UIControlState UIControlStateHighlighted = 1u << 0;
inline constexpr UIControlState UIControlStateDisabled = 1u << 1;
inline constexpr UIControlState UIControlStateSelected = 1u << 2;

enum class UIControlContentHorizontalAlignment { Center = 0, Left = 1, Right = 2, Fill = 3 };
enum class UIControlContentVerticalAlignment { Center = 0, Top = 1, Bottom = 2, Fill = 3 };

class UIControl : public UIView {
public:
    using Action = std::function<void(UIControl& sender)>;
    using ActionId = uint64_t;

    explicit UIControl(const graphics::Rect& frame = {}) : UIView(frame) {}

    // The id removes the action again.
    ActionId addTarget(Action action, UIControlEvents events);
    void removeTarget(ActionId id);
    // Removes every action registered for any of the events' bits.
    void removeTargetsForControlEvents(UIControlEvents events);
    // The union of the events that have actions.
    UIControlEvents allControlEvents() const;
    // Runs the actions of every event in the mask, in the order added. An
    // action may add or remove actions; the change counts from the next send.
    void sendActionsForControlEvents(UIControlEvents events);

    bool isEnabled() const { return enabled_; }
    virtual void setEnabled(bool enabled);
    bool isSelected() const { return selected_; }
    virtual void setSelected(bool selected);
    bool isHighlighted() const { return highlighted_; }
    virtual void setHighlighted(bool highlighted);
    // Normal, or the bits of highlighted, disabled and selected.
    UIControlState state() const;

    UIControlContentHorizontalAlignment contentHorizontalAlignment() const { return horizontalAlignment_; }
    void setContentHorizontalAlignment(UIControlContentHorizontalAlignment alignment);
    UIControlContentVerticalAlignment contentVerticalAlignment() const { return verticalAlignment_; }
    void setContentVerticalAlignment(UIControlContentVerticalAlignment alignment);

    // Whether a person's touch reaches the control: enabled, interactive,
    // not hidden and not transparent.
    bool acceptsTouches() const;
    // A person's tap (see above). False when the tap was ignored.
    virtual bool tap();
    // A person's tap at a point of the bounds: where the control's kind
    // cares where it is touched (a segment, a side of the page dots, a place
    // on the slider's track); elsewhere the same as tap().
    virtual bool tapAtPoint(graphics::Point point) {
        (void)point;
        return tap();
    }

    std::string className() const override { return "UIControl"; }

protected:
    // What the control does on a tap, after touch-up-inside.
    virtual void didTap() {}
    // After enabled, selected or highlighted changed.
    virtual void stateDidChange() {}

private:
    struct Registration {
        ActionId id;
        UIControlEvents events;
        std::shared_ptr<Action> action;
    };
    std::vector<Registration> actions_;
    ActionId nextActionId_ = 1;
    bool enabled_ = true;
    bool selected_ = false;
    bool highlighted_ = false;
    UIControlContentHorizontalAlignment horizontalAlignment_ = UIControlContentHorizontalAlignment::Center;
    UIControlContentVerticalAlignment verticalAlignment_ = UIControlContentVerticalAlignment::Center;
};

using UIControlPtr = std::shared_ptr<UIControl>;

}  // namespace uikit
