#include "api/DownloadedBody.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <functional>
#include <fstream>
#include <memory>
#include <vector>

#include "foundation/StringUtils.h"
#include "svg/dom/SVGDocument.h"
#include "svg/elements/SVGSVGElement.h"
#include "svg/floorplan/SVGFloorPlanSink.h"
#include "svg/parser/SVGXParser.h"
#include "svg/sources/SVGXSourceLocalFile.h"
#include "svg/sources/SVGXSourceString.h"

namespace DownloadedBody {

namespace {

// How far into a body a PDF's header is looked for.
constexpr size_t kDownloadedBodyPDFWindow = 1024;
// Consumed characters are dropped once this many are held.
constexpr size_t kDownloadedBodyKeptText = 65536;
// Longer element and attribute names are no name the checks look for.
constexpr size_t kDownloadedBodyLongestName = 64;
// How far into an office export its marks are looked for: the exports
// carry them on the root and in the head, before any content.
constexpr size_t kDownloadedBodyOfficeMarksWindow = 65536;
// The part of an attribute's value the marks are told by.
constexpr size_t kDownloadedBodyLongestValue = 256;

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

    // The characters passed so far.
    size_t consumed() const { return consumed_; }

    void advance(size_t count = 1) {
        const size_t next = std::min(position_ + count, text_.size());
        consumed_ += next - position_;
        position_ = next;
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
    size_t consumed_ = 0;
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

bool downloadedBodyIsNameCharacter(char c) {
    return c != '>' && c != '/' && c != '=' && c != '?' && !DownloadedBodyText::isBlank(c);
}

// One tag's name (lower case) and attributes (names in lower case, values
// as written, cut to their first characters), read from its "<" or "<?" to
// past its end; nothing when the body ends inside it.
struct DownloadedBodyTag {
    std::string name;
    // A processing instruction ("<?name ...?>").
    bool instruction = false;
    std::vector<std::pair<std::string, std::string>> attributes;

    const std::string* attribute(std::string_view wanted) const {
        for (const auto& [attributeName, value] : attributes)
            if (attributeName == wanted) return &value;
        return nullptr;
    }
};

std::string downloadedBodyReadsName(DownloadedBodyText& text) {
    std::string name;
    for (auto c = text.peek(); c && downloadedBodyIsNameCharacter(*c); c = text.peek()) {
        if (name.size() <= kDownloadedBodyLongestName)
            name += *c >= 'A' && *c <= 'Z' ? static_cast<char>(*c - 'A' + 'a') : *c;
        text.advance();
    }
    return name;
}

std::optional<DownloadedBodyTag> downloadedBodyReadsTag(DownloadedBodyText& text) {
    DownloadedBodyTag tag;
    tag.instruction = text.startsWith("<?", false);
    text.advance(tag.instruction ? 2 : 1);
    tag.name = downloadedBodyReadsName(text);
    for (;;) {
        text.skipBlanks();
        const auto c = text.peek();
        if (!c) return std::nullopt;
        if (*c == '>') {
            text.advance();
            return tag;
        }
        if (*c == '/' || *c == '?' || *c == '=') {
            text.advance();
            continue;
        }
        std::string name = downloadedBodyReadsName(text);
        text.skipBlanks();
        std::string value;
        if (text.peek() == '=') {
            text.advance();
            text.skipBlanks();
            const auto quote = text.peek();
            if (!quote) return std::nullopt;
            const bool quoted = *quote == '"' || *quote == '\'';
            if (quoted) text.advance();
            for (auto v = text.peek();; v = text.peek()) {
                if (!v) return std::nullopt;
                if (quoted ? *v == *quote : (*v == '>' || DownloadedBodyText::isBlank(*v))) break;
                if (value.size() < kDownloadedBodyLongestValue) value += *v;
                text.advance();
            }
            if (quoted) text.advance();
        }
        tag.attributes.emplace_back(std::move(name), std::move(value));
    }
}

bool downloadedBodyNamesOfficeProgram(const std::string* progId) {
    if (!progId) return false;
    const std::string program = foundation::StringUtils::lowercase(*progId);
    return program.starts_with("word.") || program.starts_with("excel.") || program.starts_with("powerpoint.");
}

// Whether the body is an office program's own HTML or XML export: in its
// opening (its declarations and instructions, its root element, and the
// head's meta and link tags before any other element) a tag declares one of
// the office XML namespaces ("urn:schemas-microsoft-com:office:..."), a
// "ProgId" meta names an office program, or an "mso-application"
// instruction does. A label, a page's mere mention of the words in its
// text, or a tag written inside a script, is no mark.
bool downloadedBodyCarriesOfficeMarks(DownloadedBodyText& text) {
    bool sawRoot = false;
    while (text.consumed() < kDownloadedBodyOfficeMarksWindow) {
        const auto c = text.peek();
        if (!c) return false;
        if (*c != '<') {
            text.advance();
            continue;
        }
        if (text.startsWith("<!--", false)) {
            if (!text.skipPast("-->")) return false;
            continue;
        }
        if (text.startsWith("<!", false) || text.startsWith("</", false)) {
            if (!text.skipPast(">")) return false;
            continue;
        }
        const auto tag = downloadedBodyReadsTag(text);
        if (!tag) return false;
        if (tag->instruction) {
            if (tag->name == "mso-application" && downloadedBodyNamesOfficeProgram(tag->attribute("progid")))
                return true;
            continue;
        }
        const bool opening = !sawRoot || tag->name == "head" || tag->name == "meta" || tag->name == "link" ||
                             tag->name == "title" || tag->name == "base";
        if (!opening) return false;
        sawRoot = true;
        for (const auto& [name, value] : tag->attributes) {
            if ((name == "xmlns" || name.starts_with("xmlns:")) &&
                foundation::StringUtils::lowercase(value).starts_with("urn:schemas-microsoft-com:office:"))
                return true;
        }
        if (tag->name == "meta") {
            const std::string* name = tag->attribute("name");
            if (name && foundation::StringUtils::lowercase(*name) == "progid" &&
                downloadedBodyNamesOfficeProgram(tag->attribute("content")))
                return true;
        }
    }
    return false;
}

// The name's extension in lower case, "" when none; a query or fragment
// after the name is not part of it.
std::string downloadedBodyExtension(const std::string& fileName) {
    const std::string name = fileName.substr(0, fileName.find_first_of("?#"));
    const auto dot = name.rfind('.');
    if (dot == std::string::npos || name.find('/', dot) != std::string::npos) return {};
    return foundation::StringUtils::lowercase(name.substr(dot + 1));
}

// Whether a tag's opening ("<" and a letter, "/", "!" or "?") is in the bytes.
bool downloadedBodyHasMarkup(std::string_view bytes) {
    for (size_t at = bytes.find('<'); at != std::string_view::npos && at + 1 < bytes.size();
         at = bytes.find('<', at + 1)) {
        const auto next = static_cast<unsigned char>(bytes[at + 1]);
        if (std::isalpha(next) || next == '/' || next == '!' || next == '?') return true;
    }
    return false;
}

// Whether the bytes before `at` leave it at a line's start: only a byte-order
// mark and blanks before it, or a line's end or a byte no text holds (a
// binary header's) right before it.
bool downloadedBodyBeginsLine(std::string_view window, size_t at) {
    std::string_view before = window.substr(0, at);
    if (before.starts_with("\xEF\xBB\xBF")) before.remove_prefix(3);
    if (before.find_first_not_of(" \t\r\n\f") == std::string_view::npos) return true;
    const auto previous = static_cast<unsigned char>(window[at - 1]);
    return (previous < 0x20 && previous != '\t' && previous != ' ') || previous == 0x7F;
}

// Whether what follows "%PDF-" is a version ("1.7") closing its line: then
// blanks at most, and a line's end, the end of what was read, or a comment
// or binary byte as PDF writers put there; not a sentence's next word.
bool downloadedBodyEndsVersionLine(std::string_view rest) {
    auto digit = [](char c) { return c >= '0' && c <= '9'; };
    if (rest.size() < 3 || !digit(rest[0]) || rest[1] != '.' || !digit(rest[2])) return false;
    size_t at = 3;
    while (at < rest.size() && digit(rest[at])) ++at;
    while (at < rest.size() && (rest[at] == ' ' || rest[at] == '\t')) ++at;
    if (at == rest.size()) return true;
    const auto c = static_cast<unsigned char>(rest[at]);
    return c == '\r' || c == '\n' || c == '%' || c >= 0x80;
}

constexpr std::array<Kind, 34> kDownloadedBodyKinds = {{
    {"pdf", Content::PDF},
    {"png", Content::Image},
    {"jpg", Content::Image},
    {"jpeg", Content::Image},
    {"gif", Content::Image},
    {"doc", Content::OlderWord},
    {"dot", Content::OlderWord},
    {"xls", Content::OlderOffice},
    {"xlt", Content::OlderOffice},
    {"ppt", Content::OlderOffice},
    {"pps", Content::OlderOffice},
    {"pot", Content::OlderOffice},
    {"docx", Content::Office},
    {"docm", Content::Office},
    {"dotx", Content::Office},
    {"dotm", Content::Office},
    {"xlsx", Content::Office},
    {"xlsm", Content::Office},
    {"xltx", Content::Office},
    {"xltm", Content::Office},
    {"pptx", Content::Office},
    {"pptm", Content::Office},
    {"ppsx", Content::Office},
    {"ppsm", Content::Office},
    {"potx", Content::Office},
    {"odt", Content::OpenDocument},
    {"ods", Content::OpenDocument},
    {"odp", Content::OpenDocument},
    {"odg", Content::OpenDocument},
    {"ott", Content::OpenDocument},
    {"ots", Content::OpenDocument},
    {"otp", Content::OpenDocument},
    {"rtf", Content::RTF},
    {"zip", Content::OpenDocument},
}};

const Kind* downloadedBodyKindOf(const std::string& extension) {
    for (const auto& kind : kDownloadedBodyKinds)
        if (kind.extension == extension) return &kind;
    return nullptr;
}

bool downloadedBodyIsOfficeFile(Signature signature) {
    return signature == Signature::Zip || signature == Signature::CompoundFile;
}

bool downloadedBodyHasContent(Content content, Signature signature, DownloadedBodyText& text) {
    switch (content) {
        case Content::PDF:
            return signature == Signature::PDF;
        case Content::Image:
            return isMapImageSignature(signature) || signature == Signature::GIF;
        case Content::Office:
            return downloadedBodyIsOfficeFile(signature);
        case Content::OlderWord:
            if (signature == Signature::RTF) return true;
            [[fallthrough]];
        case Content::OlderOffice:
            if (downloadedBodyIsOfficeFile(signature)) return true;
            return signature == Signature::None && downloadedBodyCarriesOfficeMarks(text);
        case Content::OpenDocument:
            return signature == Signature::Zip;
        case Content::RTF:
            return signature == Signature::RTF;
    }
    return false;
}

std::optional<std::string> downloadedBodyDocumentRefusal(DownloadedBodyText& text, const Asked& asked) {
    const Signature signature = signatureOf(text.head());
    const std::string extension = downloadedBodyExtension(asked.fileName);
    if (const Kind* kind = downloadedBodyKindOf(extension)) {
        if (downloadedBodyHasContent(kind->content, signature, text)) return std::nullopt;
        return "something other than a ." + extension + " file";
    }
    if (signature != Signature::None) return std::nullopt;
    if (extension == "html" || extension == "htm" || extension == "xhtml") return std::nullopt;
    if (downloadedBodyOpensWebPage(text)) return std::string("a web page");
    return std::nullopt;
}

// A map file by its first bytes and, for a plan, by a parse of the whole
// source `plan` gives.
std::optional<std::string> downloadedBodyMapFileRefusal(
    std::string_view head, const Asked& asked, const std::function<std::shared_ptr<svg::SVGXSource>()>& plan) {
    const Signature signature = signatureOf(head);
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
    // Judged only: nothing of it reaches a parse run collecting meanwhile.
    svg::SVGFloorPlanSink::CollectingNothing judgedOnly;
    const auto parse = svg::SVGXParser::parseSourceUsingDefaultSVGXParser(plan());
    if (parse && isFloorPlan(*parse)) return std::nullopt;
    return std::string("something other than a floor plan");
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
    const std::string_view window = head.substr(0, kDownloadedBodyPDFWindow);
    for (size_t at = window.find("%PDF-"); at != std::string_view::npos; at = window.find("%PDF-", at + 1)) {
        if (downloadedBodyHasMarkup(window.substr(0, at))) return Signature::None;
        if (downloadedBodyBeginsLine(window, at) && downloadedBodyEndsVersionLine(window.substr(at + 5)))
            return Signature::PDF;
    }
    return Signature::None;
}

MapFileRole mapFileRoleOfName(const std::string& fileReference) {
    const std::string extension = downloadedBodyExtension(fileReference);
    if (extension == "png" || extension == "jpg" || extension == "jpeg") return MapFileRole::Image;
    if (extension == "svg") return MapFileRole::Plan;
    return MapFileRole::ByBytes;
}

bool isMapImageSignature(Signature signature) { return signature == Signature::PNG || signature == Signature::JPEG; }

std::span<const Kind> knownKinds() { return kDownloadedBodyKinds; }

std::optional<std::string> refusal(std::istream& body, const Asked& asked, size_t chunkSize) {
    if (asked.mapFile) {
        // A plan is judged by a parse of all of it.
        std::string bytes;
        std::vector<char> chunk(std::max<size_t>(chunkSize, 1));
        while (body) {
            body.read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
            bytes.append(chunk.data(), static_cast<size_t>(body.gcount()));
        }
        if (bytes.empty()) return std::string("nothing");
        return downloadedBodyMapFileRefusal(bytes, asked,
                                            [&] { return svg::SVGXSourceString::sourceFromContentsOfString(bytes); });
    }
    DownloadedBodyText text(body, chunkSize);
    if (text.empty()) return std::string("nothing");
    return downloadedBodyDocumentRefusal(text, asked);
}

std::optional<std::string> refusalOfFile(const std::string& path, const Asked& asked) {
    std::ifstream file(path, std::ios::binary);
    if (!asked.mapFile) return refusal(file, asked);
    std::string head(kDownloadedBodyPDFWindow, '\0');
    file.read(head.data(), static_cast<std::streamsize>(head.size()));
    head.resize(static_cast<size_t>(file.gcount()));
    if (head.empty()) return std::string("nothing");
    return downloadedBodyMapFileRefusal(head, asked,
                                        [&] { return svg::SVGXSourceLocalFile::sourceFromFilename(path); });
}

bool isFloorPlan(const svg::SVGXParseResult& parse) {
    if (parse.libXMLFailed() || !parse.errorsFatal().empty() || !parse.parsedDocument()) return false;
    return std::dynamic_pointer_cast<svg::SVGSVGElement>(parse.parsedDocument()->rootElement()) != nullptr;
}

}  // namespace DownloadedBody
