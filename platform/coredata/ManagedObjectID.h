// The identity of one stored object. An ID is given when the object is
// inserted and never changes: every context of one coordinator names the same
// row by equal IDs, before and after it reaches the file. Primary keys are
// unique across all entities of a store, so the key alone decides equality
// within a coordinator.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "coredata/EntityDescription.h"
#include "foundation/Object.h"

namespace coredata {

class ManagedObjectID : public foundation::Object {
public:
    ManagedObjectID(EntityPtr entity, int64_t primaryKey, uint64_t storeIdentity)
        : entity_(std::move(entity)), primaryKey_(primaryKey), storeIdentity_(storeIdentity) {}

    const EntityDescription& entity() const { return *entity_; }
    const EntityPtr& entityPtr() const { return entity_; }
    int64_t primaryKey() const { return primaryKey_; }
    // Distinguishes the coordinators of one process.
    uint64_t storeIdentity() const { return storeIdentity_; }

    bool operator==(const ManagedObjectID& other) const {
        return primaryKey_ == other.primaryKey_ && storeIdentity_ == other.storeIdentity_;
    }
    bool isEqual(const foundation::Object& other) const override;
    std::string className() const override { return "NSManagedObjectID"; }
    std::string description() const override;

private:
    EntityPtr entity_;
    int64_t primaryKey_;
    uint64_t storeIdentity_;
};

using ManagedObjectIDPtr = std::shared_ptr<ManagedObjectID>;

}  // namespace coredata
