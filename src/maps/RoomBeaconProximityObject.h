// A beacon that stands near a room: the beacon's id and the id of the room's
// point of interest, with the floor they were read on.
#pragma once

#include <optional>
#include <string>

#include "foundation/Object.h"

class RoomBeaconProximityObject : public foundation::Object {
public:
    const std::optional<std::string>& idBeacon() const { return idBeacon_; }
    void setIdBeacon(std::optional<std::string> value) { idBeacon_ = std::move(value); }
    const std::optional<std::string>& idRoom() const { return idRoom_; }
    void setIdRoom(std::optional<std::string> value) { idRoom_ = std::move(value); }
    const std::optional<std::string>& floorIdentifier() const { return floorIdentifier_; }
    void setFloorIdentifier(std::optional<std::string> value) { floorIdentifier_ = std::move(value); }

    std::string className() const override { return "RoomBeaconProximityObject"; }

private:
    std::optional<std::string> idBeacon_;
    std::optional<std::string> idRoom_;
    std::optional<std::string> floorIdentifier_;
};
