// The request serializer's multipart entry points: a request whose body the
// streaming builder produces, and the same body written out to a file for
// senders that need a body of known bytes on disk.
#include <cstdint>

#include "dispatch/Queue.h"
#include "foundation/OutputStream.h"
#include "http/QNHTTPRequestSerializer.h"
#include "http/QNQueryStringPair.h"
#include "http/QNStreamingMultipartFormData.h"

using namespace foundation;

URLRequest QNHTTPRequestSerializer::multipartFormRequestWithMethod(
    const std::string& method, const std::string& URLString, const Value& parameters,
    const std::function<void(QNMultipartFormData&)>& block, ErrorPtr* error) const {
    auto request = requestWithMethod(method, URLString, Value(), error);
    // Part text is always UTF-8; only the field contents follow stringEncoding.
    QNStreamingMultipartFormData formData(request ? *request : URLRequest(), StringEncoding::UTF8);
    if (parameters) {
        for (const auto& pair : QNQueryPairsForKeyAndValue(std::nullopt, parameters)) {
            std::optional<Data> content;
            if (const Data* data = pair.value().data()) content = *data;
            else if (pair.value().isNull()) content = Data();
            else content = Charset::encode(pair.value().stringValue(), stringEncoding_);
            if (content) formData.appendPartWithFormData(*content, pair.field());
        }
    }
    if (block) block(formData);
    return formData.requestByFinalizingMultipartFormData();
}

URLRequest QNHTTPRequestSerializer::requestWithMultipartFormRequest(
    const URLRequest& request, const URL& fileURL, std::function<void(ErrorPtr)> completionHandler) const {
    auto bodyStream = request.httpBodyStream();
    URLRequest copy = request;
    copy.setHTTPBodyStream(nullptr);
    const std::string path = fileURL.path();
    dispatch::Queue::global()->async([bodyStream, path, completionHandler = std::move(completionHandler)] {
        ErrorPtr error;
        auto file = OutputStream::outputStreamToFileAtPath(path, false);
        file->open();
        if (bodyStream) bodyStream->open();
        uint8_t buffer[1024];
        while (bodyStream && bodyStream->hasBytesAvailable() && file->hasSpaceAvailable()) {
            long read = bodyStream->read(buffer, sizeof buffer);
            if (read < 0 || bodyStream->streamError()) {
                error = bodyStream->streamError();
                break;
            }
            long written = read > 0 ? file->write(buffer, static_cast<size_t>(read)) : 0;
            if (written < 0 || file->streamError()) {
                error = file->streamError();
                break;
            }
            if (read == 0 && written == 0) break;
        }
        // A file that never opened has no space and no error of a write.
        if (!error && file->streamError()) error = file->streamError();
        file->close();
        if (bodyStream) bodyStream->close();
        if (completionHandler) dispatch::Queue::main()->async([completionHandler, error] { completionHandler(error); });
    });
    return copy;
}
