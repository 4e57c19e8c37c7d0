// A place as one table row: its name above, and below it, in smaller grey
// text, where it is (the outdoor map puts a venue's coordinates there). The
// recipient picker takes the same prototype for its rows and uses the first
// label alone. A scene registers the prototype under its reuse identifier
// (makePrototype). Main thread only.
#pragma once

#include <memory>
#include <string>

#include "uikit/UITableViewCell.h"

namespace uikit {
class UILabel;
}

class LocationCellTableViewCell : public uikit::UITableViewCell {
public:
    static constexpr double kRowHeight = 54;

    using uikit::UITableViewCell::UITableViewCell;

    static std::shared_ptr<LocationCellTableViewCell> makePrototype(const std::string& reuseIdentifier);

    const std::shared_ptr<uikit::UILabel>& locationName() const { return locationName_; }
    void setLocationName(std::shared_ptr<uikit::UILabel> label) { locationName_ = std::move(label); }
    const std::shared_ptr<uikit::UILabel>& venueName() const { return venueName_; }
    void setVenueName(std::shared_ptr<uikit::UILabel> label) { venueName_ = std::move(label); }

    void layoutSubviews() override;

    std::string className() const override { return "LocationCellTableViewCell"; }

private:
    std::shared_ptr<uikit::UILabel> locationName_;
    std::shared_ptr<uikit::UILabel> venueName_;
};
