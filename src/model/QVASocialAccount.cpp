// Social accounts of participants.
#include "model/QVASocialAccount.h"

#include "model/ModelReading.h"

std::shared_ptr<QVASocialAccount> QVASocialAccount::initWithNetworkName(std::optional<std::string> socialNetworkName,
                                                                        std::optional<std::string> account) {
    auto model = std::make_shared<QVASocialAccount>();
    model->socialNetworkName_ = std::move(socialNetworkName);
    model->account_ = std::move(account);
    return model;
}

std::shared_ptr<QVASocialAccount> QVASocialAccount::initWithCoder(const foundation::KeyedUnarchiver& coder) {
    return initWithNetworkName(coder.decodeStringForKey("socialNetworkName"), coder.decodeStringForKey("account"));
}

void QVASocialAccount::encodeWithCoder(foundation::KeyedArchiver& coder) const {
    coder.encodeObject(ModelReading::valueOf(socialNetworkName_), "socialNetworkName");
    coder.encodeObject(ModelReading::valueOf(account_), "account");
}
