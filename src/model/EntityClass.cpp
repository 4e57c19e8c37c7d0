// The registry of entity classes.
#include "model/EntityClass.h"

#include <map>
#include <mutex>

namespace {

std::mutex entityClassesMutex;

std::map<std::string, EntityClassPtr>& entityClasses() {
    static std::map<std::string, EntityClassPtr> classes;
    return classes;
}

}  // namespace

void EntityClass::registerClass(EntityClass cls) {
    auto entry = std::make_shared<const EntityClass>(std::move(cls));
    std::lock_guard lock(entityClassesMutex);
    entityClasses()[entry->name] = std::move(entry);
}

EntityClassPtr EntityClass::named(const std::string& name) {
    registerEntityClasses();
    std::lock_guard lock(entityClassesMutex);
    auto it = entityClasses().find(name);
    return it == entityClasses().end() ? nullptr : it->second;
}
