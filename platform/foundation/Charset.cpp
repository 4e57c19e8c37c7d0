// One table ties each encoding to its IANA name, the name ICU opens its
// converter by, and the aliases met in Content-Type headers. Names match the
// way ICU matches converter names: ignoring case, "-", "_" and spaces.
#include "foundation/Charset.h"

#include <unicode/ucnv.h>
#include <unicode/ucnv_err.h>
#include <unicode/unistr.h>

#include <climits>
#include <initializer_list>
#include <memory>
#include <vector>

#include "foundation/StringUtils.h"

namespace foundation::Charset {

namespace {

struct Entry {
    StringEncoding encoding;
    const char* iana;
    const char* converter;
    std::initializer_list<const char*> aliases;
};

const Entry kEntries[] = {
    {StringEncoding::UTF8, "utf-8", "UTF-8", {"unicode-1-1-utf-8"}},
    {StringEncoding::ASCII, "us-ascii", "US-ASCII", {"ascii", "ansi_x3.4-1968", "iso646-us", "csascii"}},
    {StringEncoding::ISOLatin1, "iso-8859-1", "ISO-8859-1", {"latin1", "l1", "iso_8859-1:1987", "iso-ir-100", "cp819", "ibm819"}},
    {StringEncoding::ISOLatin2, "iso-8859-2", "ISO-8859-2", {"latin2", "l2", "iso_8859-2:1987", "iso-ir-101"}},
    {StringEncoding::UTF16, "utf-16", "UTF-16", {}},
    {StringEncoding::UTF16BigEndian, "utf-16be", "UTF-16BE", {}},
    {StringEncoding::UTF16LittleEndian, "utf-16le", "UTF-16LE", {}},
    {StringEncoding::UTF32, "utf-32", "UTF-32", {}},
    {StringEncoding::WindowsCP1250, "windows-1250", "windows-1250", {"cp1250"}},
    {StringEncoding::WindowsCP1251, "windows-1251", "windows-1251", {"cp1251"}},
    {StringEncoding::WindowsCP1252, "windows-1252", "windows-1252", {"cp1252"}},
    {StringEncoding::WindowsCP1253, "windows-1253", "windows-1253", {"cp1253"}},
    {StringEncoding::WindowsCP1254, "windows-1254", "windows-1254", {"cp1254"}},
    {StringEncoding::ShiftJIS, "shift_jis", "Shift_JIS", {"sjis", "ms_kanji", "csshiftjis"}},
    {StringEncoding::JapaneseEUC, "euc-jp", "EUC-JP", {"cseucpkdfmtjapanese"}},
    {StringEncoding::ISO2022JP, "iso-2022-jp", "ISO-2022-JP", {"csiso2022jp"}},
    {StringEncoding::MacOSRoman, "macintosh", "macintosh", {"mac", "macroman", "x-mac-roman", "csmacintosh"}},
};

const Entry* find(StringEncoding encoding) {
    for (const auto& e : kEntries)
        if (e.encoding == encoding) return &e;
    return nullptr;
}

struct ConverterCloser {
    void operator()(UConverter* c) const { ucnv_close(c); }
};
using Converter = std::unique_ptr<UConverter, ConverterCloser>;

// A converter that stops at the first invalid or unmappable character instead
// of substituting one.
Converter openStrict(const Entry& entry) {
    UErrorCode status = U_ZERO_ERROR;
    Converter converter(ucnv_open(entry.converter, &status));
    if (U_FAILURE(status)) return nullptr;
    ucnv_setToUCallBack(converter.get(), UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
    ucnv_setFromUCallBack(converter.get(), UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
    if (U_FAILURE(status)) return nullptr;
    return converter;
}

}  // namespace

StringEncoding encodingForIANAName(std::string_view name) {
    std::string n(name);  // NUL-terminated for ICU
    if (n.empty() || n.find('\0') != std::string::npos) return StringEncoding::None;
    for (const auto& e : kEntries) {
        if (ucnv_compareNames(n.c_str(), e.iana) == 0) return e.encoding;
        for (const char* alias : e.aliases)
            if (ucnv_compareNames(n.c_str(), alias) == 0) return e.encoding;
    }
    return StringEncoding::None;
}

std::optional<std::string> ianaName(StringEncoding encoding) {
    if (const Entry* e = find(encoding)) return std::string(e->iana);
    return std::nullopt;
}

std::optional<std::string> decode(const void* bytes, size_t length, StringEncoding encoding) {
    const Entry* entry = find(encoding);
    if (!entry || length > size_t(INT32_MAX)) return std::nullopt;
    std::string_view raw(static_cast<const char*>(bytes), length);
    if (encoding == StringEncoding::UTF8) {
        if (!StringUtils::isValidUTF8(raw)) return std::nullopt;
        return std::string(raw);
    }
    Converter converter = openStrict(*entry);
    if (!converter) return std::nullopt;
    UErrorCode status = U_ZERO_ERROR;
    icu::UnicodeString text(raw.data(), int32_t(raw.size()), converter.get(), status);
    if (U_FAILURE(status) || text.isBogus()) return std::nullopt;
    std::string out;
    text.toUTF8String(out);
    return out;
}

std::optional<std::string> decode(const Data& data, StringEncoding encoding) {
    return decode(data.bytes(), data.length(), encoding);
}

std::optional<Data> encode(std::string_view text, StringEncoding encoding) {
    const Entry* entry = find(encoding);
    if (!entry || text.size() > size_t(INT32_MAX) || !StringUtils::isValidUTF8(text)) return std::nullopt;
    if (encoding == StringEncoding::UTF8) return Data::fromString(text);
    Converter converter = openStrict(*entry);
    if (!converter) return std::nullopt;
    icu::UnicodeString u = icu::UnicodeString::fromUTF8(icu::StringPiece(text.data(), int32_t(text.size())));
    UErrorCode status = U_ZERO_ERROR;
    int32_t needed = u.extract(nullptr, 0, converter.get(), status);
    if (status != U_BUFFER_OVERFLOW_ERROR && U_FAILURE(status)) return std::nullopt;
    std::vector<uint8_t> out(size_t(needed) + 1);
    status = U_ZERO_ERROR;
    ucnv_reset(converter.get());
    u.extract(reinterpret_cast<char*>(out.data()), int32_t(out.size()), converter.get(), status);
    if (U_FAILURE(status)) return std::nullopt;
    out.resize(size_t(needed));
    return Data(std::move(out));
}

}  // namespace foundation::Charset
