// One row of the settings table: its title and detail, its kind (an action
// row with a centred title, a navigation row with a disclosure indicator, a
// switch row), the screen operation a tap runs, the operation the switch of a
// switch row sends, and whether the row is enabled. The switch state is read
// through the value block each time the cell is built, so a rebuilt cell
// shows the stored state rather than the one the row was made with.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "foundation/Object.h"
#include "foundation/Value.h"
#include "model/IEntityModel.h"

class SettingsCellDataModel : public foundation::Object, public IEntityModel {
public:
    using Text = std::optional<std::string>;
    // Run on the screen with the argument (none for a tap, the switch for a switch row).
    using Selector = std::function<void(foundation::Object& screen, const foundation::Value& argument)>;
    using SwitchValueBlock = std::function<bool()>;

    static constexpr int kActionCellType = 0;
    static constexpr int kNavigationCellType = 1;
    static constexpr int kSwitchCellType = 2;

    const Text& cellText() const { return cellText_; }
    void setCellText(Text text) { cellText_ = std::move(text); }
    const Text& cellDetailedText() const { return cellDetailedText_; }
    void setCellDetailedText(Text text) { cellDetailedText_ = std::move(text); }
    int cellType() const { return cellType_; }
    void setCellType(int type) { cellType_ = type; }
    const Selector& cellActionSelector() const { return cellActionSelector_; }
    void setCellActionSelector(Selector selector) { cellActionSelector_ = std::move(selector); }
    const Selector& switchActionSelector() const { return switchActionSelector_; }
    void setSwitchActionSelector(Selector selector) { switchActionSelector_ = std::move(selector); }
    bool switchValue() const { return switchValue_; }
    void setSwitchValue(bool value) { switchValue_ = value; }
    const SwitchValueBlock& getSwitchValueBlock() const { return getSwitchValueBlock_; }
    void setGetSwitchValueBlock(SwitchValueBlock block) { getSwitchValueBlock_ = std::move(block); }
    bool isEnabled() const { return isEnabled_; }
    void setIsEnabled(bool enabled) { isEnabled_ = enabled; }

    std::string className() const override { return "SettingsCellDataModel"; }

private:
    Text cellText_;
    Text cellDetailedText_;
    int cellType_ = kActionCellType;
    Selector cellActionSelector_;
    Selector switchActionSelector_;
    bool switchValue_ = false;
    SwitchValueBlock getSwitchValueBlock_;
    bool isEnabled_ = true;
};

using SettingsCellDataModelPtr = std::shared_ptr<SettingsCellDataModel>;
