// The plain data that moves between contexts and the store: rows (an entity,
// a primary key and the attribute values aligned with the entity's
// attributes), the change set of one save, and a fetch as it travels up a
// context chain. Internal to the object store; no managed objects here, so
// these may cross queues freely.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "coredata/EntityDescription.h"
#include "coredata/Predicate.h"
#include "coredata/SortDescriptor.h"
#include "foundation/Error.h"
#include "foundation/Value.h"

namespace coredata::detail {

using RowValues = std::vector<foundation::Value>;

struct StoreRow {
    const EntityDescription* entity = nullptr;
    int64_t primaryKey = 0;
    std::shared_ptr<const RowValues> values;
};

struct ChangeSet {
    std::vector<StoreRow> inserted;
    std::vector<StoreRow> updated;
    std::vector<StoreRow> deleted;  // the values the rows had last
    bool empty() const { return inserted.empty() && updated.empty() && deleted.empty(); }
};

struct FetchPlan {
    const EntityDescription* entity = nullptr;
    // The concrete entities whose rows qualify (the entity, and its
    // sub-entities unless they are excluded).
    std::vector<const EntityDescription*> entities;
    PredicatePtr predicate;  // null: every row
    std::vector<SortDescriptor> sortDescriptors;
    size_t limit = 0, offset = 0;
    // Only the row of this key.
    std::optional<int64_t> primaryKey;
    // Only the number of rows is wanted.
    bool countOnly = false;
    // A fetch of dictionaries: only these attributes are read (and the sort
    // keys); the store may leave the others at their defaults. Empty: all.
    std::vector<std::string> onlyAttributes;
    // Some context nearer the caller holds unsaved changes of these entities,
    // so the store may not apply sort, window or count on its own.
    bool pendingBelow = false;
    // The caller wants dictionaries of the onlyAttributes (of every attribute
    // when empty); a distinct fetch drops repeats from them itself. When the store applies the
    // whole plan itself, it answers with them (FetchOutcome::dictionaries)
    // instead of rows, so a wide row is never built for two of its values.
    bool dictionaries = false;
    // Of those dictionaries only one of each is wanted: the store may leave
    // out rows whose values repeat an earlier row's.
    bool distinct = false;
    // With `dictionaries` of two attributes, not distinct: the store that answers with
    // dictionaries may answer with each row's two values as a pair instead
    // (FetchOutcome::pairs), absent where the dictionary leaves its key out.
    bool pairs = false;
    // The values the asking context's unchanged objects hold, by primary
    // key (null for none): a row that reads the same is handed back with
    // them, so refetching a long list neither makes nor frees its values
    // again. Called on the thread that reads the store, which must be the
    // asking context's own.
    std::function<std::shared_ptr<const RowValues>(int64_t)> heldValues;

    bool includes(const EntityDescription* e) const {
        for (auto x : entities)
            if (x == e) return true;
        return false;
    }
};

struct FetchOutcome {
    std::vector<StoreRow> rows;
    // The rows are already sorted and windowed by the plan.
    bool windowApplied = false;
    // Set when the store answered a countOnly plan by counting.
    std::optional<size_t> count;
    // Set when the store answered a dictionaries plan with the results
    // themselves, sorted and windowed; `rows` is then empty.
    std::optional<foundation::Value::Array> dictionaries;
    // Set when the store answered a `pairs` plan so, in the same order.
    std::optional<std::vector<std::pair<foundation::Value, foundation::Value>>> pairs;
    foundation::ErrorPtr error;
};

// The object a predicate sees for a row: the row's attributes by name.
class RowObject;
foundation::Value rowAsValue(const StoreRow& row);

}  // namespace coredata::detail
