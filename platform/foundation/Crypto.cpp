// OpenSSL stays behind this file: digests through EVP, Base64 through the EVP
// block coder after our own strict validation (the OpenSSL decoder skips
// white space and tolerates bad padding, which the platform's decoder does not).
#include "foundation/Crypto.h"

#include <openssl/evp.h>
#include <openssl/rand.h>

#include <random>

namespace foundation::Crypto {

namespace {

Data digest(const EVP_MD* md, const void* bytes, size_t length) {
    unsigned char out[EVP_MAX_MD_SIZE];
    unsigned int outLength = 0;
    if (EVP_Digest(bytes, length, out, &outLength, md, nullptr) != 1) return Data();
    return Data(out, outLength);
}

int base64Index(char c) {
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'z') return c - 'a' + 26;
    if (c >= '0' && c <= '9') return c - '0' + 52;
    if (c == '+') return 62;
    if (c == '/') return 63;
    return -1;
}

}  // namespace

Data sha1(const Data& data) { return digest(EVP_sha1(), data.bytes(), data.length()); }
Data sha256(const Data& data) { return digest(EVP_sha256(), data.bytes(), data.length()); }

std::string sha1Hex(const Data& data) { return hexString(sha1(data)); }
std::string sha1Hex(std::string_view text) { return hexString(digest(EVP_sha1(), text.data(), text.size())); }
std::string sha256Hex(const Data& data) { return hexString(sha256(data)); }
std::string sha256Hex(std::string_view text) { return hexString(digest(EVP_sha256(), text.data(), text.size())); }

std::string hexString(const Data& data) {
    static constexpr char digits[] = "0123456789abcdef";
    std::string out;
    out.reserve(data.length() * 2);
    for (size_t i = 0; i < data.length(); ++i) {
        out += digits[data.bytes()[i] >> 4];
        out += digits[data.bytes()[i] & 0xf];
    }
    return out;
}

std::string base64Encode(const Data& data) {
    if (data.empty()) return std::string();
    std::string out(4 * ((data.length() + 2) / 3) + 1, '\0');
    int written = EVP_EncodeBlock(reinterpret_cast<unsigned char*>(out.data()), data.bytes(),
                                  static_cast<int>(data.length()));
    out.resize(written > 0 ? static_cast<size_t>(written) : 0);
    return out;
}

std::optional<Data> base64Decode(std::string_view text) {
    if (text.empty()) return Data();
    if (text.size() % 4 != 0) return std::nullopt;
    size_t padding = 0;
    if (text.back() == '=') padding = text[text.size() - 2] == '=' ? 2 : 1;
    for (size_t i = 0; i < text.size() - padding; ++i) {
        if (base64Index(text[i]) < 0) return std::nullopt;
    }
    std::vector<uint8_t> out(text.size() / 4 * 3);
    int decoded = EVP_DecodeBlock(out.data(), reinterpret_cast<const unsigned char*>(text.data()),
                                  static_cast<int>(text.size()));
    if (decoded < 0 || static_cast<size_t>(decoded) < padding) return std::nullopt;
    out.resize(static_cast<size_t>(decoded) - padding);
    return Data(std::move(out));
}

Data randomBytes(size_t count) {
    std::vector<uint8_t> bytes(count);
    if (count > 0 && RAND_bytes(bytes.data(), static_cast<int>(count)) != 1) {
        // The generator could not seed itself; the kernel's source still can.
        std::random_device device;
        for (auto& b : bytes) b = static_cast<uint8_t>(device());
    }
    return Data(std::move(bytes));
}

std::string uuidString() {
    Data bytes = randomBytes(16);
    uint8_t* b = bytes.mutableBytes();
    b[6] = static_cast<uint8_t>((b[6] & 0x0f) | 0x40);  // version 4
    b[8] = static_cast<uint8_t>((b[8] & 0x3f) | 0x80);  // RFC 4122 variant
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string out;
    for (size_t i = 0; i < 16; ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10) out += '-';
        out += digits[b[i] >> 4];
        out += digits[b[i] & 0xf];
    }
    return out;
}

}  // namespace foundation::Crypto
