// An entity class as a value: the entity's name and the class-wide operations
// of its mapping category (insert-or-update, match key, match predicate).
// The store front takes one wherever it is handed "an item type", and looks
// one up by name when a model names the entity it is stored into.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "coredata/ManagedObject.h"
#include "coredata/ManagedObjectContext.h"
#include "coredata/Predicate.h"
#include "foundation/Object.h"

struct EntityClass {
    // Writes `item` into `row`, or into a new row when `row` is null; runs on
    // the context's queue and saves nothing.
    using InsertOrUpdate = std::function<void(const coredata::ManagedObjectPtr& row, const foundation::ObjectPtr& item,
                                              coredata::ManagedObjectContext& context)>;
    using ComparisonPredicate = std::function<coredata::PredicatePtr(const foundation::ObjectPtr& item)>;

    // The entity name, which is also the class name.
    std::string name;
    // Empty for the classes that have no mapping (nothing writes their rows).
    InsertOrUpdate insertOrUpdateCoreDataObject;
    // The attribute that identifies a row, for the classes that name one.
    std::optional<std::string> comparisonPropertyName;
    // The predicate selecting the stored row of a model; empty when the class
    // has none (it then cannot serve a single-row update).
    ComparisonPredicate comparisonPredicateForObject;

    // Registers a class, replacing an earlier entry of the same name. Thread-safe.
    static void registerClass(EntityClass cls);
    // Null when no class has that name.
    static std::shared_ptr<const EntityClass> named(const std::string& name);
    template <class T>
    static std::shared_ptr<const EntityClass> of() {
        return named(T::kEntityName);
    }
};

using EntityClassPtr = std::shared_ptr<const EntityClass>;

// Registers every entity class with this registry and its row factory with
// the object store, so that fetched and inserted rows have their class.
// Idempotent and thread-safe; explicit because a static library drops object
// files that nobody references, static initialisers included.
void registerEntityClasses();
