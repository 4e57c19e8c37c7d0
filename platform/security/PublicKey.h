// The public key of a certificate, kept as its DER SubjectPublicKeyInfo so
// that it owns no library handle. Two keys are equal when OpenSSL finds the
// same key material and parameters in both. Immutable.
#pragma once

#include <memory>

#include "foundation/Data.h"

namespace security {

class PublicKey;
using PublicKeyPtr = std::shared_ptr<const PublicKey>;

class PublicKey {
public:
    // Null when the bytes are not a SubjectPublicKeyInfo.
    static PublicKeyPtr createWithSubjectPublicKeyInfo(const foundation::Data& der);

    const foundation::Data& subjectPublicKeyInfo() const { return der_; }
    bool isEqual(const PublicKey& other) const;

private:
    explicit PublicKey(foundation::Data der) : der_(std::move(der)) {}

    foundation::Data der_;
};

}  // namespace security
