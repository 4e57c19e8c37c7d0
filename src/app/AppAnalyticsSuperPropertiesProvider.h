// The app's source of the analytics super-properties: the current meeting's
// id and name and the current account's user id, read from the settings
// store each time they are asked for.
#pragma once

#include "analytics/AnalyticsSuperPropertiesProvider.h"

class AppAnalyticsSuperPropertiesProvider : public AnalyticsSuperPropertiesProvider {
public:
    std::optional<std::string> eventId() const override;
    std::optional<std::string> eventName() const override;
    std::optional<std::string> userId() const override;
};
