// Who hears the choice made on the pad's list of a member's options: the
// option picked (0 switch user, 1 change password) or the list cancelled,
// each with the member's id. Main thread only.
#pragma once

#include <optional>
#include <string>

class LoginDelegatorsOptionsViewController;

class LoginDelegatorsOptionsDelegate {
public:
    using Text = std::optional<std::string>;

    static constexpr int kSwitchUserActionType = 0;
    static constexpr int kChangePasswordActionType = 1;

    virtual ~LoginDelegatorsOptionsDelegate() = default;
    virtual void controller(LoginDelegatorsOptionsViewController& controller, int actionSelectedWithType,
                            const Text& forLoginDelegatorId) = 0;
    virtual void controller(LoginDelegatorsOptionsViewController& controller, const Text& actionCanceledForLoginDelegatorId) = 0;
};
