#include "foundation/HTTPHeaders.h"

#include <algorithm>
#include <cctype>

namespace foundation {

namespace {
bool sameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}
}  // namespace

std::optional<std::string> HTTPHeaders::get(std::string_view name) const {
    for (const auto& [n, v] : fields_)
        if (sameName(n, name)) return v;
    return std::nullopt;
}

void HTTPHeaders::set(std::string_view name, std::string value) {
    for (auto& [n, v] : fields_) {
        if (sameName(n, name)) {
            v = std::move(value);
            return;
        }
    }
    fields_.emplace_back(std::string(name), std::move(value));
}

void HTTPHeaders::add(std::string_view name, std::string_view value) {
    for (auto& [n, v] : fields_) {
        if (sameName(n, name)) {
            v += ",";
            v += value;
            return;
        }
    }
    fields_.emplace_back(std::string(name), std::string(value));
}

void HTTPHeaders::remove(std::string_view name) {
    std::erase_if(fields_, [&](const Field& f) { return sameName(f.first, name); });
}

}  // namespace foundation
