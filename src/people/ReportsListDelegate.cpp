#include "people/ReportsListDelegate.h"

#include "model/QVACoreDataReportsDocument.h"

std::string ReportsListDelegate::entityName() { return QVACoreDataReportsDocument::kEntityName; }

std::optional<std::vector<std::string>> ReportsListDelegate::entitiesArrayToObserveForFilteringUIUpdates() {
    return std::vector<std::string>{QVACoreDataReportsDocument::kEntityName};
}
