// A dictionary by text key kept as one sorted block of pairs rather than a
// tree node each: an element's attributes and namespaces are few, and a
// large plan holds tens of thousands of elements. Inserting and erasing move
// the pairs after the key; iteration is in key order, as a std::map's. The
// key may be any type that compares with and reads as a text.
#pragma once

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace svg {

template <class Value, class Key = std::string>
class FlatDictionary {
public:
    using value_type = std::pair<Key, Value>;
    using iterator = typename std::vector<value_type>::iterator;
    using const_iterator = typename std::vector<value_type>::const_iterator;

    iterator find(const std::string& key) {
        auto at = lowerBound(entries_, key);
        return at != entries_.end() && at->first == key ? at : entries_.end();
    }
    const_iterator find(const std::string& key) const {
        auto at = lowerBound(entries_, key);
        return at != entries_.end() && at->first == key ? at : entries_.end();
    }
    size_t count(const std::string& key) const { return find(key) == end() ? 0 : 1; }
    // The pair of that key, made with an empty value when there was none.
    std::pair<iterator, bool> try_emplace(const std::string& key) {
        auto at = lowerBound(entries_, key);
        if (at != entries_.end() && at->first == key) return {at, false};
        return {entries_.emplace(at, key, Value{}), true};
    }
    void erase(const_iterator at) { entries_.erase(at); }
    void reserve(size_t count) { entries_.reserve(count); }

    size_t size() const { return entries_.size(); }
    bool empty() const { return entries_.empty(); }
    iterator begin() { return entries_.begin(); }
    iterator end() { return entries_.end(); }
    const_iterator begin() const { return entries_.begin(); }
    const_iterator end() const { return entries_.end(); }

private:
    template <class Entries>
    static auto lowerBound(Entries& entries, const std::string& key) {
        return std::lower_bound(entries.begin(), entries.end(), key,
                                [](const value_type& entry, const std::string& k) { return entry.first < k; });
    }

    std::vector<value_type> entries_;
};

}  // namespace svg
