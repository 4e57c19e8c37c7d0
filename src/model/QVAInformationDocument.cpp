// Information documents.
#include "model/QVAInformationDocument.h"

std::shared_ptr<QVAInformationDocument> QVAInformationDocument::initWithDictionary(
    const foundation::Value& dictionary) {
    auto model = std::make_shared<QVAInformationDocument>();
    model->readDictionary(dictionary);
    return model;
}
