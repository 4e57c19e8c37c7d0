// Equality and the printed form of object IDs.
#include "coredata/ManagedObjectID.h"

namespace coredata {

bool ManagedObjectID::isEqual(const foundation::Object& other) const {
    auto id = dynamic_cast<const ManagedObjectID*>(&other);
    return id && *id == *this;
}

std::string ManagedObjectID::description() const {
    return "<" + entity_->name() + " p" + std::to_string(primaryKey_) + ">";
}

}  // namespace coredata
