// A task's observers are called on the thread that moved its counts; they
// read the counts there and hand the new progress to the main queue, where
// the view's animation flag is read.
#include "http/UIProgressViewQNNetworking.h"

#include <atomic>

#include "dispatch/Queue.h"
#include "foundation/URLSessionTask.h"
#include "http/QNURLConnectionOperation.h"
#include "uikit/UIProgressView.h"

using foundation::URLSessionTask;
using foundation::URLSessionTaskPtr;
using uikit::UIProgressView;

namespace UIProgressViewQNNetworking {

namespace {

constexpr const char* kUploadAnimatedKey = "qn_uploadProgressAnimated";
constexpr const char* kDownloadAnimatedKey = "qn_downloadProgressAnimated";

enum class Direction { Upload, Download };

const char* flagKey(Direction direction) {
    return direction == Direction::Upload ? kUploadAnimatedKey : kDownloadAnimatedKey;
}

bool animatedFlag(const UIProgressView& view, Direction direction) {
    auto flag = std::static_pointer_cast<bool>(view.attachedObject(flagKey(direction)));
    return flag && *flag;
}

void setProgressOnMainQueue(const std::weak_ptr<UIProgressView>& weakView, float progress, Direction direction) {
    dispatch::Queue::main()->async([weakView, progress, direction] {
        if (auto view = weakView.lock()) view->setProgress(progress, animatedFlag(*view, direction));
    });
}

// The two registrations of one observation, removed together on completion.
struct Observation {
    std::atomic<int> stateId{0};
    std::atomic<int> countId{0};
    std::atomic<bool> ended{false};
};

void observeTask(const std::shared_ptr<UIProgressView>& view, const URLSessionTaskPtr& task, bool animated,
                 Direction direction) {
    view->setAttachedObject(flagKey(direction), std::make_shared<bool>(animated));
    const char* countKey = direction == Direction::Upload ? "countOfBytesSent" : "countOfBytesReceived";
    auto observation = std::make_shared<Observation>();
    std::weak_ptr<UIProgressView> weakView = view;
    auto changed = [weakView, direction, observation](const URLSessionTaskPtr& task, const std::string& keyPath) {
        if (keyPath == "countOfBytesSent") {
            int64_t expected = task->countOfBytesExpectedToSend();
            if (expected > 0) {
                setProgressOnMainQueue(weakView, float(task->countOfBytesSent()) / float(expected), direction);
            }
        } else if (keyPath == "countOfBytesReceived") {
            int64_t expected = task->countOfBytesExpectedToReceive();
            if (expected > 0) {
                setProgressOnMainQueue(weakView, float(task->countOfBytesReceived()) / float(expected), direction);
            }
        } else if (keyPath == "state" && task->state() == URLSessionTask::State::Completed) {
            if (observation->ended.exchange(true)) return;
            // Removing what is already gone is of no concern.
            task->removeObserver(observation->stateId);
            task->removeObserver(observation->countId);
        }
    };
    observation->stateId = task->addObserver("state", changed);
    observation->countId = task->addObserver(countKey, changed);
    // A task that completed before (or while) the registrations were made may
    // not have found their ids; removing twice is harmless.
    if (task->state() == URLSessionTask::State::Completed) {
        observation->ended = true;
        task->removeObserver(observation->stateId);
        task->removeObserver(observation->countId);
    }
}

}  // namespace

void setProgressWithUploadProgressOfTask(const std::shared_ptr<UIProgressView>& view, const URLSessionTaskPtr& task,
                                         bool animated) {
    observeTask(view, task, animated, Direction::Upload);
}

void setProgressWithDownloadProgressOfTask(const std::shared_ptr<UIProgressView>& view, const URLSessionTaskPtr& task,
                                           bool animated) {
    observeTask(view, task, animated, Direction::Download);
}

void setProgressWithUploadProgressOfOperation(const std::shared_ptr<UIProgressView>& view,
                                              const std::shared_ptr<QNURLConnectionOperation>& operation,
                                              bool animated) {
    std::weak_ptr<UIProgressView> weakView = view;
    auto original = operation->uploadProgressBlock();
    operation->setUploadProgressBlock([weakView, original, animated](int64_t bytes, int64_t total, int64_t expected) {
        if (original) original(bytes, total, expected);
        dispatch::Queue::main()->async([weakView, total, expected, animated] {
            if (expected <= 0) return;
            if (auto view = weakView.lock()) view->setProgress(float(total) / float(expected), animated);
        });
    });
}

void setProgressWithDownloadProgressOfOperation(const std::shared_ptr<UIProgressView>& view,
                                                const std::shared_ptr<QNURLConnectionOperation>& operation,
                                                bool animated) {
    std::weak_ptr<UIProgressView> weakView = view;
    auto original = operation->downloadProgressBlock();
    operation->setDownloadProgressBlock([weakView, original, animated](uint64_t bytes, int64_t total,
                                                                       int64_t expected) {
        if (original) original(bytes, total, expected);
        dispatch::Queue::main()->async([weakView, total, expected, animated] {
            if (expected <= 0) return;
            if (auto view = weakView.lock()) view->setProgress(float(total) / float(expected), animated);
        });
    });
}

}  // namespace UIProgressViewQNNetworking
