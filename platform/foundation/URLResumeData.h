// Resume data of a cancelled download (internal to URL loading): the request
// to continue, the temporary file holding the bytes already received, how
// many there are and the validator ("ETag" or "Last-Modified") the server
// gave them. Written as a keyed archive of a dictionary; reading checks every
// field and the file, so foreign or damaged data reads as nothing.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "foundation/Data.h"
#include "foundation/URLRequest.h"

namespace foundation {

struct URLResumeInfo {
    URLRequest request;
    std::string filePath;
    int64_t bytesReceived = 0;
    std::optional<std::string> entityTag;
    std::optional<std::string> lastModified;

    // The validator the continuing request sends as "If-Range".
    std::string validator() const { return entityTag ? *entityTag : lastModified.value_or(""); }
};

Data encodeResumeData(const URLResumeInfo& info);
// Nothing unless the data is resume data of this platform whose file still
// holds at least the bytes it names.
std::optional<URLResumeInfo> decodeResumeData(const Data& data);

}  // namespace foundation
