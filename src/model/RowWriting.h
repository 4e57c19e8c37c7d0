// What the mapping categories share when they write a model into a row:
// finding or making the row, archiving model arrays into binary attributes,
// and the section letter of indexed lists.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "coredata/ManagedObjectContext.h"
#include "foundation/Data.h"
#include "foundation/Value.h"
#include "model/ModelReading.h"

namespace RowWriting {

// The given row, or a new row of `entityName` inserted into the context;
// null (and logged) when the row is not of class Row.
coredata::ManagedObjectPtr existingOrNewRow(const coredata::ManagedObjectPtr& row, const char* entityName,
                                            coredata::ManagedObjectContext& context);
template <class Row>
std::shared_ptr<Row> rowForWriting(const coredata::ManagedObjectPtr& row, const char* entityName,
                                   coredata::ManagedObjectContext& context) {
    return std::dynamic_pointer_cast<Row>(existingOrNewRow(row, entityName, context));
}

// The keyed archive of an array (absent counts as empty), as binary
// attributes hold model arrays.
foundation::Data archivedArray(const foundation::Value& array);
template <class T>
foundation::Data archivedArray(const std::vector<std::shared_ptr<T>>& items) {
    return archivedArray(ModelReading::arrayValue(items));
}

// The letter a name is listed under: upper-cased and made ASCII, its first
// character when a letter, else "#"; nothing for a missing name.
std::optional<std::string> sectionInitial(const std::optional<std::string>& name);

}  // namespace RowWriting
