// One list slot's fetched results controller, kept across a refresh that
// would make it again with the same request while its context shows what it
// showed when the controller fetched. A screen refreshes on appearing and
// after every content notice; a long list read again row by row when nothing
// changed costs the most where the list is longest. Main queue only.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "coredata/FetchRequest.h"
#include "coredata/FetchedResultsController.h"
#include "store/StoreReadStamp.h"

class KeptFetchedResults {
public:
    using ControllerPtr = std::shared_ptr<coredata::FetchedResultsController>;

    // `previous` (the slot's controller) when this slot fetched it last, on
    // `context`, with an equal request and section key path, and the context
    // has not changed since. Else a new controller, set up by `configure`
    // and fetched; `error` tells a failed fetch, which is never kept. The
    // replaced controller hears no more changes but stays in its slot until
    // the new one has fetched: the context then hands back the objects it
    // held instead of freeing a long list's objects and making them again.
    ControllerPtr controller(const ControllerPtr& previous, coredata::FetchRequest request,
                             std::optional<std::string> sectionNameKeyPath, const coredata::ContextPtr& context,
                             const std::function<void(coredata::FetchedResultsController&)>& configure,
                             foundation::ErrorPtr& error);

    // Whether two requests fetch the same rows in the same order and shape.
    static bool sameRequest(const coredata::FetchRequest& a, const coredata::FetchRequest& b);

private:
    std::weak_ptr<coredata::FetchedResultsController> controller_;
    StoreReadStamp stamp_;
};
