#include "programme/SessionPageAnalytics.h"

#include "analytics/AnalyticsUtils.h"
#include "foundation/Value.h"

void SessionPageAnalytics::trackSessionPageEvent(const std::string& eventName, const std::optional<std::string>& sessionId) const {
    foundation::ValueDictionary data;
    if (analyticsPayload_) data["Session name"] = foundation::Value(*analyticsPayload_);
    if (sessionId) data["Session id"] = foundation::Value(*sessionId);
    AnalyticsUtils::trackEventWithNameAndData(eventName, data);
}
