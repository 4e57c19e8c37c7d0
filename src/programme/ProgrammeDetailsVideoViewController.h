// The "Live video" page of a session: the session header over a web view
// playing the session's webcast. The page turns with the device (never
// upside down). Leaving the page unloads the web view, which stops the
// video; coming back loads the webcast again, except around the system's
// full-screen player, whose end restores the tab bar by flipping tabs
// without restarting the video. Main thread only.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "lists/DetailsWithListBaseViewController.h"
#include "programme/SessionPageAnalytics.h"

class QVASessionHeaderView;

namespace uikit {
class UIStoryboard;
class UIWebView;
}  // namespace uikit

class ProgrammeDetailsVideoViewController : public DetailsWithListBaseViewController, public SessionPageAnalytics {
public:
    static constexpr const char* kStoryboardIdentifier = "ProgrammeDetailsVideoViewController";
    static constexpr const char* kAnalyticsEvent = "View session video";
    // What the system's players post (version 8 and later, then older ones).
    static constexpr const char* kPlayerItemBecameCurrentNotification = "AVPlayerItemBecameCurrentNotification";
    static constexpr const char* kWindowDidBecomeHiddenNotification = "UIWindowDidBecomeHiddenNotification";
    static constexpr const char* kMoviePlayerDidEnterFullscreenNotification =
        "UIMoviePlayerControllerDidEnterFullscreenNotification";
    static constexpr const char* kMoviePlayerDidExitFullscreenNotification =
        "UIMoviePlayerControllerDidExitFullscreenNotification";

    ProgrammeDetailsVideoViewController();
    ~ProgrammeDetailsVideoViewController() override;

    static Text storyboardIdentifier() { return std::string(kStoryboardIdentifier); }
    // The scene with the details scenes' swipe wiring.
    static void addScene(uikit::UIStoryboard& storyboard);

    // The nib's views (the web view held weakly: the page's view keeps it).
    std::shared_ptr<uikit::UIWebView> videoWebView() const { return videoWebView_.lock(); }
    std::shared_ptr<uikit::UIView> sessionHeaderContainerView() const { return sessionHeaderContainerView_.lock(); }
    const std::shared_ptr<QVASessionHeaderView>& sessionHeaderView() const { return sessionHeaderView_; }
    bool isInFullScreenMode() const { return isInFullScreenMode_; }
    bool playerItemBecameCurrent() const { return playerItemBecameCurrent_; }

    void loadView() override;
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;
    uikit::UIInterfaceOrientationMask supportedInterfaceOrientations() const override;
    bool shouldAutorotate() const override { return true; }

    // A stored session (of any kind): the header filled, the webcast
    // requested, the web view neither scrolling nor bouncing.
    void updateUIContentForObject(const std::shared_ptr<coredata::ManagedObject>& object) override;
    // The system's full-screen player has gone.
    void playerDidExitFullScreen();

    std::string className() const override { return "ProgrammeDetailsVideoViewController"; }

private:
    void unloadVideo();
    void loadVideo();

    std::weak_ptr<uikit::UIWebView> videoWebView_;
    std::weak_ptr<uikit::UIView> sessionHeaderContainerView_;
    std::shared_ptr<QVASessionHeaderView> sessionHeaderView_;
    std::optional<std::string> webcastUrl_;
    bool isInFullScreenMode_ = false;
    bool playerItemBecameCurrent_ = false;
    bool observing_ = false;
};
