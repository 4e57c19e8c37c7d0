// A managed object: one row of an entity, as seen by one context. Its values
// are read and written by attribute name; writes are coerced to the
// attribute's type and tracked as changes until the context saves. An object
// belongs to one context and is touched only on that context's queue.
//
// Typed entity classes derive from ManagedObject and register a factory under
// their entity name; a fetch or an insert then makes objects of that class
// (a sub-entity without a class of its own uses its nearest ancestor's).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "coredata/EntityDescription.h"
#include "coredata/KeyValueCoding.h"
#include "coredata/ManagedObjectID.h"
#include "foundation/Object.h"
#include "foundation/Value.h"

namespace coredata {

class ManagedObjectContext;

class ManagedObject : public foundation::Object, public KeyValueCoding {
public:
    using Factory = std::function<std::shared_ptr<ManagedObject>()>;
    static void registerClassForEntityName(const std::string& entityName, Factory factory);

    ManagedObject() = default;

    const EntityDescription& entity() const { return *entity_; }
    const std::string& entityName() const { return entity_->name(); }
    // The object's entity is `entityName` or one of its sub-entities.
    bool isKindOfEntity(const std::string& entityName) const;
    const ManagedObjectIDPtr& objectID() const { return id_; }
    // Null once the object was deleted and saved, or its context reset.
    std::shared_ptr<ManagedObjectContext> managedObjectContext() const { return context_.lock(); }

    // Absent for a key that is not an attribute.
    foundation::Value valueForKey(const std::string& key) const override;
    // Setting a key that is not an attribute of the entity is a programming
    // error.
    // The key is looked up in place: the row setters pass their names as
    // literals, and a long one would otherwise be copied for every value.
    void setValue(const foundation::Value& value, std::string_view key);
    // Takes the value over when it already has the attribute's type, so a
    // freshly parsed text is stored without a copy.
    void setValue(foundation::Value&& value, std::string_view key);
    // The attributes changed since the last save, with their new values (the
    // null marker for nothing).
    foundation::Value::Dictionary changedValues() const;

    bool isInserted() const { return inserted_; }
    bool isUpdated() const { return updated_; }
    bool isDeleted() const { return deleted_; }
    bool hasChanges() const { return inserted_ || updated_ || deleted_; }

    std::string className() const override { return entity_ ? entity_->name() : "NSManagedObject"; }
    std::string description() const override;

protected:
    // Typed reads for entity classes.
    std::optional<std::string> stringForKey(const std::string& key) const;
    bool boolForKey(const std::string& key) const;
    int64_t integerForKey(const std::string& key) const;
    double doubleForKey(const std::string& key) const;
    std::optional<foundation::Date> dateForKey(const std::string& key) const;
    std::optional<foundation::Data> dataForKey(const std::string& key) const;

private:
    friend class ManagedObjectContext;
    static std::shared_ptr<ManagedObject> make(const EntityDescription& entity);

    EntityPtr entity_;
    ManagedObjectIDPtr id_;
    std::weak_ptr<ManagedObjectContext> context_;
    // Shared with the rows made from this object (copy on write), so that
    // handing values up a context chain copies nothing.
    std::shared_ptr<std::vector<foundation::Value>> values_;  // set by the context that makes the object
    std::vector<foundation::Value>& mutableValues();
    size_t checkedAttributeIndex(std::string_view key) const;
    void storeValue(size_t index, foundation::Value&& coerced);
    std::vector<bool> changed_;
    bool inserted_ = false, updated_ = false, deleted_ = false;
    // Reported to this context's observers by a child's save, so a direct
    // change must reach the context even while the object is new here.
    bool mergeReported_ = false;
};

using ManagedObjectPtr = std::shared_ptr<ManagedObject>;

}  // namespace coredata
