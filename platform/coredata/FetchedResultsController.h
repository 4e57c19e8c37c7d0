// A fetched-results controller: the result of one fetch request on one
// context, split into sections by a key path, kept current after each change
// that reaches its context (a child's save, or its own save) and holds an
// object of its entity: changes of other entities cannot alter the results
// and are skipped without a fetch. Changes are
// found by fetching again and comparing with what was shown before, and are
// reported to the delegate in one batch: will change, section deletions and
// insertions, object deletions, insertions, moves and updates, did change.
// A controller without a delegate, or over dictionary results, reports
// nothing and keeps its results until the next performFetch. Used on the
// context's queue only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "coredata/FetchRequest.h"
#include "coredata/ManagedObjectContext.h"
#include "foundation/Error.h"
#include "foundation/Object.h"
#include "foundation/Value.h"

namespace coredata {

struct IndexPath {
    size_t section = 0;
    size_t row = 0;
    bool operator==(const IndexPath&) const = default;
};

enum class FetchedResultsChangeType { Insert = 1, Delete = 2, Move = 3, Update = 4 };

struct FetchedResultsSectionInfo {
    // The section key's text for the section's objects ("" when they have none).
    std::string name;
    foundation::Value::Array objects;
    size_t numberOfObjects() const { return objects.size(); }
};

class FetchedResultsController;

class FetchedResultsControllerDelegate {
public:
    virtual ~FetchedResultsControllerDelegate() = default;
    virtual void controllerWillChangeContent(FetchedResultsController&) {}
    virtual void controller(FetchedResultsController&, const FetchedResultsSectionInfo& /*section*/, size_t /*sectionIndex*/,
                            FetchedResultsChangeType) {}
    // Insert: new path only; delete: old path only; move and update: both.
    virtual void controller(FetchedResultsController&, const foundation::Value& /*object*/,
                            std::optional<IndexPath> /*indexPath*/, FetchedResultsChangeType,
                            std::optional<IndexPath> /*newIndexPath*/) {}
    virtual void controllerDidChangeContent(FetchedResultsController&) {}
};

class FetchedResultsController : public foundation::Object {
public:
    // The cache name is accepted for the platform's shape and not used.
    FetchedResultsController(FetchRequest request, ContextPtr context, std::optional<std::string> sectionNameKeyPath,
                             std::optional<std::string> cacheName = std::nullopt);
    ~FetchedResultsController() override;
    FetchedResultsController(const FetchedResultsController&) = delete;
    FetchedResultsController& operator=(const FetchedResultsController&) = delete;

    const FetchRequest& fetchRequest() const { return request_; }
    const ContextPtr& managedObjectContext() const { return context_; }
    const std::optional<std::string>& sectionNameKeyPath() const { return sectionNameKeyPath_; }
    std::shared_ptr<FetchedResultsControllerDelegate> delegate() const { return delegate_.lock(); }
    void setDelegate(std::weak_ptr<FetchedResultsControllerDelegate> delegate) { delegate_ = std::move(delegate); }

    // Null on success.
    foundation::ErrorPtr performFetch();
    const foundation::Value::Array& fetchedObjects() const { return objects_; }
    const std::vector<FetchedResultsSectionInfo>& sections() const { return sections_; }
    // Raises a range exception for a path outside the results.
    foundation::Value objectAtIndexPath(const IndexPath& indexPath) const;
    std::optional<IndexPath> indexPathForObject(const foundation::Value& object) const;

    std::string className() const override { return "NSFetchedResultsController"; }

private:
    void contextDidChange(const ContextChanges& changes);
    // Whether the change holds an object of the request's entity (or of a
    // sub-entity, when the request includes them).
    bool touchesFetchedEntity(const ContextChanges& changes) const;
    bool isOfFetchedEntity(const ManagedObject& object) const;
    // A change that only updates shown objects and leaves each where it
    // stood (still matching, same sort and section keys) is reported row by
    // row without a fetch; false when the change needs the full comparison.
    bool reportUpdatesInPlace(const ContextChanges& changes, FetchedResultsControllerDelegate& delegate);
    // The values that place each object (sort keys, then the section key),
    // in the objects' order, found by primary key.
    struct PlacementKeys {
        size_t width = 0;
        std::vector<foundation::Value> values;           // width per object
        std::vector<std::pair<int64_t, size_t>> offsets;  // by primary key
        // The object's first value, or null.
        const foundation::Value* find(int64_t primaryKey) const;
    };
    std::vector<FetchedResultsSectionInfo> group(const foundation::Value::Array& objects,
                                                 const PlacementKeys& placement) const;
    PlacementKeys placementKeys(const foundation::Value::Array& objects) const;

    FetchRequest request_;
    ContextPtr context_;
    std::optional<std::string> sectionNameKeyPath_;
    std::weak_ptr<FetchedResultsControllerDelegate> delegate_;
    foundation::Value::Array objects_;
    std::vector<FetchedResultsSectionInfo> sections_;
    PlacementKeys placement_;
    int observer_ = 0;
};

}  // namespace coredata
