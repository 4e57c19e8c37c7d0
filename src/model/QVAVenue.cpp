// Venues, from the service and from stored rows.
#include "model/QVAVenue.h"

#include "model/ItemModelBuilder.h"

using foundation::Value;
using ModelReading::FieldReader;
using ModelReading::valueOf;

std::shared_ptr<QVAVenue> QVAVenue::initWithDictionary(const Value& dictionary) {
    return ItemModelBuilder<QVAVenue>::fromDictionary(dictionary);
}

std::shared_ptr<QVAVenue> QVAVenue::initWithCoreDataDictionary(const Value& row) {
    return ItemModelBuilder<QVAVenue>::fromCoreDataDictionary(row);
}

void QVAVenue::readDictionary(const FieldReader& json) {
    QVABaseItemModel::readDictionary(json);
    name_ = json.text("name");
    latitude_ = json.real("latitude");
    longitude_ = json.real("longitude");
    primary_ = json.boolean("primary");
    Value levelsValue = json.array("floorLevels");
    if (const auto* levels = levelsValue.array()) {
        for (const auto& level : *levels) {
            if (level.isDictionary()) floorLevels_.push_back(QVAFloorLevel::initWithDictionary(level));
        }
    }
}

void QVAVenue::readRow(const FieldReader& row) {
    QVABaseItemModel::readRow(row);
    name_ = row.text("name");
    latitude_ = row.real("latitude");
    longitude_ = row.real("longitude");
    primary_ = row.boolean("primary");
    floorLevels_ = row.archivedObjects<QVAFloorLevel>("floorLevels");
}

Value QVAVenue::valueForKey(const std::string& key) const {
    if (key == "name") return valueOf(name_);
    if (key == "primary") return Value(primary_);
    return QVABaseItemModel::valueForKey(key);
}
