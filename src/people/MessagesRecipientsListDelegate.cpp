#include "people/MessagesRecipientsListDelegate.h"

#include "coredata/SortDescriptor.h"
#include "lists/SearchScopeModel.h"
#include "model/QVACoreDataMessageRecipient.h"

std::string MessagesRecipientsListDelegate::entityName() { return QVACoreDataMessageRecipient::kEntityName; }

ListsDataSourceProtocol::SortDescriptors MessagesRecipientsListDelegate::sortDescriptors() {
    return {coredata::SortDescriptor("sectionTitle", true), coredata::SortDescriptor("lastName", true)};
}

std::vector<std::shared_ptr<SearchScopeModel>> MessagesRecipientsListDelegate::searchScopes() {
    return {SearchScopeModel::initWithPropertyName(std::string("fullName"), std::string(kSearchScopeTitle))};
}
