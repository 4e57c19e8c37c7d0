// Descriptions of the URL-loading errors, in the platform's words.
#include "foundation/URLErrors.h"

#include "foundation/Format.h"
#include "foundation/ServerTrust.h"

namespace foundation {

namespace {

std::string describe(int64_t code, const std::string& host) {
    switch (code) {
        case URLError::Cancelled: return "cancelled";
        case URLError::BadURL: return "bad URL";
        case URLError::TimedOut: return "The request timed out.";
        case URLError::UnsupportedURL: return "unsupported URL";
        case URLError::CannotFindHost: return "A server with the specified hostname could not be found.";
        case URLError::CannotConnectToHost: return "Could not connect to the server.";
        case URLError::NetworkConnectionLost: return "The network connection was lost.";
        case URLError::HTTPTooManyRedirects: return "too many HTTP redirects";
        case URLError::ResourceUnavailable: return "resource unavailable";
        case URLError::NotConnectedToInternet: return "The Internet connection appears to be offline.";
        case URLError::BadServerResponse: return "bad server response";
        case URLError::CannotDecodeContentData: return "cannot decode raw data";
        case URLError::RequestBodyStreamExhausted: return "request body stream exhausted";
        case URLError::FileDoesNotExist: return "The file doesn\u2019t exist.";
        case URLError::SecureConnectionFailed:
            return "An SSL error has occurred and a secure connection to the server cannot be made.";
        case URLError::ServerCertificateUntrusted:
            return Format("The certificate for this server is invalid. You might be connecting to a server that is "
                          "pretending to be \u201c%@\u201d which could put your confidential information at risk.",
                          host);
        case URLError::CannotCreateFile: return "cannot create file";
        case URLError::CannotOpenFile: return "cannot open file";
        case URLError::CannotWriteToFile: return "cannot write to file";
        default: return "An unknown error occurred.";
    }
}

}  // namespace

ErrorPtr makeURLError(int64_t code, const std::string& failingURL, const std::string& host, ErrorPtr underlying) {
    Value::Dictionary info{{kLocalizedDescriptionKey, Value(describe(code, host))}};
    if (!failingURL.empty()) {
        info[kURLErrorFailingURLStringErrorKey] = Value(failingURL);
        info[kURLErrorFailingURLErrorKey] = Value(failingURL);
    }
    return Error::make(kURLErrorDomain, code, std::move(info), std::move(underlying));
}

ErrorPtr makeUntrustedCertificateError(const std::string& failingURL, const std::string& host,
                                       std::vector<Data> presentedChain, ErrorPtr underlying) {
    ErrorPtr plain = makeURLError(URLError::ServerCertificateUntrusted, failingURL, host, std::move(underlying));
    Value::Dictionary info = plain->userInfo();
    info[kURLErrorFailingURLPeerTrustErrorKey] = Value(std::make_shared<ServerTrust>(host, std::move(presentedChain)));
    return Error::make(kURLErrorDomain, URLError::ServerCertificateUntrusted, std::move(info), plain->underlyingError());
}

}  // namespace foundation
