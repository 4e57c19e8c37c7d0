// A counting semaphore for the few places that must block until another
// thread answers (the HTTP library's task lists).
// Invariants: each signal releases at most one wait; a wait that timed out
// consumes nothing.
#pragma once

#include <memory>

#include "dispatch/WaitForever.h"

namespace dispatch {

class Semaphore {
public:
    // Raises foundation::Exception for a negative value.
    explicit Semaphore(long value);
    ~Semaphore();
    Semaphore(const Semaphore&) = delete;
    Semaphore& operator=(const Semaphore&) = delete;

    void signal();
    // True when signalled before `timeoutSeconds` of real time passed
    // (kWaitForever: no limit).
    bool wait(double timeoutSeconds);

private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace dispatch
