// Sort descriptors: a key path, a direction and a comparison. The localized
// comparisons collate (ICU, through foundation::StringUtils) in the device's
// locale; the plain comparison orders strings by code point, as SQLite's default
// collation does, so store-side and in-memory sorting agree. Absent values
// sort before everything else; values of different kinds order by kind.
#pragma once

#include <string>
#include <vector>

#include "foundation/Value.h"

namespace coredata {

enum class SortComparator {
    Compare,
    CaseInsensitiveCompare,
    LocalizedCaseInsensitiveCompare,
    // Collation with numbers compared by value ("File 9" < "File 10").
    LocalizedStandardCompare
};

class SortDescriptor {
public:
    SortDescriptor(std::string key, bool ascending = true, SortComparator comparator = SortComparator::Compare)
        : key_(std::move(key)), ascending_(ascending), comparator_(comparator) {}

    const std::string& key() const { return key_; }
    bool ascending() const { return ascending_; }
    SortComparator comparator() const { return comparator_; }

    // Compares the values at `key` of two objects, direction applied.
    int compareObjects(const foundation::Value& a, const foundation::Value& b) const;
    // Compares two values with this descriptor's comparison, ascending.
    int compareValues(const foundation::Value& a, const foundation::Value& b) const;

private:
    std::string key_;
    bool ascending_;
    SortComparator comparator_;
};

// Stable sort by the descriptors in order (later ones break ties).
void sortUsingDescriptors(foundation::Value::Array& objects, const std::vector<SortDescriptor>& descriptors);
// The rows' positions in the descriptors' order, stable, given each row's
// values of the descriptors' keys (keys[row][descriptor]). Localized text
// comparisons go through one collation key per text, so a large sort does
// not collate both texts of every comparison.
std::vector<size_t> stableOrderByDescriptors(const std::vector<std::vector<foundation::Value>>& keys,
                                             const std::vector<SortDescriptor>& descriptors);
// The same, given each descriptor's column of values (columns[descriptor][row],
// none null), which the caller keeps alive; nothing is copied.
std::vector<size_t> stableOrderByColumns(const std::vector<std::vector<const foundation::Value*>>& columns,
                                         const std::vector<SortDescriptor>& descriptors);
foundation::Value::Array sortedArrayUsingDescriptors(foundation::Value::Array objects,
                                                     const std::vector<SortDescriptor>& descriptors);

}  // namespace coredata
