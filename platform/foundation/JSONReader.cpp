// A page of a meeting's lists is mostly short ASCII strings and small
// integers, so the reader takes a string without escapes straight from the
// text in one allocation, checks UTF-8 only where a byte is past ASCII, and
// reads numbers in place. A general lexer copying each character into a token
// buffer cost more than building the values did.
#include "foundation/JSONReader.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <iterator>

namespace foundation {

namespace {

// What a byte inside a string asks of the reader.
enum : unsigned char { kPlain = 0, kStop = 1, kWide = 2 };

constexpr auto kStringBytes = [] {
    std::array<unsigned char, 256> table{};
    for (int c = 0; c < 0x20; ++c) table[c] = kStop;
    table['"'] = kStop;
    table['\\'] = kStop;
    for (int c = 0x80; c < 0x100; ++c) table[c] = kWide;
    return table;
}();

// The length of the well-formed UTF-8 sequence at p (its first byte past
// ASCII), or 0: no overlong forms, no surrogates, nothing past U+10FFFF.
size_t utf8SequenceLength(const unsigned char* p, const unsigned char* end) {
    auto tail = [&](size_t i, unsigned char low = 0x80, unsigned char high = 0xBF) {
        return p + i < end && p[i] >= low && p[i] <= high;
    };
    const unsigned char c = p[0];
    if (c >= 0xC2 && c <= 0xDF) return tail(1) ? 2 : 0;
    if (c == 0xE0) return tail(1, 0xA0) && tail(2) ? 3 : 0;
    if ((c >= 0xE1 && c <= 0xEC) || c == 0xEE || c == 0xEF) return tail(1) && tail(2) ? 3 : 0;
    if (c == 0xED) return tail(1, 0x80, 0x9F) && tail(2) ? 3 : 0;
    if (c == 0xF0) return tail(1, 0x90) && tail(2) && tail(3) ? 4 : 0;
    if (c >= 0xF1 && c <= 0xF3) return tail(1) && tail(2) && tail(3) ? 4 : 0;
    if (c == 0xF4) return tail(1, 0x80, 0x8F) && tail(2) && tail(3) ? 4 : 0;
    return 0;
}

void appendUTF8(std::string& out, unsigned code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

JSONReader::JSONReader(std::string_view text, bool allowFragments, size_t maxDepth)
    : begin_(text.data()), p_(text.data()), end_(text.data() + text.size()), allowFragments_(allowFragments),
      maxDepth_(maxDepth) {}

Value JSONReader::read() {
    // A byte order mark may lead the text; it is not part of it.
    if (end_ - p_ >= 3 && std::memcmp(p_, "\xEF\xBB\xBF", 3) == 0) p_ += 3;
    for (;;) {
        const Step step = readValue();
        if (step == Step::Failed) return Value();
        if (step == Step::Opened) continue;
        bool done = false;
        if (!readAfterValue(done)) return Value();
        if (done) return std::move(root_);
    }
}

// One value, or the start of a container with its first key read; an empty
// container is complete at once.
JSONReader::Step JSONReader::readValue() {
    skipSpace();
    if (p_ == end_) return failed("Unexpected end of text where a value was expected");
    Value scalar;
    switch (*p_) {
        case '{':
        case '[': {
            const bool isArray = *p_ == '[';
            ++p_;
            if (!open(isArray)) return Step::Failed;
            skipSpace();
            if (p_ != end_ && *p_ == (isArray ? ']' : '}')) {
                ++p_;
                close();
                return Step::Complete;
            }
            if (!isArray && !readKey()) return Step::Failed;
            return Step::Opened;
        }
        case '"': {
            std::string text;
            if (!readString(text)) return Step::Failed;
            scalar = Value(std::move(text));
            break;
        }
        case 't':
            if (!readLiteral("true", Value(true), scalar)) return Step::Failed;
            break;
        case 'f':
            if (!readLiteral("false", Value(false), scalar)) return Step::Failed;
            break;
        case 'n':
            if (!readLiteral("null", Value::null(), scalar)) return Step::Failed;
            break;
        default:
            if (*p_ != '-' && !isDigit(*p_)) return failed("Invalid value");
            if (!readNumber(scalar)) return Step::Failed;
    }
    if (stack_.empty() && !allowFragments_)
        return failed("JSON text did not start with array or object and option to allow fragments not set");
    add(std::move(scalar));
    return Step::Complete;
}

// After a complete value: closes what ends there, and stops before the next
// value of the container still open (its key read), or at the end of the text.
bool JSONReader::readAfterValue(bool& done) {
    for (;;) {
        skipSpace();
        if (stack_.empty()) {
            if (p_ != end_) return fail("Garbage after the JSON text");
            done = true;
            return true;
        }
        if (p_ == end_) return fail("Unexpected end of text inside a container");
        const bool isArray = stack_.back().isArray;
        if (*p_ == ',') {
            ++p_;
            if (isArray) return true;
            skipSpace();
            return readKey();
        }
        if (*p_ != (isArray ? ']' : '}')) return fail(isArray ? "Expected ',' or ']'" : "Expected ',' or '}'");
        ++p_;
        close();
    }
}

bool JSONReader::readKey() {
    if (p_ == end_ || *p_ != '"') return fail("Expected a string key");
    if (!readString(stack_.back().key)) return false;
    skipSpace();
    if (p_ == end_ || *p_ != ':') return fail("Expected ':' after a key");
    ++p_;
    return true;
}

// A string without escapes is copied once, straight from the text; from the
// first escape on it is built in the scratch text and copied out once at its
// size.
bool JSONReader::readString(std::string& out) {
    ++p_;  // the opening quote
    const char* run = p_;  // the bytes not yet copied into the scratch text
    bool escaped = false;  // the scratch text holds the string up to run
    for (skipPlain(); p_ != end_; skipPlain()) {
        const auto c = static_cast<unsigned char>(*p_);
        if (kStringBytes[c] == kWide) {
            const size_t length = wideLength();
            if (length == 0) return fail("Invalid UTF-8 in a string");
            p_ += length;
            continue;
        }
        if (c == '"') {
            if (escaped) {
                scratch_.append(run, p_);
                out.assign(scratch_);
            } else {
                out.assign(run, p_);
            }
            ++p_;
            return true;
        }
        if (c != '\\') return fail("Unescaped control character in a string");
        if (!escaped) scratch_.clear();
        escaped = true;
        scratch_.append(run, p_);
        if (!readEscape(scratch_)) return false;
        run = p_;
    }
    return fail("Unterminated string");
}

bool JSONReader::readEscape(std::string& out) {
    ++p_;  // the backslash
    if (p_ == end_) return fail("Unterminated string");
    const char c = *p_++;
    switch (c) {
        case '"': out += '"'; return true;
        case '\\': out += '\\'; return true;
        case '/': out += '/'; return true;
        case 'b': out += '\b'; return true;
        case 'f': out += '\f'; return true;
        case 'n': out += '\n'; return true;
        case 'r': out += '\r'; return true;
        case 't': out += '\t'; return true;
        case 'u': break;
        default: return fail("Invalid escape in a string");
    }
    unsigned unit = 0;
    if (!readHex4(unit)) return false;
    if (unit >= 0xDC00 && unit <= 0xDFFF) return fail("A low surrogate without a high one");
    if (unit >= 0xD800 && unit <= 0xDBFF) {
        unsigned low = 0;
        if (end_ - p_ < 2 || p_[0] != '\\' || p_[1] != 'u') return fail("A high surrogate without a low one");
        p_ += 2;
        if (!readHex4(low)) return false;
        if (low < 0xDC00 || low > 0xDFFF) return fail("A high surrogate without a low one");
        unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
    }
    appendUTF8(out, unit);
    return true;
}

bool JSONReader::readHex4(unsigned& unit) {
    if (end_ - p_ < 4) return fail("Unterminated string");
    unit = 0;
    for (int i = 0; i < 4; ++i) {
        const char c = *p_++;
        unsigned digit;
        if (c >= '0' && c <= '9') digit = static_cast<unsigned>(c - '0');
        else if (c >= 'a' && c <= 'f') digit = static_cast<unsigned>(c - 'a' + 10);
        else if (c >= 'A' && c <= 'F') digit = static_cast<unsigned>(c - 'A' + 10);
        else return fail("Invalid \\u escape in a string");
        unit = unit * 16 + digit;
    }
    return true;
}

// An integer that fits 64 bits signed stays an integer; any other number,
// one with a fraction or an exponent or too large, is a real.
bool JSONReader::readNumber(Value& out) {
    const char* start = p_;
    if (*p_ == '-') ++p_;
    if (p_ == end_ || !isDigit(*p_)) return fail("Invalid number");
    if (*p_ == '0') {
        ++p_;
    } else {
        while (p_ != end_ && isDigit(*p_)) ++p_;
    }
    bool integral = true;
    if (p_ != end_ && *p_ == '.') {
        ++p_;
        if (p_ == end_ || !isDigit(*p_)) return fail("Invalid number");
        while (p_ != end_ && isDigit(*p_)) ++p_;
        integral = false;
    }
    if (p_ != end_ && (*p_ == 'e' || *p_ == 'E')) {
        ++p_;
        if (p_ != end_ && (*p_ == '+' || *p_ == '-')) ++p_;
        if (p_ == end_ || !isDigit(*p_)) return fail("Invalid number");
        while (p_ != end_ && isDigit(*p_)) ++p_;
        integral = false;
    }
    if (integral) {
        int64_t i = 0;
        if (std::from_chars(start, p_, i).ec == std::errc()) {
            out = Value(i);
            return true;
        }
    }
    double d = 0;
    if (std::from_chars(start, p_, d).ec != std::errc()) {
        // Too small for a double reads as its nearest (zero or a subnormal);
        // too large for one is refused, as JSON writes no infinity.
        d = std::strtod(std::string(start, p_).c_str(), nullptr);
        if (!std::isfinite(d)) return fail("Number too large");
    }
    out = Value(d);
    return true;
}

bool JSONReader::readLiteral(std::string_view word, Value value, Value& out) {
    if (static_cast<size_t>(end_ - p_) < word.size() || std::memcmp(p_, word.data(), word.size()) != 0)
        return fail("Invalid literal");
    p_ += word.size();
    out = std::move(value);
    return true;
}

void JSONReader::add(Value v) {
    if (stack_.empty()) {
        root_ = std::move(v);
        return;
    }
    Frame& top = stack_.back();
    if (top.isArray) {
        elements_.push_back(std::move(v));
        return;
    }
    // Keys mostly come in order (the service writes them so), and then each
    // goes in at the end without a search. A repeated key keeps the last value.
    Value::Dictionary& entries = *top.container.dictionary();
    if (entries.empty() || entries.rbegin()->first < top.key) {
        entries.emplace_hint(entries.end(), std::move(top.key), std::move(v));
    } else {
        auto [slot, inserted] = entries.try_emplace(std::move(top.key), std::move(v));
        if (!inserted) slot->second = std::move(v);
    }
}

bool JSONReader::open(bool isArray) {
    if (stack_.size() >= maxDepth_) return fail("JSON nests too deeply");
    stack_.push_back(Frame{isArray ? Value() : Value(Value::Dictionary{}), {}, elements_.size(), isArray});
    return true;
}

void JSONReader::close() {
    Frame& top = stack_.back();
    Value done;
    if (top.isArray) {
        const auto first = elements_.begin() + static_cast<std::ptrdiff_t>(top.firstElement);
        done = Value(Value::Array(std::make_move_iterator(first), std::make_move_iterator(elements_.end())));
        elements_.erase(first, elements_.end());
    } else {
        done = std::move(top.container);
    }
    stack_.pop_back();
    add(std::move(done));
}

// Eight bytes at a time while none of them is a quote, a backslash, a control
// character or past ASCII; the bit tricks may also flag a byte after a real
// find, never one alone, and the last bytes go one by one.
void JSONReader::skipPlain() {
    constexpr uint64_t kOnes = 0x0101010101010101ULL;
    constexpr uint64_t kHighs = 0x8080808080808080ULL;
    while (end_ - p_ >= 8) {
        uint64_t word;
        std::memcpy(&word, p_, sizeof word);
        const uint64_t quote = word ^ (kOnes * '"');
        const uint64_t backslash = word ^ (kOnes * '\\');
        const uint64_t special = ((quote - kOnes) & ~quote) | ((backslash - kOnes) & ~backslash) |
                                 (word - kOnes * 0x20) | word;
        if (special & kHighs) break;
        p_ += 8;
    }
    while (p_ != end_ && kStringBytes[static_cast<unsigned char>(*p_)] == kPlain) ++p_;
}

size_t JSONReader::wideLength() const {
    return utf8SequenceLength(reinterpret_cast<const unsigned char*>(p_), reinterpret_cast<const unsigned char*>(end_));
}

void JSONReader::skipSpace() {
    while (p_ != end_ && (*p_ == ' ' || *p_ == '\n' || *p_ == '\r' || *p_ == '\t')) ++p_;
}

JSONReader::Step JSONReader::failed(std::string_view what) {
    fail(what);
    return Step::Failed;
}

bool JSONReader::fail(std::string_view what) {
    message_ = std::string(what) + " at byte " + std::to_string(p_ - begin_) + ".";
    return false;
}

}  // namespace foundation
