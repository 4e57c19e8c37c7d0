// Waiting for the file: writes complete once the main-queue context holds
// their changes, while the file save runs later on the writer's queue. A
// process that ends, or a command that says "done", must first let those
// saves finish; this is the one place that waits for them.
#if __has_include(<malloc.h>)
#include <malloc.h>
#endif

#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <mutex>
#include <utility>

#include "dispatch/Group.h"
#include "dispatch/Queue.h"
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

// A bulk write's rows, strings and row buffers were made and freed on
// several pool threads, so the allocator keeps the freed memory spread over
// as many arenas, where a later bulk write on other threads does not find
// it: the process would grow by most of a download with each download.
// Trimming gives the free pages of every arena back to the system. It does
// so a range at a time, each a flush of every core's address cache: for the
// few megabytes a small meeting leaves free it costs more than it returns,
// and the next download reuses them anyway.
constexpr size_t kFreeHeapWorthTrimming = size_t(16) << 20;

// Asking the allocator how much it holds free walks every free chunk of
// every arena, tens of milliseconds after a large download, as long as the
// trim itself. The resident size is one counter: what the process grew by
// since the last trim bounds what a trim can return now, so it decides.
size_t fileSavesResidentBytes() {
    long pages = 0, resident = 0;
    if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) resident = 0;
        std::fclose(statm);
    }
    return size_t(std::max(resident, 0L)) * size_t(sysconf(_SC_PAGESIZE));
}

void fileSavesReleaseFreeHeap() {
#ifdef __GLIBC__
    static std::mutex mutex;
    static size_t residentAfterTrim = 0;
    std::lock_guard lock(mutex);
    const size_t resident = fileSavesResidentBytes();
    if (residentAfterTrim == 0) {
        // Nothing to measure the growth from yet: the allocator is asked
        // once, so a first small download is not trimmed either.
        if (mallinfo2().fordblks < kFreeHeapWorthTrimming) {
            residentAfterTrim = resident;
            return;
        }
    } else if (resident < residentAfterTrim + kFreeHeapWorthTrimming) {
        return;
    }
    malloc_trim(0);
    residentAfterTrim = fileSavesResidentBytes();
#endif
}

}  // namespace

void StorageManager::releaseFreeHeapLater() { dispatch::Queue::global()->async(fileSavesReleaseFreeHeap); }

void StorageManager::waitForPendingFileSaves(WriteCompletion completion) {
    std::vector<std::shared_ptr<CoreDataStack>> stacks;
    for (const auto& [key, stack] : coreDataStackCaches()) stacks.push_back(stack);
    waitForFileSavesOfStacks(stacks, false, std::move(completion));
}

void StorageManager::waitForPendingFileSavesForAuthToken(const Text& authToken, const Text& eventId,
                                                         WriteCompletion completion) {
    std::vector<std::shared_ptr<CoreDataStack>> stacks;
    {
        std::lock_guard lock(cacheMutex_);
        auto it = coreDataStackCaches_.find(getDatabaseKeyForAuthToken(authToken, eventId));
        if (it != coreDataStackCaches_.end()) stacks.push_back(it->second);
    }
    waitForFileSavesOfStacks(stacks, true, std::move(completion));
}

void StorageManager::waitForFileSavesOfStacks(const std::vector<std::shared_ptr<CoreDataStack>>& stacks,
                                              bool releaseFreeMemory, WriteCompletion completion) {
    auto group = dispatch::Group::create();
    auto failure = std::make_shared<FirstError>();
    for (const auto& stack : stacks) {
        auto worker = stack->managedObjectContextWorkerOnBackground();
        auto background = stack->managedObjectContextBackgroundQueue();
        if (!worker || !background) continue;
        group->enter();
        // A write still on the worker queues its file save before its block
        // ends, so the file queue is looked at only after the worker's.
        worker->performBlock([this, stack, background, group, failure, releaseFreeMemory] {
            background->performBlock([this, stack, background, group, failure, releaseFreeMemory] {
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
                // Off the file queue, so the first fetch after the download
                // does not wait for it.
                if (releaseFreeMemory) releaseFreeHeapLater();
            });
        });
    }
    group->notify(dispatch::Queue::main(), [failure, completion = std::move(completion)] {
        if (completion) completion(failure->take(), Value());
    });
}
