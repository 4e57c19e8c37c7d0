// One list slot's fetched results controller, kept across a refresh that
// would make it again with the same request while its context shows what it
// showed when the controller fetched. A screen refreshes on appearing and
// after every content notice; a long list read again row by row when nothing
// changed costs the most where the list is longest. Main queue only.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "coredata/FetchRequest.h"
#include "coredata/FetchedResultsController.h"
#include "store/StoreReadStamp.h"

class KeptFetchedResults {
public:
    using ControllerPtr = std::shared_ptr<coredata::FetchedResultsController>;

    // `previous` when it is the controller this slot fetched last, on
    // `context`, with an equal request and section key path, and the context
    // has not changed since; null when a new one must fetch.
    ControllerPtr reusable(const ControllerPtr& previous, const coredata::FetchRequest& request,
                           const std::optional<std::string>& sectionNameKeyPath,
                           const coredata::ContextPtr& context) const;
    // Called just before `controller` fetches, and after with its outcome: a
    // failed fetch is never kept.
    void fetching(const ControllerPtr& controller, const coredata::ContextPtr& context);
    void fetchFailed() { stamp_.clear(); }

    // Whether two requests fetch the same rows in the same order and shape.
    static bool sameRequest(const coredata::FetchRequest& a, const coredata::FetchRequest& b);

private:
    std::weak_ptr<coredata::FetchedResultsController> controller_;
    StoreReadStamp stamp_;
};
