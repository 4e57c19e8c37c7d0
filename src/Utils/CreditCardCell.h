// A table cell of two outlets, a title and a value field, laid out by its
// interface file; it adds nothing to the platform cell's behaviour.
#pragma once

#include <memory>

#include "uikit/UITableViewCell.h"

namespace uikit {
class UILabel;
class UITextField;
}  // namespace uikit

class CreditCardCell : public uikit::UITableViewCell {
public:
    using uikit::UITableViewCell::UITableViewCell;

    const std::shared_ptr<uikit::UILabel>& titleLabel() const { return titleLabel_; }
    void setTitleLabel(std::shared_ptr<uikit::UILabel> label) { titleLabel_ = std::move(label); }
    const std::shared_ptr<uikit::UITextField>& valueTextField() const { return valueTextField_; }
    void setValueTextField(std::shared_ptr<uikit::UITextField> field) { valueTextField_ = std::move(field); }

    std::string className() const override { return "CreditCardCell"; }

private:
    std::shared_ptr<uikit::UILabel> titleLabel_;
    std::shared_ptr<uikit::UITextField> valueTextField_;
};
