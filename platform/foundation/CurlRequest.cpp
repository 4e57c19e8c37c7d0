// The one libcurl set-up of URL loading (see the header).
#include "foundation/CurlRequest.h"

#include <cstdlib>

#include "foundation/StringUtils.h"

namespace foundation {

namespace {

void applyMethodAndBody(CURL* easy, const CurlRequestSetUp& s) {
    const std::string& method = *s.method;
    if (s.hasBody) {
        curl_easy_setopt(easy, CURLOPT_POST, 1L);
        curl_easy_setopt(easy, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(s.bodyLength));
        curl_easy_setopt(easy, CURLOPT_READFUNCTION, s.onRead);
        curl_easy_setopt(easy, CURLOPT_READDATA, s.owner);
        if (s.onSeek) {
            curl_easy_setopt(easy, CURLOPT_SEEKFUNCTION, s.onSeek);
            curl_easy_setopt(easy, CURLOPT_SEEKDATA, s.owner);
        }
        if (method != "POST") curl_easy_setopt(easy, CURLOPT_CUSTOMREQUEST, method.c_str());
    } else if (method == "GET") {
        curl_easy_setopt(easy, CURLOPT_HTTPGET, 1L);
    } else if (method == "HEAD") {
        curl_easy_setopt(easy, CURLOPT_NOBODY, 1L);
    } else if (method == "POST" || method == "PUT" || method == "PATCH") {
        // An empty body still says so ("Content-Length: 0").
        curl_easy_setopt(easy, CURLOPT_POSTFIELDSIZE, 0L);
        curl_easy_setopt(easy, CURLOPT_POSTFIELDS, "");
        if (method != "POST") curl_easy_setopt(easy, CURLOPT_CUSTOMREQUEST, method.c_str());
    } else {
        curl_easy_setopt(easy, CURLOPT_CUSTOMREQUEST, method.c_str());
    }
}

// Methods that HTTP lets a client send again when it cannot tell whether the
// server acted on them.
bool isIdempotent(const std::string& method) {
    return method == "GET" || method == "HEAD" || method == "OPTIONS" || method == "TRACE" || method == "PUT" ||
           method == "DELETE";
}

void appendField(curl_slist*& list, const std::string& name, const std::string& value) {
    std::string lowercaseName = StringUtils::lowercase(name);
    // libcurl frames the body itself.
    if (lowercaseName == "content-length" || lowercaseName == "transfer-encoding" || lowercaseName == "expect") return;
    // "Name;" is libcurl's spelling of a field with an empty value.
    std::string line = value.empty() ? name + ";" : name + ": " + value;
    list = curl_slist_append(list, line.c_str());
}

}  // namespace

void applyCurlRequestSetUp(CURL* easy, const CurlRequestSetUp& s) {
    curl_easy_setopt(easy, CURLOPT_ERRORBUFFER, s.errorBuffer);
    curl_easy_setopt(easy, CURLOPT_URL, s.url);
    curl_easy_setopt(easy, CURLOPT_PRIVATE, s.owner);
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
    // Proxies from the environment apply, but never to this machine itself.
    // curl keeps its own copy of the list.
    curl_easy_setopt(easy, CURLOPT_NOPROXY, curlNoProxyList().c_str());
    if (s.acceptEncoding) curl_easy_setopt(easy, CURLOPT_ACCEPT_ENCODING, s.acceptEncoding);
    curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, s.onHeader);
    curl_easy_setopt(easy, CURLOPT_HEADERDATA, s.owner);
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, s.onBody);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, s.owner);
    // Trust is decided by our own verification on every handshake, host name
    // included, so no resumed TLS session may skip it.
    curl_easy_setopt(easy, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(easy, CURLOPT_SSL_VERIFYHOST, 0L);
    curl_easy_setopt(easy, CURLOPT_SSL_SESSIONID_CACHE, 0L);
    curl_easy_setopt(easy, CURLOPT_SSL_CTX_FUNCTION, s.onSSLContext);
    curl_easy_setopt(easy, CURLOPT_SSL_CTX_DATA, s.sslContextData);
    applyMethodAndBody(easy, s);
    // When a kept-alive connection dies before any answer, libcurl sends the
    // request again on another connection, several times over, whether or
    // not the server took it the first time; it has no switch to stop that,
    // only it never happens on a connection opened for the request. So a
    // POST or PATCH goes over a new connection (left to later requests
    // afterwards), and its failure reaches the caller, who decides.
    curl_easy_setopt(easy, CURLOPT_FRESH_CONNECT, isIdempotent(*s.method) ? 0L : 1L);
    curl_easy_setopt(easy, CURLOPT_HTTPHEADER, s.headerList);
}

curl_slist* makeCurlHeaderList(const HTTPHeaders& fields, const HTTPHeaders& defaults) {
    curl_slist* list = nullptr;
    for (const auto& [name, value] : fields.all()) appendField(list, name, value);
    for (const auto& [name, value] : defaults.all())
        if (!fields.has(name)) appendField(list, name, value);
    // No "100-continue" round trip: the server in front of us answers at once.
    return curl_slist_append(list, "Expect:");
}

std::string curlNoProxyList() {
    std::string hosts = "localhost,127.0.0.1,::1";
    const char* fromEnvironment = std::getenv("no_proxy");
    if (!fromEnvironment) fromEnvironment = std::getenv("NO_PROXY");
    if (fromEnvironment && *fromEnvironment) hosts = std::string(fromEnvironment) + "," + hosts;
    return hosts;
}

}  // namespace foundation
