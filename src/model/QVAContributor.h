// One contributor of a session (participant id and role), as the session
// detail screen lists them from the session's contributors text.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "foundation/KeyedArchiver.h"
#include "model/IEntityModel.h"

class QVAContributor : public foundation::Coding, public IEntityModel {
public:
    static constexpr const char* kClassName = "QVAContributor";

    QVAContributor() = default;
    static std::shared_ptr<QVAContributor> initWithDictionary(const foundation::Value& dictionary);
    static std::shared_ptr<QVAContributor> initWithItemId(std::optional<std::string> itemId,
                                                          std::optional<std::string> type);
    static std::shared_ptr<QVAContributor> initWithCoder(const foundation::KeyedUnarchiver& coder);

    // The participant's id.
    const std::optional<std::string>& itemId() const { return itemId_; }
    // The participant's role in the session.
    const std::optional<std::string>& type() const { return type_; }

    std::string className() const override { return kClassName; }
    void encodeWithCoder(foundation::KeyedArchiver& coder) const override;

private:
    std::optional<std::string> itemId_;
    std::optional<std::string> type_;
};
