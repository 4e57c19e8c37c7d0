// The "Recommended" page of a session: the session header over one section,
// "You may also be interested in", of the sessions the service recommended
// for it (handed over by the opener as `extraInfo`), as session rows. A tap
// opens the recommended session's details, which swipe through the list
// when it holds more than one. Saves of agenda roles or session notes
// refresh the rows' icons. Main thread only.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "lists/DetailsWithListBaseViewController.h"

class ListSessionsBaseDelegate;
class QVASession;
class QVASessionHeaderView;

namespace uikit {
class UIStoryboard;
}

class SessionRecommendationsViewController : public DetailsWithListBaseViewController {
public:
    static constexpr const char* kStoryboardIdentifier = "sessionRecommendationsStoryboardId";
    static constexpr const char* kTitle = "Recommended";
    static constexpr const char* kSectionTitle = "You may also be interested in";
    static constexpr const char* kDetailsSegue = "pushRecommendedSessionDetails";
    static constexpr const char* kAnalyticsEvent = "View session recommendations";
    // The scene the details segue opens.
    static constexpr const char* kDetailsScene = "ProgrammeDetailsViewController";

    SessionRecommendationsViewController();

    static Text storyboardIdentifier() { return std::string(kStoryboardIdentifier); }
    // The scene with its push to the session details.
    static void addScene(uikit::UIStoryboard& storyboard);

    using Sessions = std::vector<std::shared_ptr<QVASession>>;
    const Sessions& extraInfo() const { return extraInfo_; }
    void setExtraInfo(Sessions sessions) { extraInfo_ = std::move(sessions); }
    const Text& analyticsPayload() const { return analyticsPayload_; }
    void setAnalyticsPayload(Text payload) { analyticsPayload_ = std::move(payload); }
    const std::shared_ptr<ListSessionsBaseDelegate>& sessionsDelegate() const { return sessionsDelegate_; }
    const std::shared_ptr<QVASessionHeaderView>& sessionHeaderView() const { return sessionHeaderView_; }

    void loadView() override;
    void viewDidLoad() override;
    void trackAnalyticsEvent() override;
    // A stored session: the header (installed once) filled, the rows' data
    // refreshed, the table reloaded. Anything else is ignored.
    void updateUIContentForObject(const std::shared_ptr<coredata::ManagedObject>& object) override;
    std::vector<std::string> entitiesArrayToObserveForFilteringUIUpdates() override;
    // Any saved agenda role or session note may change a row's icons.
    std::shared_ptr<const coredata::Predicate> filterPredicateForObservedEntityType(const std::string& entityName) override;

    std::string cellIdentifier() override;
    std::optional<std::string> tableViewGetTitleForHeaderInSection(uikit::UITableView& tableView, int64_t section) override;
    uikit::UITableViewCellPtr tableViewCellForRowAtIndexPath(uikit::UITableView& tableView,
                                                             const uikit::NSIndexPath& indexPath) override;
    std::optional<double> tableViewHeightForRowAtIndexPath(uikit::UITableView& tableView,
                                                           const uikit::NSIndexPath& indexPath) override;
    void tableViewDidSelectRowAtIndexPath(uikit::UITableView& tableView, const uikit::NSIndexPath& indexPath) override;
    void prepareForSegue(uikit::UIStoryboardSegue& segue, const foundation::ObjectPtr& sender) override;

    std::string className() const override { return "SessionRecommendationsViewController"; }

private:
    std::shared_ptr<QVASession> sessionAtRow(int64_t row) const;

    Sessions extraInfo_;
    Text analyticsPayload_;
    std::shared_ptr<ListSessionsBaseDelegate> sessionsDelegate_;
    std::shared_ptr<QVASessionHeaderView> sessionHeaderView_;
};
