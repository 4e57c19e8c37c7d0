#include "people/ParticipantRowActions.h"

#include "Utils/Utils.h"
#include "api/QVAApiManager.h"
#include "app/BaseViewController.h"
#include "foundation/Log.h"
#include "lists/DetailsScreenSupport.h"
#include "lists/SwipeParentControllerProtocol.h"
#include "model/QVACoreDataParticipant.h"
#include "lists/FavoriteButton.h"
#include "people/ParticipantCell.h"
#include "people/ParticipantDetailsViewController.h"
#include "settings/ApplicationSettingsStore.h"
#include "uikit/UIControl.h"
#include "uikit/UINavigationController.h"
#include "uikit/UITableView.h"

void ParticipantToDetailsSegue::perform() {
    const auto& source = sourceViewController();
    auto navigation = source ? source->navigationController() : nullptr;
    if (navigation && destinationViewController()) navigation->pushViewController(destinationViewController(), true);
}

namespace ParticipantRowActions {

void openParticipantDetails(BaseViewController& list, const uikit::NSIndexPath& indexPath,
                            const std::optional<std::string>& participantId, bool isSwipeEnabled) {
    auto details = BaseViewController::instantiateViewController<ParticipantDetailsViewController>();
    if (!details) return;
    auto source = std::static_pointer_cast<uikit::UIViewController>(list.shared_from_this());
    auto segue = std::make_shared<ParticipantToDetailsSegue>(ParticipantToDetailsSegue::kIdentifier, source, details);
    details->setInputs({participantId, std::string(QVACoreDataParticipant::kEntityName),
                        std::dynamic_pointer_cast<SwipeParentControllerProtocol>(source), indexPath, isSwipeEnabled});
    segue->perform();
}

std::optional<uikit::NSIndexPath> indexPathOfStar(const uikit::UIControl& star, uikit::UITableView& table) {
    const auto bounds = star.bounds();
    const graphics::Point centre{bounds.origin.x + bounds.size.width / 2, bounds.origin.y + bounds.size.height / 2};
    return table.indexPathForRowAtPoint(star.convertPointToView(centre, &table));
}

bool checkReachableOrAlert() {
    if (Utils::isInternetReachable()) return true;
    Utils::displayAlertViewWithMessage(std::string(kOfflineMessage), std::string(kOfflineTitle));
    return false;
}

void toggleFavorite(const std::shared_ptr<QVAFollowedParticipant>& person, bool isFavorite) {
    if (!person) return;
    const auto& settings = ApplicationSettingsStore::sharedApplicationSettingsStore();
    QVAApiManager::sharedApiManager().setFavoriteStatus(
        !isFavorite, person, settings.currentAuthToken(), settings.currentEventId(),
        [](const foundation::ErrorPtr& error, const foundation::Value&) {
            if (error) foundation::Log(kFavoriteFailureLog);
        });
}

void followFromStar(uikit::UIControl& star, const std::shared_ptr<uikit::UITableView>& table,
                    const ParticipantAtIndexPath& participantAt) {
    if (!checkReachableOrAlert()) return;
    if (!table) return;
    auto indexPath = indexPathOfStar(star, *table);
    auto* favorite = dynamic_cast<FavoriteButton*>(&star);
    if (!indexPath || !favorite) return;
    if (auto person = participantAt(*indexPath)) toggleFavorite(person, favorite->isFavorite());
}

void wireStar(ParticipantCell& cell, std::function<void(uikit::UIControl& star)> action) {
    auto star = cell.favoriteButton();
    if (!star) return;
    star->removeTargetsForControlEvents(uikit::UIControlEventTouchUpInside);
    star->addTarget(std::move(action), uikit::UIControlEventTouchUpInside);
}

}  // namespace ParticipantRowActions
