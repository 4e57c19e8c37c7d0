// Programming errors only: a misuse the caller must fix (a store fetch off the
// main thread, a malformed predicate format). Failures of the outside world
// travel as Error values instead.
#pragma once

#include <stdexcept>
#include <string>

namespace foundation {

inline constexpr const char* kInternalInconsistencyException = "NSInternalInconsistencyException";
inline constexpr const char* kInvalidArgumentException = "NSInvalidArgumentException";
inline constexpr const char* kRangeException = "NSRangeException";

class Exception : public std::runtime_error {
public:
    Exception(std::string name, std::string reason)
        : std::runtime_error(name + ": " + reason), name_(std::move(name)), reason_(std::move(reason)) {}
    const std::string& name() const { return name_; }
    const std::string& reason() const { return reason_; }

private:
    std::string name_;
    std::string reason_;
};

[[noreturn]] inline void raise(std::string name, std::string reason) {
    throw Exception(std::move(name), std::move(reason));
}

}  // namespace foundation
