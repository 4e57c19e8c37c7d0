// Attribute accessors of QVACoreDataVenue rows.
#include "model/QVACoreDataVenue.h"

#include "model/ModelReading.h"

using foundation::Value;

std::optional<foundation::Data> QVACoreDataVenue::floorLevels() const { return dataForKey("floorLevels"); }
void QVACoreDataVenue::setFloorLevels(const std::optional<foundation::Data>& value) {
    setValue(value ? Value(*value) : Value(), "floorLevels");
}
std::optional<std::string> QVACoreDataVenue::itemId() const { return stringForKey("itemId"); }
void QVACoreDataVenue::setItemId(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "itemId");
}
double QVACoreDataVenue::latitude() const { return doubleForKey("latitude"); }
void QVACoreDataVenue::setLatitude(double value) { setValue(Value(value), "latitude"); }
double QVACoreDataVenue::longitude() const { return doubleForKey("longitude"); }
void QVACoreDataVenue::setLongitude(double value) { setValue(Value(value), "longitude"); }
std::optional<std::string> QVACoreDataVenue::name() const { return stringForKey("name"); }
void QVACoreDataVenue::setName(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "name");
}
bool QVACoreDataVenue::primary() const { return boolForKey("primary"); }
void QVACoreDataVenue::setPrimary(bool value) { setValue(Value(value), "primary"); }
std::optional<std::string> QVACoreDataVenue::revision() const { return stringForKey("revision"); }
void QVACoreDataVenue::setRevision(const std::optional<std::string>& value) {
    setValue(ModelReading::valueOf(value), "revision");
}
