#include "maps/LocationSessionsListDelegate.h"

#include "coredata/Predicate.h"

LocationSessionsListDelegate::LocationSessionsListDelegate(std::string locationName, std::vector<std::string> roomIds)
    : locationName_(std::move(locationName)), roomIds_(std::move(roomIds)) {}

std::optional<LocationSessionsListDelegate::PredicatePtr> LocationSessionsListDelegate::fetchPredicate() {
    foundation::Value::Array ids;
    for (const auto& id : roomIds_) ids.emplace_back(id);
    return coredata::Predicate::withFormat("roomId IN %@", foundation::Value(std::move(ids)));
}
