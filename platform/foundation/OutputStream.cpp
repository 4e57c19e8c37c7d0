// Memory and file output streams.
#include "foundation/OutputStream.h"

#include <cerrno>

#include "foundation/InputStream.h"

namespace foundation {

OutputStreamPtr OutputStream::outputStreamToMemory() {
    return std::make_shared<MemoryOutputStream>();
}

OutputStreamPtr OutputStream::outputStreamToFileAtPath(const std::string& path, bool append) {
    return std::make_shared<FileOutputStream>(path, append);
}

void MemoryOutputStream::open() {
    if (status_ == StreamStatus::NotOpen) status_ = StreamStatus::Open;
}

long MemoryOutputStream::write(const uint8_t* buffer, size_t length) {
    if (status_ != StreamStatus::Open) return -1;
    data_.append(buffer, length);
    return static_cast<long>(length);
}

Value MemoryOutputStream::propertyForKey(const std::string& key) const {
    if (key == kStreamDataWrittenToMemoryStreamKey) return Value(data_);
    return {};
}

FileOutputStream::~FileOutputStream() {
    if (file_) std::fclose(file_);
}

void FileOutputStream::open() {
    if (status_ != StreamStatus::NotOpen) return;
    file_ = std::fopen(path_.c_str(), append_ ? "ab" : "wb");
    if (!file_) {
        fail(streamPOSIXError(errno, path_));
        return;
    }
    status_ = StreamStatus::Open;
}

void FileOutputStream::close() {
    // Buffered bytes reach the file here; a failure then is the stream's error.
    if (file_ && std::fclose(file_) != 0 && status_ == StreamStatus::Open) {
        file_ = nullptr;
        fail(streamPOSIXError(errno, path_));
        return;
    }
    file_ = nullptr;
    Stream::close();
}

long FileOutputStream::write(const uint8_t* buffer, size_t length) {
    if (status_ != StreamStatus::Open) return -1;
    size_t n = std::fwrite(buffer, 1, length, file_);
    if (n < length) {
        fail(streamPOSIXError(errno ? errno : EIO, path_));
        return -1;
    }
    return static_cast<long>(n);
}

}  // namespace foundation
