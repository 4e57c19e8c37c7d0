// The console log: one sink, standard error by default. Lines carry no level;
// the libraries prefix their own ("[CrashReporter] ", "[SVGXElement] WARNING:").
#pragma once

#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "foundation/Format.h"

namespace foundation {

using LogSink = std::function<void(const std::string& line)>;

// Replaces the sink; an empty function restores standard error. Returns the old one.
LogSink setLogSink(LogSink sink);
void logLine(const std::string& line);

template <class... A>
void Log(std::string_view format, const A&... args) {
    logLine(Format(format, args...));
}

// Collects log lines for the life of the object (tests), restoring the previous
// sink afterwards.
class ScopedLogCapture {
public:
    ScopedLogCapture();
    ~ScopedLogCapture();
    ScopedLogCapture(const ScopedLogCapture&) = delete;
    ScopedLogCapture& operator=(const ScopedLogCapture&) = delete;

    std::vector<std::string> lines() const;
    bool contains(const std::string& fragment) const;
    void clear();

private:
    mutable std::mutex mutex_;
    std::vector<std::string> lines_;
    LogSink previous_;
};

}  // namespace foundation
