#include "foundation/HTTPURLResponse.h"

#include <cctype>

#include "foundation/StringUtils.h"
#include "foundation/Value.h"

namespace foundation {

namespace {



// Splits "type/sub; charset=UTF-8" into its lower-case type and charset.
void parseContentType(const std::optional<std::string>& header, std::optional<std::string>& type,
                      std::optional<std::string>& charset) {
    if (!header) return;
    std::string_view rest(*header);
    auto semi = rest.find(';');
    std::string t = StringUtils::trim(rest.substr(0, semi));
    if (!t.empty()) type = StringUtils::lowercase(t);
    while (semi != std::string_view::npos) {
        rest = rest.substr(semi + 1);
        semi = rest.find(';');
        std::string param = StringUtils::trim(rest.substr(0, semi));
        auto eq = param.find('=');
        if (eq == std::string::npos) continue;
        if (StringUtils::lowercase(StringUtils::trim(param.substr(0, eq))) != "charset") continue;
        std::string v = StringUtils::trim(std::string_view(param).substr(eq + 1));
        if (v.size() >= 2 && v.front() == '"' && v.back() == '"') v = v.substr(1, v.size() - 2);
        if (!v.empty()) charset = StringUtils::lowercase(v);
    }
}

}  // namespace

std::string URLResponse::suggestedFilename() const {
    std::string name = url_ ? url_->lastPathComponent() : std::string();
    if (name.empty() || name == "/") return "Unknown";
    return name;
}

HTTPURLResponse::HTTPURLResponse(std::optional<URL> url, int64_t statusCode, HTTPHeaders headers)
    : URLResponse(std::move(url), std::nullopt, -1, std::nullopt), statusCode_(statusCode), headers_(std::move(headers)) {
    parseContentType(headers_.get("Content-Type"), mimeType_, textEncodingName_);
    if (auto length = headers_.get("Content-Length")) {
        std::string t = StringUtils::trim(*length);
        bool digits = !t.empty() && t.find_first_not_of("0123456789") == std::string::npos;
        if (digits) expectedLength_ = NumberParsing::longLongValue(t);
    }
}

std::string HTTPURLResponse::localizedStringForStatusCode(int64_t code) {
    switch (code) {
        case 100: return "continue";
        case 101: return "switching protocols";
        case 200: return "no error";
        case 201: return "created";
        case 202: return "accepted";
        case 203: return "non-authoritative information";
        case 204: return "no content";
        case 205: return "reset content";
        case 206: return "partial content";
        case 300: return "multiple choices";
        case 301: return "moved permanently";
        case 302: return "found";
        case 303: return "see other";
        case 304: return "not modified";
        case 305: return "needs proxy";
        case 307: return "temporary redirect";
        case 400: return "bad request";
        case 401: return "unauthorized";
        case 402: return "payment required";
        case 403: return "forbidden";
        case 404: return "not found";
        case 405: return "method not allowed";
        case 406: return "unacceptable";
        case 407: return "proxy authentication required";
        case 408: return "request timed out";
        case 409: return "conflict";
        case 410: return "no longer exists";
        case 411: return "length required";
        case 412: return "precondition failed";
        case 413: return "request too large";
        case 414: return "requested URL too long";
        case 415: return "unsupported media type";
        case 416: return "requested range not satisfiable";
        case 417: return "expectation failed";
        case 500: return "internal server error";
        case 501: return "unimplemented";
        case 502: return "bad gateway";
        case 503: return "service unavailable";
        case 504: return "gateway timed out";
        case 505: return "unsupported version";
        default: break;
    }
    if (code >= 100 && code < 200) return "informational";
    if (code >= 200 && code < 300) return "success";
    if (code >= 300 && code < 400) return "redirected";
    if (code >= 400 && code < 500) return "client error";
    if (code >= 500 && code < 600) return "server error";
    return "server error";
}

}  // namespace foundation
