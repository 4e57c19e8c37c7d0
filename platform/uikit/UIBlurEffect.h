// A blur that a visual effect view lays over what is behind it: its style.
#pragma once

#include <memory>
#include <string>

#include "foundation/Object.h"

namespace uikit {

enum class UIBlurEffectStyle { ExtraLight = 0, Light = 1, Dark = 2 };

class UIBlurEffect : public foundation::Object {
public:
    static std::shared_ptr<UIBlurEffect> effectWithStyle(UIBlurEffectStyle style) {
        return std::make_shared<UIBlurEffect>(style);
    }
    explicit UIBlurEffect(UIBlurEffectStyle style) : style_(style) {}
    UIBlurEffectStyle style() const { return style_; }
    std::string className() const override { return "UIBlurEffect"; }

private:
    UIBlurEffectStyle style_;
};

using UIBlurEffectPtr = std::shared_ptr<UIBlurEffect>;

}  // namespace uikit
