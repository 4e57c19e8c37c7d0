// Text encodings: the IANA charset name a response or a web page declares
// ("utf-8", "ISO-8859-1") to one of the platform's string encodings and back,
// and the conversions between bytes in that encoding and our UTF-8 strings.
// Conversions are strict: bytes that are not valid in the encoding, or text the
// encoding cannot hold, give nothing rather than a guess.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "foundation/Data.h"

namespace foundation {

// The platform's numbering, so values stored or compared by the app keep their meaning.
enum class StringEncoding : uint32_t {
    None = 0,
    ASCII = 1,
    JapaneseEUC = 3,
    UTF8 = 4,
    ISOLatin1 = 5,
    ShiftJIS = 8,
    ISOLatin2 = 9,
    UTF16 = 10,  // byte order from the byte-order mark, big-endian without one
    WindowsCP1251 = 11,
    WindowsCP1252 = 12,
    WindowsCP1253 = 13,
    WindowsCP1254 = 14,
    WindowsCP1250 = 15,
    ISO2022JP = 21,
    MacOSRoman = 30,
    UTF16BigEndian = 0x90000100,
    UTF16LittleEndian = 0x94000100,
    UTF32 = 0x8c000100,
};

namespace Charset {

// Case and punctuation do not matter ("UTF8", "utf-8", "Latin1"); unknown
// names give StringEncoding::None.
StringEncoding encodingForIANAName(std::string_view name);
// "utf-8", "iso-8859-1", …; nothing for None.
std::optional<std::string> ianaName(StringEncoding encoding);

// Bytes in `encoding` as UTF-8; nothing when they are not valid in it.
std::optional<std::string> decode(const void* bytes, size_t length, StringEncoding encoding);
std::optional<std::string> decode(const Data& data, StringEncoding encoding);
// UTF-8 text in `encoding`; nothing when the text is not valid UTF-8 or holds
// a character the encoding cannot write.
std::optional<Data> encode(std::string_view text, StringEncoding encoding);

}  // namespace Charset
}  // namespace foundation
