// Attribute accessors of QVACoreDataRoom rows.
#include "model/QVACoreDataRoom.h"

#include "model/ModelReading.h"

std::optional<std::string> QVACoreDataRoom::itemId() const { return stringForKey("itemId"); }
void QVACoreDataRoom::setItemId(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "itemId");
}
std::optional<std::string> QVACoreDataRoom::name() const { return stringForKey("name"); }
void QVACoreDataRoom::setName(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "name");
}
std::optional<std::string> QVACoreDataRoom::venueId() const { return stringForKey("venueId"); }
void QVACoreDataRoom::setVenueId(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "venueId");
}
std::optional<std::string> QVACoreDataRoom::mapUrl() const { return stringForKey("mapUrl"); }
void QVACoreDataRoom::setMapUrl(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "mapUrl");
}
std::optional<std::string> QVACoreDataRoom::revision() const { return stringForKey("revision"); }
void QVACoreDataRoom::setRevision(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "revision");
}
