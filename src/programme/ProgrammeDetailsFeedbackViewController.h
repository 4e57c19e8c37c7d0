// The "Feedback" page of a session: the session header above a web view
// that loads the session's feedback form, a page of the service. The
// progress overlay covers the page from its first appearance until the
// first load ends, well or not, with no message either way; each later
// update loads the form again without it. Leaving the page stops the load.
// Main thread only.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "lists/DetailsWithListBaseViewController.h"
#include "uikit/UIWebView.h"

class ProgrammeFeedbackView;
class QVASessionHeaderView;

namespace uikit {
class UIStoryboard;
}

class ProgrammeDetailsFeedbackViewController : public DetailsWithListBaseViewController,
                                               public uikit::UIWebViewDelegate {
public:
    static constexpr const char* kStoryboardIdentifier = "ProgrammeDetailsFeedbackViewController";
    static constexpr const char* kAnalyticsEvent = "View session feedback";

    ProgrammeDetailsFeedbackViewController();
    ~ProgrammeDetailsFeedbackViewController() override;

    static Text storyboardIdentifier() { return std::string(kStoryboardIdentifier); }
    static void addScene(uikit::UIStoryboard& storyboard);

    // The nib's views.
    const std::shared_ptr<uikit::UIWebView>& webView() const { return webView_; }
    std::shared_ptr<uikit::UIView> headerContainerView() const { return headerContainerView_.lock(); }
    const std::shared_ptr<QVASessionHeaderView>& sessionHeaderView() const { return sessionHeaderView_; }
    // Kept, never shown.
    const std::shared_ptr<ProgrammeFeedbackView>& feedbackView() const { return feedbackView_; }
    bool isFirstLoad() const { return isFirstLoad_; }
    const Text& analyticsPayload() const { return analyticsPayload_; }
    void setAnalyticsPayload(Text payload) { analyticsPayload_ = std::move(payload); }

    void loadView() override;
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    // Nil or a stored session: the header (added once) filled, the form
    // loaded, the event tracked. Any other object is ignored.
    void updateUIContentForObject(const std::shared_ptr<coredata::ManagedObject>& object) override;
    void trackAnalyticsEventForObject(const std::shared_ptr<coredata::ManagedObject>& object);

    void webViewDidFinishLoad(uikit::UIWebView& webView) override;
    void webViewDidFailLoadWithError(uikit::UIWebView& webView, const foundation::ErrorPtr& error) override;

    std::string cellIdentifier() override { return "feedbackCell"; }
    int64_t tableViewNumberOfRowsInSection(uikit::UITableView& tableView, int64_t section) override;
    std::string className() const override { return "ProgrammeDetailsFeedbackViewController"; }

private:
    std::shared_ptr<uikit::UIWebView> webView_;
    std::weak_ptr<uikit::UIView> headerContainerView_;
    std::shared_ptr<QVASessionHeaderView> sessionHeaderView_;
    std::shared_ptr<ProgrammeFeedbackView> feedbackView_;
    bool isFirstLoad_ = false;
    Text analyticsPayload_;
};
