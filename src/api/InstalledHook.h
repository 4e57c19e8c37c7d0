// One function the application shell (or a screen folder's service) installs
// for the service layer to call: the services sit below the screens and
// reach them only through what was installed. Any thread may install or read.
#pragma once

#include <mutex>
#include <utility>

template <typename Function>
class InstalledHook {
public:
    // Replaces the function; an empty one removes it.
    void set(Function function) {
        std::lock_guard<std::mutex> lock(mutex_);
        function_ = std::move(function);
    }
    // A copy, so that the caller runs it outside the lock: it may install
    // another one.
    Function get() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return function_;
    }

private:
    mutable std::mutex mutex_;
    Function function_;
};
