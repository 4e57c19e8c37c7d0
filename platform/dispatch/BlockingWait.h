// Marks a wait for work done elsewhere (another task, a timer, the network)
// while it lasts: a pool worker waiting gives its place among the running
// workers to a queued task meanwhile, as a thread the system sees blocked
// would. Every blocking wait of the dispatch and foundation libraries holds
// one; so should code that makes a worker wait some other way.
#pragma once

namespace dispatch {

class BlockingWait {
public:
    BlockingWait();
    ~BlockingWait();
    BlockingWait(const BlockingWait&) = delete;
    BlockingWait& operator=(const BlockingWait&) = delete;

private:
    bool released_;
};

}  // namespace dispatch
