// HTTP header fields: names compare without regard to case, the first
// spelling of a name is kept, and the order of insertion is preserved.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace foundation {

class HTTPHeaders {
public:
    using Field = std::pair<std::string, std::string>;

    std::optional<std::string> get(std::string_view name) const;
    bool has(std::string_view name) const { return get(name).has_value(); }
    // Replaces any value of the field (keeping its position and first spelling).
    void set(std::string_view name, std::string value);
    // Appends to an existing value with ",", as repeated header lines combine.
    void add(std::string_view name, std::string_view value);
    void remove(std::string_view name);
    const std::vector<Field>& all() const { return fields_; }
    bool empty() const { return fields_.empty(); }

private:
    std::vector<Field> fields_;
};

}  // namespace foundation
