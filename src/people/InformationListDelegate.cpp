#include "people/InformationListDelegate.h"

#include "coredata/SortDescriptor.h"
#include "model/QVACoreDataInformationDocument.h"

std::string InformationListDelegate::entityName() { return QVACoreDataInformationDocument::kEntityName; }

ListsDataSourceProtocol::SortDescriptors InformationListDelegate::sortDescriptors() {
    return {coredata::SortDescriptor("category", true), coredata::SortDescriptor("title", true)};
}

std::optional<std::vector<std::string>> InformationListDelegate::entitiesArrayToObserveForFilteringUIUpdates() {
    return std::vector<std::string>{QVACoreDataInformationDocument::kEntityName};
}
