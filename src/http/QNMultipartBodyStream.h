// The body stream of a multipart request: the parts in append order, read one
// after the other, optionally in packets with a pause after each part's read
// (bandwidth throttling). The URL-loading thread reads it while sending.
// Invariants: reading never goes back; once read, a stream is spent, and
// sending the body again needs a copy (copies have fresh parts).
#pragma once

#include <cstdint>
#include <limits>
#include <memory>
#include <vector>

#include "foundation/Charset.h"
#include "foundation/InputStream.h"
#include "http/QNHTTPBodyPart.h"

class QNMultipartBodyStream : public foundation::InputStream {
public:
    explicit QNMultipartBodyStream(foundation::StringEncoding encoding) : stringEncoding_(encoding) {}
    std::string className() const override { return "QNMultipartBodyStream"; }

    void appendHTTPBodyPart(std::shared_ptr<QNHTTPBodyPart> part) { parts_.push_back(std::move(part)); }
    // Only the first part opens with a bare boundary; only the last closes the body.
    void setInitialAndFinalBoundaries();
    bool isEmpty() const { return parts_.empty(); }
    uint64_t contentLength() const;
    const std::vector<std::shared_ptr<QNHTTPBodyPart>>& HTTPBodyParts() const { return parts_; }

    uint64_t numberOfBytesInPacket() const { return numberOfBytesInPacket_; }
    void setNumberOfBytesInPacket(uint64_t count) { numberOfBytesInPacket_ = count; }
    double delay() const { return delay_; }
    void setDelay(double seconds) { delay_ = seconds; }

    void open() override;
    void close() override { status_ = foundation::StreamStatus::Closed; }
    long read(uint8_t* buffer, size_t maxLength) override;
    bool hasBytesAvailable() const override { return status_ == foundation::StreamStatus::Open; }

    // Same encoding, copies of the parts; neither throttle setting.
    std::shared_ptr<QNMultipartBodyStream> copy() const;

private:
    foundation::StringEncoding stringEncoding_;
    std::vector<std::shared_ptr<QNHTTPBodyPart>> parts_;
    size_t nextPart_ = 0;
    std::shared_ptr<QNHTTPBodyPart> currentPart_;
    uint64_t numberOfBytesInPacket_ = static_cast<uint64_t>(std::numeric_limits<int64_t>::max());
    double delay_ = 0;
};
