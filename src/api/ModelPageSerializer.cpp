#include "api/ModelPageSerializer.h"

#include <cstdint>

#include "foundation/HTTPURLResponse.h"
#include "foundation/JSONSerialization.h"

using foundation::Value;

std::shared_ptr<ModelPageSerializer> ModelPageSerializer::forClass(
    std::shared_ptr<const ModelClass> modelClass, std::shared_ptr<const QNJSONResponseSerializer> json) {
    if (!modelClass || !modelClass->initWithFields || !json || json->removesKeysWithNullValues()) return nullptr;
    return std::make_shared<ModelPageSerializer>(std::move(modelClass), std::move(json));
}

Value ModelPageSerializer::responseObjectForResponse(const std::shared_ptr<foundation::URLResponse>& response,
                                                     const std::optional<foundation::Data>& data,
                                                     foundation::ErrorPtr* error) const {
    auto http = std::dynamic_pointer_cast<foundation::HTTPURLResponse>(response);
    const bool utf8 = json_->bodyEncoding(response) == foundation::StringEncoding::UTF8;
    // An accepted response: the JSON serializer would read it with no error
    // of the validation's.
    if (http && data && utf8 && data->length() <= size_t(INT32_MAX) && json_->validateResponse(response, data, nullptr)) {
        const std::string_view text(reinterpret_cast<const char*>(data->bytes()), data->length());
        auto page = std::make_shared<ModelPage>();
        auto& models = page->models;
        const auto& fromFields = modelClass_->initWithFields;
        const bool read = foundation::JSONSerialization::readArrayElements(
            text, data->vector().capacity(),
            [&models, &fromFields](const foundation::JSONFields& fields) {
                if (auto model = fromFields(fields)) models.emplace_back(std::move(model));
            },
            [&models](Value element) {
                if (element.isString()) models.push_back(std::move(element));
            });
        if (read) return Value(foundation::ObjectPtr(page));
    }
    return json_->responseObjectForResponse(response, data, error);
}
