#include "maps/VenueSearchEntity.h"

#include "model/QVACoreDataVenue.h"

std::string VenueSearchEntity::entityName() const { return QVACoreDataVenue::kEntityName; }
