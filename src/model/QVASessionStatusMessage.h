// The live status of one session (alert level, fill, messages and the actions
// the detail screen may offer), loaded on demand; never stored.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "foundation/Object.h"
#include "foundation/Value.h"

class QVASessionStatusMessage : public foundation::Object {
public:
    static constexpr const char* kClassName = "QVASessionStatusMessage";

    QVASessionStatusMessage() = default;
    static std::shared_ptr<QVASessionStatusMessage> initWithDictionary(const foundation::Value& dictionary);

    const std::optional<std::string>& alertLevel() const { return alertLevel_; }
    int32_t occupencyPercent() const { return occupencyPercent_; }
    int32_t remainingCapacity() const { return remainingCapacity_; }
    // "" when the service sends none.
    const std::string& longMessage() const { return longMessage_; }
    const std::string& shortMessage() const { return shortMessage_; }
    // The service's array as it came; absent when missing or not an array.
    const foundation::Value& actions() const { return actions_; }
    const std::optional<std::string>& invitationMessage() const { return invitationMessage_; }
    const std::optional<std::string>& invitationAlertLevel() const { return invitationAlertLevel_; }

    std::string className() const override { return kClassName; }

private:
    std::optional<std::string> alertLevel_;
    int32_t occupencyPercent_ = 0;
    int32_t remainingCapacity_ = 0;
    std::string longMessage_;
    std::string shortMessage_;
    foundation::Value actions_;
    std::optional<std::string> invitationMessage_;
    std::optional<std::string> invitationAlertLevel_;
};
