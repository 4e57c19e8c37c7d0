// Streams that take bytes: into memory (read back through the property
// kStreamDataWrittenToMemoryStreamKey, also after closing) or into a file.
// A connection writes a response body into one as the body arrives.
// Invariants: write() returns the count taken or -1 with streamError() set;
// a stream that is not open takes nothing.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "foundation/Data.h"
#include "foundation/Stream.h"

namespace foundation {

class OutputStream;
using OutputStreamPtr = std::shared_ptr<OutputStream>;

class OutputStream : public Stream {
public:
    static OutputStreamPtr outputStreamToMemory();
    // Created or truncated on open, or appended to when `append`.
    static OutputStreamPtr outputStreamToFileAtPath(const std::string& path, bool append);

    std::string className() const override { return "NSOutputStream"; }

    virtual long write(const uint8_t* buffer, size_t length) = 0;
    virtual bool hasSpaceAvailable() const = 0;
};

class MemoryOutputStream : public OutputStream {
public:
    void open() override;
    long write(const uint8_t* buffer, size_t length) override;
    bool hasSpaceAvailable() const override { return status_ == StreamStatus::Open; }
    Value propertyForKey(const std::string& key) const override;

private:
    Data data_;
};

class FileOutputStream : public OutputStream {
public:
    FileOutputStream(std::string path, bool append) : path_(std::move(path)), append_(append) {}
    ~FileOutputStream() override;
    void open() override;
    void close() override;
    long write(const uint8_t* buffer, size_t length) override;
    bool hasSpaceAvailable() const override { return status_ == StreamStatus::Open; }

private:
    std::string path_;
    bool append_;
    std::FILE* file_ = nullptr;
};

}  // namespace foundation
