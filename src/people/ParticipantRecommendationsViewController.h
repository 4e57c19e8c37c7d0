// The "Recommended" page of a participant: one section, "You may also be
// interested in", of the participants the service recommended (handed over
// as `extraInfo`), as participant rows with their note and star marks. A
// tap opens the participant's details, which swipe through the page when it
// holds two or more rows; the star follows or unfollows. Saves of notes or
// followed participants refresh the marks. Main thread only.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "lists/LiteListBaseViewController.h"

class ParticipantsListBaseDelegate;
class QVAParticipant;

namespace uikit {
class UIControl;
class UIStoryboard;
}  // namespace uikit

class ParticipantRecommendationsViewController : public LiteListBaseViewController {
public:
    static constexpr const char* kStoryboardIdentifier = "participantRecommendationsStoryboardId";
    static constexpr const char* kTitle = "Recommended";
    static constexpr const char* kSectionTitle = "You may also be interested in";
    static constexpr const char* kAnalyticsEvent = "View participant recommendations";
    static constexpr double kRowHeight = 80;

    ParticipantRecommendationsViewController();

    static Text storyboardIdentifier() { return std::string(kStoryboardIdentifier); }
    static void addScene(uikit::UIStoryboard& storyboard);

    using Participants = std::vector<std::shared_ptr<QVAParticipant>>;
    const Text& selectionPropertyId() const { return selectionPropertyId_; }
    void setSelectionPropertyId(Text id) { selectionPropertyId_ = std::move(id); }
    const Participants& extraInfo() const { return extraInfo_; }
    void setExtraInfo(Participants participants) { extraInfo_ = std::move(participants); }
    const Text& analyticsPayload() const { return analyticsPayload_; }
    void setAnalyticsPayload(Text payload) { analyticsPayload_ = std::move(payload); }
    const std::shared_ptr<ParticipantsListBaseDelegate>& participantsDelegate() const { return participantsDelegate_; }

    void loadView() override;
    void viewDidLoad() override;
    std::vector<std::string> entitiesArrayToObserveForFilteringUIUpdates() override;
    // Raises off the main thread; the marks reloaded, then the table.
    void updateUiContentBecauseItsNeeded() override;

    std::string cellIdentifier() override;
    std::optional<std::string> tableViewGetTitleForHeaderInSection(uikit::UITableView& tableView, int64_t section) override;
    uikit::UITableViewCellPtr tableViewCellForRowAtIndexPath(uikit::UITableView& tableView,
                                                             const uikit::NSIndexPath& indexPath) override;
    std::optional<double> tableViewHeightForRowAtIndexPath(uikit::UITableView& tableView,
                                                           const uikit::NSIndexPath& indexPath) override;
    void tableViewDidSelectRowAtIndexPath(uikit::UITableView& tableView, const uikit::NSIndexPath& indexPath) override;
    // The star of a row: see ParticipantRowActions::toggleFavorite.
    void checkButtonTapped(uikit::UIControl& star);

    std::string className() const override { return "ParticipantRecommendationsViewController"; }

private:
    std::shared_ptr<QVAParticipant> participantAtRow(int64_t row) const;

    Text selectionPropertyId_;
    Participants extraInfo_;
    Text analyticsPayload_;
    std::shared_ptr<ParticipantsListBaseDelegate> participantsDelegate_;
};
