// The user's account after a login: the access token every service call
// carries (and that names the user's stores) and the user's own record. The
// settings store keeps it as a keyed archive, so its archive keys are a
// stored format.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "foundation/KeyedArchiver.h"
#include "model/IEntityModel.h"

class QVAUserAccount : public foundation::Coding, public IEntityModel {
public:
    static constexpr const char* kClassName = "QVAUserAccount";
    using Text = std::optional<std::string>;

    QVAUserAccount() = default;
    // A login answer: the token at the top, the user's record under "user".
    static std::shared_ptr<QVAUserAccount> initWithDictionary(const foundation::Value& dictionary);
    static std::shared_ptr<QVAUserAccount> initWithCoder(const foundation::KeyedUnarchiver& coder);

    // A deep copy made through a keyed archive, kept as the base account while
    // the user acts for a login delegator.
    std::shared_ptr<QVAUserAccount> duplicateCopySwitchUser() const;

    const Text& authenticationCode() const { return authenticationCode_; }
    void setAuthenticationCode(Text v) { authenticationCode_ = std::move(v); }
    const Text& itemId() const { return itemId_; }
    void setItemId(Text v) { itemId_ = std::move(v); }
    const Text& email() const { return email_; }
    void setEmail(Text v) { email_ = std::move(v); }
    const Text& firstName() const { return firstName_; }
    void setFirstName(Text v) { firstName_ = std::move(v); }
    const Text& fullName() const { return fullName_; }
    void setFullName(Text v) { fullName_ = std::move(v); }
    const Text& lastName() const { return lastName_; }
    void setLastName(Text v) { lastName_ = std::move(v); }
    const Text& photoId() const { return photoId_; }
    void setPhotoId(Text v) { photoId_ = std::move(v); }
    const Text& photoUrl() const { return photoUrl_; }
    void setPhotoUrl(Text v) { photoUrl_ = std::move(v); }

    // How the person signed in on this home, what stays the same across
    // their sign-ins when the service names no user id: "name:" and the
    // login name exactly as sent, or "passcode:" and the passcode's SHA-256
    // (the secret itself is not kept). None for an account no login made (a
    // login delegator's) or archived before it was recorded.
    const Text& signIn() const { return signIn_; }
    void signedInWithLoginName(const Text& name);
    void signedInWithPasscode(const Text& passcode);

    std::string className() const override { return kClassName; }
    void encodeWithCoder(foundation::KeyedArchiver& coder) const override;

private:
    Text authenticationCode_, itemId_, email_, firstName_, fullName_, lastName_, photoId_, photoUrl_, signIn_;
};
