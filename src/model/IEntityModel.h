// The contract of the API model objects that are stored or listed. Building a
// model from a JSON dictionary is each class's static initWithDictionary; the
// class-wide parts of the contract (modelClass, coreDataSelectionPropertyName)
// live in the ModelClass registry, so callers that only know a class by name
// can still ask them.
#pragma once

#include <optional>
#include <string>

class IEntityModel {
public:
    virtual ~IEntityModel() = default;
    // The entity this model is stored into, for the few models that name it
    // themselves; the others are named by the request descriptor of their read.
    virtual std::optional<std::string> coreDataClass() const { return std::nullopt; }
    // The model's id as text, as lists name the selected item; nothing for
    // models without an id, and for a model whose id is missing.
    virtual std::optional<std::string> selectionPropertyId() const { return std::nullopt; }
    // Whether a list's row of this model can be stored: it carries the
    // usable ids its row is keyed by and its screens ask the service with.
    // A row that cannot is left out wherever a list's rows reach the store.
    virtual bool hasUsableIds() const { return true; }
};

// Typed error bodies of failed service calls (built by QVAError from the body).
class ErrorResponseProtocol {
public:
    virtual ~ErrorResponseProtocol() = default;
};
