// What to fetch: an entity (by name, or resolved), a predicate, a sort order,
// a window (offset, limit) and the shape of the results. A plain value; the
// context that executes it resolves the entity name against its model, and an
// unknown name fetches nothing.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "coredata/EntityDescription.h"
#include "coredata/Predicate.h"
#include "coredata/SortDescriptor.h"

namespace coredata {

enum class FetchRequestResultType {
    ManagedObject,
    ManagedObjectID,
    // One dictionary per row: the attributes named by propertiesToFetch (all
    // when empty); absent values are left out.
    Dictionary,
    // A single number: how many rows match.
    Count
};

class FetchRequest {
public:
    FetchRequest() = default;
    explicit FetchRequest(std::string entityName) : entityName_(std::move(entityName)) {}
    static FetchRequest fetchRequestWithEntityName(std::string entityName) { return FetchRequest(std::move(entityName)); }

    const std::string& entityName() const { return entityName_; }
    void setEntityName(std::string name) { entityName_ = std::move(name); entity_.reset(); }
    // The resolved entity, when set; null otherwise.
    const EntityPtr& entity() const { return entity_; }
    void setEntity(EntityPtr entity) {
        entity_ = std::move(entity);
        entityName_ = entity_ ? entity_->name() : std::string();
    }

    const PredicatePtr& predicate() const { return predicate_; }
    void setPredicate(PredicatePtr predicate) { predicate_ = std::move(predicate); }
    const std::vector<SortDescriptor>& sortDescriptors() const { return sortDescriptors_; }
    void setSortDescriptors(std::vector<SortDescriptor> descriptors) { sortDescriptors_ = std::move(descriptors); }
    // 0: no limit.
    size_t fetchLimit() const { return fetchLimit_; }
    void setFetchLimit(size_t limit) { fetchLimit_ = limit; }
    size_t fetchOffset() const { return fetchOffset_; }
    void setFetchOffset(size_t offset) { fetchOffset_ = offset; }
    // On by default: a parent entity's fetch includes its sub-entities' rows.
    bool includesSubentities() const { return includesSubentities_; }
    void setIncludesSubentities(bool on) { includesSubentities_ = on; }
    FetchRequestResultType resultType() const { return resultType_; }
    void setResultType(FetchRequestResultType type) { resultType_ = type; }
    const std::vector<std::string>& propertiesToFetch() const { return propertiesToFetch_; }
    void setPropertiesToFetch(std::vector<std::string> names) { propertiesToFetch_ = std::move(names); }
    // Dictionary results only: equal dictionaries are returned once.
    bool returnsDistinctResults() const { return returnsDistinctResults_; }
    void setReturnsDistinctResults(bool on) { returnsDistinctResults_ = on; }

private:
    std::string entityName_;
    EntityPtr entity_;
    PredicatePtr predicate_;
    std::vector<SortDescriptor> sortDescriptors_;
    size_t fetchLimit_ = 0;
    size_t fetchOffset_ = 0;
    bool includesSubentities_ = true;
    FetchRequestResultType resultType_ = FetchRequestResultType::ManagedObject;
    std::vector<std::string> propertiesToFetch_;
    bool returnsDistinctResults_ = false;
};

}  // namespace coredata
