// What input and output streams share: the status a stream moves through
// (not open → open → at end or error → closed), the error that stopped it,
// and keyed properties. A stream is used by one thread at a time; it may be
// handed from one thread to another (a request body stream made by a caller
// is read on the URL-loading thread), but never shared while in use.
#pragma once

#include <string>

#include "foundation/Error.h"
#include "foundation/Object.h"
#include "foundation/Value.h"

namespace foundation {

// The platform's status numbers, kept because callers compare them.
enum class StreamStatus { NotOpen = 0, Opening = 1, Open = 2, Reading = 3, Writing = 4, AtEnd = 5, Closed = 6, Error = 7 };

// The bytes a memory output stream has collected (Data).
inline constexpr const char* kStreamDataWrittenToMemoryStreamKey = "NSStreamDataWrittenToMemoryStreamKey";

class Stream : public Object {
public:
    std::string className() const override { return "NSStream"; }

    // Opening an open or closed stream does nothing.
    virtual void open() = 0;
    virtual void close() { status_ = StreamStatus::Closed; }
    virtual StreamStatus streamStatus() const { return status_; }
    // Set once the status is Error.
    virtual ErrorPtr streamError() const { return error_; }
    // Absent for keys the stream does not know.
    virtual Value propertyForKey(const std::string& key) const {
        (void)key;
        return {};
    }
    virtual bool setProperty(const Value& value, const std::string& key) {
        (void)value;
        (void)key;
        return false;
    }

protected:
    void fail(ErrorPtr error) {
        error_ = std::move(error);
        status_ = StreamStatus::Error;
    }

    StreamStatus status_ = StreamStatus::NotOpen;
    ErrorPtr error_;
};

}  // namespace foundation
