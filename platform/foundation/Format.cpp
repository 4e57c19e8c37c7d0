#include "foundation/Format.h"

#include <cstdio>

namespace foundation {

namespace {

std::string textOf(const FormatArg::Storage& s) {
    struct V {
        std::string operator()(int64_t i) const { return std::to_string(i); }
        std::string operator()(uint64_t u) const { return std::to_string(u); }
        std::string operator()(double d) const { return NumberParsing::formatDouble(d); }
        std::string operator()(const std::string& s) const { return s; }
        std::string operator()(const void* p) const {
            char buf[32];
            std::snprintf(buf, sizeof buf, "%p", p);
            return buf;
        }
        std::string operator()(const Value& v) const { return v.isString() ? *v.string() : v.description(); }
    };
    return std::visit(V{}, s);
}

int64_t signedOf(const FormatArg::Storage& s) {
    if (auto i = std::get_if<int64_t>(&s)) return *i;
    if (auto u = std::get_if<uint64_t>(&s)) return static_cast<int64_t>(*u);
    if (auto d = std::get_if<double>(&s)) return Value(*d).integerValue();
    if (auto str = std::get_if<std::string>(&s)) return NumberParsing::longLongValue(*str);
    if (auto v = std::get_if<Value>(&s)) return v->integerValue();
    if (auto p = std::get_if<const void*>(&s)) return static_cast<int64_t>(reinterpret_cast<uintptr_t>(*p));
    return 0;
}

double doubleOf(const FormatArg::Storage& s) {
    if (auto d = std::get_if<double>(&s)) return *d;
    if (auto i = std::get_if<int64_t>(&s)) return static_cast<double>(*i);
    if (auto u = std::get_if<uint64_t>(&s)) return static_cast<double>(*u);
    if (auto str = std::get_if<std::string>(&s)) return NumberParsing::doubleValue(*str);
    if (auto v = std::get_if<Value>(&s)) return v->doubleValue();
    return 0;
}

std::string applyWidth(std::string text, const std::string& flags, int width) {
    if (width <= 0 || static_cast<int>(text.size()) >= width) return text;
    std::string pad(width - text.size(), ' ');
    return flags.find('-') != std::string::npos ? text + pad : pad + text;
}

}  // namespace

std::string formatString(std::string_view format, std::span<const FormatArg> args) {
    std::string out;
    size_t next = 0;
    static const FormatArg::Storage missing = Value();
    auto take = [&]() -> const FormatArg::Storage& { return next < args.size() ? args[next++].storage() : missing; };

    for (size_t i = 0; i < format.size(); ++i) {
        char c = format[i];
        if (c != '%') {
            out += c;
            continue;
        }
        size_t j = i + 1;
        std::string flags;
        while (j < format.size() && std::string_view("-+ #0").find(format[j]) != std::string_view::npos) flags += format[j++];
        int width = 0;
        bool hasWidth = false;
        if (j < format.size() && format[j] == '*') {
            width = static_cast<int>(signedOf(take()));
            hasWidth = true;
            ++j;
        } else {
            while (j < format.size() && std::isdigit(static_cast<unsigned char>(format[j]))) {
                width = width * 10 + (format[j++] - '0');
                hasWidth = true;
            }
        }
        int precision = -1;
        if (j < format.size() && format[j] == '.') {
            ++j;
            precision = 0;
            if (j < format.size() && format[j] == '*') {
                precision = static_cast<int>(signedOf(take()));
                ++j;
            } else {
                while (j < format.size() && std::isdigit(static_cast<unsigned char>(format[j])))
                    precision = precision * 10 + (format[j++] - '0');
            }
        }
        while (j < format.size() && std::string_view("hlLqjztI").find(format[j]) != std::string_view::npos) ++j;
        if (j >= format.size()) {
            out.append(format.substr(i));
            break;
        }
        char conv = format[j];
        i = j;

        std::string directive = "%" + flags;
        if (hasWidth) directive += std::to_string(width);
        if (precision >= 0) directive += "." + std::to_string(precision);
        char buf[512];
        switch (conv) {
            case '%': out += '%'; break;
            case '@': {
                const auto& a = take();
                std::string text = textOf(a);
                out += applyWidth(text, flags, width);
                break;
            }
            case 's': {
                std::string text = textOf(take());
                if (precision >= 0 && static_cast<size_t>(precision) < text.size()) text.resize(precision);
                out += applyWidth(text, flags, width);
                break;
            }
            case 'd':
            case 'i': {
                std::snprintf(buf, sizeof buf, (directive + "lld").c_str(), static_cast<long long>(signedOf(take())));
                out += buf;
                break;
            }
            case 'u':
            case 'x':
            case 'X':
            case 'o': {
                std::snprintf(buf, sizeof buf, (directive + "ll" + conv).c_str(),
                              static_cast<unsigned long long>(signedOf(take())));
                out += buf;
                break;
            }
            case 'c': {
                const auto& a = take();
                std::string text;
                if (auto s = std::get_if<std::string>(&a)) {
                    text = s->empty() ? std::string() : s->substr(0, 1);
                } else {
                    text = std::string(1, static_cast<char>(signedOf(a)));
                }
                out += applyWidth(std::move(text), flags, width);
                break;
            }
            case 'p': {
                const auto& a = take();
                const void* p = nullptr;
                if (auto pp = std::get_if<const void*>(&a)) p = *pp;
                else p = reinterpret_cast<const void*>(static_cast<uintptr_t>(signedOf(a)));
                std::snprintf(buf, sizeof buf, "%p", p);
                out += buf;
                break;
            }
            case 'f':
            case 'F':
            case 'e':
            case 'E':
            case 'g':
            case 'G':
            case 'a':
            case 'A': {
                std::snprintf(buf, sizeof buf, (directive + conv).c_str(), doubleOf(take()));
                out += buf;
                break;
            }
            default:
                // Unknown conversion: keep the text as written.
                out += '%';
                out += flags;
                out += conv;
                break;
        }
    }
    return out;
}

}  // namespace foundation
