// Trust evaluation over OpenSSL with the test certificate authority: anchors
// from $SSL_CERT_FILE or set by hand, the SSL policy's host-name check, the
// chain a valid evaluation leaves behind, certificates and public keys.
#include <gtest/gtest.h>

#include <fstream>

#include "foundation/Crypto.h"
#include "security/Trust.h"
#include "service/TestCertificateAuthority.h"

using foundation::Data;
using namespace security;
using testservice::TestCertificateAuthority;

namespace {

// The first certificate of a PEM file, as DER.
Data derFromPEM(const std::string& path) {
    std::ifstream in(path);
    std::string line, base64;
    while (std::getline(in, line) && line.rfind("-----END", 0) != 0)
        if (line.rfind("-----", 0) != 0) base64 += line;
    return foundation::Crypto::base64Decode(base64).value_or(Data());
}

TrustPtr trustOf(std::vector<Data> chain, std::vector<PolicyPtr> policies) {
    std::vector<CertificatePtr> certificates;
    for (const auto& der : chain) certificates.push_back(Certificate::createWithData(der));
    TrustPtr trust;
    EXPECT_EQ(Trust::create(std::move(certificates), std::move(policies), &trust), Status::Success);
    return trust;
}

TrustResult resultOf(Trust& trust) {
    TrustResult result = TrustResult::Invalid;
    EXPECT_EQ(trust.evaluate(&result), Status::Success);
    return result;
}

PolicyPtr sslFor(const char* host) {
    return Policy::createSSL(true, std::string(host));
}

}  // namespace

TEST(Trust, ChainsEndAtTheirAnchorsAndNameTheirHost) {
    TestCertificateAuthority authority;
    ASSERT_TRUE(authority.valid());
    auto selfSigned = authority.makeUntrustedServerCertificate();
    ASSERT_TRUE(selfSigned);
    Data ca = derFromPEM(authority.caFile()), server = derFromPEM(authority.serverCertificateFile());
    Data untrusted = derFromPEM(selfSigned->certificate);

    TestCertificateAuthority::ScopedTrust trusted(authority.caFile());
    auto trust = trustOf({server}, {sslFor("127.0.0.1")});
    EXPECT_EQ(resultOf(*trust), TrustResult::Unspecified);
    ASSERT_EQ(trust->certificateCount(), 2u);  // the verified chain, anchor included
    EXPECT_EQ(trust->certificateAtIndex(1)->data(), ca);
    EXPECT_FALSE(trust->certificateAtIndex(2));
    trust->setPolicies({sslFor("other.quovana.test")});
    EXPECT_EQ(resultOf(*trust), TrustResult::RecoverableTrustFailure);
    EXPECT_EQ(trust->certificateCount(), 1u);
    trust->setPolicies({Policy::createBasicX509()});
    EXPECT_EQ(resultOf(*trust), TrustResult::Unspecified);
    EXPECT_EQ(resultOf(*Trust::createWithServerTrust(foundation::ServerTrust("127.0.0.1", {untrusted}))),
              TrustResult::RecoverableTrustFailure);

    // Anchors set by hand replace the system's, and need not be roots.
    trust->setPolicies({sslFor("127.0.0.1")});
    trust->setAnchorCertificates({Certificate::createWithData(untrusted)});
    EXPECT_EQ(resultOf(*trust), TrustResult::RecoverableTrustFailure);
    trust->setAnchorCertificates({Certificate::createWithData(server)});
    EXPECT_EQ(resultOf(*trust), TrustResult::Unspecified);
    EXPECT_EQ(trust->certificateCount(), 1u);

    TestCertificateAuthority::ScopedTrust elsewhere(selfSigned->certificate);
    EXPECT_EQ(resultOf(*trustOf({server}, {Policy::createBasicX509()})), TrustResult::RecoverableTrustFailure);
}

TEST(Trust, CertificatesAndKeysRefuseWhatTheyCannotRead) {
    TestCertificateAuthority authority;
    ASSERT_TRUE(authority.valid());
    Data ca = derFromPEM(authority.caFile()), server = derFromPEM(authority.serverCertificateFile());

    Data trailing = server;
    trailing.append("x");
    for (const Data& bad : {Data(), Data::fromString("not a certificate"), trailing})
        EXPECT_FALSE(Certificate::createWithData(bad));
    EXPECT_FALSE(Trust::createWithServerTrust(foundation::ServerTrust("127.0.0.1", {server, Data::fromString("?")})));
    TrustPtr none;
    EXPECT_EQ(Trust::create({}, {}, &none), Status::Parameter);

    auto serverKey = trustOf({server}, {})->copyPublicKey();
    auto sameKey = trustOf({server, ca}, {})->copyPublicKey();
    auto caKey = trustOf({ca}, {})->copyPublicKey();
    ASSERT_TRUE(serverKey && sameKey && caKey);
    EXPECT_TRUE(serverKey->isEqual(*sameKey));
    EXPECT_FALSE(serverKey->isEqual(*caKey));
    EXPECT_FALSE(PublicKey::createWithSubjectPublicKeyInfo(Data::fromString("not a key")));
}
