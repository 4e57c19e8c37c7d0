// Key and certificate making with OpenSSL. EC P-256 keys: quick to make
// even under the sanitizers.
#include "service/TestCertificateAuthority.h"

#include <openssl/bn.h>
#include <openssl/ec.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace testservice {

namespace {

constexpr long kValidBefore = 3600;
constexpr long kValidFor = 365L * 24 * 3600;
constexpr const char* kServerNames = "DNS:localhost,IP:127.0.0.1";

EVP_PKEY* makeKey() {
    return EVP_EC_gen("P-256");
}

bool addExtension(X509* cert, X509V3_CTX* ctx, int nid, const char* value) {
    X509_EXTENSION* ext = X509V3_EXT_conf_nid(nullptr, ctx, nid, value);
    if (!ext) return false;
    bool ok = X509_add_ext(cert, ext, -1) == 1;
    X509_EXTENSION_free(ext);
    return ok;
}

// A certificate for `key`, signed by the issuer (or by itself without one).
X509* makeCertificate(EVP_PKEY* key, const char* commonName, X509* issuer, EVP_PKEY* issuerKey, bool isCA,
                      const char* serverNames = kServerNames) {
    X509* cert = X509_new();
    if (!cert) return nullptr;
    bool ok = X509_set_version(cert, 2) == 1;
    BIGNUM* serial = BN_new();
    ok = ok && serial && BN_rand(serial, 63, BN_RAND_TOP_ANY, BN_RAND_BOTTOM_ANY) == 1 &&
         BN_to_ASN1_INTEGER(serial, X509_get_serialNumber(cert)) != nullptr;
    BN_free(serial);
    ok = ok && X509_gmtime_adj(X509_getm_notBefore(cert), -kValidBefore) && X509_gmtime_adj(X509_getm_notAfter(cert), kValidFor);
    ok = ok && X509_set_pubkey(cert, key) == 1;
    X509_NAME* name = X509_get_subject_name(cert);
    ok = ok && X509_NAME_add_entry_by_txt(name, "O", MBSTRING_ASC,
                                          reinterpret_cast<const unsigned char*>("Quovana Tests"), -1, -1, 0) == 1;
    ok = ok && X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC, reinterpret_cast<const unsigned char*>(commonName),
                                          -1, -1, 0) == 1;
    ok = ok && X509_set_issuer_name(cert, issuer ? X509_get_subject_name(issuer) : name) == 1;
    X509V3_CTX ctx;
    X509V3_set_ctx_nodb(&ctx);
    X509V3_set_ctx(&ctx, issuer ? issuer : cert, cert, nullptr, nullptr, 0);
    ok = ok && addExtension(cert, &ctx, NID_subject_key_identifier, "hash");
    if (isCA) {
        ok = ok && addExtension(cert, &ctx, NID_basic_constraints, "critical,CA:TRUE") &&
             addExtension(cert, &ctx, NID_key_usage, "critical,keyCertSign,cRLSign");
    } else {
        ok = ok && addExtension(cert, &ctx, NID_basic_constraints, "CA:FALSE") &&
             addExtension(cert, &ctx, NID_key_usage, "critical,digitalSignature") &&
             addExtension(cert, &ctx, NID_ext_key_usage, "serverAuth") &&
             addExtension(cert, &ctx, NID_subject_alt_name, serverNames);
        if (issuer) ok = ok && addExtension(cert, &ctx, NID_authority_key_identifier, "keyid:always");
    }
    ok = ok && X509_sign(cert, issuerKey ? issuerKey : key, EVP_sha256()) > 0;
    if (!ok) {
        X509_free(cert);
        return nullptr;
    }
    return cert;
}

bool writeCertificate(const std::string& path, X509* cert) {
    std::FILE* f = std::fopen(path.c_str(), "w");
    if (!f) return false;
    bool ok = PEM_write_X509(f, cert) == 1;
    return std::fclose(f) == 0 && ok;
}

bool writeKey(const std::string& path, EVP_PKEY* key) {
    std::FILE* f = std::fopen(path.c_str(), "w");
    if (!f) return false;
    bool ok = PEM_write_PrivateKey(f, key, nullptr, nullptr, 0, nullptr, nullptr) == 1;
    return std::fclose(f) == 0 && ok;
}

}  // namespace

struct TestCertificateAuthority::Keys {
    EVP_PKEY* caKey = nullptr;
    X509* caCertificate = nullptr;
    ~Keys() {
        X509_free(caCertificate);
        EVP_PKEY_free(caKey);
    }
};

TestCertificateAuthority::TestCertificateAuthority() : keys_(new Keys()) {
    std::string pattern = (std::filesystem::temp_directory_path() / "qva-ca-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) return;
    directory_ = pattern;
    caFile_ = directory_ + "/ca.pem";
    server_ = {directory_ + "/server.pem", directory_ + "/server-key.pem"};

    keys_->caKey = makeKey();
    if (!keys_->caKey) return;
    keys_->caCertificate = makeCertificate(keys_->caKey, "Quovana Test Authority", nullptr, nullptr, true);
    EVP_PKEY* serverKey = makeKey();
    X509* serverCertificate =
        keys_->caCertificate && serverKey
            ? makeCertificate(serverKey, "localhost", keys_->caCertificate, keys_->caKey, false)
            : nullptr;
    valid_ = serverCertificate && writeCertificate(caFile_, keys_->caCertificate) &&
             writeCertificate(server_.certificate, serverCertificate) && writeKey(server_.key, serverKey);
    X509_free(serverCertificate);
    EVP_PKEY_free(serverKey);
}

TestCertificateAuthority::~TestCertificateAuthority() {
    delete keys_;
    if (!directory_.empty()) {
        std::error_code ec;
        std::filesystem::remove_all(directory_, ec);
    }
}

std::optional<TestCertificateAuthority::Files> TestCertificateAuthority::makeUntrustedServerCertificate() {
    if (directory_.empty()) return std::nullopt;
    int n = ++untrustedCount_;
    Files files{directory_ + "/untrusted-" + std::to_string(n) + ".pem",
                directory_ + "/untrusted-" + std::to_string(n) + "-key.pem"};
    EVP_PKEY* key = makeKey();
    X509* cert = key ? makeCertificate(key, "localhost", nullptr, nullptr, false) : nullptr;
    bool ok = cert && writeCertificate(files.certificate, cert) && writeKey(files.key, key);
    X509_free(cert);
    EVP_PKEY_free(key);
    if (!ok) return std::nullopt;
    return files;
}

std::optional<TestCertificateAuthority::Files> TestCertificateAuthority::makeServerCertificateFor(
    const std::string& names) {
    if (directory_.empty() || !keys_->caCertificate) return std::nullopt;
    int n = ++namedCount_;
    Files files{directory_ + "/named-" + std::to_string(n) + ".pem", directory_ + "/named-" + std::to_string(n) + "-key.pem"};
    EVP_PKEY* key = makeKey();
    X509* cert =
        key ? makeCertificate(key, "Quovana Tests server", keys_->caCertificate, keys_->caKey, false, names.c_str())
            : nullptr;
    bool ok = cert && writeCertificate(files.certificate, cert) && writeKey(files.key, key);
    X509_free(cert);
    EVP_PKEY_free(key);
    if (!ok) return std::nullopt;
    return files;
}

TestCertificateAuthority::ScopedTrust::ScopedTrust(const std::string& caFile) {
    if (const char* old = std::getenv("SSL_CERT_FILE")) previous_ = old;
    ::setenv("SSL_CERT_FILE", caFile.c_str(), 1);
}

TestCertificateAuthority::ScopedTrust::~ScopedTrust() {
    if (previous_) ::setenv("SSL_CERT_FILE", previous_->c_str(), 1);
    else ::unsetenv("SSL_CERT_FILE");
}

}  // namespace testservice
