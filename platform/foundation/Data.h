// A run of bytes: downloaded bodies, archives, digests. Its buffer keeps
// kReadPadding bytes of room past the bytes (when made, copied or appended
// to), so that a JSON body is read where it lies: the reader looks that far
// past a text's end.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace foundation {

class Data {
public:
    static constexpr size_t kReadPadding = 64;

    Data() = default;
    explicit Data(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {}
    Data(const void* bytes, size_t length) { append(bytes, length); }
    Data(const Data& other) { append(other); }
    Data(Data&&) noexcept = default;
    Data& operator=(const Data& other) {
        if (this != &other) {
            bytes_.clear();
            append(other);
        }
        return *this;
    }
    Data& operator=(Data&&) noexcept = default;
    static Data fromString(std::string_view s) { return Data(s.data(), s.size()); }

    const uint8_t* bytes() const { return bytes_.data(); }
    uint8_t* mutableBytes() { return bytes_.data(); }
    size_t length() const { return bytes_.size(); }
    bool empty() const { return bytes_.empty(); }
    const std::vector<uint8_t>& vector() const { return bytes_; }
    std::vector<uint8_t>& vector() { return bytes_; }
    std::string toString() const { return std::string(bytes_.begin(), bytes_.end()); }

    void append(const void* bytes, size_t length) {
        auto p = static_cast<const uint8_t*>(bytes);
        const size_t needed = bytes_.size() + length + kReadPadding;
        if (bytes_.capacity() < needed) bytes_.reserve(std::max(needed, 2 * bytes_.capacity()));
        bytes_.insert(bytes_.end(), p, p + length);
    }
    void append(const Data& other) { append(other.bytes(), other.length()); }
    void append(std::string_view s) { append(s.data(), s.size()); }
    Data subdata(size_t location, size_t length) const;

    bool operator==(const Data& other) const = default;

    // "<68656c6c 6f>" as the platform prints data.
    std::string description() const;

private:
    std::vector<uint8_t> bytes_;
};

}  // namespace foundation
