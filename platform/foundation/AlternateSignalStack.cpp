#include "foundation/AlternateSignalStack.h"

#include <signal.h>
#include <sys/mman.h>

#include <cstddef>

namespace foundation {

namespace {

// The stack of one thread, taken back when the thread ends. The mapping is
// made before any crash, as a signal handler may not allocate.
struct ThreadStack {
    void* memory = nullptr;
    size_t size = 0;

    ~ThreadStack() {
        if (!memory) return;
        stack_t off{};
        off.ss_flags = SS_DISABLE;
        ::sigaltstack(&off, nullptr);
        ::munmap(memory, size);
    }
};

thread_local ThreadStack threadStack;

}  // namespace

bool AlternateSignalStack::installForCurrentThread() {
    stack_t current{};
    if (::sigaltstack(nullptr, &current) == 0 && !(current.ss_flags & SS_DISABLE)) return true;
    size_t size = size_t(kSize) < size_t(MINSIGSTKSZ) ? size_t(MINSIGSTKSZ) : size_t(kSize);
    void* memory = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (memory == MAP_FAILED) return false;
    stack_t stack{};
    stack.ss_sp = memory;
    stack.ss_size = size;
    if (::sigaltstack(&stack, nullptr) != 0) {
        ::munmap(memory, size);
        return false;
    }
    threadStack.memory = memory;
    threadStack.size = size;
    return true;
}

}  // namespace foundation
