// The identity of one list row, handed from a list to a detail screen: where
// the row stood in the list that produced it, the row object's identifier
// and its entity. A fetched-results list leaves the entity unset, in which
// case the detail screen keeps its own.
#pragma once

#include <optional>
#include <string>

#include "foundation/Object.h"
#include "uikit/NSIndexPath.h"

class IdIndexPair : public foundation::Object {
public:
    IdIndexPair() = default;
    IdIndexPair(uikit::NSIndexPath indexPath, std::optional<std::string> objectId, std::optional<std::string> entityName)
        : indexPath_(indexPath), objectId_(std::move(objectId)), entityName_(std::move(entityName)) {}

    const uikit::NSIndexPath& indexPath() const { return indexPath_; }
    void setIndexPath(const uikit::NSIndexPath& indexPath) { indexPath_ = indexPath; }
    const std::optional<std::string>& objectId() const { return objectId_; }
    void setObjectId(std::optional<std::string> objectId) { objectId_ = std::move(objectId); }
    const std::optional<std::string>& entityName() const { return entityName_; }
    void setEntityName(std::optional<std::string> entityName) { entityName_ = std::move(entityName); }

    std::string className() const override { return "IdIndexPair"; }

private:
    uikit::NSIndexPath indexPath_;
    std::optional<std::string> objectId_;
    std::optional<std::string> entityName_;
};

using IdIndexPairPtr = std::shared_ptr<IdIndexPair>;
