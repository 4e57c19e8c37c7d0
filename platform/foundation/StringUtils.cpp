// UTF-8 is decoded here by one loop (ICU's U8_NEXT, which reads each maximal
// ill-formed subsequence as one error), so lengths, positions and conversions
// agree with each other on any input. ICU objects that are costly to build
// (transliterator, collators, break iterator) are kept per thread: they are
// built once and never shared.
#include "foundation/StringUtils.h"

#include <unicode/brkiter.h>
#include <unicode/coll.h>
#include <unicode/normalizer2.h>
#include <unicode/translit.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>
#include <unicode/utf16.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>

namespace foundation::StringUtils {

namespace {

constexpr UChar32 kReplacement = 0xFFFD;

// Calls f(codePoint, byteStart) for each character; ill-formed bytes read as U+FFFD.
template <class F>
void forEachCodePoint(std::string_view s, F&& f) {
    const auto* p = reinterpret_cast<const uint8_t*>(s.data());
    size_t i = 0, n = s.size();
    while (i < n) {
        size_t start = i;
        UChar32 c;
        U8_NEXT(p, i, n, c);
        f(c < 0 ? kReplacement : c, start);
    }
}

icu::UnicodeString toUnicode(std::string_view s) {
    std::u16string u = toUTF16(s);
    return icu::UnicodeString(u.data(), int32_t(std::min(u.size(), size_t(INT32_MAX))));
}

std::string toUTF8(const icu::UnicodeString& u) {
    return fromUTF16(std::u16string_view(u.getBuffer(), size_t(u.length())));
}

int sign(int v) { return v < 0 ? -1 : v > 0 ? 1 : 0; }

bool isMark(UChar32 c) { return (U_GET_GC_MASK(c) & U_GC_M_MASK) != 0; }

// The folded text in UTF-16, with, for each of its units, the UTF-16 position
// of the character of the source it came from.
struct Folded {
    std::u16string text;
    std::vector<size_t> origin;
    size_t sourceLength = 0;
};

Folded foldWithOrigins(std::string_view s, unsigned options) {
    UErrorCode status = U_ZERO_ERROR;
    const icu::Normalizer2* nfd = icu::Normalizer2::getNFDInstance(status);
    Folded out;
    size_t position = 0;
    out.text.reserve(s.size());
    out.origin.reserve(s.size());
    forEachCodePoint(s, [&](UChar32 c, size_t) {
        // ASCII has no decomposition, no marks, and folds to its lower case:
        // most of a name's letters need no trip through ICU.
        if (c < 0x80) {
            out.text.push_back(char16_t((options & CaseInsensitive) && c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c));
            out.origin.push_back(position++);
            return;
        }
        icu::UnicodeString decomposed;
        if (!nfd || !nfd->getDecomposition(c, decomposed)) decomposed = icu::UnicodeString(c);
        for (int32_t k = 0; k < decomposed.length();) {
            UChar32 d = decomposed.char32At(k);
            k += U16_LENGTH(d);
            if ((options & DiacriticInsensitive) && u_charType(d) == U_NON_SPACING_MARK) continue;
            icu::UnicodeString piece(d);
            if (options & CaseInsensitive) piece.foldCase(U_FOLD_CASE_DEFAULT);
            for (int32_t j = 0; j < piece.length(); ++j) {
                out.text.push_back(piece.charAt(j));
                out.origin.push_back(position);
            }
        }
        position += U16_LENGTH(c);
    });
    out.sourceLength = position;
    return out;
}

enum class CollationKind { CaseInsensitive, Standard };

icu::Collator* collator(CollationKind kind, const Locale& locale) {
    thread_local std::map<std::pair<CollationKind, std::string>, std::unique_ptr<icu::Collator>> cache;
    auto key = std::make_pair(kind, locale.identifier());
    auto it = cache.find(key);
    if (it != cache.end()) return it->second.get();
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::Collator> c(icu::Collator::createInstance(icu::Locale(locale.identifier().c_str()), status));
    if (U_FAILURE(status)) c.reset();
    if (c && kind == CollationKind::CaseInsensitive) c->setStrength(icu::Collator::SECONDARY);
    if (c && kind == CollationKind::Standard) c->setAttribute(UCOL_NUMERIC_COLLATION, UCOL_ON, status);
    return cache.emplace(key, std::move(c)).first->second.get();
}

int collate(CollationKind kind, std::string_view a, std::string_view b, const Locale& locale) {
    icu::Collator* c = collator(kind, locale);
    if (!c) return caseInsensitiveCompare(a, b);
    UErrorCode status = U_ZERO_ERROR;
    UCollationResult r = c->compare(toUnicode(a), toUnicode(b), status);
    return r == UCOL_LESS ? -1 : r == UCOL_GREATER ? 1 : 0;
}

std::optional<std::string> collationKey(CollationKind kind, std::string_view text, const Locale& locale) {
    icu::Collator* c = collator(kind, locale);
    if (!c) return std::nullopt;
    const icu::UnicodeString unicode = toUnicode(text);
    std::string key(64, '\0');
    int32_t length = c->getSortKey(unicode, reinterpret_cast<uint8_t*>(key.data()), static_cast<int32_t>(key.size()));
    if (length <= 0) return std::nullopt;
    if (static_cast<size_t>(length) > key.size()) {
        key.resize(static_cast<size_t>(length));
        length = c->getSortKey(unicode, reinterpret_cast<uint8_t*>(key.data()), length);
    }
    // The key ends in a zero byte, which orders nothing.
    key.resize(static_cast<size_t>(length) - 1);
    return key;
}

}  // namespace

// --- UTF-8 and UTF-16 -------------------------------------------------------

bool isValidUTF8(std::string_view s) {
    const auto* p = reinterpret_cast<const uint8_t*>(s.data());
    size_t i = 0, n = s.size();
    while (i < n) {
        // Bodies are mostly ASCII: eight such bytes at a time need no decoding.
        constexpr uint64_t kHighBits = 0x8080808080808080ull;
        uint64_t word;
        if (n - i >= sizeof word) {
            std::memcpy(&word, p + i, sizeof word);
            if ((word & kHighBits) == 0) {
                i += sizeof word;
                continue;
            }
        }
        UChar32 c;
        U8_NEXT(p, i, n, c);
        if (c < 0) return false;
    }
    return true;
}

std::string repairUTF8(std::string_view s) {
    if (isValidUTF8(s)) return std::string(s);
    std::string out;
    out.reserve(s.size() + 8);
    forEachCodePoint(s, [&](UChar32 c, size_t) {
        char buf[4];
        size_t k = 0;
        U8_APPEND_UNSAFE(buf, k, c);
        out.append(buf, k);
    });
    return out;
}

std::u16string toUTF16(std::string_view s) {
    std::u16string out;
    out.reserve(s.size());
    forEachCodePoint(s, [&](UChar32 c, size_t) {
        if (U_IS_BMP(c)) {
            out.push_back(char16_t(c));
        } else {
            out.push_back(char16_t(U16_LEAD(c)));
            out.push_back(char16_t(U16_TRAIL(c)));
        }
    });
    return out;
}

std::string fromUTF16(std::u16string_view s) {
    std::string out;
    out.reserve(s.size());
    size_t i = 0, n = s.size();
    while (i < n) {
        UChar32 c;
        U16_NEXT(s.data(), i, n, c);
        if (U_IS_SURROGATE(c)) c = kReplacement;
        char buf[4];
        size_t k = 0;
        U8_APPEND_UNSAFE(buf, k, c);
        out.append(buf, k);
    }
    return out;
}

size_t length16(std::string_view s) {
    size_t n = 0;
    forEachCodePoint(s, [&](UChar32 c, size_t) { n += U16_LENGTH(c); });
    return n;
}

size_t utf16Position(std::string_view s, size_t byteOffset) {
    size_t n = 0;
    forEachCodePoint(s, [&](UChar32 c, size_t start) {
        if (start < byteOffset) n += U16_LENGTH(c);
    });
    return n;
}

size_t utf8Offset(std::string_view s, size_t position) {
    size_t units = 0;
    const auto* p = reinterpret_cast<const uint8_t*>(s.data());
    size_t i = 0, n = s.size();
    while (i < n && units < position) {
        UChar32 c;
        U8_NEXT(p, i, n, c);
        units += c < 0 ? 1 : U16_LENGTH(c);
    }
    return i;
}

std::string substring16(std::string_view s, size_t location, size_t length) {
    std::u16string u = toUTF16(s);
    if (location >= u.size()) return "";
    return fromUTF16(std::u16string_view(u).substr(location, length));
}

// --- White space ------------------------------------------------------------

namespace {

template <class IsSpace>
std::string trimmed(std::string_view s, IsSpace isSpace) {
    // One forward pass: the kept part runs from the first character that is not
    // a space to the end of the last one.
    const auto* p = reinterpret_cast<const uint8_t*>(s.data());
    size_t i = 0, n = s.size();
    size_t begin = n, end = n;
    while (i < n) {
        size_t start = i;
        UChar32 c;
        U8_NEXT(p, i, n, c);
        if (c >= 0 && isSpace(c)) continue;
        if (begin == n) begin = start;
        end = i;
    }
    if (begin == n) return "";
    return std::string(s.substr(begin, end - begin));
}

}  // namespace

std::string trim(std::string_view s) {
    // In ASCII the white space is tab to carriage return and the space; a
    // header line is all ASCII, and every response has a dozen.
    return trimmed(s, [](UChar32 c) {
        return c < 0x80 ? c == ' ' || (c >= '\t' && c <= '\r') : u_isUWhiteSpace(c) != 0;
    });
}

std::string trimWhitespace(std::string_view s) {
    return trimmed(s, [](UChar32 c) { return c == '\t' || u_charType(c) == U_SPACE_SEPARATOR; });
}

// --- Case, folding, ASCII ---------------------------------------------------

std::string uppercase(std::string_view s) { return toUTF8(toUnicode(s).toUpper(icu::Locale::getRoot())); }

std::string lowercase(std::string_view s) {
    // ASCII text (header names, schemes: every request has a few) lowers as
    // ICU's root mapping lowers it, A-Z alone, without the trip through UTF-16.
    if (std::all_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
        std::string lowered(s);
        for (char& c : lowered)
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        return lowered;
    }
    return toUTF8(toUnicode(s).toLower(icu::Locale::getRoot()));
}

// Only Latin letters lose their marks; other scripts become "?" as a lossy
// ASCII encoding does, so such names file under "#" rather than a guessed letter.
//
// One transliterator for the process: building one parses ICU's rules, which
// costs more than transliterating thousands of names, and the store's writes
// hop between the pool's threads, so one per thread was built many times over.
// ICU does not promise that one instance may be used from two threads at once.
std::string toASCIILossy(std::string_view s) {
    static std::mutex transliteratorLock;
    static const std::unique_ptr<icu::Transliterator> transliterator = [] {
        UErrorCode status = U_ZERO_ERROR;
        std::unique_ptr<icu::Transliterator> t(
            icu::Transliterator::createInstance("Latin-ASCII", UTRANS_FORWARD, status));
        if (U_FAILURE(status)) t.reset();
        return t;
    }();
    icu::UnicodeString u = toUnicode(s);
    if (transliterator) {
        std::lock_guard<std::mutex> hold(transliteratorLock);
        transliterator->transliterate(u);
    }
    std::string out;
    out.reserve(size_t(u.length()));
    for (int32_t i = 0; i < u.length();) {
        UChar32 c = u.char32At(i);
        i += U16_LENGTH(c);
        out.push_back(c < 0x80 ? char(c) : '?');
    }
    return out;
}

std::string fold(std::string_view s, unsigned options) {
    return fromUTF16(foldWithOrigins(s, options).text);
}

std::optional<Range> find(std::string_view haystack, std::string_view needle, unsigned options) {
    Folded h = foldWithOrigins(haystack, options);
    std::u16string n = foldWithOrigins(needle, options).text;
    if (n.empty()) return std::nullopt;
    const size_t size = h.text.size();
    for (size_t i = h.text.find(n); i != std::u16string::npos; i = h.text.find(n, i + 1)) {
        size_t j = i + n.size();
        // The match must start and end on characters of the haystack, and not
        // leave a combining mark of its last character behind.
        if (i > 0 && h.origin[i] == h.origin[i - 1]) continue;
        if (j < size && h.origin[j] == h.origin[j - 1]) continue;
        if (j < size) {
            UChar32 next;
            U16_GET(h.text.data(), 0, j, size, next);
            if (isMark(next)) continue;
        }
        size_t end = j < size ? h.origin[j] : h.sourceLength;
        return Range{h.origin[i], end - h.origin[i]};
    }
    return std::nullopt;
}

bool contains(std::string_view haystack, std::string_view needle, unsigned options) {
    return find(haystack, needle, options).has_value();
}

int caseInsensitiveCompare(std::string_view a, std::string_view b) {
    return sign(toUnicode(a).caseCompare(toUnicode(b), U_FOLD_CASE_DEFAULT));
}

int localizedCaseInsensitiveCompare(std::string_view a, std::string_view b, const Locale& locale) {
    return collate(CollationKind::CaseInsensitive, a, b, locale);
}

int localizedStandardCompare(std::string_view a, std::string_view b, const Locale& locale) {
    return collate(CollationKind::Standard, a, b, locale);
}

std::optional<std::string> localizedStandardSortKey(std::string_view s, const Locale& locale) {
    return collationKey(CollationKind::Standard, s, locale);
}

std::optional<std::string> localizedCaseInsensitiveSortKey(std::string_view s, const Locale& locale) {
    return collationKey(CollationKind::CaseInsensitive, s, locale);
}

bool beginsWithLoneASCII(std::string_view s) {
    if (s.empty() || static_cast<unsigned char>(s[0]) >= 0x80) return false;
    if (s.size() == 1 || static_cast<unsigned char>(s[1]) < 0x80) return true;
    // What may join a character before it: extending marks, the zero-width
    // joiner and spacing marks (a character break never falls before them).
    int32_t at = 1;
    UChar32 next;
    U8_NEXT(reinterpret_cast<const uint8_t*>(s.data()), at, static_cast<int32_t>(s.size()), next);
    if (next < 0) return false;
    switch (u_getIntPropertyValue(next, UCHAR_GRAPHEME_CLUSTER_BREAK)) {
        case U_GCB_EXTEND:
        case U_GCB_ZWJ:
        case U_GCB_SPACING_MARK:
            return false;
        default:
            return true;
    }
}

bool beginsWithLetter(std::string_view s) {
    if (s.empty()) return false;
    thread_local std::unique_ptr<icu::BreakIterator> characters = [] {
        UErrorCode status = U_ZERO_ERROR;
        std::unique_ptr<icu::BreakIterator> b(icu::BreakIterator::createCharacterInstance(icu::Locale::getRoot(), status));
        if (U_FAILURE(status)) b.reset();
        return b;
    }();
    icu::UnicodeString u = toUnicode(s);
    int32_t end = u.length();
    if (characters) {
        characters->setText(u);
        characters->first();
        int32_t next = characters->next();
        if (next != icu::BreakIterator::DONE) end = next;
    }
    for (int32_t i = 0; i < end;) {
        UChar32 c = u.char32At(i);
        i += U16_LENGTH(c);
        if (U_GET_GC_MASK(c) & (U_GC_L_MASK | U_GC_M_MASK)) return true;
    }
    return false;
}

// --- Splitting and joining --------------------------------------------------

std::vector<std::string> split(std::string_view s, std::string_view separator) {
    std::vector<std::string> parts;
    if (separator.empty()) {
        parts.emplace_back(s);
        return parts;
    }
    size_t start = 0;
    for (size_t at = s.find(separator); at != std::string_view::npos; at = s.find(separator, start)) {
        parts.emplace_back(s.substr(start, at - start));
        start = at + separator.size();
    }
    parts.emplace_back(s.substr(start));
    return parts;
}

std::string join(const std::vector<std::string>& parts, std::string_view separator) {
    std::string out;
    for (size_t i = 0; i < parts.size(); ++i) {
        if (i) out.append(separator);
        out.append(parts[i]);
    }
    return out;
}

std::string replace(std::string_view s, std::string_view target, std::string_view replacement) {
    if (target.empty()) return std::string(s);
    std::string out;
    size_t start = 0;
    for (size_t at = s.find(target); at != std::string_view::npos; at = s.find(target, start)) {
        out.append(s.substr(start, at - start));
        out.append(replacement);
        start = at + target.size();
    }
    out.append(s.substr(start));
    return out;
}

bool hasPrefix(std::string_view s, std::string_view prefix) { return s.starts_with(prefix); }

bool hasSuffix(std::string_view s, std::string_view suffix) { return s.ends_with(suffix); }

}  // namespace foundation::StringUtils
