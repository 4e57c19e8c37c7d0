// What the invitation part of the session detail screen shows and offers:
// the service's invitation message in the invitation's alert colour, the
// reply titles the service allows now, and the reply the user chose (a reply
// title, or the delegate's name for a delegation). Also the one mapping
// between the service's invitation actions and the reply titles the lists
// show and the code compares.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "foundation/Object.h"
#include "graphics/Color.h"

class InvitationObjectModel : public foundation::Object {
public:
    static constexpr const char* kAcceptTitle = "Accept";
    static constexpr const char* kAcceptWithSpouseTitle = "Accept with Spouse";
    static constexpr const char* kDeclineTitle = "Decline";
    static constexpr const char* kDelegateTitle = "Delegate";

    // The reply title of a service action ("accept", "accept_with_spouse",
    // "decline", "delegate"); none for any other.
    static std::optional<std::string> replyTitleForAction(const std::string& action);
    // Pure green, the system orange, the system red for "Positive",
    // "Warning", "Negative" (exactly); black otherwise.
    static graphics::Color colorForAlertLevel(const std::optional<std::string>& level);

    const std::optional<std::string>& statusText() const { return statusText_; }
    void setStatusText(std::optional<std::string> text) { statusText_ = std::move(text); }
    const graphics::Color& statusTextColor() const { return statusTextColor_; }
    void setStatusTextColor(const graphics::Color& color) { statusTextColor_ = color; }
    const std::vector<std::string>& invitationActions() const { return invitationActions_; }
    std::vector<std::string>& invitationActions() { return invitationActions_; }
    const std::optional<std::string>& selectedValue() const { return selectedValue_; }
    void setSelectedValue(std::optional<std::string> value) { selectedValue_ = std::move(value); }

    std::string className() const override { return "InvitationObjectModel"; }

private:
    std::optional<std::string> statusText_;
    graphics::Color statusTextColor_ = graphics::Color::black();
    std::vector<std::string> invitationActions_;
    std::optional<std::string> selectedValue_;
};
