// A context's inserted objects and pending rows by primary key, in key order,
// in one contiguous block.
//
// A save of tens of thousands of new rows passes them through every context
// of the chain; as tree maps each context made, walked and freed a node per
// row, scattered over the heap. New keys grow, so entries nearly always go in
// at the end. Inserting or erasing elsewhere moves the entries after it, and
// a reference or iterator lasts only until the next insertion or erasure.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace coredata::detail {

template <class V>
class SortedKeyMap {
public:
    using value_type = std::pair<int64_t, V>;
    using iterator = typename std::vector<value_type>::iterator;
    using const_iterator = typename std::vector<value_type>::const_iterator;

    iterator begin() { return entries_.begin(); }
    iterator end() { return entries_.end(); }
    const_iterator begin() const { return entries_.begin(); }
    const_iterator end() const { return entries_.end(); }
    size_t size() const { return entries_.size(); }
    bool empty() const { return entries_.empty(); }
    void clear() { entries_.clear(); }

    iterator find(int64_t key) { return begin() + foundIndex(key); }
    const_iterator find(int64_t key) const { return begin() + foundIndex(key); }
    size_t count(int64_t key) const { return find(key) != end() ? 1 : 0; }

    template <class M>
    void insert_or_assign(int64_t key, M&& value) {
        if (entries_.empty() || entries_.back().first < key) {
            entries_.emplace_back(key, std::forward<M>(value));
            return;
        }
        auto it = begin() + lowerIndex(key);
        if (it != end() && it->first == key) it->second = std::forward<M>(value);
        else entries_.emplace(it, key, std::forward<M>(value));
    }
    size_t erase(int64_t key) {
        auto it = find(key);
        if (it == end()) return 0;
        entries_.erase(it);
        return 1;
    }

private:
    ptrdiff_t lowerIndex(int64_t key) const {
        return std::lower_bound(entries_.begin(), entries_.end(), key,
                                [](const value_type& entry, int64_t k) { return entry.first < k; }) -
               entries_.begin();
    }
    // The key's place, or the end when it is not held.
    ptrdiff_t foundIndex(int64_t key) const {
        const ptrdiff_t index = lowerIndex(key);
        const bool held = size_t(index) < entries_.size() && entries_[size_t(index)].first == key;
        return held ? index : ptrdiff_t(entries_.size());
    }

    std::vector<value_type> entries_;
};

}  // namespace coredata::detail
