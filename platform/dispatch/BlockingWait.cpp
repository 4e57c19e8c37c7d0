#include "dispatch/BlockingWait.h"

#include "dispatch/WorkerPool.h"

namespace dispatch {

BlockingWait::BlockingWait() : released_(detail::WorkerPool::shared().blockingWaitBegins()) {}

BlockingWait::~BlockingWait() {
    if (released_) detail::WorkerPool::shared().blockingWaitEnds();
}

}  // namespace dispatch
