// Reads part after part into the caller's buffer. The packet size bounds only
// when the loop stops taking more, not a single part's read, so a packet may
// overshoot by up to one read; the pause after each read is what throttles.
#include "http/QNMultipartBodyStream.h"

#include <algorithm>
#include <chrono>
#include <thread>

using namespace foundation;

void QNMultipartBodyStream::setInitialAndFinalBoundaries() {
    if (parts_.empty()) return;
    for (auto& part : parts_) {
        part->hasInitialBoundary = false;
        part->hasFinalBoundary = false;
    }
    parts_.front()->hasInitialBoundary = true;
    parts_.back()->hasFinalBoundary = true;
}

uint64_t QNMultipartBodyStream::contentLength() const {
    uint64_t length = 0;
    for (const auto& part : parts_) length += part->contentLength();
    return length;
}

void QNMultipartBodyStream::open() {
    if (status_ == StreamStatus::Open) return;
    status_ = StreamStatus::Open;
    setInitialAndFinalBoundaries();
    nextPart_ = 0;
    currentPart_.reset();
}

long QNMultipartBodyStream::read(uint8_t* buffer, size_t maxLength) {
    if (status_ == StreamStatus::Closed) return 0;
    size_t total = 0;
    uint64_t limit = std::min<uint64_t>(maxLength, numberOfBytesInPacket_);
    while (total < limit) {
        if (!currentPart_ || !currentPart_->hasBytesAvailable()) {
            if (nextPart_ >= parts_.size()) break;
            currentPart_ = parts_[nextPart_++];
            continue;
        }
        long n = currentPart_->read(buffer + total, maxLength - total);
        if (n == -1) {
            error_ = currentPart_->inputStream()->streamError();
            // Nothing produced yet: a 0 would read as a complete body.
            if (total == 0) return -1;
            break;
        }
        total += static_cast<size_t>(n);
        if (delay_ > 0) std::this_thread::sleep_for(std::chrono::duration<double>(delay_));
    }
    return static_cast<long>(total);
}

std::shared_ptr<QNMultipartBodyStream> QNMultipartBodyStream::copy() const {
    auto stream = std::make_shared<QNMultipartBodyStream>(stringEncoding_);
    for (const auto& part : parts_) stream->appendHTTPBodyPart(part->copy());
    stream->setInitialAndFinalBoundaries();
    return stream;
}
