// The text field of the login, passcode and password forms and of the form
// cell: no autocorrection, whichever way it was made (in code or from an
// interface file), and a key its owner sets to tell its fields apart.
#pragma once

#include <optional>
#include <string>

#include "uikit/UITextField.h"

class CustomTextField : public uikit::UITextField {
public:
    explicit CustomTextField(const graphics::Rect& frame = {});

    const std::optional<std::string>& key() const { return key_; }
    void setKey(std::optional<std::string> key) { key_ = std::move(key); }

    // Turns autocorrection off.
    void configureCustomProperties();
    void awakeFromNib() override;

    std::string className() const override { return "CustomTextField"; }

private:
    std::optional<std::string> key_;
};
