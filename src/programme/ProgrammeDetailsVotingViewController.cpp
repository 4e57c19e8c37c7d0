#include "programme/ProgrammeDetailsVotingViewController.h"

#include "coredata/ManagedObject.h"
#include "foundation/URL.h"
#include "foundation/URLRequest.h"
#include "lists/DetailsSwipeScene.h"
#include "model/QVACoreDataBaseSession.h"
#include "programme/SessionPageLayout.h"
#include "store/FetchRequestUtils.h"
#include "uikit/UIStoryboard.h"

void ProgrammeDetailsVotingViewController::addScene(uikit::UIStoryboard& storyboard) {
    DetailsSwipeScene::addScene(storyboard, kStoryboardIdentifier,
                                [] { return std::make_shared<ProgrammeDetailsVotingViewController>(); });
}

ProgrammeDetailsVotingViewController::ProgrammeDetailsVotingViewController() = default;

ProgrammeDetailsVotingViewController::~ProgrammeDetailsVotingViewController() {
    if (webView_) {
        webView_->setDelegate(nullptr);
        webView_->stopLoading();
    }
}

void ProgrammeDetailsVotingViewController::loadView() {
    DetailsBaseViewController::loadView();
    auto page = SessionPageLayout::addHeaderAndWebView(*this, 0, "webView");
    sessionHeaderContainerView_ = page.headerContainer;
    webView_ = page.webView;
}

void ProgrammeDetailsVotingViewController::viewDidLoad() {
    webView_->setDelegate(std::dynamic_pointer_cast<ProgrammeDetailsVotingViewController>(shared_from_this()));
    DetailsBaseViewController::viewDidLoad();
    trackSessionPageEvent(kAnalyticsEvent, selectionPropertyId());
}

void ProgrammeDetailsVotingViewController::viewWillAppear(bool animated) {
    DetailsBaseViewController::viewWillAppear(animated);
    if (!votingUrl_) return;
    startProgress();
    // An address that does not parse fails to load, which ends the overlay.
    auto url = foundation::URL::URLWithString(*votingUrl_);
    webView_->loadRequest(url ? foundation::URLRequest(*url) : foundation::URLRequest());
}

void ProgrammeDetailsVotingViewController::updateUIContentForObject(
    const std::shared_ptr<coredata::ManagedObject>& object) {
    // An agenda row shows a session too: its voting link is the session's.
    auto session = std::dynamic_pointer_cast<QVACoreDataBaseSession>(object);
    auto itemId = session ? session->itemId() : std::nullopt;
    votingUrl_ = itemId ? FetchRequestUtils::getSessionVotingUrl(*itemId, session->managedObjectContext()) : std::nullopt;
    if (session && (!votingUrl_ || votingUrl_->empty())) votingUrl_ = session->votingUrl();
}

void ProgrammeDetailsVotingViewController::webViewDidFinishLoad(uikit::UIWebView&) { stopProgress(); }

void ProgrammeDetailsVotingViewController::webViewDidFailLoadWithError(uikit::UIWebView&, const foundation::ErrorPtr&) {
    stopProgress();
}
