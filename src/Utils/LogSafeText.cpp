#include "Utils/LogSafeText.h"

namespace LogSafeText {

namespace {

constexpr size_t kShownCharacters = 4;

}  // namespace

std::string maskedToken(const std::optional<std::string>& token) {
    if (!token) return "(null)";
    return token->substr(0, kShownCharacters) + "\u2026 (" + std::to_string(token->size()) + " characters)";
}

}  // namespace LogSafeText
