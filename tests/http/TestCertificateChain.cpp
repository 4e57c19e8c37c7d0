// Certificate making with OpenSSL: EC P-256 keys, valid from an hour ago for
// a day, so the chain is good whenever the test runs.
#include "TestCertificateChain.h"

#include <openssl/bn.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509v3.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace {

bool addExtension(X509* cert, X509* issuer, int nid, const char* value) {
    X509V3_CTX ctx;
    X509V3_set_ctx_nodb(&ctx);
    X509V3_set_ctx(&ctx, issuer, cert, nullptr, nullptr, 0);
    X509_EXTENSION* ext = X509V3_EXT_conf_nid(nullptr, &ctx, nid, value);
    bool ok = ext && X509_add_ext(cert, ext, -1) == 1;
    X509_EXTENSION_free(ext);
    return ok;
}

// An authority without `names`, a server leaf with them; self-signed without an issuer.
X509* makeCertificate(EVP_PKEY* key, const char* commonName, X509* issuer, EVP_PKEY* issuerKey, const char* names) {
    X509* cert = X509_new();
    BIGNUM* serial = BN_new();
    bool ok =
        cert && serial && X509_set_version(cert, 2) == 1 && BN_rand(serial, 63, BN_RAND_TOP_ANY, BN_RAND_BOTTOM_ANY) &&
        BN_to_ASN1_INTEGER(serial, X509_get_serialNumber(cert)) && X509_gmtime_adj(X509_getm_notBefore(cert), -3600) &&
        X509_gmtime_adj(X509_getm_notAfter(cert), 86400) && X509_set_pubkey(cert, key) == 1 &&
        X509_NAME_add_entry_by_txt(X509_get_subject_name(cert), "CN", MBSTRING_ASC,
                                   reinterpret_cast<const unsigned char*>(commonName), -1, -1, 0) == 1 &&
        X509_set_issuer_name(cert, X509_get_subject_name(issuer ? issuer : cert)) == 1;
    BN_free(serial);
    if (names) {
        ok = ok && addExtension(cert, issuer, NID_basic_constraints, "CA:FALSE") &&
             addExtension(cert, issuer, NID_ext_key_usage, "serverAuth") &&
             addExtension(cert, issuer, NID_subject_alt_name, names);
    } else {
        ok = ok && addExtension(cert, issuer ? issuer : cert, NID_basic_constraints, "critical,CA:TRUE") &&
             addExtension(cert, issuer ? issuer : cert, NID_key_usage, "critical,keyCertSign");
    }
    if (ok && X509_sign(cert, issuerKey ? issuerKey : key, EVP_sha256()) > 0) return cert;
    X509_free(cert);
    return nullptr;
}

foundation::Data derOf(X509* cert) {
    unsigned char* out = nullptr;
    int length = i2d_X509(cert, &out);
    foundation::Data der(out, length > 0 ? static_cast<size_t>(length) : 0);
    OPENSSL_free(out);
    return der;
}

bool writePEM(const std::string& path, X509* first, X509* second, EVP_PKEY* key) {
    std::FILE* f = std::fopen(path.c_str(), "w");
    if (!f) return false;
    bool ok = (!first || PEM_write_X509(f, first) == 1) && (!second || PEM_write_X509(f, second) == 1) &&
              (!key || PEM_write_PrivateKey(f, key, nullptr, nullptr, 0, nullptr, nullptr) == 1);
    return std::fclose(f) == 0 && ok;
}

}  // namespace

TestCertificateChain::TestCertificateChain(const std::string& leafNames) {
    std::string pattern = (std::filesystem::temp_directory_path() / "qva-chain-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) return;
    directory = pattern;
    rootFile = directory + "/root.pem";
    serverChainFile = directory + "/server-chain.pem";
    serverKeyFile = directory + "/server-key.pem";

    EVP_PKEY* keys[3] = {EVP_EC_gen("P-256"), EVP_EC_gen("P-256"), EVP_EC_gen("P-256")};
    X509* r = keys[0] ? makeCertificate(keys[0], "Quovana Test Root", nullptr, nullptr, nullptr) : nullptr;
    X509* i = r && keys[1] ? makeCertificate(keys[1], "Quovana Test Intermediate", r, keys[0], nullptr) : nullptr;
    X509* l = i && keys[2] ? makeCertificate(keys[2], "Quovana Test Server", i, keys[1], leafNames.c_str()) : nullptr;
    if (l) {
        root = derOf(r);
        intermediate = derOf(i);
        leaf = derOf(l);
        valid = writePEM(rootFile, r, nullptr, nullptr) && writePEM(serverChainFile, l, i, nullptr) &&
                writePEM(serverKeyFile, nullptr, nullptr, keys[2]);
    }
    for (X509* cert : {l, i, r}) X509_free(cert);
    for (EVP_PKEY* key : keys) EVP_PKEY_free(key);
}

TestCertificateChain::~TestCertificateChain() {
    std::error_code ec;
    if (!directory.empty()) std::filesystem::remove_all(directory, ec);
}
