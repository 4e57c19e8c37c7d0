#include "quovana/FreshHome.h"

#include <cstdlib>
#include <filesystem>

namespace quovana {

std::optional<std::string> makeFreshHome(const std::string& prefix) {
    std::string pattern = (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
    if (!::mkdtemp(pattern.data())) return std::nullopt;
    return pattern;
}

}  // namespace quovana
