// The key-value table's row of a value without a key.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "uikit/UITableViewCell.h"

namespace uikit {
class UITextView;
}

class TextCell : public uikit::UITableViewCell {
public:
    using uikit::UITableViewCell::UITableViewCell;

    const std::shared_ptr<uikit::UITextView>& valueLabel() const { return valueLabel_; }
    void setValueLabel(std::shared_ptr<uikit::UITextView> view) { valueLabel_ = std::move(view); }

    std::string className() const override { return "TextCell"; }

private:
    std::shared_ptr<uikit::UITextView> valueLabel_;
};
