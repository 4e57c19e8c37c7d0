// The kinds of content the home screen's search looks through, in its
// results' section order. The search lives beneath the screens a result
// opens, so it cannot name their entities: the application shell registers
// them at start-up, as it registers the storyboards. Main thread only.
#pragma once

#include <functional>
#include <memory>
#include <vector>

class CoreDataStack;
class SearchEntity;

namespace SearchEntityRegistry {

using Factory = std::function<std::shared_ptr<SearchEntity>(const std::shared_ptr<CoreDataStack>&)>;

// Replaces the registered kinds; an empty list leaves the search with none.
void setFactories(std::vector<Factory> factories);
// A fresh entity of each registered kind over the stack, in section order.
std::vector<std::shared_ptr<SearchEntity>> makeEntities(const std::shared_ptr<CoreDataStack>& coreDataStack);

}  // namespace SearchEntityRegistry
