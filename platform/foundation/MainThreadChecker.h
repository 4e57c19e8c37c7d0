// The main thread says so when touched from elsewhere: UI work and every store
// fetch belong to it, and a call from another thread is a programming error
// that must fail loudly at once, not corrupt state later.
#pragma once

#include <string>

#include "foundation/Exception.h"

namespace foundation {

// True only on the process's main thread (the thread that runs main()).
bool isMainThread();

// Raises Exception(name, reason) unless called on the main thread, e.g.
// requireMainThread("Please call this from main thread only").
void requireMainThread(const std::string& reason, const std::string& name = kInternalInconsistencyException);

}  // namespace foundation
