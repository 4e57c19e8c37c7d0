#include "lists/LocationFilterModel.h"

#include <map>

#include "coredata/ManagedObject.h"
#include "lists/FilterFetching.h"
#include "lists/LocationFilterValueModel.h"
#include "model/QVACoreDataAgendaInvitation.h"
#include "model/QVACoreDataAgendaResponsability.h"
#include "model/QVACoreDataAgendaRole.h"
#include "model/QVACoreDataAgendaSelection.h"
#include "model/QVACoreDataRoom.h"
#include "model/QVACoreDataSession.h"
#include "model/QVACoreDataVenue.h"
#include "model/QVARoom.h"

namespace {

bool countsForRoom(const coredata::ManagedObject& role) {
    const std::string& entity = role.entityName();
    if (entity == QVACoreDataAgendaInvitation::kEntityName) {
        const auto status = role.valueForKey("status");
        const auto* text = status.string();
        return text && (*text == "Confirmed" || *text == "Invited");
    }
    return entity == QVACoreDataAgendaResponsability::kEntityName || entity == QVACoreDataAgendaSelection::kEntityName;
}

}  // namespace

EntityClassPtr LocationFilterModel::requestClass() const { return EntityClass::of<QVACoreDataRoom>(); }

foundation::Value::Array LocationFilterModel::getPossibleValuesWithCoreDataStack(const StackPtr& stack) {
    std::map<std::string, std::optional<std::string>> venueNames;
    for (const auto& venue :
         FilterFetching::fetchDictionaries(stack, {.entityName = QVACoreDataVenue::kEntityName, .distinct = true})) {
        const auto* id = venue["itemId"].string();
        if (!id) continue;
        const auto* name = venue["name"].string();
        venueNames[*id] = name ? std::optional<std::string>(*name) : std::nullopt;
    }
    foundation::Value::Array values{foundation::Value(defaultValue())};
    auto rooms = FilterFetching::fetchDictionaries(
        stack, {.entityName = requestClass()->name, .distinct = true, .sortKey = propertyName()});
    for (const auto& room : rooms) {
        const auto* roomId = room["itemId"].string();
        if (!roomId || !roomHasAssociatedSessions(*roomId, stack)) continue;
        std::optional<std::string> venueName;
        if (const auto* venueId = room["venueId"].string()) {
            auto found = venueNames.find(*venueId);
            if (found != venueNames.end()) venueName = found->second;
        }
        values.emplace_back(LocationFilterValueModel::initWithRoom(room, venueName));
    }
    return values;
}

coredata::PredicatePtr LocationFilterModel::filterPredicateWithCoreDataStack(const StackPtr& stack) {
    (void)stack;
    if (isUnset()) return coredata::Predicate::truePredicate();
    auto value = selectedValue().objectAs<LocationFilterValueModel>();
    std::optional<std::string> roomId;
    if (value && value->room()) roomId = value->room()->itemId();
    if (!roomId) return coredata::Predicate::withFormat("roomId == nil");
    return coredata::Predicate::withFormat("roomId == %@", *roomId);
}

bool LocationFilterModel::roomHasAssociatedSessions(const std::string& roomId, const StackPtr& stack) {
    auto inRoom = coredata::Predicate::withFormat("roomId = %@", roomId);
    if (FilterFetching::count(stack, QVACoreDataSession::kEntityName, inRoom) > 0) return true;
    for (const auto& row : FilterFetching::fetchObjects(stack, QVACoreDataAgendaRole::kEntityName, inRoom)) {
        auto role = row.objectAs<coredata::ManagedObject>();
        if (role && countsForRoom(*role)) return true;
    }
    return false;
}

std::shared_ptr<FilterModel> LocationFilterModel::makeInstance() const {
    return std::make_shared<LocationFilterModel>();
}

bool LocationFilterModel::isUnset() const {
    return selectedValue().stringValue() == foundation::Value(defaultValue()).stringValue();
}
