// The service's reply to a sent message.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "foundation/Object.h"
#include "foundation/Value.h"
#include "model/IEntityModel.h"

class QVAMessageResult : public foundation::Object, public IEntityModel {
public:
    static constexpr const char* kClassName = "QVAMessageResult";

    QVAMessageResult() = default;
    static std::shared_ptr<QVAMessageResult> initWithDictionary(const foundation::Value& dictionary);

    const std::optional<std::string>& messageStatus() const { return messageStatus_; }

    std::string className() const override { return kClassName; }

private:
    std::optional<std::string> messageStatus_;
};
