// Attribute coercion and entity lookups. Coercion is what keeps stored values
// type-consistent, which the SQL and in-memory predicate paths rely on to
// agree.
#include "coredata/EntityDescription.h"

#include "coredata/ManagedObjectContext.h"
#include "coredata/ManagedObjectModel.h"
#include "coredata/PersistentStoreCoordinator.h"

namespace coredata {

using foundation::Value;

Value AttributeDescription::defaultValue() const {
    switch (type) {
        case AttributeType::Boolean: return Value(false);
        case AttributeType::Integer16:
        case AttributeType::Integer32:
        case AttributeType::Integer64: return Value(int64_t(0));
        case AttributeType::Double: return Value(0.0);
        default: return Value();
    }
}

Value AttributeDescription::coerce(const Value& v) const {
    if (v.isNothing()) return defaultValue();
    switch (type) {
        case AttributeType::String: return v.isString() ? v : Value(v.stringValue());
        case AttributeType::Boolean: return Value(v.boolValue());
        case AttributeType::Integer16: return Value(int64_t(int16_t(v.integerValue())));
        case AttributeType::Integer32: return Value(int64_t(int32_t(v.integerValue())));
        case AttributeType::Integer64: return Value(v.integerValue());
        case AttributeType::Double: return Value(v.doubleValue());
        case AttributeType::Date:
            if (v.isDate()) return v;
            if (v.isNumber()) return Value(foundation::Date(v.doubleValue()));
            return Value();
        case AttributeType::Binary:
            if (v.isData()) return v;
            if (v.isString()) return Value(foundation::Data::fromString(*v.string()));
            return Value();
    }
    return Value();
}

std::vector<std::string> EntityDescription::attributeNames() const {
    std::vector<std::string> names;
    names.reserve(attributes_.size());
    for (const auto& a : attributes_) names.push_back(a.name);
    return names;
}

namespace {
uint32_t nameHash(std::string_view name) {
    uint32_t h = 2166136261u;  // FNV-1a: short names, no division
    for (unsigned char c : name) h = (h ^ c) * 16777619u;
    return h;
}
}  // namespace

void EntityDescription::buildAttributeIndex() {
    size_t size = 8;
    while (size < 2 * attributes_.size()) size *= 2;
    indexSlots_.assign(size, -1);
    for (size_t i = 0; i < attributes_.size(); ++i) {
        size_t slot = nameHash(attributes_[i].name) & (size - 1);
        while (indexSlots_[slot] >= 0) slot = (slot + 1) & (size - 1);
        indexSlots_[slot] = int32_t(i);
    }
}

std::optional<size_t> EntityDescription::attributeIndex(std::string_view name) const {
    // The row setters name their attributes by literals, the same characters
    // at the same address for every row: this thread's earlier answer for
    // that address and entity is tried first. Only a guess, checked against
    // this entity's own names, so a freed name or entity whose address comes
    // back costs a miss and never a wrong answer.
    struct Answer {
        const char* name = nullptr;
        const EntityDescription* entity = nullptr;
        size_t index = 0;
    };
    thread_local Answer answers[256];
    const auto address = reinterpret_cast<uintptr_t>(name.data()) ^ (reinterpret_cast<uintptr_t>(this) << 1);
    Answer& answer = answers[(address * 0x9E3779B97F4A7C15ull) >> 56];
    const size_t count = attributes_.size();
    if (answer.name == name.data() && answer.entity == this && answer.index < count &&
        attributes_[answer.index].name == name)
        return answer.index;
    const auto remember = [&](size_t index) {
        answer = Answer{name.data(), this, index};
        return index;
    };
    // Otherwise rows are mostly written and read attribute after attribute,
    // or one attribute over many rows: the name after this thread's last
    // answer, or the last answer again, is tried before hashing.
    thread_local size_t entityLastAttribute = 0;
    for (size_t guess : {entityLastAttribute + 1, entityLastAttribute})
        if (guess < count && attributes_[guess].name == name) return remember(entityLastAttribute = guess);
    if (indexSlots_.empty()) return std::nullopt;
    const size_t mask = indexSlots_.size() - 1;
    for (size_t slot = nameHash(name) & mask;; slot = (slot + 1) & mask) {
        int32_t index = indexSlots_[slot];
        if (index < 0) return std::nullopt;
        if (attributes_[size_t(index)].name == name) return remember(entityLastAttribute = size_t(index));
    }
}

const AttributeDescription* EntityDescription::attributeNamed(const std::string& name) const {
    auto index = attributeIndex(name);
    return index ? &attributes_[*index] : nullptr;
}

bool EntityDescription::isKindOfEntity(const EntityDescription& other) const {
    for (auto e = this; e; e = e->parent_)
        if (e == &other) return true;
    return false;
}

const EntityDescription& EntityDescription::rootEntity() const {
    auto e = this;
    while (e->parent_) e = e->parent_;
    return *e;
}

std::vector<const EntityDescription*> EntityDescription::selfAndDescendants() const {
    std::vector<const EntityDescription*> out{this};
    for (size_t i = 0; i < out.size(); ++i)
        for (auto child : out[i]->children_) out.push_back(child);
    return out;
}

EntityPtr EntityDescription::entityForName(const std::string& name, const ManagedObjectContext& context) {
    auto coordinator = context.persistentStoreCoordinator();
    if (!coordinator) return nullptr;
    return coordinator->managedObjectModel()->entityPtr(name);
}

std::shared_ptr<ManagedObject> EntityDescription::insertNewObjectForEntityForName(const std::string& name,
                                                                                  ManagedObjectContext& context) {
    return context.insertNewObject(name);
}

}  // namespace coredata
