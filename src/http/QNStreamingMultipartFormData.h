// Collects the parts of a "multipart/form-data" request and finishes the
// request with a body stream that produces them on demand, so files are
// never held in memory. A builder is filled by one thread and finalised once.
#pragma once

#include <memory>
#include <string>

#include "foundation/Charset.h"
#include "foundation/URLRequest.h"
#include "http/QNMultipartBodyStream.h"
#include "http/QNMultipartFormData.h"

class QNStreamingMultipartFormData : public QNMultipartFormData {
public:
    QNStreamingMultipartFormData(foundation::URLRequest request, foundation::StringEncoding encoding);

    const foundation::URLRequest& request() const { return request_; }
    const std::string& boundary() const { return boundary_; }
    const std::shared_ptr<QNMultipartBodyStream>& bodyStream() const { return bodyStream_; }

    bool appendPartWithFileURL(const foundation::URL& fileURL, const std::string& name,
                               foundation::ErrorPtr* error = nullptr) override;
    bool appendPartWithFileURL(const foundation::URL& fileURL, const std::string& name, const std::string& fileName,
                               const std::string& mimeType, foundation::ErrorPtr* error = nullptr) override;
    void appendPartWithInputStream(foundation::InputStreamPtr inputStream, const std::string& name,
                                   const std::string& fileName, int64_t length, const std::string& mimeType) override;
    void appendPartWithFileData(const foundation::Data& data, const std::string& name, const std::string& fileName,
                                const std::string& mimeType) override;
    void appendPartWithFormData(const foundation::Data& data, const std::string& name) override;
    void appendPartWithHeaders(const std::vector<std::pair<std::string, std::string>>& headers,
                               const foundation::Data& body) override;
    void throttleBandwidthWithPacketSize(uint64_t numberOfBytes, double delay) override;

    // The request with the body stream and the multipart headers; untouched
    // when no part was appended.
    foundation::URLRequest requestByFinalizingMultipartFormData();

private:
    void append(QNHTTPBodyPart::Headers headers, QNHTTPBodyPart::Body body, uint64_t length);

    foundation::URLRequest request_;
    foundation::StringEncoding stringEncoding_;
    std::string boundary_;
    std::shared_ptr<QNMultipartBodyStream> bodyStream_;
};
