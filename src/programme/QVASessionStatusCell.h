// The "Session status" row of the session detail screen: the live status as
// a two-line attributed text, with a spinning wheel until the first answer is
// loaded. Nib "QVASessionStatusCell", reuse identifier
// "sessionStatusCellIdentifier". Main thread only.
#pragma once

#include <memory>
#include <string>

#include "uikit/NSAttributedString.h"
#include "uikit/UITableViewCell.h"

namespace uikit {
class UIActivityIndicatorView;
class UILabel;
}  // namespace uikit

class QVASessionStatusCell : public uikit::UITableViewCell {
public:
    static constexpr double kPendingHeight = 54;

    using uikit::UITableViewCell::UITableViewCell;

    static std::string cellNibName();
    static std::string cellIdentifier() { return "sessionStatusCellIdentifier"; }
    static std::shared_ptr<QVASessionStatusCell> loadFromNib();
    // The row height that shows the whole text at that table width; the
    // pending height while there is no text.
    static double heightForStatus(const uikit::NSAttributedStringPtr& status, double tableWidth);

    // Stops and hides the wheel, then shows the text.
    void loadAttributedStringStatus(const uikit::NSAttributedStringPtr& status);

    // Outlets (weak).
    std::shared_ptr<uikit::UILabel> sessionStatusLabel() const { return sessionStatusLabel_.lock(); }
    void setSessionStatusLabel(const std::shared_ptr<uikit::UILabel>& label) { sessionStatusLabel_ = label; }
    std::shared_ptr<uikit::UIActivityIndicatorView> statusActivityIndicator() const {
        return statusActivityIndicator_.lock();
    }
    void setStatusActivityIndicator(const std::shared_ptr<uikit::UIActivityIndicatorView>& view) {
        statusActivityIndicator_ = view;
    }

    std::string className() const override { return "QVASessionStatusCell"; }

private:
    std::weak_ptr<uikit::UILabel> sessionStatusLabel_;
    std::weak_ptr<uikit::UIActivityIndicatorView> statusActivityIndicator_;
};
