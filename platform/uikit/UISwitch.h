// An on/off switch of the platform's fixed size (51 × 31). A tap turns it
// over and sends value-changed before touch-up-inside, so an action on either
// event reads the new state; setting the value in code sends nothing.
#pragma once

#include <memory>
#include <optional>

#include "uikit/UIControl.h"

namespace uikit {

class UISwitch : public UIControl {
public:
    static constexpr graphics::Size kSize{51, 31};

    explicit UISwitch(const graphics::Rect& frame = {});

    bool isOn() const { return on_; }
    void setOn(bool on) { setOn(on, false); }
    void setOn(bool on, bool animated);
    // Whether the last change in code asked for animation.
    bool lastChangeAnimated() const { return lastChangeAnimated_; }

    const std::optional<graphics::Color>& onTintColor() const { return onTintColor_; }
    void setOnTintColor(std::optional<graphics::Color> color);

    void setFrame(const graphics::Rect& frame) override;
    graphics::Size sizeThatFits(graphics::Size) const override { return kSize; }
    void drawRect(const graphics::Rect& rect) override;
    bool tap() override;

    std::string className() const override { return "UISwitch"; }

protected:
    void didTap() override;

private:
    bool on_ = false;
    bool lastChangeAnimated_ = false;
    std::optional<graphics::Color> onTintColor_;
};

using UISwitchPtr = std::shared_ptr<UISwitch>;

}  // namespace uikit
