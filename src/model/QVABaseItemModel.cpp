// The id and revision every identified model shares.
#include "model/QVABaseItemModel.h"

#include "model/ItemModelBuilder.h"

using foundation::Value;
using ModelReading::FieldReader;

std::shared_ptr<QVABaseItemModel> QVABaseItemModel::initWithDictionary(const Value& dictionary) {
    return ItemModelBuilder<QVABaseItemModel>::fromDictionary(dictionary);
}

std::shared_ptr<QVABaseItemModel> QVABaseItemModel::initWithCoreDataDictionary(const Value& row) {
    return ItemModelBuilder<QVABaseItemModel>::fromCoreDataDictionary(row);
}

std::shared_ptr<QVABaseItemModel> QVABaseItemModel::initWithId(std::optional<std::string> itemId) {
    auto model = std::make_shared<QVABaseItemModel>();
    model->itemId_ = std::move(itemId);
    return model;
}

std::shared_ptr<QVABaseItemModel> QVABaseItemModel::initWithId(std::optional<std::string> itemId,
                                                               std::optional<std::string> revision) {
    auto model = initWithId(std::move(itemId));
    model->revision_ = std::move(revision);
    return model;
}

std::shared_ptr<QVABaseItemModel> QVABaseItemModel::initWithCoder(const foundation::KeyedUnarchiver& coder) {
    return ItemModelBuilder<QVABaseItemModel>::fromCoder(coder);
}

// The id is read by the one rule for service ids (an integral number keeps
// its digits as text; anything else unusable is none), and a numeric
// revision becomes its decimal text, so both compare as text with the
// stored rows.
void QVABaseItemModel::readDictionary(const FieldReader& json) {
    itemId_ = json.id(itemIdKey());
    revision_ = json.text(revisionKey());
}

void QVABaseItemModel::readRow(const FieldReader& row) {
    itemId_ = row.text("itemId");
    revision_ = row.text("revision");
}

void QVABaseItemModel::decodeFields(const foundation::KeyedUnarchiver& coder) {
    itemId_ = coder.decodeStringForKey(itemIdKey());
    revision_ = coder.decodeStringForKey(revisionKey());
}

void QVABaseItemModel::encodeWithCoder(foundation::KeyedArchiver& coder) const {
    coder.encodeObject(ModelReading::valueOf(itemId_), itemIdKey());
    coder.encodeObject(ModelReading::valueOf(revision_), revisionKey());
}

Value QVABaseItemModel::valueForKey(const std::string& key) const {
    if (key == "itemId") return ModelReading::valueOf(itemId_);
    if (key == "revision") return ModelReading::valueOf(revision_);
    return Value();
}
