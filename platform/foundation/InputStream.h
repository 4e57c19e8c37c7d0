// Streams that give bytes: over data in memory or over a file. A request's
// body stream is one of these (or a subclass, such as a multipart body);
// the URL session reads it on its own thread while sending the request.
// Invariants: read() returns the count read, 0 at the end, or -1 with
// streamError() set; a stream that is not open reads nothing but -1.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "foundation/Data.h"
#include "foundation/Stream.h"
#include "foundation/URL.h"

namespace foundation {

class InputStream;
using InputStreamPtr = std::shared_ptr<InputStream>;

class InputStream : public Stream {
public:
    static InputStreamPtr inputStreamWithData(Data data);
    // A missing file is reported when the stream is opened.
    static InputStreamPtr inputStreamWithFileAtPath(const std::string& path);
    // File URLs only; null for any other scheme.
    static InputStreamPtr inputStreamWithURL(const URL& url);

    std::string className() const override { return "NSInputStream"; }

    virtual long read(uint8_t* buffer, size_t maxLength) = 0;
    // True while a read may still give bytes (an open stream not at its end).
    virtual bool hasBytesAvailable() const = 0;
};

class DataInputStream : public InputStream {
public:
    explicit DataInputStream(Data data) : data_(std::move(data)) {}
    void open() override;
    long read(uint8_t* buffer, size_t maxLength) override;
    bool hasBytesAvailable() const override;

private:
    Data data_;
    size_t offset_ = 0;
};

class FileInputStream : public InputStream {
public:
    explicit FileInputStream(std::string path) : path_(std::move(path)) {}
    ~FileInputStream() override;
    void open() override;
    void close() override;
    long read(uint8_t* buffer, size_t maxLength) override;
    bool hasBytesAvailable() const override;

private:
    std::string path_;
    std::FILE* file_ = nullptr;
};

// The POSIX error of a failed stream or file call, with the path in the
// user info.
ErrorPtr streamPOSIXError(int code, const std::string& path);

}  // namespace foundation
