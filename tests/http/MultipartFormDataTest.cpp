// Multipart bodies: the exact bytes on the wire, lengths, file parts and
// their failures, small reads, throttling and writing the body to a file.
#include <gtest/gtest.h>

#include <unistd.h>

#include "foundation/FileManager.h"
#include "foundation/RunLoop.h"
#include "http/QNHTTPRequestSerializer.h"
#include "http/QNMIMETypes.h"
#include "http/QNStreamingMultipartFormData.h"

using namespace foundation;

namespace {

std::string readAll(const InputStreamPtr& stream, size_t chunk = 4096) {
    stream->open();
    std::string out;
    std::vector<uint8_t> buffer(chunk);
    for (;;) {
        long n = stream->read(buffer.data(), buffer.size());
        if (n <= 0) break;
        out.append(reinterpret_cast<const char*>(buffer.data()), static_cast<size_t>(n));
    }
    return out;
}

std::string boundaryOf(const URLRequest& request) {
    std::string type = request.valueForHTTPHeaderField("Content-Type").value_or("");
    auto at = type.find("boundary=");
    return at == std::string::npos ? "" : type.substr(at + 9);
}

std::string tempPath(const std::string& name) {
    return "/tmp/qn-multipart-" + std::to_string(::getpid()) + "-" + name;
}

}  // namespace

TEST(MultipartFormData, WireFormatAndLengths) {
    auto serializer = QNHTTPRequestSerializer::serializer();
    ErrorPtr error;
    auto request = serializer->multipartFormRequestWithMethod("POST", "http://127.0.0.1/upload",
                                                              Value::dictionary({{"a", "x"}}), nullptr, &error);
    ASSERT_FALSE(error);
    std::string B = boundaryOf(request);
    ASSERT_EQ(B.size(), 9u + 16u);
    EXPECT_EQ(B.rfind("Boundary+", 0), 0u);
    std::string expected = "--" + B + "\r\nContent-Disposition: form-data; name=\"a\"\r\n\r\nx\r\n--" + B + "--\r\n";
    EXPECT_EQ(readAll(request.httpBodyStream()), expected);
    EXPECT_EQ(request.valueForHTTPHeaderField("Content-Length"), std::to_string(expected.size()));

    // Null gives an empty field; only the second part carries the closing line.
    request = serializer->multipartFormRequestWithMethod(
        "POST", "http://127.0.0.1/upload", Value::dictionary({{"a", Value::null()}, {"b", 1}}), nullptr);
    B = boundaryOf(request);
    expected = "--" + B + "\r\nContent-Disposition: form-data; name=\"a\"\r\n\r\n" + "\r\n--" + B +
               "\r\nContent-Disposition: form-data; name=\"b\"\r\n\r\n1\r\n--" + B + "--\r\n";
    // Reads smaller than a boundary line must pick up where they stopped.
    EXPECT_EQ(readAll(request.httpBodyStream(), 3), expected);
    EXPECT_EQ(request.valueForHTTPHeaderField("Content-Length"), std::to_string(expected.size()));

    // Nothing appended: no body and no multipart headers.
    request = serializer->multipartFormRequestWithMethod("POST", "http://127.0.0.1/upload", Value(),
                                                         [](QNMultipartFormData&) {});
    EXPECT_FALSE(request.httpBodyStream());
    EXPECT_FALSE(request.valueForHTTPHeaderField("Content-Type").has_value());
    EXPECT_FALSE(request.valueForHTTPHeaderField("Content-Length").has_value());
}

TEST(MultipartFormData, FilesStreamsAndFailures) {
    const std::string path = tempPath("notes.pdf");
    ASSERT_TRUE(FileManager::defaultManager().writeData(Data::fromString("PDFDATA"), path, false));
    const std::string odd = tempPath("blob.qzx");
    ASSERT_TRUE(FileManager::defaultManager().writeData(Data::fromString("?"), odd, false));

    QNStreamingMultipartFormData form(URLRequest(*URL::URLWithString("http://127.0.0.1/u")), StringEncoding::UTF8);
    ErrorPtr error;
    EXPECT_FALSE(form.appendPartWithFileURL(URL::fileURLWithPath(tempPath("missing")), "f", &error));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->domain(), "com.quovana.error.serialization.request");
    EXPECT_EQ(error->code(), -1000);
    EXPECT_EQ(error->localizedFailureReason(), "File URL not reachable.");
    error.reset();
    EXPECT_FALSE(form.appendPartWithFileURL(*URL::URLWithString("http://127.0.0.1/x.pdf"), "f", &error));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->localizedFailureReason(), "Expected URL to be a file URL");
    EXPECT_TRUE(form.bodyStream()->isEmpty());

    ASSERT_TRUE(form.appendPartWithFileURL(URL::fileURLWithPath(path), "doc"));
    ASSERT_TRUE(form.appendPartWithFileURL(URL::fileURLWithPath(odd), "odd"));
    form.appendPartWithInputStream(InputStream::inputStreamWithData(Data::fromString("abc")), "s", "s.txt", 3,
                                   "text/plain");
    URLRequest request = form.requestByFinalizingMultipartFormData();
    const std::string B = form.boundary();
    const std::string name = path.substr(path.rfind('/') + 1), oddName = odd.substr(odd.rfind('/') + 1);
    std::string expected = "--" + B + "\r\nContent-Disposition: form-data; name=\"doc\"; filename=\"" + name +
                           "\"\r\nContent-Type: application/pdf\r\n\r\nPDFDATA" + "\r\n--" + B +
                           "\r\nContent-Disposition: form-data; name=\"odd\"; filename=\"" + oddName +
                           "\"\r\nContent-Type: application/octet-stream\r\n\r\n?" + "\r\n--" + B +
                           "\r\nContent-Disposition: form-data; name=\"s\"; filename=\"s.txt\"\r\n"
                           "Content-Type: text/plain\r\n\r\nabc\r\n--" + B + "--\r\n";
    EXPECT_EQ(request.valueForHTTPHeaderField("Content-Length"), std::to_string(expected.size()));

    // The body to a file: the same bytes, reported on the main queue.
    const std::string out = tempPath("body.out");
    bool done = false;
    ErrorPtr writeError;
    auto serializer = QNHTTPRequestSerializer::serializer();
    URLRequest stripped = serializer->requestWithMultipartFormRequest(request, URL::fileURLWithPath(out),
                                                                      [&](ErrorPtr e) {
                                                                          EXPECT_TRUE(isMainThread());
                                                                          writeError = e;
                                                                          done = true;
                                                                      });
    EXPECT_FALSE(stripped.httpBodyStream());
    ASSERT_TRUE(RunLoop::main().runUntil([&] { return done; }, 10));
    EXPECT_FALSE(writeError);
    EXPECT_EQ(FileManager::defaultManager().contentsAtPath(out).value_or(Data()).toString(), expected);

    // A file that cannot be made reports the failure instead of success.
    done = false;
    auto copy = form.bodyStream()->copy();
    URLRequest again = request;
    again.setHTTPBodyStream(copy);
    serializer->requestWithMultipartFormRequest(again, URL::fileURLWithPath(path + "/under-a-file"),
                                                [&](ErrorPtr e) {
                                                    writeError = e;
                                                    done = true;
                                                });
    ASSERT_TRUE(RunLoop::main().runUntil([&] { return done; }, 10));
    EXPECT_TRUE(writeError);

    for (const auto& p : {path, odd, out}) FileManager::defaultManager().removeItemAtPath(p);
    EXPECT_EQ(QNMIMETypeForPathExtension("PNG"), "image/png");
}

TEST(MultipartFormData, ThrottledReadsStopAtThePacketSize) {
    QNStreamingMultipartFormData form(URLRequest(*URL::URLWithString("http://127.0.0.1/u")), StringEncoding::UTF8);
    form.appendPartWithFormData(Data(std::vector<uint8_t>(40, 'a')), "one");
    form.appendPartWithFormData(Data(std::vector<uint8_t>(40, 'b')), "two");
    form.throttleBandwidthWithPacketSize(16, 0.0);
    URLRequest request = form.requestByFinalizingMultipartFormData();
    auto stream = request.httpBodyStream();
    stream->open();
    uint8_t buffer[1000];
    long first = stream->read(buffer, sizeof buffer);
    // The first part's single read may overshoot the packet, never the buffer.
    EXPECT_GE(first, 16);
    EXPECT_LT(first, 1000);
    std::string rest = readAll(stream);
    EXPECT_EQ(static_cast<uint64_t>(first) + rest.size(), form.bodyStream()->contentLength());
}
