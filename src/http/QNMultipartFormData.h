// What a multipart body builder offers to the block that fills it: parts from
// files, streams, data and plain form fields, and a throttle on how fast the
// body is read. The streaming builder is the one implementation.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "foundation/Data.h"
#include "foundation/Error.h"
#include "foundation/InputStream.h"
#include "foundation/URL.h"

class QNMultipartFormData {
public:
    virtual ~QNMultipartFormData() = default;

    // File name from the URL's last component, MIME type from its extension.
    virtual bool appendPartWithFileURL(const foundation::URL& fileURL, const std::string& name,
                                       foundation::ErrorPtr* error = nullptr) = 0;
    virtual bool appendPartWithFileURL(const foundation::URL& fileURL, const std::string& name,
                                       const std::string& fileName, const std::string& mimeType,
                                       foundation::ErrorPtr* error = nullptr) = 0;
    virtual void appendPartWithInputStream(foundation::InputStreamPtr inputStream, const std::string& name,
                                           const std::string& fileName, int64_t length,
                                           const std::string& mimeType) = 0;
    virtual void appendPartWithFileData(const foundation::Data& data, const std::string& name,
                                        const std::string& fileName, const std::string& mimeType) = 0;
    virtual void appendPartWithFormData(const foundation::Data& data, const std::string& name) = 0;
    // Header lines are written in the order of the list.
    virtual void appendPartWithHeaders(const std::vector<std::pair<std::string, std::string>>& headers,
                                       const foundation::Data& body) = 0;
    virtual void throttleBandwidthWithPacketSize(uint64_t numberOfBytes, double delay) = 0;
};
