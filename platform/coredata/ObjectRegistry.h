// A context's registered objects by primary key: one flat table with the
// keys and weak references in its slots (open addressing, linear probing).
//
// A refetch of a long list asks for every row's object, in key order, twice
// (for the values it holds, then for the object itself). A node-based map
// put each entry anywhere on the heap, and the misses on those nodes grew
// faster than the list. Here a key's home slot is the key itself modulo the
// table's size: keys that follow one another sit side by side, so asking in
// key order walks the table from one end to the other. Keys are never
// negative (store keys count up from one).
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <memory>
#include <utility>
#include <vector>

namespace coredata::detail {

template <class T>
class ObjectRegistry {
public:
    size_t size() const { return size_; }

    // The reference held for the key, or null.
    const std::weak_ptr<T>* find(int64_t key) const {
        if (slots_.empty()) return nullptr;
        for (size_t i = home(key);; i = (i + 1) & mask()) {
            const Slot& slot = slots_[i];
            if (slot.key == key) return &slot.object;
            if (slot.key == kEmpty) return nullptr;
        }
    }

    void insert_or_assign(int64_t key, std::weak_ptr<T> object) {
        if (2 * (size_ + 1) > slots_.size()) rebuild(std::max<size_t>(64, 2 * slots_.size()), false);
        for (size_t i = home(key);; i = (i + 1) & mask()) {
            Slot& slot = slots_[i];
            if (slot.key == key) {
                slot.object = std::move(object);
                return;
            }
            if (slot.key == kEmpty) {
                slot.key = key;
                slot.object = std::move(object);
                ++size_;
                return;
            }
        }
    }

    // Empties the key's slot and moves back the entries after it that
    // probed past it, so no search stops early at the hole.
    void erase(int64_t key) {
        if (slots_.empty()) return;
        size_t hole = home(key);
        while (slots_[hole].key != key) {
            if (slots_[hole].key == kEmpty) return;
            hole = (hole + 1) & mask();
        }
        for (size_t next = (hole + 1) & mask(); slots_[next].key != kEmpty; next = (next + 1) & mask()) {
            // The entry may fill the hole when its home is not within (hole, next].
            const size_t fromHome = (next - home(slots_[next].key)) & mask();
            const size_t fromHole = (next - hole) & mask();
            if (fromHome >= fromHole) {
                slots_[hole] = std::move(slots_[next]);
                hole = next;
            }
        }
        slots_[hole] = Slot{};
        --size_;
    }

    // Drops the entries whose objects are gone.
    void eraseExpired() { rebuild(slots_.size(), true); }

    template <class F>
    void forEach(F&& f) const {
        for (const auto& slot : slots_)
            if (slot.key != kEmpty) f(slot.key, slot.object);
    }

    void clear() {
        slots_.clear();
        size_ = 0;
    }

private:
    static constexpr int64_t kEmpty = std::numeric_limits<int64_t>::min();
    struct Slot {
        int64_t key = kEmpty;
        std::weak_ptr<T> object;
    };

    size_t mask() const { return slots_.size() - 1; }
    size_t home(int64_t key) const { return size_t(key) & mask(); }

    void rebuild(size_t capacity, bool dropExpired) {
        std::vector<Slot> old = std::move(slots_);
        slots_.assign(capacity, Slot{});
        size_ = 0;
        for (auto& slot : old)
            if (slot.key != kEmpty && !(dropExpired && slot.object.expired()))
                insert_or_assign(slot.key, std::move(slot.object));
    }

    std::vector<Slot> slots_;  // a power of two of them, at most half full
    size_t size_ = 0;
};

}  // namespace coredata::detail
