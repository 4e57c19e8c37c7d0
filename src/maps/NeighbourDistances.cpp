#include "maps/NeighbourDistances.h"

#include <algorithm>

void NeighbourDistances::set(int32_t neighbour, double distance) {
    if (index_) {
        auto [at, inserted] = index_->try_emplace(neighbour, list_.size());
        if (inserted) {
            list_.emplace_back(neighbour, distance);
        } else {
            list_[at->second].second = distance;
        }
        return;
    }
    auto at = std::find_if(list_.begin(), list_.end(), [&](const auto& entry) { return entry.first == neighbour; });
    if (at != list_.end()) {
        at->second = distance;
        return;
    }
    // Grown one at a time while short: most nodes keep two or three.
    if (list_.size() < kIndexedFrom) list_.reserve(list_.size() + 1);
    list_.emplace_back(neighbour, distance);
    if (list_.size() == kIndexedFrom) {
        index_ = std::make_unique<std::unordered_map<int32_t, size_t>>();
        for (size_t i = 0; i < list_.size(); ++i) index_->emplace(list_[i].first, i);
    }
}

std::optional<double> NeighbourDistances::find(int32_t neighbour) const {
    if (index_) {
        auto at = index_->find(neighbour);
        if (at == index_->end()) return std::nullopt;
        return list_[at->second].second;
    }
    for (const auto& [node, distance] : list_) {
        if (node == neighbour) return distance;
    }
    return std::nullopt;
}
