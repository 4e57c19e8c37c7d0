#include "lists/LocationFilterValueModel.h"

#include "foundation/Format.h"
#include "model/QVARoom.h"
#include "Utils/StringUtility.h"

LocationFilterValueModel::LocationFilterValueModel(const foundation::Value& roomRow,
                                                   std::optional<std::string> venueName)
    : room_(QVARoom::initWithCoreDataDictionary(roomRow)), venueName_(std::move(venueName)) {}

std::shared_ptr<LocationFilterValueModel> LocationFilterValueModel::initWithRoom(const foundation::Value& roomRow,
                                                                                 std::optional<std::string> venueName) {
    return std::make_shared<LocationFilterValueModel>(roomRow, std::move(venueName));
}

std::string LocationFilterValueModel::description() const {
    const std::string roomName = room_ ? room_->name().value_or("") : "";
    if (!venueName_ || StringUtility::isNilOrEmpty(std::string_view(*venueName_))) return roomName;
    return foundation::Format("%@, %@", roomName, *venueName_);
}
