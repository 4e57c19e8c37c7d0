#include "programme/InvitationObjectModel.h"

#include "uikit/UIColor.h"

std::optional<std::string> InvitationObjectModel::replyTitleForAction(const std::string& action) {
    if (action == "accept") return std::string(kAcceptTitle);
    if (action == "accept_with_spouse") return std::string(kAcceptWithSpouseTitle);
    if (action == "decline") return std::string(kDeclineTitle);
    if (action == "delegate") return std::string(kDelegateTitle);
    return std::nullopt;
}

graphics::Color InvitationObjectModel::colorForAlertLevel(const std::optional<std::string>& level) {
    if (level == "Positive") return uikit::UIColor::colorWithRed(0, 1, 0, 1);
    if (level == "Warning") return uikit::UIColor::orangeColor();
    if (level == "Negative") return uikit::UIColor::redColor();
    return uikit::UIColor::blackColor();
}
