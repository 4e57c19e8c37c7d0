// Task state and the commands callers give; the transfer itself runs in the
// engine. State changes happen under the task's lock and are announced to
// lifecycle observers after it is released.
#include "foundation/URLSessionTask.h"

#include <map>

#include "foundation/Format.h"
#include "foundation/URLSession.h"
#include "foundation/URLSessionEngine.h"
#include "foundation/URLTransfer.h"

namespace foundation {

namespace {

struct Observers {
    std::mutex mutex;
    int nextId = 1;
    std::map<int, URLSessionTask::LifecycleObserver> observers;
};

Observers& observers() {
    static Observers* o = new Observers();
    return *o;
}

void announce(const URLSessionTaskPtr& task, URLSessionTask::LifecycleEvent event) {
    std::vector<URLSessionTask::LifecycleObserver> list;
    {
        std::lock_guard lock(observers().mutex);
        for (auto& [id, o] : observers().observers) list.push_back(o);
    }
    for (auto& o : list) o(task, event);
}

}  // namespace

URLSessionTask::URLSessionTask(Kind kind, uint64_t identifier, std::shared_ptr<URLSession> session, URLRequest request)
    : kind_(kind), identifier_(identifier), session_(std::move(session)), original_(request), current_(std::move(request)) {}

URLSessionTask::~URLSessionTask() = default;

std::string URLSessionTask::className() const {
    switch (kind_) {
        case Kind::Data: return "NSURLSessionDataTask";
        case Kind::Upload: return "NSURLSessionUploadTask";
        case Kind::Download: return "NSURLSessionDownloadTask";
    }
    return "NSURLSessionTask";
}

std::string URLSessionTask::description() const {
    return Format("<%@: %p>{ taskIdentifier: %llu }", className(), static_cast<const void*>(this), identifier_);
}

URLRequest URLSessionTask::currentRequest() const {
    std::lock_guard lock(mutex_);
    return current_;
}

std::shared_ptr<URLResponse> URLSessionTask::response() const {
    std::lock_guard lock(mutex_);
    return response_;
}

URLSessionTask::State URLSessionTask::state() const {
    std::lock_guard lock(mutex_);
    return state_;
}

ErrorPtr URLSessionTask::error() const {
    std::lock_guard lock(mutex_);
    return error_;
}

std::string URLSessionTask::taskDescription() const {
    std::lock_guard lock(mutex_);
    return description_;
}

void URLSessionTask::setTaskDescription(std::string description) {
    std::lock_guard lock(mutex_);
    description_ = std::move(description);
}

int64_t URLSessionTask::countOfBytesSent() const {
    std::lock_guard lock(mutex_);
    return sent_;
}

int64_t URLSessionTask::countOfBytesExpectedToSend() const {
    std::lock_guard lock(mutex_);
    return expectedToSend_;
}

int64_t URLSessionTask::countOfBytesReceived() const {
    std::lock_guard lock(mutex_);
    return received_;
}

int64_t URLSessionTask::countOfBytesExpectedToReceive() const {
    std::lock_guard lock(mutex_);
    return expectedToReceive_;
}

void URLSessionDataTask::setHeadObserver(HeadObserver observer) {
    std::lock_guard lock(headObserverMutex_);
    headObserver_ = std::move(observer);
}

URLSessionDataTask::HeadObserver URLSessionDataTask::headObserver() const {
    std::lock_guard lock(headObserverMutex_);
    return headObserver_;
}

void URLSessionTask::resume() {
    bool start = false;
    {
        std::lock_guard lock(mutex_);
        if (state_ != State::Suspended) return;
        state_ = State::Running;
        start = !started_;
        started_ = true;
    }
    auto self = std::static_pointer_cast<URLSessionTask>(shared_from_this());
    notifyObservers("state");
    announce(self, LifecycleEvent::Resumed);
    if (start) URLSessionEngine::shared().startTask(self);
    else URLSessionEngine::shared().setTaskSuspended(self, false);
}

void URLSessionTask::suspend() {
    {
        std::lock_guard lock(mutex_);
        if (state_ != State::Running) return;
        state_ = State::Suspended;
    }
    auto self = std::static_pointer_cast<URLSessionTask>(shared_from_this());
    notifyObservers("state");
    announce(self, LifecycleEvent::Suspended);
    URLSessionEngine::shared().setTaskSuspended(self, true);
}

void URLSessionTask::cancel() {
    {
        std::lock_guard lock(mutex_);
        if (state_ == State::Completed || state_ == State::Canceling) return;
        state_ = State::Canceling;
    }
    notifyObservers("state");
    URLSessionEngine::shared().cancelTask(std::static_pointer_cast<URLSessionTask>(shared_from_this()));
}

int URLSessionTask::addLifecycleObserver(LifecycleObserver observer) {
    std::lock_guard lock(observers().mutex);
    int id = observers().nextId++;
    observers().observers[id] = std::move(observer);
    return id;
}

void URLSessionTask::removeLifecycleObserver(int id) {
    std::lock_guard lock(observers().mutex);
    observers().observers.erase(id);
}

void URLSessionTask::setCurrentRequest(URLRequest request) {
    std::lock_guard lock(mutex_);
    current_ = std::move(request);
}

void URLSessionTask::setResponse(std::shared_ptr<URLResponse> response) {
    std::lock_guard lock(mutex_);
    response_ = std::move(response);
}

void URLSessionTask::addBytesSent(int64_t count) {
    {
        std::lock_guard lock(mutex_);
        sent_ += count;
    }
    if (count != 0) notifyObservers("countOfBytesSent");
}

void URLSessionTask::setBytesExpectedToSend(int64_t count) {
    std::lock_guard lock(mutex_);
    expectedToSend_ = count;
}

void URLSessionTask::addBytesReceived(int64_t count) {
    {
        std::lock_guard lock(mutex_);
        received_ += count;
    }
    if (count != 0) notifyObservers("countOfBytesReceived");
}

void URLSessionTask::setBytesExpectedToReceive(int64_t count) {
    std::lock_guard lock(mutex_);
    expectedToReceive_ = count;
}

bool URLSessionTask::markCompleted(ErrorPtr error) {
    {
        std::lock_guard lock(mutex_);
        if (state_ == State::Completed) return false;
        state_ = State::Completed;
        error_ = std::move(error);
    }
    notifyObservers("state");
    return true;
}

int URLSessionTask::addObserver(const std::string& keyPath, KeyPathObserver observer) {
    if (keyPath != "state" && keyPath != "countOfBytesSent" && keyPath != "countOfBytesReceived") return 0;
    if (!observer) return 0;
    std::lock_guard lock(observersMutex_);
    int id = nextObserverId_++;
    observers_.push_back({id, {keyPath, std::move(observer)}});
    return id;
}

bool URLSessionTask::removeObserver(int id) {
    std::lock_guard lock(observersMutex_);
    for (auto it = observers_.begin(); it != observers_.end(); ++it) {
        if (it->first == id) {
            observers_.erase(it);
            return true;
        }
    }
    return false;
}

void URLSessionTask::notifyObservers(const char* keyPath) {
    std::vector<KeyPathObserver> list;
    {
        std::lock_guard lock(observersMutex_);
        for (auto& [id, o] : observers_) {
            if (o.keyPath == keyPath) list.push_back(o.observer);
        }
    }
    if (list.empty()) return;
    // Completion may come while the last owner lets go; nobody can observe then.
    auto self = std::static_pointer_cast<URLSessionTask>(weak_from_this().lock());
    if (!self) return;
    for (auto& o : list) o(self, keyPath);
}

}  // namespace foundation
