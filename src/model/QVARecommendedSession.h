// One session recommended next to another; the detail screen shows the
// recommended sessions by these ids.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "foundation/Object.h"
#include "foundation/Value.h"
#include "model/IEntityModel.h"

class QVARecommendedSession : public foundation::Object, public IEntityModel {
public:
    static constexpr const char* kClassName = "QVARecommendedSession";

    QVARecommendedSession() = default;
    static std::shared_ptr<QVARecommendedSession> initWithDictionary(const foundation::Value& dictionary);

    const std::optional<std::string>& itemId() const { return itemId_; }

    std::string className() const override { return kClassName; }

private:
    std::optional<std::string> itemId_;
};
