// Documents.
#include "model/QVADocumentInfo.h"

#include "model/ModelReading.h"

std::shared_ptr<QVADocumentInfo> QVADocumentInfo::initWithDictionary(const foundation::Value& dictionary) {
    auto model = std::make_shared<QVADocumentInfo>();
    model->readDictionary(dictionary);
    return model;
}

void QVADocumentInfo::readDictionary(const foundation::Value& dictionary) {
    ModelReading::FieldReader json(dictionary);
    // Documents are grouped by category; those without one share "*".
    category_ = json.text("category");
    if (!category_ || category_->empty()) category_ = "*";
    title_ = json.text("title");
    url_ = json.text("url");
    extension_ = json.text("extension");
    filename_ = json.text("filename");
    documentDescription_ = json.text("description");
    index_ = json.int32("index");
}
