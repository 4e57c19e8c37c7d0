#include "maps/MapFileKind.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <fstream>

namespace MapFileKind {

namespace {

// The extension in lower case, "" when none.
std::string extensionOf(const std::string& fileReference) {
    // The reference may carry a query or fragment after the name.
    std::string name = fileReference.substr(0, fileReference.find_first_of("?#"));
    const auto dot = name.rfind('.');
    if (dot == std::string::npos || name.find('/', dot) != std::string::npos) return {};
    std::string extension = name.substr(dot + 1);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

bool hasRasterSignature(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::array<unsigned char, 8> head{};
    file.read(reinterpret_cast<char*>(head.data()), head.size());
    const auto read = static_cast<size_t>(file.gcount());
    static constexpr std::array<unsigned char, 8> kPNG = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    if (read == kPNG.size() && head == kPNG) return true;
    return read >= 3 && head[0] == 0xff && head[1] == 0xd8 && head[2] == 0xff;
}

}  // namespace

bool isRasterImage(const std::string& fileReference, const std::function<std::optional<std::string>()>& path) {
    const std::string extension = extensionOf(fileReference);
    if (extension == "png" || extension == "jpg" || extension == "jpeg") return true;
    if (extension == "svg" || !path) return false;
    const auto found = path();
    return found && hasRasterSignature(*found);
}

}  // namespace MapFileKind
