// One information document of the meeting: a document kept in its own entity.
#pragma once

#include <memory>
#include <string>

#include "model/QVADocumentInfo.h"

class QVAInformationDocument : public QVADocumentInfo {
public:
    static constexpr const char* kClassName = "QVAInformationDocument";

    QVAInformationDocument() = default;
    static std::shared_ptr<QVAInformationDocument> initWithDictionary(const foundation::Value& dictionary);

    std::string className() const override { return kClassName; }
};
