#include "maps/RoomSearchEntity.h"

#include "model/QVACoreDataRoom.h"

std::string RoomSearchEntity::entityName() const { return QVACoreDataRoom::kEntityName; }
