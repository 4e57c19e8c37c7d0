// Certificates are checked by parsing once here; the trust evaluation parses
// the bytes again when it needs them, so no OpenSSL handle outlives a call.
#include "security/Certificate.h"

#include <arpa/inet.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

namespace security {

CertificatePtr Certificate::createWithData(const foundation::Data& der) {
    if (der.empty()) return nullptr;
    const unsigned char* p = der.bytes();
    X509* cert = d2i_X509(nullptr, &p, static_cast<long>(der.length()));
    bool whole = cert && p == der.bytes() + der.length();
    X509_free(cert);
    if (!whole) return nullptr;
    return CertificatePtr(new Certificate(der));
}

namespace {

// An IP address entry's bytes in the usual notation; empty for another length.
std::string certificateAddressText(const ASN1_OCTET_STRING* address) {
    const int length = ASN1_STRING_length(address);
    char text[INET6_ADDRSTRLEN] = {};
    if (length != 4 && length != 16) return {};
    if (!inet_ntop(length == 4 ? AF_INET : AF_INET6, ASN1_STRING_get0_data(address), text, sizeof text)) return {};
    return text;
}

// A host name is printable ASCII; one with a NUL byte or a control character
// would read as another host than it is.
bool certificateNameIsReadable(const std::string& name) {
    if (name.empty()) return false;
    for (unsigned char c : name)
        if (c < 0x21 || c > 0x7e) return false;
    return true;
}

}  // namespace

std::vector<std::string> Certificate::hostNames() const {
    const unsigned char* p = der_.bytes();
    X509* cert = d2i_X509(nullptr, &p, static_cast<long>(der_.length()));
    if (!cert) return {};
    std::vector<std::string> names;
    auto* alternatives = static_cast<GENERAL_NAMES*>(X509_get_ext_d2i(cert, NID_subject_alt_name, nullptr, nullptr));
    for (int i = 0; alternatives && i < sk_GENERAL_NAME_num(alternatives); ++i) {
        const GENERAL_NAME* entry = sk_GENERAL_NAME_value(alternatives, i);
        std::string name;
        if (entry->type == GEN_DNS)
            name.assign(reinterpret_cast<const char*>(ASN1_STRING_get0_data(entry->d.dNSName)),
                        static_cast<size_t>(ASN1_STRING_length(entry->d.dNSName)));
        else if (entry->type == GEN_IPADD)
            name = certificateAddressText(entry->d.iPAddress);
        if (certificateNameIsReadable(name)) names.push_back(std::move(name));
    }
    GENERAL_NAMES_free(alternatives);
    if (names.empty()) {
        char common[256] = {};
        const int length = X509_NAME_get_text_by_NID(X509_get_subject_name(cert), NID_commonName, common, sizeof common);
        if (length > 0 && certificateNameIsReadable(std::string(common, static_cast<size_t>(length))))
            names.emplace_back(common, static_cast<size_t>(length));
    }
    X509_free(cert);
    return names;
}

}  // namespace security
