#include "foundation/Value.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace foundation {

namespace {

const Value& absentValue() {
    static const Value v;
    return v;
}

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v'; }

// A string inside a collection description is quoted unless it is a plain word.
std::string quotedIfNeeded(const std::string& s) {
    bool plain = !s.empty();
    for (unsigned char c : s) {
        if (!(std::isalnum(c) || c == '_' || c == '.' || c == '$' || c >= 0x80)) {
            plain = false;
            break;
        }
    }
    if (plain) return s;
    std::string out = "\"";
    for (char c : s) {
        if (c == '"' || c == '\\') out += '\\';
        if (c == '\n') {
            out += "\\n";
            continue;
        }
        out += c;
    }
    out += '"';
    return out;
}

std::string indentLines(const std::string& text, const std::string& indent) {
    std::string out;
    size_t start = 0;
    while (start <= text.size()) {
        size_t nl = text.find('\n', start);
        std::string line = text.substr(start, nl == std::string::npos ? std::string::npos : nl - start);
        if (start != 0) out += '\n' + indent;
        out += line;
        if (nl == std::string::npos) break;
        start = nl + 1;
    }
    return out;
}

std::string nestedDescription(const Value& v) {
    if (v.isString()) return quotedIfNeeded(*v.string());
    return v.description();
}

}  // namespace

ObjectPtr Value::object() const {
    if (auto p = std::get_if<ObjectPtr>(&v_)) return *p;
    return nullptr;
}

bool Value::boolValue() const {
    switch (type()) {
        case Type::Boolean: return std::get<bool>(v_);
        case Type::Integer: return std::get<int64_t>(v_) != 0;
        case Type::Real: return std::get<double>(v_) != 0.0;
        case Type::String: return NumberParsing::boolValue(std::get<std::string>(v_));
        default: return false;
    }
}

int64_t Value::integerValue() const {
    switch (type()) {
        case Type::Boolean: return std::get<bool>(v_) ? 1 : 0;
        case Type::Integer: return std::get<int64_t>(v_);
        case Type::Real: {
            double d = std::get<double>(v_);
            if (std::isnan(d)) return 0;
            if (d >= 9.2233720368547758e18) return std::numeric_limits<int64_t>::max();
            if (d <= -9.2233720368547758e18) return std::numeric_limits<int64_t>::min();
            return static_cast<int64_t>(d);
        }
        case Type::String: return NumberParsing::longLongValue(std::get<std::string>(v_));
        default: return 0;
    }
}

int32_t Value::intValue() const {
    switch (type()) {
        case Type::Real: {
            double d = std::get<double>(v_);
            if (std::isnan(d)) return 0;
            if (d >= 2147483647.0) return std::numeric_limits<int32_t>::max();
            if (d <= -2147483648.0) return std::numeric_limits<int32_t>::min();
            return static_cast<int32_t>(d);
        }
        case Type::String: return NumberParsing::intValue(std::get<std::string>(v_));
        default: {
            int64_t i = integerValue();
            if (i > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
            if (i < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
            return static_cast<int32_t>(i);
        }
    }
}

double Value::doubleValue() const {
    switch (type()) {
        case Type::Boolean: return std::get<bool>(v_) ? 1.0 : 0.0;
        case Type::Integer: return static_cast<double>(std::get<int64_t>(v_));
        case Type::Real: return std::get<double>(v_);
        case Type::String: return NumberParsing::doubleValue(std::get<std::string>(v_));
        case Type::Date: return std::get<foundation::Date>(v_).timeIntervalSinceReferenceDate();
        default: return 0.0;
    }
}

std::string Value::stringValue() const {
    if (auto s = string()) return *s;
    if (isAbsent()) return "";
    return description();
}

const Value& Value::operator[](std::string_view key) const {
    if (auto d = dictionary()) {
        auto it = d->find(key);
        if (it != d->end()) return it->second;
    }
    return absentValue();
}

Value& Value::operator[](const std::string& key) {
    if (!isDictionary()) v_ = Shared<Dictionary>(Dictionary());
    return (*dictionary())[key];
}

const Value& Value::at(size_t index) const {
    if (auto a = array(); a && index < a->size()) return (*a)[index];
    return absentValue();
}

size_t Value::count() const {
    if (auto a = array()) return a->size();
    if (auto d = dictionary()) return d->size();
    if (auto s = string()) return s->size();
    return 0;
}

void Value::append(Value v) {
    if (!isArray()) v_ = Shared<Array>(Array());
    array()->push_back(std::move(v));
}

std::string Value::description() const {
    switch (type()) {
        case Type::Absent: return "(null)";
        case Type::Null: return "<null>";
        case Type::Boolean: return std::get<bool>(v_) ? "1" : "0";
        case Type::Integer: return std::to_string(std::get<int64_t>(v_));
        case Type::Real: return NumberParsing::formatDouble(std::get<double>(v_));
        case Type::String: return std::get<std::string>(v_);
        case Type::Data: return std::get<foundation::Data>(v_).description();
        case Type::Date: return std::get<foundation::Date>(v_).description();
        case Type::Object: {
            auto o = std::get<ObjectPtr>(v_);
            return o ? o->description() : "(null)";
        }
        case Type::Array: {
            const auto& a = *array();
            if (a.empty()) return "(\n)";
            std::string out = "(\n";
            for (size_t i = 0; i < a.size(); ++i) {
                out += "    " + indentLines(nestedDescription(a[i]), "    ");
                out += i + 1 < a.size() ? ",\n" : "\n";
            }
            return out + ")";
        }
        case Type::Dictionary: {
            const auto& d = *dictionary();
            std::string out = "{\n";
            for (const auto& [k, v] : d) {
                out += "    " + quotedIfNeeded(k) + " = " + indentLines(nestedDescription(v), "    ") + ";\n";
            }
            return out + "}";
        }
    }
    return "";
}

bool Value::operator==(const Value& other) const {
    // Numbers compare by value across their kinds, as the platform's numbers do.
    if (isNumber() && other.isNumber() && type() != other.type()) {
        if (isReal() || other.isReal()) return doubleValue() == other.doubleValue();
        return integerValue() == other.integerValue();
    }
    if (type() != other.type()) return false;
    if (isObject()) {
        auto a = object(), b = other.object();
        return a == b || (a && b && a->isEqual(*b));
    }
    return v_ == other.v_;
}

namespace NumberParsing {

namespace {

// Extracts the leading number text: blanks, sign, digits, optional fraction and
// exponent when `real` is set.
std::string_view leadingNumber(std::string_view s, bool real) {
    size_t i = 0;
    while (i < s.size() && isBlank(s[i])) ++i;
    size_t start = i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    size_t digitsStart = i;
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) ++i;
    bool any = i > digitsStart;
    if (real) {
        if (i < s.size() && s[i] == '.') {
            size_t f = ++i;
            while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) ++i;
            any = any || i > f;
        }
        if (any && i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
            size_t e = i + 1;
            if (e < s.size() && (s[e] == '+' || s[e] == '-')) ++e;
            size_t ed = e;
            while (e < s.size() && std::isdigit(static_cast<unsigned char>(s[e]))) ++e;
            if (e > ed) i = e;
        }
    }
    if (!any) return {};
    return s.substr(start, i - start);
}

}  // namespace

int64_t longLongValue(std::string_view s) {
    auto n = leadingNumber(s, false);
    if (n.empty()) return 0;
    bool negative = n[0] == '-';
    if (n[0] == '+' || n[0] == '-') n.remove_prefix(1);
    int64_t value = 0;
    auto [ptr, ec] = std::from_chars(n.data(), n.data() + n.size(), value);
    (void)ptr;
    if (ec == std::errc::result_out_of_range) {
        return negative ? std::numeric_limits<int64_t>::min() : std::numeric_limits<int64_t>::max();
    }
    return negative ? -value : value;
}

int32_t intValue(std::string_view s) {
    int64_t v = longLongValue(s);
    if (v > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
    if (v < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(v);
}

double doubleValue(std::string_view s) {
    auto n = leadingNumber(s, true);
    if (n.empty()) return 0.0;
    // The extracted text is plain decimal, so strtod's locale never matters.
    double value = std::strtod(std::string(n).c_str(), nullptr);
    if (std::isinf(value)) value = value < 0 ? -std::numeric_limits<double>::max() : std::numeric_limits<double>::max();
    return value;
}

bool boolValue(std::string_view s) {
    size_t i = 0;
    while (i < s.size() && isBlank(s[i])) ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    while (i < s.size() && s[i] == '0') ++i;
    if (i >= s.size()) return false;
    char c = s[i];
    return c == 'Y' || c == 'y' || c == 'T' || c == 't' || (c >= '1' && c <= '9');
}

std::string formatDouble(double d) {
    if (std::isnan(d)) return "nan";
    if (std::isinf(d)) return d < 0 ? "-inf" : "inf";
    if (d == std::floor(d) && std::fabs(d) < 1e15) return std::to_string(static_cast<int64_t>(d));
    char buf[64];
    auto [ptr, ec] = std::to_chars(buf, buf + sizeof buf, d);
    if (ec != std::errc()) return "0";
    // Digits alone read as an integer, so they are written only for a value
    // an integer holds; a larger one is written with its exponent.
    const bool fitsInteger = d >= -0x1p63 && d < 0x1p63;
    std::string text(buf, ptr);
    if (fitsInteger || text.find_first_of(".e") != std::string::npos) return text;
    auto scientific = std::to_chars(buf, buf + sizeof buf, d, std::chars_format::scientific);
    if (scientific.ec != std::errc()) return "0";
    return std::string(buf, scientific.ptr);
}

}  // namespace NumberParsing

}  // namespace foundation
