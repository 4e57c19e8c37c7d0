// Map-file links of floor levels.
#include "model/QVAImapsLinksModel.h"

#include "model/ModelReading.h"

using foundation::Value;

std::shared_ptr<QVAImapsLinksModel> QVAImapsLinksModel::initWithDictionary(const Value& dictionary) {
    ModelReading::FieldReader json(dictionary);
    auto model = std::make_shared<QVAImapsLinksModel>();
    model->hrefString_ = json.text("href");
    model->relString_ = json.text("rel");
    return model;
}

std::shared_ptr<QVAImapsLinksModel> QVAImapsLinksModel::initWithCoder(const foundation::KeyedUnarchiver& coder) {
    auto model = std::make_shared<QVAImapsLinksModel>();
    model->hrefString_ = coder.decodeStringForKey("href");
    model->relString_ = coder.decodeStringForKey("rel");
    return model;
}

void QVAImapsLinksModel::encodeWithCoder(foundation::KeyedArchiver& coder) const {
    coder.encodeObject(ModelReading::valueOf(hrefString_), "href");
    coder.encodeObject(ModelReading::valueOf(relString_), "rel");
}
