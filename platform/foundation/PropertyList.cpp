// libxml2 parses and serializes; this file maps its tree to Values and back.
// The parser runs without network access and with its messages silenced, and
// entity references other than the predefined five are refused, so a hostile
// file can neither reach out nor expand. libxml2's own nesting limit (256)
// sits above kMaxDepth, which both directions enforce.
#include "foundation/PropertyList.h"

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <charconv>
#include <climits>
#include <cmath>
#include <cstdio>
#include <mutex>
#include <string>

#include "foundation/CivilDate.h"
#include "foundation/Crypto.h"

namespace foundation {

namespace {

const xmlChar* X(const char* s) { return reinterpret_cast<const xmlChar*>(s); }
std::string_view name(const xmlNode* node) { return reinterpret_cast<const char*>(node->name); }

void initializeLibxml() {
    static std::once_flag once;
    std::call_once(once, [] { xmlInitParser(); });
}

bool isBlank(std::string_view s) { return s.find_first_not_of(" \t\r\n") == std::string_view::npos; }

std::string_view trimmed(std::string_view s) {
    size_t begin = s.find_first_not_of(" \t\r\n");
    if (begin == std::string_view::npos) return {};
    size_t end = s.find_last_not_of(" \t\r\n");
    return s.substr(begin, end - begin + 1);
}

bool readDigits(std::string_view& s, size_t count, int& out) {
    if (s.size() < count) return false;
    out = 0;
    for (size_t i = 0; i < count; ++i) {
        if (s[i] < '0' || s[i] > '9') return false;
        out = out * 10 + (s[i] - '0');
    }
    s.remove_prefix(count);
    return true;
}

bool expect(std::string_view& s, char c) {
    if (s.empty() || s[0] != c) return false;
    s.remove_prefix(1);
    return true;
}

// "2015-01-21T08:30:00Z", optionally with a fraction of a second.
std::optional<Date> parseDate(std::string_view s) {
    int year, month, day, hour, minute, second;
    if (!readDigits(s, 4, year) || !expect(s, '-') || !readDigits(s, 2, month) || !expect(s, '-') ||
        !readDigits(s, 2, day) || !expect(s, 'T') || !readDigits(s, 2, hour) || !expect(s, ':') ||
        !readDigits(s, 2, minute) || !expect(s, ':') || !readDigits(s, 2, second))
        return std::nullopt;
    double fraction = 0;
    if (!s.empty() && s[0] == '.') {
        s.remove_prefix(1);
        double scale = 0.1;
        size_t digits = 0;
        while (!s.empty() && s[0] >= '0' && s[0] <= '9' && digits < 9) {
            fraction += (s[0] - '0') * scale;
            scale /= 10;
            s.remove_prefix(1);
            ++digits;
        }
        if (digits == 0) return std::nullopt;
    }
    if (s != "Z") return std::nullopt;
    if (month < 1 || month > 12 || day < 1 || day > 31 || hour > 23 || minute > 59 || second > 60)
        return std::nullopt;
    int64_t days = daysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day));
    double unix = static_cast<double>(days * 86400 + hour * 3600 + minute * 60 + second) + fraction;
    return Date::fromTimeIntervalSince1970(unix);
}

std::optional<std::string> formatDate(Date date) {
    double t = date.timeIntervalSince1970();
    if (!std::isfinite(t) || std::fabs(t) > 4e11) return std::nullopt;
    double whole = std::floor(t);
    int64_t seconds = static_cast<int64_t>(whole);
    int64_t micros = std::llround((t - whole) * 1e6);
    if (micros >= 1000000) {
        seconds += 1;
        micros -= 1000000;
    }
    int64_t days = seconds >= 0 ? seconds / 86400 : -((-seconds + 86399) / 86400);
    int64_t rest = seconds - days * 86400;
    int64_t year;
    unsigned month, day;
    civilFromDays(days, year, month, day);
    if (year < 0 || year > 9999) return std::nullopt;
    char buf[64];
    std::snprintf(buf, sizeof buf, "%04d-%02u-%02uT%02d:%02d:%02d", static_cast<int>(year), month, day,
                  static_cast<int>(rest / 3600), static_cast<int>(rest / 60 % 60), static_cast<int>(rest % 60));
    std::string out = buf;
    if (micros > 0) {
        std::snprintf(buf, sizeof buf, ".%06d", static_cast<int>(micros));
        std::string fraction = buf;
        while (fraction.back() == '0') fraction.pop_back();
        out += fraction;
    }
    return out + "Z";
}

std::optional<int64_t> parseInteger(std::string_view s) {
    s = trimmed(s);
    if (!s.empty() && s[0] == '+') s.remove_prefix(1);
    int64_t value = 0;
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (s.empty() || ec != std::errc() || end != s.data() + s.size()) return std::nullopt;
    return value;
}

std::optional<double> parseReal(std::string_view s) {
    s = trimmed(s);
    if (!s.empty() && s[0] == '+') s.remove_prefix(1);
    double value = 0;
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (s.empty() || ec != std::errc() || end != s.data() + s.size()) return std::nullopt;
    return value;
}

// Characters XML 1.0 can carry, in valid UTF-8.
bool isXMLText(std::string_view s) {
    size_t i = 0;
    while (i < s.size()) {
        auto c = static_cast<unsigned char>(s[i]);
        uint32_t cp;
        size_t extra;
        if (c < 0x80) {
            cp = c;
            extra = 0;
        } else if ((c & 0xe0) == 0xc0) {
            cp = c & 0x1f;
            extra = 1;
        } else if ((c & 0xf0) == 0xe0) {
            cp = c & 0x0f;
            extra = 2;
        } else if ((c & 0xf8) == 0xf0) {
            cp = c & 0x07;
            extra = 3;
        } else {
            return false;
        }
        if (i + extra >= s.size() && extra > 0) return false;
        for (size_t k = 1; k <= extra; ++k) {
            auto n = static_cast<unsigned char>(s[i + k]);
            if ((n & 0xc0) != 0x80) return false;
            cp = (cp << 6) | (n & 0x3f);
        }
        static constexpr uint32_t minimum[] = {0, 0x80, 0x800, 0x10000};
        if (cp < minimum[extra]) return false;
        bool allowed = cp == 0x9 || cp == 0xa || cp == 0xd || (cp >= 0x20 && cp <= 0xd7ff) ||
                       (cp >= 0xe000 && cp <= 0xfffd) || (cp >= 0x10000 && cp <= 0x10ffff);
        if (!allowed) return false;
        i += extra + 1;
    }
    return true;
}

class Reader {
public:
    Value read(const xmlNode* root) {
        if (!root || name(root) != "plist") return fail("The root element is not a property list.");
        const xmlNode* only = nullptr;
        if (!elementChildren(root, [&](const xmlNode* child) {
                if (only) return false;
                only = child;
                return true;
            }))
            return fail(error_.empty() ? "A property list holds one value." : error_);
        if (!only) return fail("The property list is empty.");
        return value(only, 1);
    }
    const std::string& error() const { return error_; }

private:
    Value fail(std::string message) {
        if (error_.empty()) error_ = std::move(message);
        return Value();
    }

    // Calls visit for each element child; false on stray text or a refused node.
    template <class Visit>
    bool elementChildren(const xmlNode* node, Visit visit) {
        for (const xmlNode* child = node->children; child; child = child->next) {
            switch (child->type) {
                case XML_ELEMENT_NODE:
                    if (!visit(child)) return false;
                    break;
                case XML_TEXT_NODE:
                case XML_CDATA_SECTION_NODE:
                    if (!isBlank(reinterpret_cast<const char*>(child->content ? child->content : X("")))) {
                        error_ = "Unexpected text between property-list elements.";
                        return false;
                    }
                    break;
                case XML_COMMENT_NODE:
                case XML_PI_NODE: break;
                default: error_ = "Unexpected node in a property list."; return false;
            }
        }
        return true;
    }

    std::optional<std::string> text(const xmlNode* node) {
        std::string out;
        for (const xmlNode* child = node->children; child; child = child->next) {
            switch (child->type) {
                case XML_TEXT_NODE:
                case XML_CDATA_SECTION_NODE:
                    if (child->content) out += reinterpret_cast<const char*>(child->content);
                    break;
                case XML_COMMENT_NODE:
                case XML_PI_NODE: break;
                default: error_ = "Unexpected content in <" + std::string(name(node)) + ">."; return std::nullopt;
            }
        }
        return out;
    }

    Value value(const xmlNode* node, size_t depth) {
        if (depth > PropertyListSerialization::kMaxDepth) return fail("The property list nests too deeply.");
        std::string_view kind = name(node);
        if (kind == "dict") {
            Value::Dictionary dict;
            std::optional<std::string> key;
            bool ok = elementChildren(node, [&](const xmlNode* child) {
                if (!key) {
                    if (name(child) != "key") return false;
                    key = text(child);
                    return key.has_value();
                }
                Value v = value(child, depth + 1);
                if (v.isAbsent()) return false;
                dict[*key] = std::move(v);
                key.reset();
                return true;
            });
            if (!ok || key) return fail("A dictionary's keys and values do not pair up.");
            return Value(std::move(dict));
        }
        if (kind == "array") {
            Value::Array array;
            bool ok = elementChildren(node, [&](const xmlNode* child) {
                Value v = value(child, depth + 1);
                if (v.isAbsent()) return false;
                array.push_back(std::move(v));
                return true;
            });
            if (!ok) return fail("An array holds something that is not a value.");
            return Value(std::move(array));
        }
        if (kind == "true" || kind == "false") {
            if (node->children) {
                auto t = text(node);
                if (!t || !isBlank(*t)) return fail("A Boolean element has content.");
            }
            return Value(kind == "true");
        }
        auto content = text(node);
        if (!content) return fail("Unreadable element content.");
        if (kind == "string") return Value(std::move(*content));
        if (kind == "integer") {
            if (auto i = parseInteger(*content)) return Value(*i);
            return fail("Unreadable integer \u201c" + *content + "\u201d.");
        }
        if (kind == "real") {
            if (auto d = parseReal(*content)) return Value(*d);
            return fail("Unreadable real \u201c" + *content + "\u201d.");
        }
        if (kind == "date") {
            if (auto d = parseDate(trimmed(*content))) return Value(*d);
            return fail("Unreadable date \u201c" + *content + "\u201d.");
        }
        if (kind == "data") {
            std::string compact;
            for (char c : *content) {
                if (!isBlank(std::string_view(&c, 1))) compact += c;
            }
            if (auto d = Crypto::base64Decode(compact)) return Value(std::move(*d));
            return fail("Unreadable Base64 data.");
        }
        return fail("Unknown property-list element <" + std::string(kind) + ">.");
    }

    std::string error_;
};

class Writer {
public:
    bool add(xmlNode* parent, const Value& v, size_t depth) {
        if (depth > PropertyListSerialization::kMaxDepth) return fail("The value nests too deeply.");
        switch (v.type()) {
            case Value::Type::Dictionary: {
                xmlNode* dict = xmlNewChild(parent, nullptr, X("dict"), nullptr);
                for (const auto& [key, item] : *v.dictionary()) {
                    if (!textChild(dict, "key", key) || !add(dict, item, depth + 1)) return false;
                }
                return true;
            }
            case Value::Type::Array: {
                xmlNode* array = xmlNewChild(parent, nullptr, X("array"), nullptr);
                for (const auto& item : *v.array()) {
                    if (!add(array, item, depth + 1)) return false;
                }
                return true;
            }
            case Value::Type::String: return textChild(parent, "string", *v.string());
            case Value::Type::Integer: return textChild(parent, "integer", std::to_string(v.integerValue()));
            case Value::Type::Real: return textChild(parent, "real", NumberParsing::formatDouble(v.doubleValue()));
            case Value::Type::Boolean:
                xmlNewChild(parent, nullptr, X(v.boolValue() ? "true" : "false"), nullptr);
                return true;
            case Value::Type::Date: {
                auto text = formatDate(*v.date());
                if (!text) return fail("A date outside the years 0 to 9999.");
                return textChild(parent, "date", *text);
            }
            case Value::Type::Data: return textChild(parent, "data", Crypto::base64Encode(*v.data()));
            case Value::Type::Absent:
            case Value::Type::Null:
            case Value::Type::Object: break;
        }
        return fail("Property lists hold no " + std::string(v.isObject() ? "objects" : "null values") + ".");
    }
    const std::string& error() const { return error_; }

private:
    bool fail(std::string message) {
        if (error_.empty()) error_ = std::move(message);
        return false;
    }
    bool textChild(xmlNode* parent, const char* element, const std::string& content) {
        if (!isXMLText(content)) return fail("Text that XML cannot carry (invalid UTF-8 or control characters).");
        xmlNewTextChild(parent, nullptr, X(element), X(content.c_str()));
        return true;
    }

    std::string error_;
};

ErrorPtr plistError(int64_t code, const std::string& debug) {
    std::string description = code == PropertyListSerialization::kReadCorruptError
                                  ? "The data couldn\u2019t be read because it isn\u2019t in the correct format."
                                  : debug;
    return Error::make(kCocoaErrorDomain, code,
                       {{kLocalizedDescriptionKey, Value(description)}, {"NSDebugDescription", Value(debug)}});
}

}  // namespace

Value PropertyListSerialization::propertyListWithData(const Data& data, ErrorPtr* error) {
    if (error) *error = nullptr;
    initializeLibxml();
    if (data.empty() || data.length() > static_cast<size_t>(INT_MAX)) {
        if (error) *error = plistError(kReadCorruptError, "No property list in the data.");
        return Value();
    }
    xmlDocPtr doc = xmlReadMemory(reinterpret_cast<const char*>(data.bytes()), static_cast<int>(data.length()),
                                  nullptr, nullptr, XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
    if (!doc) {
        if (error) *error = plistError(kReadCorruptError, "The data is not well-formed XML.");
        return Value();
    }
    Reader reader;
    Value result = reader.read(xmlDocGetRootElement(doc));
    xmlFreeDoc(doc);
    if (result.isAbsent() && error) *error = plistError(kReadCorruptError, reader.error());
    return result;
}

std::optional<Data> PropertyListSerialization::dataWithPropertyList(const Value& plist, ErrorPtr* error) {
    if (error) *error = nullptr;
    initializeLibxml();
    xmlDocPtr doc = xmlNewDoc(X("1.0"));
    xmlNode* root = xmlNewNode(nullptr, X("plist"));
    xmlNewProp(root, X("version"), X("1.0"));
    xmlDocSetRootElement(doc, root);
    Writer writer;
    std::optional<Data> result;
    if (writer.add(root, plist, 1)) {
        xmlChar* buffer = nullptr;
        int size = 0;
        xmlDocDumpFormatMemoryEnc(doc, &buffer, &size, "UTF-8", 1);
        if (buffer) {
            result = Data(buffer, static_cast<size_t>(size));
            xmlFree(buffer);
        }
    }
    xmlFreeDoc(doc);
    if (!result && error) {
        *error = plistError(kWriteInvalidError, writer.error().empty() ? "The property list could not be written."
                                                                       : writer.error());
    }
    return result;
}

bool PropertyListSerialization::isPropertyList(const Value& plist) {
    switch (plist.type()) {
        case Value::Type::Array:
            for (const auto& item : *plist.array()) {
                if (!isPropertyList(item)) return false;
            }
            return true;
        case Value::Type::Dictionary:
            for (const auto& [key, item] : *plist.dictionary()) {
                if (!isPropertyList(item)) return false;
            }
            return true;
        case Value::Type::Absent:
        case Value::Type::Null:
        case Value::Type::Object: return false;
        default: return true;
    }
}

}  // namespace foundation
