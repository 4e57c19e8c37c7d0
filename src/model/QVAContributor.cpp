// Session contributors.
#include "model/QVAContributor.h"

#include "model/ModelReading.h"

std::shared_ptr<QVAContributor> QVAContributor::initWithDictionary(const foundation::Value& dictionary) {
    ModelReading::FieldReader json(dictionary);
    return initWithItemId(json.id("participantId"), json.text("type"));
}

std::shared_ptr<QVAContributor> QVAContributor::initWithItemId(std::optional<std::string> itemId,
                                                               std::optional<std::string> type) {
    auto model = std::make_shared<QVAContributor>();
    model->itemId_ = std::move(itemId);
    model->type_ = std::move(type);
    return model;
}

std::shared_ptr<QVAContributor> QVAContributor::initWithCoder(const foundation::KeyedUnarchiver& coder) {
    return initWithItemId(coder.decodeStringForKey("participantId"), coder.decodeStringForKey("type"));
}

void QVAContributor::encodeWithCoder(foundation::KeyedArchiver& coder) const {
    coder.encodeObject(ModelReading::valueOf(itemId_), "participantId");
    coder.encodeObject(ModelReading::valueOf(type_), "type");
}
