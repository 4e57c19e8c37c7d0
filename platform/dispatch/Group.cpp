#include "dispatch/Group.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <utility>
#include <vector>

#include "dispatch/BlockingWait.h"
#include "dispatch/Queue.h"
#include "foundation/Exception.h"

namespace dispatch {

namespace {

class GroupImpl final : public Group, public std::enable_shared_from_this<GroupImpl> {
public:
    void enter() override {
        std::lock_guard lock(mutex_);
        ++count_;
    }

    void leave() override {
        std::vector<std::pair<QueuePtr, std::function<void()>>> toNotify;
        {
            std::lock_guard lock(mutex_);
            if (count_ == 0) {
                foundation::raise(foundation::kInternalInconsistencyException,
                                  "a dispatch group was left more often than entered");
            }
            if (--count_ > 0) return;
            toNotify = std::move(notifications_);
            notifications_.clear();
            emptied_.notify_all();
        }
        for (auto& [queue, task] : toNotify) queue->async(std::move(task));
    }

    void async(const QueuePtr& queue, std::function<void()> task) override {
        enter();
        queue->async([self = shared_from_this(), task = std::move(task)] {
            task();
            self->leave();
        });
    }

    void notify(const QueuePtr& queue, std::function<void()> task) override {
        {
            std::lock_guard lock(mutex_);
            if (count_ > 0) {
                notifications_.emplace_back(queue, std::move(task));
                return;
            }
        }
        queue->async(std::move(task));
    }

    bool wait(double timeoutSeconds) override {
        std::unique_lock lock(mutex_);
        auto empty = [&] { return count_ == 0; };
        std::optional<BlockingWait> blocking;
        if (!empty()) blocking.emplace();
        if (!(timeoutSeconds < 1e9)) {
            emptied_.wait(lock, empty);
            return true;
        }
        return emptied_.wait_for(lock, std::chrono::duration<double>(std::max(timeoutSeconds, 0.0)), empty);
    }

private:
    std::mutex mutex_;
    std::condition_variable emptied_;
    long count_ = 0;
    std::vector<std::pair<QueuePtr, std::function<void()>>> notifications_;
};

}  // namespace

GroupPtr Group::create() {
    return std::make_shared<GroupImpl>();
}

}  // namespace dispatch
