#include "foundation/OperationQueue.h"

#include <algorithm>
#include <thread>

#include "dispatch/BlockingWait.h"
#include "dispatch/Queue.h"
#include "foundation/Exception.h"
#include "foundation/Format.h"
#include "foundation/RunLoop.h"

namespace foundation {

namespace {

thread_local OperationQueue* tlsCurrentOperationQueue = nullptr;
// The operation this thread starts for a queue that evaluates again, on this
// thread, as soon as start() returns: what that operation announces meanwhile
// needs no evaluation of its own.
thread_local const Operation* tlsOperationStartedInline = nullptr;

class InlineStartScope {
public:
    explicit InlineStartScope(const Operation* op) : previous_(tlsOperationStartedInline) {
        tlsOperationStartedInline = op;
    }
    ~InlineStartScope() { tlsOperationStartedInline = previous_; }
    InlineStartScope(const InlineStartScope&) = delete;
    InlineStartScope& operator=(const InlineStartScope&) = delete;

private:
    const Operation* previous_;
};

// A worker that keeps running a queue's operations one after another hands
// the rest to another worker after this many, as a serial dispatch queue does.
constexpr int kOperationsPerWorkerTurn = 64;

class CurrentOperationQueueScope {
public:
    explicit CurrentOperationQueueScope(OperationQueue* q) : previous_(tlsCurrentOperationQueue) {
        tlsCurrentOperationQueue = q;
    }
    ~CurrentOperationQueueScope() { tlsCurrentOperationQueue = previous_; }
    CurrentOperationQueueScope(const CurrentOperationQueueScope&) = delete;
    CurrentOperationQueueScope& operator=(const CurrentOperationQueueScope&) = delete;

private:
    OperationQueue* previous_;
};

// What the default width resolves to: plenty for operations that wait on the
// network, without a worker per queued image.
long defaultWidth() {
    static const long width = std::max(4L, 2L * static_cast<long>(std::thread::hardware_concurrency()));
    return width;
}

}  // namespace

OperationQueue::OperationQueue(bool isMain) : isMain_(isMain) {
    if (isMain_) {
        maxConcurrent_ = 1;
        name_ = "NSOperationQueue Main Queue";
    }
}

OperationQueue::~OperationQueue() = default;

OperationQueuePtr OperationQueue::create() {
    return OperationQueuePtr(new OperationQueue(false));
}

OperationQueuePtr OperationQueue::mainQueue() {
    // Never destroyed: operations may be queued on it while the process exits.
    static const OperationQueuePtr* queue = new OperationQueuePtr(new OperationQueue(true));
    return *queue;
}

OperationQueuePtr OperationQueue::currentQueue() {
    if (tlsCurrentOperationQueue) return tlsCurrentOperationQueue->self();
    if (isMainThread()) return mainQueue();
    return nullptr;
}

OperationQueuePtr OperationQueue::self() {
    return std::static_pointer_cast<OperationQueue>(shared_from_this());
}

std::string OperationQueue::description() const {
    return Format("<%@: %p>{name = '%@'}", className(), static_cast<const void*>(this), name());
}

void OperationQueue::addOperation(const OperationPtr& op) {
    if (!op) raise(kInvalidArgumentException, "an operation queue cannot run nothing");
    if (op->isExecuting() || op->isFinished()) {
        raise(kInvalidArgumentException, op->description() + " is executing or finished and cannot be enqueued");
    }
    if (!op->markEnqueued()) raise(kInvalidArgumentException, op->description() + " is already enqueued on a queue");
    std::weak_ptr<OperationQueue> weakQueue = self();
    const Operation* watched = op.get();
    int watcher = op->addStateWatcher([weakQueue, watched](std::string_view key) {
        if (key == "isExecuting") return;  // changes neither readiness nor the count of running operations
        if (tlsOperationStartedInline == watched) return;  // its queue looks again once start() returns
        if (auto q = weakQueue.lock()) q->scheduleEvaluation();
    });
    {
        std::lock_guard lock(mutex_);
        entries_.push_back({op, watcher, false});
        if (!keepAlive_) keepAlive_ = self();
    }
    scheduleEvaluation();
}

void OperationQueue::addOperations(const std::vector<OperationPtr>& ops, bool waitUntilFinished) {
    for (auto& op : ops) addOperation(op);
    if (waitUntilFinished) {
        for (auto& op : ops) op->waitUntilFinished();
    }
}

void OperationQueue::addOperationWithBlock(std::function<void()> block) {
    addOperation(BlockOperation::blockOperationWithBlock(std::move(block)));
}

std::vector<OperationPtr> OperationQueue::operations() const {
    std::lock_guard lock(mutex_);
    std::vector<OperationPtr> out;
    for (auto& e : entries_) out.push_back(e.op);
    return out;
}

size_t OperationQueue::operationCount() const {
    std::lock_guard lock(mutex_);
    return entries_.size();
}

long OperationQueue::maxConcurrentOperationCount() const {
    std::lock_guard lock(mutex_);
    return maxConcurrent_;
}

void OperationQueue::setMaxConcurrentOperationCount(long count) {
    if (isMain_) return;
    if (count != kDefaultMaxConcurrentOperationCount && count < 1) {
        raise(kInvalidArgumentException, "an operation queue needs a width of at least 1");
    }
    {
        std::lock_guard lock(mutex_);
        maxConcurrent_ = count;
    }
    scheduleEvaluation();
}

long OperationQueue::width() const {
    return maxConcurrent_ == kDefaultMaxConcurrentOperationCount ? defaultWidth() : maxConcurrent_;
}

void OperationQueue::cancelAllOperations() {
    for (auto& op : operations()) op->cancel();
}

void OperationQueue::waitUntilAllOperationsAreFinished() {
    std::unique_lock lock(mutex_);
    if (entries_.empty()) return;
    dispatch::BlockingWait blocking;
    emptied_.wait(lock, [&] { return entries_.empty(); });
}

std::string OperationQueue::name() const {
    std::lock_guard lock(mutex_);
    return name_;
}

void OperationQueue::setName(std::string name) {
    std::lock_guard lock(mutex_);
    name_ = std::move(name);
}

void OperationQueue::scheduleEvaluation() {
    if (!claimEvaluation()) return;
    // Never inline: the caller may be an operation announcing a change under
    // its own lock, and evaluating asks every operation for its state. The
    // worker that evaluates runs the first operation it starts itself.
    dispatch::Queue::global()->async([q = self()] {
        if (auto op = q->evaluate(!q->isMain_)) q->runOperations(op);
    });
}

bool OperationQueue::claimEvaluation() {
    std::lock_guard lock(mutex_);
    if (evaluationScheduled_) {
        evaluationPending_ = true;
        return false;
    }
    evaluationScheduled_ = true;
    return true;
}

void OperationQueue::runOperations(OperationPtr op) {
    auto keep = self();
    for (int n = 0; op; ++n) {
        {
            CurrentOperationQueueScope scope(this);
            InlineStartScope inlineStart(op.get());
            op->start();
        }
        op = nullptr;
        // What the operation did, released included, may be what the main
        // thread waits for.
        RunLoop::workDidEnd();
        // This thread holds no lock of anyone's here, so it looks again
        // itself: a plain operation has finished by now, and the next ready
        // one runs here without another hand-over.
        if (!claimEvaluation()) return;  // the evaluation running elsewhere sees it
        if (n + 1 >= kOperationsPerWorkerTurn) {
            evaluate(false);
            return;
        }
        op = evaluate(true);
    }
}

OperationPtr OperationQueue::evaluate(bool mayRunOneHere) {
    OperationPtr runHere;
    for (;;) {
        std::vector<Entry> snapshot;
        long limit;
        {
            std::lock_guard lock(mutex_);
            evaluationPending_ = false;
            snapshot = entries_;
            limit = width();
        }
        // The operations are asked outside our lock: their state may sit
        // behind locks of their own.
        std::vector<bool> finished;
        for (auto& e : snapshot) finished.push_back(e.op->isFinished());
        std::vector<int> watchersToRemove;
        long running = 0;
        {
            std::lock_guard lock(mutex_);
            for (size_t i = 0; i < snapshot.size(); ++i) {
                if (finished[i]) {
                    watchersToRemove.push_back(snapshot[i].watcher);
                    std::erase_if(entries_, [&](const Entry& e) { return e.op == snapshot[i].op; });
                }
            }
            for (auto& e : entries_) running += e.started ? 1 : 0;
        }
        for (size_t i = 0; i < snapshot.size(); ++i) {
            if (finished[i]) snapshot[i].op->removeStateWatcher(snapshot[i].watcher);
        }

        std::vector<OperationPtr> toStart;
        for (size_t i = 0; i < snapshot.size() && running < limit; ++i) {
            if (finished[i] || snapshot[i].started || !snapshot[i].op->isReady()) continue;
            std::lock_guard lock(mutex_);
            auto it = std::find_if(entries_.begin(), entries_.end(),
                                   [&](const Entry& e) { return e.op == snapshot[i].op; });
            if (it == entries_.end() || it->started) continue;
            it->started = true;
            ++running;
            toStart.push_back(it->op);
        }
        for (auto& op : toStart) {
            if (mayRunOneHere && !runHere) runHere = op;
            else startOperation(op);
        }

        OperationQueuePtr released;
        {
            std::lock_guard lock(mutex_);
            if (evaluationPending_) continue;
            evaluationScheduled_ = false;
            if (entries_.empty()) {
                released = std::move(keepAlive_);
                keepAlive_ = nullptr;
                emptied_.notify_all();
            }
        }
        return runHere;  // `released` may end this queue now; the caller holds it until the call returns
    }
}

void OperationQueue::startOperation(const OperationPtr& op) {
    if (!isMain_) {
        dispatch::Queue::global()->async([q = self(), op] { q->runOperations(op); });
        return;
    }
    dispatch::Queue::main()->async([q = self(), op] {
        {
            CurrentOperationQueueScope scope(q.get());
            InlineStartScope inlineStart(op.get());
            op->start();
        }
        // A plain operation has finished by now; look again in case it
        // announced nothing. The main thread holds no lock here either, so
        // it evaluates itself; the next operation is posted, to leave the
        // run loop its turn.
        if (q->claimEvaluation()) q->evaluate(false);
    });
}

}  // namespace foundation
