// The bounded crash log and its signal-safe rendering (see CrashLog.h).
#include "crashreporting/CrashLog.h"

#include <cstring>

namespace {

// Cuts at a byte bound without splitting a UTF-8 sequence, so the record and
// the report stay valid text.
std::string truncated(const std::string& text, size_t limit) {
    if (text.size() <= limit) return text;
    size_t end = limit;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
    return text.substr(0, end);
}

class Writer {
public:
    Writer(char* buffer, size_t capacity) : buffer_(buffer), capacity_(capacity) {}
    size_t room() const { return capacity_ - length_; }
    size_t length() const { return length_; }
    bool put(const std::string& text) {
        if (text.size() > room()) return false;
        std::memcpy(buffer_ + length_, text.data(), text.size());
        length_ += text.size();
        return true;
    }

private:
    char* buffer_;
    size_t capacity_;
    size_t length_ = 0;
};

}  // namespace

CrashLog& CrashLog::shared() {
    static CrashLog* log = new CrashLog();  // never destroyed: a crash during exit still finds it
    return *log;
}

CrashLog::CrashLog() {
    std::lock_guard lock(mutex_);
    publishLocked();
}

void CrashLog::append(const std::string& line) {
    std::lock_guard lock(mutex_);
    lines_.push_back(truncated(line, kMaxLineLength));
    while (lines_.size() > kMaxLines) lines_.pop_front();
    publishLocked();
}

void CrashLog::setCustomValue(const std::string& value, const std::string& key) {
    std::lock_guard lock(mutex_);
    std::string k = truncated(key, kMaxCustomTextLength);
    if (!customValues_.count(k) && customValues_.size() >= kMaxCustomValues) return;
    customValues_[k] = truncated(value, kMaxCustomTextLength);
    publishLocked();
}

std::vector<std::string> CrashLog::lines() const {
    std::lock_guard lock(mutex_);
    return {lines_.begin(), lines_.end()};
}

std::map<std::string, std::string> CrashLog::customValues() const {
    std::lock_guard lock(mutex_);
    return customValues_;
}

const char* CrashLog::snapshot(size_t* length) const {
    int index = published_.load(std::memory_order_acquire);
    *length = lengths_[index];
    return buffers_[index];
}

void CrashLog::publishLocked() {
    int next = 1 - published_.load(std::memory_order_relaxed);
    Writer out(buffers_[next], kSnapshotCapacity);
    // The values are bounded well below the capacity, so they always fit.
    out.put("Custom values:\n");
    for (const auto& [key, value] : customValues_) out.put(key + " = " + value + "\n");
    out.put("Log:\n");
    size_t first = lines_.size();
    size_t needed = 0;
    while (first > 0 && needed + lines_[first - 1].size() + 1 <= out.room()) {
        --first;
        needed += lines_[first].size() + 1;
    }
    for (size_t i = first; i < lines_.size(); ++i) out.put(lines_[i] + "\n");
    lengths_[next] = out.length();
    published_.store(next, std::memory_order_release);
}
