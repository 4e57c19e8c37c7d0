// The sender or one receiver of a message, as the message mapping builds them
// from the message's dictionaries and archives them in the message row. The
// archive keys equal the service's keys.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "foundation/KeyedArchiver.h"

class QVAMessageReceivedRecipient : public foundation::Coding {
public:
    static constexpr const char* kClassName = "QVAMessageReceivedRecipient";
    using Text = std::optional<std::string>;

    QVAMessageReceivedRecipient() = default;
    static std::shared_ptr<QVAMessageReceivedRecipient> initWithDictionary(const foundation::Value& dictionary);
    static std::shared_ptr<QVAMessageReceivedRecipient> initWithCoder(const foundation::KeyedUnarchiver& coder);

    const Text& participantId() const { return participantId_; }
    const Text& name() const { return name_; }
    const Text& mailAddress() const { return mailAddress_; }
    // The service's flag; nothing when it sent none.
    const std::optional<bool>& isExternalAddress() const { return isExternalAddress_; }
    const Text& shortDisplay() const { return shortDisplay_; }
    const Text& longDisplay() const { return longDisplay_; }
    const std::optional<bool>& isValid() const { return isValid_; }

    std::string className() const override { return kClassName; }
    void encodeWithCoder(foundation::KeyedArchiver& coder) const override;

private:
    Text participantId_, name_, mailAddress_;
    std::optional<bool> isExternalAddress_;
    Text shortDisplay_, longDisplay_;
    std::optional<bool> isValid_;
};
