// One insight of a session, held in the session's insights and archived
// inside the session row.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "foundation/KeyedArchiver.h"

class QVASessionInsight : public foundation::Coding {
public:
    static constexpr const char* kClassName = "QVASessionInsight";

    QVASessionInsight() = default;
    static std::shared_ptr<QVASessionInsight> initWithDictionary(const foundation::Value& dictionary);
    static std::shared_ptr<QVASessionInsight> initWithCoder(const foundation::KeyedUnarchiver& coder);

    const std::optional<std::string>& sessionInsightId() const { return sessionInsightId_; }
    const std::optional<std::string>& sessionInsightDescription() const { return sessionInsightDescription_; }
    const std::optional<std::string>& creationDateTime() const { return creationDateTime_; }

    std::string className() const override { return kClassName; }
    void encodeWithCoder(foundation::KeyedArchiver& coder) const override;

private:
    std::optional<std::string> sessionInsightId_;
    std::optional<std::string> sessionInsightDescription_;
    std::optional<std::string> creationDateTime_;
};
