// A bar that fills from the left with the progress, from 0 to 1.
#pragma once

#include <memory>
#include <optional>

#include "uikit/UIImage.h"
#include "uikit/UIView.h"

namespace uikit {

enum class UIProgressViewStyle { Default = 0, Bar = 1 };

class UIProgressView : public UIView {
public:
    static constexpr double kHeight = 2;

    explicit UIProgressView(UIProgressViewStyle style = UIProgressViewStyle::Default);
    explicit UIProgressView(const graphics::Rect& frame);

    UIProgressViewStyle progressViewStyle() const { return style_; }
    void setProgressViewStyle(UIProgressViewStyle style) { style_ = style; }

    double progress() const { return progress_; }
    // Clamped to 0...1.
    void setProgress(double progress) { setProgress(progress, false); }
    void setProgress(double progress, bool animated);
    // Whether the last change asked for animation.
    bool lastChangeAnimated() const { return lastChangeAnimated_; }

    // The filled part in the tint colour unless set; the track light grey.
    const std::optional<graphics::Color>& progressTintColor() const { return progressTint_; }
    void setProgressTintColor(std::optional<graphics::Color> color);
    const std::optional<graphics::Color>& trackTintColor() const { return trackTint_; }
    void setTrackTintColor(std::optional<graphics::Color> color);
    const UIImagePtr& progressImage() const { return progressImage_; }
    void setProgressImage(UIImagePtr image);
    const UIImagePtr& trackImage() const { return trackImage_; }
    void setTrackImage(UIImagePtr image);

    graphics::Size sizeThatFits(graphics::Size size) const override { return {size.width, kHeight}; }
    void drawRect(const graphics::Rect& rect) override;

    std::string className() const override { return "UIProgressView"; }

private:
    UIProgressViewStyle style_;
    double progress_ = 0;
    bool lastChangeAnimated_ = false;
    std::optional<graphics::Color> progressTint_;
    std::optional<graphics::Color> trackTint_;
    UIImagePtr progressImage_;
    UIImagePtr trackImage_;
};

using UIProgressViewPtr = std::shared_ptr<UIProgressView>;

}  // namespace uikit
