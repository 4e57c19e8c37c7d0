#include "foundation/Operation.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <map>
#include <mutex>
#include <utility>

#include "dispatch/BlockingWait.h"
#include "dispatch/Queue.h"
#include "foundation/Exception.h"

namespace foundation {

namespace {

enum Phase { kPending, kExecuting, kFinished };

}  // namespace

// Kept apart from the Operation so that watchers (queues, dependent
// operations) can hold it weakly and outlive nothing.
struct Operation::State {
    using Watcher = std::function<void(std::string_view key)>;

    mutable std::mutex mutex;
    std::condition_variable finishedAnnounced;
    bool finishAnnounced = false;
    bool cancelled = false;
    bool enqueued = false;      // in a queue, now or before: never in two
    std::atomic<bool> startClaimed = false;
    std::atomic<int> phase = kPending;  // of a plain operation
    std::function<void()> completion;
    std::vector<OperationPtr> dependencies;
    // Dependency → id of the watcher this operation put on it.
    std::map<const Operation*, int> dependencyWatchers;
    int nextWatcher = 1;
    std::map<int, Watcher> watchers;

    int addWatcher(Watcher w) {
        std::lock_guard lock(mutex);
        int id = nextWatcher++;
        watchers.emplace(id, std::move(w));
        return id;
    }
    void removeWatcher(int id) {
        std::lock_guard lock(mutex);
        watchers.erase(id);
    }
    void tellWatchers(std::string_view key) {
        std::vector<Watcher> toCall;
        {
            std::lock_guard lock(mutex);
            for (auto& [id, w] : watchers) toCall.push_back(w);
        }
        for (auto& w : toCall) w(key);
    }
};

Operation::Operation() : state_(std::make_shared<State>()) {}

Operation::~Operation() {
    std::lock_guard lock(state_->mutex);
    for (auto& dep : state_->dependencies) {
        auto it = state_->dependencyWatchers.find(dep.get());
        if (it != state_->dependencyWatchers.end()) dep->state_->removeWatcher(it->second);
    }
}

void Operation::start() {
    if (state_->startClaimed.exchange(true) || isExecuting() || isFinished()) {
        raise(kInvalidArgumentException, description() + " was started before");
    }
    if (!isReady()) {
        state_->startClaimed = false;
        raise(kInvalidArgumentException, description() + " is not yet ready to execute");
    }
    if (isCancelled()) {
        willChangeValueForKey("isFinished");
        state_->phase = kFinished;
        didChangeValueForKey("isFinished");
        return;
    }
    willChangeValueForKey("isExecuting");
    state_->phase = kExecuting;
    didChangeValueForKey("isExecuting");
    main();
    willChangeValueForKey("isExecuting");
    willChangeValueForKey("isFinished");
    state_->phase = kFinished;
    didChangeValueForKey("isExecuting");
    didChangeValueForKey("isFinished");
}

void Operation::cancel() {
    if (isFinished()) return;
    {
        std::lock_guard lock(state_->mutex);
        if (state_->cancelled) return;
    }
    willChangeValueForKey("isCancelled");
    willChangeValueForKey("isReady");
    {
        std::lock_guard lock(state_->mutex);
        state_->cancelled = true;
    }
    didChangeValueForKey("isCancelled");
    didChangeValueForKey("isReady");
}

bool Operation::isCancelled() const {
    std::lock_guard lock(state_->mutex);
    return state_->cancelled;
}

bool Operation::isReady() const {
    std::vector<OperationPtr> deps;
    {
        std::lock_guard lock(state_->mutex);
        if (state_->cancelled) return true;
        deps = state_->dependencies;
    }
    // Asked outside our lock: a dependency's state may sit behind its own.
    return std::all_of(deps.begin(), deps.end(), [](const OperationPtr& d) { return d->isFinished(); });
}

bool Operation::isExecuting() const {
    return state_->phase == kExecuting;
}

bool Operation::isFinished() const {
    return state_->phase == kFinished;
}

void Operation::addDependency(const OperationPtr& op) {
    if (!op || op.get() == this) raise(kInvalidArgumentException, "an operation cannot depend on itself or on nothing");
    {
        std::lock_guard lock(state_->mutex);
        if (state_->dependencyWatchers.count(op.get())) return;
    }
    // When the dependency finishes, this operation's readiness may change.
    std::weak_ptr<State> weakSelf = state_;
    int id = op->state_->addWatcher([weakSelf](std::string_view key) {
        if (key != "isFinished") return;
        if (auto self = weakSelf.lock()) self->tellWatchers("isReady");
    });
    std::lock_guard lock(state_->mutex);
    state_->dependencies.push_back(op);
    state_->dependencyWatchers[op.get()] = id;
}

void Operation::removeDependency(const OperationPtr& op) {
    int id = 0;
    {
        std::lock_guard lock(state_->mutex);
        auto it = state_->dependencyWatchers.find(op.get());
        if (it == state_->dependencyWatchers.end()) return;
        id = it->second;
        state_->dependencyWatchers.erase(it);
        std::erase(state_->dependencies, op);
    }
    op->state_->removeWatcher(id);
    state_->tellWatchers("isReady");
}

std::vector<OperationPtr> Operation::dependencies() const {
    std::lock_guard lock(state_->mutex);
    return state_->dependencies;
}

void Operation::setCompletionBlock(std::function<void()> block) {
    std::function<void()> old;
    std::lock_guard lock(state_->mutex);
    old = std::exchange(state_->completion, std::move(block));
}

std::function<void()> Operation::completionBlock() const {
    std::lock_guard lock(state_->mutex);
    return state_->completion;
}

void Operation::waitUntilFinished() {
    std::unique_lock lock(state_->mutex);
    if (state_->finishAnnounced) return;
    dispatch::BlockingWait blocking;
    state_->finishedAnnounced.wait(lock, [&] { return state_->finishAnnounced; });
}

bool Operation::markEnqueued() {
    std::lock_guard lock(state_->mutex);
    return !std::exchange(state_->enqueued, true);
}

int Operation::addStateWatcher(std::function<void(std::string_view key)> watcher) {
    return state_->addWatcher(std::move(watcher));
}

void Operation::removeStateWatcher(int id) {
    state_->removeWatcher(id);
}

void Operation::willChangeValueForKey(std::string_view) {}

void Operation::didChangeValueForKey(std::string_view key) {
    std::function<void()> completion;
    if (key == "isFinished" && isFinished()) {
        std::lock_guard lock(state_->mutex);
        if (!state_->finishAnnounced) {
            state_->finishAnnounced = true;
            completion = std::move(state_->completion);
            state_->completion = nullptr;
            state_->finishedAnnounced.notify_all();
        }
    }
    state_->tellWatchers(key);
    // Never on the announcing thread: that thread may hold the operation's
    // own lock, which the block is free to take.
    if (completion) dispatch::Queue::global()->async(std::move(completion));
}

BlockOperation::BlockOperation(std::function<void()> block) : block_(std::move(block)) {}

std::shared_ptr<BlockOperation> BlockOperation::blockOperationWithBlock(std::function<void()> block) {
    return std::make_shared<BlockOperation>(std::move(block));
}

void BlockOperation::main() {
    // Let go of what the block holds once it has run.
    auto block = std::move(block_);
    block_ = nullptr;
    if (block) block();
}

}  // namespace foundation
