// Rooms; JSON and rows share the room's keys.
#include "model/QVARoom.h"

#include "model/ItemModelBuilder.h"

using foundation::Value;
using ModelReading::FieldReader;
using ModelReading::valueOf;

std::shared_ptr<QVARoom> QVARoom::initWithDictionary(const Value& dictionary) {
    return ItemModelBuilder<QVARoom>::fromDictionary(dictionary);
}

std::shared_ptr<QVARoom> QVARoom::initWithCoreDataDictionary(const Value& row) {
    return ItemModelBuilder<QVARoom>::fromCoreDataDictionary(row);
}

void QVARoom::readDictionary(const FieldReader& json) {
    QVABaseItemModel::readDictionary(json);
    readOwnFields(json);
}

void QVARoom::readRow(const FieldReader& row) {
    QVABaseItemModel::readRow(row);
    readOwnFields(row);
}

void QVARoom::readOwnFields(const FieldReader& fields) {
    name_ = fields.text("name");
    venueId_ = fields.id("venueId");
    mapUrl_ = fields.text("mapUrl");
}

Value QVARoom::valueForKey(const std::string& key) const {
    if (key == "name") return valueOf(name_);
    if (key == "venueId") return valueOf(venueId_);
    if (key == "mapUrl") return valueOf(mapUrl_);
    return QVABaseItemModel::valueForKey(key);
}
