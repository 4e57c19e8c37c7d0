// The organisations list's row: the organisation's name over its country.
// Its interface file is "OrganizationCell"; naming it registers the file.
// Main thread only.
#pragma once

#include <memory>
#include <string>

#include "uikit/UITableViewCell.h"

namespace uikit {
class UILabel;
}

class OrganizationCell : public uikit::UITableViewCell {
public:
    static constexpr double kRowHeight = 44;

    using uikit::UITableViewCell::UITableViewCell;

    // "OrganizationCell"; registers the interface file on first use.
    static std::string cellNibName();
    static std::string cellIdentifier() { return "organizationCellIdentifier"; }

    // Outlets "organizationName" and "organizationContry".
    std::shared_ptr<uikit::UILabel> organizationName() const { return organizationName_.lock(); }
    void setOrganizationName(const std::shared_ptr<uikit::UILabel>& label) { organizationName_ = label; }
    std::shared_ptr<uikit::UILabel> organizationContry() const { return organizationContry_.lock(); }
    void setOrganizationContry(const std::shared_ptr<uikit::UILabel>& label) { organizationContry_ = label; }

    std::string className() const override { return "OrganizationCell"; }

private:
    std::weak_ptr<uikit::UILabel> organizationName_;
    std::weak_ptr<uikit::UILabel> organizationContry_;
};
