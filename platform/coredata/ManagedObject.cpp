// Attribute access and change tracking of managed objects, and the registry
// of entity classes.
#include "coredata/ManagedObject.h"

#include <map>
#include <mutex>

#include "coredata/ManagedObjectContext.h"
#include "foundation/Exception.h"

namespace coredata {

using foundation::Value;

namespace {
std::mutex registryMutex;
std::map<std::string, ManagedObject::Factory>& registry() {
    static std::map<std::string, ManagedObject::Factory> r;
    return r;
}
}  // namespace

void ManagedObject::registerClassForEntityName(const std::string& entityName, Factory factory) {
    std::lock_guard lock(registryMutex);
    registry()[entityName] = std::move(factory);
}

std::shared_ptr<ManagedObject> ManagedObject::make(const EntityDescription& entity) {
    Factory factory;
    {
        std::lock_guard lock(registryMutex);
        for (auto e = &entity; e && !factory; e = e->superentity()) {
            auto it = registry().find(e->name());
            if (it != registry().end()) factory = it->second;
        }
    }
    std::shared_ptr<ManagedObject> object = factory ? factory() : nullptr;
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
    if (values_.use_count() > 1) values_ = std::make_shared<std::vector<Value>>(*values_);
    return *values_;
}

void ManagedObject::setValue(const Value& value, const std::string& key) {
    auto index = entity_->attributeIndex(key);
    if (!index)
        foundation::raise(foundation::kInvalidArgumentException,
                          "The entity " + entity_->name() + " has no attribute named '" + key + "'");
    Value coerced = entity_->attributes()[*index].coerce(value);
    const auto& current = (*values_)[*index];
    if (current.type() == coerced.type() && current == coerced) return;
    mutableValues()[*index] = std::move(coerced);
    changed_[*index] = true;
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
    for (size_t i = 0; i < values_->size(); ++i)
        out.append(i ? "; " : " ").append(entity_->attributes()[i].name).append(" = ").append((*values_)[i].description());
    out.append(values_->empty() ? "}" : " }");
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
