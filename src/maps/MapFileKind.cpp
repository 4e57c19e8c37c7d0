#include "maps/MapFileKind.h"

#include <array>
#include <fstream>
#include <string_view>

#include "api/DownloadedBody.h"

namespace MapFileKind {

// The download judges a map file by the same rule, so what it keeps as a
// background is what the parse run leaves alone.
bool isRasterImage(const std::string& fileReference, const std::function<std::optional<std::string>()>& path) {
    switch (DownloadedBody::mapFileRoleOfName(fileReference)) {
        case DownloadedBody::MapFileRole::Image:
            return true;
        case DownloadedBody::MapFileRole::Plan:
            return false;
        case DownloadedBody::MapFileRole::ByBytes:
            break;
    }
    const auto found = path ? path() : std::nullopt;
    if (!found) return false;
    std::ifstream file(*found, std::ios::binary);
    std::array<char, 8> head{};
    file.read(head.data(), head.size());
    return DownloadedBody::isMapImageSignature(
        DownloadedBody::signatureOf(std::string_view(head.data(), static_cast<size_t>(file.gcount()))));
}

}  // namespace MapFileKind
