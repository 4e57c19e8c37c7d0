// The security policy on chains made at run time: the default policy, every
// pinning mode with and without whole-chain validation, the bundle's pins.
#include <gtest/gtest.h>

#include <fstream>

#include "TestCertificateChain.h"
#include "foundation/Bundle.h"
#include "support/TemporaryDirectory.h"
#include "http/QNSecurityPolicy.h"
#include "service/TestCertificateAuthority.h"

using foundation::Data;
using Anchors = testservice::TestCertificateAuthority::ScopedTrust;

namespace {

// The policy's verdict on a server presenting leaf and intermediate.
bool evaluate(const QNSecurityPolicy& policy, const TestCertificateChain& chain,
              const std::optional<std::string>& domain = std::string("127.0.0.1")) {
    auto trust =
        security::Trust::createWithServerTrust(foundation::ServerTrust("127.0.0.1", {chain.leaf, chain.intermediate}));
    return trust && policy.evaluateServerTrust(*trust, domain);
}

QNSecurityPolicy pinned(QNSSLPinningMode mode, std::vector<Data> certificates, bool validatesChain) {
    QNSecurityPolicy policy;
    policy.setSSLPinningMode(mode);
    policy.setPinnedCertificates(std::move(certificates));
    policy.setValidatesCertificateChain(validatesChain);
    return policy;
}

}  // namespace

TEST(QNSecurityPolicy, DefaultPolicyTrustsValidChainsForTheirHostOnly) {
    TestCertificateChain chain, stranger;
    ASSERT_TRUE(chain.valid && stranger.valid);
    auto policy = QNSecurityPolicy::defaultPolicy();
    EXPECT_EQ(policy->SSLPinningMode(), QNSSLPinningMode::None);
    EXPECT_TRUE(policy->validatesCertificateChain() && policy->validatesDomainName());
    EXPECT_FALSE(policy->allowInvalidCertificates() || policy->pinnedCertificates());
    {
        Anchors anchors(chain.rootFile);
        EXPECT_TRUE(evaluate(*policy, chain));
        EXPECT_FALSE(evaluate(*policy, chain, std::string("other.quovana.test")));
        policy->setValidatesDomainName(false);
        EXPECT_TRUE(evaluate(*policy, chain, std::string("other.quovana.test")));
    }
    Anchors anchors(stranger.rootFile);
    EXPECT_FALSE(evaluate(*policy, chain));
    policy->setAllowInvalidCertificates(true);
    EXPECT_TRUE(evaluate(*policy, chain));
}

TEST(QNSecurityPolicy, PublicKeyPinningCountsKeysAlongTheChain) {
    TestCertificateChain chain, stranger;
    ASSERT_TRUE(chain.valid && stranger.valid);
    const auto mode = QNSSLPinningMode::PublicKey;
    {
        Anchors anchors(chain.rootFile);
        EXPECT_TRUE(evaluate(pinned(mode, {chain.leaf}, false), chain));
        // The verified chain runs leaf, intermediate, root: one match of three.
        EXPECT_FALSE(evaluate(pinned(mode, {chain.leaf}, true), chain));
        EXPECT_TRUE(evaluate(pinned(mode, {chain.root, chain.intermediate, chain.leaf}, true), chain));
    }
    Anchors anchors(stranger.rootFile);
    QNSecurityPolicy policy = pinned(mode, {chain.leaf}, false);
    EXPECT_FALSE(evaluate(policy, chain));
    policy.setAllowInvalidCertificates(true);
    EXPECT_TRUE(evaluate(policy, chain));
}

TEST(QNSecurityPolicy, CertificatePinningAnchorsAtThePinnedCertificates) {
    TestCertificateChain chain, stranger;
    ASSERT_TRUE(chain.valid && stranger.valid);
    const auto mode = QNSSLPinningMode::Certificate;
    {
        Anchors anchors(chain.rootFile);
        EXPECT_TRUE(evaluate(pinned(mode, {chain.root}, false), chain));
        EXPECT_FALSE(evaluate(pinned(mode, {chain.root}, true), chain));
        EXPECT_TRUE(evaluate(pinned(mode, {chain.leaf, chain.intermediate, chain.root}, true), chain));
        // The leaf alone anchors the chain, but does not cover the chain the
        // server's trust was verified with before.
        EXPECT_TRUE(evaluate(pinned(mode, {chain.leaf}, false), chain));
        EXPECT_FALSE(evaluate(pinned(mode, {chain.leaf}, true), chain));
        EXPECT_FALSE(evaluate(pinned(mode, {stranger.root}, false), chain));
        EXPECT_FALSE(evaluate(pinned(mode, {chain.root}, false), chain, std::string("other.quovana.test")));
    }
    Anchors anchors(stranger.rootFile);
    QNSecurityPolicy policy = pinned(mode, {stranger.root}, false);
    policy.setAllowInvalidCertificates(true);
    EXPECT_FALSE(evaluate(policy, chain));
    policy.setPinnedCertificates(std::vector<Data>{chain.root});
    EXPECT_TRUE(evaluate(policy, chain));
}

TEST(QNSecurityPolicy, PinnedKeysFollowThePinnedCertificatesFromTheBundle) {
    TestCertificateChain chain;
    ASSERT_TRUE(chain.valid);
    QNSecurityPolicy policy;
    policy.setPinnedCertificates(std::vector<Data>{chain.leaf, Data::fromString("not a certificate"), chain.root});
    ASSERT_EQ(policy.pinnedPublicKeys().value_or(std::vector<security::PublicKeyPtr>{}).size(), 2u);
    policy.setPinnedCertificates(std::nullopt);
    EXPECT_FALSE(policy.pinnedPublicKeys());

    TemporaryDirectory resources;
    // Fixed bytes: the list is read once per process, however often this runs.
    std::ofstream(resources / "b.cer") << "second";
    std::ofstream(resources / "a.cer") << "first";
    std::ofstream(resources / "notes.txt") << "not pinned";
    auto& bundle = foundation::Bundle::mainBundle();
    std::string previous = bundle.resourcePath();
    bundle.setResourcePath(resources.path());
    auto fromBundle = QNSecurityPolicy::policyWithPinningMode(QNSSLPinningMode::Certificate);
    bundle.setResourcePath(previous);
    EXPECT_EQ(fromBundle->pinnedCertificates(),
              (std::vector<Data>{Data::fromString("first"), Data::fromString("second")}));
}
