// The spinning wheel: a style (large white, white, grey), a colour and
// whether it spins. One that hides when stopped is hidden while it does not
// spin, and shown when it starts.
#pragma once

#include <memory>

#include "uikit/UIView.h"

namespace uikit {

enum class UIActivityIndicatorViewStyle { WhiteLarge = 0, White = 1, Gray = 2 };

class UIActivityIndicatorView : public UIView {
public:
    explicit UIActivityIndicatorView(UIActivityIndicatorViewStyle style = UIActivityIndicatorViewStyle::White);
    explicit UIActivityIndicatorView(const graphics::Rect& frame);

    UIActivityIndicatorViewStyle activityIndicatorViewStyle() const { return style_; }
    // Resets the colour to the style's.
    void setActivityIndicatorViewStyle(UIActivityIndicatorViewStyle style);
    // White for the white styles, grey for grey, unless set.
    const graphics::Color& color() const { return color_; }
    void setColor(std::optional<graphics::Color> color);

    bool isAnimating() const { return animating_; }
    void startAnimating();
    void stopAnimating();
    // True unless set.
    bool hidesWhenStopped() const { return hidesWhenStopped_; }
    void setHidesWhenStopped(bool hides);

    // 37 points square for the large style, 20 for the others.
    graphics::Size sizeThatFits(graphics::Size) const override;
    void drawRect(const graphics::Rect& rect) override;

    std::string className() const override { return "UIActivityIndicatorView"; }

private:
    static graphics::Color colorOfStyle(UIActivityIndicatorViewStyle style);

    UIActivityIndicatorViewStyle style_;
    graphics::Color color_;
    bool animating_ = false;
    bool hidesWhenStopped_ = true;
};

using UIActivityIndicatorViewPtr = std::shared_ptr<UIActivityIndicatorView>;

}  // namespace uikit
