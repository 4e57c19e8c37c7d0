// Phase changes happen on the reading thread itself: the body stream is read
// by one thread at a time, so the content stream is opened, read and closed
// in order without hopping elsewhere.
#include "http/QNHTTPBodyPart.h"

#include <algorithm>
#include <cstring>

using namespace foundation;

namespace {
constexpr const char* kCRLF = "\r\n";
}

QNHTTPBodyPart::QNHTTPBodyPart() {
    transitionToNextPhase();
}

QNHTTPBodyPart::~QNHTTPBodyPart() {
    if (inputStream_) inputStream_->close();
}

const InputStreamPtr& QNHTTPBodyPart::inputStream() {
    if (!inputStream_) {
        if (auto* data = std::get_if<Data>(&body)) inputStream_ = InputStream::inputStreamWithData(*data);
        else if (auto* url = std::get_if<URL>(&body)) inputStream_ = InputStream::inputStreamWithURL(*url);
        else if (auto* stream = std::get_if<InputStreamPtr>(&body)) inputStream_ = *stream;
        if (!inputStream_) inputStream_ = InputStream::inputStreamWithData(Data());
    }
    return inputStream_;
}

Data QNHTTPBodyPart::encoded(const std::string& text) const {
    auto data = Charset::encode(text, stringEncoding);
    return data ? *data : Data::fromString(text);
}

std::string QNHTTPBodyPart::boundaryText() const {
    return hasInitialBoundary ? "--" + boundary + kCRLF : std::string(kCRLF) + "--" + boundary + kCRLF;
}

std::string QNHTTPBodyPart::finalText() const {
    return hasFinalBoundary ? std::string(kCRLF) + "--" + boundary + "--" + kCRLF : std::string();
}

std::string QNHTTPBodyPart::stringForHeaders() const {
    std::string text;
    for (const auto& [name, value] : headers) text += name + ": " + value + kCRLF;
    return text + kCRLF;
}

uint64_t QNHTTPBodyPart::contentLength() const {
    return encoded(boundaryText()).length() + encoded(stringForHeaders()).length() + bodyContentLength +
           encoded(finalText()).length();
}

bool QNHTTPBodyPart::hasBytesAvailable() {
    if (phase_ == FinalBoundaryPhase) return true;
    return static_cast<int>(inputStream()->streamStatus()) < static_cast<int>(StreamStatus::AtEnd);
}

size_t QNHTTPBodyPart::readText(const std::string& text, uint8_t* buffer, size_t maxLength) {
    Data data = encoded(text);
    size_t available = data.length() > phaseReadOffset_ ? data.length() - phaseReadOffset_ : 0;
    size_t count = std::min(available, maxLength);
    if (count > 0) std::memcpy(buffer, data.bytes() + phaseReadOffset_, count);
    phaseReadOffset_ += count;
    if (phaseReadOffset_ >= data.length()) transitionToNextPhase();
    return count;
}

long QNHTTPBodyPart::read(uint8_t* buffer, size_t maxLength) {
    size_t total = 0;
    if (phase_ == EncapsulationBoundaryPhase) total += readText(boundaryText(), buffer + total, maxLength - total);
    if (phase_ == HeaderPhase) total += readText(stringForHeaders(), buffer + total, maxLength - total);
    if (phase_ == BodyPhase) {
        long n = 0;
        if (maxLength > total) n = inputStream()->read(buffer + total, maxLength - total);
        if (n == -1) return -1;
        total += static_cast<size_t>(n);
        if (static_cast<int>(inputStream()->streamStatus()) >= static_cast<int>(StreamStatus::AtEnd))
            transitionToNextPhase();
    }
    if (phase_ == FinalBoundaryPhase) total += readText(finalText(), buffer + total, maxLength - total);
    return static_cast<long>(total);
}

void QNHTTPBodyPart::transitionToNextPhase() {
    switch (phase_) {
    case EncapsulationBoundaryPhase: phase_ = HeaderPhase; break;
    case HeaderPhase:
        phase_ = BodyPhase;
        inputStream()->open();
        break;
    case BodyPhase:
        phase_ = FinalBoundaryPhase;
        inputStream()->close();
        break;
    default: phase_ = EncapsulationBoundaryPhase; break;
    }
    phaseReadOffset_ = 0;
}

std::shared_ptr<QNHTTPBodyPart> QNHTTPBodyPart::copy() const {
    auto part = std::make_shared<QNHTTPBodyPart>();
    part->stringEncoding = stringEncoding;
    part->headers = headers;
    part->bodyContentLength = bodyContentLength;
    part->body = body;
    part->boundary = boundary;
    return part;
}
