#include "app/CustomSegmentedNavigationController.h"

#include "app/BaseViewController.h"
#include "uikit/UIImage.h"
#include "uikit/UISegmentedControl.h"

namespace {

const graphics::Rect kTwoSegmentsFrame{125, 7, 100, 30};
const graphics::Rect kThreeSegmentsFrame{102, 7, 150, 30};

}  // namespace

CustomSegmentedNavigationController::CustomSegmentedNavigationController() = default;

CustomSegmentedNavigationController::CustomSegmentedNavigationController(FromInterfaceFile marker)
    : CustomNavigationController(marker) {}

CustomSegmentedNavigationController::~CustomSegmentedNavigationController() = default;

std::vector<uikit::UIViewControllerPtr> CustomSegmentedNavigationController::createSegmentedControllers() {
    return {};
}

std::vector<std::shared_ptr<uikit::UIImage>> CustomSegmentedNavigationController::imagesArray() const {
    std::vector<std::shared_ptr<uikit::UIImage>> images;
    for (const auto& controller : retainedControllers_) {
        auto screen = std::dynamic_pointer_cast<BaseViewController>(controller);
        if (!screen) continue;
        if (auto image = screen->segmentedControlImage()) images.push_back(std::move(image));
    }
    return images;
}

void CustomSegmentedNavigationController::viewDidLoad() {
    CustomNavigationController::viewDidLoad();
    setTheControllers(createSegmentedControllers());
}

void CustomSegmentedNavigationController::setTheControllers(std::vector<uikit::UIViewControllerPtr> controllers) {
    retainedControllers_ = std::move(controllers);
    setInitialSegmentedControl();
    if (!retainedControllers_.empty()) setViewControllers({retainedControllers_.front()}, false);
}

void CustomSegmentedNavigationController::setInitialSegmentedControl() {
    const auto images = imagesArray();
    if (images.size() < 2) {
        sc_.reset();
        return;
    }
    std::vector<uikit::UISegmentedControl::Item> items(images.begin(), images.end());
    auto control = std::make_shared<uikit::UISegmentedControl>(items);
    std::weak_ptr<CustomSegmentedNavigationController> weakSelf =
        std::dynamic_pointer_cast<CustomSegmentedNavigationController>(shared_from_this());
    control->addTarget(
        [weakSelf](uikit::UIControl& sender) {
            auto self = weakSelf.lock();
            auto* segmented = dynamic_cast<uikit::UISegmentedControl*>(&sender);
            if (self && segmented) self->changeSegment(*segmented);
        },
        uikit::UIControlEventValueChanged);
    control->setFrame(images.size() == 2 ? kTwoSegmentsFrame : kThreeSegmentsFrame);
    control->sizeToFit();
    control->setSelectedSegmentIndex(0);
    sc_ = std::move(control);
}

void CustomSegmentedNavigationController::changeSegment(uikit::UISegmentedControl& sender) {
    showControllerAtIndex(sender.selectedSegmentIndex());
}

void CustomSegmentedNavigationController::showControllerAtIndex(int64_t index) {
    const int64_t segments = sc_ ? static_cast<int64_t>(sc_->numberOfSegments()) : 0;
    if (index < 0 || index > segments || index >= static_cast<int64_t>(retainedControllers_.size())) return;
    if (sc_) sc_->setSelectedSegmentIndex(index);
    const auto controller = retainedControllers_[static_cast<size_t>(index)];
    if (auto screen = std::dynamic_pointer_cast<BaseViewController>(controller)) screen->trackAnalyticsEvent();
    setViewControllers({controller}, false);
}
