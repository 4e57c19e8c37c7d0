#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "lists/GlobalSearchManager.h"
#include "lists/SearchEntity.h"
#include "lists/SearchEntityRegistry.h"

namespace {

class NamedEntity : public SearchEntity {
public:
    NamedEntity(StackPtr stack, std::string name) : SearchEntity(std::move(stack)), name_(std::move(name)) {}
    std::string entityName() const override { return name_; }

private:
    std::string name_;
};

SearchEntityRegistry::Factory named(std::string name, std::vector<std::shared_ptr<CoreDataStack>>* stacksSeen) {
    return [name, stacksSeen](const std::shared_ptr<CoreDataStack>& stack) {
        stacksSeen->push_back(stack);
        return std::make_shared<NamedEntity>(stack, name);
    };
}

std::vector<std::string> namesOf(const std::vector<std::shared_ptr<SearchEntity>>& entities) {
    std::vector<std::string> names;
    for (const auto& entity : entities) names.push_back(entity->entityName());
    return names;
}

class SearchEntityRegistryTest : public ::testing::Test {
protected:
    void TearDown() override { SearchEntityRegistry::setFactories({}); }
};

TEST_F(SearchEntityRegistryTest, theSearchHasTheRegisteredKindsInOrderEachMadeAfreshAndRegisteringAgainReplacesThem) {
    SearchEntityRegistry::setFactories({});
    EXPECT_TRUE(SearchEntityRegistry::makeEntities(nullptr).empty());
    EXPECT_TRUE(GlobalSearchManager::initWithCoreDataStack(nullptr, nullptr)->searchEntitiesArray().empty());

    std::vector<std::shared_ptr<CoreDataStack>> stacksSeen;
    SearchEntityRegistry::setFactories({named("Sessions", &stacksSeen), named("Rooms", &stacksSeen)});
    auto manager = GlobalSearchManager::initWithCoreDataStack(nullptr, nullptr);
    EXPECT_EQ(namesOf(manager->searchEntitiesArray()), (std::vector<std::string>{"Sessions", "Rooms"}));
    EXPECT_EQ(stacksSeen.size(), 2u);
    auto again = GlobalSearchManager::initWithCoreDataStack(nullptr, nullptr);
    EXPECT_NE(again->searchEntitiesArray().front(), manager->searchEntitiesArray().front());

    SearchEntityRegistry::setFactories({named("Partners", &stacksSeen)});
    EXPECT_EQ(namesOf(SearchEntityRegistry::makeEntities(nullptr)), (std::vector<std::string>{"Partners"}));
}

}  // namespace
