#include "foundation/Thread.h"

#include <pthread.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <thread>

#include "foundation/AlternateSignalStack.h"
#include "foundation/Exception.h"
#include "foundation/RunLoop.h"

namespace foundation {

namespace {

// Set on threads made here, read by RunLoop::current() and currentName().
thread_local Thread* tlsThread = nullptr;

}  // namespace

bool isMainThread() {
    // On Linux the initial thread's id is the process id: true from the very
    // first instruction, whoever asks first.
    static const pid_t pid = getpid();
    thread_local const bool isMain = static_cast<pid_t>(syscall(SYS_gettid)) == pid;
    return isMain;
}

// Exposes the calling thread's loop to RunLoop::current() without making the
// thread registry public.
RunLoop* currentThreadRunLoop() {
    return tlsThread ? &tlsThread->runLoop() : nullptr;
}

struct Thread::State {
    std::atomic<int> phase{0};  // 0 not started, 1 executing, 2 finished
};

std::shared_ptr<Thread> Thread::create(std::string name, std::function<void()> entry) {
    return std::shared_ptr<Thread>(new Thread(std::move(name), std::move(entry)));
}

Thread::Thread(std::string name, std::function<void()> entry)
    : name_(std::move(name)), entry_(std::move(entry)), runLoop_(new RunLoop()), state_(new State()) {}

Thread::~Thread() = default;

void Thread::start() {
    int expected = 0;
    if (!state_->phase.compare_exchange_strong(expected, 1)) return;
    std::thread([self = shared_from_this()] {
        tlsThread = self.get();
        AlternateSignalStack::installForCurrentThread();
        // The kernel keeps at most 15 characters of a thread name.
        pthread_setname_np(pthread_self(), self->name_.substr(0, 15).c_str());
        auto entry = std::move(self->entry_);
        if (entry) entry();
        self->state_->phase = 2;
        tlsThread = nullptr;
        RunLoop::workDidEnd();
    }).detach();
}

bool Thread::isExecuting() const {
    return state_->phase == 1;
}

bool Thread::isFinished() const {
    return state_->phase == 2;
}

std::string Thread::currentName() {
    if (tlsThread) return tlsThread->name_;
    if (isMainThread()) return "main";
    return {};
}

}  // namespace foundation
