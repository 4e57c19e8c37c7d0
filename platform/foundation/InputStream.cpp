// Data and file input streams.
#include "foundation/InputStream.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "foundation/FileManager.h"

namespace foundation {

ErrorPtr streamPOSIXError(int code, const std::string& path) {
    Value::Dictionary info{{kLocalizedDescriptionKey, Value(std::string(std::strerror(code)))}};
    if (!path.empty()) info[kFilePathErrorKey] = Value(path);
    return Error::make(kPOSIXErrorDomain, code, std::move(info));
}

InputStreamPtr InputStream::inputStreamWithData(Data data) {
    return std::make_shared<DataInputStream>(std::move(data));
}

InputStreamPtr InputStream::inputStreamWithFileAtPath(const std::string& path) {
    return std::make_shared<FileInputStream>(path);
}

InputStreamPtr InputStream::inputStreamWithURL(const URL& url) {
    if (!url.isFileURL()) return nullptr;
    return inputStreamWithFileAtPath(url.path());
}

void DataInputStream::open() {
    if (status_ != StreamStatus::NotOpen) return;
    status_ = data_.empty() ? StreamStatus::AtEnd : StreamStatus::Open;
}

long DataInputStream::read(uint8_t* buffer, size_t maxLength) {
    if (status_ == StreamStatus::AtEnd) return 0;
    if (status_ != StreamStatus::Open) return -1;
    size_t n = std::min(maxLength, data_.length() - offset_);
    if (n > 0) std::memcpy(buffer, data_.bytes() + offset_, n);
    offset_ += n;
    if (offset_ == data_.length()) status_ = StreamStatus::AtEnd;
    return static_cast<long>(n);
}

bool DataInputStream::hasBytesAvailable() const {
    return status_ == StreamStatus::Open;
}

FileInputStream::~FileInputStream() {
    if (file_) std::fclose(file_);
}

void FileInputStream::open() {
    if (status_ != StreamStatus::NotOpen) return;
    file_ = std::fopen(path_.c_str(), "rb");
    if (!file_) {
        fail(streamPOSIXError(errno, path_));
        return;
    }
    status_ = StreamStatus::Open;
}

void FileInputStream::close() {
    if (file_) std::fclose(file_);
    file_ = nullptr;
    Stream::close();
}

long FileInputStream::read(uint8_t* buffer, size_t maxLength) {
    if (status_ == StreamStatus::AtEnd) return 0;
    if (status_ != StreamStatus::Open) return -1;
    size_t n = std::fread(buffer, 1, maxLength, file_);
    if (n < maxLength) {
        if (std::ferror(file_)) {
            fail(streamPOSIXError(errno ? errno : EIO, path_));
            return -1;
        }
        status_ = StreamStatus::AtEnd;
    }
    return static_cast<long>(n);
}

bool FileInputStream::hasBytesAvailable() const {
    return status_ == StreamStatus::Open;
}

}  // namespace foundation
