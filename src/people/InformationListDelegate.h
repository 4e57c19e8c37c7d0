// The "Information" list: the meeting's information documents, one section
// per category, by title within it.
#pragma once

#include "people/DocumentsListDelegate.h"

class InformationListDelegate : public DocumentsListDelegate {
public:
    static constexpr const char* kAnalyticsEventName = "View useful information";

    std::string entityName() override;
    SortDescriptors sortDescriptors() override;
    Text sectionNameKeyPath() override { return std::string("category"); }
    std::optional<std::vector<std::string>> entitiesArrayToObserveForFilteringUIUpdates() override;
    Text getAnalyticsEventName() override { return std::string(kAnalyticsEventName); }
    std::string className() const override { return "InformationListDelegate"; }
};
