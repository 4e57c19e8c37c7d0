#include "programme/ProgrammeDetailsVideoViewController.h"

#include "Utils/Utils.h"
#include "app/EventsTabBarController.h"
#include "coredata/ManagedObject.h"
#include "foundation/NotificationCenter.h"
#include "foundation/URL.h"
#include "foundation/URLRequest.h"
#include "lists/DetailsSwipeScene.h"
#include "model/QVACoreDataBaseSession.h"
#include "programme/QVASessionHeaderView.h"
#include "programme/SessionPageLayout.h"
#include "store/CoreDataStack.h"
#include "uikit/UIApplication.h"
#include "uikit/UIStoryboard.h"
#include "uikit/UIWebView.h"

void ProgrammeDetailsVideoViewController::addScene(uikit::UIStoryboard& storyboard) {
    DetailsSwipeScene::addScene(storyboard, kStoryboardIdentifier,
                                [] { return std::make_shared<ProgrammeDetailsVideoViewController>(); });
}

ProgrammeDetailsVideoViewController::ProgrammeDetailsVideoViewController() = default;

ProgrammeDetailsVideoViewController::~ProgrammeDetailsVideoViewController() {
    if (auto webView = videoWebView_.lock()) {
        webView->setDelegate(nullptr);
        webView->stopLoading();
    }
    if (observing_) foundation::NotificationCenter::defaultCenter().removeObserver(this);
}

void ProgrammeDetailsVideoViewController::loadView() {
    DetailsWithListBaseViewController::loadView();
    auto page = SessionPageLayout::addHeaderAndWebView(*this, QVASessionHeaderView::getHeaderHeight(), "videoWebView");
    sessionHeaderContainerView_ = page.headerContainer;
    videoWebView_ = page.webView;
}

void ProgrammeDetailsVideoViewController::viewDidLoad() {
    DetailsWithListBaseViewController::viewDidLoad();
    if (auto webView = videoWebView()) webView->setScalesPageToFit(true);
    auto& center = foundation::NotificationCenter::defaultCenter();
    // The center calls back on the posting thread; the players post on the main one.
    if (Utils::isIOS8OrMore()) {
        center.addObserver(
            this, [this](const foundation::Notification&) { playerItemBecameCurrent_ = true; },
            kPlayerItemBecameCurrentNotification);
        center.addObserver(
            this, [this](const foundation::Notification&) { playerDidExitFullScreen(); },
            kWindowDidBecomeHiddenNotification);
    } else {
        center.addObserver(
            this, [this](const foundation::Notification&) { isInFullScreenMode_ = true; },
            kMoviePlayerDidEnterFullscreenNotification);
        center.addObserver(
            this, [this](const foundation::Notification&) { playerDidExitFullScreen(); },
            kMoviePlayerDidExitFullscreenNotification);
    }
    observing_ = true;
    trackSessionPageEvent(kAnalyticsEvent, selectionPropertyId());
}

uikit::UIInterfaceOrientationMask ProgrammeDetailsVideoViewController::supportedInterfaceOrientations() const {
    return uikit::UIInterfaceOrientationMaskPortrait | uikit::UIInterfaceOrientationMaskLandscape;
}

void ProgrammeDetailsVideoViewController::viewWillAppear(bool animated) {
    DetailsWithListBaseViewController::viewWillAppear(animated);
    if (isInFullScreenMode_) return;
    unloadVideo();
    loadVideo();
}

void ProgrammeDetailsVideoViewController::viewWillDisappear(bool animated) {
    // An unloaded page stops the video the person is leaving.
    if (!isInFullScreenMode_) unloadVideo();
    DetailsWithListBaseViewController::viewWillDisappear(animated);
}

void ProgrammeDetailsVideoViewController::updateUIContentForObject(
    const std::shared_ptr<coredata::ManagedObject>& object) {
    auto session = std::dynamic_pointer_cast<QVACoreDataBaseSession>(object);
    if (!session) return;
    SessionPageLayout::showSessionHeaderInContainer(*this, sessionHeaderView_, sessionHeaderContainerView(), session);
    webcastUrl_ = session->webcastUrl();
    loadVideo();
    if (auto webView = videoWebView()) {
        webView->scrollView().setScrollEnabled(false);
        webView->scrollView().setBounces(false);
    }
}

void ProgrammeDetailsVideoViewController::unloadVideo() {
    if (auto webView = videoWebView()) webView->loadHTMLString(std::string(), std::nullopt);
}

void ProgrammeDetailsVideoViewController::loadVideo() {
    auto webView = videoWebView();
    if (!webView || !webcastUrl_) return;
    // An address that does not parse fails to load, as the page shows offline.
    auto url = foundation::URL::URLWithString(*webcastUrl_);
    webView->loadRequest(url ? foundation::URLRequest(*url) : foundation::URLRequest());
}

void ProgrammeDetailsVideoViewController::playerDidExitFullScreen() {
    isInFullScreenMode_ = false;
    const bool restoreBar = Utils::isIOS8OrMore() ? playerItemBecameCurrent_ && !Utils::isIPad() : !Utils::isIPad();
    if (!restoreBar) return;
    // The tab flip makes the page disappear and appear again: held in full
    // screen meanwhile, it keeps the video playing.
    isInFullScreenMode_ = true;
    uikit::UIApplication::sharedApplication().setStatusBarOrientation(uikit::UIInterfaceOrientation::Portrait);
    if (auto tabBar = eventsTabBarController()) tabBar->flipTabsToCorrectVideoBar();
    isInFullScreenMode_ = false;
}
