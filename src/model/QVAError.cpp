// Service and local errors of the application.
#include "model/QVAError.h"

#include "Utils/DictionaryUtility.h"
#include "foundation/Bundle.h"
#include "model/ModelClass.h"
#include "model/ModelReading.h"

using foundation::Value;

std::shared_ptr<QVAError> QVAError::initWithDescription(const std::string& description) {
    Value::Dictionary userInfo{
        {foundation::kLocalizedDescriptionKey, Value(foundation::Bundle::mainBundle().localizedString(description))}};
    return std::make_shared<QVAError>(kQVAErrorDomain, kQVAErrorCode, std::move(userInfo));
}

std::shared_ptr<QVAError> QVAError::initWithDomain(std::string domain, int64_t code, Value::Dictionary userInfo,
                                                   const Value& errorBody, const ModelClass* responseObjectTypeClass) {
    auto error = std::make_shared<QVAError>(std::move(domain), code, std::move(userInfo));
    if (!errorBody.isDictionary()) return error;
    error->serviceErrorMessage_ = ModelReading::textOf(DictionaryUtility::objectForKeyNotNull(errorBody, "error"));
    if (responseObjectTypeClass && responseObjectTypeClass->initWithDictionary) {
        error->errorResponseObject_ = responseObjectTypeClass->initWithDictionary(errorBody);
    }
    return error;
}
