#include "foundation/Log.h"

#include <cstdio>

namespace foundation {

namespace {
std::mutex& sinkMutex() {
    static std::mutex m;
    return m;
}
LogSink& currentSink() {
    static LogSink sink;
    return sink;
}
}  // namespace

LogSink setLogSink(LogSink sink) {
    std::lock_guard lock(sinkMutex());
    LogSink old = std::move(currentSink());
    currentSink() = std::move(sink);
    return old;
}

void logLine(const std::string& line) {
    std::lock_guard lock(sinkMutex());
    if (currentSink()) {
        currentSink()(line);
        return;
    }
    std::fprintf(stderr, "%s\n", line.c_str());
}

ScopedLogCapture::ScopedLogCapture() {
    previous_ = setLogSink([this](const std::string& line) {
        std::lock_guard lock(mutex_);
        lines_.push_back(line);
    });
}

ScopedLogCapture::~ScopedLogCapture() { setLogSink(std::move(previous_)); }

std::vector<std::string> ScopedLogCapture::lines() const {
    std::lock_guard lock(mutex_);
    return lines_;
}

bool ScopedLogCapture::contains(const std::string& fragment) const {
    std::lock_guard lock(mutex_);
    for (const auto& l : lines_)
        if (l.find(fragment) != std::string::npos) return true;
    return false;
}

void ScopedLogCapture::clear() {
    std::lock_guard lock(mutex_);
    lines_.clear();
}

}  // namespace foundation
