// What a detail screen asks the list it came from when the person swipes:
// which row comes next, with the list's selection moved there.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "uikit/NSIndexPath.h"

class IdIndexPair;

class SwipeParentControllerProtocol {
public:
    // The swipe recognizer's direction value that asks for the next row (a
    // swipe to the left); every other value asks for the previous one.
    static constexpr unsigned kNextRowDirection = 2;

    virtual ~SwipeParentControllerProtocol() = default;
    // The row after (or before) the one at indexPath, or null when there is
    // none; the list selects it.
    virtual std::shared_ptr<IdIndexPair> getNextIdIndexPathPairAndMoveSelectionInDirection(
        unsigned direction, const std::optional<std::string>& currentDetailId, const uikit::NSIndexPath& indexPath) = 0;
};
