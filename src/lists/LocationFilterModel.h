// The rooms in use (with sessions of the programme, or with agenda entries
// that count), offered as room-and-venue values; it keeps the sessions held
// in the chosen room.
#pragma once

#include <string>

#include "lists/PropertyFilterModel.h"

class LocationFilterModel : public PropertyFilterModel {
public:
    std::string displayName() const override { return "Location"; }
    std::string defaultValue() const override { return "Any"; }
    EntityClassPtr requestClass() const override;
    std::string propertyName() const override { return "name"; }
    bool isSearchable() const override { return true; }

    // "Any", then a LocationFilterValueModel per room in use, by room name.
    foundation::Value::Array getPossibleValuesWithCoreDataStack(const StackPtr& stack) override;
    // "roomId == " the chosen room's id; TRUE while the chosen value reads as the default.
    coredata::PredicatePtr filterPredicateWithCoreDataStack(const StackPtr& stack) override;

    // YES when an official session takes place in the room, or else an
    // invitation confirmed or pending, a responsibility or a selection does;
    // personal entries and other invitations do not count.
    bool roomHasAssociatedSessions(const std::string& roomId, const StackPtr& stack);

    std::string className() const override { return "LocationFilterModel"; }

protected:
    std::shared_ptr<FilterModel> makeInstance() const override;
    // The two values compared by their descriptions.
    bool isUnset() const override;
};
