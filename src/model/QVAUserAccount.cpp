// User accounts from login answers and from the settings archive.
#include "model/QVAUserAccount.h"

#include "foundation/Crypto.h"
#include "model/ModelClass.h"
#include "model/ModelReading.h"

using foundation::Value;
using ModelReading::valueOf;

std::shared_ptr<QVAUserAccount> QVAUserAccount::initWithDictionary(const Value& dictionary) {
    ModelReading::FieldReader json(dictionary);
    auto model = std::make_shared<QVAUserAccount>();
    model->authenticationCode_ = json.text("accessToken");
    Value userValue = json.dictionary("user");
    ModelReading::FieldReader user(userValue);
    // An id of "", true or a list names no user: two people given one such
    // id are not one user.
    model->itemId_ = user.id("id");
    model->email_ = user.text("email");
    model->firstName_ = user.text("firstName");
    model->fullName_ = user.text("fullName");
    model->lastName_ = user.text("lastName");
    model->photoId_ = user.id("photoId");
    model->photoUrl_ = user.text("photoUrl");
    return model;
}

std::shared_ptr<QVAUserAccount> QVAUserAccount::initWithCoder(const foundation::KeyedUnarchiver& coder) {
    auto model = std::make_shared<QVAUserAccount>();
    model->authenticationCode_ = coder.decodeStringForKey("accessToken");
    model->email_ = coder.decodeStringForKey("email");
    model->firstName_ = coder.decodeStringForKey("firstName");
    model->fullName_ = coder.decodeStringForKey("fullName");
    model->lastName_ = coder.decodeStringForKey("lastName");
    model->photoId_ = coder.decodeStringForKey("photoId");
    model->photoUrl_ = coder.decodeStringForKey("photoUrl");
    model->itemId_ = coder.decodeStringForKey("id");
    model->signIn_ = coder.decodeStringForKey("signIn");
    return model;
}

void QVAUserAccount::encodeWithCoder(foundation::KeyedArchiver& coder) const {
    coder.encodeObject(valueOf(authenticationCode_), "accessToken");
    coder.encodeObject(valueOf(email_), "email");
    coder.encodeObject(valueOf(firstName_), "firstName");
    coder.encodeObject(valueOf(fullName_), "fullName");
    coder.encodeObject(valueOf(lastName_), "lastName");
    coder.encodeObject(valueOf(photoId_), "photoId");
    coder.encodeObject(valueOf(photoUrl_), "photoUrl");
    coder.encodeObject(valueOf(itemId_), "id");
    coder.encodeObject(valueOf(signIn_), "signIn");
}

// As typed, blanks included: a service may hold "ann " as another account
// than "ann", and only a lost note, never another's, may come of the doubt.
void QVAUserAccount::signedInWithLoginName(const Text& name) {
    signIn_ = name && !name->empty() ? Text("name:" + *name) : std::nullopt;
}

void QVAUserAccount::signedInWithPasscode(const Text& passcode) {
    signIn_ = passcode && !passcode->empty() ? Text("passcode:" + foundation::Crypto::sha256Hex(*passcode)) : std::nullopt;
}

std::shared_ptr<QVAUserAccount> QVAUserAccount::duplicateCopySwitchUser() const {
    // The archive reads back only through the registered factory.
    registerModelClasses();
    auto root = std::make_shared<QVAUserAccount>(*this);
    foundation::Data archive = foundation::KeyedArchiver::archivedDataWithRootObject(Value(root));
    return foundation::KeyedUnarchiver::unarchiveObjectOfClass<QVAUserAccount>(archive);
}
