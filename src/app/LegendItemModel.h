// One row of the help legend: the picture of a symbol used in the lists and
// what it means. `title` exists for a row heading the screen never shows.
#pragma once

#include <string>

#include "foundation/Object.h"

class LegendItemModel : public foundation::Object {
public:
    LegendItemModel(std::string iconName, std::string itemDescription)
        : iconName_(std::move(iconName)), itemDescription_(std::move(itemDescription)) {}

    const std::string& iconName() const { return iconName_; }
    void setIconName(std::string name) { iconName_ = std::move(name); }
    const std::string& itemDescription() const { return itemDescription_; }
    void setItemDescription(std::string description) { itemDescription_ = std::move(description); }
    const std::string& title() const { return title_; }
    void setTitle(std::string title) { title_ = std::move(title); }

    std::string className() const override { return "LegendItemModel"; }

private:
    std::string iconName_;
    std::string itemDescription_;
    std::string title_;
};
