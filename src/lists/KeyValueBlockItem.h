// One row of the key-value table: a key and a value, or, for a button row,
// a key and the button titles joined by "|" with the block a tap runs.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "foundation/Object.h"

namespace uikit {
class UIControl;
}

class KeyValueBlockItem : public foundation::Object {
public:
    using Text = std::optional<std::string>;
    // Called with the tapped button.
    using ButtonBlock = std::function<void(uikit::UIControl& button)>;

    const Text& keyText() const { return keyText_; }
    void setKeyText(Text text) { keyText_ = std::move(text); }
    const Text& valueText() const { return valueText_; }
    void setValueText(Text text) { valueText_ = std::move(text); }
    bool isButton() const { return isButton_; }
    void setIsButton(bool isButton) { isButton_ = isButton; }
    const ButtonBlock& buttonBlock() const { return buttonBlock_; }
    void setButtonBlock(ButtonBlock block) { buttonBlock_ = std::move(block); }

    std::string className() const override { return "KeyValueBlockItem"; }

private:
    Text keyText_;
    Text valueText_;
    bool isButton_ = false;
    ButtonBlock buttonBlock_;
};
