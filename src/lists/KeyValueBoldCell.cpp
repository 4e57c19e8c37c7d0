#include "lists/KeyValueBoldCell.h"

#include "uikit/UIColor.h"
#include "uikit/UILabel.h"

void KeyValueBoldCell::configureWithKey(const Text& key, const Text& value) {
    setSelectionStyle(uikit::UITableViewCellSelectionStyle::None);
    if (auto label = keyLabel()) label->setText(key);
    if (auto label = valueLabel()) {
        label->setText(value);
        label->setTextColor(uikit::UIColor::blackColor());
    }
}

void KeyValueBoldCell::configureWithKeyAndClickableValue(const Text& key, const Text& value) {
    setSelectionStyle(uikit::UITableViewCellSelectionStyle::Default);
    if (auto label = keyLabel()) label->setText(key);
    if (auto label = valueLabel()) {
        label->setText(value);
        label->setTextColor(uikit::UIColor::colorWithRed(0.1, 122.0 / 255, 204.0 / 255, 1));
    }
}
