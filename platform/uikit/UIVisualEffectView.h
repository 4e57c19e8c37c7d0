// A view that blurs what lies behind it. Nothing is blurred here: the effect
// and its style are recorded, and the view draws a translucent wash of the
// style's tone so screenshots show where it is. Subviews go into the content
// view, as on the platform.
#pragma once

#include <memory>

#include "uikit/UIBlurEffect.h"
#include "uikit/UIView.h"

namespace uikit {

class UIVisualEffectView : public UIView {
public:
    explicit UIVisualEffectView(UIBlurEffectPtr effect, const graphics::Rect& frame = {});

    const UIBlurEffectPtr& effect() const { return effect_; }
    void setEffect(UIBlurEffectPtr effect);
    // A subview that covers the whole view and follows its size; it joins
    // the view on first use (the view must be owned by a shared_ptr then).
    const UIViewPtr& contentView();

    void drawRect(const graphics::Rect& rect) override;

    std::string className() const override { return "UIVisualEffectView"; }

private:
    UIBlurEffectPtr effect_;
    UIViewPtr contentView_;
};

using UIVisualEffectViewPtr = std::shared_ptr<UIVisualEffectView>;

}  // namespace uikit
