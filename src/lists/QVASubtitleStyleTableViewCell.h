// A search result row of a title over a subtitle (partners, organisations,
// venues and rooms). The labels belong to the cell's content view.
#pragma once

#include <memory>

#include "uikit/UITableViewCell.h"

namespace uikit {
class UILabel;
}

class QVASubtitleStyleTableViewCell : public uikit::UITableViewCell {
public:
    using uikit::UITableViewCell::UITableViewCell;

    std::shared_ptr<uikit::UILabel> titleLabel() const { return titleLabel_.lock(); }
    void setTitleLabel(const std::shared_ptr<uikit::UILabel>& label) { titleLabel_ = label; }
    std::shared_ptr<uikit::UILabel> subtitleLabel() const { return subtitleLabel_.lock(); }
    void setSubtitleLabel(const std::shared_ptr<uikit::UILabel>& label) { subtitleLabel_ = label; }

    std::string className() const override { return "QVASubtitleStyleTableViewCell"; }

private:
    std::weak_ptr<uikit::UILabel> titleLabel_;
    std::weak_ptr<uikit::UILabel> subtitleLabel_;
};
