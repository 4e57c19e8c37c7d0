// Reads JSON text (RFC 8259) into a Value in one pass over the bytes, for
// JSONSerialization. It accepts what nlohmann-json's parser accepts and makes
// the same kinds (a byte order mark may lead; a number too large for a double
// is refused), except that a NUL byte is refused rather than ending the text.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/Value.h"

namespace foundation {

class JSONReader {
public:
    JSONReader(std::string_view text, bool allowFragments, size_t maxDepth);

    // The value the text holds, or absent with the reason in message().
    Value read();
    const std::string& message() const { return message_; }

private:
    // An open container. An array's elements wait on one stack shared by all
    // open arrays and become the array, allocated once at its size, when it
    // closes; grown element by element, a page's arrays were reallocated and
    // moved many times over.
    struct Frame {
        Value container;  // a dictionary; nothing for an array
        std::string key;
        size_t firstElement = 0;  // an array's first place on elements_
        bool isArray = false;
    };

    enum class Step { Failed, Opened, Complete };

    Step readValue();
    bool readAfterValue(bool& done);
    bool readKey();
    bool readString(std::string& out);
    bool readEscape(std::string& out);
    bool readHex4(unsigned& unit);
    bool readNumber(Value& out);
    bool readLiteral(std::string_view word, Value value, Value& out);

    void add(Value v);
    bool open(bool isArray);
    void close();

    void skipPlain();
    size_t wideLength() const;
    void skipSpace();
    bool fail(std::string_view what);
    Step failed(std::string_view what);

    const char* begin_;
    const char* p_;
    const char* end_;
    bool allowFragments_;
    size_t maxDepth_;
    std::vector<Frame> stack_;
    std::vector<Value> elements_;
    Value root_;
    std::string scratch_;  // a string with escapes, built before it is copied out
    std::string message_;
};

}  // namespace foundation
