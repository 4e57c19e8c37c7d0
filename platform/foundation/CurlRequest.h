// What every libcurl transfer of URL loading is given before it starts, for
// the connection and the session alike: the target, the callbacks, our own
// trust check on every handshake, the proxy rule, the method with its body,
// and the header fields. The two callers differ only in what they pass.
#pragma once

#include <curl/curl.h>

#include <cstdint>
#include <string>

#include "foundation/HTTPHeaders.h"

namespace foundation {

using CurlDataCallback = size_t (*)(char* buffer, size_t size, size_t count, void* owner);
using CurlSeekCallback = int (*)(void* owner, curl_off_t offset, int origin);
using CurlSSLContextCallback = CURLcode (*)(CURL* easy, void* context, void* data);

struct CurlRequestSetUp {
    const char* url = nullptr;
    // CURL_ERROR_SIZE bytes that curl fills when a transfer fails.
    char* errorBuffer = nullptr;
    // Handed to the header, body, read and seek callbacks, and kept as the
    // easy handle's private pointer.
    void* owner = nullptr;
    CurlDataCallback onHeader = nullptr;
    CurlDataCallback onBody = nullptr;
    CurlSSLContextCallback onSSLContext = nullptr;
    void* sslContextData = nullptr;
    // The encodings to ask for and decode; null leaves the body as sent.
    const char* acceptEncoding = nullptr;

    const std::string* method = nullptr;
    bool hasBody = false;
    // -1 when unknown (a stream without a "Content-Length").
    int64_t bodyLength = 0;
    CurlDataCallback onRead = nullptr;
    // Lets curl rewind the body to send it again; null when it cannot be.
    CurlSeekCallback onSeek = nullptr;

    // The list from makeCurlHeaderList, which the caller frees after the transfer.
    curl_slist* headerList = nullptr;
};

// Sets every option the set-up names on a fresh easy handle.
void applyCurlRequestSetUp(CURL* easy, const CurlRequestSetUp& setUp);

// The request's header fields, then those of `defaults` the request does not
// set, leaving out the ones libcurl writes from the body itself; an empty
// value is sent as an empty field.
curl_slist* makeCurlHeaderList(const HTTPHeaders& fields, const HTTPHeaders& defaults = HTTPHeaders());

// The hosts reached without a proxy: those of "no_proxy" (or "NO_PROXY"),
// read when asked, and always this machine itself.
std::string curlNoProxyList();

}  // namespace foundation
