// printf-style formatting with the platform's "%@" (an object's description).
// Arguments are typed, so a mismatched conversion degrades (a number printed
// by %@, a string by %d reads its leading number) instead of misreading memory.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>

#include "foundation/Value.h"

namespace foundation {

class FormatArg {
public:
    using Storage = std::variant<int64_t, uint64_t, double, std::string, const void*, Value>;

    FormatArg(bool b) : v_(int64_t(b)) {}
    FormatArg(char c) : v_(int64_t(c)) {}
    template <class T, std::enable_if_t<std::is_integral_v<T> && std::is_signed_v<T> && !std::is_same_v<T, bool> &&
                                            !std::is_same_v<T, char>,
                                        int> = 0>
    FormatArg(T i) : v_(int64_t(i)) {}
    template <class T, std::enable_if_t<std::is_integral_v<T> && std::is_unsigned_v<T> && !std::is_same_v<T, bool>,
                                        int> = 0>
    FormatArg(T i) : v_(uint64_t(i)) {}
    template <class T, std::enable_if_t<std::is_enum_v<T>, int> = 0>
    FormatArg(T e) : v_(int64_t(e)) {}
    FormatArg(double d) : v_(d) {}
    FormatArg(float f) : v_(double(f)) {}
    FormatArg(const char* s) : v_(s ? Storage(std::string(s)) : Storage(Value())) {}
    FormatArg(const std::string& s) : v_(s) {}
    FormatArg(std::string_view s) : v_(std::string(s)) {}
    FormatArg(const Value& v) : v_(v) {}
    FormatArg(const Date& d) : v_(Value(d)) {}
    FormatArg(const Data& d) : v_(Value(d)) {}
    FormatArg(const void* p) : v_(p) {}
    // Objects print their description; a null pointer prints "(null)".
    template <class T, std::enable_if_t<std::is_base_of_v<Object, T>, int> = 0>
    FormatArg(const std::shared_ptr<T>& o)
        : v_(o ? Storage(o->description()) : Storage(Value())) {}

    const Storage& storage() const { return v_; }

private:
    Storage v_;
};

std::string formatString(std::string_view format, std::span<const FormatArg> args);

template <class... A>
std::string Format(std::string_view format, const A&... args) {
    std::array<FormatArg, sizeof...(A)> list{FormatArg(args)...};
    return formatString(format, std::span<const FormatArg>(list.data(), list.size()));
}

}  // namespace foundation
