// Sorting by descriptors: keys are read once per object, then a stable sort.
#include "coredata/SortDescriptor.h"

#include <algorithm>
#include <optional>
#include <string>

#include "coredata/KeyValueCoding.h"
#include "coredata/Predicate.h"
#include "foundation/StringUtils.h"

namespace coredata {

using foundation::Value;

namespace {

int compareStrings(const std::string& a, const std::string& b, SortComparator kind) {
    switch (kind) {
        case SortComparator::Compare: {
            int c = a.compare(b);
            return c < 0 ? -1 : (c > 0 ? 1 : 0);
        }
        case SortComparator::CaseInsensitiveCompare: return foundation::StringUtils::caseInsensitiveCompare(a, b);
        case SortComparator::LocalizedCaseInsensitiveCompare:
            return foundation::StringUtils::localizedCaseInsensitiveCompare(a, b);
        case SortComparator::LocalizedStandardCompare: return foundation::StringUtils::localizedStandardCompare(a, b);
    }
    return 0;
}

// Kinds that cannot be compared order by this rank.
int rank(const Value& v) {
    if (v.isNothing()) return 0;
    if (v.isNumber()) return 1;
    if (v.isString()) return 2;
    if (v.isDate()) return 3;
    if (v.isData()) return 4;
    return 5;
}

}  // namespace

int SortDescriptor::compareValues(const Value& a, const Value& b) const {
    if (a.isString() && b.isString()) return compareStrings(*a.string(), *b.string(), comparator_);
    if (auto c = ValueComparison::order(a, b)) return *c;
    int ra = rank(a), rb = rank(b);
    return ra < rb ? -1 : (ra > rb ? 1 : 0);
}

int SortDescriptor::compareObjects(const Value& a, const Value& b) const {
    int c = compareValues(valueForKeyPath(a, key_), valueForKeyPath(b, key_));
    return ascending_ ? c : -c;
}

void sortUsingDescriptors(Value::Array& objects, const std::vector<SortDescriptor>& descriptors) {
    if (descriptors.empty() || objects.size() < 2) return;
    // Read every key once per object rather than once per comparison.
    std::vector<std::vector<Value>> keys(objects.size());
    for (size_t i = 0; i < objects.size(); ++i)
        for (const auto& d : descriptors) keys[i].push_back(valueForKeyPath(objects[i], d.key()));
    const auto order = stableOrderByDescriptors(keys, descriptors);
    Value::Array sorted;
    sorted.reserve(objects.size());
    for (size_t i : order) sorted.push_back(std::move(objects[i]));
    objects = std::move(sorted);
}

namespace {

// The collation keys of one descriptor's text values, when its comparison
// is a localized one and every text has a key; empty otherwise.
std::vector<std::optional<std::string>> collationKeysOfColumn(const std::vector<std::vector<Value>>& keys, size_t column,
                                                              SortComparator comparator) {
    std::vector<std::optional<std::string>> collation;
    if (comparator != SortComparator::LocalizedStandardCompare &&
        comparator != SortComparator::LocalizedCaseInsensitiveCompare)
        return collation;
    collation.resize(keys.size());
    for (size_t row = 0; row < keys.size(); ++row) {
        const auto* text = keys[row][column].string();
        if (!text) continue;
        collation[row] = comparator == SortComparator::LocalizedStandardCompare
                             ? foundation::StringUtils::localizedStandardSortKey(*text)
                             : foundation::StringUtils::localizedCaseInsensitiveSortKey(*text);
        if (!collation[row]) return {};
    }
    return collation;
}

}  // namespace

std::vector<size_t> stableOrderByDescriptors(const std::vector<std::vector<Value>>& keys,
                                             const std::vector<SortDescriptor>& descriptors) {
    std::vector<std::vector<std::optional<std::string>>> collation(descriptors.size());
    for (size_t k = 0; k < descriptors.size(); ++k)
        collation[k] = collationKeysOfColumn(keys, k, descriptors[k].comparator());
    std::vector<size_t> order(keys.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](size_t x, size_t y) {
        for (size_t k = 0; k < descriptors.size(); ++k) {
            int c = 0;
            const auto& column = collation[k];
            if (!column.empty() && column[x] && column[y]) {
                const int bytes = column[x]->compare(*column[y]);
                c = bytes < 0 ? -1 : (bytes > 0 ? 1 : 0);
            } else {
                c = descriptors[k].compareValues(keys[x][k], keys[y][k]);
            }
            if (c != 0) return descriptors[k].ascending() ? c < 0 : c > 0;
        }
        return false;
    });
    return order;
}

Value::Array sortedArrayUsingDescriptors(Value::Array objects, const std::vector<SortDescriptor>& descriptors) {
    sortUsingDescriptors(objects, descriptors);
    return objects;
}

}  // namespace coredata
