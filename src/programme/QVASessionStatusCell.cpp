#include "programme/QVASessionStatusCell.h"

#include <algorithm>
#include <limits>

#include "uikit/UIActivityIndicatorView.h"
#include "uikit/UILabel.h"
#include "uikit/UINib.h"

namespace {

constexpr const char* kSessionStatusCellNibName = "QVASessionStatusCell";
constexpr double kSessionStatusCellWidth = 320;
constexpr double kSessionStatusMarginX = 15;
constexpr double kSessionStatusMarginY = 8;

std::vector<foundation::ObjectPtr> sessionStatusCellNib(const foundation::ObjectPtr&) {
    auto cell = std::make_shared<QVASessionStatusCell>(uikit::UITableViewCellStyle::Default,
                                                       QVASessionStatusCell::cellIdentifier());
    const double height = QVASessionStatusCell::kPendingHeight;
    cell->setFrame({0, 0, kSessionStatusCellWidth, height});
    cell->setSelectionStyle(uikit::UITableViewCellSelectionStyle::None);
    auto content = cell->contentView();
    content->setFrame({0, 0, kSessionStatusCellWidth, height});

    auto label = std::make_shared<uikit::UILabel>(graphics::Rect{
        kSessionStatusMarginX, kSessionStatusMarginY, kSessionStatusCellWidth - 2 * kSessionStatusMarginX,
        height - 2 * kSessionStatusMarginY});
    label->setNumberOfLines(0);
    label->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleWidth | uikit::UIViewAutoresizingFlexibleHeight);
    label->setOutletName(std::string("sessionStatusLabel"));
    content->addSubview(label);
    cell->setSessionStatusLabel(label);

    auto wheel = std::make_shared<uikit::UIActivityIndicatorView>(uikit::UIActivityIndicatorViewStyle::Gray);
    wheel->setFrame({(kSessionStatusCellWidth - 20) / 2, (height - 20) / 2, 20, 20});
    wheel->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleLeftMargin | uikit::UIViewAutoresizingFlexibleRightMargin);
    wheel->setOutletName(std::string("statusActivityIndicator"));
    wheel->startAnimating();
    content->addSubview(wheel);
    cell->setStatusActivityIndicator(wheel);
    return {cell};
}

}  // namespace

std::string QVASessionStatusCell::cellNibName() {
    if (!uikit::UINib::hasNibNamed(kSessionStatusCellNibName))
        uikit::UINib::registerNib(kSessionStatusCellNibName, sessionStatusCellNib);
    return kSessionStatusCellNibName;
}

std::shared_ptr<QVASessionStatusCell> QVASessionStatusCell::loadFromNib() {
    auto objects = uikit::UINib::nibWithNibName(cellNibName())->instantiateWithOwner(nullptr);
    return objects.empty() ? nullptr : std::dynamic_pointer_cast<QVASessionStatusCell>(objects.front());
}

double QVASessionStatusCell::heightForStatus(const uikit::NSAttributedStringPtr& status, double tableWidth) {
    if (!status) return kPendingHeight;
    auto sizing = std::make_shared<uikit::UILabel>();
    sizing->setNumberOfLines(0);
    sizing->setAttributedText(status);
    const double width = std::max(0.0, tableWidth - 2 * kSessionStatusMarginX);
    const double text = sizing->sizeThatFits({width, std::numeric_limits<double>::max()}).height;
    return std::max(kPendingHeight, text + 2 * kSessionStatusMarginY);
}

void QVASessionStatusCell::loadAttributedStringStatus(const uikit::NSAttributedStringPtr& status) {
    if (auto wheel = statusActivityIndicator()) {
        wheel->stopAnimating();
        wheel->setHidden(true);
    }
    if (auto label = sessionStatusLabel()) label->setAttributedText(status);
}
