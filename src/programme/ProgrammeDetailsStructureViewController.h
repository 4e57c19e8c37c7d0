// The "Structure" page of a session: the session header over a web view
// showing the session's structure, an HTML fragment set in the programme's
// light body font. Needs nothing from the network. Main thread only.
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

class ProgrammeDetailsStructureViewController : public DetailsWithListBaseViewController, public SessionPageAnalytics {
public:
    static constexpr const char* kStoryboardIdentifier = "ProgrammeDetailsStructureViewController";
    static constexpr const char* kAnalyticsEvent = "View session structure";
    static constexpr const char* kHtmlFormat =
        "<html><head></head><body style=\"font-family: HelveticaNeue-Light; \">%@</body></html>";

    static Text storyboardIdentifier() { return std::string(kStoryboardIdentifier); }
    // The scene with the details scenes' swipe wiring.
    static void addScene(uikit::UIStoryboard& storyboard);

    // The nib's views.
    const std::shared_ptr<uikit::UIWebView>& structureWebView() const { return structureWebView_; }
    std::shared_ptr<uikit::UIView> sessionHeaderContainerView() const { return sessionHeaderContainerView_.lock(); }
    const std::shared_ptr<QVASessionHeaderView>& sessionHeaderView() const { return sessionHeaderView_; }

    void loadView() override;
    void viewDidLoad() override;
    // A stored session (of any kind): the header filled, the structure loaded
    // without base URL. Anything else leaves the page as it is.
    void updateUIContentForObject(const std::shared_ptr<coredata::ManagedObject>& object) override;

    std::string className() const override { return "ProgrammeDetailsStructureViewController"; }

private:
    std::shared_ptr<uikit::UIWebView> structureWebView_;
    std::weak_ptr<uikit::UIView> sessionHeaderContainerView_;
    std::shared_ptr<QVASessionHeaderView> sessionHeaderView_;
};
