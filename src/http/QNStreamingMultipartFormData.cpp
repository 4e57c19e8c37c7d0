// The builder behind multipart requests. The boundary comes from two random
// 32-bit numbers, enough that it never turns up inside an uploaded file.
#include "http/QNStreamingMultipartFormData.h"

#include <cstdio>
#include <random>

#include "foundation/FileManager.h"
#include "http/QNMIMETypes.h"
#include "http/QNNetworking.h"

using namespace foundation;

namespace {

using QNNetworkingMessage::kExpectedFileURL;
using QNNetworkingMessage::kFileURLNotReachable;

std::string makeBoundary() {
    static thread_local std::mt19937 generator{std::random_device{}()};
    char text[40];
    std::snprintf(text, sizeof text, "Boundary+%08X%08X", static_cast<unsigned>(generator()),
                  static_cast<unsigned>(generator()));
    return text;
}

ErrorPtr multipartError(const char* reason) {
    return Error::make(kQNURLRequestSerializationErrorDomain, URLError::BadURL,
                       {{kLocalizedFailureReasonErrorKey, Value(QNLocalizedString(reason))}});
}

std::string fileDisposition(const std::string& name, const std::string& fileName) {
    return "form-data; name=\"" + name + "\"; filename=\"" + fileName + "\"";
}

}  // namespace

QNStreamingMultipartFormData::QNStreamingMultipartFormData(URLRequest request, StringEncoding encoding)
    : request_(std::move(request)), stringEncoding_(encoding), boundary_(makeBoundary()),
      bodyStream_(std::make_shared<QNMultipartBodyStream>(encoding)) {}

void QNStreamingMultipartFormData::append(QNHTTPBodyPart::Headers headers, QNHTTPBodyPart::Body body,
                                          uint64_t length) {
    auto part = std::make_shared<QNHTTPBodyPart>();
    part->stringEncoding = stringEncoding_;
    part->headers = std::move(headers);
    part->boundary = boundary_;
    part->body = std::move(body);
    part->bodyContentLength = length;
    bodyStream_->appendHTTPBodyPart(std::move(part));
}

bool QNStreamingMultipartFormData::appendPartWithFileURL(const URL& fileURL, const std::string& name,
                                                         ErrorPtr* error) {
    return appendPartWithFileURL(fileURL, name, fileURL.lastPathComponent(),
                                 QNMIMETypeForPathExtension(fileURL.pathExtension()), error);
}

bool QNStreamingMultipartFormData::appendPartWithFileURL(const URL& fileURL, const std::string& name,
                                                         const std::string& fileName, const std::string& mimeType,
                                                         ErrorPtr* error) {
    if (!fileURL.isFileURL()) {
        if (error) *error = multipartError(kExpectedFileURL);
        return false;
    }
    const std::string path = fileURL.path();
    if (!FileManager::defaultManager().fileExistsAtPath(path)) {
        if (error) *error = multipartError(kFileURLNotReachable);
        return false;
    }
    ErrorPtr sizeError;
    auto size = FileManager::defaultManager().fileSizeAtPath(path, &sizeError);
    if (!size) {
        if (error) *error = sizeError;
        return false;
    }
    append({{"Content-Disposition", fileDisposition(name, fileName)}, {"Content-Type", mimeType}}, fileURL, *size);
    return true;
}

void QNStreamingMultipartFormData::appendPartWithInputStream(InputStreamPtr inputStream, const std::string& name,
                                                             const std::string& fileName, int64_t length,
                                                             const std::string& mimeType) {
    append({{"Content-Disposition", fileDisposition(name, fileName)}, {"Content-Type", mimeType}},
           std::move(inputStream), static_cast<uint64_t>(length));
}

void QNStreamingMultipartFormData::appendPartWithFileData(const Data& data, const std::string& name,
                                                          const std::string& fileName, const std::string& mimeType) {
    append({{"Content-Disposition", fileDisposition(name, fileName)}, {"Content-Type", mimeType}}, data,
           data.length());
}

void QNStreamingMultipartFormData::appendPartWithFormData(const Data& data, const std::string& name) {
    append({{"Content-Disposition", "form-data; name=\"" + name + "\""}}, data, data.length());
}

void QNStreamingMultipartFormData::appendPartWithHeaders(
    const std::vector<std::pair<std::string, std::string>>& headers, const Data& body) {
    append(headers, body, body.length());
}

void QNStreamingMultipartFormData::throttleBandwidthWithPacketSize(uint64_t numberOfBytes, double delay) {
    bodyStream_->setNumberOfBytesInPacket(numberOfBytes);
    bodyStream_->setDelay(delay);
}

URLRequest QNStreamingMultipartFormData::requestByFinalizingMultipartFormData() {
    if (bodyStream_->isEmpty()) return request_;
    bodyStream_->setInitialAndFinalBoundaries();
    request_.setHTTPBodyStream(bodyStream_);
    request_.setValue("multipart/form-data; boundary=" + boundary_, "Content-Type");
    request_.setValue(std::to_string(bodyStream_->contentLength()), "Content-Length");
    return request_;
}
