#include "api/DownloadedBody.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <vector>

#include "foundation/StringUtils.h"

namespace DownloadedBody {

namespace {

// How far into a body a PDF's header is looked for.
constexpr size_t kDownloadedBodyPDFWindow = 1024;
// Consumed characters are dropped once this many are held.
constexpr size_t kDownloadedBodyKeptText = 65536;
// Longer element names are no name the checks look for.
constexpr size_t kDownloadedBodyLongestName = 64;

// The body as characters from its opening on, read as far as asked: its
// bytes, or the code units of a UTF-16 body (after its byte-order mark),
// each as its ASCII character or, beyond ASCII, as 0x80, which no spelling
// looked for uses. A UTF-8 byte-order mark is passed over. Its first bytes
// are kept apart, as received, for the signatures.
class DownloadedBodyText {
public:
    DownloadedBodyText(std::istream& body, size_t chunkSize) : body_(body), chunkSize_(std::max<size_t>(chunkSize, 1)) {
        while (head_.size() < kDownloadedBodyPDFWindow && readChunk(head_)) {
        }
        if (head_.size() > kDownloadedBodyPDFWindow) {
            undecoded_ = head_.substr(kDownloadedBodyPDFWindow);
            head_.resize(kDownloadedBodyPDFWindow);
        }
        std::string_view opening = head_;
        if (opening.starts_with("\xFF\xFE")) {
            encoding_ = Encoding::UTF16LittleEndian;
            opening.remove_prefix(2);
        } else if (opening.starts_with("\xFE\xFF")) {
            encoding_ = Encoding::UTF16BigEndian;
            opening.remove_prefix(2);
        } else if (opening.starts_with("\xEF\xBB\xBF")) {
            opening.remove_prefix(3);
        }
        undecoded_.insert(0, opening);
        decode();
    }

    std::string_view head() const { return head_; }
    bool empty() const { return head_.empty(); }

    // The character `offset` places after the current one; none past the end.
    std::optional<char> peek(size_t offset = 0) {
        while (position_ + offset >= text_.size()) {
            if (!readChunk(undecoded_)) return std::nullopt;
            decode();
        }
        return text_[position_ + offset];
    }

    void advance(size_t count = 1) {
        position_ = std::min(position_ + count, text_.size());
        if (position_ >= kDownloadedBodyKeptText) {
            text_.erase(0, position_);
            position_ = 0;
        }
    }

    bool startsWith(std::string_view prefix, bool ignoringCase) {
        for (size_t i = 0; i < prefix.size(); ++i) {
            const auto c = peek(i);
            if (!c) return false;
            const char folded = ignoringCase && *c >= 'A' && *c <= 'Z' ? static_cast<char>(*c - 'A' + 'a') : *c;
            if (folded != prefix[i]) return false;
        }
        return true;
    }

    static bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f'; }

    void skipBlanks() {
        for (auto c = peek(); c && isBlank(*c); c = peek()) advance();
    }

    // Past the next `close`; false when the body ends first.
    bool skipPast(std::string_view close) {
        while (peek()) {
            if (startsWith(close, false)) {
                advance(close.size());
                return true;
            }
            advance();
        }
        return false;
    }

private:
    enum class Encoding { Bytes, UTF16LittleEndian, UTF16BigEndian };

    bool readChunk(std::string& into) {
        if (!body_) return false;
        std::vector<char> chunk(chunkSize_);
        body_.read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
        const auto count = static_cast<size_t>(body_.gcount());
        into.append(chunk.data(), count);
        return count > 0;
    }

    void decode() {
        if (encoding_ == Encoding::Bytes) {
            text_ += undecoded_;
            undecoded_.clear();
            return;
        }
        const bool little = encoding_ == Encoding::UTF16LittleEndian;
        size_t at = 0;
        for (; at + 1 < undecoded_.size(); at += 2) {
            const auto first = static_cast<unsigned char>(undecoded_[at]);
            const auto second = static_cast<unsigned char>(undecoded_[at + 1]);
            const unsigned unit = little ? first | (second << 8) : (first << 8) | second;
            text_ += unit < 0x80 ? static_cast<char>(unit) : '\x80';
        }
        undecoded_.erase(0, at);
    }

    std::istream& body_;
    size_t chunkSize_;
    std::string head_;
    Encoding encoding_ = Encoding::Bytes;
    // Bytes read but not yet characters (the odd byte of a UTF-16 body).
    std::string undecoded_;
    std::string text_;
    size_t position_ = 0;
};

// Passes blanks, declarations and processing instructions ("<?...?>") and
// comments; false when the body ends inside one.
bool downloadedBodySkipsProlog(DownloadedBodyText& text) {
    for (;;) {
        text.skipBlanks();
        if (text.startsWith("<?", false)) {
            if (!text.skipPast("?>")) return false;
        } else if (text.startsWith("<!--", false)) {
            if (!text.skipPast("-->")) return false;
        } else {
            return true;
        }
    }
}

// Whether the body opens as a web page: past blanks, comments and an XML
// declaration, a doctype of HTML or any of the tags a browser takes for a
// page, followed by a blank, the tag's end or the body's.
bool downloadedBodyOpensWebPage(DownloadedBodyText& text) {
    if (!downloadedBodySkipsProlog(text)) return false;
    if (text.startsWith("<!doctype html", true)) {
        const auto after = text.peek(14);
        return !after || *after == '>' || DownloadedBodyText::isBlank(*after);
    }
    static constexpr std::array<std::string_view, 16> kTags = {
        "<html", "<head", "<body", "<script", "<meta", "<title", "<iframe", "<a",
        "<p",    "<div",  "<table", "<font", "<br",   "<b",     "<h1",     "<style"};
    for (const auto tag : kTags) {
        if (!text.startsWith(tag, true)) continue;
        const auto after = text.peek(tag.size());
        if (!after || *after == '>' || *after == '/' || DownloadedBodyText::isBlank(*after)) return true;
    }
    return false;
}

// Past a document type declaration, its internal subset included.
bool downloadedBodySkipsDoctype(DownloadedBodyText& text) {
    text.advance(9);  // "<!DOCTYPE"
    int depth = 0;
    while (const auto c = text.peek()) {
        if (*c == '"' || *c == '\'') {
            text.advance();
            if (!text.skipPast(std::string_view(&*c, 1))) return false;
            continue;
        }
        if (text.startsWith("<!--", false)) {
            if (!text.skipPast("-->")) return false;
            continue;
        }
        text.advance();
        if (*c == '[') ++depth;
        else if (*c == ']' && depth > 0) --depth;
        else if (*c == '>' && depth == 0) return true;
    }
    return false;
}

// Whether the body reads as an SVG document: past blanks, declarations,
// comments and a document type, its root element is "svg" (with or without
// a namespace prefix).
bool downloadedBodyReadsAsSVG(DownloadedBodyText& text) {
    for (;;) {
        if (!downloadedBodySkipsProlog(text)) return false;
        if (!text.startsWith("<!DOCTYPE", false)) break;
        if (!downloadedBodySkipsDoctype(text)) return false;
    }
    if (text.peek() != '<') return false;
    std::string name;
    for (size_t i = 1; i <= kDownloadedBodyLongestName + 1; ++i) {
        const auto c = text.peek(i);
        if (!c || *c == '>' || *c == '/' || DownloadedBodyText::isBlank(*c)) break;
        name += *c;
    }
    return name == "svg" || (name.size() > 4 && name.ends_with(":svg") && name.size() <= kDownloadedBodyLongestName);
}

// The name's extension in lower case, "" when none; a query or fragment
// after the name is not part of it.
std::string downloadedBodyExtension(const std::string& fileName) {
    const std::string name = fileName.substr(0, fileName.find_first_of("?#"));
    const auto dot = name.rfind('.');
    if (dot == std::string::npos || name.find('/', dot) != std::string::npos) return {};
    return foundation::StringUtils::lowercase(name.substr(dot + 1));
}

// The content type without its parameters, in lower case.
std::string downloadedBodyMediaType(const std::string& contentType) {
    std::string type = contentType.substr(0, contentType.find(';'));
    const auto first = type.find_first_not_of(" \t");
    const auto last = type.find_last_not_of(" \t");
    type = first == std::string::npos ? std::string() : type.substr(first, last - first + 1);
    return foundation::StringUtils::lowercase(type);
}

std::optional<std::string> downloadedBodyDocumentRefusal(DownloadedBodyText& text, const Asked& asked) {
    if (signatureOf(text.head()) != Signature::None) return std::nullopt;
    const std::string extension = downloadedBodyExtension(asked.fileName);
    for (const char* fixed : {"pdf", "png", "jpg", "jpeg", "gif"}) {
        if (extension == fixed)
            return "something other than a " + foundation::StringUtils::uppercase(extension) + " file";
    }
    if (extension == "html" || extension == "htm" || extension == "xhtml") return std::nullopt;
    // Office programs save a web page as a spreadsheet or a document and
    // open it again; such a file comes under its office kind's own type,
    // which no network's page claims.
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 3> kOfficeTypes = {{
        {"doc", "application/msword"},
        {"xls", "application/vnd.ms-excel"},
        {"ppt", "application/vnd.ms-powerpoint"},
    }};
    if (asked.contentType) {
        const std::string type = downloadedBodyMediaType(*asked.contentType);
        for (const auto& [officeExtension, officeType] : kOfficeTypes)
            if (extension == officeExtension && type == officeType) return std::nullopt;
    }
    if (downloadedBodyOpensWebPage(text)) return std::string("a web page");
    return std::nullopt;
}

std::optional<std::string> downloadedBodyMapFileRefusal(DownloadedBodyText& text, const Asked& asked) {
    const Signature signature = signatureOf(text.head());
    const bool image = isMapImageSignature(signature);
    switch (mapFileRoleOfName(asked.fileName)) {
        case MapFileRole::Image:
            // A sibling image kind is drawn as well.
            if (image || signature == Signature::GIF) return std::nullopt;
            return std::string("something other than an image");
        case MapFileRole::ByBytes:
            if (image) return std::nullopt;
            break;
        case MapFileRole::Plan:
            break;
    }
    if (downloadedBodyReadsAsSVG(text)) return std::nullopt;
    return std::string("something other than an SVG document");
}

}  // namespace

Signature signatureOf(std::string_view head) {
    static const std::array<std::pair<std::string_view, Signature>, 8> kOpenings = {{
        {std::string_view("\x89PNG\r\n\x1A\n", 8), Signature::PNG},
        {"\xFF\xD8\xFF", Signature::JPEG},
        {"GIF87a", Signature::GIF},
        {"GIF89a", Signature::GIF},
        {"PK\x03\x04", Signature::Zip},
        {"\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", Signature::CompoundFile},
        {"{\\rtf", Signature::RTF},
        {"%PDF-", Signature::PDF},
    }};
    for (const auto& [opening, signature] : kOpenings)
        if (head.starts_with(opening)) return signature;
    if (head.substr(0, kDownloadedBodyPDFWindow).find("%PDF-") != std::string_view::npos) return Signature::PDF;
    return Signature::None;
}

MapFileRole mapFileRoleOfName(const std::string& fileReference) {
    const std::string extension = downloadedBodyExtension(fileReference);
    if (extension == "png" || extension == "jpg" || extension == "jpeg") return MapFileRole::Image;
    if (extension == "svg") return MapFileRole::Plan;
    return MapFileRole::ByBytes;
}

bool isMapImageSignature(Signature signature) { return signature == Signature::PNG || signature == Signature::JPEG; }

std::optional<std::string> refusal(std::istream& body, const Asked& asked, size_t chunkSize) {
    DownloadedBodyText text(body, chunkSize);
    if (text.empty()) return std::string("nothing");
    return asked.mapFile ? downloadedBodyMapFileRefusal(text, asked) : downloadedBodyDocumentRefusal(text, asked);
}

std::optional<std::string> refusalOfFile(const std::string& path, const Asked& asked) {
    std::ifstream file(path, std::ios::binary);
    return refusal(file, asked);
}

}  // namespace DownloadedBody
