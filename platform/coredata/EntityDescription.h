// An entity of the object model: its name, its parent entity, and its
// attributes (inherited ones first, in the parent's order, then its own).
// Entities are owned by their model and immutable once the model is built;
// a sub-entity's attribute indexes agree with its parent's for every
// inherited attribute, so a row read for the parent reads the same for it.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <cstdint>
#include <vector>

#include "foundation/Value.h"

namespace coredata {

class ManagedObject;
class ManagedObjectContext;
class ManagedObjectModel;

enum class AttributeType { String, Boolean, Integer16, Integer32, Integer64, Double, Date, Binary };

struct AttributeDescription {
    std::string name;
    AttributeType type = AttributeType::String;

    // Boolean, integer and double attributes: never absent, 0 / NO by default.
    bool isScalar() const { return type != AttributeType::String && type != AttributeType::Date && type != AttributeType::Binary; }
    // The value an attribute holds when nothing was written.
    foundation::Value defaultValue() const;
    // `v` in this attribute's own representation (a Boolean attribute holds
    // Booleans, an Integer 16 attribute a 16-bit value, ...); nothing stays
    // nothing for optional attributes and becomes the default for scalars.
    foundation::Value coerce(const foundation::Value& v) const;
};

class EntityDescription {
public:
    const std::string& name() const { return name_; }
    const EntityDescription* superentity() const { return parent_; }
    const std::vector<const EntityDescription*>& subentities() const { return children_; }
    const ManagedObjectModel& managedObjectModel() const { return *model_; }

    // Every attribute, inherited first.
    const std::vector<AttributeDescription>& attributes() const { return attributes_; }
    // Each attribute's defaultValue(), in attribute order: a new row's values.
    const std::vector<foundation::Value>& defaultValues() const { return defaultValues_; }
    std::vector<std::string> attributeNames() const;
    std::optional<size_t> attributeIndex(std::string_view name) const;
    const AttributeDescription* attributeNamed(const std::string& name) const;

    // This entity or one of its ancestors is `other`.
    bool isKindOfEntity(const EntityDescription& other) const;
    // The entity at the top of this one's inheritance chain.
    const EntityDescription& rootEntity() const;
    // This entity followed by all its sub-entities, depth first.
    std::vector<const EntityDescription*> selfAndDescendants() const;

    // The entity of that name in the context's model; null when there is none.
    static std::shared_ptr<const EntityDescription> entityForName(const std::string& name,
                                                                  const ManagedObjectContext& context);
    static std::shared_ptr<ManagedObject> insertNewObjectForEntityForName(const std::string& name,
                                                                          ManagedObjectContext& context);

private:
    friend class ManagedObjectModel;
    std::string name_;
    const EntityDescription* parent_ = nullptr;
    std::vector<const EntityDescription*> children_;
    const ManagedObjectModel* model_ = nullptr;
    std::vector<AttributeDescription> attributes_;
    std::vector<foundation::Value> defaultValues_;
    // Attribute name → index as an open-addressed table (a power of two of
    // slots, -1 empty): every value written or read by name goes through it.
    std::vector<int32_t> indexSlots_;
    void buildAttributeIndex();
};

using EntityPtr = std::shared_ptr<const EntityDescription>;

}  // namespace coredata
