// The listed rows a delta left out as unusable — an id that may not join an
// "ids" list (CommaJoinedList), a fetched row without a usable id
// (RowsWithoutId: an agenda entry without its session's id, …) — with the
// revision each was listed with. Kept per store and kind in the settings, so
// that the next delta neither fetches nor counts such a row again until its
// listed revision moves. What is kept is what the service listed, not what
// the store holds, so it stays true whichever copy of the store is in use; a
// row listed without a revision is never kept, and is fetched each time.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <unordered_map>

#include "foundation/Value.h"

class DeltaLeftOutRows {
public:
    using Text = std::optional<std::string>;
    // At most this many rows of a kind are kept; the others are fetched again.
    static constexpr size_t kMaximumRows = 1000;

    // The kind's rows as last kept for the store of (token, meeting).
    static DeltaLeftOutRows read(const Text& authCode, const Text& eventId, const std::string& entityName);
    // Keeps these as the kind's rows for that store, when they changed.
    void write(const Text& authCode, const Text& eventId, const std::string& entityName,
               const DeltaLeftOutRows& before) const;

    // Whether `id` was left out when listed with this same revision.
    bool isLeftOutAt(const std::string& id, const foundation::Value& revision) const;
    // Keeps `id` as left out at its listed revision (nothing without one).
    void add(const std::string& id, const foundation::Value& revision);
    size_t size() const { return revisions_.size(); }
    bool operator==(const DeltaLeftOutRows& other) const { return revisions_ == other.revisions_; }

private:
    std::unordered_map<std::string, std::string> revisions_;
};
