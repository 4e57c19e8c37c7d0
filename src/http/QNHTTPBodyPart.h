// One part of a multipart body on the wire: its boundary line, its header
// lines, its content (data, a file or a stream) and, for the last part, the
// closing boundary. A read walks the phases in order and keeps its place
// within a phase's text, so any buffer size gives the same bytes.
// Invariants: one thread reads a part at a time; the content stream is opened
// on entering the body phase and closed on leaving it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "foundation/Charset.h"
#include "foundation/Data.h"
#include "foundation/InputStream.h"
#include "foundation/URL.h"

class QNHTTPBodyPart {
public:
    using Headers = std::vector<std::pair<std::string, std::string>>;
    using Body = std::variant<foundation::Data, foundation::URL, foundation::InputStreamPtr>;
    enum Phase : uint32_t { Initial = 0, EncapsulationBoundaryPhase = 1, HeaderPhase = 2, BodyPhase = 3, FinalBoundaryPhase = 4 };

    QNHTTPBodyPart();
    ~QNHTTPBodyPart();

    foundation::StringEncoding stringEncoding = foundation::StringEncoding::UTF8;
    Headers headers;
    std::string boundary;
    Body body;
    uint64_t bodyContentLength = 0;
    bool hasInitialBoundary = false;
    bool hasFinalBoundary = false;

    // Made on first use; a stream over empty data when the content gives none.
    const foundation::InputStreamPtr& inputStream();
    std::string stringForHeaders() const;
    uint64_t contentLength() const;
    bool hasBytesAvailable();
    // Count produced, or -1 when the content stream failed.
    long read(uint8_t* buffer, size_t maxLength);
    Phase phase() const { return phase_; }

    // Encoding, headers, length, content and boundary; not the flags, the
    // phase or the stream.
    std::shared_ptr<QNHTTPBodyPart> copy() const;

private:
    std::string boundaryText() const;
    std::string finalText() const;
    size_t readText(const std::string& text, uint8_t* buffer, size_t maxLength);
    foundation::Data encoded(const std::string& text) const;
    void transitionToNextPhase();

    Phase phase_ = Initial;
    uint64_t phaseReadOffset_ = 0;
    foundation::InputStreamPtr inputStream_;
};
