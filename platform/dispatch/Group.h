// Joins parallel work: enter before each piece starts, leave when it ends;
// notify runs once the count of entered-but-not-left work drops to zero.
// Invariants: the count never goes below zero (an unbalanced leave is a
// programming error); each notify block runs exactly once, on its queue, after
// the group was empty at some moment at or after the notify call.
#pragma once

#include <functional>
#include <memory>

#include "dispatch/WaitForever.h"

namespace dispatch {

class Queue;
using QueuePtr = std::shared_ptr<Queue>;

class Group;
using GroupPtr = std::shared_ptr<Group>;

class Group {
public:
    static GroupPtr create();
    virtual ~Group() = default;
    virtual void enter() = 0;
    // Raises foundation::Exception when nothing was entered.
    virtual void leave() = 0;
    // Runs the task on the queue as a member of the group.
    virtual void async(const QueuePtr& queue, std::function<void()> task) = 0;
    // Runs the task on the queue once the group is empty (at once when it
    // already is).
    virtual void notify(const QueuePtr& queue, std::function<void()> task) = 0;
    // True when the group emptied before `timeoutSeconds` of real time passed
    // (kWaitForever: no limit).
    virtual bool wait(double timeoutSeconds) = 0;
};

}  // namespace dispatch
