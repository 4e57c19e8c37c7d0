// Waiting for the file: writes complete once the main-queue context holds
// their changes, while the file save runs later on the writer's queue. A
// process that ends, or a command that says "done", must first let those
// saves finish; this is the one place that waits for them.
#include <mutex>
#include <utility>

#include "dispatch/Group.h"
#include "foundation/Log.h"
#include "store/StorageManager.h"

using foundation::ErrorPtr;
using foundation::Value;

namespace {

struct FirstError {
    std::mutex mutex;
    ErrorPtr error;

    void keep(ErrorPtr candidate) {
        if (!candidate) return;
        std::lock_guard lock(mutex);
        if (!error) error = std::move(candidate);
    }
    ErrorPtr take() {
        std::lock_guard lock(mutex);
        return error;
    }
};

}  // namespace

void StorageManager::waitForPendingFileSaves(WriteCompletion completion) {
    auto group = dispatch::Group::create();
    auto failure = std::make_shared<FirstError>();
    for (const auto& [key, stack] : coreDataStackCaches()) {
        auto worker = stack->managedObjectContextWorkerOnBackground();
        auto background = stack->managedObjectContextBackgroundQueue();
        if (!worker || !background) continue;
        group->enter();
        // A write still on the worker queues its file save before its block
        // ends, so the file queue is looked at only after the worker's.
        worker->performBlock([this, stack, background, group, failure] {
            background->performBlock([this, stack, background, group, failure] {
                ErrorPtr earlier = stack->takeFileSaveError();
                ErrorPtr retry;
                if (background->hasChanges()) {
                    retry = saveContext(*background);
                    if (retry) {
                        foundation::Log("Unable to write the store file.");
                        handleErrors(retry);
                    }
                }
                // An earlier failure whose changes went with a later save
                // lost nothing.
                if (earlier && !retry) foundation::Log("An earlier failed store file save was made good.");
                failure->keep(retry);
                group->leave();
            });
        });
    }
    group->notify(dispatch::Queue::main(), [failure, completion = std::move(completion)] {
        if (completion) completion(failure->take(), Value());
    });
}
