// The meeting's venues in the global search, found by name.
#pragma once

#include "maps/NamedLocationSearchEntity.h"

class VenueSearchEntity : public NamedLocationSearchEntity {
public:
    using NamedLocationSearchEntity::NamedLocationSearchEntity;

    std::string title() const override { return "Venues"; }
    std::string entityName() const override;

    std::string className() const override { return "VenueSearchEntity"; }
};
