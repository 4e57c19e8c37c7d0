// Venues, from the service and from stored rows.
#include "model/QVAVenue.h"

#include "foundation/Log.h"
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
    size_t unusable = 0;
    if (const auto* levels = levelsValue.array()) {
        for (const auto& level : *levels) {
            if (!level.isDictionary()) continue;
            auto floor = QVAFloorLevel::initWithDictionary(level);
            if (floor->hasUsableIds())
                floorLevels_.push_back(std::move(floor));
            else
                ++unusable;
        }
    }
    if (unusable)
        foundation::Log("%lu floor levels of venue %@ have no usable level and were not kept",
                        static_cast<unsigned long>(unusable), foundation::Value(itemId()));
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
