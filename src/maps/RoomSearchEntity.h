// The meeting's rooms in the global search, found by name.
#pragma once

#include "maps/NamedLocationSearchEntity.h"

class RoomSearchEntity : public NamedLocationSearchEntity {
public:
    using NamedLocationSearchEntity::NamedLocationSearchEntity;

    std::string title() const override { return "Rooms"; }
    std::string entityName() const override;

    std::string className() const override { return "RoomSearchEntity"; }
};
