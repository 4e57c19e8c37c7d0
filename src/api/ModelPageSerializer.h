// Reads a list page's body straight into models: each object of the page's
// array becomes a model of the class as it is read, with no value tree of
// the page in between (the tree's making and freeing were the largest part
// of a full download's reading). What it gives is what the JSON serializer
// with the models made from its result would give: a page in a charset other
// than UTF-8, with a failure status, or no JSON array (malformed, an error
// object, a notice) is read by that serializer instead, for its value and
// its error.
#pragma once

#include <memory>

#include "foundation/Object.h"
#include "foundation/Value.h"
#include "http/QNJSONResponseSerializer.h"
#include "model/ModelClass.h"

// The models of a page as the serializer read them: the objects' models in
// order, and a string element as itself, as made from a parsed page.
class ModelPage : public foundation::Object {
public:
    foundation::Value::Array models;
    std::string className() const override { return "QVAModelPage"; }
};

class ModelPageSerializer : public QNURLResponseSerialization {
public:
    // Null when the class cannot read an object's fields as they are read,
    // or the JSON serializer changes what it reads (drops nulls).
    static std::shared_ptr<ModelPageSerializer> forClass(std::shared_ptr<const ModelClass> modelClass,
                                                         std::shared_ptr<const QNJSONResponseSerializer> json);

    foundation::Value responseObjectForResponse(const std::shared_ptr<foundation::URLResponse>& response,
                                                const std::optional<foundation::Data>& data,
                                                foundation::ErrorPtr* error) const override;

    ModelPageSerializer(std::shared_ptr<const ModelClass> modelClass,
                        std::shared_ptr<const QNJSONResponseSerializer> json)
        : modelClass_(std::move(modelClass)), json_(std::move(json)) {}

private:
    std::shared_ptr<const ModelClass> modelClass_;
    std::shared_ptr<const QNJSONResponseSerializer> json_;
};
