// Timeline items; JSON and rows share the four keys.
#include "model/QVATimelineItemModel.h"

#include "coredata/ManagedObject.h"
#include "model/ItemModelBuilder.h"

using foundation::Value;
using ModelReading::FieldReader;
using ModelReading::valueOf;

std::shared_ptr<QVATimelineItemModel> QVATimelineItemModel::initWithDictionary(const Value& dictionary) {
    return ItemModelBuilder<QVATimelineItemModel>::fromDictionary(dictionary);
}

std::shared_ptr<QVATimelineItemModel> QVATimelineItemModel::initWithCoreDataDictionary(const Value& row) {
    return ItemModelBuilder<QVATimelineItemModel>::fromCoreDataDictionary(row);
}

std::shared_ptr<QVATimelineItemModel> QVATimelineItemModel::initWithCoreDataObject(
    const coredata::ManagedObject& storedObject) {
    return ItemModelBuilder<QVATimelineItemModel>::fromRow(FieldReader(storedObject));
}

void QVATimelineItemModel::readDictionary(const FieldReader& json) {
    QVABaseItemModel::readDictionary(json);
    readTimeline(json);
}

void QVATimelineItemModel::readRow(const FieldReader& row) {
    QVABaseItemModel::readRow(row);
    readTimeline(row);
}

void QVATimelineItemModel::readTimeline(const FieldReader& fields) {
    startDatetime_ = fields.text(startDatetimeKey());
    title_ = fields.text(titleKey());
    endDatetime_ = fields.text(endDatetimeKey());
    keyword_ = fields.text(keywordKey());
}

Value QVATimelineItemModel::valueForKey(const std::string& key) const {
    if (key == titleKey()) return valueOf(title_);
    if (key == startDatetimeKey()) return valueOf(startDatetime_);
    if (key == endDatetimeKey()) return valueOf(endDatetime_);
    if (key == keywordKey()) return valueOf(keyword_);
    return QVABaseItemModel::valueForKey(key);
}
