// An object's address in a log line ("<NSHTTPURLResponse: 0x7fa7300048d0>")
// differs from run to run; the app mode prints it as "0x…", so the same
// script prints the same text every time. The app's own log is unchanged.
#pragma once

#include <string>

namespace quovana {

// Every "0x" followed by hexadecimal digits, at the start of a word.
std::string maskedAddresses(const std::string& text);

}  // namespace quovana
