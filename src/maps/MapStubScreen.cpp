#include "maps/MapStubScreen.h"

#include "app/StubPlaceholder.h"
#include "uikit/UILabel.h"
#include "uikit/UINavigationController.h"

namespace {

constexpr double kLabelInset = 15;

}  // namespace

void MapStubScreen::show(const std::shared_ptr<uikit::UIViewController>& source, int navType,
                         const std::shared_ptr<MapStubScreen>& screen, std::string call) {
    screen->recordCall(std::move(call));
    if (screen->callsLabel_) screen->callsLabel_->setText(screen->lastRecordedCall());
    // The other kinds of navigation belong to the maps themselves.
    if (navType != 0 || !source) return;
    if (auto navigation = source->navigationController()) navigation->pushViewController(screen, true);
}

void MapStubScreen::viewDidLoad() {
    BaseViewController::viewDidLoad();
    StubPlaceholder::paintWhite(*this);
    callsLabel_ = std::make_shared<uikit::UILabel>();
    const auto bounds = view()->bounds();
    callsLabel_->setFrame({{kLabelInset, kLabelInset}, {bounds.size.width - 2 * kLabelInset, bounds.size.height / 2}});
    callsLabel_->setNumberOfLines(0);
    callsLabel_->setText(lastRecordedCall());
    view()->addSubview(callsLabel_);
}

std::vector<std::pair<std::string, std::string>> MapStubScreen::screenDescriptionItems() const {
    return stubDescriptionItems(className());
}
