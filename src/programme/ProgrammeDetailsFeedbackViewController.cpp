#include "programme/ProgrammeDetailsFeedbackViewController.h"

#include "analytics/AnalyticsUtils.h"
#include "coredata/ManagedObject.h"
#include "foundation/URL.h"
#include "foundation/URLRequest.h"
#include "lists/DetailsSwipeScene.h"
#include "model/QVACoreDataBaseSession.h"
#include "programme/ProgrammeFeedbackView.h"
#include "programme/QVASessionHeaderView.h"
#include "programme/SessionPageLayout.h"
#include "store/CoreDataStack.h"
#include "uikit/UIStoryboard.h"

namespace {

// The nib's layout: the header's container at the top, the form below it.
constexpr double kFeedbackWidth = 320;
constexpr double kFeedbackHeight = 480;

}  // namespace

ProgrammeDetailsFeedbackViewController::ProgrammeDetailsFeedbackViewController()
    : feedbackView_(ProgrammeFeedbackView::makeView()) {}

ProgrammeDetailsFeedbackViewController::~ProgrammeDetailsFeedbackViewController() {
    stopProgress();
    if (webView_) {
        webView_->setDelegate(nullptr);
        webView_->stopLoading();
    }
}

void ProgrammeDetailsFeedbackViewController::addScene(uikit::UIStoryboard& storyboard) {
    DetailsSwipeScene::addScene(storyboard, kStoryboardIdentifier,
                                [] { return std::make_shared<ProgrammeDetailsFeedbackViewController>(); });
}

void ProgrammeDetailsFeedbackViewController::loadView() {
    const double headerHeight = QVASessionHeaderView::getHeaderHeight();
    // From the storyboard: the scene's view with its swipe recognisers.
    DetailsWithListBaseViewController::loadView();
    auto root = isViewLoaded() ? view() : std::make_shared<uikit::UIView>(graphics::Rect(0, 0, kFeedbackWidth, kFeedbackHeight));
    root->setBackgroundColor(graphics::Color::white());
    auto container = std::make_shared<uikit::UIView>(graphics::Rect(0, 0, kFeedbackWidth, headerHeight));
    container->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleWidth);
    container->setOutletName(std::string("headerContainerView"));
    webView_ = std::make_shared<uikit::UIWebView>(
        graphics::Rect(0, headerHeight, kFeedbackWidth, kFeedbackHeight - headerHeight));
    webView_->setAutoresizingMask(uikit::UIViewAutoresizingFlexibleWidth | uikit::UIViewAutoresizingFlexibleHeight);
    webView_->setOutletName(std::string("webView"));
    root->addSubview(container);
    root->addSubview(webView_);
    headerContainerView_ = container;
    setView(root);
}

void ProgrammeDetailsFeedbackViewController::viewDidLoad() {
    webView_->setDelegate(std::dynamic_pointer_cast<ProgrammeDetailsFeedbackViewController>(shared_from_this()));
    DetailsWithListBaseViewController::viewDidLoad();
    isFirstLoad_ = true;
}

void ProgrammeDetailsFeedbackViewController::viewWillAppear(bool animated) {
    DetailsWithListBaseViewController::viewWillAppear(animated);
    if (!isFirstLoad_) return;
    startProgress();
    isFirstLoad_ = false;
}

void ProgrammeDetailsFeedbackViewController::updateUIContentForObject(
    const std::shared_ptr<coredata::ManagedObject>& object) {
    auto session = std::dynamic_pointer_cast<QVACoreDataBaseSession>(object);
    if (object && !session) return;
    SessionPageLayout::showSessionHeaderInContainer(*this, sessionHeaderView_, headerContainerView(), session);
    Text feedbackUrl = session ? session->feedbackUrl() : std::nullopt;
    // An address that does not parse makes a request without URL, whose
    // load fails and so ends the overlay like any other failure.
    auto url = feedbackUrl ? foundation::URL::URLWithString(*feedbackUrl) : std::nullopt;
    webView_->loadRequest(url ? foundation::URLRequest(*url) : foundation::URLRequest());
    trackAnalyticsEventForObject(object);
}

void ProgrammeDetailsFeedbackViewController::trackAnalyticsEventForObject(
    const std::shared_ptr<coredata::ManagedObject>& object) {
    foundation::ValueDictionary data;
    if (analyticsPayload_) data["Session name"] = foundation::Value(*analyticsPayload_);
    auto session = std::dynamic_pointer_cast<QVACoreDataBaseSession>(object);
    if (auto itemId = session ? session->itemId() : std::nullopt) data["Session id"] = foundation::Value(*itemId);
    AnalyticsUtils::trackEventWithNameAndData(kAnalyticsEvent, data);
}

void ProgrammeDetailsFeedbackViewController::webViewDidFinishLoad(uikit::UIWebView&) { stopProgress(); }

void ProgrammeDetailsFeedbackViewController::webViewDidFailLoadWithError(uikit::UIWebView&, const foundation::ErrorPtr&) {
    stopProgress();
}

int64_t ProgrammeDetailsFeedbackViewController::tableViewNumberOfRowsInSection(uikit::UITableView&, int64_t) { return 0; }
