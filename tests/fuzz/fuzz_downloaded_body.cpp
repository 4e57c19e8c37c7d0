// Any bytes judged as a downloaded document or map file, without a sanitizer
// report: the first byte picks what was asked for, the rest is the body. The
// verdict does not depend on how the body arrives in chunks, and a document
// of ASCII characters without a signature is judged the same when it comes
// in UTF-16 of either byte order behind its byte-order mark (a plan is
// judged by the XML parser, whose reading of an encoding declaration in a
// UTF-16 body is its own).
#include <array>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>

#include "api/DownloadedBody.h"

namespace {

std::optional<std::string> judged(const std::string& body, const DownloadedBody::Asked& asked, size_t chunkSize) {
    std::istringstream stream(body);
    return DownloadedBody::refusal(stream, asked, chunkSize);
}

std::string utf16(std::string_view text, bool littleEndian) {
    std::string encoded = littleEndian ? "\xFF\xFE" : "\xFE\xFF";
    for (char c : text) encoded += littleEndian ? std::string{c, '\0'} : std::string{'\0', c};
    return encoded;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    static const std::array<DownloadedBody::Asked, 12> kAsked = {{
        {"report.pdf", "application/pdf", false},
        {"photo.jpg", "image/jpeg", false},
        {"notes.txt", "text/plain", false},
        {"page.html", "text/html", false},
        {"export.xls", "application/vnd.ms-excel", false},
        {"minutes.docx", std::nullopt, false},
        {"level.svg", "image/svg+xml", true},
        {"background.png", "image/png", true},
        {"level-2", std::nullopt, true},
        {"plan.svg?v=2", "text/html", true},
        {"letter.doc", "application/msword", false},
        {"slides.odp", "text/html", false},
    }};
    const DownloadedBody::Asked& asked = kAsked[data[0] % kAsked.size()];
    const std::string body(reinterpret_cast<const char*>(data) + 1, size - 1);

    const auto verdict = judged(body, asked, 65536);
    if (body.empty() != (verdict == std::optional<std::string>("nothing"))) std::abort();
    for (size_t chunkSize : {1, 2, 7, 1000})
        if (judged(body, asked, chunkSize) != verdict) std::abort();

    bool ascii = !body.empty();
    for (char c : body) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
    if (ascii && !asked.mapFile && DownloadedBody::signatureOf(body) == DownloadedBody::Signature::None) {
        for (bool littleEndian : {true, false})
            if (judged(utf16(body, littleEndian), asked, 4096) != verdict) std::abort();
    }
    return 0;
}
