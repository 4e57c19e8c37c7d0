// Sorting by descriptors: keys are read once per object, then a stable sort.
#include "coredata/SortDescriptor.h"

#include <algorithm>
#include <cstdint>
#include <string_view>
#include <utility>
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
    std::vector<std::vector<Value>> keys(descriptors.size());
    std::vector<std::vector<const Value*>> columns(descriptors.size());
    for (size_t k = 0; k < descriptors.size(); ++k) {
        keys[k].reserve(objects.size());
        for (const auto& object : objects) keys[k].push_back(valueForKeyPath(object, descriptors[k].key()));
        for (const auto& key : keys[k]) columns[k].push_back(&key);
    }
    const auto order = stableOrderByColumns(columns, descriptors);
    Value::Array sorted;
    sorted.reserve(objects.size());
    for (size_t i : order) sorted.push_back(std::move(objects[i]));
    objects = std::move(sorted);
}

namespace {

// A large list's sort ranks each column on its own, then orders the rows by
// their ranks: the comparisons of the final sort read two integers lying
// side by side instead of values and collation keys scattered over the heap,
// which is what made a list twice as long cost far more than twice as much.

// Each row's rank in one column (equal values, equal ranks; absent values
// first), ascending. False when the column holds values other than texts
// (and absent values) or integers (and absent values), or a text without a
// collation key where the comparison needs one: such columns keep the
// comparison of values.
bool sortDescriptorColumnRanks(const std::vector<const Value*>& column, SortComparator comparator,
                               std::vector<uint32_t>& ranks) {
    const size_t count = column.size();
    ranks.assign(count, 0);
    bool texts = false, integers = false;
    for (const Value* v : column) {
        if (v->isNothing()) continue;
        if (v->isString()) texts = true;
        else if (v->isInteger()) integers = true;
        else return false;
    }
    if (texts && integers) return false;
    if (integers) {
        std::vector<std::pair<int64_t, uint32_t>> entries;
        entries.reserve(count);
        for (size_t row = 0; row < count; ++row)
            if (!column[row]->isNothing()) entries.emplace_back(column[row]->integerValue(), uint32_t(row));
        std::sort(entries.begin(), entries.end());
        uint32_t rank = 0;
        for (size_t i = 0; i < entries.size(); ++i) {
            if (i == 0 || entries[i].first != entries[i - 1].first) ++rank;
            ranks[entries[i].second] = rank;
        }
        return true;
    }
    if (comparator == SortComparator::CaseInsensitiveCompare) return false;
    const bool collated = comparator != SortComparator::Compare;
    // Every text's bytes (or collation key) in one buffer: the plain
    // comparison is by code point, which UTF-8's bytes keep, and collation
    // keys order as their collation does.
    std::string bytes;
    struct Entry {
        uint64_t prefix;  // the first eight bytes, big-endian, zero-padded
        uint32_t offset, length, row;
    };
    std::vector<Entry> entries;
    entries.reserve(count);
    for (size_t row = 0; row < count; ++row) {
        const std::string* text = column[row]->string();
        if (!text) continue;
        std::optional<std::string> key;
        if (collated) {
            key = comparator == SortComparator::LocalizedStandardCompare
                      ? foundation::StringUtils::localizedStandardSortKey(*text)
                      : foundation::StringUtils::localizedCaseInsensitiveSortKey(*text);
            if (!key) return false;
        }
        const std::string& b = collated ? *key : *text;
        Entry e{0, uint32_t(bytes.size()), uint32_t(b.size()), uint32_t(row)};
        for (size_t i = 0; i < 8; ++i) e.prefix = (e.prefix << 8) | (i < b.size() ? uint8_t(b[i]) : 0);
        bytes += b;
        entries.push_back(e);
    }
    auto view = [&](const Entry& e) { return std::string_view(bytes.data() + e.offset, e.length); };
    std::sort(entries.begin(), entries.end(), [&](const Entry& a, const Entry& b) {
        if (a.prefix != b.prefix) return a.prefix < b.prefix;
        return view(a) < view(b);
    });
    uint32_t rank = 0;
    for (size_t i = 0; i < entries.size(); ++i) {
        if (i == 0 || entries[i].prefix != entries[i - 1].prefix || view(entries[i]) != view(entries[i - 1])) ++rank;
        ranks[entries[i].row] = rank;
    }
    return true;
}

// The stable order by comparing values, column after column.
std::vector<size_t> sortDescriptorOrderByValues(const std::vector<std::vector<const Value*>>& columns,
                                                const std::vector<SortDescriptor>& descriptors, size_t count) {
    std::vector<size_t> order(count);
    for (size_t i = 0; i < count; ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](size_t x, size_t y) {
        for (size_t k = 0; k < descriptors.size(); ++k) {
            const int c = descriptors[k].compareValues(*columns[k][x], *columns[k][y]);
            if (c != 0) return descriptors[k].ascending() ? c < 0 : c > 0;
        }
        return false;
    });
    return order;
}

}  // namespace

std::vector<size_t> stableOrderByColumns(const std::vector<std::vector<const Value*>>& columns,
                                         const std::vector<SortDescriptor>& descriptors) {
    const size_t count = columns.empty() ? 0 : columns.front().size();
    std::vector<std::vector<uint32_t>> ranks(descriptors.size());
    for (size_t k = 0; k < descriptors.size(); ++k)
        if (!sortDescriptorColumnRanks(columns[k], descriptors[k].comparator(), ranks[k]))
            return sortDescriptorOrderByValues(columns, descriptors, count);
    // The rows ordered by (rank so far, next column's rank, row): the row
    // last keeps equal rows in their order. Each pass leaves one rank per
    // row for the columns so far.
    std::vector<uint32_t> combined(count, 0);
    std::vector<std::pair<uint64_t, uint32_t>> entries(count);
    for (size_t k = 0; k < descriptors.size() || k == 0; ++k) {
        for (size_t row = 0; row < count; ++row) {
            uint32_t next = 0;
            if (k < descriptors.size())
                next = descriptors[k].ascending() ? ranks[k][row] : UINT32_MAX - ranks[k][row];
            entries[row] = {(uint64_t(combined[row]) << 32) | next, uint32_t(row)};
        }
        std::sort(entries.begin(), entries.end());
        uint32_t rank = 0;
        for (size_t i = 0; i < count; ++i) {
            if (i > 0 && entries[i].first != entries[i - 1].first) ++rank;
            combined[entries[i].second] = rank;
        }
    }
    std::vector<size_t> order(count);
    for (size_t i = 0; i < count; ++i) order[i] = entries[i].second;
    return order;
}

std::vector<size_t> stableOrderByDescriptors(const std::vector<std::vector<Value>>& keys,
                                             const std::vector<SortDescriptor>& descriptors) {
    std::vector<std::vector<const Value*>> columns(descriptors.size());
    for (size_t k = 0; k < descriptors.size(); ++k) {
        columns[k].reserve(keys.size());
        for (const auto& row : keys) columns[k].push_back(&row[k]);
    }
    return stableOrderByColumns(columns, descriptors);
}

Value::Array sortedArrayUsingDescriptors(Value::Array objects, const std::vector<SortDescriptor>& descriptors) {
    sortUsingDescriptors(objects, descriptors);
    return objects;
}

}  // namespace coredata
