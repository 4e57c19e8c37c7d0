// One value of the Location filter: a room with the name of its venue. Its
// description is what the value picker shows and searches.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "foundation/Object.h"
#include "foundation/Value.h"

class QVARoom;

class LocationFilterValueModel : public foundation::Object {
public:
    // A room row dictionary of the store, and the venue's name (may be none).
    LocationFilterValueModel(const foundation::Value& roomRow, std::optional<std::string> venueName);
    static std::shared_ptr<LocationFilterValueModel> initWithRoom(const foundation::Value& roomRow,
                                                                  std::optional<std::string> venueName);

    const std::shared_ptr<QVARoom>& room() const { return room_; }
    const std::optional<std::string>& venueName() const { return venueName_; }

    // "room, venue", or the room's name alone without a venue name.
    std::string description() const override;
    std::string className() const override { return "LocationFilterValueModel"; }

private:
    std::shared_ptr<QVARoom> room_;
    std::optional<std::string> venueName_;
};
