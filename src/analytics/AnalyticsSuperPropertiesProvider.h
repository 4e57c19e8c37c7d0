// Where the analytics facade reads the current meeting and account from. The
// facade knows nothing of the app; the app registers a provider backed by its
// settings store at start-up. Each answer is absent when nothing is set.
#pragma once

#include <optional>
#include <string>

class AnalyticsSuperPropertiesProvider {
public:
    virtual ~AnalyticsSuperPropertiesProvider() = default;
    virtual std::optional<std::string> eventId() const = 0;
    virtual std::optional<std::string> eventName() const = 0;
    virtual std::optional<std::string> userId() const = 0;
};
