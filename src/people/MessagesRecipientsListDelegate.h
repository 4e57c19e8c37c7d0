// The recipient picker's data source: the message address book, by section
// title and then last name, searched by full name.
#pragma once

#include <string>
#include <vector>

#include "lists/ListsDataSourceProtocol.h"

class MessagesRecipientsListDelegate : public ListsDataSourceProtocol {
public:
    static constexpr const char* kCellIdentifier = "participantPopoverCell";
    static constexpr const char* kSearchHintText = "Search in recipients";
    static constexpr const char* kSearchScopeTitle = "Name";

    std::string entityName() override;
    SortDescriptors sortDescriptors() override;
    // The picker groups nothing under it; it shows one section.
    Text sectionNameKeyPath() override { return std::string("sectionTitle"); }
    std::string cellIdentifier() override { return kCellIdentifier; }
    std::vector<std::shared_ptr<SearchScopeModel>> searchScopes() override;
    Text searchHintText() override { return std::string(kSearchHintText); }
};
