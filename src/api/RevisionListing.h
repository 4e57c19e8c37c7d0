// A page of a kind's revision listing ("?fields=id,revision"): the id and
// revision of each listed item, read from the body by simdjson's on-demand
// parser straight into pairs, with no value tree of the page. The delta
// compares these with the stored revisions.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/Error.h"
#include "foundation/Object.h"
#include "foundation/Value.h"
#include "http/QNJSONResponseSerializer.h"

class RevisionListing : public foundation::Object {
public:
    // An item's id (read by the one rule for service ids, ModelReading::idOf)
    // and its revision (a string, number, Boolean or null; absent when
    // missing or a container).
    struct Entry {
        std::string id;
        foundation::Value revision;
    };

    enum class Reading { Listed, NotAList, Malformed };

    // The entries of a JSON array of items; an item that is not an object, or
    // whose id is no usable one, is left out (and counted), and a repeated
    // key counts with its last value. The text lies at the start of a buffer
    // of `capacity` bytes; the reason of a malformed text goes to `reason`.
    Reading read(std::string_view text, size_t capacity, std::string& reason);
    // The same from items already read (a body in another charset).
    void readItems(const foundation::Value::Array& items);

    const std::vector<Entry>& entries() const { return entries_; }
    // How many items were left out for want of a usable id.
    size_t unusable() const { return unusable_; }
    std::string className() const override { return "QVARevisionListing"; }

private:
    std::vector<Entry> entries_;
    size_t unusable_ = 0;
};

// Reads a listing page's body into a RevisionListing (the result's object).
// A body answered with a failure status, or in a charset other than UTF-8,
// is read as any JSON body first; a body that is no JSON array has no result.
class RevisionListingSerializer : public QNJSONResponseSerializer {
public:
    foundation::Value responseObjectForResponse(const std::shared_ptr<foundation::URLResponse>& response,
                                                const std::optional<foundation::Data>& data,
                                                foundation::ErrorPtr* error) const override;
};
