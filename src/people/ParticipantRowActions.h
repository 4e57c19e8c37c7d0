// What the small participant lists (the recommendations page and an
// organisation's participants) do with a row: open the participant's
// details through the custom segue "participantToDetailsSegId", which
// pushes them animated, and follow or unfollow from the row's star, each
// list only saying which participant a row holds. Main thread only.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "model/QVAFollowedParticipant.h"
#include "uikit/NSIndexPath.h"
#include "uikit/UIStoryboardSegue.h"

class BaseViewController;
class ParticipantCell;

namespace uikit {
class UIControl;
class UITableView;
}  // namespace uikit

// The custom segue: pushes its destination, animated, on the source's navigation controller.
class ParticipantToDetailsSegue : public uikit::UIStoryboardSegue {
public:
    static constexpr const char* kIdentifier = "participantToDetailsSegId";

    using uikit::UIStoryboardSegue::UIStoryboardSegue;
    void perform() override;
    std::string className() const override { return "ParticipantToDetailsSegue"; }
};

namespace ParticipantRowActions {

inline constexpr const char* kOfflineTitle = "Unable to complete request!";
inline constexpr const char* kOfflineMessage = "No internet connection!";
inline constexpr const char* kFavoriteFailureLog = "Unable to change the favorited status of the participant.";

// A new participant details screen for the row, prepared (the list as swipe
// parent, the index path, the id, the participant entity, swiping) and pushed.
void openParticipantDetails(BaseViewController& list, const uikit::NSIndexPath& indexPath,
                            const std::optional<std::string>& participantId, bool isSwipeEnabled);

// The row whose star is the sender: its index path in the table, from the star's centre.
std::optional<uikit::NSIndexPath> indexPathOfStar(const uikit::UIControl& star, uikit::UITableView& table);

// Offline: the alert and nothing sent. Otherwise the follow service asked for
// the opposite of `isFavorite`; a failure is logged. The row's star changes
// when the store's save reaches the list.
void toggleFavorite(const std::shared_ptr<QVAFollowedParticipant>& person, bool isFavorite);

// Whether the service may be asked now; shows the offline alert when not.
bool checkReachableOrAlert();

// The cell's star sends `action` on touch-up-inside, replacing what an
// earlier use of the reused cell registered.
void wireStar(ParticipantCell& cell, std::function<void(uikit::UIControl& star)> action);

// The cell's star calls the list's checkButtonTapped, the list held weakly.
template <class List>
void wireStarToList(ParticipantCell& cell, const std::shared_ptr<List>& list) {
    std::weak_ptr<List> weak = list;
    wireStar(cell, [weak](uikit::UIControl& star) {
        if (auto owner = weak.lock()) owner->checkButtonTapped(star);
    });
}

// What the follow service takes for a participant row or stored participant.
template <class Participant>
std::shared_ptr<QVAFollowedParticipant> followedParticipantFrom(const Participant& participant) {
    return QVAFollowedParticipant::initWithId(participant.itemId(), participant.firstName(), participant.lastName(),
                                              participant.fullName());
}

// A star of the table was tapped: offline the alert; else the participant
// `participantAt` gives for the star's row (none: nothing) follows or
// unfollows, the opposite of the star's state.
using ParticipantAtIndexPath = std::function<std::shared_ptr<QVAFollowedParticipant>(const uikit::NSIndexPath&)>;
void followFromStar(uikit::UIControl& star, const std::shared_ptr<uikit::UITableView>& table,
                    const ParticipantAtIndexPath& participantAt);

}  // namespace ParticipantRowActions
