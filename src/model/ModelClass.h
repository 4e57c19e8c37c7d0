// "A class as a value": the registry through which the API client, the delta
// update and the store front make models of a class they only know by name,
// and ask the class-wide answers of the model contract. registerModelClasses()
// fills it and registers the archive factories; it is explicit because a
// static library drops object files nobody references, and their static
// initialisers with them.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "foundation/JSONFields.h"
#include "foundation/Object.h"
#include "foundation/Value.h"

struct ModelClass {
    using Factory = std::function<foundation::ObjectPtr(const foundation::Value&)>;

    std::string name;
    // Builds a model of this class from one JSON dictionary of the service.
    Factory initWithDictionary;
    // The same model from the dictionary's fields as a page is read, with no
    // dictionary made; empty for classes that read only dictionaries.
    std::function<foundation::ObjectPtr(const foundation::JSONFields&)> initWithFields;
    // Builds one from a stored row given as a dictionary; empty for classes
    // that have no row form.
    Factory initWithCoreDataDictionary;
    // The entity the class names itself (coreDataClass), when it does.
    std::optional<std::string> coreDataClass;
    // The entity attribute holding the service's "id" of this kind of object;
    // answered by the id-carrying models only.
    std::optional<std::string> coreDataSelectionPropertyName;
    // The class whose initWithDictionary builds this kind of object.
    std::optional<std::string> modelClass;

    // Registers a class, replacing an earlier entry of the same name. Thread-safe.
    static void registerClass(ModelClass cls);
    // Null when no class of that name is registered.
    static std::shared_ptr<const ModelClass> named(const std::string& name);
    template <class T>
    static std::shared_ptr<const ModelClass> of() {
        return named(T::kClassName);
    }
};

// Registers every model class and every archivable model's archive factory.
// Idempotent and thread-safe; the app calls it at start, tests before use.
void registerModelClasses();
