// Any bytes handed over as a download's resume data read as resume data or
// as nothing, never a crash or a throw; what reads writes again to data that
// reads back the same.
#include <cstdint>
#include <cstdlib>

#include "foundation/URLResumeData.h"

using namespace foundation;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    auto info = decodeResumeData(Data(bytes, size));
    if (!info) return 0;
    if (!info->request.url() || info->bytesReceived < 0 || info->validator().empty()) std::abort();
    auto again = decodeResumeData(encodeResumeData(*info));
    if (!again) std::abort();
    if (again->request.url()->absoluteString() != info->request.url()->absoluteString() ||
        again->filePath != info->filePath || again->bytesReceived != info->bytesReceived ||
        again->validator() != info->validator() ||
        again->request.allHTTPHeaderFields().all() != info->request.allHTTPHeaderFields().all())
        std::abort();
    return 0;
}
