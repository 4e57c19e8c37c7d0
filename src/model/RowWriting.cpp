// Shared steps of the mapping categories.
#include "model/RowWriting.h"

#include "Utils/StringUtility.h"
#include "foundation/KeyedArchiver.h"
#include "foundation/Log.h"
#include "model/EntityClass.h"

namespace RowWriting {

coredata::ManagedObjectPtr existingOrNewRow(const coredata::ManagedObjectPtr& row, const char* entityName,
                                            coredata::ManagedObjectContext& context) {
    // A row made before the factories are known would be a plain object.
    registerEntityClasses();
    coredata::ManagedObjectPtr target = row ? row : context.insertNewObject(entityName);
    if (!target->isKindOfEntity(entityName)) {
        foundation::Log("A row of %@ cannot be written as %@", target->entityName(), entityName);
        return nullptr;
    }
    return target;
}

foundation::Data archivedArray(const foundation::Value& array) {
    using foundation::Value;
    return foundation::KeyedArchiver::archivedDataWithRootObject(array.isAbsent() ? Value(Value::Array()) : array);
}

std::optional<std::string> sectionInitial(const std::optional<std::string>& name) {
    if (!name) return std::nullopt;
    return StringUtility::getSectionCharConvertedToAscii(*name, false);
}

}  // namespace RowWriting
