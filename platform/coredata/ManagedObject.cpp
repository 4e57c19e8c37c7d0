// Attribute access and change tracking of managed objects, and the registry
// of entity classes.
#include "coredata/ManagedObject.h"

#include <atomic>
#include <map>
#include <unordered_map>
#include <mutex>

#include "coredata/ManagedObjectContext.h"
#include "foundation/Exception.h"

namespace coredata {

using foundation::Value;

namespace {
std::mutex registryMutex;
// Bumped by every registration, so each thread's cache of resolved
// factories knows when to forget them.
std::atomic<uint64_t> registryGeneration{1};
std::map<std::string, ManagedObject::Factory>& registry() {
    static std::map<std::string, ManagedObject::Factory> r;
    return r;
}

struct ResolvedFactory {
    std::string entityName;  // guards against a freed entity's address reused
    ManagedObject::Factory factory;
};
}  // namespace

void ManagedObject::registerClassForEntityName(const std::string& entityName, Factory factory) {
    std::lock_guard lock(registryMutex);
    registry()[entityName] = std::move(factory);
    registryGeneration.fetch_add(1, std::memory_order_acq_rel);
}

std::shared_ptr<ManagedObject> ManagedObject::make(const EntityDescription& entity) {
    // Objects are made by the thousand on one queue: resolve an entity's
    // class once per thread instead of under the registry's lock each time.
    thread_local uint64_t cachedGeneration = 0;
    thread_local std::unordered_map<const EntityDescription*, ResolvedFactory> cache;
    const uint64_t generation = registryGeneration.load(std::memory_order_acquire);
    if (cachedGeneration != generation) {
        cache.clear();
        cachedGeneration = generation;
    }
    auto cached = cache.find(&entity);
    if (cached == cache.end() || cached->second.entityName != entity.name()) {
        Factory factory;
        {
            std::lock_guard lock(registryMutex);
            for (auto e = &entity; e && !factory; e = e->superentity()) {
                auto it = registry().find(e->name());
                if (it != registry().end()) factory = it->second;
            }
        }
        cached = cache.insert_or_assign(&entity, ResolvedFactory{entity.name(), std::move(factory)}).first;
    }
    std::shared_ptr<ManagedObject> object = cached->second.factory ? cached->second.factory() : nullptr;
    return object ? object : std::make_shared<ManagedObject>();
}

bool ManagedObject::isKindOfEntity(const std::string& entityName) const {
    for (auto e = entity_.get(); e; e = e->superentity())
        if (e->name() == entityName) return true;
    return false;
}

Value ManagedObject::valueForKey(const std::string& key) const {
    auto index = entity_->attributeIndex(key);
    if (!index) return Value();
    return (*values_)[*index];
}

std::vector<Value>& ManagedObject::mutableValues() {
    if (!values_) values_ = std::make_shared<std::vector<Value>>();
    else if (values_.use_count() > 1) values_ = std::make_shared<std::vector<Value>>(*values_);
    return *values_;
}

size_t ManagedObject::checkedAttributeIndex(std::string_view key) const {
    auto index = entity_->attributeIndex(key);
    if (!index)
        foundation::raise(foundation::kInvalidArgumentException,
                          "The entity " + entity_->name() + " has no attribute named '" + std::string(key) + "'");
    return *index;
}

void ManagedObject::setValue(const Value& value, std::string_view key) {
    size_t index = checkedAttributeIndex(key);
    storeValue(index, entity_->attributes()[index].coerce(value));
}

void ManagedObject::setValue(Value&& value, std::string_view key) {
    size_t index = checkedAttributeIndex(key);
    const auto& attribute = entity_->attributes()[index];
    const bool sameType = (attribute.type == AttributeType::String && value.isString()) ||
                          (attribute.type == AttributeType::Date && value.isDate()) ||
                          (attribute.type == AttributeType::Binary && value.isData());
    // Not one conditional expression: its result would be a moved copy.
    if (sameType) storeValue(index, std::move(value));
    else storeValue(index, attribute.coerce(value));
}

void ManagedObject::storeValue(size_t index, Value&& coerced) {
    const auto& current = (*values_)[index];
    if (current.type() == coerced.type() && current == coerced) return;
    mutableValues()[index] = std::move(coerced);
    changed_[index] = true;
    // A new object is saved whole whatever changes; only a stored one, or
    // one its context already reported, needs the context to hear of it.
    if (inserted_ && !mergeReported_) return;
    if (auto context = context_.lock()) context->objectDidChange(*this);
}

Value::Dictionary ManagedObject::changedValues() const {
    Value::Dictionary out;
    for (size_t i = 0; i < changed_.size(); ++i)
        if (changed_[i]) out[entity_->attributes()[i].name] = (*values_)[i].isNothing() ? Value::null() : (*values_)[i];
    return out;
}

std::string ManagedObject::description() const {
    std::string out = "<";
    out.append(className()).append(": ").append(id_ ? id_->description() : "(no id)").append("> {");
    const size_t count = values_ ? values_->size() : 0;
    for (size_t i = 0; i < count; ++i)
        out.append(i ? "; " : " ").append(entity_->attributes()[i].name).append(" = ").append((*values_)[i].description());
    out.append(count == 0 ? "}" : " }");
    return out;
}

std::optional<std::string> ManagedObject::stringForKey(const std::string& key) const {
    Value v = valueForKey(key);
    if (auto s = v.string()) return *s;
    return std::nullopt;
}
bool ManagedObject::boolForKey(const std::string& key) const { return valueForKey(key).boolValue(); }
int64_t ManagedObject::integerForKey(const std::string& key) const { return valueForKey(key).integerValue(); }
double ManagedObject::doubleForKey(const std::string& key) const { return valueForKey(key).doubleValue(); }
std::optional<foundation::Date> ManagedObject::dateForKey(const std::string& key) const {
    Value v = valueForKey(key);
    if (auto d = v.date()) return *d;
    return std::nullopt;
}
std::optional<foundation::Data> ManagedObject::dataForKey(const std::string& key) const {
    Value v = valueForKey(key);
    if (auto d = v.data()) return *d;
    return std::nullopt;
}

}  // namespace coredata
