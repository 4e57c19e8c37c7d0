// A graph node's neighbours and the distance to each. A corridor node has a
// handful, kept in a short list (a hash table each would cost a large plan
// several hundred bytes a node); a hub with many gets an index as well, so
// a plan drawn around one stays linear.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <unordered_map>
#include <utility>
#include <vector>

class NeighbourDistances {
public:
    void set(int32_t neighbour, double distance);
    std::optional<double> find(int32_t neighbour) const;

private:
    static constexpr size_t kIndexedFrom = 16;

    std::vector<std::pair<int32_t, double>> list_;
    // Neighbour → position in the list, once the list is long.
    std::unique_ptr<std::unordered_map<int32_t, size_t>> index_;
};
