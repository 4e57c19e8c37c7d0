// A slider: a value between a minimum and a maximum, with track and thumb
// images per state and track tints. A person sliding it (slideToValue, for
// tests and the app mode) moves the value and sends value-changed; releasing
// it (releaseAtValue) also sends touch-up-inside. A slider that is not
// continuous sends value-changed only on release. Setting the value in code
// sends nothing.
#pragma once

#include <map>
#include <memory>
#include <optional>

#include "uikit/UIControl.h"
#include "uikit/UIImage.h"

namespace uikit {

class UISlider : public UIControl {
public:
    static constexpr double kHeight = 31;

    explicit UISlider(const graphics::Rect& frame = {}) : UIControl(frame) {}

    double value() const { return value_; }
    // Clamped to the range.
    void setValue(double value) { setValue(value, false); }
    void setValue(double value, bool animated);
    bool lastChangeAnimated() const { return lastChangeAnimated_; }
    double minimumValue() const { return minimumValue_; }
    void setMinimumValue(double value);
    double maximumValue() const { return maximumValue_; }
    void setMaximumValue(double value);
    bool isContinuous() const { return continuous_; }
    void setContinuous(bool continuous) { continuous_ = continuous; }

    void setMinimumTrackImage(UIImagePtr image, UIControlState state);
    UIImagePtr minimumTrackImageForState(UIControlState state) const;
    void setMaximumTrackImage(UIImagePtr image, UIControlState state);
    UIImagePtr maximumTrackImageForState(UIControlState state) const;
    void setThumbImage(UIImagePtr image, UIControlState state);
    UIImagePtr thumbImageForState(UIControlState state) const;
    const std::optional<graphics::Color>& minimumTrackTintColor() const { return minimumTrackTint_; }
    void setMinimumTrackTintColor(std::optional<graphics::Color> color);
    const std::optional<graphics::Color>& maximumTrackTintColor() const { return maximumTrackTint_; }
    void setMaximumTrackTintColor(std::optional<graphics::Color> color);

    // A person's drag to the value; false when the slider takes no touches.
    bool slideToValue(double value);
    // A person's drag ending at the value.
    bool releaseAtValue(double value);
    // A tap on the track: the value there, released at once.
    bool tapAtPoint(graphics::Point point) override;

    graphics::Size sizeThatFits(graphics::Size size) const override { return {size.width, kHeight}; }
    void drawRect(const graphics::Rect& rect) override;

    std::string className() const override { return "UISlider"; }

private:
    using ImageTable = std::map<UIControlState, UIImagePtr>;
    static void put(ImageTable& table, UIImagePtr image, UIControlState state);
    static UIImagePtr get(const ImageTable& table, UIControlState state);

    double value_ = 0;
    double minimumValue_ = 0;
    double maximumValue_ = 1;
    bool continuous_ = true;
    bool lastChangeAnimated_ = false;
    ImageTable minimumTrackImages_;
    ImageTable maximumTrackImages_;
    ImageTable thumbImages_;
    std::optional<graphics::Color> minimumTrackTint_;
    std::optional<graphics::Color> maximumTrackTint_;
};

using UISliderPtr = std::shared_ptr<UISlider>;

}  // namespace uikit
