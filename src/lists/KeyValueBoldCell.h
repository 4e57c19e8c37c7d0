// A key-value row cell for tables that lay out such rows themselves: a key
// and a plain value, or a value that reads as a link and can be selected.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "uikit/UITableViewCell.h"

namespace uikit {
class UILabel;
}

class KeyValueBoldCell : public uikit::UITableViewCell {
public:
    using Text = std::optional<std::string>;
    using uikit::UITableViewCell::UITableViewCell;

    // Held weak: the cell's view tree owns the labels.
    std::shared_ptr<uikit::UILabel> keyLabel() const { return keyLabel_.lock(); }
    void setKeyLabel(const std::shared_ptr<uikit::UILabel>& label) { keyLabel_ = label; }
    std::shared_ptr<uikit::UILabel> valueLabel() const { return valueLabel_.lock(); }
    void setValueLabel(const std::shared_ptr<uikit::UILabel>& label) { valueLabel_ = label; }

    // No selection highlight; the value in black.
    void configureWithKey(const Text& key, const Text& value);
    // The default selection highlight; the value in the link colour.
    void configureWithKeyAndClickableValue(const Text& key, const Text& value);

    std::string className() const override { return "KeyValueBoldCell"; }

private:
    std::weak_ptr<uikit::UILabel> keyLabel_;
    std::weak_ptr<uikit::UILabel> valueLabel_;
};
