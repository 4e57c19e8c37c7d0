// Trust decisions. Every failure of the trust library along the way counts
// as "not trusted" (or leaves a key or certificate out); nothing else is
// reported.
#include "http/QNSecurityPolicy.h"

#include <mutex>

#include "foundation/Bundle.h"
#include "foundation/FileManager.h"

using foundation::Data;
using security::CertificatePtr;
using security::PublicKeyPtr;
using security::Status;
using security::Trust;
using security::TrustPtr;
using security::TrustResult;

namespace {

bool trustIsValid(Trust& trust) {
    TrustResult result = TrustResult::Invalid;
    if (trust.evaluate(&result) != Status::Success) return false;
    return result == TrustResult::Unspecified || result == TrustResult::Proceed;
}

// The key of a certificate standing alone; its chain is not judged.
PublicKeyPtr publicKeyOfCertificateData(const Data& data) {
    CertificatePtr certificate = security::Certificate::createWithData(data);
    if (!certificate) return nullptr;
    TrustPtr trust;
    if (Trust::create({certificate}, {security::Policy::createBasicX509()}, &trust) != Status::Success) return nullptr;
    TrustResult ignored;
    if (trust->evaluate(&ignored) != Status::Success) return nullptr;
    return trust->copyPublicKey();
}

std::vector<Data> certificateDataChain(const Trust& trust) {
    std::vector<Data> chain;
    for (size_t i = 0; i < trust.certificateCount(); ++i) chain.push_back(trust.certificateAtIndex(i)->data());
    return chain;
}

std::vector<PublicKeyPtr> publicKeyChain(const Trust& trust) {
    auto policy = security::Policy::createBasicX509();
    std::vector<PublicKeyPtr> keys;
    for (size_t i = 0; i < trust.certificateCount(); ++i) {
        TrustPtr single;
        TrustResult ignored;
        if (Trust::create({trust.certificateAtIndex(i)}, {policy}, &single) != Status::Success) continue;
        if (single->evaluate(&ignored) != Status::Success) continue;
        if (auto key = single->copyPublicKey()) keys.push_back(std::move(key));
    }
    return keys;
}

}  // namespace

const std::vector<Data>& QNSecurityPolicy::defaultPinnedCertificates() {
    static std::once_flag once;
    static std::vector<Data>* certificates = new std::vector<Data>();
    std::call_once(once, [] {
        auto& files = foundation::FileManager::defaultManager();
        std::string directory = foundation::Bundle::mainBundle().resourcePath();
        for (const auto& name : files.contentsOfDirectoryAtPath(directory).value_or(std::vector<std::string>{})) {
            if (name.size() <= 4 || name.compare(name.size() - 4, 4, ".cer") != 0) continue;
            if (auto data = files.contentsAtPath(directory + "/" + name)) certificates->push_back(std::move(*data));
        }
    });
    return *certificates;
}

std::shared_ptr<QNSecurityPolicy> QNSecurityPolicy::defaultPolicy() {
    return std::make_shared<QNSecurityPolicy>();
}

std::shared_ptr<QNSecurityPolicy> QNSecurityPolicy::policyWithPinningMode(QNSSLPinningMode mode) {
    auto policy = std::make_shared<QNSecurityPolicy>();
    policy->setSSLPinningMode(mode);
    policy->setPinnedCertificates(defaultPinnedCertificates());
    return policy;
}

void QNSecurityPolicy::setPinnedCertificates(std::optional<std::vector<Data>> certificates) {
    pinnedCertificates_ = std::move(certificates);
    if (!pinnedCertificates_) {
        pinnedPublicKeys_.reset();
        return;
    }
    std::vector<PublicKeyPtr> keys;
    for (const auto& data : *pinnedCertificates_)
        if (auto key = publicKeyOfCertificateData(data)) keys.push_back(std::move(key));
    pinnedPublicKeys_ = std::move(keys);
}

bool QNSecurityPolicy::evaluateServerTrust(Trust& serverTrust, const std::optional<std::string>& domain) const {
    serverTrust.setPolicies(
        {validatesDomainName_ ? security::Policy::createSSL(true, domain) : security::Policy::createBasicX509()});
    if (mode_ == QNSSLPinningMode::None) return allowInvalidCertificates_ || trustIsValid(serverTrust);
    if (!trustIsValid(serverTrust) && !allowInvalidCertificates_) return false;

    std::vector<Data> chain = certificateDataChain(serverTrust);
    switch (mode_) {
        case QNSSLPinningMode::PublicKey: {
            std::vector<PublicKeyPtr> keys = publicKeyChain(serverTrust);
            if (!validatesCertificateChain_ && !keys.empty()) keys.resize(1);
            if (keys.empty()) return false;
            size_t matches = 0;
            for (const auto& key : keys)
                for (const auto& pinned : pinnedPublicKeys_.value_or(std::vector<PublicKeyPtr>{}))
                    if (key->isEqual(*pinned)) ++matches;
            if (matches == 0) return false;
            return validatesCertificateChain_ ? matches == chain.size() : true;
        }
        case QNSSLPinningMode::Certificate: {
            std::vector<CertificatePtr> anchors;
            for (const auto& data : pinnedCertificates_.value_or(std::vector<Data>{}))
                if (auto certificate = security::Certificate::createWithData(data))
                    anchors.push_back(std::move(certificate));
            serverTrust.setAnchorCertificates(std::move(anchors));
            if (!trustIsValid(serverTrust)) return false;
            if (!validatesCertificateChain_) return true;
            size_t matches = 0;
            for (const auto& data : chain)
                for (const auto& pinned : pinnedCertificates_.value_or(std::vector<Data>{}))
                    if (data == pinned) {
                        ++matches;
                        break;
                    }
            return matches == chain.size();
        }
        default: return false;
    }
}
