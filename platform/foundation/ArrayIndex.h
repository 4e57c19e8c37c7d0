// A hash index beside an array of shared objects: key to the position of
// the first object with that key, so a search that would walk the array
// ("the first stored object whose ... equals") costs constant time.
//
// The arrays stay the truth and are open to change from outside, so the
// index follows them on each look-up: objects appended since are indexed;
// an array that shrank or whose last indexed object was replaced is indexed
// again from the start; and a hit whose object no longer has the key (an
// object changed after it was stored) makes it start over as well. Objects
// without a key (keyOf answers nothing) are never found, as the searches
// they replace never matched them.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

namespace foundation {

template <class Object, class Key, class Hash, std::optional<Key> (*keyOf)(const Object&)>
class ArrayIndex {
public:
    using Array = std::vector<std::shared_ptr<Object>>;

    // The position of the first object with the key, or -1.
    int32_t find(const Array& array, const Key& key) const {
        catchUp(array);
        for (int attempt = 0; attempt < 2; ++attempt) {
            auto found = first_.find(key);
            if (found == first_.end()) return -1;
            const auto& object = array[size_t(found->second)];
            if (object && keyOf(*object) == key) return found->second;
            clear();
            catchUp(array);
        }
        return -1;
    }

    void clear() const {
        first_.clear();
        indexed_ = 0;
        lastIndexed_ = nullptr;
    }

private:
    void catchUp(const Array& array) const {
        if (array.size() < indexed_ || (indexed_ > 0 && array[indexed_ - 1].get() != lastIndexed_)) clear();
        for (; indexed_ < array.size(); ++indexed_) {
            const auto& object = array[indexed_];
            if (!object) continue;
            if (auto key = keyOf(*object)) first_.try_emplace(std::move(*key), int32_t(indexed_));
        }
        lastIndexed_ = indexed_ > 0 ? array[indexed_ - 1].get() : nullptr;
    }

    mutable std::unordered_map<Key, int32_t, Hash> first_;
    mutable size_t indexed_ = 0;
    mutable const Object* lastIndexed_ = nullptr;
};

}  // namespace foundation
