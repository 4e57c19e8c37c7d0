// Digests, Base64, random bytes and identifiers, backed by OpenSSL. Every
// function is a pure function of its input (random ones aside) and safe to
// call from any thread; malformed input gives an empty result, never a throw.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "foundation/Data.h"

namespace foundation::Crypto {

// Raw digests: 20 bytes for SHA-1, 32 for SHA-256.
Data sha1(const Data& data);
Data sha256(const Data& data);
// The same digests as lower-case hexadecimal text.
std::string sha1Hex(const Data& data);
std::string sha1Hex(std::string_view text);
std::string sha256Hex(const Data& data);
std::string sha256Hex(std::string_view text);
// Lower-case hexadecimal text of any bytes.
std::string hexString(const Data& data);

// Standard alphabet with '=' padding and no line breaks.
std::string base64Encode(const Data& data);
// Strict: only the standard alphabet, padded to a multiple of four; anything
// else (white space included) gives nothing.
std::optional<Data> base64Decode(std::string_view text);

// Bytes from the operating system's cryptographic generator.
Data randomBytes(size_t count);
// A random (version 4) UUID in upper-case text, "E621E1F8-C36C-495A-93FC-0C247A3E6E5F".
std::string uuidString();

}  // namespace foundation::Crypto
