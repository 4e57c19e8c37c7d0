#include "lists/DetailsBaseViewController.h"

#include "Utils/Utils.h"
#include "coredata/ManagedObject.h"
#include "dispatch/Queue.h"
#include "lists/DetailsNavigationDataModel.h"
#include "lists/DetailsNavigationView.h"
#include "lists/DetailsPageProtocol.h"
#include "uikit/UIImage.h"
#include "uikit/UINavigationItem.h"
#include "uikit/UIScrollView.h"
#include "uikit/UISegmentedControl.h"
#include "uikit/UIView.h"

namespace {

// The control's frame by the number of page images; other counts keep the
// control's own.
std::optional<graphics::Rect> segmentedControlFrameForImageCount(size_t count) {
    switch (count) {
        case 4:
            return graphics::Rect(79, 7, 200, 30);
        case 3:
            return graphics::Rect(102, 7, 150, 30);
        case 2:
            return graphics::Rect(125, 7, 100, 30);
        default:
            return std::nullopt;
    }
}

}  // namespace

DetailsBaseViewController::DetailsBaseViewController(std::optional<std::string> nibName)
    : BaseViewController(std::move(nibName)) {}

DetailsBaseViewController::~DetailsBaseViewController() = default;

void DetailsBaseViewController::awakeFromNib() {
    BaseViewController::awakeFromNib();
    displayedControllerIndex_ = 0;
}

void DetailsBaseViewController::viewDidLoad() {
    BaseViewController::viewDidLoad();
    auto object = currentObject();
    auto pages = createSegmentedControllersForObject(object);
    if (pages && !pages->empty()) setTheControllers(pages);
    Utils::changeEdgesForController(*this, uikit::UIRectEdgeNone);
    observeSavesOfCurrentStore();
    // Even without the object: the subclass shows what it can of a row gone.
    if (selectionPropertyId()) updateUIContentForObject(object);
    updateSwipeHints();
}

void DetailsBaseViewController::viewDidLayoutSubviews() {
    BaseViewController::viewDidLayoutSubviews();
    layoutSwipeHints();
}

std::optional<DetailsBaseViewController::Pages> DetailsBaseViewController::createSegmentedControllersForObject(
    const std::shared_ptr<coredata::ManagedObject>& object) {
    (void)object;
    return std::nullopt;
}

// --- Pages ---

void DetailsBaseViewController::insertControllerOfKind(const uikit::UIViewControllerPtr& controller,
                                                       const std::shared_ptr<uikit::UIImage>& image, size_t index,
                                                       const PageKindTest& sameKind) {
    if (!controller) return;
    for (const auto& page : retainedControllers_)
        if (page && sameKind(*page)) return;
    if (index >= retainedControllers_.size())
        retainedControllers_.push_back(controller);
    else
        retainedControllers_.insert(retainedControllers_.begin() + static_cast<std::ptrdiff_t>(index), controller);
    if (segmentedControl_) {
        segmentedControl_->insertSegmentWithImage(image, index, false);
        segmentedControl_->sizeToFit();
        refreshDisplayedControllerIndex();
    } else {
        setInitialSegmentedControl();
    }
}

void DetailsBaseViewController::removeControllerOfKind(const PageKindTest& kind) {
    for (size_t i = 0; i < retainedControllers_.size(); ++i) {
        if (!retainedControllers_[i] || !kind(*retainedControllers_[i])) continue;
        retainedControllers_.erase(retainedControllers_.begin() + static_cast<std::ptrdiff_t>(i));
        if (segmentedControl_) segmentedControl_->removeSegmentAtIndex(i, false);
        break;
    }
    refreshDisplayedControllerIndex();
}

void DetailsBaseViewController::setTheControllers(const std::optional<Pages>& controllers) {
    if (!controllers) return;
    retainedControllers_ = *controllers;
    setInitialSegmentedControl();
    if (!retainedControllers_.empty() && retainedControllers_.front()) attachPage(retainedControllers_.front());
}

void DetailsBaseViewController::setInitialSegmentedControl() {
    auto images = imagesArray();
    if (images.size() < 2) return;
    std::vector<uikit::UISegmentedControl::Item> items(images.begin(), images.end());
    auto control = std::make_shared<uikit::UISegmentedControl>(items);
    std::weak_ptr<DetailsBaseViewController> weak =
        std::static_pointer_cast<DetailsBaseViewController>(shared_from_this());
    control->addTarget(
        [weak](uikit::UIControl& sender) {
            if (auto screen = weak.lock()) screen->changeSegment(static_cast<uikit::UISegmentedControl&>(sender));
        },
        uikit::UIControlEventValueChanged);
    if (auto frame = segmentedControlFrameForImageCount(images.size())) control->setFrame(*frame);
    control->sizeToFit();
    control->setSelectedSegmentIndex(0);
    navigationItem()->setTitleView(control);
    segmentedControl_ = control;
}

std::vector<std::shared_ptr<uikit::UIImage>> DetailsBaseViewController::imagesArray() {
    std::vector<std::shared_ptr<uikit::UIImage>> images;
    for (const auto& page : retainedControllers_) {
        auto* screen = dynamic_cast<BaseViewController*>(page.get());
        if (!screen) continue;
        if (auto image = screen->segmentedControlImage()) images.push_back(std::move(image));
    }
    return images;
}

void DetailsBaseViewController::changeSegment(uikit::UISegmentedControl& sender) {
    showControllerAtIndex(sender.selectedSegmentIndex());
}

void DetailsBaseViewController::showControllerAtIndex(int64_t index) {
    if (retainedControllers_.empty() || index < 0 || index >= static_cast<int64_t>(retainedControllers_.size())) return;
    const auto& page = retainedControllers_[static_cast<size_t>(index)];
    if (auto* screen = dynamic_cast<BaseViewController*>(page.get())) screen->trackAnalyticsEvent();
    swapFromViewController(getDisplayedController(), page);
    displayedControllerIndex_ = static_cast<int>(index);
}

void DetailsBaseViewController::swapFromViewController(const uikit::UIViewControllerPtr& from,
                                                       const uikit::UIViewControllerPtr& to) {
    if (from) {
        from->willMoveToParentViewController(nullptr);
        from->view()->removeFromSuperview();
        from->removeFromParentViewController();
    }
    if (to) attachPage(to);
}

void DetailsBaseViewController::attachPage(const uikit::UIViewControllerPtr& page) {
    addChildViewController(page);
    auto host = pageHost();
    const auto& pageView = page->view();
    pageView->setFrame(host->bounds());
    pageView->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleWidth | uikit::UIViewAutoresizingFlexibleHeight);
    host->addSubview(pageView);
    page->didMoveToParentViewController(this);
}

std::shared_ptr<uikit::UIView> DetailsBaseViewController::pageHost() {
    if (auto container = containerView()) return container;
    return view();
}

void DetailsBaseViewController::refreshDisplayedControllerIndex() {
    const auto& children = childViewControllers();
    if (children.size() != 1) return;
    for (size_t i = 0; i < retainedControllers_.size(); ++i) {
        if (retainedControllers_[i] != children.front()) continue;
        displayedControllerIndex_ = static_cast<int>(i);
        if (segmentedControl_ && segmentedControl_->selectedSegmentIndex() != static_cast<int64_t>(i))
            segmentedControl_->setSelectedSegmentIndex(static_cast<int64_t>(i));
        return;
    }
}

uikit::UIViewControllerPtr DetailsBaseViewController::getDisplayedController() {
    if (displayedControllerIndex_ < 0 || displayedControllerIndex_ >= static_cast<int>(retainedControllers_.size()))
        return nullptr;
    return retainedControllers_[static_cast<size_t>(displayedControllerIndex_)];
}

void DetailsBaseViewController::performSelectorOnMainThread(const std::string& selector,
                                                            const foundation::ObjectPtr& object, int64_t index,
                                                            bool waitUntilDone) {
    if (index < 0 || index >= static_cast<int64_t>(retainedControllers_.size())) return;
    auto page = retainedControllers_[static_cast<size_t>(index)];
    auto* hook = dynamic_cast<DetailsPageProtocol*>(page.get());
    if (!hook || !hook->respondsToPageSelector(selector)) return;
    // Screens live on the main thread: waiting means now.
    if (waitUntilDone) {
        hook->performPageSelector(selector, object);
        return;
    }
    dispatch::Queue::main()->async([page, selector, object] {
        if (auto* later = dynamic_cast<DetailsPageProtocol*>(page.get())) later->performPageSelector(selector, object);
    });
}

void DetailsBaseViewController::updateChildControllersUIContentForObject(
    const std::shared_ptr<coredata::ManagedObject>& object) {
    for (const auto& page : retainedControllers_) {
        if (!page || dynamic_cast<DetailsBaseViewController*>(page.get())) continue;
        if (dynamic_cast<DetailsScreenSupport*>(page.get())) {
            dispatch::Queue::main()->async([page, object] {
                if (auto* details = dynamic_cast<DetailsScreenSupport*>(page.get())) details->updateUIContentForObject(object);
            });
            continue;
        }
        auto* hook = dynamic_cast<DetailsPageProtocol*>(page.get());
        if (!hook || !hook->implementsUpdateUIContentForObject()) continue;
        dispatch::Queue::main()->async([page, object] {
            if (auto* later = dynamic_cast<DetailsPageProtocol*>(page.get())) later->updateUIContentForObject(object);
        });
    }
}

// --- Swiping ---

bool DetailsBaseViewController::shouldPerformSegueWithIdentifier(const std::string& identifier,
                                                                 const foundation::ObjectPtr& sender) {
    return swipeShouldPerformSegueWithIdentifier(identifier, sender);
}

void DetailsBaseViewController::prepareForSegue(uikit::UIStoryboardSegue& segue, const foundation::ObjectPtr& sender) {
    BaseViewController::prepareForSegue(segue, sender);
    swipePrepareForSegue(segue, sender);
}
