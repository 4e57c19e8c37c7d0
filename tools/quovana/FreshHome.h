// A fresh folder for an application home that nobody else knows, for the
// commands that make one when no home is given (the demo, the app mode).
#pragma once

#include <optional>
#include <string>

namespace quovana {

// A new folder named "PREFIX-XXXXXX" in the temporary folder; nothing when
// it cannot be made.
std::optional<std::string> makeFreshHome(const std::string& prefix);

}  // namespace quovana
