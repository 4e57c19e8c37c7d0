// The "Reports" list: the documents of the meeting's reports feed.
#pragma once

#include "people/DocumentsListDelegate.h"

class ReportsListDelegate : public DocumentsListDelegate {
public:
    static constexpr const char* kAnalyticsEventName = "View reports";

    std::string entityName() override;
    std::optional<std::vector<std::string>> entitiesArrayToObserveForFilteringUIUpdates() override;
    Text getAnalyticsEventName() override { return std::string(kAnalyticsEventName); }
    std::string className() const override { return "ReportsListDelegate"; }
};
