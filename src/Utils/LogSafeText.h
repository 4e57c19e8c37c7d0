// Secrets in the log: a log file travels (crash reports, support mails), so
// an access token appears there only as enough to tell two tokens apart.
#pragma once

#include <optional>
#include <string>

namespace LogSafeText {

// The first four characters and the length: "AbCd… (40 characters)";
// "(null)" for no token.
std::string maskedToken(const std::optional<std::string>& token);

}  // namespace LogSafeText
