#include "lists/SearchEntityRegistry.h"

namespace SearchEntityRegistry {

namespace {

std::vector<Factory>& factories() {
    static std::vector<Factory> registered;
    return registered;
}

}  // namespace

void setFactories(std::vector<Factory> newFactories) { factories() = std::move(newFactories); }

std::vector<std::shared_ptr<SearchEntity>> makeEntities(const std::shared_ptr<CoreDataStack>& coreDataStack) {
    std::vector<std::shared_ptr<SearchEntity>> entities;
    entities.reserve(factories().size());
    for (const auto& factory : factories())
        if (auto entity = factory(coreDataStack)) entities.push_back(std::move(entity));
    return entities;
}

}  // namespace SearchEntityRegistry
