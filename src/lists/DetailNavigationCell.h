// A navigation row inside a larger details table: an icon and a title that
// open a further page. Registrable: its nib "DetailNavigationCell" (an icon
// and a label on a 44-point row with the disclosure indicator) and reuse
// identifier are class-wide. Main thread only.
#pragma once

#include <memory>
#include <string>

#include "uikit/UITableViewCell.h"

class DetailsNavigationDataModel;

namespace uikit {
class UIImageView;
class UILabel;
}  // namespace uikit

class DetailNavigationCell : public uikit::UITableViewCell {
public:
    using uikit::UITableViewCell::UITableViewCell;

    // The class's name; naming it makes sure the nib is registered.
    static std::string cellNibName();
    static std::string cellIdentifier() { return "detailNavigationCellIdentifier"; }

    // Held weak: the cell's view tree owns them.
    std::shared_ptr<uikit::UIImageView> navigationIcon() const { return navigationIcon_.lock(); }
    void setNavigationIcon(const std::shared_ptr<uikit::UIImageView>& view) { navigationIcon_ = view; }
    std::shared_ptr<uikit::UILabel> navigationLabel() const { return navigationLabel_.lock(); }
    void setNavigationLabel(const std::shared_ptr<uikit::UILabel>& label) { navigationLabel_ = label; }

    // The icon (as a template image) only when the row names one, else the
    // icon stays; the title; the enabled look.
    void configureWithDataModel(const DetailsNavigationDataModel& model);
    // Black and touchable, or grey and not.
    void setNavigationEnabled(bool enabled);

    std::string className() const override { return "DetailNavigationCell"; }

private:
    std::weak_ptr<uikit::UIImageView> navigationIcon_;
    std::weak_ptr<uikit::UILabel> navigationLabel_;
};
