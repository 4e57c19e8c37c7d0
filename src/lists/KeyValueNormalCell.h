// The key-value table's row of a key and a text value.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "uikit/UITableViewCell.h"

namespace uikit {
class UILabel;
class UITextView;
}  // namespace uikit

class KeyValueNormalCell : public uikit::UITableViewCell {
public:
    using uikit::UITableViewCell::UITableViewCell;

    const std::shared_ptr<uikit::UILabel>& keyLabel() const { return keyLabel_; }
    void setKeyLabel(std::shared_ptr<uikit::UILabel> label) { keyLabel_ = std::move(label); }
    const std::shared_ptr<uikit::UITextView>& valueLabel() const { return valueLabel_; }
    void setValueLabel(std::shared_ptr<uikit::UITextView> view) { valueLabel_ = std::move(view); }

    std::string className() const override { return "KeyValueNormalCell"; }

private:
    std::shared_ptr<uikit::UILabel> keyLabel_;
    std::shared_ptr<uikit::UITextView> valueLabel_;
};
