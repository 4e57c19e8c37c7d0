// One social account of a participant (network name and account), archived
// inside the participant row.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "foundation/KeyedArchiver.h"

class QVASocialAccount : public foundation::Coding {
public:
    static constexpr const char* kClassName = "QVASocialAccount";

    QVASocialAccount() = default;
    static std::shared_ptr<QVASocialAccount> initWithNetworkName(std::optional<std::string> socialNetworkName,
                                                                 std::optional<std::string> account);
    static std::shared_ptr<QVASocialAccount> initWithCoder(const foundation::KeyedUnarchiver& coder);

    const std::optional<std::string>& socialNetworkName() const { return socialNetworkName_; }
    const std::optional<std::string>& account() const { return account_; }

    std::string className() const override { return kClassName; }
    void encodeWithCoder(foundation::KeyedArchiver& coder) const override;

private:
    std::optional<std::string> socialNetworkName_;
    std::optional<std::string> account_;
};
