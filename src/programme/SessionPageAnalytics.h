// What a session's sub-page keeps for its analytics: the session name its
// opener hands over, sent with the session's id under the page's event.
#pragma once

#include <optional>
#include <string>
#include <utility>

class SessionPageAnalytics {
public:
    virtual ~SessionPageAnalytics() = default;

    const std::optional<std::string>& analyticsPayload() const { return analyticsPayload_; }
    void setAnalyticsPayload(std::optional<std::string> payload) { analyticsPayload_ = std::move(payload); }

protected:
    // {"Session name": payload, "Session id": id}, each only when known.
    void trackSessionPageEvent(const std::string& eventName, const std::optional<std::string>& sessionId) const;

private:
    std::optional<std::string> analyticsPayload_;
};
