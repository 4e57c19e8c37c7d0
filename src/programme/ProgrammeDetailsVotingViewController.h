// The "Voting" page of a session: a web view loading the voting page stored
// for the session, under the progress overlay until the load ends, well or
// not, with no message either way. No download writes the stored links, so a
// session without one loads its own voting address, the one that made the
// opener offer the page. The opener offers the page only online. Main thread only.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "lists/DetailsBaseViewController.h"
#include "programme/SessionPageAnalytics.h"
#include "uikit/UIWebView.h"

namespace uikit {
class UIStoryboard;
}

class ProgrammeDetailsVotingViewController : public DetailsBaseViewController,
                                             public SessionPageAnalytics,
                                             public uikit::UIWebViewDelegate {
public:
    static constexpr const char* kStoryboardIdentifier = "ProgrammeDetailsVotingViewController";
    static constexpr const char* kAnalyticsEvent = "View session voting page";

    ProgrammeDetailsVotingViewController();
    ~ProgrammeDetailsVotingViewController() override;

    static Text storyboardIdentifier() { return std::string(kStoryboardIdentifier); }
    // The scene with the details scenes' swipe wiring.
    static void addScene(uikit::UIStoryboard& storyboard);

    // The nib's views; the header's container stays empty.
    const std::shared_ptr<uikit::UIWebView>& webView() const { return webView_; }
    std::shared_ptr<uikit::UIView> sessionHeaderContainerView() const { return sessionHeaderContainerView_.lock(); }
    const Text& votingUrl() const { return votingUrl_; }

    void loadView() override;
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    // The voting link stored for an official session, read where the session
    // is held; nil for anything else.
    void updateUIContentForObject(const std::shared_ptr<coredata::ManagedObject>& object) override;

    void webViewDidFinishLoad(uikit::UIWebView& webView) override;
    void webViewDidFailLoadWithError(uikit::UIWebView& webView, const foundation::ErrorPtr& error) override;

    std::string className() const override { return "ProgrammeDetailsVotingViewController"; }

private:
    std::shared_ptr<uikit::UIWebView> webView_;
    std::weak_ptr<uikit::UIView> sessionHeaderContainerView_;
    Text votingUrl_;
};
