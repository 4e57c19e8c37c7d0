// Model building and the schema hash (FNV-1a over a canonical text of the
// entities sorted by name, so the hash does not depend on insertion order).
#include "coredata/ManagedObjectModel.h"

#include <algorithm>
#include <cstdio>

#include "coredata/Constants.h"
#include "foundation/Exception.h"

namespace coredata {

void ManagedObjectModel::addEntity(const std::string& name, const std::string& parent,
                                   std::vector<AttributeDescription> attributes) {
    if (name.empty() || entityNamed(name))
        foundation::raise(foundation::kInvalidArgumentException, "Duplicate or empty entity name '" + name + "'");
    auto entity = std::make_unique<EntityDescription>();
    entity->name_ = name;
    entity->model_ = this;
    if (!parent.empty()) {
        auto p = const_cast<EntityDescription*>(entityNamed(parent));
        if (!p) foundation::raise(foundation::kInvalidArgumentException, "Unknown parent entity '" + parent + "'");
        entity->parent_ = p;
        entity->attributes_ = p->attributes_;
        entity->defaultValues_ = p->defaultValues_;
        p->children_.push_back(entity.get());
    }
    for (auto& a : attributes) {
        for (const auto& existing : entity->attributes_)
            if (existing.name == a.name)
                foundation::raise(foundation::kInvalidArgumentException,
                                  "Duplicate attribute '" + a.name + "' in entity '" + name + "'");
        entity->defaultValues_.push_back(a.defaultValue());
        entity->attributes_.push_back(std::move(a));
    }
    entity->buildAttributeIndex();
    entities_.push_back(std::move(entity));
}

std::vector<const EntityDescription*> ManagedObjectModel::entities() const {
    std::vector<const EntityDescription*> out;
    for (const auto& e : entities_) out.push_back(e.get());
    return out;
}

const EntityDescription* ManagedObjectModel::entityNamed(const std::string& name) const {
    for (const auto& e : entities_)
        if (e->name() == name) return e.get();
    return nullptr;
}

EntityPtr ManagedObjectModel::entityPtr(const EntityDescription* entity) const {
    if (!entity) return nullptr;
    return EntityPtr(shared_from_this(), entity);
}

EntityPtr ManagedObjectModel::entityPtr(const std::string& name) const { return entityPtr(entityNamed(name)); }

std::string ManagedObjectModel::schemaHash() const {
    std::vector<const EntityDescription*> sorted = entities();
    std::sort(sorted.begin(), sorted.end(), [](auto a, auto b) { return a->name() < b->name(); });
    std::string canonical;
    for (auto e : sorted) {
        canonical += e->name() + "<" + (e->superentity() ? e->superentity()->name() : "") + "{";
        for (const auto& a : e->attributes()) canonical += a.name + ":" + std::to_string(int(a.type)) + ",";
        canonical += "}";
    }
    uint64_t h = 1469598103934665603ull;
    for (unsigned char c : canonical) {
        h ^= c;
        h *= 1099511628211ull;
    }
    char buf[17];
    std::snprintf(buf, sizeof buf, "%016llx", static_cast<unsigned long long>(h));
    return buf;
}

bool ManagedObjectModel::isConfigurationCompatibleWithStoreMetadata(const foundation::Value& metadata) const {
    const auto& hash = metadata[kStoreSchemaHashKey];
    return hash.isString() && *hash.string() == schemaHash();
}

}  // namespace coredata
