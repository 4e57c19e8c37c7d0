// A stack of its own for signal handlers. A thread whose stack overflowed
// cannot run a handler on that stack; with an alternate stack, a handler
// installed with SA_ONSTACK still runs and can record the crash. Every thread
// the platform starts takes one, and so does the thread that installs the
// crash handlers (the main thread).
#pragma once

namespace foundation {

class AlternateSignalStack {
public:
    // The size of each stack: room for a handler that formats a record.
    static constexpr unsigned long kSize = 64 * 1024;

    // Gives the calling thread an alternate signal stack unless it has one;
    // the stack is released when the thread ends. False when the system
    // refused the memory or the stack.
    static bool installForCurrentThread();
};

}  // namespace foundation
