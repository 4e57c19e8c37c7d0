// The object model: named entities with inheritance, and a version identifier.
// A model is built once (entities are added parent first) and then shared,
// read-only, by every coordinator and context that uses it. Its schema hash
// depends only on entities, parents and attributes with their types, so two
// builds of the same model agree, and any additive change alters it.
#pragma once

#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "coredata/EntityDescription.h"
#include "foundation/Value.h"

namespace coredata {

class ManagedObjectModel : public std::enable_shared_from_this<ManagedObjectModel> {
public:
    explicit ManagedObjectModel(std::string versionIdentifier) : versionIdentifier_(std::move(versionIdentifier)) {}
    ManagedObjectModel(const ManagedObjectModel&) = delete;
    ManagedObjectModel& operator=(const ManagedObjectModel&) = delete;

    // Adds an entity below `parent` ("" for a root) with its own attributes.
    // A duplicate name, an unknown parent or a duplicate attribute name is a
    // programming error.
    void addEntity(const std::string& name, const std::string& parent, std::vector<AttributeDescription> attributes);

    const std::string& versionIdentifier() const { return versionIdentifier_; }
    // Entities in the order they were added.
    std::vector<const EntityDescription*> entities() const;
    const EntityDescription* entityNamed(const std::string& name) const;
    // A shared handle to an entity that keeps this model alive. Requires the
    // model itself to be held by a shared_ptr.
    EntityPtr entityPtr(const EntityDescription* entity) const;
    EntityPtr entityPtr(const std::string& name) const;

    // Hex digest of the schema (see above).
    std::string schemaHash() const;
    // Whether a store whose metadata is `metadata` holds this model's schema.
    bool isConfigurationCompatibleWithStoreMetadata(const foundation::Value& metadata) const;

private:
    std::string versionIdentifier_;
    std::vector<std::unique_ptr<EntityDescription>> entities_;
};

using ModelPtr = std::shared_ptr<const ManagedObjectModel>;

}  // namespace coredata
