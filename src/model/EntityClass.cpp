// The registry of entity classes.
#include "model/EntityClass.h"

#include <map>
#include <mutex>

namespace {

std::mutex registryMutex;

std::map<std::string, EntityClassPtr>& registry() {
    static std::map<std::string, EntityClassPtr> classes;
    return classes;
}

}  // namespace

void EntityClass::registerClass(EntityClass cls) {
    auto entry = std::make_shared<const EntityClass>(std::move(cls));
    std::lock_guard lock(registryMutex);
    registry()[entry->name] = std::move(entry);
}

EntityClassPtr EntityClass::named(const std::string& name) {
    registerEntityClasses();
    std::lock_guard lock(registryMutex);
    auto it = registry().find(name);
    return it == registry().end() ? nullptr : it->second;
}
