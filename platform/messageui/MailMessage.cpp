// Writing a mail as RFC 5322 text with its MIME part.
#include "messageui/MailMessage.h"

#include <algorithm>
#include <cstdint>

#include "foundation/Crypto.h"
#include "foundation/DateFormatter.h"
#include "foundation/Locale.h"
#include "foundation/TimeZone.h"

namespace messageui {
namespace {

constexpr const char* kCRLF = "\r\n";
// RFC 5322 allows 998 characters per line; quoted-printable lines stay below 76.
constexpr size_t kMaxLineLength = 998;
constexpr size_t kQuotedPrintableLineLength = 76;
// Bytes of UTF-8 per encoded word, so each stays within the 75 characters of RFC 2047.
constexpr size_t kEncodedWordBytes = 45;

bool isPlainASCII(const std::string& text) {
    for (unsigned char c : text)
        if (c >= 0x80 || (c < 0x20 && c != '\n' && c != '\r' && c != '\t')) return false;
    return true;
}

// Line breaks in a header would start a header of their own.
std::string singleLine(const std::string& text) {
    std::string line;
    for (char c : text) line += (c == '\r' || c == '\n') ? ' ' : c;
    return line;
}

// The body's lines, whatever line ends it used.
std::vector<std::string> bodyLines(const std::string& body) {
    std::vector<std::string> lines(1);
    for (size_t i = 0; i < body.size(); ++i) {
        if (body[i] == '\r' && i + 1 < body.size() && body[i + 1] == '\n') continue;
        if (body[i] == '\r' || body[i] == '\n')
            lines.emplace_back();
        else
            lines.back() += body[i];
    }
    return lines;
}

// RFC 2047 "B" encoded words, split only between UTF-8 characters.
std::string encodedWords(const std::string& text) {
    std::string out;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = std::min(text.size(), start + kEncodedWordBytes);
        while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
        if (!out.empty()) out += std::string(kCRLF) + " ";
        out += "=?UTF-8?B?" + foundation::Crypto::base64Encode(foundation::Data::fromString(text.substr(start, end - start))) + "?=";
        start = end;
    }
    return out;
}

std::string quotedPrintable(const std::vector<std::string>& lines) {
    static const char* hex = "0123456789ABCDEF";
    std::string out;
    for (size_t l = 0; l < lines.size(); ++l) {
        const std::string& line = lines[l];
        std::string encodedLine;
        size_t column = 0;
        for (size_t i = 0; i < line.size(); ++i) {
            const auto c = static_cast<unsigned char>(line[i]);
            const bool last = i + 1 == line.size();
            std::string piece;
            // A blank at the end of a line would be stripped in transit.
            if ((c >= 33 && c <= 126 && c != '=') || ((c == ' ' || c == '\t') && !last))
                piece = static_cast<char>(c);
            else
                piece = {'=', hex[c >> 4], hex[c & 0xF]};
            if (column + piece.size() > kQuotedPrintableLineLength - 1) {
                encodedLine += std::string("=") + kCRLF;  // soft line break
                column = 0;
            }
            encodedLine += piece;
            column += piece.size();
        }
        out += encodedLine;
        if (l + 1 < lines.size()) out += kCRLF;
    }
    return out;
}

std::string rfc5322Date(foundation::Date date) {
    foundation::DateFormatter formatter;
    formatter.setLocale(foundation::Locale("en_US_POSIX"));
    formatter.setTimeZone(foundation::TimeZone::gmt());
    formatter.setDateFormat("EEE, dd MMM yyyy HH:mm:ss Z");
    return formatter.stringFromDate(date);
}

}  // namespace

std::string MailMessage::rfc5322Text() const {
    std::string text;
    auto header = [&](const std::string& name, const std::string& value) { text += name + ": " + value + kCRLF; };

    header("From", singleLine(from));
    std::string recipients;
    for (const auto& address : to) {
        if (!recipients.empty()) recipients += ", ";
        recipients += singleLine(address);
    }
    if (!recipients.empty()) header("To", recipients);
    const std::string flatSubject = singleLine(subject);
    header("Subject", isPlainASCII(flatSubject) ? flatSubject : encodedWords(flatSubject));
    header("Date", rfc5322Date(date));
    const std::string id =
        messageID.empty() ? foundation::Crypto::uuidString() + "@localhost" : singleLine(messageID);
    header("Message-ID", "<" + id + ">");
    header("MIME-Version", "1.0");
    header("Content-Type", std::string(isHTML ? "text/html" : "text/plain") + "; charset=UTF-8");

    const auto lines = bodyLines(body);
    bool fitsAsIs = isPlainASCII(body);
    for (const auto& line : lines) fitsAsIs = fitsAsIs && line.size() <= kMaxLineLength;
    if (fitsAsIs) {
        header("Content-Transfer-Encoding", "7bit");
        text += kCRLF;
        for (size_t l = 0; l < lines.size(); ++l) {
            text += lines[l];
            if (l + 1 < lines.size()) text += kCRLF;
        }
    } else {
        header("Content-Transfer-Encoding", "quoted-printable");
        text += kCRLF;
        text += quotedPrintable(lines);
    }
    text += kCRLF;
    return text;
}

}  // namespace messageui
